// Saves are all or nothing when the writing process dies: a writer (this
// program, started with --write) saves again and again through a client data
// set inside a transaction, and is killed with SIGKILL at random moments; and
// a PostgreSQL server stopped in the middle of a transaction makes the save
// fail with an error to its caller while nothing of it is written.
#include "db/clientdataset.h"
#include "db/database.h"
#include "db/dberror.h"
#include "db/sqlstatement.h"
#include "db/transaction.h"
#include "patience.h"
#include "testdatabase.h"

#include <csignal>
#include <cstdio>
#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QtTest>

namespace {

constexpr int RowsPerSave = 20;

QVariant scalar(const QSqlDatabase &db, const QString &sql)
{
    SqlStatement q(db, sql);
    q.open();
    return q.next() ? q.value(0) : QVariant();
}

// One save: the rows of a new save number, written by an apply, and the
// counter that names the last save, in one transaction.
void save(const QSqlDatabase &db, int number)
{
    Transaction::run(db, [&] {
        ClientDataSet data;
        data.setDatabase(db);
        data.setSql(QStringLiteral(
                "SELECT SAVE_NO, I, PAD FROM KS WHERE SAVE_NO = :P0 ORDER BY SAVE_NO, I"));
        data.setParam(QStringLiteral("P0"), number);
        data.open();
        for (int i = 0; i < RowsPerSave; ++i) {
            data.append();
            data.setValue(QStringLiteral("SAVE_NO"), number);
            data.setValue(QStringLiteral("I"), i);
            data.setValue(QStringLiteral("PAD"), QString(150, QChar(0xAC00 + i)));
        }
        data.applyUpdates();
        SqlStatement counter(db, QStringLiteral("UPDATE KC SET LAST_SAVE = :P0 WHERE ID = 1"));
        counter.bind(QStringLiteral("P0"), number);
        if (counter.exec() != 1)
            throw DbError(QStringLiteral("counter row missing"));
    });
}

int writer(const QString &alias)
{
    try {
        const QSqlDatabase db = Database::connect(alias, QString(), QString(), QStringLiteral("w"));
        int number = scalar(db, QStringLiteral("SELECT COALESCE(MAX(SAVE_NO), 0) FROM KS")).toInt();
        for (;;) {
            save(db, ++number);
            std::printf("%d\n", number);
            std::fflush(stdout);
        }
    } catch (const DbError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}

void createTables(const QSqlDatabase &db)
{
    SqlStatement(db,
                 QStringLiteral("CREATE TABLE KS (SAVE_NO INTEGER NOT NULL, I INTEGER NOT NULL, "
                                "PAD VARCHAR(600), PRIMARY KEY (SAVE_NO, I))"))
            .exec();
    SqlStatement(db, QStringLiteral("CREATE TABLE KC (ID INTEGER PRIMARY KEY, LAST_SAVE INTEGER)"))
            .exec();
    SqlStatement(db, QStringLiteral("INSERT INTO KC (ID, LAST_SAVE) VALUES (1, 0)")).exec();
}

// Every save whole or absent, and the counter at the last whole save.
void checkSaves(const QSqlDatabase &db, int reported)
{
    SqlStatement partial(db,
                         QStringLiteral("SELECT SAVE_NO, COUNT(*) FROM KS GROUP BY SAVE_NO "
                                        "HAVING COUNT(*) <> :P0"));
    partial.bind(QStringLiteral("P0"), RowsPerSave);
    partial.open();
    if (partial.next())
        QFAIL(qPrintable(QStringLiteral("save %1 has %2 rows")
                                 .arg(partial.value(0).toInt())
                                 .arg(partial.value(1).toInt())));
    // One statement, one snapshot: the server may still be committing the
    // killed writer's last save.
    SqlStatement state(db,
                       QStringLiteral("SELECT COUNT(DISTINCT SAVE_NO), COALESCE(MAX(SAVE_NO), 0), "
                                      "(SELECT LAST_SAVE FROM KC) FROM KS"));
    state.open();
    QVERIFY(state.next());
    const int saves = state.value(0).toInt();
    const int last = state.value(1).toInt();
    QCOMPARE(saves, last); // no save number lost in the middle
    QCOMPARE(state.value(2).toInt(), last);
    // A save the writer reported as done is there.
    QVERIFY2(last >= reported, qPrintable(QStringLiteral("%1 < %2").arg(last).arg(reported)));
}

QString postgresBin(const char *program)
{
    return QStringLiteral("/usr/lib/postgresql/15/bin/") + QLatin1String(program);
}

// pg_ctl as the owner of the cluster (postgres when the tests run as root).
int pgCtl(const QStringList &arguments)
{
    if (geteuid() == 0)
        return QProcess::execute(QStringLiteral("runuser"),
                                 QStringList{QStringLiteral("-u"),
                                             QStringLiteral("postgres"),
                                             QStringLiteral("--"),
                                             postgresBin("pg_ctl")}
                                         + arguments);
    return QProcess::execute(postgresBin("pg_ctl"), arguments);
}

} // namespace

class tst_KillSaves : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void killedWriterLeavesWholeSaves_data() { TestDatabase::addEngineRows(); }
    void killedWriterLeavesWholeSaves()
    {
        QFETCH(QString, engine);
        KESA_TEST_DATABASE(tdb, engine);
        createTables(tdb.db());
        QRandomGenerator random(QRandomGenerator::global()->generate());
        int reported = 0;
        for (int kill = 0; kill < 30; ++kill) {
            QProcess process;
            process.start(QCoreApplication::applicationFilePath(),
                          {QStringLiteral("--write"), tdb.alias()});
            QVERIFY(process.waitForStarted(PatienceMs));
            // Killed while it saves: after its first save, at a random moment.
            QVERIFY2(process.waitForReadyRead(PatienceMs),
                     process.readAllStandardError().constData());
            QTest::qWait(random.bounded(1, 60));
            ::kill(pid_t(process.processId()), SIGKILL);
            QVERIFY(process.waitForFinished(PatienceMs));
            QCOMPARE(process.exitStatus(), QProcess::CrashExit);
            const QList<QByteArray> lines = process.readAllStandardOutput().split('\n');
            for (const QByteArray &line : lines) {
                if (!line.trimmed().isEmpty())
                    reported = std::max(reported, line.trimmed().toInt());
            }
            checkSaves(tdb.db(), reported);
            if (QTest::currentTestFailed())
                return;
        }
        QVERIFY(reported > 30);
        if (engine == QLatin1String("sqlite"))
            QCOMPARE(scalar(tdb.db(), QStringLiteral("PRAGMA integrity_check")).toString(),
                     QStringLiteral("ok"));
    }

