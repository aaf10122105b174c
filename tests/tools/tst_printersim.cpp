// The printer simulators in-process: their command languages, pictures and
// injected faults, reached through the serial link as the screens reach them.
#include "barcode.h"
#include "couponsim.h"
#include "patience.h"
#include "platform/cp949.h"
#include "platform/seriallink.h"
#include "ticketsim.h"

#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray WorkedExample = QByteArrayLiteral(
        "<CB><NR><RC64,144><SF1><HW2,2>0000000001<RC224,224><NR><oP10><X2><BI>^0000000001^<p>");

// One line per field: what the tests compare.
QStringList describe(const PrintedItem &item)
{
    QStringList result;
    for (const PrintedField &f : item.fields) {
        if (f.kind == PrintedField::Barcode)
            result.append(QStringLiteral("B %1,%2 r%3 o%4%5 X%6 %7")
                                  .arg(f.row)
                                  .arg(f.column)
                                  .arg(f.rotation)
                                  .arg(f.barcodeOrientation)
                                  .arg(f.barcodeHeightMm)
                                  .arg(f.barcodeModule)
                                  .arg(f.text));
        else if (!f.font.isEmpty())
            result.append(QStringLiteral("T %1,%2 r%3 %4 %5x%6 %7")
                                  .arg(f.row)
                                  .arg(f.column)
                                  .arg(f.rotation)
                                  .arg(f.font)
                                  .arg(f.heightScale)
                                  .arg(f.widthScale)
                                  .arg(f.text));
        else
            result.append(QStringLiteral("L%1 %2x%3 %4")
                                  .arg(f.row)
                                  .arg(f.heightScale)
                                  .arg(f.widthScale)
                                  .arg(f.text));
    }
    return result;
}

QStringList unknownEvents(const PrinterSim &sim)
{
    return sim.events().filter(QRegularExpression(QStringLiteral("^(UNKNOWN|DROPPED)")));
}

// Dark pixels inside a rectangle of a grey picture.
int ink(const QImage &image, const QRect &area)
{
    int count = 0;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x)
            count += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    }
    return count;
}

// What an independent reader finds in a picture: "CODE-128:…" lines.
QString readBarcodes(const QString &png)
{
    QProcess zbar;
    zbar.start(QStringLiteral("zbarimg"), {QStringLiteral("-q"), png});
    if (!zbar.waitForFinished(PatienceMs))
        return QStringLiteral("zbarimg did not run");
    return QString::fromLatin1(zbar.readAllStandardOutput()).trimmed();
}

// A program's side of the line: the serial link, every piece kept with its time.
struct Client
{
    explicit Client(PrinterSim &printer, int rate = 9600)
        : sim(printer)
    {
        link.setPortName(sim.portPath());
        link.setBaudRate(rate);
        QObject::connect(&link, &SerialLink::pieceReceived, &link, [this](const QByteArray &p) {
            pieces.append(p);
            times.append(clock.elapsed());
            got += p.size();
        });
        clock.start();
        takenBefore = sim.received().size();
    }
    // Sends without waiting for anything.
    bool send(const QByteArray &bytes)
    {
        written += bytes.size();
        return link.write(bytes);
    }
    // Sends and waits until the printer has taken every byte and whatever it
    // sent since (late and split answers too) has arrived: complete however
    // slowly the machine runs.
    QByteArray ask(const QByteArray &bytes)
    {
        pieces.clear();
        times.clear();
        clock.restart();
        const qint64 sentBefore = sim.bytesSent();
        got = 0;
        if (!send(bytes))
            return "write failed";
        const bool complete = QTest::qWaitFor(
                [&] {
                    return sim.received().size() >= takenBefore + written && !sim.sending()
                           && got == sim.bytesSent() - sentBefore;
                },
                PatienceMs);
        if (!complete)
            return "incomplete";
        return pieces.join();
    }

