#pragma once

#include "datagrid.h"
#include "memorygridmodel.h"

#include <functional>

/// The read-only in-memory grid: a data grid over rows of texts that the
/// screen fills (MemoryGridModel), never edited by the user. Clicks and keys
/// move the current cell or row; the screen reacts to the grid's signals
/// (clicked, doubleClicked) and draws rows and cells through setCellStyle().
///
/// Define the columns with defineColumn() (grid column i shows column i of the
/// rows); selectionBehavior() says whether a cell or a whole row is current.
class DisplayGrid : public DataGrid
{
    Q_OBJECT

public:
    explicit DisplayGrid(QWidget *parent = nullptr);

    /// The one-column list beside an editing area (projects, levels), `rgrGrid`;
    /// a change of its current row runs `rowChange` through the user-action guard.
    static DisplayGrid *createSideList(const QString &title,
                                       QWidget *parent,
                                       std::function<void()> rowChange);

    /// Adds a column to the grid and to its rows; returns its index.
    int defineColumn(const GridColumn &column,
                     MemoryGridModel::DataType type = MemoryGridModel::DataType::Text);
    MemoryGridModel *rows() const { return m_rows; }

    /// Makes the grid hold exactly `count` rows (new rows are empty).
    void setRowCount(int count);
    int rowCount() const { return m_rows->rowCount(); }
    /// Empties every cell and keeps the rows.
    void clearCells();

    QString cell(int row, int column) const { return m_rows->cell(row, column); }
    void setCell(int row, int column, const QString &text) { m_rows->setCell(row, column, text); }

    /// The current row and column, or -1.
    int currentRow() const;
    int currentColumn() const;

private:
    MemoryGridModel *m_rows;
};
