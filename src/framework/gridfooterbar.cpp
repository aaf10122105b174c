#include "gridfooterbar.h"

#include "datagrid.h"

#include <QHeaderView>
#include <QPainter>
#include <qdrawutil.h>

GridFooterBar::GridFooterBar(DataGrid *grid)
    : QWidget(grid)
    , m_grid(grid)
{
    setObjectName(QStringLiteral("footerRow"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
}

QSize GridFooterBar::sizeHint() const
{
    return QSize(100, fontMetrics().height() + 8);
}

void GridFooterBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QHeaderView *header = m_grid->horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int column = header->logicalIndex(visual);
        if (header->isSectionHidden(column))
            continue;
        const QRect cell(header->sectionViewportPosition(column),
                         0,
                         header->sectionSize(column),
                         height());
        const GridColumn definition = m_grid->gridColumn(column);
        if (definition.footer == GridFooter::None)
            continue;
        const QRect panel = cell.adjusted(1, 1, -1, -1);
        qDrawShadePanel(&painter, panel, palette(), true, 1);
        painter.setPen(definition.footerColour);
        painter.drawText(panel.adjusted(2, 3, -2, -1),
                         int(definition.footerAlignment | Qt::AlignVCenter),
                         m_grid->footerText(column));
    }
}
