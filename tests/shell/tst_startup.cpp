#include <QDialogButtonBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "patience.h"
#include "shell/startup.h"
#include "testdatabase.h"

// The process entry as the launcher meets it: the command line as given, and
// Qt's own dialogs in Korean.
class TestStartup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void launchParametersAsGiven_data();
    void launchParametersAsGiven();
    void programKeepsParametersThatLookLikeQtOptions();
    void qtDialogsSpeakKorean();
};

void TestStartup::launchParametersAsGiven_data()
{
    QTest::addColumn<QByteArrayList>("argv");
    QTest::addColumn<QStringList>("parameters");
    QTest::newRow("Qt's option as the fourth")
            << QByteArrayList{"kesa_z", "x.db", "kesa", "A0001", "-reverse"}
            << QStringList{"x.db", "kesa", "A0001", "-reverse"};
    QTest::newRow("option with a value")
            << QByteArrayList{"kesa_z", "-style", "fusion"} << QStringList{"-style", "fusion"};
    QTest::newRow("Hangul name") << QByteArrayList{"kesa_z", "x.db", "kesa", "A0001", "김관리"}
                                 << QStringList{"x.db", "kesa", "A0001", "김관리"};
    QTest::newRow("program only") << QByteArrayList{"kesa_z"} << QStringList();
}

void TestStartup::launchParametersAsGiven()
{
    QFETCH(QByteArrayList, argv);
    QFETCH(QStringList, parameters);
    std::vector<const char *> raw;
    for (const QByteArray &arg : argv)
        raw.push_back(arg.constData());
    QCOMPARE(Startup::launchParameters(int(raw.size()), raw.data()), parameters);
}

void TestStartup::programKeepsParametersThatLookLikeQtOptions()
{
    // Were Qt to take "-style A0001" and "-reverse", one parameter would be
    // left: the program would show its parameter box and never show "shown".
    KESA_TEST_DATABASE(tdb, QStringLiteral("sqlite"), TestDatabase::Demo);
    tdb.db().close();
    QTemporaryDir runtime;
    QVERIFY(runtime.isValid());
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.insert(QStringLiteral("TMPDIR"), runtime.path());
    env.insert(QStringLiteral("KESA_STARTUP_PROBE"), QStringLiteral("quit"));
    program.setProcessEnvironment(env);
    program.start(qEnvironmentVariable("KESA_BIN_DIR") + QStringLiteral("/kesa_z"),
                  {tdb.alias(),
                   QStringLiteral("-style"),
                   QStringLiteral("A0001"),
                   QStringLiteral("-reverse")});
    QVERIFY(program.waitForStarted(PatienceMs));
    const bool finished = program.waitForFinished(PatienceMs);
    if (!finished)
        program.kill();
    QVERIFY2(finished, program.readAllStandardError().constData());
    QCOMPARE(program.readAllStandardOutput(), QByteArray("shown\n"));
    QCOMPARE(program.exitCode(), 0);
}

void TestStartup::qtDialogsSpeakKorean()
{
    QVERIFY2(Startup::installQtTranslations(qApp),
             "Qt's Korean translations are missing (qt6-translations-l10n)");
    QDialogButtonBox box(QDialogButtonBox::Yes | QDialogButtonBox::No | QDialogButtonBox::Save);
    QCOMPARE(box.button(QDialogButtonBox::Yes)->text(), QStringLiteral("예(&Y)"));
    QCOMPARE(box.button(QDialogButtonBox::No)->text(), QStringLiteral("아니요(&N)"));
    QCOMPARE(QCoreApplication::translate("QFileDialog", "Save As"),
             QStringLiteral("다른 이름으로 저장"));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
