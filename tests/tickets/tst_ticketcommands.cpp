// The ticket printer's command stream, its status byte and the ticket layout
// file, without a screen or a port.
#include "db/numberledger.h"
#include "tickets/ticketcommands.h"
#include "tickets/ticketdesign.h"
#include "tickets/ticketlayout.h"
#include "tickets/ticketstatus.h"
#include "tickets/tickettexts.h"

#include "platform/inifile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace TicketCommands;

namespace {

/// The design of the worked example: 155 × 60 mm, a label at 20 mm from the
/// left and 10 mm from the top (Hangul font, twice the size, the number), the
/// barcode at 30 mm, 30 mm, twice the size, 10 mm high.
TicketDesign workedExample(int direction)
{
    TicketDesign d;
    d.direction = direction;
    d.labels.append({QStringLiteral("Label1"), TicketDesign::sequenceMark(), 0, 2, 80, 40});
    d.barcodeVisible = true;
    d.barcodeLeftPx = 120;
    d.barcodeTopPx = 120;
    d.barcodeWidthPx = 2 * 44;
    d.barcodeHeightPx = 40;
    return d;
}

} // namespace

class tst_TicketCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void workedExample_data();
    void workedExample();
    void positionEdges_data();
    void positionEdges();
    void fontCodes();
    void sequenceNumbers();
    void unnumberedTicket();
    void statusBytes_data();
    void statusBytes();
    void labelValues_data();
    void labelValues();
    void layoutRoundTrip();
    void layoutDefaultsAndBadDirection();
    void layoutFailures();
    void oldLedgerLines();
};

void tst_TicketCommands::workedExample_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<QByteArray>("rotation");
    QTest::addColumn<QByteArray>("labelPosition");
    QTest::addColumn<QByteArray>("barcode");

    QTest::newRow("0") << 0 << QByteArray("<NR>") << QByteArray("<RC64,144>")
                       << QByteArray("<RC224,224><NR><oP10><X2><BI>^0000000001^");
    QTest::newRow("90") << 1 << QByteArray("<RR>") << QByteArray("<RC144,392>")
                        << QByteArray("<RC224,232><NR><oL10><X2><BI>^0000000001^");
    QTest::newRow("180") << 2 << QByteArray("<RU>") << QByteArray("<RC384,1072>")
                         << QByteArray("<RC224,992><RU><oP10><X2><BI>^0000000001^");
    QTest::newRow("270") << 3 << QByteArray("<RL>") << QByteArray("<RC1064,56>")
                         << QByteArray("<RC984,216><RU><oL10><X2><BI>^0000000001^");
}

void tst_TicketCommands::workedExample()
{
    QFETCH(int, direction);
    QFETCH(QByteArray, rotation);
    QFETCH(QByteArray, labelPosition);
    QFETCH(QByteArray, barcode);

    const QList<QByteArray> writes = ticketWrites(::workedExample(direction), sequenceText(1, 0));
    QCOMPARE(writes,
             QList<QByteArray>(
                     {"<CB>", rotation, labelPosition + "<SF1><HW2,2>0000000001", barcode, "<p>"}));
}

void tst_TicketCommands::positionEdges_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("leftPx");
    QTest::addColumn<int>("topPx");
    QTest::addColumn<QByteArray>("expected");

    // Pixels become whole millimetres first (truncated), then dots.
    QTest::newRow("0, 2 mm: the origin") << 0 << 8 << 8 << QByteArray("<RC0,0>");
    QTest::newRow("0, 11 px is 2 mm") << 0 << 11 << 11 << QByteArray("<RC0,0>");
    QTest::newRow("270, top 2 mm: column -8") << 3 << 80 << 8 << QByteArray("<RC1064,-8>");
    QTest::newRow("0, at 0: negative, not clamped") << 0 << 0 << 0 << QByteArray("<RC-16,-16>");
    QTest::newRow("180 at the far corner") << 2 << 620 << 240 << QByteArray("<RC-16,-8>");
}

void tst_TicketCommands::positionEdges()
{
    QFETCH(int, direction);
    QFETCH(int, leftPx);
    QFETCH(int, topPx);
    QFETCH(QByteArray, expected);
    QCOMPARE(positionCommand(direction, leftPx, topPx, 155, 60), expected);
}

void tst_TicketCommands::fontCodes()
{
    const QStringList codes
            = {"SF1", "F1", "F2", "F3", "F4", "F6", "F7", "F8", "F9", "F10", "F11", "F12", "F13"};
    for (int i = 0; i < codes.size(); ++i)
        QCOMPARE(fontCode(i), codes[i]);
    QCOMPARE(fontCode(-1), QStringLiteral("SF1"));
    QCOMPARE(fontCode(13), QStringLiteral("SF1"));
    QCOMPARE(fontCommand(5, 3), QByteArray("<F6><HW3,3>"));
    QCOMPARE(fontCommand(1, 0), QByteArray("<F1><HW1,1>"));
    QCOMPARE(fontCommand(0, -4), QByteArray("<SF1><HW1,1>"));
}

