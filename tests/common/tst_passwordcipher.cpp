#include "common/passwordcipher.h"
#include "platform/cp949.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtTest>

namespace {

bool isStoredForm(const QString &stored)
{
    static const QRegularExpression form(QStringLiteral("^[0-9A-F]{64}$"));
    return form.match(stored).hasMatch();
}

} // namespace

class TestPasswordCipher : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void keepsSixteenBytes_data();
    void keepsSixteenBytes();
    void shortPasswordsShareTheTail_data();
    void shortPasswordsShareTheTail();
    void lowerCaseDigitsDecode();
    void knownStoredValues_data();
    void knownStoredValues();
    void undecodable_data();
    void undecodable();
    void anyInputDecodesOrIsUndecodable();
    void refusedCharacters_data();
    void refusedCharacters();
};

void TestPasswordCipher::roundTrip_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<quint16>("key");

    QTest::newRow("empty") << QString() << PasswordStartKey;
    QTest::newRow("one byte") << "a" << PasswordStartKey;
    QTest::newRow("word") << "KSUSER01" << PasswordStartKey;
    QTest::newRow("blanks at both ends") << " pa ss " << PasswordStartKey;
    QTest::newRow("symbols") << "p@$$w0rd!=;[]" << PasswordStartKey;
    QTest::newRow("16 bytes") << "0123456789abcdef" << PasswordStartKey;
    QTest::newRow("Hangul beyond EUC-KR") << "똠햏" << PasswordStartKey;
    QTest::newRow("8 syllables, 16 bytes") << "가나다라마바사아" << PasswordStartKey;
    QTest::newRow("mixed") << "a똠1햏" << PasswordStartKey;
    QTest::newRow("key 0") << "secret" << quint16(0);
    QTest::newRow("key 65535") << "secret" << quint16(65535);
}

void TestPasswordCipher::roundTrip()
{
    QFETCH(QString, password);
    QFETCH(quint16, key);

    const QString stored = EncryptPassword(password, key);
    QVERIFY2(isStoredForm(stored), qPrintable(stored));
    QCOMPARE(EncryptPassword(password, key), stored);
    const std::optional<QString> decoded = DecryptPassword(stored, key);
    QVERIFY(decoded.has_value());
    QCOMPARE(*decoded, password);
}

void TestPasswordCipher::keepsSixteenBytes_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("kept");

    QTest::newRow("17 bytes") << "0123456789abcdefX"
                              << "0123456789abcdef";
    QTest::newRow("32 bytes") << "0123456789abcdef0123456789ABCDEF"
                              << "0123456789abcdef";
    QTest::newRow("9 syllables") << "가나다라마바사아자"
                                 << "가나다라마바사아";
    // Byte 16 would be the first half of a syllable: the whole syllable goes.
    QTest::newRow("syllable across byte 16") << "a가나다라마바사아"
                                             << "a가나다라마바사";
}

void TestPasswordCipher::keepsSixteenBytes()
{
    QFETCH(QString, password);
    QFETCH(QString, kept);

    const QString stored = EncryptPassword(password, PasswordStartKey);
    QVERIFY(isStoredForm(stored));
    QCOMPARE(DecryptPassword(stored, PasswordStartKey), std::optional<QString>(kept));
    QCOMPARE(stored, EncryptPassword(kept, PasswordStartKey));
}

void TestPasswordCipher::shortPasswordsShareTheTail_data()
{
    QTest::addColumn<QString>("password");

    QTest::newRow("empty") << QString();
    QTest::newRow("1 byte") << "x";
    QTest::newRow("8 bytes") << "abcdefgh";
    QTest::newRow("4 syllables") << "똠햏가나";
}

void TestPasswordCipher::shortPasswordsShareTheTail()
{
    QFETCH(QString, password);

    // Digits 33 to 64 encode padding blanks only, whatever the key.
    const QString tail = EncryptPassword(QString(), PasswordStartKey).mid(32);
    QCOMPARE(EncryptPassword(password, PasswordStartKey).mid(32), tail);
    QCOMPARE(EncryptPassword(password, 1234).mid(32), tail);
}

void TestPasswordCipher::lowerCaseDigitsDecode()
{
    const QString stored = EncryptPassword(QStringLiteral("Kesa2004"), PasswordStartKey);
    QCOMPARE(DecryptPassword(stored.toLower(), PasswordStartKey),
             std::optional<QString>(QStringLiteral("Kesa2004")));
}

void TestPasswordCipher::knownStoredValues_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("stored");

    // Values already written to workstations' settings files: they must keep decoding.
    QTest::newRow("empty") << ""
                           << "0F1B0315091E011218060D1F00140B1A04111D0816020E1907131C0C1705100A";
    QTest::newRow("secret") << "secret"
                            << "1F3318361D4414293D2B204200140B1A04111D0816020E1907131C0C1705100A";
    QTest::newRow("Hangul") << "비밀번호똠"
                            << "322C162A213722262F27214321391D3C2926311D16020E1907131C0C1705100A";
}

