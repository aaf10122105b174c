#pragma once

#include <QList>
#include <QString>

/// The address the audit columns carry: the first IPv4 address of the local
/// host name that is not loopback (127.0.0.0/8). Where the name resolves to
/// loopback addresses only (Debian maps it to 127.0.1.1), the first such
/// address of the machine's interfaces that are up. Empty when the name does
/// not resolve or no address is left.
QString localIPv4Address();
/// The first IPv4 address of any host name (or dotted address text) that is
/// not loopback; empty when there is none.
QString firstIPv4AddressOf(const QString &hostName);
/// The choice localIPv4Address() makes, from the IPv4 addresses of the host
/// name (in resolver order) and those of the interfaces that are up, each in
/// host byte order (192.0.2.1 is 0xC0000201).
QString chooseLocalIPv4(const QList<quint32> &hostAddresses,
                        const QList<quint32> &interfaceAddresses);
/// Dotted text of an IPv4 address in host byte order.
QString ipv4Text(quint32 address);
