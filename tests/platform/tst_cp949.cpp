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
}

void TestCp949::unencodableBecomesQuestionMark()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);

    QCOMPARE(Cp949::fromUnicode(text), bytes);
    QCOMPARE(Cp949::byteLength(text), bytes.size());
}

void TestCp949::invalidBytesBecomeReplacement_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("lead byte alone") << QByteArray("\x8C") << QStringLiteral("\uFFFD");
    QTest::newRow("lead byte at the end") << QByteArray("ab\xB0") << QStringLiteral("ab\uFFFD");
    QTest::newRow("lead byte before blank") << QByteArray("\xB0 x") << QStringLiteral("\uFFFD x");
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

QTEST_GUILESS_MAIN(TestCp949)
#include "tst_cp949.moc"
