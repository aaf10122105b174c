#include "singleinstance.h"

#include "localsocket.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QByteArray kRaiseRequest = "raise\n";

// Opens the lock file and takes its lock without waiting: the descriptor, or
// -1 when another process holds it or the file cannot be opened. The file is
// removed by the holder that releases it, so a lock taken on a file that was
// removed meanwhile is tried again on the new one.
int takeLockFile(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int fd = ::open(native.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0)
            return -1;
        int locked;
        do
            locked = ::flock(fd, LOCK_EX | LOCK_NB);
        while (locked != 0 && errno == EINTR);
        if (locked != 0) {
            ::close(fd);
            return -1;
        }
        struct stat held = {};
        struct stat named = {};
        if (::fstat(fd, &held) == 0 && ::stat(native.constData(), &named) == 0
            && held.st_dev == named.st_dev && held.st_ino == named.st_ino)
            return fd;
        ::close(fd);
    }
    return -1;
}

// Who holds the lock: process id, program and host for a person looking at the
// file, then the employee number and name a second start compares with, one
// per line. Written in one piece and then cut to its length, so a reader sees
// the whole text or none of it; not synced to disk.
void describeHolder(int fd, const QString &empNo, const QString &empName)
{
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    const auto oneLine = [](const QString &text) {
        QString line = text;
        line.replace(QLatin1Char('\n'), QLatin1Char(' '));
        return line.toUtf8();
    };
    const QByteArray text = QByteArray::number(QCoreApplication::applicationPid()) + '\n'
                            + QFile::encodeName(QCoreApplication::applicationName()) + '\n'
                            + QByteArray(host) + '\n' + oneLine(empNo) + '\n' + oneLine(empName)
                            + '\n';
    const ssize_t written = ::pwrite(fd, text.constData(), size_t(text.size()), 0);
    if (written == text.size()) {
        const int cut = ::ftruncate(fd, written);
        Q_UNUSED(cut);
    }
}
} // namespace

SingleInstance::SingleInstance(const QString &name, QObject *parent)
    : QObject(parent)
    , m_name(name)
    , m_serverPath(serverPath(name))
    , m_lockPath(m_serverPath + QLatin1String(".lock"))
{}

SingleInstance::~SingleInstance()
{
    release();
}

QString SingleInstance::serverPath(const QString &name)
{
    // The user's runtime directory (XDG_RUNTIME_DIR, else Qt's private
    // runtime-<user> folder) keeps one guard per user: in the shared temporary
    // folder the first user's guard would refuse every other user. Should
    // neither be usable, the name itself carries the user.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty())
        return QDir(runtime).filePath(name);
    return QDir(QDir::tempPath()).filePath(name + QLatin1Char('-') + QString::number(getuid()));
}

QString SingleInstance::lockFilePath(const QString &name)
{
    return serverPath(name) + QLatin1String(".lock");
}

void SingleInstance::setOwner(const QString &empNo, const QString &empName)
{
    m_empNo = empNo;
    m_empName = empName;
}

SingleInstance::Owner SingleInstance::holderOwner(int timeoutMs) const
{
    // The holder writes its lines right after taking the lock: a start in
    // that moment finds the file empty and looks again.
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        QFile file(m_lockPath);
        if (file.open(QIODevice::ReadOnly)) {
            const QList<QByteArray> lines = file.readAll().split('\n');
            if (lines.size() >= 6)
                return {QString::fromUtf8(lines.at(3)), QString::fromUtf8(lines.at(4)), true};
        }
        if (deadline.hasExpired())
            return {};
        QThread::msleep(20);
    }
}

bool SingleInstance::acquire()
{
    if (m_server)
        return true;
    m_lockFd = takeLockFile(m_lockPath);
    if (m_lockFd < 0)
        return false;
    describeHolder(m_lockFd, m_empNo, m_empName);
    // The lock is ours, so a socket file left under this name belongs to a
    // process that died: remove it before listening.
    QFile::remove(m_serverPath);
    m_server = new LocalLineServer(this);
    if (!m_server->listen(m_serverPath)) {
        // The guard still holds through the lock; only raising is lost.
        qWarning("SingleInstance: cannot listen on %s: %s",
                 qPrintable(m_name),
                 qPrintable(m_server->errorString()));
    }
    connect(m_server, &LocalLineServer::lineReceived, this, [this](const QByteArray &line) {
        if (line == kRaiseRequest)
            Q_EMIT activationRequested();
    });
    return true;
}

bool SingleInstance::notifyHolder(int timeoutMs)
{
    return LocalSocket::sendOnce(m_serverPath, kRaiseRequest, timeoutMs);
}

void SingleInstance::release()
{
    if (!m_server)
        return;
    m_server->close();
    delete m_server;
    m_server = nullptr;
    // Removed while still locked: whoever opened it meanwhile finds it gone
    // once he has the lock, and tries again on a new file.
    ::unlink(QFile::encodeName(m_lockPath).constData());
    ::close(m_lockFd);
    m_lockFd = -1;
}
