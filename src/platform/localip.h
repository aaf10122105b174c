#pragma once

#include <QString>

/// The first IPv4 address of the local host name, skipping loopback addresses
/// (127.0.0.0/8); empty when there is none.
QString localIPv4Address();
/// The same for any host name (or dotted address text).
QString firstIPv4AddressOf(const QString &hostName);
