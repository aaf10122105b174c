#include "memorygriddelegate.h"

#include "memorygrid.h"
#include "memorygridmodel.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>

MemoryGridDelegate::MemoryGridDelegate(MemoryGrid *grid)
    : QStyledItemDelegate(grid)
    , m_grid(grid)
{}

QWidget *MemoryGridDelegate::createEditor(QWidget *parent,
                                          const QStyleOptionViewItem &,
                                          const QModelIndex &index) const
{
    auto *editor = new QLineEdit(parent);
    editor->setFrame(false);
    if (const MemoryGridModel *rows = m_grid->rows()) {
        const MemoryGridModel::Column column = rows->column(index.column());
        if (column.dataWidth > 0)
            editor->setMaxLength(column.dataWidth);
        if (column.type == MemoryGridModel::DataType::Number) {
            static const QRegularExpression number(QStringLiteral("^[-+]?[0-9]*\\.?[0-9]*$"));
            editor->setValidator(new QRegularExpressionValidator(number, editor));
            editor->setAlignment(Qt::AlignRight);
        }
    }
    m_editor = editor;
    return editor;
}

void MemoryGridDelegate::destroyEditor(QWidget *editor, const QModelIndex &index) const
{
    if (editor == m_editor)
        m_editor = nullptr;
    QStyledItemDelegate::destroyEditor(editor, index);
}

void MemoryGridDelegate::initStyleOption(QStyleOptionViewItem *option,
                                         const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (m_grid->isHighlighted(index.row(), index.column())) {
        option->backgroundBrush = option->palette.brush(QPalette::Highlight);
        option->palette.setBrush(QPalette::Text, option->palette.brush(QPalette::HighlightedText));
    } else if (m_grid->isColumnReadOnly(index.column())) {
        option->backgroundBrush = QColor(0xEC, 0xEC, 0xEC);
    }
}

bool MemoryGridDelegate::eventFilter(QObject *object, QEvent *event)
{
    auto *editor = qobject_cast<QWidget *>(object);
    if (editor && event->type() == QEvent::KeyRelease) {
        // The grid follows Ctrl: its releases go there, whichever cell has the editor.
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Control || (key->modifiers() & Qt::ControlModifier)) {
            QCoreApplication::sendEvent(m_grid, event);
            return true;
        }
    }
    if (editor && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && key->modifiers() == Qt::NoModifier) {
            Q_EMIT commitData(editor);
            Q_EMIT closeEditor(editor, QAbstractItemDelegate::EditNextItem);
            return true;
        }
        const bool arrow = key->key() == Qt::Key_Left || key->key() == Qt::Key_Right
                           || key->key() == Qt::Key_Up || key->key() == Qt::Key_Down;
        if (arrow && (key->modifiers() & Qt::ControlModifier)) {
            QCoreApplication::sendEvent(m_grid, event);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}
