#pragma once

#include <QColor>
#include <QHash>
#include <QStyledItemDelegate>

/// Draws the rows of a program list box: the text 5 pixels from the left and
/// 3 from the top of an 18-pixel row, white on the selection, otherwise in the
/// colour of the item's mark (MarkRole; black when the mark has none).
class MarkListDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    static constexpr int MarkRole = Qt::UserRole + 1;
    static constexpr int RowHeight = 18;

    explicit MarkListDelegate(QObject *parent = nullptr);

    void setMarkColours(const QHash<int, QColor> &colours) { m_colours = colours; }
    QColor markColour(int mark) const { return m_colours.value(mark, Qt::black); }

    void paint(QPainter *painter,
               const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    QHash<int, QColor> m_colours;
};
