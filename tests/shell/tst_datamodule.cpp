#include "common/loginvalues.h"
#include "common/passwordcipher.h"
#include "db/database.h"
#include "db/dberror.h"
#include "db/rightslog.h"
#include "db/sqlstatement.h"
#include "platform/inifile.h"
#include "recordingmessageservice.h"
#include "shell/ZZD000.h"
#include "testdatabase.h"

#include <QDir>
#include <QProcess>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QtTest>

static const QString NotAlone = QStringLiteral(
        "이 프로그램은 단독으로 실행되지 않습니다.\r메인 프로그램(Kesa.exe)으로 실행하십시오.");
static const QString CannotConnect = QStringLiteral(
        "데이터베이스와 연결할 수 없습니다.\r\r에러내용:\r");
static const QString TooMany = QStringLiteral(
        "현재 너무 많은 사용자가 사용 중이므로 연결할 수 없습니다.\r잠시 후 다시 시도하십시오.");

class tst_DataModule : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A wrong number of parameters: one box, the employee values as far as
    // given, and no attempt to connect (which would show a second box).
    void launchContract_data()
    {
        QTest::addColumn<QStringList>("parameters");
        QTest::addColumn<QString>("empNo");
        QTest::addColumn<QString>("empName");
        QTest::newRow("none") << QStringList() << QString() << QString();
        QTest::newRow("three") << QStringList{"/nowhere/x.db", "kesa", "A0001"}
                               << QStringLiteral("A0001") << QString();
        QTest::newRow("five") << QStringList{"/nowhere/x.db", "kesa", "A0001", "김관리", "extra"}
                              << QStringLiteral("A0001") << QStringLiteral("김관리");
    }
    void launchContract()
    {
        QFETCH(QStringList, parameters);
        QFETCH(QString, empNo);
        QFETCH(QString, empName);
        RecordingMessageService messages;
        TfrmZZD000 module(parameters);
        QCOMPARE(messages.allTexts(), QStringList{NotAlone});
        QCOMPARE(messages.texts(RecordingMessageService::Error), QStringList{NotAlone});
        QVERIFY(module.terminateRequested());
        QVERIFY(!module.isConnected());
        QVERIFY(!QSqlDatabase::contains(QStringLiteral("dbsDB")));
        QCOMPARE(login().empNo, empNo);
        QCOMPARE(login().empName, empName);
        QVERIFY(login().programDir.endsWith(QLatin1Char('/')));
        QVERIFY(module.qryQuery && module.qryQuery2 && module.prcProc);
    }

    void readConnectionPassword_data()
    {
        QTest::addColumn<bool>("writeFile");
        QTest::addColumn<QString>("pass");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no file") << false << QString() << QStringLiteral("Kesa_User");
        QTest::newRow("empty") << true << QString() << QStringLiteral("Kesa_User");
        QTest::newRow("not hex") << true << QStringLiteral("damaged!")
                                 << QStringLiteral("Kesa_User");
        QTest::newRow("short hex") << true << QStringLiteral("0A1B") << QStringLiteral("Kesa_User");
        QTest::newRow("stored") << true
                                << EncryptPassword(QStringLiteral("s3cret"), PasswordStartKey)
                                << QStringLiteral("s3cret");
    }
    void readConnectionPassword()
    {
        QFETCH(bool, writeFile);
        QFETCH(QString, pass);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        if (writeFile) {
            IniFile ini(dir.filePath(QStringLiteral("ZEDavoro.ini")));
            QVERIFY(ini.writeString(QStringLiteral("PROGRAM"), QStringLiteral("PASS"), pass));
        }
        QCOMPARE(TfrmZZD000::ReadConnectionPassword(dir.path(), QStringLiteral("Kesa_User")),
                 expected);
    }

    void connectsAndDisconnects_data() { TestDatabase::addEngineRows(); }
    void connectsAndDisconnects()
    {
        QFETCH(QString, engine);
        QString alias;
        {
            KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo, QStringLiteral("fixture"));
            alias = tdb.alias();
            RecordingMessageService messages;
            {
                TfrmZZD000 module(
                        {alias, QString(), QStringLiteral("E1001"), QStringLiteral("이영희")});
                QVERIFY2(module.isConnected(),
                         qPrintable(messages.allTexts().join(QLatin1Char('\n'))));
                QCOMPARE(module.dbsDB.connectionName(), QStringLiteral("dbsDB"));
                QVERIFY(module.ConnectDatabase());
                module.qryQuery->setSql(
                        QStringLiteral("SELECT EMP_NAME FROM ZA010MS WHERE EMP_NO = :P0"));
                module.qryQuery->bind(QStringLiteral("P0"), login().empNo);
                module.qryQuery->open();
                QVERIFY(module.qryQuery->next());
                QCOMPARE(module.qryQuery->value(0).toString(), QStringLiteral("이영희"));
                module.qryQuery->close();
                // The program names its login employee as the writer of every
                // change of rights, deletes too; plain SQL of another session is
                // marked as such.
                module.qryQuery->setSql(QStringLiteral(
                        "DELETE FROM ZA150MS WHERE EMP_NO = 'E1001' AND PROGRAM_ID = 'ZXB000'"));
                module.qryQuery->exec();
                SqlStatement(tdb.db(),
                             QStringLiteral("DELETE FROM ZA150MS WHERE EMP_NO = 'E1001' AND "
                                            "PROGRAM_ID = 'ZXS095'"))
                        .exec();
                const QList<RightsLog::Entry> log = RightsLog::read(tdb.db(), QString(), QString());
                QVERIFY(log.size() >= 2);
                const RightsLog::Entry &byProgram = log.at(log.size() - 2);
                QCOMPARE(byProgram.action, QStringLiteral("D"));
                QCOMPARE(byProgram.writerEmpNo, QStringLiteral("E1001"));
                QVERIFY(byProgram.declared);
                QCOMPARE(log.last().writerEmpNo, QString());
                QVERIFY(!log.last().declared);
                QVERIFY(!module.terminateRequested());
            }
            QVERIFY(!QSqlDatabase::contains(QStringLiteral("dbsDB")));
            QVERIFY(messages.entries.isEmpty());
        }
    }

    // Every failed connection shows the connection box with the reason, and no
    // file is created on the way: a missing SQLite file is made by kesa-db only.
    void failedConnection_data()
    {
        QTest::addColumn<QString>("alias");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing file")
                << QStringLiteral("%DIR%/kesa.db") << QStringLiteral("%DIR%/kesa.db");
        QTest::newRow("missing folder")
                << QStringLiteral("/nowhere/kesa.db") << QStringLiteral("/nowhere/kesa.db");
        QTest::newRow("text file")
                << QStringLiteral("%DIR%/text.db") << QStringLiteral("%DIR%/text.db");
        QTest::newRow("directory")
                << QStringLiteral("sqlite:%DIR%/folder.db") << QStringLiteral("%DIR%/folder.db");
        QTest::newRow("sqlite without path") << QStringLiteral("sqlite:") << QStringLiteral("경로");
        QTest::newRow("unknown service") << QStringLiteral("kesa_no_such_service") << QString();
        QTest::newRow("bad uri") << QStringLiteral("postgresql://[::1") << QString();
        // A port number that happens to be the too-many-sessions code is no refusal of the server.
        QTest::newRow("refused on port 53300")
                << QStringLiteral("postgresql://kesa@127.0.0.1:53300/kesa?connect_timeout=2")
                << QStringLiteral("53300");
    }
    void failedConnection()
    {
        QFETCH(QString, alias);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.db")));
        QFile text(dir.filePath(QStringLiteral("text.db")));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("this is no database\n");
        text.close();
        alias.replace(QLatin1String("%DIR%"), dir.path());
        reason.replace(QLatin1String("%DIR%"), dir.path());
        const QStringList before = QDir(dir.path())
                                           .entryList(QDir::NoDotAndDotDot | QDir::AllEntries);

        RecordingMessageService messages;
        TfrmZZD000 module(
                {alias, QStringLiteral("kesa"), QStringLiteral("A0001"), QStringLiteral("김")});
        QVERIFY(!module.isConnected());
        QCOMPARE(messages.entries.size(), 1);
        const QString shown = messages.entries.first().text;
        QVERIFY2(shown.startsWith(CannotConnect) && shown.size() > CannotConnect.size(),
                 qPrintable(shown));
        QVERIFY2(shown.contains(reason), qPrintable(shown));
        // An error without a code has no empty "()".
        QVERIFY2(!shown.contains(QLatin1String("()")), qPrintable(shown));
        QVERIFY(!module.ConnectDatabase());
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), before);
        QCOMPARE(QFileInfo(text).size(), qint64(20));
    }

    // Only the server's own messages for its session limit count.
    void tooManySessionsText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("tooMany");
        QTest::newRow("clients") << QStringLiteral(
                "connection to server on socket \"/tmp/.s.PGSQL.5432\" failed: FATAL:  sorry, too "
                "many clients already")
                                 << true;
        QTest::newRow("reserved") << QStringLiteral(
                "connection to server at \"db\" (10.0.0.1), port 5432 failed: FATAL:  remaining "
                "connection slots are reserved for non-replication superuser connections")
                                  << true;
        QTest::newRow("role") << QStringLiteral("FATAL:  too many connections for role \"kesa\"")
                              << true;
        QTest::newRow("port 53300") << QStringLiteral(
                "connection to server at \"127.0.0.1\", port 53300 failed: Connection refused")
                                    << false;
        QTest::newRow("code in text") << QStringLiteral("ERROR: 53300 too many clients") << false;
    }
    void tooManySessionsText()
    {
        QFETCH(QString, text);
        QFETCH(bool, tooMany);
        QCOMPARE(Database::isTooManySessions(text), tooMany);
    }

    // A cluster of its own with four session slots, all taken.
    void tooManySessions()
    {
        const bool required = qEnvironmentVariableIntValue("KESA_REQUIRE_PG") != 0;
        const QString script = qEnvironmentVariable("KESA_SOURCE_DIR")
                               + QStringLiteral("/scripts/pg-cluster");
        if (!QFile::exists(QStringLiteral("/usr/lib/postgresql/15/bin/initdb"))
            || !QFile::exists(script)) {
            if (required)
                QFAIL("PostgreSQL 15 or scripts/pg-cluster not found");
            QSKIP("PostgreSQL 15 not installed");
        }
        QTemporaryDir parent(QStringLiteral("/tmp/kesa-pgmax-XXXXXX"));
        // The server runs as the user postgres when the tests run as root.
        QFile::setPermissions(parent.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                      | QFile::ReadOther | QFile::ExeOther | QFile::ReadGroup
                                      | QFile::ExeGroup);
        const QString dir = parent.filePath(QStringLiteral("cluster"));
        const int port = 56000 + int(QCoreApplication::applicationPid() % 2000);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KESA_PG_PORT"), QString::number(port));
        env.insert(QStringLiteral("KESA_PG_MAX_CONNECTIONS"), QStringLiteral("4"));
        QProcess start;
        start.setProcessEnvironment(env);
        start.start(script, {QStringLiteral("start"), dir});
        QVERIFY(start.waitForFinished(120000));
        const auto stop = qScopeGuard([&] {
            QProcess::execute(script, {QStringLiteral("stop"), dir});
        });
        QVERIFY2(start.exitCode() == 0, start.readAllStandardError().constData());

        const QString alias = QStringLiteral("postgresql:///postgres?host=%1&port=%2&user=postgres")
                                      .arg(dir)
                                      .arg(port);
        QStringList held;
        for (int i = 0; i < 8; ++i) {
            const QString name = QStringLiteral("held%1").arg(i);
            try {
                Database::connect(alias, QString(), QString(), name);
                held << name;
            } catch (const DbError &e) {
                QVERIFY2(Database::isTooManySessions(e.message()), qPrintable(e.message()));
                QCOMPARE(e.code(), QStringLiteral("53300"));
                Database::remove(name);
                break;
            }
        }
        QVERIFY(!held.isEmpty() && held.size() < 8);
        {
            RecordingMessageService messages;
            TfrmZZD000 module({alias,
                               QStringLiteral("postgres"),
                               QStringLiteral("A0001"),
                               QStringLiteral("김")});
            QVERIFY(!module.isConnected());
            QCOMPARE(messages.allTexts(), QStringList{TooMany});
        }
        for (const QString &name : std::as_const(held))
            Database::remove(name);
    }
};

QTEST_MAIN(tst_DataModule)
#include "tst_datamodule.moc"
