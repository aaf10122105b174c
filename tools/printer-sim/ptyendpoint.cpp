#include "ptyendpoint.h"

#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

PtyEndpoint::PtyEndpoint(QObject *parent)
    : QObject(parent)
{}

PtyEndpoint::~PtyEndpoint()
{
    close();
}

bool PtyEndpoint::open(const QString &linkPath)
{
    close();
    char name[256] = {};
    struct termios raw = {};
    cfmakeraw(&raw);
    raw.c_cflag |= CLOCAL | CREAD;
    cfsetispeed(&raw, B9600);
    cfsetospeed(&raw, B9600);
    if (openpty(&m_master, &m_slave, name, &raw, nullptr) != 0) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        m_master = m_slave = -1;
        return false;
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_slave, F_SETFD, FD_CLOEXEC);
    m_path = QString::fromLocal8Bit(name);
    if (!linkPath.isEmpty()) {
        QFile::remove(linkPath);
        if (!QFile::link(m_path, linkPath)) {
            m_error = QStringLiteral("cannot link %1").arg(linkPath);
            close();
            return false;
        }
    }
    m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &PtyEndpoint::readMaster);
    return true;
}

void PtyEndpoint::close()
{
    delete m_notifier;
    m_notifier = nullptr;
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_master = m_slave = -1;
    m_path.clear();
}

bool PtyEndpoint::write(const QByteArray &bytes)
{
    // Nobody may be reading the other end (the program has its port closed):
    // after a second of a full line the rest is lost, as on a real line.
    qsizetype done = 0;
    int waits = 0;
    while (m_master >= 0 && done < bytes.size() && waits < 1000) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
        } else if (n < 0 && errno == EAGAIN) {
            ++waits;
            usleep(1000);
        } else if (n < 0 && errno != EINTR) {
            return false;
        }
    }
    return done == bytes.size();
}

bool PtyEndpoint::lineSettings(LineSettings &settings) const
{
    return m_slave >= 0 && readLineSettings(m_slave, settings);
}

void PtyEndpoint::readMaster()
{
    QByteArray bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            bytes.append(buffer, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break; // EAGAIN: all read; EIO cannot happen while the slave stays open
    }
    if (!bytes.isEmpty())
        Q_EMIT received(bytes);
}
