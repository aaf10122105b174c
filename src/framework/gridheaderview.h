#pragma once

#include <QHeaderView>

class DataGrid;

/// The title row of a data grid, with a group row above it when the grid has
/// grouped columns, and the columns' sort marks.
class GridHeaderView : public QHeaderView
{
    Q_OBJECT

public:
    explicit GridHeaderView(DataGrid *grid);

    QSize sizeHint() const override;

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;

private:
    /// The part of the group row the group of this column spans (viewport coordinates).
    QRect groupRect(int section, int group, int top, int height) const;
    void paintCell(QPainter *painter,
                   const QRect &rect,
                   int section,
                   const QString &text,
                   bool withSortMark) const;

    DataGrid *m_grid;
};
