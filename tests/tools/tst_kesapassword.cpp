#include "common/passwordcipher.h"
#include "patience.h"
#include "platform/cp949.h"

#include <QProcess>
#include <QtTest>

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

QString toolPath()
{
    return qEnvironmentVariable("KESA_BIN_DIR") + QStringLiteral("/kesa-password");
}

Run run(const QStringList &arguments, const QByteArray &input)
{
    QProcess process;
    process.start(toolPath(), arguments);
    Run result;
    if (!process.waitForStarted(PatienceMs))
        return result;
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(PatienceMs) || process.exitStatus() != QProcess::NormalExit)
        return result;
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

const QString SecretStored = EncryptPassword(QStringLiteral("secret"), PasswordStartKey);

} // namespace

class TestKesaPassword : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void printsTheStoredForm_data();
    void printsTheStoredForm();
    void verify_data();
    void verify();
    void refuses_data();
    void refuses();
};

void TestKesaPassword::initTestCase()
{
    QVERIFY2(QFileInfo(toolPath()).isExecutable(), qPrintable(toolPath()));
}

void TestKesaPassword::printsTheStoredForm_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("password");

    QTest::newRow("LF") << QByteArray("secret\n") << "secret";
    QTest::newRow("CRLF") << QByteArray("secret\r\n") << "secret";
    QTest::newRow("no line end") << QByteArray("secret") << "secret";
    QTest::newRow("only the first line") << QByteArray("secret\nother\n") << "secret";
    QTest::newRow("blanks are part of it") << QByteArray(" se cret \n") << " se cret ";
    QTest::newRow("empty line") << QByteArray("\n") << "";
    QTest::newRow("UTF-8 Hangul") << QString("똠햏").toUtf8() + '\n' << "똠햏";
    QTest::newRow("cp949 Hangul") << QByteArray("\x8C\x63\xC1\x64\n") << "똠햏";
    QTest::newRow("16 bytes") << QByteArray("0123456789abcdef\n") << "0123456789abcdef";
}

void TestKesaPassword::printsTheStoredForm()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, password);

    const Run result = run({}, input);
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, EncryptPassword(password, PasswordStartKey).toLatin1() + '\n');
    QVERIFY(QRegularExpression(QStringLiteral("^[0-9A-F]{64}\n$"))
                    .match(QString::fromLatin1(result.out))
                    .hasMatch());
}

void TestKesaPassword::verify_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("exitCode");

    QTest::newRow("match") << SecretStored << QByteArray("secret\n") << 0;
    QTest::newRow("match, CRLF") << SecretStored << QByteArray("secret\r\n") << 0;
    QTest::newRow("lower-case stored form")
            << SecretStored.toLower() << QByteArray("secret\n") << 0;
    QTest::newRow("other password") << SecretStored << QByteArray("Secret\n") << 1;
    QTest::newRow("longer password") << SecretStored << QByteArray("secret1\n") << 1;
    QTest::newRow("empty password") << SecretStored << QByteArray("\n") << 1;
    QTest::newRow("Hangul") << EncryptPassword(QStringLiteral("똠햏"), PasswordStartKey)
                            << QString("똠햏\n").toUtf8() << 0;
    QTest::newRow("too short") << SecretStored.left(63) << QByteArray("secret\n") << 2;
    QTest::newRow("not hexadecimal")
            << QString(SecretStored).replace(5, 1, QLatin1Char('Z')) << QByteArray("secret\n") << 2;
    QTest::newRow("does not decode")
            << QStringLiteral("41").repeated(32) << QByteArray("secret\n") << 2;
    QTest::newRow("empty stored form") << QString() << QByteArray("secret\n") << 2;
}

void TestKesaPassword::verify()
{
    QFETCH(QString, stored);
    QFETCH(QByteArray, input);
    QFETCH(int, exitCode);

    const Run result = run({QStringLiteral("--verify"), stored}, input);
    QCOMPARE(result.exitCode, exitCode);
    QVERIFY(result.out.isEmpty());
    if (exitCode == 2) {
        // One line that says why.
        QVERIFY(result.err.endsWith('\n'));
        QCOMPARE(result.err.count('\n'), 1);
    } else {
        QVERIFY(result.err.isEmpty());
    }
}

void TestKesaPassword::refuses_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");

    // The stored form holds 16 bytes; a cut password would not open the database.
    QTest::newRow("17 bytes") << QStringList() << QByteArray("0123456789abcdefX\n");
    QTest::newRow("9 syllables") << QStringList() << QString("가나다라마바사아자\n").toUtf8();
    // 'é' and '😀' would both be stored as '?'; NUL would not come back.
    QTest::newRow("character cp949 cannot hold") << QStringList() << QString("café\n").toUtf8();
    QTest::newRow("emoji") << QStringList() << QString("pw😀\n").toUtf8();
    QTest::newRow("NUL") << QStringList() << QByteArray("pw\0x\n", 5);
    QTest::newRow("nothing on standard input") << QStringList() << QByteArray();
    QTest::newRow("verify without a stored form")
            << QStringList({"--verify"}) << QByteArray("secret\n");
    QTest::newRow("unknown option")
            << QStringList({"--decrypt", SecretStored}) << QByteArray("secret\n");
}

void TestKesaPassword::refuses()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);

    const Run result = run(arguments, input);
    QCOMPARE(result.exitCode, 3);
    QVERIFY(result.out.isEmpty());
    QVERIFY(!result.err.isEmpty());
}

QTEST_GUILESS_MAIN(TestKesaPassword)
#include "tst_kesapassword.moc"
