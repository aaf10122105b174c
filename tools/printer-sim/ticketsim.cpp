#include "ticketsim.h"

#include "barcode.h"
#include "glyphpainter.h"
#include "platform/cp949.h"

#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTransform>

namespace {

const int DotsPerMm = 8;
// A command longer than this without its '>' is line noise, not a command.
const int LongestCommand = 64;

struct Cell
{
    QRectF rect;
    QString glyph;
};

// Where a field's frame lies on the paper: anchored at its position, turned.
QTransform frameOf(const PrintedField &f)
{
    int quarter = f.rotation;
    if (f.kind == PrintedField::Barcode && f.barcodeOrientation == QLatin1Char('L'))
        ++quarter;
    QTransform t;
    t.translate(f.column, f.row);
    t.rotate(90.0 * (quarter % 4));
    return t;
}

// The cells of a text field in its own frame.
QList<Cell> textCells(const PrintedField &f)
{
    QList<Cell> cells;
    const QSize cell = TicketSim::fontCell(f.font);
    const bool hangul = f.font == QLatin1String("SF1");
    const QString text = hangul ? Cp949::toUnicode(f.bytes) : QString::fromLatin1(f.bytes);
    qreal x = 0;
    for (const QChar ch : text) {
        const int bytes = hangul ? Cp949::byteLength(QString(ch)) : 1;
        const qreal w = qreal(cell.width() * bytes * f.widthScale);
        cells.append({QRectF(x, 0, w, cell.height() * f.heightScale), QString(ch)});
        x += w;
    }
    return cells;
}

QRectF fieldRect(const PrintedField &f, const QList<bool> &modules)
{
    if (f.kind == PrintedField::Barcode)
        return QRectF(0, 0, modules.size() * f.barcodeModule, f.barcodeHeightMm * DotsPerMm);
    const QList<Cell> cells = textCells(f);
    QRectF r;
    for (const Cell &c : cells)
        r = r.united(c.rect);
    return r;
}

} // namespace

TicketSim::TicketSim(QObject *parent)
    : PrinterSim(parent)
{}

QByteArray TicketSim::statusFor(Fault fault)
{
    switch (fault) {
    case Fault::None:
        return QByteArray(1, '\x11');
    case Fault::Jam:
        return QByteArray(1, '\x18');
    case Fault::PaperOut:
        return QByteArray(1, '\x10');
    case Fault::Offline:
        return QByteArray(1, '\x13');
    case Fault::Cutter:
        return QByteArray(1, '\x1d');
    case Fault::DataError:
        return QByteArray(1, '\x15');
    case Fault::CoverOpen:
        return QByteArray(1, '\x03');
    case Fault::Head:
        return QByteArray(1, '\x08');
    case Fault::Buffer:
        return QByteArray(1, '\x19');
    case Fault::Serious:
        return QByteArray(1, '\xfc');
    }
    return QByteArray(1, '\x11');
}

QSize TicketSim::fontCell(const QString &code)
{
    static const QHash<QString, QSize> cells = {
            {QStringLiteral("SF1"), {12, 24}},
            {QStringLiteral("F1"), {5, 7}},
            {QStringLiteral("F2"), {8, 16}},
            {QStringLiteral("F3"), {17, 31}},
            {QStringLiteral("F4"), {5, 9}},
            {QStringLiteral("F6"), {30, 52}},
            {QStringLiteral("F7"), {15, 29}},
            {QStringLiteral("F8"), {20, 33}},
            {QStringLiteral("F9"), {13, 20}},
            {QStringLiteral("F10"), {25, 41}},
            {QStringLiteral("F11"), {25, 49}},
            {QStringLiteral("F12"), {46, 91}},
            {QStringLiteral("F13"), {20, 42}},
    };
    return cells.value(code);
}

void TicketSim::resetParser()
{
    m_pending.clear();
    m_itemBytes.clear();
    m_fields.clear();
    m_inField = false;
    m_barcodeArmed = false;
}

void TicketSim::consume(const QByteArray &bytes)
{
    m_pending.append(bytes);
    const int generation = cableGeneration();
    qsizetype at = 0;
    const qsizetype size = m_pending.size();
    while (at < size && cableGeneration() == generation) {
        const char b = m_pending.at(at);
        if (m_barcodeArmed && b == '^') {
            const qsizetype end = m_pending.indexOf('^', at + 1);
            if (end < 0)
                break;
            const QByteArray data = m_pending.mid(at + 1, end - at - 1);
            m_itemBytes.append(m_pending.mid(at, end - at + 1));
            at = end + 1;
            m_barcodeArmed = false;
            closeField();
            PrintedField f;
            f.kind = PrintedField::Barcode;
            f.bytes = data;
            f.text = QString::fromLatin1(data);
            f.row = m_row;
            f.column = m_column;
            f.rotation = m_rotation;
            f.barcodeOrientation = m_orientation;
            f.barcodeHeightMm = m_barHeightMm;
            f.barcodeModule = m_module;
            m_fields.append(f);
            continue;
        }
        if (b == '<') {
            const qsizetype end = m_pending.indexOf('>', at + 1);
            const qsizetype next = m_pending.indexOf('<', at + 1);
            const bool stray = (next >= 0 && (end < 0 || next < end))
                               || (end < 0 ? size - at : end - at) > LongestCommand;
            if (end < 0 && !stray)
                break; // the rest of the command is still on its way
            if (stray) {
                // A '<' that starts no command prints as it is.
                m_itemBytes.append(b);
                addText(b);
                ++at;
                continue;
            }
            const QByteArray text = m_pending.mid(at + 1, end - at - 1);
            at = end + 1;
            runCommand(text);
            continue;
        }
        m_itemBytes.append(b);
        addText(b);
        ++at;
    }
    if (cableGeneration() == generation)
        m_pending.remove(0, at);
}

