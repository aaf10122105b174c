#pragma once

#include <QByteArray>
#include <QString>

/// The Korean ANSI code page cp949 (Windows code page 949), in both directions.
namespace Cp949 {

/// Encodes text as cp949 bytes; characters cp949 cannot hold become '?'.
QByteArray fromUnicode(const QString &text);
/// Decodes cp949 bytes; invalid sequences become U+FFFD.
QString toUnicode(const QByteArray &bytes);
/// Number of bytes the text takes in cp949 (Hangul syllables take two).
int byteLength(const QString &text);
/// The longest prefix of the text that takes at most maxBytes bytes in cp949,
/// never splitting a double-byte character.
QString truncateToBytes(const QString &text, int maxBytes);

} // namespace Cp949
