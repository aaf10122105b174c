#include "cp949.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <cerrno>
#include <iconv.h>

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

// Fallback for a Qt built without ICU: glibc's CP949 is the same code page.
QByteArray iconvEncode(const QString &text)
{
    iconv_t cd = iconv_open(IconvName, "UTF-8");
    if (cd == iconv_t(-1))
        return text.toLatin1();
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
        return QString::fromLatin1(bytes);
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

int charByteLength(char32_t codePoint)
{
    if (codePoint < 0x80)
        return 1;
    return int(Cp949::fromUnicode(QString::fromUcs4(&codePoint, 1)).size());
}

} // namespace

namespace Cp949 {

QByteArray fromUnicode(const QString &text)
{
    if (!icuAvailable())
        return iconvEncode(text);
    // Opening the converter costs more than most texts: one per thread, reset per use.
    thread_local QStringEncoder encoder(IcuName, QStringConverter::Flag::Stateless);
    encoder.resetState();
    return encoder.encode(text);
}

QString toUnicode(const QByteArray &bytes)
{
    if (!icuAvailable())
        return iconvDecode(bytes);
    QStringDecoder decoder(IcuName, QStringConverter::Flag::Stateless);
    // ICU swallows a lead byte at the very end instead of reporting it; a
    // line feed after it makes the broken character show as U+FFFD.
    QString text = decoder.decode(bytes + '\n');
    text.chop(1);
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
    while (end < text.size()) {
        qsizetype next = end + 1;
        char32_t codePoint = text.at(end).unicode();
        if (text.at(end).isHighSurrogate() && next < text.size() && text.at(next).isLowSurrogate()) {
            codePoint = QChar::surrogateToUcs4(text.at(end), text.at(next));
            ++next;
        }
        used += charByteLength(codePoint);
        if (used > maxBytes)
            break;
        end = next;
    }
    return text.left(end);
}

} // namespace Cp949
