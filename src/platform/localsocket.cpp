#include "localsocket.h"

#include <QDir>
#include <QFile>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// The address of a socket file; false when the path does not fit.
bool addressOf(const QString &path, sockaddr_un &address)
{
    const QByteArray bytes = QFile::encodeName(path);
    address = {};
    address.sun_family = AF_UNIX;
    if (bytes.isEmpty() || size_t(bytes.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, bytes.constData(), size_t(bytes.size()));
    return true;
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

namespace LocalSocket {

QString pathOf(const QString &name)
{
    if (name.startsWith(QLatin1Char('/')))
        return name;
    return QDir::tempPath() + QLatin1Char('/') + name;
}

bool sendOnce(const QString &name, const QByteArray &data, int timeoutMs)
{
    sockaddr_un address;
    if (!addressOf(pathOf(name), address))
        return false;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    // A local connection is made at once or refused at once; the time-out
    // covers a server whose queue is full and a server that reads nothing.
    timeval timeout{};
    timeout.tv_sec = timeoutMs / 1000;
    timeout.tv_usec = (timeoutMs % 1000) * 1000;
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    bool sent = false;
    int result;
    do {
        result = ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address);
    } while (result != 0 && errno == EINTR);
    if (result == 0) {
        qsizetype written = 0;
        while (written < data.size()) {
            const ssize_t n = ::send(fd,
                                     data.constData() + written,
                                     size_t(data.size() - written),
                                     MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            written += n;
        }
        sent = written == data.size();
    }
    ::close(fd);
    return sent;
}

} // namespace LocalSocket

struct LocalLineServer::Client
{
    int fd = -1;
    QSocketNotifier *notifier = nullptr;
    QByteArray buffer;
};

LocalLineServer::LocalLineServer(QObject *parent)
    : QObject(parent)
{}

LocalLineServer::~LocalLineServer()
{
    close();
}

bool LocalLineServer::listen(const QString &name)
{
    close();
    const QString path = LocalSocket::pathOf(name);
    sockaddr_un address;
    if (!addressOf(path, address)) {
        m_error = QStringLiteral("%1: the path is too long for a local socket").arg(path);
        return false;
    }
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        m_error = systemError();
        return false;
    }
    // The mode of the socket before it is bound is the mode of its file: no
    // moment in which another user could connect.
    fchmod(fd, S_IRUSR | S_IWUSR);
    if (::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0
        || ::listen(fd, SOMAXCONN) != 0) {
        m_error = QStringLiteral("%1: %2").arg(path, systemError());
        ::close(fd);
        return false;
    }
    chmod(address.sun_path, S_IRUSR | S_IWUSR);
    m_fd = fd;
    m_path = path;
    m_error.clear();
    m_notifier = new QSocketNotifier(qintptr(fd), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &LocalLineServer::acceptClients);
    return true;
}

void LocalLineServer::close()
{
    while (!m_clients.empty())
        dropClient(m_clients.back().get());
    if (m_fd < 0)
        return;
    delete m_notifier;
    m_notifier = nullptr;
    ::close(m_fd);
    m_fd = -1;
    ::unlink(QFile::encodeName(m_path).constData());
    m_path.clear();
}

void LocalLineServer::acceptClients()
{
    for (;;) {
        const int fd = ::accept4(m_fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR)
                continue;
            return; // EAGAIN: none left; anything else: the next one is tried later
        }
        auto client = std::make_unique<Client>();
        client->fd = fd;
        client->notifier = new QSocketNotifier(qintptr(fd), QSocketNotifier::Read, this);
        Client *raw = client.get();
        connect(client->notifier, &QSocketNotifier::activated, this, [this, raw] {
            readClient(raw);
        });
        m_clients.push_back(std::move(client));
    }
}

void LocalLineServer::readClient(Client *client)
{
    char chunk[1024];
    for (;;) {
        const ssize_t n = ::read(client->fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        if (n <= 0) {
            dropClient(client); // the client closed, or the connection failed
            return;
        }
        client->buffer.append(chunk, n);
        qsizetype end;
        while ((end = client->buffer.indexOf('\n')) >= 0) {
            if (end >= MaxLineBytes) {
                dropClient(client);
                return;
            }
            const QByteArray line = client->buffer.left(end + 1);
            client->buffer.remove(0, end + 1);
            Q_EMIT lineReceived(line);
            // A receiver may have closed the server.
            if (std::none_of(m_clients.begin(), m_clients.end(), [client](const auto &c) {
                    return c.get() == client;
                }))
                return;
        }
        if (client->buffer.size() >= MaxLineBytes) {
            dropClient(client);
            return;
        }
    }
}

void LocalLineServer::dropClient(Client *client)
{
    const auto found = std::find_if(m_clients.begin(), m_clients.end(), [client](const auto &c) {
        return c.get() == client;
    });
    if (found == m_clients.end())
        return;
    // The notifier may be the sender of the running slot: deleted later.
    client->notifier->setEnabled(false);
    client->notifier->deleteLater();
    ::close(client->fd);
    m_clients.erase(found);
}
