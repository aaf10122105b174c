#pragma once

#include <QFont>
#include <QHash>
#include <QString>

class QPainter;
class QRectF;

/// Draws characters into printer cells of any size: each glyph is stretched
/// to fill its cell, as a printer's bitmap font is magnified.
class GlyphPainter
{
public:
    /// Hangul and other wide characters take the Korean font, the rest the
    /// monospaced Latin one.
    void draw(QPainter &painter, const QRectF &cell, const QString &glyph);

private:
    QFont m_hangul{QStringLiteral("NanumGothicCoding")};
    QFont m_latin{QStringLiteral("DejaVu Sans Mono")};
    bool m_ready = false;
};
