#pragma once

#include <QColor>

#include <functional>

/// How one cell of a data grid is drawn beyond its column's settings: text
/// colour, background, bold. Invalid colours keep the grid's own.
struct GridCellStyle
{
    QColor text;
    QColor background;
    bool bold = false;
};

/// Called for every cell the grid draws (grid row and grid column) with the
/// style the column gives; changes what the row or the cell needs.
using GridCellStyler = std::function<void(int row, int column, GridCellStyle &style)>;
