#include "passwordcipher.h"

#include "platform/cp949.h"

#include <array>

namespace {

constexpr quint16 Multiplier = 20731;
constexpr quint16 Increment = 15094;
constexpr int PaddedLength = 32;
constexpr int MaxPasswordBytes = PaddedLength / 2;
static_assert(MaxPasswordBytes == MaxStoredPasswordBytes);

// Offsets of the second layer, one per position of the padded text. Values
// written with another table do not decode here.
constexpr std::array<quint32, PaddedLength> PadTable = {17, 5,  29, 11, 23, 2,  31, 14, 8,  26, 19,
                                                        1,  32, 12, 21, 6,  28, 15, 3,  24, 10, 30,
                                                        18, 7,  25, 13, 4,  20, 9,  27, 16, 22};

constexpr bool isPermutation(const std::array<quint32, PaddedLength> &table)
{
    std::array<bool, PaddedLength + 1> seen{};
    for (quint32 value : table) {
        if (value < 1 || value > PaddedLength || seen[value])
            return false;
        seen[value] = true;
    }
    return true;
}
static_assert(isPermutation(PadTable), "the pad table must be a permutation of 1 to 32");

quint8 highByte(quint16 key)
{
    return quint8(key >> 8);
}

quint16 nextKey(quint8 enciphered, quint16 key)
{
    return quint16((quint16(enciphered + key) * Multiplier + Increment) & 0xFFFF);
}

bool isHexDigits(const QByteArray &bytes)
{
    return std::all_of(bytes.cbegin(), bytes.cend(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    });
}

bool isBlankOrControl(char c)
{
    return quint8(c) <= 32;
}

} // namespace

QString refusedPasswordCharacter(const QString &password)
{
    const qsizetype nul = password.indexOf(QChar(0));
    const qsizetype unencodable = Cp949::firstUnencodable(password);
    const qsizetype at = nul < 0 ? unencodable
                                 : (unencodable < 0 ? nul : std::min(nul, unencodable));
    if (at < 0)
        return QString();
    const bool pair = password.at(at).isHighSurrogate() && at + 1 < password.size()
                      && password.at(at + 1).isLowSurrogate();
    return password.mid(at, pair ? 2 : 1);
}

QString refusedPasswordCharacterMessage(const QString &character)
{
    if (character.isEmpty())
        return QString();
    const bool pair = character.size() == 2;
    const char32_t codePoint = pair ? QChar::surrogateToUcs4(character.at(0), character.at(1))
                                    : character.at(0).unicode();
    const QString code = QStringLiteral("U+%1").arg(uint(codePoint), 4, 16, QLatin1Char('0'));
    // Characters that do not show (NUL, marks, lone surrogates) are named by their code only.
    const bool shows = pair || (character.at(0).isPrint() && !character.at(0).isSurrogate());
    return shows ? QStringLiteral("암호에 사용할 수 없는 문자가 있습니다: '%1' (%2)")
                           .arg(character, code.toUpper())
                 : QStringLiteral("암호에 사용할 수 없는 문자가 있습니다: %1").arg(code.toUpper());
}

QString EncryptPassword(const QString &plain, quint16 startKey)
{
    // Cut at a character boundary: a stored value ending in half a Hangul
    // syllable would decode to no text at all.
    const QByteArray bytes = Cp949::fromUnicode(Cp949::truncateToBytes(plain, MaxPasswordBytes));
    quint16 key = startKey;
    QByteArray enciphered;
    enciphered.reserve(bytes.size());
    for (char c : bytes) {
        const quint8 byte = quint8(c) ^ highByte(key);
        enciphered.append(char(byte));
        key = nextKey(byte, key);
    }

    QByteArray padded = enciphered.toHex().toUpper().left(PaddedLength);
    padded.append(QByteArray(PaddedLength - padded.size(), ' '));
    for (int k = 0; k < PaddedLength; ++k)
        padded[k] = char(quint8(quint8(padded[k]) - quint8(PadTable[k])));
    return QString::fromLatin1(padded.toHex().toUpper());
}

std::optional<QString> DecryptPassword(const QString &stored, quint16 startKey)
{
    if (stored.size() != PaddedLength * 2)
        return std::nullopt;
    const QByteArray hex = stored.toLatin1();
    if (QString::fromLatin1(hex) != stored || !isHexDigits(hex))
        return std::nullopt;

    QByteArray padded = QByteArray::fromHex(hex);
    for (int k = 0; k < PaddedLength; ++k)
        padded[k] = char(quint8(quint8(padded[k]) + quint8(PadTable[k])));

    qsizetype begin = 0;
    qsizetype end = padded.size();
    while (begin < end && isBlankOrControl(padded.at(begin)))
        ++begin;
    while (end > begin && isBlankOrControl(padded.at(end - 1)))
        --end;
    const QByteArray inner = padded.mid(begin, end - begin);
    if (inner.size() % 2 != 0 || !isHexDigits(inner))
        return std::nullopt;

    quint16 key = startKey;
    QByteArray bytes;
    for (char c : QByteArray::fromHex(inner)) {
        const quint8 byte = quint8(c);
        bytes.append(char(byte ^ highByte(key)));
        key = nextKey(byte, key);
    }
    // Bytes that are no cp949 text cannot be the password that was stored.
    const QString text = Cp949::toUnicode(bytes);
    if (bytes.contains('\0') || Cp949::fromUnicode(text) != bytes)
        return std::nullopt;
    return text;
}
