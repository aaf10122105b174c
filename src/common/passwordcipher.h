#pragma once

#include <optional>
#include <QString>

/// The start key both directions are called with.
constexpr quint16 PasswordStartKey = 31573;

/// The 64-hex-digit stored form of a password (at most 16 cp949 bytes kept).
QString EncryptPassword(const QString &plain, quint16 startKey);
/// The password of a stored form; nullopt when the value is not exactly 64
/// hexadecimal digits or does not decode.
std::optional<QString> DecryptPassword(const QString &stored, quint16 startKey);
