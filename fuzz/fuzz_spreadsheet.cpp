// The spreadsheet writer, read back record by record: BOF first, EOF last,
// every record whole, every cell where it belongs with the text (in cp949,
// cut at its limit) or the number it was given.
#include "fuzzcheck.h"

#include "framework/spreadsheetwriter.h"
#include "platform/cp949.h"

#include <QBuffer>
#include <QtEndian>

#include <cstring>

namespace {

struct Cell
{
    int row;
    int column;
    QString text;
    bool number;
};

quint16 u16(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Fields separated by 0x1F: the title, three headers, then cells three to
    // a row; a field starting with 0x1E is right-aligned.
    const QList<QByteArray> fields = Fuzz::bytes(data, size).split('\x1F');
    QList<Cell> expected;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    SpreadsheetWriter writer(&buffer);
    const auto text = [&](int i) { return QString::fromUtf8(fields.value(i)); };
    QStringList headers;
    for (int i = 1; i <= 3 && i < fields.size(); ++i)
        headers.append(text(i));
    writer.begin(text(0), headers);
    expected.append({0, 0, text(0), false});
    for (int i = 0; i < headers.size(); ++i)
        expected.append({2, i, headers.at(i), false});
    QList<SpreadsheetCell> row;
    for (qsizetype i = 4; i < fields.size(); ++i) {
        const bool right = fields.at(i).startsWith('\x1E');
        const QString value = right ? QString::fromUtf8(fields.at(i).mid(1)) : text(int(i));
        row.append({value, right});
        expected.append({3 + int(i - 4) / 3,
                         int(i - 4) % 3,
                         value,
                         SpreadsheetWriter::isNumberCell(value, right)});
        if (row.size() == 3 || i + 1 == fields.size()) {
            FUZZ_CHECK(writer.addRow(row));
            row.clear();
        }
    }
    writer.finish();
    FUZZ_CHECK(writer.ok());

    const QByteArray out = buffer.data();
    qsizetype at = 0;
    int record = 0;
    qsizetype cell = 0;
    bool ended = false;
    while (at < out.size()) {
        FUZZ_CHECK(!ended && at + 4 <= out.size());
        const quint16 type = u16(out, at);
        const quint16 length = u16(out, at + 2);
        FUZZ_CHECK(at + 4 + length <= out.size());
        const QByteArray body = out.mid(at + 4, length);
        at += 4 + length;
        if (record++ == 0) {
            FUZZ_CHECK(type == 0x0809);
            continue;
        }
        if (type == 0x000A) {
            ended = true;
            continue;
        }
        FUZZ_CHECK(cell < expected.size());
        const Cell &want = expected.at(cell++);
        FUZZ_CHECK(u16(body, 0) == want.row && u16(body, 2) == want.column);
        if (want.number) {
            FUZZ_CHECK(type == 0x0203 && length == 14);
            double value;
            std::memcpy(&value, body.constData() + 6, sizeof value);
            value = qFromLittleEndian(value);
            bool converted = false;
            const double number = want.text.toDouble(&converted);
            FUZZ_CHECK(value == (converted ? number : 0.0));
        } else {
            FUZZ_CHECK(type == 0x0204 && length >= 8 && u16(body, 6) == length - 8);
            const QString cut = Cp949::truncateToBytes(want.text, SpreadsheetWriter::MaxTextBytes);
            FUZZ_CHECK(body.mid(8) == Cp949::fromUnicode(cut));
        }
    }
    FUZZ_CHECK(ended && cell == expected.size());
    return 0;
}
