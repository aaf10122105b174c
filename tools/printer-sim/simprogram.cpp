#include "simprogram.h"

#include "printersim.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void say(const QString &line)
{
    std::fputs(line.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// A signal only writes its number here; the event loop ends the program in
// order, so that the link and the command FIFO go with it.
int signalPipe[2] = {-1, -1};

void onSignal(int number)
{
    const char byte = char(number);
    const ssize_t written = ::write(signalPipe[1], &byte, 1);
    (void)written;
}

// Commands, one a line, from a file descriptor: "help", "quit" or a
// PrinterSim command; the answer goes to standard output.
class CommandReader
{
public:
    CommandReader(int fd, QCoreApplication &app, PrinterSim &sim, bool quitAtEnd)
        : m_fd(fd)
        , m_notifier(fd, QSocketNotifier::Read)
    {
        QObject::connect(&m_notifier,
                         &QSocketNotifier::activated,
                         &app,
                         [this, &app, &sim, quitAtEnd] {
                             char buffer[1024];
                             const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
                             if (n <= 0) {
                                 if (n < 0 && errno == EAGAIN)
                                     return;
                                 m_notifier.setEnabled(false);
                                 if (quitAtEnd)
                                     app.quit();
                                 return;
                             }
                             m_input.append(buffer, n);
                             qsizetype end;
                             while ((end = m_input.indexOf('\n')) >= 0) {
                                 const QString line = QString::fromLocal8Bit(m_input.left(end))
                                                              .trimmed();
                                 m_input.remove(0, end + 1);
                                 if (line == QLatin1String("help"))
                                     say(PrinterSim::commandHelp().trimmed());
                                 else if (line == QLatin1String("quit"))
                                     app.quit();
                                 else if (!line.isEmpty())
                                     say(sim.command(line));
                             }
                         });
    }

private:
    int m_fd;
    QSocketNotifier m_notifier;
    QByteArray m_input;
};

// The command FIFO of a simulator without a terminal: made when missing (and
// then removed at the end), held open for writing too, so that a writer
// closing it is no end of input.
class CommandFifo
{
public:
    bool open(const QString &path, QString &error)
    {
        const QByteArray name = QFile::encodeName(path);
        struct stat info = {};
        if (::stat(name.constData(), &info) != 0) {
            if (::mkfifo(name.constData(), 0600) != 0) {
                error = QStringLiteral("cannot make the FIFO %1").arg(path);
                return false;
            }
            m_made = path;
        } else if (!S_ISFIFO(info.st_mode)) {
            error = QStringLiteral("%1 is not a FIFO").arg(path);
            return false;
        }
        m_read = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        m_keep = m_read < 0 ? -1 : ::open(name.constData(), O_WRONLY | O_CLOEXEC);
        if (m_read < 0 || m_keep < 0) {
            error = QStringLiteral("cannot open the FIFO %1").arg(path);
            return false;
        }
        return true;
    }
    ~CommandFifo()
    {
        if (m_keep >= 0)
            ::close(m_keep);
        if (m_read >= 0)
            ::close(m_read);
        if (!m_made.isEmpty())
            QFile::remove(m_made);
    }
    int fd() const { return m_read; }

private:
    int m_read = -1;
    int m_keep = -1;
    QString m_made;
};

} // namespace

void useOffscreenUnlessSet()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

QString simulatorUsage()
{
    return QStringLiteral(
                   "Prints the terminal's path, then one line per event; reads commands on "
                   "standard "
                   "input (help lists them) and ends at its end. With --commands it reads them "
                   "from a "
                   "FIFO instead, ignores standard input and runs without a terminal (in the "
                   "background, from a script) until \"quit\" or a signal, e.g.\n"
                   "  kesa-coupon-sim --link /tmp/coupon --commands /tmp/coupon.cmd "
                   "</dev/null >coupon.log &\n"
                   "  echo 'fault paper-out' >/tmp/coupon.cmd\n"
                   "Answers and events go to standard output. At every end (quit, end of input, "
                   "SIGINT, SIGTERM, SIGHUP) the --link and a FIFO the simulator made are "
                   "removed.\n\n")
           + PrinterSim::commandHelp();
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
                                     "unplug and replug); removed at the end."),
                      QStringLiteral("path")});
    parser.addOption({QStringLiteral("rate"),
                      QStringLiteral("The printer's line rate; a program on another rate gets "
                                     "garbled bytes (default: any)."),
                      QStringLiteral("bit/s")});
    parser.addOption({QStringLiteral("pace"),
                      QStringLiteral("Take as long as a real line at the program's rate.")});
    parser.addOption({QStringLiteral("commands"),
                      QStringLiteral("Read commands from this FIFO (made when missing) instead "
                                     "of standard input, and run until \"quit\" or a signal."),
                      QStringLiteral("fifo")});
}

int runSimulator(QCoreApplication &app, QCommandLineParser &parser, PrinterSim &sim)
{
    // Answers to a reader that has gone fail quietly instead of ending the program.
    std::signal(SIGPIPE, SIG_IGN);
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) {
        std::fprintf(stderr, "cannot make the signal pipe\n");
        return 1;
    }
    QSocketNotifier signalNotifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, [&app] {
        char byte = 0;
        if (::read(signalPipe[0], &byte, 1) == 1)
            app.quit();
    });
    for (const int number : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction action = {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(number, &action, nullptr);
    }

    CommandFifo fifo;
    const bool fromFifo = parser.isSet(QStringLiteral("commands"));
    if (fromFifo) {
        QString error;
        if (!fifo.open(parser.value(QStringLiteral("commands")), error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
    }
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

    CommandReader reader(fromFifo ? fifo.fd() : STDIN_FILENO, app, sim, !fromFifo);
    const int result = app.exec();
    sim.stop();
    return result;
}
