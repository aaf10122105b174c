// The simulator programs as people and scripts run them: the terminal's path
// first, events on standard output, commands on standard input or, without a
// terminal, on a FIFO; the link goes at every end.
#include "patience.h"
#include "platform/cp949.h"
#include "platform/seriallink.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

// A running simulator program and what it printed so far.
class Program
{
public:
    Program(const QString &name, const QStringList &arguments, bool noInput = false)
    {
        m_process.setProgram(qEnvironmentVariable("KESA_BIN_DIR") + QLatin1Char('/') + name);
        m_process.setArguments(arguments);
        if (noInput)
            m_process.setStandardInputFile(QProcess::nullDevice());
        m_process.start();
    }
    ~Program()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(PatienceMs);
        }
    }

    // The next line of standard output; empty after the time-out.
    QString line(int timeoutMs = PatienceMs)
    {
        QDeadlineTimer deadline(timeoutMs);
        while (!m_process.canReadLine() && !deadline.hasExpired())
            m_process.waitForReadyRead(50);
        const QString l = QString::fromLocal8Bit(m_process.readLine()).trimmed();
        if (!l.isEmpty())
            m_lines.append(l);
        return l;
    }
    // Reads lines until one starts with prefix; empty when none comes.
    QString lineStarting(const QString &prefix)
    {
        for (QString l = line(); !l.isEmpty(); l = line()) {
            if (l.startsWith(prefix))
                return l;
        }
        return QString();
    }
    // Sends a command; its answer, "OK" or "ERR …".
    QString say(const QByteArray &command)
    {
        m_process.write(command + '\n');
        for (QString l = line(); !l.isEmpty(); l = line()) {
            if (l == QLatin1String("OK") || l.startsWith(QLatin1String("ERR ")))
                return l;
        }
        return QString();
    }
    bool endsAtEndOfInput()
    {
        m_process.closeWriteChannel();
        return m_process.waitForFinished(PatienceMs)
               && m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
    }
    QStringList lines() const { return m_lines; }
    qint64 pid() const { return m_process.processId(); }
    bool running() const { return m_process.state() == QProcess::Running; }
    // Ended by itself, in order (exit code 0).
    bool endedWell()
    {
        return m_process.waitForFinished(PatienceMs)
               && m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
    }

private:
    QProcess m_process;
    QStringList m_lines;
};

// What the link received after sending, once `answerBytes` bytes have come.
QByteArray ask(SerialLink &link, const QByteArray &bytes, qsizetype answerBytes)
{
    QByteArray got;
    const auto c = QObject::connect(&link,
                                    &SerialLink::pieceReceived,
                                    &link,
                                    [&](const QByteArray &p) { got += p; });
    link.write(bytes);
    // Short of the answer after the patience, what came is compared as it is.
    (void)QTest::qWaitFor([&] { return got.size() >= answerBytes; }, PatienceMs);
    QObject::disconnect(c);
    return got;
}

} // namespace

class TestSimPrograms : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void ticketProgram();
    void couponProgram();
    void badOptions();
    void runsWithoutATerminal_data();
    void runsWithoutATerminal();
};

void TestSimPrograms::ticketProgram()
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("printer"));
    Program sim(QStringLiteral("kesa-ticket-sim"),
                {QStringLiteral("--out"),
                 dir.filePath(QStringLiteral("out")),
                 QStringLiteral("--link"),
                 link});
    const QString pty = sim.line();
    QVERIFY2(pty.startsWith(QStringLiteral("/dev/pts/")), qPrintable(pty));
    QCOMPARE(sim.line(), QStringLiteral("LINK ") + link);

    SerialLink port;
    port.setPortName(link);
    port.setRateName(QStringLiteral("19200"));
    QVERIFY(port.open());
    QCOMPARE(ask(port, "<S1>", 1), QByteArray("\x11"));
    QCOMPARE(sim.line(), QStringLiteral("SETTINGS 19200 8N1 flow=none"));
    QCOMPARE(sim.line(), QStringLiteral("STATUS? -> 11"));
    QVERIFY(port.write("<CB><NR><RC64,144><SF1><HW2,2>0000000123"
                       "<RC224,224><NR><oP10><X2><BI>^0000000123^<p>"));
    const QString printed = sim.lineStarting(QStringLiteral("TICKET"));
    const QString png = dir.filePath(QStringLiteral("out/ticket-0001.png"));
    QCOMPARE(printed, QStringLiteral("TICKET 1 ") + png);
    QCOMPARE(QImage(png).size(), QSize(1240, 480));

    QProcess zbar;
    zbar.start(QStringLiteral("zbarimg"), {QStringLiteral("-q"), png});
    QVERIFY(zbar.waitForFinished(PatienceMs));
    QCOMPARE(zbar.readAllStandardOutput().trimmed(), QByteArray("CODE-128:0000000123"));

    QCOMPARE(sim.say("fault paper-out"), QStringLiteral("OK"));
    QCOMPARE(ask(port, "<S1>", 1), QByteArray("\x10"));
    QVERIFY(port.write("<CB><RC8,8>A<p>"));
    QCOMPARE(sim.lineStarting(QStringLiteral("LOST")), QStringLiteral("LOST 2 paper-out"));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("out/ticket-0002.png"))));

    QVERIFY(sim.say("send zz").startsWith(QStringLiteral("ERR "))); // and the program goes on
    QCOMPARE(sim.say("unplug"), QStringLiteral("OK"));
    QVERIFY(!QFile::exists(link));
    QCOMPARE(sim.say("replug"), QStringLiteral("OK"));
    QVERIFY(sim.lines().contains(QStringLiteral("REPLUGGED ") + link));
    QVERIFY(sim.endsAtEndOfInput());
    QVERIFY(!QFileInfo(link).isSymLink());
}

