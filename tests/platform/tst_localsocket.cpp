// The local sockets of the single-instance guard and the launcher link, in
// both directions against Qt's own local sockets (what the launcher and older
// programs of the suite use).
#include "patience.h"
#include "platform/localsocket.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

class tst_LocalSocket : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void linesFromAQtClient()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("server"));
        LocalLineServer server;
        QVERIFY2(server.listen(path), qPrintable(server.errorString()));
        // Only its owner may connect.
        struct stat info = {};
        QCOMPARE(stat(QFile::encodeName(path).constData(), &info), 0);
        QVERIFY(S_ISSOCK(info.st_mode));
        QCOMPARE(info.st_mode & 0777, mode_t(0600));

        QSignalSpy lines(&server, &LocalLineServer::lineReceived);
        QLocalSocket client;
        client.connectToServer(path);
        QVERIFY(client.waitForConnected(PatienceMs));
        // A line in pieces, then two lines and the start of a third at once.
        client.write("rai");
        QVERIFY(client.waitForBytesWritten(PatienceMs));
        QTest::qWait(20);
        client.write("se\nfirst\nsecond\nunfin");
        QVERIFY(client.waitForBytesWritten(PatienceMs));
        QTRY_COMPARE_WITH_TIMEOUT(lines.count(), 3, PatienceMs);
        QCOMPARE(lines.at(0).at(0).toByteArray(), QByteArray("raise\n"));
        QCOMPARE(lines.at(1).at(0).toByteArray(), QByteArray("first\n"));
        QCOMPARE(lines.at(2).at(0).toByteArray(), QByteArray("second\n"));
        // An unfinished line is no line.
        client.disconnectFromServer();
        QTest::qWait(50);
        QCOMPARE(lines.count(), 3);

        server.close();
        QVERIFY(!QFileInfo::exists(path));
    }

    void overlongLineDropsItsClient()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("server"));
        LocalLineServer server;
        QVERIFY(server.listen(path));
        QSignalSpy lines(&server, &LocalLineServer::lineReceived);
        QLocalSocket client;
        client.connectToServer(path);
        QVERIFY(client.waitForConnected(PatienceMs));
        client.write(QByteArray(LocalLineServer::MaxLineBytes + 10, 'x'));
        client.write("\n");
        QVERIFY(client.waitForBytesWritten(PatienceMs));
        QTRY_COMPARE_WITH_TIMEOUT(client.state(), QLocalSocket::UnconnectedState, PatienceMs);
        QCOMPARE(lines.count(), 0);
        // The server goes on serving others.
        QVERIFY(LocalSocket::sendOnce(path, "next\n", 1000));
        QTRY_COMPARE_WITH_TIMEOUT(lines.count(), 1, PatienceMs);
    }

    void sendOnceToAQtServer()
    {
        // A bare name lives in the temporary folder, where Qt puts it.
        QTemporaryDir dir;
        qputenv("TMPDIR", QFile::encodeName(dir.path()));
        const QString name = QStringLiteral("kesa-test-%1").arg(QCoreApplication::applicationPid());
        QCOMPARE(LocalSocket::pathOf(name), QDir::tempPath() + QLatin1Char('/') + name);
        QVERIFY(!LocalSocket::sendOnce(name, "1924 0 0\n", 1000)); // nobody listens

        QLocalServer server;
        QVERIFY(server.listen(name));
        QVERIFY(LocalSocket::sendOnce(name, "1924 0 0\n", 1000));
        QVERIFY(server.waitForNewConnection(PatienceMs));
        QLocalSocket *socket = server.nextPendingConnection();
        QTRY_VERIFY_WITH_TIMEOUT(socket->canReadLine(), PatienceMs);
        QCOMPARE(socket->readLine(), QByteArray("1924 0 0\n"));
        qunsetenv("TMPDIR");
    }

    void refusedWhereNoSocketCanBe()
    {
        LocalLineServer server;
        QVERIFY(!server.listen(QStringLiteral("/nonexistent-folder/server")));
        QVERIFY(!server.errorString().isEmpty());
        QVERIFY(!server.listen(QLatin1Char('/') + QString(200, QLatin1Char('x'))));
        QVERIFY(!LocalSocket::sendOnce(QLatin1Char('/') + QString(200, QLatin1Char('x')),
                                       "x\n",
                                       100));
    }
};

QTEST_GUILESS_MAIN(tst_LocalSocket)
#include "tst_localsocket.moc"
