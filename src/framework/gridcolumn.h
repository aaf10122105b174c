#pragma once

#include <QString>
#include <Qt>

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
};
