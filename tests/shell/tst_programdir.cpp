#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

#include "patience.h"
#include "platform/programdir.h"

// The program directory is the folder of the real program file, also when the
// program is started through symbolic links (the commands on the PATH of an
// installed package). This test starts itself through links and asks the
// child for its program directory.
class TestProgramDir : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void throughSymbolicLinks();
};

void TestProgramDir::throughSymbolicLinks()
{
    const QString self = QCoreApplication::applicationFilePath();
    const QString expected = QFileInfo(self).canonicalPath() + QLatin1Char('/');
    QCOMPARE(programDirectory(), expected);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("usr/bin")));
    // An absolute link, and a relative link to it under another name.
    const QString absolute = dir.filePath(QStringLiteral("usr/bin/kesa_z"));
    QVERIFY(QFile::link(self, absolute));
    const QString relative = dir.filePath(QStringLiteral("usr/kesa"));
    QVERIFY(QFile::link(QStringLiteral("bin/kesa_z"), relative));

    for (const QString &link : {absolute, relative}) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KESA_PRINT_PROGRAM_DIR"), QStringLiteral("1"));
        child.setProcessEnvironment(env);
        child.start(link, QStringList());
        QVERIFY2(child.waitForFinished(PatienceMs), qPrintable(link));
        QCOMPARE(QString::fromLocal8Bit(child.readAllStandardOutput()), expected);
    }
}

int main(int argc, char *argv[])
{
    // The child: before any application object exists, as at start-up.
    if (qEnvironmentVariableIsSet("KESA_PRINT_PROGRAM_DIR")) {
        std::fputs(programDirectory().toLocal8Bit().constData(), stdout);
        return 0;
    }
    QCoreApplication app(argc, argv);
    TestProgramDir test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_programdir.moc"
