#pragma once

#include "gridcolumn.h"

#include "db/clientdataset.h"

#include <QPointer>
#include <QTableView>

class GridColumnModel;

/// The data grid (`rgr…`): shows a client data set through its columns, one
/// row selected, arrow keys and clicks move the data set's cursor (posting the
/// row being edited first, through the user-action guard), columns resizable.
/// The data set's after-scroll handler is the grid's row-change event. The grid
/// follows the cursor when the data set moves by itself; a move the data set
/// refuses (a failed post) leaves the grid on the data set's row.
///
/// Columns are defined once, before or after the data set opens; their widths
/// survive reopening, and so does a width the user dragged.
class DataGrid : public QTableView
{
    Q_OBJECT

public:
    explicit DataGrid(QWidget *parent = nullptr);

    void setDataSet(ClientDataSet *dataSet);
    ClientDataSet *dataSet() const { return m_dataSet; }

    /// Adds a column bound to a field; returns its index.
    int addColumn(const QString &fieldName,
                  const QString &title,
                  int width = 64,
                  Qt::Alignment alignment = {});
    int addColumn(const GridColumn &column);
    void clearColumns();
    int gridColumnCount() const;
    GridColumn gridColumn(int index) const;
    void setGridColumn(int index, const GridColumn &column);
    void setColumnVisible(int index, bool visible);
    bool isColumnVisible(int index) const;

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    template<typename F>
    void asUserMove(F &&handleEvent);
    void followDataSet();
    void applyColumns();
    void columnResized(int column, int oldSize, int newSize);

    GridColumnModel *m_columns = nullptr;
    QPointer<ClientDataSet> m_dataSet;
    bool m_userMove = false;
    bool m_following = false;
    bool m_applying = false;
};
