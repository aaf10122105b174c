// The serial link against a simulated printer on a pseudo-terminal.
#include "couponsim.h"
#include "patience.h"
#include "platform/seriallink.h"
#include "ticketsim.h"

#include <QElapsedTimer>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <ctime>

namespace {

// Runs the event loop for a while.
void spin(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QTest::qWait(5);
}

} // namespace

class TestSerialLink : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void portNames_data();
    void portNames();
    void rateNames();
    void writeTimeout();
    void settingsSeenByThePrinter_data();
    void settingsSeenByThePrinter();
    void opensASymbolicLink();
    void openFailureIsReported();
    void openTwiceKeepsThePort();
    void eachReadIsAPiece();
    void bytesPassUnchangedAcrossReopening();
    void staleInputIsDroppedAtOpen();
    void aClosedPortCostsThePrinterNothing();
    void piecesDuringAModalBoxAreDeliveredAfterIt();
    void unplugIsReportedOnceAndClosesThePort();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<TicketSim> m_sim;
};

void TestSerialLink::init()
{
    m_sim = std::make_unique<TicketSim>();
    QVERIFY2(m_sim->start(m_dir.path()), qPrintable(m_sim->errorString()));
}

void TestSerialLink::portNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("path");
    QTest::newRow("COM1 is the first serial device") << "COM1"
                                                     << "/dev/ttyS0";
    QTest::newRow("COM3, any case") << "com3"
                                    << "/dev/ttyS2";
    QTest::newRow("COM12") << "COM12"
                           << "/dev/ttyS11";
    QTest::newRow("system name") << "ttyUSB0"
                                 << "/dev/ttyUSB0";
    QTest::newRow("typed path") << "/dev/pts/7"
                                << "/dev/pts/7";
    QTest::newRow("relative path") << "out/printer"
                                   << "out/printer";
    QTest::newRow("COM0 is no COM port") << "COM0"
                                         << "/dev/COM0";
}

void TestSerialLink::portNames()
{
    QFETCH(QString, name);
    QFETCH(QString, path);
    QCOMPARE(SerialLink::devicePath(name), path);
}

void TestSerialLink::rateNames()
{
    const QStringList names = SerialLink::rateNames();
    QCOMPARE(names.first(), QStringLiteral("Custom"));
    QCOMPARE(names.size(), 16);
    SerialLink link;
    QCOMPARE(link.portName(), QStringLiteral("COM1"));
    QCOMPARE(link.baudRate(), 9600);
    link.setRateName(QStringLiteral("19200"));
    QCOMPARE(link.baudRate(), 19200);
    link.setRateName(QStringLiteral("Custom"));
    QCOMPARE(link.baudRate(), 9600);
}

void TestSerialLink::writeTimeout()
{
    QCOMPARE(SerialLink::writeTimeoutMs(0), 1000);
    QCOMPARE(SerialLink::writeTimeoutMs(4), 1400);
    QCOMPARE(SerialLink::writeTimeoutMs(100), 11000);

    // A write on a closed or lost line fails instead of waiting.
    SerialLink link;
    link.setPortName(m_sim->portPath());
    QVERIFY(!link.write("<S1>"));
    QVERIFY(link.open());
    m_sim->unplug();
    spin(50);
    QVERIFY(!link.write("<S1>"));
    QVERIFY(!link.isOpen());
}

void TestSerialLink::settingsSeenByThePrinter_data()
{
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("seen");
    QTest::newRow("default") << ""
                             << "9600 8N1 flow=none";
    QTest::newRow("19200") << "19200"
                           << "19200 8N1 flow=none";
    QTest::newRow("14400, not a standard rate") << "14400"
                                                << "14400 8N1 flow=none";
    QTest::newRow("256000") << "256000"
                            << "256000 8N1 flow=none";
    QTest::newRow("Custom") << "Custom"
                            << "9600 8N1 flow=none";
}