void TicketSim::runCommand(const QByteArray &text)
{
    static const QRegularExpression rc(QStringLiteral("^RC(-?\\d+),(-?\\d+)$"));
    static const QRegularExpression hw(QStringLiteral("^HW(\\d+),(\\d+)$"));
    static const QRegularExpression barcode(QStringLiteral("^o([PL])(\\d+)$"));
    static const QRegularExpression module(QStringLiteral("^X(\\d+)$"));
    static const QRegularExpression font(QStringLiteral("^(SF1|F\\d+)$"));
    const QString c = QString::fromLatin1(text);
    if (c == QLatin1String("S1")) {
        statusRequested();
        return;
    }
    m_itemBytes.append('<' + text + '>');
    closeField();
    QRegularExpressionMatch m;
    if (c == QLatin1String("CB")) {
        startTicket();
    } else if (c == QLatin1String("NR") || c == QLatin1String("RR") || c == QLatin1String("RU")
               || c == QLatin1String("RL")) {
        m_rotation = int(QStringList{"NR", "RR", "RU", "RL"}.indexOf(c));
    } else if ((m = rc.match(c)).hasMatch()) {
        m_row = m.captured(1).toInt();
        m_column = m.captured(2).toInt();
    } else if ((m = font.match(c)).hasMatch() && fontCell(c).isValid()) {
        m_font = c;
    } else if ((m = hw.match(c)).hasMatch() && m.captured(1).toInt() > 0
               && m.captured(2).toInt() > 0) {
        m_heightScale = m.captured(1).toInt();
        m_widthScale = m.captured(2).toInt();
    } else if ((m = barcode.match(c)).hasMatch()) {
        m_orientation = m.captured(1).at(0);
        m_barHeightMm = m.captured(2).toInt();
    } else if ((m = module.match(c)).hasMatch() && m.captured(1).toInt() > 0) {
        m_module = m.captured(1).toInt();
    } else if (c == QLatin1String("BI")) {
        m_barcodeArmed = true;
    } else if (c == QLatin1String("p")) {
        print();
    } else {
        log(QStringLiteral("UNKNOWN <%1>").arg(c));
    }
}

void TicketSim::addText(char byte)
{
    if (!m_inField) {
        PrintedField f;
        f.row = m_row;
        f.column = m_column;
        f.rotation = m_rotation;
        f.font = m_font;
        f.heightScale = m_heightScale;
        f.widthScale = m_widthScale;
        m_fields.append(f);
        m_inField = true;
    }
    m_fields.last().bytes.append(byte);
}

void TicketSim::closeField()
{
    if (!m_inField)
        return;
    m_inField = false;
    PrintedField &f = m_fields.last();
    f.text = f.font == QLatin1String("SF1") ? Cp949::toUnicode(f.bytes)
                                            : QString::fromLatin1(f.bytes);
}

void TicketSim::startTicket()
{
    if (!m_fields.isEmpty())
        log(QStringLiteral("DROPPED %1 fields").arg(m_fields.size()));
    m_fields.clear();
    m_itemBytes = QByteArrayLiteral("<CB>");
    m_rotation = 0;
    m_row = m_column = 0;
    m_font = QStringLiteral("SF1");
    m_heightScale = m_widthScale = 1;
    m_barcodeArmed = false;
}

void TicketSim::print()
{
    closeField();
    PrintedItem item;
    item.fields = m_fields;
    item.bytes = m_itemBytes;
    m_fields.clear();
    m_itemBytes.clear();
    if (!mayPrint())
        return;

    const QRectF paper(0, 0, m_paperMm.width() * DotsPerMm, m_paperMm.height() * DotsPerMm);
    QRectF all = paper;
    QList<QList<bool>> modules;
    for (const PrintedField &f : std::as_const(item.fields)) {
        QString error;
        modules.append(f.kind == PrintedField::Barcode ? code128Modules(f.bytes, &error)
                                                       : QList<bool>());
        if (!error.isEmpty())
            log(QStringLiteral("BARCODE %1: %2").arg(f.text, error));
        const QRectF r = frameOf(f).mapRect(fieldRect(f, modules.last()));
        if (!paper.contains(r)) {
            log(QStringLiteral("OUTSIDE ticket %1 at %2,%3")
                        .arg(nextNumber())
                        .arg(f.row)
                        .arg(f.column));
            all = all.united(r);
        }
    }
    const QRect canvas = all.toAlignedRect();
    itemDone(item, [canvas, paper, fields = item.fields, modules] {
        QImage image(canvas.size(), QImage::Format_RGB32);
        image.fill(QColor(208, 208, 208)); // beyond the paper
        QPainter painter(&image);
        painter.translate(-canvas.topLeft());
        painter.fillRect(paper, Qt::white);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::black);
        GlyphPainter glyphs;
        for (qsizetype i = 0; i < fields.size(); ++i) {
            const PrintedField &f = fields.at(i);
            painter.save();
            painter.setTransform(frameOf(f) * painter.transform());
            if (f.kind == PrintedField::Barcode) {
                const QList<bool> &bars = modules.at(i);
                for (qsizetype m = 0; m < bars.size(); ++m) {
                    if (bars.at(m))
                        painter.fillRect(QRectF(m * f.barcodeModule,
                                                0,
                                                f.barcodeModule,
                                                f.barcodeHeightMm * DotsPerMm),
                                         Qt::black);
                }
            } else {
                for (const Cell &c : textCells(f))
                    glyphs.draw(painter, c.rect, c.glyph);
            }
            painter.restore();
        }
        painter.end();
        return image.convertToFormat(QImage::Format_Grayscale8);
    });
}
