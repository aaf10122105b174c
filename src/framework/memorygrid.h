#pragma once

#include "datagrid.h"
#include "memorygridmodel.h"

#include <functional>

class MemoryGridDelegate;

/// The editable in-memory grid: a data grid over MemoryGridModel rows, with the
/// cell editor always shown on the current cell, Enter and Tab moving on to
/// the next editable column (read-only and hidden columns are skipped), Down on
/// the last row starting a new row, and the row being edited posted when the
/// current row changes.
///
/// Define the columns with defineColumn(), which adds the grid column and the
/// column of the rows together (grid column i shows column i of the rows).
/// keyDown()/keyUp() report every key before the grid handles it.
class MemoryGrid : public DataGrid
{
    Q_OBJECT

public:
    explicit MemoryGrid(QWidget *parent = nullptr);

    void setRows(MemoryGridModel *rows);
    MemoryGridModel *rows() const { return m_rows; }

    /// Adds a column to the grid and to its rows; returns its index.
    int defineColumn(const GridColumn &column,
                     MemoryGridModel::DataType type = MemoryGridModel::DataType::Text,
                     int dataWidth = 0);
    bool isColumnReadOnly(int column) const { return gridColumn(column).readOnly; }

    /// The current row, or -1.
    int currentRow() const;
    /// Makes a row current, keeping the column (the row being edited is posted).
    void moveToRow(int row);
    /// Ends a cell edit in progress (its text goes into the rows) and posts the row being edited.
    void finishEdit();
    /// Closes the cell editor without its text and ends the row's edit without posting.
    void dropEdit();
    /// Adds a new row at the end and makes its first editable cell current.
    void appendNewRow();

    /// Cells drawn in the selection colours.
    void setHighlight(std::function<bool(int row, int column)> highlighted);
    bool isHighlighted(int row, int column) const;

Q_SIGNALS:
    void keyDown(int key, Qt::KeyboardModifiers modifiers);
    void keyUp(int key, Qt::KeyboardModifiers modifiers);

protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    bool isEditableColumn(int column) const;
    /// The next editable column after `column` in the direction (+1 or -1), or -1.
    int nextEditableColumn(int column, int step) const;

    MemoryGridModel *m_rows = nullptr;
    MemoryGridDelegate *m_delegate = nullptr;
    std::function<bool(int, int)> m_highlighted;
};
