// Start-up time of kesa_z on the demo database, from process start until the
// main window is shown with its menus built, beside a bare Qt program that
// shows an empty QMainWindow (this executable started with --bare-window).
// Both are timed the same way, alternately, in one run.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstring>

namespace {

QString g_self;
QString g_program;
QString g_alias;
QTemporaryDir *g_tmp = nullptr;
double g_bareMean = 0;
double g_programMean = 0;

int bareWindow(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.showMaximized();
    QTimer::singleShot(0, &app, [] {
        std::fputs("shown\n", stdout);
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    return app.exec();
}

// Seconds until the child prints "shown"; negative on failure.
double timeToShown(const QString &program, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KESA_STARTUP_PROBE"), QStringLiteral("quit"));
    env.insert(QStringLiteral("TMPDIR"), g_tmp->path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), g_tmp->path());
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    QByteArray output;
    while (!output.contains("shown\n")) {
        if (!process.waitForReadyRead(30000))
            return -1;
        output += process.readAllStandardOutput();
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    process.waitForFinished(30000);
    return seconds;
}

void run(benchmark::State &state, const QString &program, const QStringList &args, double &mean)
{
    double total = 0;
    for (auto _ : state) {
        const double seconds = timeToShown(program, args);
        if (seconds < 0) {
            state.SkipWithError("the program did not show its window");
            return;
        }
        state.SetIterationTime(seconds);
        total += seconds;
    }
    mean = total / double(state.iterations());
}

void BM_BareQtMainWindow(benchmark::State &state)
{
    run(state, g_self, {QStringLiteral("--bare-window")}, g_bareMean);
}

void BM_KesaZMainWindow(benchmark::State &state)
{
    run(state,
        g_program,
        {g_alias, QStringLiteral("kesa"), QStringLiteral("A0001"), QStringLiteral("김관리")},
        g_programMean);
}

} // namespace

BENCHMARK(BM_BareQtMainWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);
BENCHMARK(BM_KesaZMainWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);

int main(int argc, char *argv[])
{
    if (argc > 1 && std::strcmp(argv[1], "--bare-window") == 0)
        return bareWindow(argc, argv);

    QCoreApplication app(argc, argv);
    g_self = QCoreApplication::applicationFilePath();
    const QString bin = qEnvironmentVariable("KESA_BIN_DIR",
                                             QCoreApplication::applicationDirPath()
                                                     + QStringLiteral("/../bin"));
    g_program = bin + QStringLiteral("/kesa_z");
    QTemporaryDir tmp;
    g_tmp = &tmp;
    g_alias = tmp.filePath(QStringLiteral("bench_demo.db"));
    QProcess demo;
    demo.start(bin + QStringLiteral("/kesa-db"), {QStringLiteral("demo"), g_alias});
    if (!demo.waitForFinished(60000) || demo.exitCode() != 0) {
        std::fprintf(stderr, "bench_startup: kesa-db demo failed\n");
        return 1;
    }

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (g_bareMean > 0 && g_programMean > 0)
        std::printf("kesa_z / bare QMainWindow: %.2f (%.1f ms / %.1f ms)\n",
                    g_programMean / g_bareMean,
                    g_programMean * 1000,
                    g_bareMean * 1000);
    return 0;
}
