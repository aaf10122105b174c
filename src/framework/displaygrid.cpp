#include "displaygrid.h"

#include "gridcolumnmodel.h"
#include "useraction.h"

#include <QItemSelectionModel>

DisplayGrid::DisplayGrid(QWidget *parent)
    : DataGrid(parent)
    , m_rows(new MemoryGridModel(this))
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The column proxy of the grid shows plain rows by position.
    static_cast<GridColumnModel *>(model())->setSourceModel(m_rows);
}

DisplayGrid *DisplayGrid::createSideList(const QString &title,
                                         QWidget *parent,
                                         std::function<void()> rowChange)
{
    auto *grid = new DisplayGrid(parent);
    grid->setObjectName(QStringLiteral("rgrGrid"));
    GridColumn column;
    column.title = title;
    column.width = 168;
    grid->defineColumn(column);
    grid->setFixedWidth(190);
    QObject::connect(grid->selectionModel(),
                     &QItemSelectionModel::currentRowChanged,
                     grid,
                     [rowChange = std::move(rowChange)] { RunUserAction(rowChange); });
    return grid;
}

int DisplayGrid::defineColumn(const GridColumn &column, MemoryGridModel::DataType type)
{
    GridColumn readOnly = column;
    readOnly.readOnly = true;
    m_rows->appendColumn({column.title, type, 0});
    return addColumn(readOnly);
}

void DisplayGrid::setRowCount(int count)
{
    while (m_rows->rowCount() > count)
        m_rows->deleteRow(m_rows->rowCount() - 1);
    while (m_rows->rowCount() < count)
        m_rows->appendRow({}, MemoryGridModel::Unchanged);
}

void DisplayGrid::clearCells()
{
    for (int row = 0; row < m_rows->rowCount(); ++row)
        m_rows->setCells(row, {});
}

int DisplayGrid::currentRow() const
{
    return currentIndex().isValid() ? currentIndex().row() : -1;
}

int DisplayGrid::currentColumn() const
{
    return currentIndex().isValid() ? currentIndex().column() : -1;
}
