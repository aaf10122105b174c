#pragma once

#include <QWidget>

class DataGrid;

/// The footer row of a data grid: one sunken cell under each visible column,
/// following the columns' widths, order and the horizontal scrolling.
class GridFooterBar : public QWidget
{
    Q_OBJECT

public:
    explicit GridFooterBar(DataGrid *grid);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    DataGrid *m_grid;
};