void TestPasswordCipher::knownStoredValues()
{
    QFETCH(QString, password);
    QFETCH(QString, stored);

    QCOMPARE(EncryptPassword(password, PasswordStartKey), stored);
    QCOMPARE(DecryptPassword(stored, PasswordStartKey), std::optional<QString>(password));
}

void TestPasswordCipher::undecodable_data()
{
    QTest::addColumn<QString>("stored");

    const QString valid = EncryptPassword(QStringLiteral("secret"), PasswordStartKey);
    QTest::newRow("empty") << QString();
    QTest::newRow("63 digits") << valid.left(63);
    QTest::newRow("65 digits") << valid + QLatin1Char('0');
    QTest::newRow("not a digit") << QString(valid).replace(10, 1, QLatin1Char('G'));
    QTest::newRow("inner blank") << QString(valid).replace(10, 1, QLatin1Char(' '));
    QTest::newRow("surrounding blanks") << QLatin1Char(' ') + valid.left(62) + QLatin1Char(' ');
    QTest::newRow("0x prefix") << QStringLiteral("0x") + valid.left(62);
    QTest::newRow("full-width digit") << QString(valid).replace(0, 1, QChar(0xFF11));
    QTest::newRow("Hangul") << QString(64, QChar(0xAC00));
    // Well formed, but what it unpads to is no hexadecimal text.
    QTest::newRow("inner text not hexadecimal") << QStringLiteral("41").repeated(32);
}

void TestPasswordCipher::undecodable()
{
    QFETCH(QString, stored);

    QCOMPARE(DecryptPassword(stored, PasswordStartKey), std::nullopt);
}

void TestPasswordCipher::anyInputDecodesOrIsUndecodable()
{
    // Damaged settings files: whatever the value, the answer is a password
    // that encrypts back to a value decoding to itself, or undecodable.
    QRandomGenerator random(20040105);
    const QString hexDigits = QStringLiteral("0123456789ABCDEFabcdef");
    for (int i = 0; i < 3000; ++i) {
        QString stored;
        const int length = i % 3 == 0 ? random.bounded(70) : 64;
        for (int c = 0; c < length; ++c) {
            stored += i % 5 == 0 ? QChar(char16_t(random.bounded(1, 0xD7FF)))
                                 : hexDigits.at(random.bounded(int(hexDigits.size())));
        }
        const std::optional<QString> decoded = DecryptPassword(stored, PasswordStartKey);
        if (!decoded)
            continue;
        QVERIFY(Cp949::byteLength(*decoded) <= 16);
        const QString again = EncryptPassword(*decoded, PasswordStartKey);
        QCOMPARE(DecryptPassword(again, PasswordStartKey), decoded);
    }
}

void TestPasswordCipher::refusedCharacters_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("refused");
    QTest::addColumn<QString>("message");

    const QString prefix = QStringLiteral("암호에 사용할 수 없는 문자가 있습니다: ");
    QTest::newRow("Hangul and symbols") << QStringLiteral("똠햏 p@$$;'") << QString() << QString();
    QTest::newRow("accent") << QStringLiteral("caf\u00E9") << QStringLiteral("\u00E9")
                            << prefix + QStringLiteral("'é' (U+00E9)");
    QTest::newRow("emoji, a surrogate pair") << QStringLiteral("a😀b") << QStringLiteral("😀")
                                             << prefix + QStringLiteral("'😀' (U+1F600)");
    QTest::newRow("zero-width space") << QStringLiteral("a\u200Bb") << QStringLiteral("\u200B")
                                      << prefix + QStringLiteral("U+200B");
    QTest::newRow("NUL") << QString(QStringLiteral("ab") + QChar(0)) << QString(QChar(0))
                         << prefix + QStringLiteral("U+0000");
    QTest::newRow("lone surrogate") << QString(QChar(0xDC00)) << QString(QChar(0xDC00))
                                    << prefix + QStringLiteral("U+DC00");
    QTest::newRow("the first of two")
            << QString(QStringLiteral("\u00E9") + QChar(0)) << QStringLiteral("\u00E9")
            << prefix + QStringLiteral("'é' (U+00E9)");
}

void TestPasswordCipher::refusedCharacters()
{
    QFETCH(QString, password);
    QFETCH(QString, refused);
    QFETCH(QString, message);

    QCOMPARE(refusedPasswordCharacter(password), refused);
    QCOMPARE(refusedPasswordCharacterMessage(refused), message);
    // Every password that is not refused comes back from its stored form.
    if (refused.isEmpty())
        QCOMPARE(DecryptPassword(EncryptPassword(password, PasswordStartKey), PasswordStartKey),
                 password);
    else
        QVERIFY(DecryptPassword(EncryptPassword(password, PasswordStartKey), PasswordStartKey)
                != password);
}

QTEST_GUILESS_MAIN(TestPasswordCipher)
#include "tst_passwordcipher.moc"