    PrinterSim &sim;
    SerialLink link;
    QList<QByteArray> pieces;
    QList<qint64> times;
    qint64 got = 0;
    qint64 takenBefore = 0; ///< what the printer had received when the client came
    qint64 written = 0;     ///< what the client has sent since
    QElapsedTimer clock;
};

} // namespace

class TestPrinterSim : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void ticketCommands_data();
    void ticketCommands();
    void ticketStreamInAnyPieces();
    void ticketPicture_data();
    void ticketPicture();
    void ticketTurnedAsAWhole();
    void couponCommands_data();
    void couponCommands();
    void couponPicture();
    void cablePulledByAHandler();

    void statusAnswers_data();
    void statusAnswers();
    void answerShapes_data();
    void answerShapes();
    void faultAfterItems();
    void notifySendsTheStatusUnasked();
    void wrongLineRateGarbles();
    void pacedLikeARealLine();
    void commandErrors_data();
    void commandErrors();
    void readyClearsNotifyAndPace();

private:
    QTemporaryDir m_dir;
};

void TestPrinterSim::ticketCommands_data()
{
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QStringList>("unknown");

    QTest::newRow("worked example")
            << WorkedExample
            << QStringList{"T 64,144 r0 SF1 2x2 0000000001", "B 224,224 r0 oP10 X2 0000000001"}
            << QStringList();
    QTest::newRow("turned 90°, barcode lying")
            << QByteArray("<CB><RR><RC144,392><SF1><HW2,2>0000000001"
                          "<RC224,224><NR><oL10><X3><BI>^0000000001^<p>")
            << QStringList{"T 144,392 r1 SF1 2x2 0000000001", "B 224,224 r0 oL10 X3 0000000001"}
            << QStringList();
    QTest::newRow("Hangul under the Hangul font")
            << QByteArray("<CB><NR><RC8,8><SF1><HW1,1>") + Cp949::fromUnicode("입장권 A") + "<p>"
            << QStringList{"T 8,8 r0 SF1 1x1 입장권 A"} << QStringList();
    QTest::newRow("Hangul under a Latin font prints as bytes")
            << QByteArray("<CB><RC8,8><F4><HW1,1>\xc7\xd1<p>")
            << QStringList{QStringLiteral("T 8,8 r0 F4 1x1 ") + QString::fromLatin1("\xc7\xd1")}
            << QStringList();
    QTest::newRow("negative position, label without text")
            << QByteArray("<CB><RL><RC1064,-8><F6><HW1,1><RC0,0><F1><HW3,2>ABC<p>")
            << QStringList{"T 0,0 r3 F1 3x2 ABC"} << QStringList();
    QTest::newRow("<CB> drops what was not printed")
            << QByteArray("<CB><RC8,8>lost<CB><RC16,16>kept<p>")
            << QStringList{"T 16,16 r0 SF1 1x1 kept"} << QStringList{"DROPPED 1 fields"};
    QTest::newRow("unknown commands are logged and skipped")
            << QByteArray("<CB><ZZ><F5><RC8,8><HW0,1>x<p>") << QStringList{"T 8,8 r0 SF1 1x1 x"}
            << QStringList{"UNKNOWN <ZZ>", "UNKNOWN <F5>", "UNKNOWN <HW0,1>"};
    QTest::newRow("a '<' that starts no command is text")
            << QByteArray("<CB><RC8,8>a<<b") + QByteArray(70, 'c') + "><p>"
            << QStringList{QStringLiteral("T 8,8 r0 SF1 1x1 a<<b") + QString(70, QLatin1Char('c'))
                           + QLatin1Char('>')}
            << QStringList();
}

void TestPrinterSim::ticketCommands()
{
    QFETCH(QByteArray, stream);
    QFETCH(QStringList, fields);
    QFETCH(QStringList, unknown);
    TicketSim sim;
    QVERIFY(sim.start(m_dir.path()));
    sim.feed(stream);
    QCOMPARE(sim.items().size(), 1);
    QCOMPARE(describe(sim.items().first()), fields);
    QCOMPARE(unknownEvents(sim), unknown);
}

