#pragma once

#include <QByteArray>
#include <QString>

/// The Korean ANSI code page cp949 (Windows code page 949), in both directions.
namespace Cp949 {

/// Encodes text as cp949 bytes; every character cp949 cannot hold (a lone
/// surrogate, an emoji, a zero-width or direction mark …) becomes one '?'.
QByteArray fromUnicode(const QString &text);
/// Decodes cp949 bytes; every invalid byte becomes one U+FFFD, and a broken
/// lead byte never takes the byte after it along.
QString toUnicode(const QByteArray &bytes);
/// Number of bytes the text takes in cp949 (Hangul syllables take two).
int byteLength(const QString &text);
/// The longest prefix of the text that takes at most maxBytes bytes in cp949,
/// never splitting a double-byte character or a surrogate pair.
QString truncateToBytes(const QString &text, int maxBytes);
/// Index of the first character cp949 cannot hold (fromUnicode would write '?'
/// for it); -1 when it holds the whole text.
qsizetype firstUnencodable(const QString &text);

} // namespace Cp949
