#include "localip.h"

#include <QHostAddress>

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

QString localIPv4Address()
{
    char hostName[256] = {};
    if (gethostname(hostName, sizeof hostName - 1) != 0)
        return QString();
    return firstIPv4AddressOf(QString::fromLocal8Bit(hostName));
}

QString firstIPv4AddressOf(const QString &hostName)
{
    if (hostName.isEmpty())
        return QString();
    addrinfo hints = {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *list = nullptr;
    if (getaddrinfo(hostName.toLocal8Bit().constData(), nullptr, &hints, &list) != 0)
        return QString();

    // Debian maps the host name to 127.0.1.1; a loopback address would make
    // every audit column of the workstation say nothing.
    QString result;
    for (const addrinfo *entry = list; entry && result.isEmpty(); entry = entry->ai_next) {
        const auto *address = reinterpret_cast<const sockaddr_in *>(entry->ai_addr);
        const QHostAddress host(ntohl(address->sin_addr.s_addr));
        if (!host.isLoopback())
            result = host.toString();
    }
    freeaddrinfo(list);
    return result;
}
