#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "framework/screenhost.h"
#include "patience.h"
#include "platform/launcherlink.h"
#include "platform/singleinstance.h"

// The single-instance guard (with a real second process of the program) and
// the launcher link. Lock files and sockets live in temporary directories of
// this test (the user's runtime directory and the temporary folder), so a
// running program is not disturbed.
class TestSingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void secondHolderIsRefusedAndRaisesTheFirst();
    void lockOfADeadProcessIsTakenOver();
    void lockOfAKilledHolderIsTakenOver();
    void everyUserHasHisOwnGuard();
    void secondProgramEndsSilently();
    void launcherMessageLine();
    void launcherAbsentSendsNothing();

private:
    QTemporaryDir m_tmp;
};

void TestSingleInstance::initTestCase()
{
    QVERIFY(m_tmp.isValid());
    qputenv("TMPDIR", QFile::encodeName(m_tmp.path()));
    QCOMPARE(QDir::tempPath(), QDir(m_tmp.path()).canonicalPath());
    QVERIFY(QDir(m_tmp.path()).mkdir(QStringLiteral("runtime")));
    QFile::setPermissions(m_tmp.filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_tmp.filePath(QStringLiteral("runtime"))));
}

void TestSingleInstance::secondHolderIsRefusedAndRaisesTheFirst()
{
    SingleInstance first(QStringLiteral("Kesa_T1"));
    QVERIFY(first.acquire());
    QSignalSpy raised(&first, &SingleInstance::activationRequested);

    SingleInstance second(QStringLiteral("Kesa_T1"));
    QVERIFY(!second.acquire());
    QVERIFY(!second.isHolder());
    QVERIFY(second.notifyHolder());
    QVERIFY(raised.wait(5000) || raised.count() == 1);
    QCOMPARE(raised.count(), 1);

    first.release();
    QVERIFY(second.acquire());
    SingleInstance third(QStringLiteral("Kesa_T1"));
    QVERIFY(!third.acquire());
    second.release();
    // Nobody listens any more: asking fails at once.
    QVERIFY(!third.notifyHolder(200));
}

void TestSingleInstance::lockOfADeadProcessIsTakenOver()
{
    // A finished process's id stands for a program that crashed holding the guard.
    QProcess dead;
    dead.start(QStringLiteral("true"));
    QVERIFY(dead.waitForStarted(PatienceMs));
    const qint64 deadPid = dead.processId();
    QVERIFY(dead.waitForFinished(PatienceMs));
    // Same lock file as a living holder writes, with the dead process's id.
    QByteArray contents;
    {
        SingleInstance living(QStringLiteral("Kesa_T2"));
        QVERIFY(living.acquire());
        QFile lock(SingleInstance::lockFilePath(QStringLiteral("Kesa_T2")));
        QVERIFY(lock.open(QIODevice::ReadOnly));
        contents = lock.readAll();
    }
    QList<QByteArray> lines = contents.split('\n');
    QCOMPARE(lines.first(), QByteArray::number(QCoreApplication::applicationPid()));
    lines[0] = QByteArray::number(deadPid);
    QFile lock(SingleInstance::lockFilePath(QStringLiteral("Kesa_T2")));
    QVERIFY(lock.open(QIODevice::WriteOnly));
    lock.write(lines.join('\n'));
    lock.close();

    SingleInstance guard(QStringLiteral("Kesa_T2"));
    QVERIFY(guard.acquire());
}

void TestSingleInstance::lockOfAKilledHolderIsTakenOver()
{
    // Another process holds the lock file (a shell that locks it with flock(1)
    // and becomes a sleep holding it); it is killed without a chance to clean up.
    const QString path = SingleInstance::lockFilePath(QStringLiteral("Kesa_T4"));
    QProcess holder;
    holder.start(QStringLiteral("sh"),
                 {QStringLiteral("-c"),
                  QStringLiteral(
                          "exec 9>>\"$0\" && flock --nonblock 9 && echo held && exec sleep 60"),
                  path});
    QVERIFY(holder.waitForReadyRead(PatienceMs));
    QCOMPARE(holder.readAllStandardOutput(), QByteArray("held\n"));

    SingleInstance guard(QStringLiteral("Kesa_T4"));
    QVERIFY(!guard.acquire());
    holder.kill();
    QVERIFY(holder.waitForFinished(PatienceMs));
    QVERIFY(QFile::exists(path));
    QVERIFY(guard.acquire());
    guard.release();
    QVERIFY(!QFile::exists(path));
}

