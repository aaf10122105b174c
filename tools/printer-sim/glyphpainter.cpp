#include "glyphpainter.h"

#include <QFontMetricsF>
#include <QPainter>

void GlyphPainter::draw(QPainter &painter, const QRectF &cell, const QString &glyph)
{
    if (!m_ready) {
        m_hangul.setPixelSize(48);
        m_latin.setPixelSize(48);
        m_hangul.setStyleStrategy(QFont::PreferAntialias);
        m_ready = true;
    }
    if (glyph.trimmed().isEmpty())
        return;
    const bool wide = glyph.at(0).unicode() >= 0x1100;
    const QFont &font = wide ? m_hangul : m_latin;
    const QFontMetricsF metrics(font);
    const qreal advance = qMax<qreal>(1, metrics.horizontalAdvance(glyph));
    painter.save();
    painter.setFont(font);
    painter.translate(cell.topLeft());
    painter.scale(cell.width() / advance, cell.height() / metrics.height());
    painter.drawText(QPointF(0, metrics.ascent()), glyph);
    painter.restore();
}
