#pragma once

#include <optional>
#include <QString>

/// The start key both directions are called with.
constexpr quint16 PasswordStartKey = 31573;

/// The stored form carries this many cp949 bytes of password.
constexpr int MaxStoredPasswordBytes = 16;

/// The first character a password must not contain, empty when it has none:
/// NUL (the stored form cannot give it back) or a character cp949 cannot hold
/// (it would be stored as '?', so 'é' and '😀' would be the same password,
/// and no workstation of the suite could type it).
QString refusedPasswordCharacter(const QString &password);
/// The message that names such a character to the user.
QString refusedPasswordCharacterMessage(const QString &character);

/// The 64-hex-digit stored form of a password (at most 16 cp949 bytes kept).
QString EncryptPassword(const QString &plain, quint16 startKey);
/// The password of a stored form; nullopt when the value is not exactly 64
/// hexadecimal digits or does not decode.
std::optional<QString> DecryptPassword(const QString &stored, quint16 startKey);
