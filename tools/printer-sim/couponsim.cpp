#include "couponsim.h"

#include "glyphpainter.h"
#include "platform/cp949.h"

#include <QImage>
#include <QPainter>

namespace {

const char Esc = '\x1b';
const int PaperDots = 640;
const int Margin = 32;
const int PrintableDots = 576;
const int CellHeight = 24;
const int CellWidth = 12;
const int LineSpacing = 6;
const int TopMargin = 16;

// '0'…'5' or the bytes 0…5; -1 for anything else.
int sizeDigit(char c)
{
    if (c >= '0' && c <= '5')
        return c - '0';
    if (c >= 0 && c <= 5)
        return c;
    return -1;
}

} // namespace

CouponSim::CouponSim(QObject *parent)
    : PrinterSim(parent)
{}

QByteArray CouponSim::statusFor(Fault fault)
{
    QByteArray s("\x0f\x00\x00\x00\x00\x00\x00", 7);
    if (fault == Fault::None)
        return s;
    s[2] = char(s[2] | 0x08);
    switch (fault) {
    case Fault::CoverOpen:
        s[2] = char(s[2] | 0x20);
        break;
    case Fault::Cutter:
    case Fault::Jam:
        s[3] = char(s[3] | 0x08);
        break;
    case Fault::Serious:
    case Fault::DataError:
        s[3] = char(s[3] | 0x20);
        break;
    case Fault::Head:
        s[3] = char(s[3] | 0x40);
        break;
    case Fault::Buffer:
        s[4] = char(s[4] | 0x40);
        break;
    case Fault::PaperOut:
        s[5] = char(s[5] | 0x08);
        break;
    case Fault::Offline:
    case Fault::None:
        break;
    }
    return s;
}

void CouponSim::resetParser()
{
    m_pending.clear();
    m_itemBytes.clear();
    m_lines.clear();
    m_line.clear();
    m_height = m_width = 1;
}

void CouponSim::consume(const QByteArray &bytes)
{
    m_pending.append(bytes);
    const int generation = cableGeneration();
    qsizetype at = 0;
    const qsizetype size = m_pending.size();
    while (at < size && cableGeneration() == generation) {
        const char b = m_pending.at(at);
        if (b != Esc) {
            m_itemBytes.append(b);
            if (b == '\n')
                endLine();
            else if (b == '\r')
                ; // the printer ends lines on LF only
            else if (uchar(b) < 0x20)
                log(QStringLiteral("UNKNOWN %1").arg(uchar(b), 2, 16, QLatin1Char('0')));
            else
                addByte(b);
            ++at;
            continue;
        }
        if (size - at < 2)
            break;
        const char c = m_pending.at(at + 1);
        qsizetype length = 2;
        if (c == '\x06' || c == 'd')
            length = 3;
        else if (c == 'i')
            length = 4;
        if (size - at < length)
            break;
        const QByteArray command = m_pending.mid(at, length);
        at += length;
        if (c == '\x06') {
            if (command.at(2) == '\x01')
                statusRequested();
            else
                log(QStringLiteral("UNKNOWN ESC ") + QString::fromLatin1(command.mid(1).toHex(' ')));
            continue;
        }
        m_itemBytes.append(command);
        if (c == '@') {
            m_height = m_width = 1;
            m_line.clear();
        } else if (c == 'i' && sizeDigit(command.at(2)) >= 0 && sizeDigit(command.at(3)) >= 0) {
            m_height = sizeDigit(command.at(2)) + 1;
            m_width = sizeDigit(command.at(3)) + 1;
        } else if (c == 'd' && (sizeDigit(command.at(2)) >= 0 && sizeDigit(command.at(2)) <= 3)) {
            finishCoupon(sizeDigit(command.at(2)));
        } else {
            log(QStringLiteral("UNKNOWN ESC ") + QString::fromLatin1(command.mid(1).toHex(' ')));
        }
    }
    if (cableGeneration() == generation)
        m_pending.remove(0, at);
}

void CouponSim::addByte(char byte)
{
    if (m_line.isEmpty() || m_line.last().height != m_height || m_line.last().width != m_width)
        m_line.append({QByteArray(), m_height, m_width});
    m_line.last().bytes.append(byte);
}

void CouponSim::endLine()
{
    m_lines.append(m_line);
    m_line.clear();
}

void CouponSim::finishCoupon(int feedLines)
{
    const QList<Line> lines = m_lines;
    const QByteArray bytes = m_itemBytes;
    m_lines.clear();
    m_line.clear();
    m_itemBytes.clear();
    if (!mayPrint())
        return;

    // Lay the lines out first: wide lines wrap onto the next row, as the printer does.
    struct Cell
    {
        QRectF rect;
        QString glyph;
    };
    QList<Cell> cells;
    PrintedItem item;
    int y = TopMargin;
    for (const Line &line : lines) {
        PrintedField field;
        field.row = int(item.fields.size()) + 1;
        int rowHeight = CellHeight;
        for (const Segment &s : line)
            rowHeight = qMax(rowHeight, CellHeight * s.height);
        if (!line.isEmpty()) {
            field.heightScale = line.first().height;
            field.widthScale = line.first().width;
        }
        int x = Margin;
        bool wrapped = false;
        for (const Segment &s : line) {
            field.bytes += s.bytes;
            const QString text = Cp949::toUnicode(s.bytes);
            field.text += text;
            for (const QChar ch : text) {
                const int w = CellWidth * Cp949::byteLength(QString(ch)) * s.width;
                if (x + w > Margin + PrintableDots) {
                    x = Margin;
                    y += rowHeight + LineSpacing;
                    wrapped = true;
                }
                cells.append(
                        {QRectF(x, y + rowHeight - CellHeight * s.height, w, CellHeight * s.height),
                         QString(ch)});
                x += w;
            }
        }
        if (wrapped)
            log(QStringLiteral("WRAPPED coupon %1 line %2").arg(nextNumber()).arg(field.row));
        y += rowHeight + LineSpacing;
        item.fields.append(field);
    }
    y += feedLines * (CellHeight + LineSpacing) + TopMargin;

    item.bytes = bytes;
    itemDone(item, [cells, y] {
        QImage image(PaperDots, y, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::black);
            GlyphPainter glyphs;
            for (const Cell &c : cells)
                glyphs.draw(painter, c.rect, c.glyph);
            // The cut.
            painter.setPen(QPen(Qt::gray, 1, Qt::DashLine));
            painter.drawLine(0, y - 1, PaperDots, y - 1);
        }
        return image.convertToFormat(QImage::Format_Grayscale8);
    });
}