void TestSimPrograms::couponProgram()
{
    QTemporaryDir dir;
    Program sim(QStringLiteral("kesa-coupon-sim"), {QStringLiteral("--out"), dir.path()});
    const QString pty = sim.line();
    QVERIFY2(pty.startsWith(QStringLiteral("/dev/pts/")), qPrintable(pty));

    SerialLink port;
    port.setPortName(pty);
    QVERIFY(port.open());
    QCOMPARE(sim.say("split 3,4 30"), QStringLiteral("OK"));
    QCOMPARE(ask(port, "\x1b\x06\x01", 7), QByteArray("\x0f\0\0\0\0\0\0", 7));
    QVERIFY(port.write("\x1b@\x1bi11" + Cp949::fromUnicode(QStringLiteral("할인쿠폰")) + "\x1bi00\n"
                       + Cp949::fromUnicode(QStringLiteral("일련번호 101"))
                       + "\n\x1b"
                         "d3\n"));
    const QString png = dir.filePath(QStringLiteral("coupon-0001.png"));
    QCOMPARE(sim.lineStarting(QStringLiteral("COUPON")), QStringLiteral("COUPON 1 ") + png);
    QCOMPARE(QImage(png).width(), 640);

    QCOMPARE(sim.say("fault cover"), QStringLiteral("OK"));
    QCOMPARE(ask(port, "\x1b\x06\x01", 7), QByteArray("\x0f\0\x28\0\0\0\0", 7));
    QVERIFY(sim.endsAtEndOfInput());
}

void TestSimPrograms::badOptions()
{
    QProcess process;
    process.start(qEnvironmentVariable("KESA_BIN_DIR") + QStringLiteral("/kesa-ticket-sim"),
                  {QStringLiteral("--paper"), QStringLiteral("wide")});
    QVERIFY(process.waitForFinished(PatienceMs));
    QCOMPARE(process.exitCode(), 2);
    QVERIFY(process.readAllStandardOutput().isEmpty());
}

void TestSimPrograms::runsWithoutATerminal_data()
{
    QTest::addColumn<int>("signal"); // 0: the quit command
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
    QTest::newRow("SIGHUP") << int(SIGHUP);
    QTest::newRow("quit on the FIFO") << 0;
}

void TestSimPrograms::runsWithoutATerminal()
{
    QFETCH(int, signal);
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("printer"));
    const QString fifo = dir.filePath(QStringLiteral("commands"));
    // Standard input ends before the program starts.
    Program sim(QStringLiteral("kesa-coupon-sim"),
                {QStringLiteral("--out"),
                 dir.filePath(QStringLiteral("out")),
                 QStringLiteral("--link"),
                 link,
                 QStringLiteral("--commands"),
                 fifo},
                true);
    QVERIFY(sim.line().startsWith(QStringLiteral("/dev/pts/")));
    QCOMPARE(sim.line(), QStringLiteral("LINK ") + link);
    QVERIFY(QFileInfo(link).isSymLink());
    const auto command = [&](const QByteArray &line) {
        QFile writer(fifo);
        return writer.open(QIODevice::WriteOnly) && writer.write(line + '\n') > 0;
    };
    {
        SerialLink port;
        port.setPortName(link);
        QVERIFY(port.open());
        QCOMPARE(ask(port, "\x1b\x06\x01", 7), QByteArray("\x0f\0\0\0\0\0\0", 7));
        // Each command from a writer of its own: one closing is no end.
        QVERIFY(command("fault cover"));
        QCOMPARE(sim.lineStarting(QStringLiteral("OK")), QStringLiteral("OK"));
        QCOMPARE(ask(port, "\x1b\x06\x01", 7), QByteArray("\x0f\0\x28\0\0\0\0", 7));
        QVERIFY(command("ready"));
        QCOMPARE(sim.lineStarting(QStringLiteral("OK")), QStringLiteral("OK"));
        QVERIFY(sim.running());
        QCOMPARE(ask(port, "\x1b\x06\x01", 7), QByteArray("\x0f\0\0\0\0\0\0", 7));
    }

    if (signal != 0)
        QCOMPARE(::kill(pid_t(sim.pid()), signal), 0);
    else
        QVERIFY(command("quit"));
    QVERIFY(sim.endedWell());
    QVERIFY(!QFileInfo(link).isSymLink());
    QVERIFY(!QFileInfo::exists(fifo)); // made by the program, gone with it
}

QTEST_GUILESS_MAIN(TestSimPrograms)
#include "tst_simprograms.moc"