void TestPrinterSim::ticketStreamInAnyPieces()
{
    // A command cut anywhere by the line parses as when it came whole.
    const QByteArray stream = WorkedExample + "<S1>" + WorkedExample;
    for (int cut = 1; cut < stream.size(); cut += 3) {
        TicketSim sim;
        QVERIFY(sim.start(m_dir.path()));
        sim.feed(stream.left(cut));
        sim.feed(stream.mid(cut));
        QCOMPARE(sim.items().size(), 2);
        QCOMPARE(sim.statusRequests(), 1);
        QCOMPARE(describe(sim.items().at(1)).join('|'),
                 "T 64,144 r0 SF1 2x2 0000000001|B 224,224 r0 oP10 X2 0000000001");
    }
}

void TestPrinterSim::ticketPicture_data()
{
    QTest::addColumn<QByteArray>("number");
    QTest::addColumn<int>("modules");
    QTest::newRow("ten digits") << QByteArray("0000000001") << 90;
    QTest::newRow("eleven digits") << QByteArray("10000000000") << 112;
}

void TestPrinterSim::ticketPicture()
{
    QFETCH(QByteArray, number);
    QFETCH(int, modules);
    QCOMPARE(code128Modules(number).size(), modules);

    TicketSim sim;
    QVERIFY(sim.start(m_dir.path()));
    QByteArray stream = WorkedExample;
    sim.feed(stream.replace("0000000001", number));
    QCOMPARE(sim.items().size(), 1);
    const PrintedItem item = sim.items().first();
    QVERIFY(item.pngPath.endsWith(QStringLiteral("/ticket-0001.png")));
    QVERIFY(sim.events().contains(QStringLiteral("TICKET 1 ") + item.pngPath));
    const QImage image(item.pngPath);
    QCOMPARE(image.size(), QSize(1240, 480)); // 155 × 60 mm at 8 dots a mm
    // The text at row 64, column 144 in 24 × 48 dot cells; the barcode below it.
    QVERIFY(ink(image, QRect(144, 64, 24 * number.size(), 48)) > 500);
    QCOMPARE(ink(image, QRect(0, 0, 140, 60)), 0);
    QCOMPARE(ink(image, QRect(224, 224, modules * 2, 80)), ink(image, QRect(0, 200, 1240, 120)));
    QVERIFY(ink(image, QRect(224, 224, modules * 2, 80)) > modules * 40);
    QCOMPARE(readBarcodes(item.pngPath), QStringLiteral("CODE-128:") + QString::fromLatin1(number));
}

void TestPrinterSim::ticketTurnedAsAWhole()
{
    // Direction 1 of the worked example on paper fed the other way round: the
    // label and barcode keep their places relative to each other, turned.
    TicketSim sim;
    sim.setPaperSize(QSize(60, 155));
    QVERIFY(sim.start(m_dir.path()));
    sim.feed("<CB><RR><RC144,392><SF1><HW2,2>0000000001"
             "<RC224,232><NR><oL10><X2><BI>^0000000001^<p>");
    QCOMPARE(sim.items().size(), 1);
    QVERIFY(sim.events().filter(QStringLiteral("OUTSIDE")).isEmpty());
    const QImage image(sim.items().first().pngPath);
    QCOMPARE(image.size(), QSize(480, 1240));
    // Text runs downwards left of column 392; the bars lie left of column 232.
    QVERIFY(ink(image, QRect(392 - 48, 144, 48, 240)) > 500);
    QVERIFY(ink(image, QRect(232 - 80, 224, 80, 180)) > 2000);
    QCOMPARE(readBarcodes(sim.items().first().pngPath), QStringLiteral("CODE-128:0000000001"));

    // Fields beyond the paper widen the picture, and say so.
    sim.feed("<CB><RC-40,-40>X<p>");
    QCOMPARE(sim.events().filter(QStringLiteral("OUTSIDE")).size(), 1);
    QCOMPARE(QImage(sim.items().at(1).pngPath).size(), QSize(520, 1280));
}

