#pragma once

#include <QColor>
#include <QString>
#include <Qt>

/// The value of a column's footer: none, the sum or the count of its non-empty
/// values, or a text the screen sets (DataGrid::setFooterText).
enum class GridFooter { None, Sum, Count, Text };

/// One column of a data grid, bound to a field of its data set.
struct GridColumn
{
    QString fieldName;
    QString title;
    int width = 64;
    /// Empty: the field's own alignment (numbers right, the rest left).
    Qt::Alignment alignment;
    bool visible = true;
    bool readOnly = false;
    /// The column group (DataGrid::addColumnGroup) whose caption the group
    /// header row shows above the title; -1 for none.
    int group = -1;
    /// Text colour of the cells and of the title (invalid: the grid's own).
    QColor textColour;
    /// A value equal to the one in the row above is shown blank.
    bool blankRepeats = false;
    /// What the footer row shows under the column.
    GridFooter footer = GridFooter::None;
    /// Alignment and text colour of the footer (default: right, blue).
    Qt::Alignment footerAlignment = Qt::AlignRight;
    QColor footerColour = QColor(0, 0, 0xFF);
};