void TestSerialLink::settingsSeenByThePrinter()
{
    QFETCH(QString, rate);
    QFETCH(QString, seen);
    SerialLink link;
    link.setPortName(m_sim->portPath());
    if (!rate.isEmpty())
        link.setRateName(rate);
    QVERIFY2(link.open(), qPrintable(link.errorString()));
    QVERIFY(link.write("<S1>"));
    QVERIFY(m_sim->waitForEvent(QStringLiteral("STATUS?")));
    QCOMPARE(m_sim->lineSettings().text(), seen);
    QVERIFY(m_sim->events().contains(QStringLiteral("SETTINGS ") + seen));
}

void TestSerialLink::opensASymbolicLink()
{
    TicketSim sim;
    const QString linkPath = m_dir.filePath(QStringLiteral("printer"));
    QVERIFY(sim.start(m_dir.path(), linkPath));
    QCOMPARE(sim.portPath(), linkPath);
    SerialLink link;
    link.setPortName(linkPath);
    QVERIFY2(link.open(), qPrintable(link.errorString()));
    QSignalSpy pieces(&link, &SerialLink::pieceReceived);
    QVERIFY(link.write("<S1>"));
    QVERIFY(pieces.wait(PatienceMs));
    QCOMPARE(pieces.first().first().toByteArray(), QByteArray("\x11"));
}

void TestSerialLink::openFailureIsReported()
{
    SerialLink link;
    link.setPortName(m_dir.filePath(QStringLiteral("no-such-port")));
    QVERIFY(!link.open());
    QVERIFY(!link.isOpen());
    QVERIFY(!link.errorString().isEmpty());
}

void TestSerialLink::openTwiceKeepsThePort()
{
    SerialLink link;
    link.setPortName(m_sim->portPath());
    QVERIFY(link.open());
    link.setBaudRate(19200); // takes effect at the next opening only
    QVERIFY(link.open());
    QVERIFY(link.write("<S1>"));
    QVERIFY(m_sim->waitForEvent(QStringLiteral("STATUS?")));
    QCOMPARE(m_sim->lineSettings().rate, 9600);
    link.close();
    QVERIFY(!link.isOpen());
    link.close(); // harmless
}

void TestSerialLink::eachReadIsAPiece()
{
    SerialLink link;
    link.setPortName(m_sim->portPath());
    QVERIFY(link.open());
    QSignalSpy pieces(&link, &SerialLink::pieceReceived);
    m_sim->sendUnsolicited(QByteArray("\x13"));
    QVERIFY(pieces.wait(PatienceMs));
    m_sim->sendUnsolicited(QByteArray("\x11"));
    QVERIFY(pieces.wait(PatienceMs));
    QCOMPARE(pieces.size(), 2);
    QCOMPARE(pieces.at(0).first().toByteArray(), QByteArray("\x13"));
    QCOMPARE(pieces.at(1).first().toByteArray(), QByteArray("\x11"));
}

void TestSerialLink::bytesPassUnchangedAcrossReopening()
{
    // Closing restores the terminal settings found at opening: the printer's
    // end must stay raw, or XON vanishes and CR turns into LF from then on.
    const QByteArray bytes("\x11\x13\x0d\x0a\xfc\x00\x7f", 7);
    for (int run = 0; run < 2; ++run) {
        SerialLink link;
        link.setPortName(m_sim->portPath());
        QVERIFY(link.open());
        QByteArray got;
        connect(&link, &SerialLink::pieceReceived, this, [&](const QByteArray &p) { got += p; });
        m_sim->clearReceived();
        QVERIFY(link.write(bytes));
        m_sim->sendUnsolicited(bytes);
        QTRY_COMPARE_WITH_TIMEOUT(got, bytes, PatienceMs);
        QTRY_COMPARE_WITH_TIMEOUT(m_sim->received(), bytes, PatienceMs);
        link.close();
    }
}

