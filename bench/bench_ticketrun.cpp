// A 100-ticket print run at 9600 bit/s through the ticket printer simulator,
// paced as a real line, against its floor: every byte of the run (the status
// request and answer before each ticket included) at 10 bits a byte. The
// run is sent as the ticket screen sends it: "<S1>", wait for the ready
// byte, then one write per command string.
#include "platform/seriallink.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

const int Tickets = 100;
const int Rate = 9600;
QString g_simulator;
double g_ratio = 0;

QList<QByteArray> ticketStrings(int number)
{
    const QByteArray n = QByteArray::number(number).rightJustified(10, '0');
    return {"<CB>",
            "<NR>",
            "<RC64,144><SF1><HW2,2>" + n,
            "<RC16,16><F2><HW1,1>RESORT DAY PASS",
            "<RC112,16><F6><HW1,1>ADULT",
            "<RC224,224><NR><oP10><X2><BI>^" + n + '^',
            "<p>"};
}

// Sends "<S1>" and waits for the answer; false on anything but ready.
bool waitReady(SerialLink &link, QByteArray &answer)
{
    answer.clear();
    if (!link.write("<S1>"))
        return false;
    QEventLoop loop;
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    const auto quit = QObject::connect(&link, &SerialLink::pieceReceived, &loop, &QEventLoop::quit);
    if (answer.isEmpty())
        loop.exec();
    QObject::disconnect(quit);
    return answer == "\x11";
}

void BM_TicketRun9600(benchmark::State &state)
{
    QTemporaryDir dir;
    QProcess sim;
    sim.start(g_simulator, {QStringLiteral("--pace"), QStringLiteral("--out"), dir.path()});
    if (!sim.waitForReadyRead(10000)) {
        state.SkipWithError("the simulator did not start");
        return;
    }
    const QString pty = QString::fromLocal8Bit(sim.readLine()).trimmed();

    SerialLink link;
    link.setPortName(pty);
    link.setBaudRate(Rate);
    QByteArray answer;
    QObject::connect(&link, &SerialLink::pieceReceived, &link, [&](const QByteArray &p) {
        answer += p;
    });
    for (auto _ : state) {
        if (!link.open()) {
            state.SkipWithError("cannot open the simulator's terminal");
            return;
        }
        qint64 bytes = 0;
        QElapsedTimer timer;
        timer.start();
        for (int i = 1; i <= Tickets; ++i) {
            if (!waitReady(link, answer)) {
                state.SkipWithError("the printer did not answer ready");
                return;
            }
            bytes += 4 + answer.size();
            for (const QByteArray &s : ticketStrings(i)) {
                link.write(s);
                bytes += s.size();
            }
        }
        // The last ticket is on paper once its bytes are through the line.
        if (!waitReady(link, answer)) {
            state.SkipWithError("the printer did not answer after the run");
            return;
        }
        bytes += 4 + answer.size();
        const double seconds = timer.nsecsElapsed() / 1e9;
        link.close();
        state.SetIterationTime(seconds);
        const double floor = double(bytes) * 10 / Rate;
        g_ratio = seconds / floor;
        state.counters["floor_s"] = floor;
        state.counters["vs_floor"] = g_ratio;
    }
    sim.closeWriteChannel();
    sim.waitForFinished(10000);
}

} // namespace

BENCHMARK(BM_TicketRun9600)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    g_simulator = qEnvironmentVariable("KESA_BIN_DIR",
                                       QCoreApplication::applicationDirPath()
                                               + QStringLiteral("/../bin"))
                  + QStringLiteral("/kesa-ticket-sim");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("100 tickets at 9600 bit/s: %.3f x the floor (target: at most 1.10)\n", g_ratio);
    return g_ratio > 0 && g_ratio <= 1.10 ? 0 : 1;
}
