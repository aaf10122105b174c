#include "localip.h"

#include <QHostAddress>
#include <QNetworkInterface>

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

QList<QHostAddress> ipv4AddressesOf(const QString &hostName)
{
    QList<QHostAddress> result;
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
        result.append(QHostAddress(ntohl(address->sin_addr.s_addr)));
    }
    freeaddrinfo(list);
    return result;
}

QList<QHostAddress> interfaceAddresses()
{
    QList<QHostAddress> result;
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &interface : interfaces) {
        if (!interface.flags().testFlag(QNetworkInterface::IsUp))
            continue;
        const auto entries = interface.addressEntries();
        for (const QNetworkAddressEntry &entry : entries)
            result.append(entry.ip());
    }
    return result;
}

QString firstNonLoopbackIPv4(const QList<QHostAddress> &addresses)
{
    for (const QHostAddress &address : addresses) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback())
            return address.toString();
    }
    return QString();
}

} // namespace

QString localIPv4Address()
{
    char hostName[256] = {};
    if (gethostname(hostName, sizeof hostName - 1) != 0)
        return QString();
    const QList<QHostAddress> hostAddresses = ipv4AddressesOf(QString::fromLocal8Bit(hostName));
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

QString chooseLocalIPv4(const QList<QHostAddress> &hostAddresses,
                        const QList<QHostAddress> &interfaceAddresses)
{
    if (hostAddresses.isEmpty())
        return QString();
    const QString fromName = firstNonLoopbackIPv4(hostAddresses);
    return fromName.isEmpty() ? firstNonLoopbackIPv4(interfaceAddresses) : fromName;
}
