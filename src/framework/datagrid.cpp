#include "datagrid.h"

#include "gridcolumnmodel.h"
#include "gridfooterbar.h"
#include "gridheaderview.h"
#include "useraction.h"

#include "common/commonroutines.h"
#include "db/clientdataset.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

DataGrid::DataGrid(QWidget *parent)
    : QTableView(parent)
    , m_columns(new GridColumnModel(this))
{
    setModel(m_columns);
    m_header = new GridHeaderView(this);
    setHorizontalHeader(m_header);
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

    m_footer = new GridFooterBar(this);
    m_footer->hide();
    const auto repaintEdges = [this] {
        m_header->viewport()->update();
        m_footer->update();
    };
    connect(m_header, &QHeaderView::sectionResized, this, repaintEdges);
    connect(m_header, &QHeaderView::sectionMoved, this, repaintEdges);
    connect(horizontalScrollBar(),
            &QScrollBar::valueChanged,
            m_footer,
            qOverload<>(&QWidget::update));
    connect(m_header, &QHeaderView::sectionClicked, this, &DataGrid::titleClicked);
    const auto footersFollowData = [this] {
        if (isFooterVisible())
            recalculateFooters();
    };
    connect(m_columns, &QAbstractItemModel::modelReset, this, footersFollowData);
    connect(m_columns, &QAbstractItemModel::rowsInserted, this, footersFollowData);
    connect(m_columns, &QAbstractItemModel::rowsRemoved, this, footersFollowData);
    connect(m_columns, &QAbstractItemModel::dataChanged, this, footersFollowData);
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

void DataGrid::fitColumnToContents(int index, int minimum, int maximum)
{
    if (index < 0 || index >= gridColumnCount())
        return;
    // Room for the cell's margins and the focus frame on either side of the text.
    const int margin = 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 8;
    GridColumn column = gridColumn(index);
    int width = horizontalHeader()->fontMetrics().horizontalAdvance(column.title) + margin;
    const QAbstractItemModel *data = model();
    for (int row = 0; data && row < data->rowCount(); ++row) {
        const QString text = data->index(row, index).data().toString();
        width = std::max(width, fontMetrics().horizontalAdvance(text) + margin);
    }
    column.width = std::clamp(width, minimum, maximum);
    setGridColumn(index, column);
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

void DataGrid::setCellStyle(GridCellStyler styler)
{
    m_columns->setCellStyler(std::move(styler));
    viewport()->update();
}

GridCellStyle DataGrid::cellStyle(int row, int column) const
{
    return m_columns->cellStyle(row, column);
}

int DataGrid::fieldIndexOf(int column) const
{
    return m_columns->sourceColumn(column);
}

QList<int> DataGrid::displayOrder() const
{
    QList<int> order;
    for (int visual = 0; visual < horizontalHeader()->count(); ++visual)
        order.append(horizontalHeader()->logicalIndex(visual));
    return order;
}

QList<int> DataGrid::visibleColumns() const
{
    QList<int> shown;
    const QList<int> order = displayOrder();
    for (int column : order) {
        if (isColumnVisible(column))
            shown.append(column);
    }
    return shown;
}

void DataGrid::setColumnsMovable(bool movable)
{
    horizontalHeader()->setSectionsMovable(movable);
}

int DataGrid::addColumnGroup(const QString &caption)
{
    m_groups.append(caption);
    headerLayoutChanged();
    return int(m_groups.size()) - 1;
}

void DataGrid::clearColumnGroups()
{
    m_groups.clear();
    headerLayoutChanged();
}

void DataGrid::setColumnGroup(int column, int group)
{
    GridColumn grouped = gridColumn(column);
    if (column < 0 || column >= gridColumnCount())
        return;
    grouped.group = group;
    m_columns->replaceColumn(column, grouped);
    headerLayoutChanged();
}

bool DataGrid::hasGroupedHeaders() const
{
    const QList<GridColumn> &columns = m_columns->columns();
    for (int i = 0; i < columns.size(); ++i) {
        const int group = columns.at(i).group;
        if (group >= 0 && group < m_groups.size() && isColumnVisible(i))
            return true;
    }
    return false;
}

void DataGrid::setHeaderRowHeights(int titleRow, int groupRow)
{
    m_titleRowHeight = titleRow;
    m_groupRowHeight = groupRow;
    headerLayoutChanged();
}

int DataGrid::titleRowHeight() const
{
    return m_titleRowHeight > 0 ? m_titleRowHeight : fontMetrics().height() + 8;
}

int DataGrid::groupRowHeight() const
{
    return m_groupRowHeight > 0 ? m_groupRowHeight : fontMetrics().height() + 6;
}

void DataGrid::headerLayoutChanged()
{
    m_header->setFixedHeight(m_header->sizeHint().height());
    m_header->viewport()->update();
    updateGeometries();
}

void DataGrid::setSortMark(int column, SortMark mark)
{
    if (mark == SortMark::None)
        m_sortMarks.remove(column);
    else
        m_sortMarks.insert(column, mark);
    m_header->viewport()->update();
}

void DataGrid::clearSortMarks()
{
    m_sortMarks.clear();
    m_header->viewport()->update();
}

void DataGrid::setFooterVisible(bool visible)
{
    m_footer->setVisible(visible);
    if (visible)
        recalculateFooters();
    updateGeometries();
}

bool DataGrid::isFooterVisible() const
{
    return !m_footer->isHidden();
}

void DataGrid::recalculateFooters()
{
    QAbstractItemModel *rows = model();
    for (int column = 0; column < gridColumnCount(); ++column) {
        const GridFooter kind = gridColumn(column).footer;
        if (kind != GridFooter::Sum && kind != GridFooter::Count)
            continue;
        double sum = 0;
        int count = 0;
        for (int row = 0; rows && row < rows->rowCount(); ++row) {
            const QVariant value = rows->index(row, column).data(Qt::EditRole);
            if (value.isNull() || value.toString().isEmpty())
                continue;
            sum += value.toDouble();
            ++count;
        }
        m_footerTexts.insert(column,
                             kind == GridFooter::Sum
                                     ? QString::number(sum, 'f', QLocale::FloatingPointShortest)
                                     : QString::number(count));
    }
    Q_EMIT footersCalculated();
    m_footer->update();
}

void DataGrid::setFooterText(int column, const QString &text)
{
    m_footerTexts.insert(column, text);
    m_footer->update();
}

void DataGrid::updateGeometries()
{
    QTableView::updateGeometries();
    if (!m_footer || m_footer->isHidden())
        return;
    const int height = m_footer->sizeHint().height();
    QMargins margins = viewportMargins();
    if (margins.bottom() != height) {
        margins.setBottom(height);
        setViewportMargins(margins);
    }
    const QRect area = viewport()->geometry();
    m_footer->setGeometry(area.left(), area.bottom() + 1, area.width(), height);
    m_footer->raise();
    // The rows end above the footer: the last one must still scroll into view.
    if (verticalScrollMode() == ScrollPerPixel) {
        verticalScrollBar()->setRange(0, std::max(0, verticalHeader()->length() - area.height()));
        return;
    }
    const int rows = verticalHeader()->count();
    int fitting = 0;
    for (int visual = rows - 1, used = 0; visual >= 0; --visual) {
        const int row = verticalHeader()->logicalIndex(visual);
        if (verticalHeader()->isSectionHidden(row))
            continue;
        used += rowHeight(row);
        if (used > area.height())
            break;
        ++fitting;
    }
    verticalScrollBar()->setRange(0, std::max(0, rows - fitting));
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
    // A column may bring the group row (or take it away).
    headerLayoutChanged();
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
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (m_enterAsTab && enter && event->modifiers() == Qt::NoModifier && state() != EditingState) {
        asUserMove([&] {
            const QModelIndex next = moveCursor(MoveNext, Qt::NoModifier);
            if (next.isValid())
                setCurrentIndex(next);
        });
        event->accept();
        return;
    }
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
