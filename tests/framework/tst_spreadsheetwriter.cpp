#include "framework/spreadsheetwriter.h"
#include "patience.h"
#include "platform/cp949.h"

#include <QBuffer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <cstring>

namespace {

struct Record
{
    quint16 type;
    QByteArray body;
};

QList<Record> records(const QByteArray &bytes)
{
    QList<Record> result;
    int pos = 0;
    while (pos + 4 <= bytes.size()) {
        const quint16 type = qFromLittleEndian<quint16>(bytes.constData() + pos);
        const quint16 length = qFromLittleEndian<quint16>(bytes.constData() + pos + 2);
        result.append({type, bytes.mid(pos + 4, length)});
        pos += 4 + length;
    }
    return result;
}

quint16 u16(const QByteArray &body, int offset)
{
    return qFromLittleEndian<quint16>(body.constData() + offset);
}

double number(const QByteArray &body)
{
    const quint64 bits = qFromLittleEndian<quint64>(body.constData() + 6);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

} // namespace

class tst_SpreadsheetWriter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void layoutOfAnEmptyResult();
    void numberRule_data();
    void numberRule();
    void longTextIsCutAtCharacterBoundary();
    void rowLimit();
    void readBackByIndependentReader();
};

void tst_SpreadsheetWriter::layoutOfAnEmptyResult()
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    SpreadsheetWriter writer(&buffer);
    writer.begin(QStringLiteral("비밀번호 이력 조회"),
                 {QStringLiteral("사번"), QStringLiteral("A")});
    writer.finish();
    QVERIFY(writer.ok());

    const QByteArray bytes = buffer.data();
    QCOMPARE(bytes.left(12),
             QByteArray::fromHex("0908080000001000"
                                 "00000000"));
    QCOMPARE(bytes.right(4), QByteArray::fromHex("0a000000"));

    const QList<Record> recs = records(bytes);
    QCOMPARE(recs.size(), 5); // BOF, title, two headers, EOF
    const QByteArray title = Cp949::fromUnicode(QStringLiteral("비밀번호 이력 조회"));
    QCOMPARE(recs[1].type, quint16(0x0204));
    QCOMPARE(recs[1].body.size(), title.size() + 8);
    QCOMPARE(u16(recs[1].body, 0), quint16(0)); // row
    QCOMPARE(u16(recs[1].body, 2), quint16(0)); // column
    QCOMPARE(u16(recs[1].body, 4), quint16(0)); // format
    QCOMPARE(u16(recs[1].body, 6), quint16(title.size()));
    QCOMPARE(recs[1].body.mid(8), title);
    QCOMPARE(u16(recs[3].body, 0), quint16(2));
    QCOMPARE(u16(recs[3].body, 2), quint16(1));
    QCOMPARE(recs[3].body.mid(8), QByteArray("A"));
}

void tst_SpreadsheetWriter::numberRule_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("rightAligned");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<double>("expected");

    QTest::newRow("negative whole number") << QVariant(-42) << true << true << -42.0;
    QTest::newRow("decimal is text") << QVariant(3.5) << true << false << 0.0;
    QTest::newRow("null number is zero")
            << QVariant(QMetaType::fromType<int>()) << true << true << 0.0;
    QTest::newRow("digits in a text field") << QVariant("00123") << false << false << 0.0;
    QTest::newRow("digits as text, right-aligned") << QVariant("00123") << true << true << 123.0;
}

void tst_SpreadsheetWriter::numberRule()
{
    QFETCH(QVariant, value);
    QFETCH(bool, rightAligned);
    QFETCH(bool, isNumber);
    QFETCH(double, expected);

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    SpreadsheetWriter writer(&buffer);
    writer.begin(QString(), {});
    QVERIFY(writer.addRow({{value, rightAligned}}));
    writer.finish();

    const QList<Record> recs = records(buffer.data());
    QCOMPARE(recs.size(), 4);
    const Record &cell = recs[2];
    QCOMPARE(u16(cell.body, 0), quint16(3)); // first data row
    if (isNumber) {
        QCOMPARE(cell.type, quint16(0x0203));
        QCOMPARE(cell.body.size(), 14);
        QCOMPARE(number(cell.body), expected);
    } else {
        QCOMPARE(cell.type, quint16(0x0204));
        QCOMPARE(QString::fromLatin1(cell.body.mid(8)), value.toString());
    }
}

void tst_SpreadsheetWriter::longTextIsCutAtCharacterBoundary()
{
    // Double-byte characters only: a cut at the odd MaxTextBytes would split one.
    const QString text(40000, QChar(0xAC00));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    SpreadsheetWriter writer(&buffer);
    writer.begin(text, {});
    writer.finish();
    QCOMPARE(writer.cutTexts(), 1);

    const QList<Record> recs = records(buffer.data());
    QCOMPARE(recs.size(), 3);
    const QByteArray written = recs[1].body.mid(8);
    QCOMPARE(written.size(), SpreadsheetWriter::MaxTextBytes - 1);
    QCOMPARE(u16(recs[1].body, 6), quint16(written.size()));
    QCOMPARE(Cp949::toUnicode(written), text.left((SpreadsheetWriter::MaxTextBytes - 1) / 2));
}

void tst_SpreadsheetWriter::rowLimit()
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    SpreadsheetWriter writer(&buffer);
    writer.begin(QString(), {});
    for (int i = 0; i < SpreadsheetWriter::MaxDataRows; ++i)
        QVERIFY(writer.addRow({{QVariant(i), true}}));
    const qint64 size = buffer.size();
    QVERIFY(!writer.addRow({{QVariant(1), true}}));
    QCOMPARE(buffer.size(), size);
    writer.finish();
    QCOMPARE(u16(records(buffer.data()).at(SpreadsheetWriter::MaxDataRows + 1).body, 0),
             quint16(65535));
}

void tst_SpreadsheetWriter::readBackByIndependentReader()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ZAS010.xls"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    SpreadsheetWriter writer(&file);
    writer.begin(QStringLiteral("사용자별 비밀번호 조회"),
                 {QStringLiteral("사번"), QStringLiteral("성명"), QStringLiteral("횟수")});
    writer.addRow(
            {{QVariant("00123"), false}, {QVariant("홍길동 똠"), false}, {QVariant(-7), true}});
    writer.addRow({{QVariant("A'B"), false}, {QVariant(), false}, {QVariant(), true}});
    writer.finish();
    file.close();

    const QString script = QStringLiteral(
            "import sys, xlrd\n"
            "book = xlrd.open_workbook(sys.argv[1], encoding_override='cp949')\n"
            "sheet = book.sheet_by_index(0)\n"
            "for r in range(sheet.nrows):\n"
            "    print('|'.join(repr(sheet.cell_value(r, c)) for c in range(sheet.ncols)))\n");
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, path});
    QVERIFY(python.waitForFinished(PatienceMs));
    QVERIFY2(python.exitCode() == 0, python.readAllStandardError().constData());
    const QStringList lines = QString::fromUtf8(python.readAllStandardOutput())
                                      .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines,
             QStringList({QStringLiteral("'사용자별 비밀번호 조회'|''|''"),
                          QStringLiteral("''|''|''"),
                          QStringLiteral("'사번'|'성명'|'횟수'"),
                          QStringLiteral("'00123'|'홍길동 똠'|-7.0"),
                          QStringLiteral("\"A'B\"|''|0.0")}));
}

QTEST_GUILESS_MAIN(tst_SpreadsheetWriter)
#include "tst_spreadsheetwriter.moc"
