// Start-up of kesa_z on the demo database, from process start until the main
// window is painted for the first time, against a bare Qt program that first
// shows the same splash picture (MainImg.rcc, in a QSplashScreen) and then a
// QMainWindow with five Hangul menus (this executable with --bare-window): any
// window that shows Hangul starts fontconfig and a font engine, so an empty
// window would be no fair floor. Both print "shown" from the event loop once
// the main window's first paint is done; the time to that line is measured,
// in interleaved pairs. Without the splash picture nothing is measured.
#include "interleaved.h"
#include "shell/startupscript.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QProcess>
#include <QResource>
#include <QSplashScreen>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>

namespace {

QString binDir()
{
    return qEnvironmentVariable("KESA_BIN_DIR",
                                QCoreApplication::applicationDirPath() + QStringLiteral("/../bin"));
}

QString splashFile()
{
    return binDir() + QStringLiteral("/MainImg.rcc");
}

int bareWindow(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (!QResource::registerResource(splashFile(), QStringLiteral("/floor"))) {
        std::fprintf(stderr, "bench_startup: no splash picture in %s\n", qPrintable(splashFile()));
        return 1;
    }
    QSplashScreen splash(QPixmap(QStringLiteral(":/floor/SPLASH")));
    splash.show();
    // Painted before the main window is built, as the program's splash is.
    splash.repaint();
    QCoreApplication::processEvents();
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("시스템 관리"));
    const char *const menus[] = {"사용자 관리", "권한 관리", "공통 코드", "발권", "창"};
    for (const char *title : menus) {
        QMenu *menu = window.menuBar()->addMenu(QString::fromUtf8(title));
        for (int i = 1; i <= 5; ++i)
            menu->addAction(QString::fromUtf8(title) + QStringLiteral(" %1").arg(i));
    }
    StartupScript::afterFirstPaint(&window, [] {
        std::fputs("shown\n", stdout);
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    // Closed before the window shows, as the program closes its own.
    splash.close();
    window.showMaximized();
    return app.exec();
}

// Seconds until the child prints "shown"; the child's end is waited for
// outside the time. Exits on failure.
double timeToShown(const QString &program, const QStringList &arguments, const QString &tmp)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KESA_STARTUP_PROBE"), QStringLiteral("quit"));
    env.insert(QStringLiteral("TMPDIR"), tmp);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), tmp);
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    QByteArray output;
    while (!output.contains("shown\n")) {
        if (!process.waitForReadyRead(30000)) {
            std::fprintf(stderr, "bench_startup: %s did not show its window\n", qPrintable(program));
            std::exit(1);
        }
        output += process.readAllStandardOutput();
    }
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    process.waitForFinished(30000);
    return seconds;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 1 && std::strcmp(argv[1], "--bare-window") == 0)
        return bareWindow(argc, argv);

    QCoreApplication app(argc, argv);
    const QString self = QCoreApplication::applicationFilePath();
    const QString bin = binDir();
    // Every installed copy has its splash picture: a start without it is not
    // what a user gets.
    if (!QFileInfo(splashFile()).isFile()) {
        std::fprintf(stderr, "bench_startup: no splash picture in %s\n", qPrintable(splashFile()));
        return 1;
    }
    QTemporaryDir tmp;
    const QString alias = tmp.filePath(QStringLiteral("bench_demo.db"));
    QProcess demo;
    demo.start(bin + QStringLiteral("/kesa-db"), {QStringLiteral("demo"), alias});
    if (!demo.waitForFinished(60000) || demo.exitCode() != 0) {
        std::fprintf(stderr, "bench_startup: kesa-db demo failed\n");
        return 1;
    }
    const QString program = bin + QStringLiteral("/kesa_z");
    const QStringList launch = {alias,
                                QStringLiteral("kesa"),
                                QStringLiteral("A0001"),
                                QStringLiteral("김관리")};
    Interleaved::report(
            QStringLiteral("startup"),
            QStringLiteral("sqlite"),
            1.2,
            [&] { return timeToShown(program, launch, tmp.path()); },
            [&] { return timeToShown(self, {QStringLiteral("--bare-window")}, tmp.path()); });
    return 0;
}
