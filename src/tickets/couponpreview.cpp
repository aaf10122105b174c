#include "couponpreview.h"

#include "couponcommands.h"

#include <QFontMetricsF>
#include <QPainter>

namespace {

/// "굴림체" at 9 points on a 96 dpi screen: 12 pixels.
QFont previewFont()
{
    QFont font(QStringLiteral("굴림체"));
    font.setPixelSize(12);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

/// Draws text into cells w pixels wide per single-byte character and h high:
/// the font is stretched as the printer stretches its characters.
void drawScaled(QPainter &painter, const QString &text, int y, int h, int w)
{
    const QFont font = previewFont();
    const QFontMetricsF metrics(font);
    const qreal cellWidth = metrics.horizontalAdvance(QLatin1Char('A'));
    const qreal cellHeight = metrics.ascent() + metrics.descent();
    if (cellWidth <= 0 || cellHeight <= 0)
        return;
    painter.save();
    painter.translate(5, y);
    painter.scale(w / cellWidth, h / cellHeight);
    painter.setFont(font);
    painter.drawText(QPointF(0, metrics.ascent()), text);
    painter.restore();
}

} // namespace

namespace CouponPreview {

QColor fillColour()
{
    // 0xF0CAA6 as the screen's colours are written: blue F0, green CA, red A6.
    return QColor(0xA6, 0xCA, 0xF0);
}

int lineHeight()
{
    // "A" in 9-point 굴림체 is 12 pixels high on the screens the coupons were
    // designed on, so that 21 lines fill the picture; a substitute font with a
    // taller line would push the last lines out of it.
    return previewFont().pixelSize() + 2;
}

QImage draw(const QList<CouponLine> &lines, const QString &serial)
{
    QImage image(Width, Height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    painter.setBrush(fillColour());
    painter.drawRect(0, 0, Width - 1, Height - 1);

    int y = FirstLineY;
    const int normal = lineHeight();
    painter.setPen(Qt::black);
    for (const CouponLine &line : lines) {
        if (!line.enabled)
            continue;
        const int h = line.doubleHeight ? 2 * normal : normal;
        const int w = line.doubleWidth ? 14 : 7;
        drawScaled(painter, CouponCommands::withSerial(line.text, serial), y, h, w);
        y += h;
    }

    QPen dotted(Qt::black);
    dotted.setStyle(Qt::DotLine);
    painter.setPen(dotted);
    painter.drawLine(1, TearLineY, Width - 2, TearLineY);
    return image;
}

} // namespace CouponPreview