    // A cluster of its own, stopped while a save is under way.
    void stoppedServerFailsTheSave()
    {
        const bool required = qEnvironmentVariableIntValue("KESA_REQUIRE_PG") != 0;
        const QString script = qEnvironmentVariable("KESA_SOURCE_DIR")
                               + QStringLiteral("/scripts/pg-cluster");
        if (!QFile::exists(postgresBin("initdb")) || !QFile::exists(script)) {
            if (required)
                QFAIL("PostgreSQL 15 or scripts/pg-cluster not found");
            QSKIP("PostgreSQL 15 not installed");
        }
        QTemporaryDir parent(QStringLiteral("/tmp/kesa-pgstop-XXXXXX"));
        QFile::setPermissions(parent.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                      | QFile::ReadOther | QFile::ExeOther | QFile::ReadGroup
                                      | QFile::ExeGroup);
        const QString dir = parent.filePath(QStringLiteral("cluster"));
        const int port = 58000 + int(QCoreApplication::applicationPid() % 1500);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KESA_PG_PORT"), QString::number(port));
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
        const QStringList startServer
                = {QStringLiteral("-D"),
                   dir + QStringLiteral("/data"),
                   QStringLiteral("-l"),
                   dir + QStringLiteral("/server.log"),
                   QStringLiteral("-w"),
                   QStringLiteral("-o"),
                   QStringLiteral("-k %1 -p %2 -c listen_addresses=''").arg(dir).arg(port),
                   QStringLiteral("start")};
        {
            QSqlDatabase db = Database::connect(alias, QString(), QString(), QStringLiteral("s"));
            createTables(db);
            save(db, 1);
        }
        Database::remove(QStringLiteral("s"));

        // Stopped between the statements of a save, and just before its commit.
        for (const bool atCommit : {false, true}) {
            {
                QSqlDatabase db = Database::connect(alias,
                                                    QString(),
                                                    QString(),
                                                    QStringLiteral("s"));
                const auto stopServer = [&] {
                    QCOMPARE(pgCtl({QStringLiteral("-D"),
                                    dir + QStringLiteral("/data"),
                                    QStringLiteral("-m"),
                                    QStringLiteral("fast"),
                                    QStringLiteral("-w"),
                                    QStringLiteral("stop")}),
                             0);
                };
                bool failed = false;
                try {
                    Transaction::run(db, [&] {
                        SqlStatement(db, QStringLiteral("INSERT INTO KS (SAVE_NO, I) VALUES (2, 0)"))
                                .exec();
                        if (!atCommit)
                            stopServer();
                        SqlStatement(db, QStringLiteral("INSERT INTO KS (SAVE_NO, I) VALUES (2, 1)"))
                                .exec();
                        if (atCommit)
                            stopServer();
                    });
                } catch (const DbError &e) {
                    failed = true;
                    QVERIFY2(!e.message().isEmpty(), "the error has no text");
                    // A lost connection has no code, and no empty "()" for it.
                    QVERIFY2(!e.message().contains(QLatin1String("()")), qPrintable(e.message()));
                }
                QVERIFY2(failed, "the save reported success");
                QVERIFY(!Transaction::isActive(db));
            }
            Database::remove(QStringLiteral("s"));
            QCOMPARE(pgCtl(startServer), 0);
            QSqlDatabase db = Database::connect(alias, QString(), QString(), QStringLiteral("s"));
            QCOMPARE(scalar(db, QStringLiteral("SELECT COUNT(*) FROM KS WHERE SAVE_NO = 2")).toInt(),
                     0);
            checkSaves(db, 1);
            db = QSqlDatabase();
            Database::remove(QStringLiteral("s"));
        }
    }
};

int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--write") == 0) {
        QCoreApplication app(argc, argv);
        return writer(QString::fromLocal8Bit(argv[2]));
    }
    QCoreApplication app(argc, argv);
    tst_KillSaves test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_killsaves.moc"
