#include "launcherlink.h"

#include "localsocket.h"

namespace {
// Local sockets connect at once or fail at once; the wait only covers a busy launcher.
constexpr int kTimeoutMs = 1000;
} // namespace

QString LauncherLink::serverName()
{
    return QStringLiteral("Tfrm_0Main");
}

QByteArray LauncherLink::messageLine(int message, qint64 wParam, qint64 lParam)
{
    return QByteArray::number(message) + ' ' + QByteArray::number(wParam) + ' '
           + QByteArray::number(lParam) + '\n';
}

bool LauncherLink::send(int message, qint64 wParam, qint64 lParam)
{
    return LocalSocket::sendOnce(serverName(), messageLine(message, wParam, lParam), kTimeoutMs);
}
