#pragma once

#include <QList>
#include <QString>

class QHostAddress;

/// The address the audit columns carry: the first IPv4 address of the local
/// host name that is not loopback (127.0.0.0/8). Where the name resolves to
/// loopback addresses only (Debian maps it to 127.0.1.1), the first such
/// address of the machine's interfaces that are up. Empty when the name does
/// not resolve or no address is left.
QString localIPv4Address();
/// The first IPv4 address of any host name (or dotted address text) that is
/// not loopback; empty when there is none.
QString firstIPv4AddressOf(const QString &hostName);
/// The choice localIPv4Address() makes, from the addresses of the host name
/// (in resolver order) and those of the interfaces that are up.
QString chooseLocalIPv4(const QList<QHostAddress> &hostAddresses,
                        const QList<QHostAddress> &interfaceAddresses);
