#include "memorygrid.h"

#include "gridcolumnmodel.h"
#include "memorygriddelegate.h"

#include <QHeaderView>
#include <QKeyEvent>

MemoryGrid::MemoryGrid(QWidget *parent)
    : DataGrid(parent)
    , m_delegate(new MemoryGridDelegate(this))
{
    setItemDelegate(m_delegate);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::DoubleClicked
                    | QAbstractItemView::SelectedClicked | QAbstractItemView::AnyKeyPressed);
    setTabKeyNavigation(true);
    setEnterMovesLikeTab(true);
}

void MemoryGrid::setRows(MemoryGridModel *rows)
{
    m_rows = rows;
    // The column proxy of the grid shows plain rows by position.
    static_cast<GridColumnModel *>(model())->setSourceModel(rows);
}

int MemoryGrid::defineColumn(const GridColumn &column, MemoryGridModel::DataType type, int dataWidth)
{
    if (m_rows)
        m_rows->appendColumn({column.title, type, dataWidth});
    return addColumn(column);
}

bool MemoryGrid::isHighlighted(int row, int column) const
{
    return m_highlighted && m_highlighted(row, column);
}

void MemoryGrid::setHighlight(std::function<bool(int, int)> highlighted)
{
    m_highlighted = std::move(highlighted);
    viewport()->update();
}

int MemoryGrid::currentRow() const
{
    return currentIndex().isValid() ? currentIndex().row() : -1;
}

void MemoryGrid::moveToRow(int row)
{
    if (row < 0 || row >= model()->rowCount())
        return;
    int column = currentIndex().isValid() ? currentIndex().column() : nextEditableColumn(-1, 1);
    setCurrentIndex(model()->index(row, std::max(column, 0)));
}

bool MemoryGrid::isEditableColumn(int column) const
{
    return column >= 0 && column < gridColumnCount() && !isColumnHidden(column)
           && !gridColumn(column).readOnly;
}

int MemoryGrid::nextEditableColumn(int column, int step) const
{
    for (int next = column + step; next >= 0 && next < gridColumnCount(); next += step) {
        if (isEditableColumn(next))
            return next;
    }
    return -1;
}

QModelIndex MemoryGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return DataGrid::moveCursor(cursorAction, modifiers);
    const int row = current.row();
    const int column = current.column();
    const int rows = model()->rowCount();
    switch (cursorAction) {
    case MoveLeft:
    case MoveRight: {
        const int next = nextEditableColumn(column, cursorAction == MoveRight ? 1 : -1);
        return next < 0 ? current : model()->index(row, next);
    }
    case MoveNext:
    case MovePrevious: {
        const int step = cursorAction == MoveNext ? 1 : -1;
        int next = nextEditableColumn(column, step);
        if (next >= 0)
            return model()->index(row, next);
        const int nextRow = row + step;
        next = nextEditableColumn(step > 0 ? -1 : gridColumnCount(), step);
        if (nextRow < 0 || nextRow >= rows || next < 0)
            return current;
        return model()->index(nextRow, next);
    }
    case MoveUp:
        return model()->index(std::max(row - 1, 0), column);
    case MoveDown:
        return model()->index(std::min(row + 1, rows - 1), column);
    default:
        return DataGrid::moveCursor(cursorAction, modifiers);
    }
}

void MemoryGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    DataGrid::currentChanged(current, previous);
    if (m_rows && previous.isValid() && current.row() != previous.row()
        && m_rows->editRow() == previous.row())
        m_rows->post();
}

void MemoryGrid::keyPressEvent(QKeyEvent *event)
{
    Q_EMIT keyDown(event->key(), event->modifiers());
    const int row = currentRow();
    if (m_rows && event->key() == Qt::Key_Down && event->modifiers() == Qt::NoModifier && row >= 0
        && row == m_rows->rowCount() - 1 && !(m_rows->isNewRow(row) && m_rows->isRowBlank(row))) {
        appendNewRow();
        event->accept();
        return;
    }
    DataGrid::keyPressEvent(event);
}

void MemoryGrid::keyReleaseEvent(QKeyEvent *event)
{
    Q_EMIT keyUp(event->key(), event->modifiers());
    DataGrid::keyReleaseEvent(event);
}

void MemoryGrid::finishEdit()
{
    if (QWidget *editor = m_delegate->openEditor()) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
    if (m_rows)
        m_rows->post();
}

void MemoryGrid::dropEdit()
{
    if (QWidget *editor = m_delegate->openEditor())
        closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
    if (m_rows)
        m_rows->dropEdit();
}

void MemoryGrid::appendNewRow()
{
    if (!m_rows)
        return;
    if (QWidget *editor = m_delegate->openEditor()) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
    const int row = m_rows->appendNewRow();
    if (row < 0 || row >= model()->rowCount())
        return;
    const int column = nextEditableColumn(-1, 1);
    setCurrentIndex(model()->index(row, std::max(column, 0)));
}