void tst_TicketCommands::sequenceNumbers()
{
    QCOMPARE(sequenceText(1, 0), QStringLiteral("0000000001"));
    QCOMPARE(sequenceText(9999999999, 0), QStringLiteral("9999999999"));
    QCOMPARE(sequenceText(9999999999, 1), QStringLiteral("10000000000"));
    QCOMPARE(sequenceText(0, 3), QString());
    QCOMPARE(sequenceText(-5, 0), QString());
}

void tst_TicketCommands::unnumberedTicket()
{
    // No number: the label keeps its position and font, the barcode is left out;
    // other texts go as they are (a label may carry printer commands on purpose).
    TicketDesign d = ::workedExample(0);
    d.labels.append({QStringLiteral("Label2"), QStringLiteral("입장권<F3>"), 4, 1, 8, 8});
    QCOMPARE(ticketWrites(d, QString()),
             QList<QByteArray>({"<CB>",
                                "<NR>",
                                "<RC64,144><SF1><HW2,2>",
                                "<RC0,0><F4><HW1,1>\xc0\xd4\xc0\xe5\xb1\xc7<F3>",
                                "<p>"}));
}

void tst_TicketCommands::statusBytes_data()
{
    QTest::addColumn<QByteArray>("piece");
    QTest::addColumn<bool>("ready");
    QTest::addColumn<QString>("message");

    QTest::newRow("11") << QByteArray("\x11") << true << QString();
    QTest::newRow("11 then a jam byte") << QByteArray("\x11\x18") << true << QString();
    for (const char b : {'\x03', '\x04', '\x18', '\xfc'})
        QTest::addRow("%02x", quint8(b)) << QByteArray(1, b) << false << TicketText::jammed();
    for (const char b : {'\x08', '\x15', '\x19'})
        QTest::addRow("%02x", quint8(b))
                << QByteArray(1, b) << false << TicketText::transferFailed();
    for (const char b : {'\x0a', '\x0b', '\x0c', '\x0d', '\x10'})
        QTest::addRow("%02x", quint8(b)) << QByteArray(1, b) << false << TicketText::outOfTickets();
    QTest::newRow("13") << QByteArray("\x13") << false << TicketText::offLine();
    QTest::newRow("1d") << QByteArray("\x1d") << false << TicketText::cutter();
    QTest::newRow("06: not in the table") << QByteArray("\x06") << false << QString();
    QTest::newRow("ff") << QByteArray("\xff") << false << QString();
    QTest::newRow("empty") << QByteArray() << false << QString();
}

void tst_TicketCommands::statusBytes()
{
    QFETCH(QByteArray, piece);
    QFETCH(bool, ready);
    QFETCH(QString, message);
    QCOMPARE(TicketStatus::isReady(piece), ready);
    QCOMPARE(TicketStatus::message(piece), message);
}

void tst_TicketCommands::labelValues_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("font");
    QTest::addColumn<int>("multiplier");
    QTest::addColumn<QString>("text");

    QTest::newRow("the example") << "<RC10,20><F0><HW2,2>{sequence}" << 10 << 20 << 0 << 2
                                 << "{sequence}";
    QTest::newRow("commands in the text stay text")
            << "<RC3,4><F5><HW1,1><p>a,b>c" << 3 << 4 << 5 << 1 << "<p>a,b>c";
    QTest::newRow("only the first multiplier is read")
            << "<RC1,1><F1><HW3,5>x" << 1 << 1 << 1 << 3 << "x";
    QTest::newRow("invalid numbers are 0") << "<RC1 0,x><F><HW,2>t" << 0 << 0 << 0 << 0 << "t";
    QTest::newRow("negative font") << "<RC2,2><F-1><HW1,1>" << 2 << 2 << -1 << 1 << "";
    QTest::newRow("no fields at all") << "plain" << 0 << 0 << 0 << 0 << "plain";
}

void tst_TicketCommands::labelValues()
{
    QFETCH(QString, value);
    QFETCH(int, top);
    QFETCH(int, left);
    QFETCH(int, font);
    QFETCH(int, multiplier);
    QFETCH(QString, text);

    const TicketLayout::LabelEntry e = TicketLayout::parseLabelValue(QStringLiteral("Label9"),
                                                                     value);
    QCOMPARE(e.topMm, top);
    QCOMPARE(e.leftMm, left);
    QCOMPARE(e.fontIndex, font);
    QCOMPARE(e.multiplier, multiplier);
    QCOMPARE(e.text, text);
}

