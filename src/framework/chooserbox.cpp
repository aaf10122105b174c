#include "chooserbox.h"

#include <QStyleOptionFrame>
#include <QStylePainter>

ChooserBox::ChooserBox(QWidget *parent)
    : QComboBox(parent)
{}

void ChooserBox::paintEvent(QPaintEvent *event)
{
    if (isEnabled()) {
        QComboBox::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionFrame frame;
    frame.initFrom(this);
    frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, this);
    frame.midLineWidth = 0;
    frame.state |= QStyle::State_Sunken | QStyle::State_ReadOnly;
    painter.drawPrimitive(QStyle::PE_PanelLineEdit, frame);
    const QRect text = style()->subElementRect(QStyle::SE_LineEditContents, &frame, this)
                               .adjusted(3, 0, -3, 0);
    painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, currentText());
}
