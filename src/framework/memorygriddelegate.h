#pragma once

#include <QPointer>
#include <QStyledItemDelegate>

class MemoryGrid;

/// Cell editing and drawing of an in-memory grid: a one-line editor limited to
/// the column's data width (digits, sign and point in number columns), Enter
/// moving on like Tab, Ctrl with an arrow key handed to the grid (the editor
/// would move by words), read-only columns on grey and highlighted cells in the
/// selection colours.
class MemoryGridDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit MemoryGridDelegate(MemoryGrid *grid);

    /// The open cell editor, or nullptr.
    QWidget *openEditor() const { return m_editor; }

    QWidget *createEditor(QWidget *parent,
                          const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void destroyEditor(QWidget *editor, const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    MemoryGrid *m_grid;
    mutable QPointer<QWidget> m_editor;
};