void tst_TicketCommands::layoutRoundTrip()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ticket.ini"));
    TicketDesign d;
    d.direction = 2;
    d.widthMm = 120;
    d.heightMm = 50;
    d.cutType = 1;
    d.cutLineMm = 20;
    d.labels = {{QStringLiteral("Label1"), QStringLiteral("{sequence}"), 0, 2, 81, 43},
                {QStringLiteral("Label4"), QStringLiteral("입장권"), 7, 3, 8, 8}};
    d.barcodeVisible = false; // written all the same, with its geometry
    d.barcodeWidthPx = 3 * 44;
    d.barcodeHeightPx = 12 * 4;
    d.barcodeLeftPx = 20 * 4 + 3;
    d.barcodeTopPx = 8 * 4;
    // A key of another program in the file stays; a label deleted since the last save goes.
    IniFile(path).writeString(QStringLiteral("Other"), QStringLiteral("Keep"), QStringLiteral("1"));
    IniFile(path).writeString(QStringLiteral("Label"),
                              QStringLiteral("Label2"),
                              QStringLiteral("x"));
    QVERIFY(TicketLayout::save(path, d));

    const IniFile file(path);
    QCOMPARE(file.sectionLines(QStringLiteral("Config")),
             QStringList({"Direction=2", "Width=120", "Height=50", "CutType=1", "CutLine=20"}));
    QCOMPARE(file.sectionLines(QStringLiteral("Barcode")),
             QStringList({"Barcode=0", "Width=3", "Height=12", "Left=20", "Top=8"}));
    QCOMPARE(file.sectionLines(QStringLiteral("Label")),
             QStringList(
                     {"Label1=<RC10,20><F0><HW2,2>{sequence}", "Label4=<RC2,2><F7><HW3,3>입장권"}));
    QCOMPARE(file.readString(QStringLiteral("Other"), QStringLiteral("Keep")), QStringLiteral("1"));

    const auto c = TicketLayout::load(path);
    QVERIFY(c);
    QCOMPARE(c->direction, 2);
    QCOMPARE(c->widthMm, 120);
    QCOMPARE(c->cutLineMm, 20);
    QVERIFY(!c->barcode);
    QCOMPARE(c->barcodeMultiplier, 3);
    QCOMPARE(c->barcodeLeftMm, 20);
    QCOMPARE(c->labels.size(), 2);
    QCOMPARE(c->labels[1].key, QStringLiteral("Label4"));
    QCOMPARE(c->labels[1].text, QStringLiteral("입장권"));
    QCOMPARE(c->labels[1].fontIndex, 7);
}

void tst_TicketCommands::layoutDefaultsAndBadDirection()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("odd.ini"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[Config]\r\nDirection=7\r\n[Barcode]\r\nBarcode=5\r\n[Label]\r\nLabel7=<RC4,5>b\r\n"
            "Label3=a\r\n");
    f.close();
    const auto c = TicketLayout::load(path);
    QVERIFY(c);
    QCOMPARE(c->direction, 0);
    QCOMPARE(c->widthMm, 155);
    QCOMPARE(c->heightMm, 60);
    QVERIFY(c->barcode); // any number but 0
    QCOMPARE(c->barcodeMultiplier, 2);
    QCOMPARE(c->barcodeHeightMm, 10);
    QCOMPARE(c->barcodeLeftMm, 2);
    QCOMPARE(c->labels.size(), 2);
    QCOMPARE(c->labels[0].key, QStringLiteral("Label7")); // file order
    QCOMPARE(c->labels[0].topMm, 4);
    QCOMPARE(c->labels[1].text, QStringLiteral("a"));

    QFile neg(path);
    QVERIFY(neg.open(QIODevice::WriteOnly));
    neg.write("[Config]\nDirection=-1\n");
    neg.close();
    QCOMPARE(TicketLayout::load(path)->direction, 0);
}

void tst_TicketCommands::layoutFailures()
{
    QTemporaryDir dir;
    QVERIFY(!TicketLayout::load(dir.filePath(QStringLiteral("missing.ini"))));
    QVERIFY(!TicketLayout::load(dir.path())); // a folder
    TicketDesign d;
    d.labels = {{QStringLiteral("Label1"), QStringLiteral("A"), 0, 1, 8, 8}};
    QVERIFY(!TicketLayout::save(dir.filePath(QStringLiteral("no/such/folder/t.ini")), d));
}

void tst_TicketCommands::oldLedgerLines()
{
    // The lines of the CSV ledger workstations kept before the database's:
    // a layout path with a comma and quotes, a message with a comma.
    QCOMPARE(NumberLedger::csvFields(QStringLiteral(
                     "2026-12-01T09:00:00,A0001,\"/a, \"\"b\"\".ini\",COM1,0000000012,failed,"
                     "\"걸림, 다시\"")),
             QStringList({"2026-12-01T09:00:00",
                          "A0001",
                          "/a, \"b\".ini",
                          "COM1",
                          "0000000012",
                          "failed",
                          "걸림, 다시"}));
    QCOMPARE(NumberLedger::csvFields(QString()), QStringList{QString()});
    QCOMPARE(NumberLedger::csvFields(QStringLiteral("a,,")), QStringList({"a", "", ""}));
}

QTEST_GUILESS_MAIN(tst_TicketCommands)
#include "tst_ticketcommands.moc"
