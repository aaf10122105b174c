#include "platform/cp949.h"

#include <QtTest>

class TestCp949 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void unencodableBecomesQuestionMark_data();
    void unencodableBecomesQuestionMark();
    void invalidBytesBecomeReplacement_data();
    void invalidBytesBecomeReplacement();
    void truncateToBytes_data();
    void truncateToBytes();
    void cutNeverExceedsItsLimit();
    void everyCharacterAsTheConverterWritesIt();
};

void TestCp949::roundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty") << QString() << QByteArray();
    QTest::newRow("ascii") << QStringLiteral("PASS=1") << QByteArray("PASS=1");
    QTest::newRow("EUC-KR Hangul") << QStringLiteral("가나") << QByteArray("\xB0\xA1\xB3\xAA");
    // Outside the 2350 syllables of EUC-KR: only the real code page 949 holds these.
    QTest::newRow("ttom") << QStringLiteral("똠") << QByteArray("\x8C\x63");
    QTest::newRow("haeng") << QStringLiteral("햏") << QByteArray("\xC1\x64");
    QTest::newRow("mixed") << QStringLiteral("a똠 햏b")
                           << QByteArray("a\x8C\x63 \xC1\x64"
                                         "b");
    QTest::newRow("hanja and symbol") << QStringLiteral("漢※") << QByteArray("\xF9\xD3\xA1\xD8");
}

void TestCp949::roundTrip()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);

    QCOMPARE(Cp949::fromUnicode(text), bytes);
    QCOMPARE(Cp949::toUnicode(bytes), text);
    QCOMPARE(Cp949::byteLength(text), bytes.size());
}

void TestCp949::unencodableBecomesQuestionMark_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("emoji is one character") << QStringLiteral("a😀b") << QByteArray("a?b");
    QTest::newRow("thai") << QStringLiteral("ก가") << QByteArray("?\xB0\xA1");
    // ICU leaves these out altogether; a password or key would lose them unseen.
    QTest::newRow("zero-width space") << QStringLiteral("a\u200Bb") << QByteArray("a?b");
    QTest::newRow("direction mark") << QStringLiteral("\u200F가") << QByteArray("?\xB0\xA1");
    QTest::newRow("variation selector") << QStringLiteral("※\uFE0F") << QByteArray("\xA1\xD8?");
    QTest::newRow("byte order mark") << QStringLiteral("\uFEFFx") << QByteArray("?x");
    QTest::newRow("lone high surrogate")
            << QString(QChar(0xD800)) + QStringLiteral("a") << QByteArray("?a");
    QTest::newRow("lone low surrogate")
            << QStringLiteral("가") + QChar(0xDC00) << QByteArray("\xB0\xA1?");
}

void TestCp949::unencodableBecomesQuestionMark()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);

    QCOMPARE(Cp949::fromUnicode(text), bytes);
    QCOMPARE(Cp949::byteLength(text), bytes.size());
    const qsizetype first = Cp949::firstUnencodable(text);
    QCOMPARE(first >= 0, bytes.contains('?'));
    QCOMPARE(Cp949::fromUnicode(text.left(first)), bytes.left(bytes.indexOf('?')));
    QCOMPARE(Cp949::firstUnencodable(Cp949::toUnicode(bytes)), qsizetype(-1));
}

void TestCp949::invalidBytesBecomeReplacement_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("lead byte alone") << QByteArray("\x8C") << QStringLiteral("\uFFFD");
    QTest::newRow("lead byte at the end") << QByteArray("ab\xB0") << QStringLiteral("ab\uFFFD");
    QTest::newRow("lead byte before blank") << QByteArray("\xB0 x") << QStringLiteral("\uFFFD x");
    // The byte after a broken lead byte is a character of its own.
    QTest::newRow("lead byte before a bracket")
            << QByteArray("[Sec\xB0]") << QStringLiteral("[Sec\uFFFD]");
    QTest::newRow("lead byte before a line end")
            << QByteArray("a=\xB0\r\nb") << QStringLiteral("a=\uFFFD\r\nb");
    QTest::newRow("lead byte before a digit") << QByteArray("\xB0"
                                                            "1\xB0\xA1")
                                              << QStringLiteral("\uFFFD1가");
    QTest::newRow("broken pair among good ones")
            << QByteArray("\xB0\xA1\xB0=\xB3\xAA") << QStringLiteral("가\uFFFD=나");
    QTest::newRow("nul kept") << QByteArray("a\0b", 3)
                              << QString(QStringLiteral("a") + QChar(0) + QStringLiteral("b"));
}