void TestSerialLink::staleInputIsDroppedAtOpen()
{
    SerialLink link;
    link.setPortName(m_sim->portPath());
    QVERIFY(link.open());
    link.close();
    // The printer reports a jam while nobody listens; the bytes wait in the line.
    m_sim->sendUnsolicited(QByteArray("\x13\x18"));
    QCOMPARE(m_sim->bytesSent(), 2);
    QVERIFY(link.open());
    QByteArray got;
    connect(&link, &SerialLink::pieceReceived, this, [&](const QByteArray &p) { got += p; });
    // Two requests, each answered once the one before has been: whatever
    // arrives holds the answers alone.
    for (int request = 1; request <= 2; ++request) {
        QVERIFY(link.write("<S1>"));
        QTRY_COMPARE_WITH_TIMEOUT(m_sim->statusRequests(), request, PatienceMs);
        QTRY_VERIFY_WITH_TIMEOUT(got.size() >= request, PatienceMs);
    }
    QCOMPARE(got, QByteArray("\x11\x11"));
}

void TestSerialLink::aClosedPortCostsThePrinterNothing()
{
    // Between runs the printer's end of the terminal must not see hang-ups
    // over and over, which would keep this process busy.
    SerialLink link;
    link.setPortName(m_sim->portPath());
    QVERIFY(link.open());
    link.close();
    const std::clock_t before = std::clock();
    QEventLoop idle;
    QTimer::singleShot(300, &idle, &QEventLoop::quit);
    idle.exec();
    const double cpuMs = double(std::clock() - before) * 1000 / CLOCKS_PER_SEC;
    QVERIFY2(cpuMs < 20, qPrintable(QString::number(cpuMs)));
    QVERIFY(link.open());
    QVERIFY(link.write("<S1>"));
    QVERIFY(m_sim->waitForEvent(QStringLiteral("STATUS? -> 11")));
}

void TestSerialLink::piecesDuringAModalBoxAreDeliveredAfterIt()
{
    SerialLink link;
    link.setPortName(m_sim->portPath());
    QVERIFY(link.open());
    QList<QByteArray> pieces;
    connect(&link, &SerialLink::pieceReceived, this, [&](const QByteArray &p) {
        pieces.append(p);
        if (pieces.size() == 1) {
            // A box shown from the handler: its own event loop runs meanwhile.
            m_sim->sendUnsolicited(QByteArray("\x11"));
            QEventLoop box;
            QTimer::singleShot(200, &box, &QEventLoop::quit);
            box.exec();
        }
    });
    m_sim->sendUnsolicited(QByteArray("\x0c"));
    QTRY_COMPARE_WITH_TIMEOUT(pieces.size(), 2, PatienceMs);
    QCOMPARE(pieces.at(1), QByteArray("\x11"));
}

void TestSerialLink::unplugIsReportedOnceAndClosesThePort()
{
    SerialLink link;
    link.setPortName(m_sim->portPath());
    QVERIFY(link.open());
    QSignalSpy lost(&link, &SerialLink::lineLost);
    QSignalSpy pieces(&link, &SerialLink::pieceReceived);

    // A timer keeps ticking while the line is gone: the loop is not flooded.
    int ticks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&] { ++ticks; });
    ticker.start(10);
    m_sim->unplug();
    // Timers go on firing after the loss was reported: however slowly the
    // machine runs, a loop flooded by the dead line would not get there.
    QTRY_VERIFY_WITH_TIMEOUT(lost.size() >= 1, PatienceMs);
    const int ticksAtLoss = ticks;
    QTRY_VERIFY_WITH_TIMEOUT(ticks >= ticksAtLoss + 15, PatienceMs);
    ticker.stop();

    QCOMPARE(lost.size(), 1);
    QCOMPARE(pieces.size(), 0);
    QVERIFY(!link.isOpen());
    QVERIFY(!link.open());

    // Plugged back in, the printer is reached on its new terminal.
    QVERIFY(m_sim->replug());
    link.setPortName(m_sim->portPath());
    QVERIFY(link.open());
    QVERIFY(link.write("<S1>"));
    QVERIFY(pieces.wait(PatienceMs));
    QCOMPARE(lost.size(), 1);
}

QTEST_GUILESS_MAIN(TestSerialLink)
#include "tst_seriallink.moc"