void TestPrinterSim::couponCommands_data()
{
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<QStringList>("coupons"); // one entry a coupon, lines joined by '|'

    const QByteArray esc("\x1b");
    const QByteArray hangul = Cp949::fromUnicode(QStringLiteral("할인쿠폰"));
    QTest::newRow("sizes, empty line, serial")
            << esc + "@" + esc + "i11" + hangul + esc + "i00\n\n" + esc + "i10No. 101" + esc
                       + "i00\n" + esc + "d3\n"
            << QStringList{"L1 2x2 할인쿠폰|L2 1x1 |L3 2x1 No. 101"};
    QTest::newRow("the line feed after the cut starts the next coupon")
            << esc + "@A\n" + esc + "d3\n" + esc + "@B\n" + esc + "d3\n"
            << QStringList{"L1 1x1 A", "L1 1x1 |L2 1x1 B"};
    QTest::newRow("CR ignored, binary size digits, double width")
            << esc + "@\r" + esc + "i" + QByteArray("\x00\x01", 2) + "wide\n" + esc + "d"
                       + QByteArray(1, '\x03')
            << QStringList{"L1 1x2 wide"};
    QTest::newRow("unknown ESC commands are skipped")
            << esc + "@" + esc + "zX\n" + esc + "d3" << QStringList{"L1 1x1 X"};
}

void TestPrinterSim::couponCommands()
{
    QFETCH(QByteArray, stream);
    QFETCH(QStringList, coupons);
    for (int cut = 0; cut < stream.size(); ++cut) {
        CouponSim sim;
        QVERIFY(sim.start(m_dir.path()));
        sim.feed(stream.left(cut));
        sim.feed(stream.mid(cut));
        QStringList got;
        for (const PrintedItem &item : sim.items())
            got.append(describe(item).join('|'));
        QCOMPARE(got, coupons);
        if (QByteArray(QTest::currentDataTag()).startsWith("unknown"))
            QCOMPARE(unknownEvents(sim), QStringList{"UNKNOWN ESC 7a"});
    }
}

void TestPrinterSim::couponPicture()
{
    CouponSim sim;
    QVERIFY(sim.start(m_dir.path()));
    QByteArray stream("\x1b@");
    for (int n = 0; n < 4; ++n)
        stream += Cp949::fromUnicode(QStringLiteral("가나다라마바사아자차카타파하 1234567890"))
                  + "\n";
    // 45 bytes: one more than a line holds at double width wraps.
    stream += "\x1bi01" + QByteArray(45, 'W')
              + "\x1bi00\n\x1b"
                "d3";
    sim.feed(stream);
    QCOMPARE(sim.items().size(), 1);
    const PrintedItem item = sim.items().first();
    QVERIFY(item.pngPath.endsWith(QStringLiteral("/coupon-0001.png")));
    QCOMPARE(item.lines().first(), QStringLiteral("가나다라마바사아자차카타파하 1234567890"));
    const QImage image(item.pngPath);
    QCOMPARE(image.width(), 640);
    QVERIFY(ink(image, QRect(32, 16, 28 * 12, 24)) > 1000);       // the Hangul of line 1
    QCOMPARE(ink(image, QRect(0, 0, 30, image.height() - 2)), 0); // the left margin
    QCOMPARE(sim.events().filter(QStringLiteral("WRAPPED")), QStringList{"WRAPPED coupon 1 line 5"});
}

// A handler of the printed signal may pull the cable while the parser is
// still inside the same chunk: the rest of the chunk goes with the cable.
void TestPrinterSim::cablePulledByAHandler()
{
    TicketSim ticket;
    CouponSim coupon;
    const QList<QPair<PrinterSim *, QByteArray>> sims{
            {&ticket, "<CB><RC8,8>A<p><CB><RC8,8>B<p>"},
            {&coupon,
             "\x1b@A\n\x1b"
             "d0\x1b@B\n\x1b"
             "d0"},
    };
    for (const auto &[sim, stream] : sims) {
        QVERIFY(sim->start(m_dir.path()));
        PrinterSim *printer = sim;
        connect(printer, &PrinterSim::itemPrinted, printer, [printer] { printer->unplug(); });
        printer->feed(stream);
        QCOMPARE(sim->items().size(), 1);
        QVERIFY(sim->events().contains(QStringLiteral("UNPLUGGED")));
    }
}