void TestCp949::invalidBytesBecomeReplacement()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);

    QCOMPARE(Cp949::toUnicode(bytes), text);
}

void TestCp949::truncateToBytes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("maxBytes");
    QTest::addColumn<QString>("expected");

    QTest::newRow("fits") << QStringLiteral("가나다") << 6 << QStringLiteral("가나다");
    QTest::newRow("inside the last syllable")
            << QStringLiteral("가나다") << 5 << QStringLiteral("가나");
    QTest::newRow("odd start") << QStringLiteral("a똠햏") << 4 << QStringLiteral("a똠");
    QTest::newRow("ascii cut") << QStringLiteral("abcdef") << 4 << QStringLiteral("abcd");
    QTest::newRow("one byte for a syllable") << QStringLiteral("햏a") << 1 << QString();
    QTest::newRow("zero") << QStringLiteral("abc") << 0 << QString();
    QTest::newRow("negative") << QStringLiteral("abc") << -1 << QString();
    QTest::newRow("surrogate pair kept whole")
            << QStringLiteral("a😀b") << 2 << QStringLiteral("a😀");
    QTest::newRow("empty") << QString() << 10 << QString();
    // A character cp949 cannot hold takes the byte of its '?'.
    QTest::newRow("zero-width space counts one")
            << QStringLiteral("ab\u200Bcd") << 3 << QStringLiteral("ab\u200B");
    QTest::newRow("lone surrogate counts one")
            << QStringLiteral("가") + QChar(0xD800) + QStringLiteral("나") << 4
            << QStringLiteral("가") + QChar(0xD800);
}

void TestCp949::truncateToBytes()
{
    QFETCH(QString, text);
    QFETCH(int, maxBytes);
    QFETCH(QString, expected);

    const QString cut = Cp949::truncateToBytes(text, maxBytes);
    QCOMPARE(cut, expected);
    QVERIFY(Cp949::byteLength(cut) <= qMax(maxBytes, 0));
}

void TestCp949::cutNeverExceedsItsLimit()
{
    // Every limit on texts mixing one- and two-byte characters with ones cp949
    // cannot hold: within the limit, and one more character would not be.
    const QStringList texts = {QStringLiteral("a가\u200B나😀b\uFE0F다"),
                               QStringLiteral("\u200F\u200F가") + QChar(0xDC00)
                                       + QStringLiteral("x"),
                               QStringLiteral("똠햏ab") + QChar(0xD800)};
    for (const QString &text : texts) {
        for (int limit = 0; limit <= Cp949::byteLength(text) + 1; ++limit) {
            const QString cut = Cp949::truncateToBytes(text, limit);
            QVERIFY(text.startsWith(cut));
            QVERIFY2(Cp949::byteLength(cut) <= limit, qPrintable(QString::number(limit)));
            if (cut.size() < text.size()) {
                const qsizetype next = text.at(cut.size()).isHighSurrogate()
                                                       && cut.size() + 1 < text.size()
                                                       && text.at(cut.size() + 1).isLowSurrogate()
                                               ? 2
                                               : 1;
                QVERIFY(Cp949::byteLength(text.left(cut.size() + next)) > limit);
            }
        }
    }
}

// The encoder looks each character up once: a text of every character of the
// Basic Multilingual Plane that the converter writes (not the surrogates, not
// the ones it leaves out), in three orders, comes out as ICU's code page 949
// writes the whole text at once.
void TestCp949::everyCharacterAsTheConverterWritesIt()
{
    QStringEncoder icu("windows-949", QStringConverter::Flag::Stateless);
    QVERIFY(icu.isValid());
    QString text;
    for (char32_t c = 0x80; c <= 0xFFFF; ++c) {
        if (QChar::isSurrogate(c))
            continue;
        const QString one = QChar(char16_t(c));
        icu.resetState();
        if (!QByteArray(icu.encode(one)).isEmpty())
            text += one;
    }
    QString reversed = text;
    std::reverse(reversed.begin(), reversed.end());
    QString mixed;
    for (qsizetype i = 0; i < text.size(); ++i)
        mixed += QString(text.at(i)) + QLatin1Char(char('a' + i % 26));
    for (const QString &sample : {text, reversed, mixed}) {
        icu.resetState();
        QCOMPARE(Cp949::fromUnicode(sample), QByteArray(icu.encode(sample)));
    }
}

QTEST_GUILESS_MAIN(TestCp949)
#include "tst_cp949.moc"
