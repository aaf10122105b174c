#include "cp949.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <iconv.h>

#include <algorithm>
#include <memory>

namespace {

// ICU's "windows-949" is the real Windows code page (unified Hangul code,
// all 11172 syllables). Qt's "CP949" and "EUC-KR" resolve to plain EUC-KR,
// which has only 2350 syllables and turns e.g. U+B620 into '?'.
constexpr char IcuName[] = "windows-949";
constexpr char IconvName[] = "CP949";

bool icuAvailable()
{
    static const bool available = QStringEncoder(IcuName).isValid();
    return available;
}

bool isAscii(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
}

// Fallback for a Qt built without ICU: glibc's CP949 is the same code page.
// One character at a time, so that a failure costs one '?' only.
QByteArray iconvEncode(const QString &text)
{
    iconv_t cd = iconv_open(IconvName, "UTF-8");
    if (cd == iconv_t(-1))
        return QByteArray(text.size(), '?');
    QByteArray out;
    QByteArray buffer(8, '\0');
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QByteArray in = text.mid(i, length).toUtf8();
        i += length - 1;
        char *inPtr = in.data();
        size_t inLeft = size_t(in.size());
        char *outPtr = buffer.data();
        size_t outLeft = size_t(buffer.size());
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1)) {
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            out.append('?');
        } else {
            out.append(buffer.constData(), buffer.size() - qsizetype(outLeft));
        }
    }
    iconv_close(cd);
    return out;
}

QString iconvDecode(const QByteArray &bytes)
{
    iconv_t cd = iconv_open("UTF-16LE", IconvName);
    if (cd == iconv_t(-1))
        return QString(bytes.size(), QChar::ReplacementCharacter);
    QString out;
    QByteArray in = bytes;
    char *inPtr = in.data();
    size_t inLeft = size_t(in.size());
    QByteArray buffer(8, '\0');
    while (inLeft > 0) {
        // One character at a time keeps the error position exact.
        const size_t take = qMin<size_t>(inLeft, quint8(*inPtr) >= 0x81 ? 2 : 1);
        char *stepPtr = inPtr;
        size_t stepLeft = take;
        char *outPtr = buffer.data();
        size_t outLeft = size_t(buffer.size());
        if (iconv(cd, &stepPtr, &stepLeft, &outPtr, &outLeft) == size_t(-1) || stepLeft != 0) {
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            out.append(QChar::ReplacementCharacter);
            ++inPtr;
            --inLeft;
            continue;
        }
        out.append(QString::fromUtf16(reinterpret_cast<const char16_t *>(buffer.constData()),
                                      (buffer.size() - qsizetype(outLeft)) / 2));
        inPtr += take;
        inLeft -= take;
    }
    iconv_close(cd);
    return out;
}

// The converter as it is. ICU leaves out characters it counts as ignorable
// (zero-width and direction marks, variation selectors …) instead of writing
// its '?' for them; encode() below checks for that.
QByteArray rawEncode(const QString &text)
{
    if (!icuAvailable())
        return iconvEncode(text);
    // Opening the converter costs more than most texts: one per thread, reset per use.
    thread_local QStringEncoder encoder(IcuName, QStringConverter::Flag::Stateless);
    encoder.resetState();
    return encoder.encode(text);
}

// ICU takes the byte after a broken lead byte along ("\xB0]" gives one
// U+FFFD); decode() below repairs that.
QString rawDecode(const QByteArray &bytes)
{
    if (!icuAvailable())
        return iconvDecode(bytes);
    thread_local QStringDecoder decoder(IcuName, QStringConverter::Flag::Stateless);
    decoder.resetState();
    // ICU swallows a lead byte at the very end instead of reporting it; a
    // line feed after it makes the broken character show as U+FFFD.
    QString text = decoder.decode(bytes + '\n');
    text.chop(1);
    return text;
}

// Calls visit(codePoint, index, length) for every code point; a lone
// surrogate is a code point of its own.
template<typename Visit>
void forEachCodePoint(const QString &text, Visit visit)
{
    for (qsizetype i = 0; i < text.size();) {
        qsizetype length = 1;
        char32_t codePoint = text.at(i).unicode();
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            codePoint = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            length = 2;
        }
        if (!visit(codePoint, i, length))
            return;
        i += length;
    }
}

// The bytes of one code point, or empty when cp949 cannot hold it.
QByteArray encodeCodePoint(char32_t codePoint)
{
    if (codePoint < 0x80)
        return QByteArray(1, char(codePoint));
    if (QChar::isSurrogate(codePoint))
        return QByteArray();
    const QString text = QString::fromUcs4(&codePoint, 1);
    const QByteArray bytes = rawEncode(text);
    return !bytes.isEmpty() && rawDecode(bytes) == text ? bytes : QByteArray();
}

