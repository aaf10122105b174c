#include "localip.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

QList<quint32> ipv4AddressesOf(const QString &hostName)
{
    QList<quint32> result;
    if (hostName.isEmpty())
        return result;
    addrinfo hints = {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *list = nullptr;
    if (getaddrinfo(hostName.toLocal8Bit().constData(), nullptr, &hints, &list) != 0)
        return result;
    for (const addrinfo *entry = list; entry; entry = entry->ai_next) {
        const auto *address = reinterpret_cast<const sockaddr_in *>(entry->ai_addr);
        result.append(ntohl(address->sin_addr.s_addr));
    }
    freeaddrinfo(list);
    return result;
}

QList<quint32> interfaceAddresses()
{
    QList<quint32> result;
    ifaddrs *list = nullptr;
    if (getifaddrs(&list) != 0)
        return result;
    for (const ifaddrs *entry = list; entry; entry = entry->ifa_next) {
        if (!(entry->ifa_flags & IFF_UP) || !entry->ifa_addr
            || entry->ifa_addr->sa_family != AF_INET)
            continue;
        const auto *address = reinterpret_cast<const sockaddr_in *>(entry->ifa_addr);
        result.append(ntohl(address->sin_addr.s_addr));
    }
    freeifaddrs(list);
    return result;
}

bool isLoopback(quint32 address)
{
    return address >> 24 == 127;
}

QString firstNonLoopbackIPv4(const QList<quint32> &addresses)
{
    for (const quint32 address : addresses) {
        if (!isLoopback(address))
            return ipv4Text(address);
    }
    return QString();
}

} // namespace

QString localIPv4Address()
{
    char hostName[256] = {};
    if (gethostname(hostName, sizeof hostName - 1) != 0)
        return QString();
    const QList<quint32> hostAddresses = ipv4AddressesOf(QString::fromLocal8Bit(hostName));
    // The interfaces are asked only where the name gives loopback alone.
    const QString fromName = firstNonLoopbackIPv4(hostAddresses);
    if (!fromName.isEmpty() || hostAddresses.isEmpty())
        return fromName;
    return chooseLocalIPv4(hostAddresses, interfaceAddresses());
}

QString firstIPv4AddressOf(const QString &hostName)
{
    // A loopback address would make every audit column of the workstation say nothing.
    return firstNonLoopbackIPv4(ipv4AddressesOf(hostName));
}

QString ipv4Text(quint32 address)
{
    return QStringLiteral("%1.%2.%3.%4")
            .arg(address >> 24)
            .arg((address >> 16) & 0xFF)
            .arg((address >> 8) & 0xFF)
            .arg(address & 0xFF);
}

QString chooseLocalIPv4(const QList<quint32> &hostAddresses,
                        const QList<quint32> &interfaceAddresses)
{
    if (hostAddresses.isEmpty())
        return QString();
    const QString fromName = firstNonLoopbackIPv4(hostAddresses);
    return fromName.isEmpty() ? firstNonLoopbackIPv4(interfaceAddresses) : fromName;
}
