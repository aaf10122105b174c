#include "spreadsheetwriter.h"

#include "common/commonroutines.h"
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

} // namespace

SpreadsheetWriter::SpreadsheetWriter(QIODevice *device)
    : m_device(device)
{}

void SpreadsheetWriter::put(const QByteArray &bytes)
{
    if (m_ok && m_device->write(bytes) != bytes.size())
        m_ok = false;
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
    if (m_dataRows >= MaxDataRows)
        return false;
    const int row = m_dataRows + 3;
    for (int column = 0; column < cells.size(); ++column)
        writeCell(row, column, cells.at(column));
    ++m_dataRows;
    return true;
}

void SpreadsheetWriter::finish()
{
    put(header(RecEof, 0));
}

QString SpreadsheetWriter::plainText(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

bool SpreadsheetWriter::isNumberCell(const QString &text, bool rightAligned)
{
    return rightAligned && DigitsOnly(text) == text;
}

void SpreadsheetWriter::writeCell(int row, int column, const SpreadsheetCell &cell)
{
    const QString text = plainText(cell.value);
    if (isNumberCell(text, cell.rightAligned)) {
        bool converted = false;
        const double number = text.toDouble(&converted);
        writeNumber(row, column, converted ? number : 0.0);
    } else {
        writeLabel(row, column, text);
    }
}

void SpreadsheetWriter::writeLabel(int row, int column, const QString &text)
{
    QByteArray bytes = Cp949::fromUnicode(text);
    if (bytes.size() > MaxTextBytes) {
        bytes = Cp949::fromUnicode(Cp949::truncateToBytes(text, MaxTextBytes));
        ++m_cutTexts;
    }
    QByteArray record = header(RecLabel, quint16(bytes.size() + 8));
    append16(record, quint16(row));
    append16(record, quint16(column));
    append16(record, 0x0000); // format index
    append16(record, quint16(bytes.size()));
    record.append(bytes);
    put(record);
}

void SpreadsheetWriter::writeNumber(int row, int column, double value)
{
    QByteArray record = header(RecNumber, 14);
    append16(record, quint16(row));
    append16(record, quint16(column));
    append16(record, 0x0000); // format index
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    char raw[8];
    qToLittleEndian(bits, raw);
    record.append(raw, 8);
    put(record);
}