// What the converter writes for one character of the Basic Multilingual
// Plane, asked once per character and thread: the converter works character
// by character, so a text is the bytes of its characters one after the other.
struct CharacterBytes
{
    qint8 size = -1; // -1: not asked yet
    char bytes[2] = {};
};

const CharacterBytes &bytesOf(char16_t c)
{
    thread_local std::unique_ptr<CharacterBytes[]> table(new CharacterBytes[0x10000]);
    CharacterBytes &entry = table[c];
    if (entry.size < 0) {
        const QByteArray bytes = rawEncode(QString(QChar(c)));
        entry.size = qint8(std::min<qsizetype>(bytes.size(), 3));
        std::copy_n(bytes.constData(), std::min<qsizetype>(bytes.size(), 2), entry.bytes);
    }
    return entry;
}

// One character of output: a single byte, or a lead byte and its trail byte
// (only 80 and FF stand alone among the bytes from 80 up).
bool isOneCharacter(const CharacterBytes &entry)
{
    const uchar first = uchar(entry.bytes[0]);
    const bool single = first < 0x80 || first == 0x80 || first == 0xFF;
    return entry.size == (single ? 1 : 2);
}

// The text through the table; empty when a character needs the careful way
// (a surrogate, or a character the converter leaves out).
QByteArray tableEncode(const QString &text)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if (unit < 0x80) {
            out.append(char(unit));
            continue;
        }
        if (QChar::isSurrogate(unit))
            return QByteArray();
        const CharacterBytes &entry = bytesOf(unit);
        if (!isOneCharacter(entry))
            return QByteArray();
        out.append(entry.bytes, entry.size);
    }
    return out;
}

} // namespace

namespace Cp949 {

QByteArray fromUnicode(const QString &text)
{
    if (isAscii(text))
        return text.toLatin1();
    if (const QByteArray bytes = tableEncode(text); !bytes.isEmpty())
        return bytes;
    const QByteArray bytes = rawEncode(text);
    // One character of output for every code point: nothing was left out.
    // (Only 80 and FF stand alone among the bytes from 80 up.)
    qsizetype codePoints = 0;
    forEachCodePoint(text, [&](char32_t, qsizetype, qsizetype) {
        ++codePoints;
        return true;
    });
    qsizetype characters = 0;
    for (qsizetype i = 0; i < bytes.size(); ++characters) {
        const uchar byte = uchar(bytes.at(i));
        i += byte < 0x80 || byte == 0x80 || byte == 0xFF ? 1 : 2;
    }
    if (characters == codePoints)
        return bytes;
    QByteArray out;
    forEachCodePoint(text, [&](char32_t codePoint, qsizetype, qsizetype) {
        const QByteArray one = encodeCodePoint(codePoint);
        out += one.isEmpty() ? QByteArray(1, '?') : one;
        return true;
    });
    return out;
}

QString toUnicode(const QByteArray &bytes)
{
    QString text = rawDecode(bytes);
    if (!text.contains(QChar::ReplacementCharacter))
        return text;
    // Something is broken: one character at a time, so that a bad byte
    // costs one U+FFFD and nothing after it.
    text.clear();
    for (qsizetype i = 0; i < bytes.size();) {
        const uchar byte = uchar(bytes.at(i));
        if (byte < 0x80) {
            text.append(QLatin1Char(char(byte)));
            ++i;
            continue;
        }
        if (i + 1 < bytes.size()) {
            const QString pair = rawDecode(bytes.mid(i, 2));
            if (pair.size() == 1 && pair.at(0) != QChar::ReplacementCharacter) {
                text.append(pair);
                i += 2;
                continue;
            }
        }
        const QString single = rawDecode(bytes.mid(i, 1));
        text.append(single.size() == 1 ? single : QString(QChar::ReplacementCharacter));
        ++i;
    }
    return text;
}

int byteLength(const QString &text)
{
    return int(fromUnicode(text).size());
}

QString truncateToBytes(const QString &text, int maxBytes)
{
    int used = 0;
    qsizetype end = 0;
    forEachCodePoint(text, [&](char32_t codePoint, qsizetype index, qsizetype length) {
        const QByteArray bytes = encodeCodePoint(codePoint);
        used += bytes.isEmpty() ? 1 : int(bytes.size());
        if (used > maxBytes)
            return false;
        end = index + length;
        return true;
    });
    return text.left(end);
}

qsizetype firstUnencodable(const QString &text)
{
    if (isAscii(text))
        return -1;
    qsizetype found = -1;
    forEachCodePoint(text, [&](char32_t codePoint, qsizetype index, qsizetype) {
        if (!encodeCodePoint(codePoint).isEmpty())
            return true;
        found = index;
        return false;
    });
    return found;
}

} // namespace Cp949
