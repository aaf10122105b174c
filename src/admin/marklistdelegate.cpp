#include "marklistdelegate.h"

#include <QPainter>

MarkListDelegate::MarkListDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{}

void MarkListDelegate::paint(QPainter *painter,
                             const QStyleOptionViewItem &option,
                             const QModelIndex &index) const
{
    const bool selected = option.state & QStyle::State_Selected;
    painter->save();
    painter->fillRect(option.rect, selected ? option.palette.highlight() : option.palette.base());
    painter->setPen(selected ? QColor(Qt::white) : markColour(index.data(MarkRole).toInt()));
    painter->setFont(option.font);
    const QRect text = option.rect.adjusted(5, 3, 0, 0);
    painter->drawText(text,
                      Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
}

QSize MarkListDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    return {QStyledItemDelegate::sizeHint(option, index).width() + 5, RowHeight};
}
