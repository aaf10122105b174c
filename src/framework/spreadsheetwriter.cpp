#include "spreadsheetwriter.h"

#include "platform/cp949.h"

#include <QIODevice>
#include <QtEndian>

#include <cstring>

namespace {

constexpr quint16 RecBof = 0x0809;
constexpr quint16 RecLabel = 0x0204;
constexpr quint16 RecNumber = 0x0203;
constexpr quint16 RecEof = 0x000A;

void append16(QByteArray &out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

QByteArray header(quint16 type, quint16 length)
{
    QByteArray out;
    append16(out, type);
    append16(out, length);
    return out;
}

// Records are collected and written in blocks: one device write per record
// costs more than the records themselves.
constexpr qsizetype FlushSize = 64 * 1024;

bool isAscii(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

} // namespace

SpreadsheetWriter::SpreadsheetWriter(QIODevice *device)
    : m_device(device)
{
    m_buffer.reserve(FlushSize + 1024);
}

void SpreadsheetWriter::put(const QByteArray &bytes)
{
    m_buffer.append(bytes);
    if (m_buffer.size() >= FlushSize)
        flush();
}

void SpreadsheetWriter::flush()
{
    if (m_ok && !m_buffer.isEmpty() && m_device->write(m_buffer) != m_buffer.size())
        m_ok = false;
    m_buffer.resize(0); // keeps the block's memory for the next one
}

void SpreadsheetWriter::begin(const QString &title, const QStringList &headers)
{
    QByteArray bof = header(RecBof, 8);
    append16(bof, 0x0000); // version
    append16(bof, 0x0010); // worksheet
    append16(bof, 0x0000); // build
    append16(bof, 0x0000); // year
    put(bof);
    writeLabel(0, 0, title);
    for (int column = 0; column < headers.size(); ++column)
        writeLabel(2, column, headers.at(column));
}

bool SpreadsheetWriter::addRow(const QList<SpreadsheetCell> &cells)
{
    QList<SpreadsheetCellRef> refs;
    refs.reserve(cells.size());
    for (const SpreadsheetCell &cell : cells)
        refs.append({&cell.value, cell.rightAligned});
    return addRow(refs);
}

bool SpreadsheetWriter::addRow(const QList<SpreadsheetCellRef> &cells)
{
    if (m_dataRows >= MaxDataRows)
        return false;
    const int row = m_dataRows + 3;
    for (int column = 0; column < cells.size(); ++column)
        writeCell(row, column, *cells.at(column).value, cells.at(column).rightAligned);
    ++m_dataRows;
    return true;
}

void SpreadsheetWriter::finish()
{
    put(header(RecEof, 0));
    flush();
}

QString SpreadsheetWriter::plainText(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

bool SpreadsheetWriter::isNumberCell(const QString &text, bool rightAligned)
{
    if (!rightAligned)
        return false;
    // DigitsOnly(text) == text, without building the copy for every cell.
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (!((c >= u'0' && c <= u'9') || (i == 0 && c == u'-')))
            return false;
    }
    return true;
}

void SpreadsheetWriter::writeCell(int row, int column, const QVariant &value, bool rightAligned)
{
    // A whole number of a right-aligned column is a NUMBER: no need for its
    // digits (their text gives the same double, rounded the same way).
    if (rightAligned && !value.isNull()) {
        switch (value.typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
            writeNumber(row, column, double(value.toLongLong()));
            return;
        case QMetaType::UInt:
        case QMetaType::ULongLong:
            writeNumber(row, column, double(value.toULongLong()));
            return;
        default:
            break;
        }
    }
    // Texts are read in place: toString() would copy every one.
    const bool isText = value.metaType() == QMetaType::fromType<QString>();
    const QString converted = isText ? QString() : plainText(value);
    const QString &text = isText ? *static_cast<const QString *>(value.constData()) : converted;
    if (isNumberCell(text, rightAligned))
        writeNumber(row, column, wholeNumber(text));
    else
        writeLabel(row, column, text);
}

double SpreadsheetWriter::wholeNumber(const QString &digits)
{
    // Up to 18 digits are exact in 64 bits; QString::toDouble() costs far more.
    const bool negative = digits.startsWith(QLatin1Char('-'));
    const qsizetype count = digits.size() - (negative ? 1 : 0);
    if (count > 18) {
        bool converted = false;
        const double number = digits.toDouble(&converted);
        return converted ? number : 0.0;
    }
    qint64 value = 0;
    for (qsizetype i = negative ? 1 : 0; i < digits.size(); ++i)
        value = value * 10 + (digits.at(i).unicode() - u'0');
    return double(negative ? -value : value);
}

namespace {

// The fixed fields of a cell record: type, length, row, column, format index.
char *cellHeader(char *out, quint16 type, quint16 length, int row, int column)
{
    qToLittleEndian(type, out);
    qToLittleEndian(length, out + 2);
    qToLittleEndian(quint16(row), out + 4);
    qToLittleEndian(quint16(column), out + 6);
    qToLittleEndian(quint16(0), out + 8);
    return out + 10;
}

} // namespace

void SpreadsheetWriter::writeLabel(int row, int column, const QString &text)
{
    if (isAscii(text) && text.size() <= MaxTextBytes) {
        // The text's own characters are its bytes: written straight into the block.
        const auto size = quint16(text.size());
        char *out = cellHeader(grow(12 + size), RecLabel, quint16(size + 8), row, column);
        qToLittleEndian(size, out);
        out += 2;
        for (const QChar c : text)
            *out++ = char(c.unicode());
        endRecord();
        return;
    }
    QByteArray bytes = Cp949::fromUnicode(text);
    if (bytes.size() > MaxTextBytes) {
        bytes = Cp949::fromUnicode(Cp949::truncateToBytes(text, MaxTextBytes));
        ++m_cutTexts;
    }
    const auto size = quint16(bytes.size());
    char *out = cellHeader(grow(12 + size), RecLabel, quint16(size + 8), row, column);
    qToLittleEndian(size, out);
    std::memcpy(out + 2, bytes.constData(), size);
    endRecord();
}

void SpreadsheetWriter::writeNumber(int row, int column, double value)
{
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    qToLittleEndian(bits, cellHeader(grow(18), RecNumber, 14, row, column));
    endRecord();
}

char *SpreadsheetWriter::grow(qsizetype bytes)
{
    const qsizetype at = m_buffer.size();
    m_buffer.resize(at + bytes);
    return m_buffer.data() + at;
}

void SpreadsheetWriter::endRecord()
{
    if (m_buffer.size() >= FlushSize)
        flush();
}
