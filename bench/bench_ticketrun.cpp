// A 100-ticket print run through the ticket screen as the main window embeds
// it (its printer, its number ledger, its completion message and all) at
// 9600 bit/s, against the ticket printer simulator paced as a real line in a
// process of its own. Its floor is what the line itself takes: every byte the
// run put on it, both ways (the status request before each ticket and after
// the last, and their answers, included), at 10 bits a byte, as the
// simulator counted them. The run is timed from the click on 인쇄 to the
// screen's run ended; one run of one ticket goes first, untimed.
// $KESA_BENCH_TICKET_RUNS timed runs (at least 3); the ratio is the median's.
#include "interleaved.h"
#include "recordingmessageservice.h"
#include "screentest.h"
#include "testdatabase.h"

#include "common/loginvalues.h"
#include "shell/Z0Main.h"
#include "tickets/ZXS095.h"
#include "tickets/portchoosers.h"
#include "tickets/ticketpictures.h"
#include "tickets/tickettexts.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int Tickets = 100;
constexpr int Rate = 9600;

[[noreturn]] void fail(const QString &why)
{
    std::fprintf(stderr, "bench_ticketrun: %s\n", qPrintable(why));
    std::exit(1);
}

// The simulator program on a pseudo-terminal of its own, paced as a real line.
class Simulator
{
public:
    struct Count
    {
        qint64 received = 0;
        qint64 sent = 0;
        int items = 0;
    };

    explicit Simulator(const QString &outDir)
    {
        const QString program = qEnvironmentVariable("KESA_BIN_DIR",
                                                     QCoreApplication::applicationDirPath()
                                                             + QStringLiteral("/../bin"))
                                + QStringLiteral("/kesa-ticket-sim");
        m_process.start(program, {QStringLiteral("--pace"), QStringLiteral("--out"), outDir});
        m_port = readLine();
        if (!m_port.startsWith(QLatin1Char('/')))
            fail(QStringLiteral("%1 gave no terminal: %2").arg(program, m_port));
    }

    ~Simulator()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(30000))
            m_process.kill();
    }

    QString port() const { return m_port; }

    Count count()
    {
        m_process.write("count\n");
        static const QRegularExpression answer(
                QStringLiteral("^COUNT received (\\d+) sent (\\d+) status \\d+ items (\\d+)$"));
        for (;;) {
            const QRegularExpressionMatch m = answer.match(readLine());
            if (m.hasMatch())
                return {m.captured(1).toLongLong(),
                        m.captured(2).toLongLong(),
                        m.captured(3).toInt()};
        }
    }

private:
    QString readLine()
    {
        while (!m_process.canReadLine()) {
            if (!m_process.waitForReadyRead(60000))
                fail(QStringLiteral("the simulator stopped answering"));
        }
        return QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }

    QProcess m_process;
    QString m_port;
};

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    // Pictures and the port choice stay in the measure's folder.
    TicketPictures::setFolder(dir.filePath(QStringLiteral("pictures")));
    PortChoosers::setSettingsFolder(dir.filePath(QStringLiteral("settings")));
    PortChoosers::setDeviceFolder(dir.filePath(QStringLiteral("no-devices")));
    // The completion message is recorded, not shown: nobody clicks it away.
    RecordingMessageService messages;

    TestDatabase tdb(QStringLiteral("sqlite"), TestDatabase::Demo);
    if (!tdb.isOpen())
        fail(QStringLiteral("no database: ") + tdb.errorText());
    loginAs(QStringLiteral("A0001"), QStringLiteral("김관리"));
    login().dbUser = QStringLiteral("kesa");
    TfrmZ0Main window(tdb.db(), QStringLiteral("KESA_Z"));
    activate(&window);
    if (!window.OpenProgram(QStringLiteral("ZXS095"), QStringLiteral("ZXS095")))
        fail(QStringLiteral("the ticket screen did not open"));
    auto *screen = qobject_cast<TfrmZXS095 *>(window.tabScreen(0));
    if (!screen)
        fail(QStringLiteral("the ticket screen did not open"));
    screen->setOldLedgerPath(dir.filePath(QStringLiteral("no-old-ledger.csv")));

    // A numbered label and its barcode, as a day pass carries them.
    QTest::mouseClick(screen->btnPropertyLabel, Qt::LeftButton);
    screen->chkPropertySeq->setChecked(true);
    screen->edtPropertySize->setValue(2);
    screen->edtPropertyPosX->setValue(20);
    screen->edtPropertyPosY->setValue(10);
    QTest::mouseClick(screen->btnPropertyBarcode, Qt::LeftButton);
    screen->edtPropertySize->setValue(2);
    screen->edtPropertySizeHeight->setValue(10);
    screen->edtPropertyPosX->setValue(30);
    screen->edtPropertyPosY->setValue(30);

    Simulator sim(dir.filePath(QStringLiteral("out")));
    screen->cbbComPort->setEditText(sim.port());
    screen->cbbComRate->setCurrentText(QString::number(Rate));

    // One run of `count` tickets, numbered on from the last; its seconds and
    // its floor's.
    const auto run = [&](int count) {
        messages.clear();
        screen->edtPropertySeqCount->setText(QString::number(count));
        const Simulator::Count before = sim.count();
        QElapsedTimer timer;
        timer.start();
        QTest::mouseClick(screen->bbtPrint, Qt::LeftButton);
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        // The simulator draws each ticket's picture after it has taken the
        // ticket's bytes: the count of items follows a little later.
        Simulator::Count after = sim.count();
        QElapsedTimer drawing;
        drawing.start();
        while (after.items - before.items < count && !screen->isRunning()
               && drawing.elapsed() < 120000) {
            QTest::qWait(50);
            after = sim.count();
        }
        if (screen->isRunning() || after.items - before.items != count
            || !messages.texts(RecordingMessageService::Error).isEmpty())
            fail(QStringLiteral("the run printed %1 of %2 tickets: %3")
                         .arg(after.items - before.items)
                         .arg(count)
                         .arg(messages.allTexts().join(QLatin1Char('|'))));
        const qint64 bytes = (after.received - before.received) + (after.sent - before.sent);
        return std::pair{seconds, double(bytes) * 10 / Rate};
    };

    run(1);
    const int runs = std::max(3, qEnvironmentVariableIntValue("KESA_BENCH_TICKET_RUNS"));
    QList<double> programTimes;
    QList<double> floorTimes;
    for (int i = 0; i < runs; ++i) {
        const auto [seconds, floor] = run(Tickets);
        if (messages.texts(RecordingMessageService::Plain) != QStringList{TicketText::completed()})
            fail(QStringLiteral("the run did not end with its completion message"));
        programTimes.append(seconds);
        floorTimes.append(floor);
    }
    Interleaved::print(QStringLiteral("ticketrun"),
                       QStringLiteral("sim%1").arg(Rate),
                       1.05,
                       Interleaved::median(programTimes),
                       Interleaved::median(floorTimes),
                       runs);
    return 0;
}
