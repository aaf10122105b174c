#pragma once

#include "gridcellstyle.h"
#include "gridcolumn.h"

#include <QAbstractProxyModel>
#include <QList>

/// The columns of a data grid over its data set: each column shows one field,
/// with its own title and alignment. Without columns every field is shown.
/// Over a plain table model (in-memory rows) grid column i shows model column i.
class GridColumnModel : public QAbstractProxyModel
{
    Q_OBJECT

public:
    explicit GridColumnModel(QObject *parent = nullptr);

    void setSourceModel(QAbstractItemModel *source) override;

    void setColumns(const QList<GridColumn> &columns);
    const QList<GridColumn> &columns() const { return m_columns; }
    /// Changes one column; only a new field resets the model.
    void replaceColumn(int column, const GridColumn &replacement);
    /// The per-row / per-cell style hook (colours and bold beyond the columns').
    void setCellStyler(GridCellStyler styler);
    /// The style a cell is drawn with: its column's, then the hook's.
    GridCellStyle cellStyle(int row, int column) const;
    /// The source column a grid column shows, -1 when its field is missing.
    int sourceColumn(int column) const;

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex mapToSource(const QModelIndex &proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex &sourceIndex) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    void remap();
    void sourceDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight);

    QList<GridColumn> m_columns;
    QList<int> m_map; // source column of each shown column
    GridCellStyler m_styler;
};