void TestPrinterSim::statusAnswers_data()
{
    QTest::addColumn<bool>("coupon");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QStringList>("answers"); // hex, one a request

    const QStringList ticketRequests{"11"};
    QTest::newRow("ticket ready") << false << "" << QStringList{"11", "11"};
    QTest::newRow("ticket jam") << false << "jam" << QStringList{"18"};
    QTest::newRow("ticket paper out") << false << "paper-out" << QStringList{"10"};
    QTest::newRow("ticket off line") << false << "fault offline" << QStringList{"13"};
    QTest::newRow("ticket cutter") << false << "cutter" << QStringList{"1d"};
    QTest::newRow("ticket data error") << false << "data-error" << QStringList{"15"};
    QTest::newRow("ticket serious") << false << "serious" << QStringList{"fc"};
    QTest::newRow("ticket raw byte outside the table")
            << false << "status 06" << QStringList{"06", "06"};
    QTest::newRow("ticket raw once") << false << "status 0x0C once" << QStringList{"0c", "11"};
    QTest::newRow("ticket cleared") << false << "jam;ready" << QStringList{"11"};
    QTest::newRow("coupon ready") << true << "" << QStringList{"0f 00 00 00 00 00 00"};
    QTest::newRow("coupon cover") << true << "cover" << QStringList{"0f 00 28 00 00 00 00"};
    QTest::newRow("coupon cutter") << true << "cutter" << QStringList{"0f 00 08 08 00 00 00"};
    QTest::newRow("coupon serious") << true << "serious" << QStringList{"0f 00 08 20 00 00 00"};
    QTest::newRow("coupon head") << true << "head" << QStringList{"0f 00 08 40 00 00 00"};
    QTest::newRow("coupon buffer") << true << "buffer" << QStringList{"0f 00 08 00 40 00 00"};
    QTest::newRow("coupon paper out") << true << "paper-out" << QStringList{"0f 00 08 00 00 08 00"};
    QTest::newRow("coupon off line") << true << "offline" << QStringList{"0f 00 08 00 00 00 00"};
    QTest::newRow("coupon raw bits, fault without off line")
            << true << "status 0f 00 00 08 00 00 00" << QStringList{"0f 00 00 08 00 00 00"};
    QTest::newRow("coupon long answer") << true << "status 0f 00 00 00 00 00 00 00 00"
                                        << QStringList{"0f 00 00 00 00 00 00 00 00"};
}

void TestPrinterSim::statusAnswers()
{
    QFETCH(bool, coupon);
    QFETCH(QString, setup);
    QFETCH(QStringList, answers);
    std::unique_ptr<PrinterSim> sim;
    if (coupon)
        sim = std::make_unique<CouponSim>();
    else
        sim = std::make_unique<TicketSim>();
    QVERIFY(sim->start(m_dir.path()));
    for (const QString &c : setup.split(';', Qt::SkipEmptyParts))
        QCOMPARE(sim->command(c), QStringLiteral("OK"));
    Client client(*sim);
    QVERIFY(client.link.open());
    const QByteArray request = coupon ? QByteArray("\x1b\x06\x01") : QByteArray("<S1>");
    for (const QString &answer : answers)
        QCOMPARE(QString::fromLatin1(client.ask(request).toHex(' ')), answer);
    QCOMPARE(sim->statusRequests(), answers.size());
}