void TestSingleInstance::everyUserHasHisOwnGuard()
{
    // Each user has his own runtime directory; the shared temporary folder
    // holds nothing of the guard.
    const QByteArray mine = qgetenv("XDG_RUNTIME_DIR");
    SingleInstance first(QStringLiteral("Kesa_T3"));
    QVERIFY(first.acquire());
    QCOMPARE(QFileInfo(SingleInstance::lockFilePath(QStringLiteral("Kesa_T3"))).absolutePath(),
             QString::fromLocal8Bit(mine));
    QVERIFY(QDir(m_tmp.path()).entryList({QStringLiteral("Kesa_T3*")}).isEmpty());

    QTemporaryDir otherRuntime;
    QVERIFY(otherRuntime.isValid());
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(otherRuntime.path()));
    SingleInstance otherUser(QStringLiteral("Kesa_T3"));
    const bool otherAcquired = otherUser.acquire();
    qputenv("XDG_RUNTIME_DIR", mine);
    QVERIFY(otherAcquired);
    QVERIFY(first.isHolder());

    // The same user's second start is still refused and raises the first.
    QSignalSpy raised(&first, &SingleInstance::activationRequested);
    SingleInstance again(QStringLiteral("Kesa_T3"));
    QVERIFY(!again.acquire());
    QVERIFY(again.notifyHolder());
    QVERIFY(raised.wait(5000) || raised.count() == 1);
}

void TestSingleInstance::secondProgramEndsSilently()
{
    const QString program = qEnvironmentVariable("KESA_BIN_DIR") + QStringLiteral("/kesa_z");
    QVERIFY2(QFile::exists(program), qPrintable(program));
    SingleInstance first(QStringLiteral("Kesa_Z"));
    QVERIFY(first.acquire());
    QSignalSpy raised(&first, &SingleInstance::activationRequested);

    // Were the second program to connect, SQLite would create this file; were it
    // to show its parameter box, it would never end.
    const QString database = m_tmp.filePath(QStringLiteral("never.db"));
    QProcess second;
    second.setProcessChannelMode(QProcess::MergedChannels);
    second.start(program,
                 {database,
                  QStringLiteral("kesa"),
                  QStringLiteral("A0001"),
                  QStringLiteral("관리자")});
    QVERIFY(second.waitForFinished(PatienceMs));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QVERIFY(raised.wait(5000) || raised.count() == 1);
    QCOMPARE(raised.count(), 1);
    QVERIFY(!QFile::exists(database));
}

void TestSingleInstance::launcherMessageLine()
{
    QLocalServer launcher;
    QVERIFY(launcher.listen(LauncherLink::serverName()));
    QCOMPARE(launcher.serverName(), QStringLiteral("Tfrm_0Main"));
    QVERIFY(LauncherLink::send(ScreenMessage::LauncherClose, 0, 0));
    QVERIFY(launcher.waitForNewConnection(PatienceMs));
    QLocalSocket *socket = launcher.nextPendingConnection();
    QTRY_VERIFY_WITH_TIMEOUT(socket->canReadLine()
                                     || socket->state() == QLocalSocket::UnconnectedState,
                             PatienceMs);
    QCOMPARE(socket->readLine(), QByteArray("1924 0 0\n"));
    QCOMPARE(LauncherLink::messageLine(1324, -1, 7), QByteArray("1324 -1 7\n"));
}

void TestSingleInstance::launcherAbsentSendsNothing()
{
    QVERIFY(!LauncherLink::send(ScreenMessage::LauncherClose));
}

QTEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
