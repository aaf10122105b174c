#include "singleinstance.h"

#include "localsocket.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <unistd.h>

namespace {
const QByteArray kRaiseRequest = "raise\n";
}

SingleInstance::SingleInstance(const QString &name, QObject *parent)
    : QObject(parent)
    , m_name(name)
    , m_serverPath(serverPath(name))
    , m_lock(m_serverPath + QLatin1String(".lock"))
{
    // Only a lock whose process is gone is stale, however old it is.
    m_lock.setStaleLockTime(0);
}

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

bool SingleInstance::acquire()
{
    if (m_server)
        return true;
    if (!m_lock.tryLock(0))
        return false;
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
    m_lock.unlock();
}
