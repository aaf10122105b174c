#include "simprogram.h"

#include "printersim.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <cstdio>
#include <unistd.h>

namespace {

void say(const QString &line)
{
    std::fputs(line.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

void useOffscreenUnlessSet()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

void addSimulatorOptions(QCommandLineParser &parser)
{
    parser.addHelpOption();
    parser.addOption({QStringLiteral("out"),
                      QStringLiteral("Folder of the pictures (default: ./printed)."),
                      QStringLiteral("dir"),
                      QStringLiteral("printed")});
    parser.addOption({QStringLiteral("link"),
                      QStringLiteral("Keep a symbolic link to the terminal here (also across "
                                     "unplug and replug)."),
                      QStringLiteral("path")});
    parser.addOption({QStringLiteral("rate"),
                      QStringLiteral("The printer's line rate; a program on another rate gets "
                                     "garbled bytes (default: any)."),
                      QStringLiteral("bit/s")});
    parser.addOption({QStringLiteral("pace"),
                      QStringLiteral("Take as long as a real line at the program's rate.")});
}

int runSimulator(QCoreApplication &app, QCommandLineParser &parser, PrinterSim &sim)
{
    if (parser.isSet(QStringLiteral("rate")))
        sim.setLineRate(parser.value(QStringLiteral("rate")).toInt());
    sim.setPacing(parser.isSet(QStringLiteral("pace")));
    if (!sim.start(parser.value(QStringLiteral("out")), parser.value(QStringLiteral("link")))) {
        std::fprintf(stderr, "%s\n", qPrintable(sim.errorString()));
        return 1;
    }
    say(sim.ptyPath());
    if (parser.isSet(QStringLiteral("link")))
        say(QStringLiteral("LINK ") + sim.portPath());
    QObject::connect(&sim, &PrinterSim::eventLogged, &app, &say);

    QByteArray input;
    QSocketNotifier stdinNotifier(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&stdinNotifier, &QSocketNotifier::activated, &app, [&] {
        char buffer[1024];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            stdinNotifier.setEnabled(false);
            app.quit();
            return;
        }
        input.append(buffer, n);
        qsizetype end;
        while ((end = input.indexOf('\n')) >= 0) {
            const QString line = QString::fromLocal8Bit(input.left(end)).trimmed();
            input.remove(0, end + 1);
            if (line == QLatin1String("help"))
                say(PrinterSim::commandHelp().trimmed());
            else if (line == QLatin1String("quit"))
                app.quit();
            else if (!line.isEmpty())
                say(sim.command(line));
        }
    });
    return app.exec();
}
