#include "columnbackground.h"

#include <QStyledItemDelegate>
#include <QTableView>

namespace {

class BackgroundDelegate : public QStyledItemDelegate
{
public:
    BackgroundDelegate(const QColor &colour, QObject *parent)
        : QStyledItemDelegate(parent)
        , m_colour(colour)
    {}

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->backgroundBrush = m_colour;
    }

private:
    QColor m_colour;
};

} // namespace

void SetColumnBackground(QTableView *grid, int column, const QColor &colour)
{
    grid->setItemDelegateForColumn(column, new BackgroundDelegate(colour, grid));
}
