#include "gridheaderview.h"

#include "datagrid.h"

#include <QPainter>
#include <QStyleOptionHeader>

GridHeaderView::GridHeaderView(DataGrid *grid)
    : QHeaderView(Qt::Horizontal, grid)
    , m_grid(grid)
{
    setSectionsClickable(true);
    setHighlightSections(false);
    setDefaultAlignment(Qt::AlignCenter);
}

QSize GridHeaderView::sizeHint() const
{
    QSize size = QHeaderView::sizeHint();
    size.setHeight(m_grid->titleRowHeight()
                   + (m_grid->hasGroupedHeaders() ? m_grid->groupRowHeight() : 0));
    return size;
}

void GridHeaderView::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    if (!rect.isValid())
        return;
    const QString title = model() ? model()->headerData(logicalIndex, orientation()).toString()
                                  : QString();
    const int group = m_grid->gridColumn(logicalIndex).group;
    if (!m_grid->hasGroupedHeaders() || group < 0 || group >= m_grid->columnGroupCount()) {
        paintCell(painter, rect, logicalIndex, title, true);
        return;
    }
    const int groupHeight = std::min(m_grid->groupRowHeight(), rect.height());
    // Every section of a group paints the whole caption: the result is the same
    // whichever of them the update region holds.
    paintCell(painter,
              groupRect(logicalIndex, group, rect.top(), groupHeight),
              -1,
              m_grid->columnGroupCaption(group),
              false);
    paintCell(painter, rect.adjusted(0, groupHeight, 0, 0), logicalIndex, title, true);
}

QRect GridHeaderView::groupRect(int section, int group, int top, int height) const
{
    const auto inGroup = [&](int visual) {
        const int logical = logicalIndex(visual);
        return isSectionHidden(logical) || m_grid->gridColumn(logical).group == group;
    };
    const int visual = visualIndex(section);
    int first = visual;
    while (first > 0 && inGroup(first - 1))
        --first;
    int last = visual;
    while (last + 1 < count() && inGroup(last + 1))
        ++last;
    const int left = sectionViewportPosition(logicalIndex(first));
    const int right = sectionViewportPosition(logicalIndex(last)) + sectionSize(logicalIndex(last));
    return QRect(left, top, right - left, height);
}

void GridHeaderView::paintCell(QPainter *painter,
                               const QRect &rect,
                               int section,
                               const QString &text,
                               bool withSortMark) const
{
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.rect = rect;
    option.section = section;
    option.text = text;
    option.textAlignment = Qt::AlignCenter;
    option.position = QStyleOptionHeader::Middle;
    if (section >= 0) {
        const QVariant colour = model() ? model()->headerData(section,
                                                              Qt::Horizontal,
                                                              Qt::ForegroundRole)
                                        : QVariant();
        if (colour.canConvert<QColor>() && colour.value<QColor>().isValid())
            option.palette.setColor(QPalette::ButtonText, colour.value<QColor>());
    }
    if (isEnabled())
        option.state |= QStyle::State_Enabled;
    if (withSortMark && section >= 0) {
        switch (m_grid->sortMark(section)) {
        case DataGrid::SortMark::Ascending:
            option.sortIndicator = QStyleOptionHeader::SortDown;
            break;
        case DataGrid::SortMark::Descending:
            option.sortIndicator = QStyleOptionHeader::SortUp;
            break;
        case DataGrid::SortMark::None:
            break;
        }
    }
    painter->save();
    style()->drawControl(QStyle::CE_Header, &option, painter, this);
    painter->restore();
}
