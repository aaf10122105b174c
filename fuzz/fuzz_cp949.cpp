// cp949 both ways: bytes to text never lose a byte that cannot belong to a
// double-byte character, valid bytes come back exactly, text to bytes writes
// one '?' for each character the code page cannot hold, a cut stays within
// its limit.
#include "fuzzcheck.h"

#include "platform/cp949.h"

namespace {

// Bytes that are never the second byte of a double-byte character.
bool isDelimiter(uint8_t byte)
{
    return byte < 0x41 || (byte > 0x5A && byte < 0x61) || (byte > 0x7A && byte < 0x80);
}

void checkDecoding(const QByteArray &bytes)
{
    const QString text = Cp949::toUnicode(bytes);
    int inBytes = 0;
    for (char c : bytes)
        inBytes += isDelimiter(uint8_t(c)) ? 1 : 0;
    int inText = 0;
    for (QChar c : text)
        inText += c.unicode() < 0x80 && isDelimiter(uint8_t(c.unicode())) ? 1 : 0;
    FUZZ_CHECK(inBytes == inText);
    if (!text.contains(QChar::ReplacementCharacter))
        FUZZ_CHECK(Cp949::fromUnicode(text) == bytes);
}

void checkEncoding(const QString &text, int limitSeed)
{
    const QByteArray bytes = Cp949::fromUnicode(text);
    FUZZ_CHECK(Cp949::byteLength(text) == bytes.size());

    // Read back: the text with '?' for every character cp949 cannot hold.
    QString expected;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size()
                                                 && text.at(i + 1).isLowSurrogate()
                                         ? 2
                                         : 1;
        const QString one = text.mid(i, length);
        expected += Cp949::firstUnencodable(one) < 0 ? one : QStringLiteral("?");
        i += length;
    }
    FUZZ_CHECK(Cp949::toUnicode(bytes) == expected);
    FUZZ_CHECK((Cp949::firstUnencodable(text) < 0) == (expected == text));

    const int limit = limitSeed % (int(bytes.size()) + 2);
    const QString cut = Cp949::truncateToBytes(text, limit);
    FUZZ_CHECK(text.startsWith(cut));
    FUZZ_CHECK(Cp949::byteLength(cut) <= limit);
    if (cut.size() < text.size()) {
        const qsizetype next = text.at(cut.size()).isHighSurrogate() && cut.size() + 1 < text.size()
                                               && text.at(cut.size() + 1).isLowSurrogate()
                                       ? 2
                                       : 1;
        FUZZ_CHECK(Cp949::byteLength(text.left(cut.size() + next)) > limit);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    checkDecoding(Fuzz::bytes(data, size));
    checkEncoding(Fuzz::utf16(data, size), size > 0 ? data[size - 1] : 0);
    checkEncoding(QString::fromUtf8(Fuzz::bytes(data, size)), size > 0 ? data[0] : 0);
    return 0;
}
