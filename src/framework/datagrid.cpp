#include "datagrid.h"

#include "gridcolumnmodel.h"
#include "useraction.h"

#include "common/commonroutines.h"
#include "db/clientdataset.h"

#include <QHeaderView>
#include <QKeyEvent>

DataGrid::DataGrid(QWidget *parent)
    : QTableView(parent)
    , m_columns(new GridColumnModel(this))
{
    setModel(m_columns);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setFixedWidth(14);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    connect(m_columns, &QAbstractItemModel::modelReset, this, &DataGrid::applyColumns);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, &DataGrid::columnResized);
}

void DataGrid::setDataSet(ClientDataSet *dataSet)
{
    if (m_dataSet)
        disconnect(m_dataSet, nullptr, this, nullptr);
    m_dataSet = dataSet;
    m_columns->setSourceModel(dataSet);
    if (!dataSet)
        return;
    connect(dataSet, &ClientDataSet::currentRowChanged, this, &DataGrid::followDataSet);
    connect(dataSet, &QAbstractItemModel::modelReset, this, &DataGrid::followDataSet);
    // Shown after the view has finished whatever asked for the packet.
    connect(
            dataSet,
            &ClientDataSet::fetchFailed,
            this,
            [](const QString &message) { RunUserAction([&] { ShowErrorMessage(message); }); },
            Qt::QueuedConnection);
    followDataSet();
}

int DataGrid::addColumn(const QString &fieldName,
                        const QString &title,
                        int width,
                        Qt::Alignment alignment)
{
    GridColumn column;
    column.fieldName = fieldName;
    column.title = title;
    column.width = width;
    column.alignment = alignment;
    return addColumn(column);
}

int DataGrid::addColumn(const GridColumn &column)
{
    QList<GridColumn> columns = m_columns->columns();
    columns.append(column);
    m_columns->setColumns(columns);
    return int(columns.size()) - 1;
}

void DataGrid::clearColumns()
{
    m_columns->setColumns({});
}

int DataGrid::gridColumnCount() const
{
    return int(m_columns->columns().size());
}

GridColumn DataGrid::gridColumn(int index) const
{
    return m_columns->columns().value(index);
}

void DataGrid::setGridColumn(int index, const GridColumn &column)
{
    if (index < 0 || index >= gridColumnCount())
        return;
    m_columns->replaceColumn(index, column);
    m_applying = true;
    setColumnWidth(index, column.width);
    setColumnHidden(index, !column.visible);
    m_applying = false;
}

void DataGrid::setColumnVisible(int index, bool visible)
{
    GridColumn column = gridColumn(index);
    if (index < 0 || index >= gridColumnCount())
        return;
    column.visible = visible;
    setGridColumn(index, column);
}

bool DataGrid::isColumnVisible(int index) const
{
    return gridColumn(index).visible && !isColumnHidden(index);
}

void DataGrid::applyColumns()
{
    m_applying = true;
    const QList<GridColumn> &columns = m_columns->columns();
    for (int i = 0; i < columns.size(); ++i) {
        setColumnWidth(i, columns.at(i).width);
        setColumnHidden(i, !columns.at(i).visible);
    }
    m_applying = false;
}

void DataGrid::columnResized(int column, int, int newSize)
{
    if (m_applying || column < 0 || column >= gridColumnCount() || newSize <= 0)
        return;
    GridColumn resized = gridColumn(column);
    resized.width = newSize;
    m_columns->replaceColumn(column, resized);
}

void DataGrid::followDataSet()
{
    if (!m_dataSet)
        return;
    m_following = true;
    const int row = m_dataSet->currentRow();
    if (row < 0) {
        selectionModel()->clear();
    } else {
        int column = currentIndex().isValid() ? currentIndex().column() : 0;
        while (column < m_columns->columnCount() - 1 && isColumnHidden(column))
            ++column;
        const QModelIndex target = m_columns->index(row, column);
        if (target.isValid() && target != currentIndex())
            selectionModel()->setCurrentIndex(target,
                                              QItemSelectionModel::ClearAndSelect
                                                      | QItemSelectionModel::Rows);
        else if (target.isValid())
            selectionModel()->select(target,
                                     QItemSelectionModel::ClearAndSelect
                                             | QItemSelectionModel::Rows);
    }
    verticalHeader()->viewport()->update();
    m_following = false;
}

void DataGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (!m_userMove || m_following || !m_dataSet || !current.isValid())
        return;
    if (current.row() != m_dataSet->currentRow()) {
        const int row = current.row();
        RunUserAction([&] { m_dataSet->moveTo(row); });
    }
}

template<typename F>
void DataGrid::asUserMove(F &&handleEvent)
{
    m_userMove = true;
    handleEvent();
    m_userMove = false;
    // A refused move (or one the data set adjusted) shows the data set's row again.
    if (m_dataSet && currentIndex().isValid() && currentIndex().row() != m_dataSet->currentRow())
        followDataSet();
}

void DataGrid::keyPressEvent(QKeyEvent *event)
{
    asUserMove([&] { QTableView::keyPressEvent(event); });
}

void DataGrid::mousePressEvent(QMouseEvent *event)
{
    asUserMove([&] { QTableView::mousePressEvent(event); });
}

void DataGrid::mouseMoveEvent(QMouseEvent *event)
{
    asUserMove([&] { QTableView::mouseMoveEvent(event); });
}

void DataGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    asUserMove([&] { QTableView::mouseDoubleClickEvent(event); });
}