void TestPrinterSim::answerShapes_data()
{
    QTest::addColumn<bool>("coupon");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QStringList>("pieces"); // hex of each piece of the first answer
    QTest::addColumn<int>("earliestMs");

    QTest::newRow("coupon split 3,4")
            << true << "split 3,4 60" << QStringList{"0f 00 00", "00 00 00 00"} << 50;
    QTest::newRow("coupon one byte at a time")
            << true << "split 1,1,1,1,1,1 40"
            << QStringList{"0f", "00", "00", "00", "00", "00", "00"} << 200;
    QTest::newRow("ticket stale status first")
            << false << "stale 13" << QStringList{"13", "11"} << 10;
    QTest::newRow("ticket late") << false << "delay 300" << QStringList{"11"} << 290;
    QTest::newRow("ticket silent once") << false << "silent 1" << QStringList() << 0;
    QTest::newRow("ticket silent for good") << false << "silent on" << QStringList() << 0;
    QTest::newRow("coupon garbage") << true << "garbage 4" << QStringList{"4 bytes"} << 0;
}

void TestPrinterSim::answerShapes()
{
    QFETCH(bool, coupon);
    QFETCH(QString, setup);
    QFETCH(QStringList, pieces);
    QFETCH(int, earliestMs);
    std::unique_ptr<PrinterSim> sim;
    if (coupon)
        sim = std::make_unique<CouponSim>();
    else
        sim = std::make_unique<TicketSim>();
    QVERIFY(sim->start(m_dir.path()));
    QCOMPARE(sim->command(setup), QStringLiteral("OK"));
    Client client(*sim);
    QVERIFY(client.link.open());
    const QByteArray request = coupon ? QByteArray("\x1b\x06\x01") : QByteArray("<S1>");
    const QByteArray answer = client.ask(request);
    // The pieces as the printer wrote them; the other end may read pieces
    // that follow each other closely in one go on a busy machine.
    QStringList sent;
    QByteArray joined;
    for (const PrinterSim::Write &w : sim->writes()) {
        sent.append(pieces.value(0) == QLatin1String("4 bytes")
                            ? QStringLiteral("%1 bytes").arg(w.bytes.size())
                            : QString::fromLatin1(w.bytes.toHex(' ')));
        joined += w.bytes;
    }
    QCOMPARE(sent, pieces);
    QCOMPARE(answer, joined);
    if (!pieces.isEmpty())
        QVERIFY2(client.times.last() >= earliestMs,
                 qPrintable(QString::number(client.times.last())));
    if (pieces.isEmpty()) {
        QVERIFY(sim->events().contains(QStringLiteral("STATUS? -> (silent)")));
        // "silent 1" answers the next request again; "silent on" never does.
        const bool answers = !client.ask(request).isEmpty();
        QCOMPARE(answers, setup == QLatin1String("silent 1"));
    }
}

void TestPrinterSim::faultAfterItems()
{
    TicketSim sim;
    QVERIFY(sim.start(m_dir.path()));
    QCOMPARE(sim.command(QStringLiteral("stock 2")), QStringLiteral("OK"));
    Client client(sim);
    QVERIFY(client.link.open());
    for (int n = 0; n < 3; ++n) {
        QCOMPARE(client.ask("<S1>"), QByteArray(n < 2 ? "\x11" : "\x10"));
        client.send("<CB><RC8,8>A<p>");
    }
    QVERIFY(sim.waitForEvent(QStringLiteral("LOST")));
    QCOMPARE(sim.items().size(), 2);
    QVERIFY(sim.events().contains(QStringLiteral("LOST 3 paper-out")));
    QCOMPARE(sim.fault(), PrinterSim::Fault::PaperOut);
}

void TestPrinterSim::notifySendsTheStatusUnasked()
{
    CouponSim sim;
    QVERIFY(sim.start(m_dir.path()));
    sim.setNotify(true);
    sim.setFaultAfter(PrinterSim::Fault::CoverOpen, 1);
    Client client(sim);
    QVERIFY(client.link.open());
    client.ask("\x1b@A\n\x1b"
               "d3\n");
    QCOMPARE(client.pieces, QList<QByteArray>{CouponSim::statusFor(PrinterSim::Fault::CoverOpen)});
    QVERIFY(sim.events().contains(QStringLiteral("UNSOLICITED 0f 00 28 00 00 00 00")));
    sim.setFault(PrinterSim::Fault::None);
    QTRY_COMPARE_WITH_TIMEOUT(client.pieces.size(), 2, PatienceMs);
    QCOMPARE(client.pieces.at(1), CouponSim::statusFor(PrinterSim::Fault::None));
}

