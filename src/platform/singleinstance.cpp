#include "singleinstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace {
const QByteArray kRaiseRequest = "raise\n";
}

SingleInstance::SingleInstance(const QString &name, QObject *parent)
    : QObject(parent)
    , m_name(name)
    , m_lock(lockFilePath(name))
{
    // Only a lock whose process is gone is stale, however old it is.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance()
{
    release();
}

QString SingleInstance::lockFilePath(const QString &name)
{
    return QDir(QDir::tempPath()).filePath(name + QLatin1String(".lock"));
}

bool SingleInstance::acquire()
{
    if (m_server)
        return true;
    if (!m_lock.tryLock(0))
        return false;
    // The lock is ours, so a socket file left under this name belongs to a
    // process that died: remove it before listening.
    QLocalServer::removeServer(m_name);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_name)) {
        // The guard still holds through the lock; only raising is lost.
        qWarning("SingleInstance: cannot listen on %s: %s",
                 qPrintable(m_name),
                 qPrintable(m_server->errorString()));
    }
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::readRequests);
    return true;
}

void SingleInstance::readRequests()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                if (socket->readLine() == kRaiseRequest)
                    Q_EMIT activationRequested();
            }
        });
    }
}

bool SingleInstance::notifyHolder(int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(kRaiseRequest);
    const bool written = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return written;
}

void SingleInstance::release()
{
    if (!m_server)
        return;
    m_server->close();
    delete m_server;
    m_server = nullptr;
    m_lock.unlock();
}