void TestPrinterSim::readyClearsNotifyAndPace()
{
    CouponSim sim;
    QVERIFY(sim.start(m_dir.path()));
    QCOMPARE(sim.command(QStringLiteral("notify on")), QStringLiteral("OK"));
    QCOMPARE(sim.command(QStringLiteral("pace on")), QStringLiteral("OK"));
    QCOMPARE(sim.command(QStringLiteral("ready")), QStringLiteral("OK"));
    QVERIFY(!sim.notifies());
    QVERIFY(!sim.isPacing());
    sim.setFault(PrinterSim::Fault::Offline);
    for (const QString &event : sim.events())
        QVERIFY2(!event.startsWith(QLatin1String("UNSOLICITED")), qPrintable(event));
}

void TestPrinterSim::wrongLineRateGarbles()
{
    TicketSim sim;
    QVERIFY(sim.start(m_dir.path()));
    QCOMPARE(sim.command(QStringLiteral("rate 19200")), QStringLiteral("OK"));
    Client wrong(sim, 9600);
    QVERIFY(wrong.link.open());
    const QByteArray answer = wrong.ask(WorkedExample + "<S1>");
    QCOMPARE(answer.size(), 1);
    QVERIFY(!sim.events().filter(QRegularExpression(QStringLiteral("^GARBLED \\d+$"))).isEmpty());
    QCOMPARE(sim.items().size(), 0);
    wrong.link.close();

    Client right(sim, 19200);
    QVERIFY(right.link.open());
    QCOMPARE(right.ask(WorkedExample + "<S1>"), QByteArray("\x11"));
    QCOMPARE(sim.items().size(), 1);
}

void TestPrinterSim::pacedLikeARealLine()
{
    // 1000 bytes at 9600 bit/s take 1042 ms to arrive before the answer leaves.
    TicketSim sim;
    QVERIFY(sim.start(m_dir.path()));
    QCOMPARE(sim.command(QStringLiteral("pace on")), QStringLiteral("OK"));
    Client client(sim);
    QVERIFY(client.link.open());
    QCOMPARE(client.ask(QByteArray(996, ' ') + "<S1>"), QByteArray("\x11"));
    // Never earlier than the line allows; how much later is the machine's load.
    QVERIFY2(client.times.last() >= 1040, qPrintable(QString::number(client.times.last())));
    // What a timed run is measured against: every byte each way.
    QCOMPARE(sim.command(QStringLiteral("count")),
             QStringLiteral("COUNT received 1000 sent 1 status 1 items 0"));
}

void TestPrinterSim::commandErrors_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("unknown") << "bogus";
    QTest::newRow("empty") << "  ";
    QTest::newRow("unknown fault") << "fault melted";
    QTest::newRow("fault after what") << "jam after";
    QTest::newRow("status not hex") << "status zz";
    QTest::newRow("status too big") << "status 100";
    QTest::newRow("split by zero") << "split 0";
    QTest::newRow("negative delay") << "delay -5";
    QTest::newRow("silent maybe") << "silent maybe";
    QTest::newRow("count what") << "count 3";
}

void TestPrinterSim::commandErrors()
{
    QFETCH(QString, command);
    TicketSim sim;
    QVERIFY(sim.start(m_dir.path()));
    QVERIFY(sim.command(command).startsWith(QStringLiteral("ERR ")));
    // Nothing changed: the printer still answers ready at once.
    Client client(sim);
    QVERIFY(client.link.open());
    QCOMPARE(client.ask("<S1>"), QByteArray("\x11"));
}

QTEST_MAIN(TestPrinterSim)
#include "tst_printersim.moc"
