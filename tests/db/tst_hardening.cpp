// The server's enforcement in a hardened PostgreSQL database, tried as the
// workstations' shared role over plain SQL.

#include "db/database.h"
#include "db/dberror.h"
#include "db/demodata.h"
#include "db/hardening.h"
#include "db/schema.h"
#include "db/sqlstatement.h"
#include "patience.h"
#include "pgroles.h"
#include "testdatabase.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

namespace {

// Runs one statement; returns the server's error text, empty on success.
QString tryExec(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery query(db);
    return query.exec(sql) ? QString() : query.lastError().databaseText();
}

QString scalar(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql) || !query.next())
        return QStringLiteral("<error: %1>").arg(query.lastError().text());
    return query.value(0).toString();
}

// The suite's own owner and shared roles, for one test (declare before the
// TestDatabase).
struct Roles : PgTestRoles
{
    Roles()
        : PgTestRoles(QStringLiteral("kesa_h"))
    {}
};

struct ToolRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

// kesa-db with these arguments and this standard input (closed after it).
ToolRun kesaDb(const QStringList &args, const QByteArray &input)
{
    QProcess tool;
    tool.start(qEnvironmentVariable("KESA_BIN_DIR") + QStringLiteral("/kesa-db"), args);
    if (!tool.waitForStarted(PatienceMs))
        return {};
    tool.write(input);
    tool.closeWriteChannel();
    if (!tool.waitForFinished(PatienceMs)) {
        tool.kill();
        tool.waitForFinished(PatienceMs);
        return {};
    }
    return {tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1,
            QString::fromUtf8(tool.readAllStandardOutput()),
            QString::fromUtf8(tool.readAllStandardError())};
}

} // namespace

class tst_Hardening : public QObject
{
    Q_OBJECT

private:
    static QString rowCounts(const QSqlDatabase &db)
    {
        return scalar(db,
                      QStringLiteral("SELECT (SELECT COUNT(*) FROM ZA010MS) || '/' || (SELECT "
                                     "COUNT(*) FROM ZA130MS) || '/' || (SELECT COUNT(*) FROM "
                                     "ZA150MS) || '/' || (SELECT COUNT(*) FROM KESA_RIGHTS_LOG)"));
    }
    QString m_rows;

    // A demo database created by the shared role (as before hardening), then hardened.
    bool setUp(TestDatabase &tdb, const Roles &roles, QSqlDatabase &app)
    {
        const QSqlDatabase su = tdb.db();
        for (const QString &sql : {QStringLiteral("GRANT CREATE ON DATABASE %1 TO %2"),
                                   QStringLiteral("GRANT CREATE ON SCHEMA public TO %2 --%1")})
            if (!tryExec(su, sql.arg(su.databaseName(), roles.app)).isEmpty())
                return false;
        static int connections = 0;
        app = Database::connect(tdb.alias(),
                                roles.app,
                                QString(),
                                QStringLiteral("appDB%1").arg(++connections));
        Schema::install(app);
        DemoData::load(app, QStringLiteral("KESA"));
        m_rows = rowCounts(app);
        Hardening::apply(su, {roles.owner, roles.app});
        return true;
    }

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariable("KESA_TEST_PG_SERVICE").isEmpty()) {
            if (!qEnvironmentVariable("KESA_REQUIRE_PG").isEmpty())
                QFAIL("PostgreSQL is required");
            QSKIP("PostgreSQL: KESA_TEST_PG_SERVICE is not set");
        }
    }

    // The shared role: rows kept, no schema changes, no trigger switched off,
    // no write to the owner's tables; an unproven write is refused, a proven
    // employee without the table's program is refused, an administrator passes
    // and the log names him.
    void sharedRole()
    {
        Roles roles;
        KESA_TEST_DATABASE(tdb, QStringLiteral("postgresql"), TestDatabase::Empty);
        QSqlDatabase app;
        QVERIFY(setUp(tdb, roles, app));
        QVERIFY(Hardening::isHardened(app));
        QCOMPARE(rowCounts(app), m_rows);
        QCOMPARE(scalar(app,
                        QStringLiteral(
                                "SELECT TABLEOWNER FROM PG_TABLES WHERE TABLENAME = 'za130ms'")),
                 roles.owner);

        const QString write = QStringLiteral("UPDATE ZA130MS SET PROJECT_LEVEL = '10' WHERE EMP_NO "
                                             "= 'E1001' AND PROJECT_ID = 'KESA_Z'");
        for (const QString &sql :
             {QStringLiteral("ALTER TABLE ZA130MS DISABLE TRIGGER ZA130MS_GUARD"),
              QStringLiteral("ALTER TABLE ZA130MS DISABLE TRIGGER ALL"),
              QStringLiteral("DROP TRIGGER ZA130MS_GUARD ON ZA130MS"),
              QStringLiteral("SET SESSION_REPLICATION_ROLE = REPLICA"),
              QStringLiteral("CREATE TABLE X (A INTEGER)"),
              QStringLiteral(
                      "INSERT INTO KESA_SESSION VALUES (PG_BACKEND_PID(), KESA_BACKEND_START(), "
                      "'A0001', NOW())"),
              QStringLiteral("DELETE FROM KESA_RIGHTS_LOG"),
              QStringLiteral("UPDATE KESA_SECURITY SET LOCK_FAILURES = 1000"),
              QStringLiteral("CREATE OR REPLACE FUNCTION KESA_SESSION_EMP() RETURNS VARCHAR "
                             "LANGUAGE SQL AS 'SELECT ''A0001''::VARCHAR'"),
              write})
            QVERIFY2(!tryExec(app, sql).isEmpty(), qPrintable(sql));
        QVERIFY(tryExec(app, write).contains(QStringLiteral("본인 확인")));
        // Reads stay open; the launcher's login dates too.
        QCOMPARE(scalar(app, QStringLiteral("SELECT COUNT(*) FROM ZA130MS")),
                 m_rows.section(QLatin1Char('/'), 1, 1));
        QCOMPARE(tryExec(app,
                         QStringLiteral("UPDATE ZA010MS SET BACK_LOGIN_DATE = '20250101120000' "
                                        "WHERE EMP_NO = 'A0001'")),
                 QString());
        // A temporary table of the session does not stand in for the owner's.
        QCOMPARE(tryExec(app,
                         QStringLiteral("CREATE TEMP TABLE KESA_SESSION AS SELECT PG_BACKEND_PID() "
                                        "PID, KESA_BACKEND_START() BACKEND_START, 'A0001'::VARCHAR "
                                        "EMP_NO")),
                 QString());
        QVERIFY(!tryExec(app, write).isEmpty());

        QCOMPARE(Hardening::verify(app, QStringLiteral("E1001"), QStringLiteral("E1001")),
                 Hardening::Verdict::Verified);
        QCOMPARE(Hardening::verifiedEmployee(app), QStringLiteral("E1001"));
        QVERIFY(tryExec(app, write).contains(QStringLiteral("ZAI130")));
        // His own password, and nothing else of his own row.
        QCOMPARE(tryExec(app,
                         QStringLiteral("UPDATE ZA010MS SET PASSWORD_CODE = FN_ZA010MS_01('new', "
                                        "'RoTa') WHERE EMP_NO = 'E1001'")),
                 QString());
        QVERIFY(!tryExec(app,
                         QStringLiteral("UPDATE ZA010MS SET ADMIN_YN = 'Y' WHERE EMP_NO = 'E1001'"))
                         .isEmpty());
        QVERIFY(!tryExec(app,
                         QStringLiteral(
                                 "UPDATE ZA010MS SET PASSWORD_CODE = NULL WHERE EMP_NO = 'A0001'"))
                         .isEmpty());

        QCOMPARE(Hardening::verify(app, QStringLiteral("A0001"), QStringLiteral("A0001")),
                 Hardening::Verdict::Verified);
        // The session claims another writer; the log and the row take the proven one.
        QCOMPARE(tryExec(app, QStringLiteral("SELECT SET_CONFIG('kesa.writer', 'E1002', FALSE)")),
                 QString());
        QCOMPARE(tryExec(app, write), QString());
        QCOMPARE(scalar(app,
                        QStringLiteral(
                                "SELECT WRITER_EMP_NO || '/' || DB_USER FROM KESA_RIGHTS_LOG "
                                "ORDER BY LOG_SEQ DESC LIMIT 1")),
                 QStringLiteral("A0001/") + roles.app);
        QCOMPARE(scalar(app,
                        QStringLiteral("SELECT U_EMP_NO FROM ZA130MS WHERE EMP_NO = 'E1001' AND "
                                       "PROJECT_ID = 'KESA_Z'")),
                 QStringLiteral("A0001"));

        // The owner writes without proving anyone, logged as himself.
        QSqlDatabase owner = Database::connect(tdb.alias(),
                                               roles.owner,
                                               QString(),
                                               QStringLiteral("ownerDB") + roles.owner);
        QCOMPARE(tryExec(owner, QStringLiteral("DELETE FROM ZA150MS WHERE EMP_NO = 'E1002'")),
                 QString());
        QCOMPARE(scalar(app,
                        QStringLiteral("SELECT COALESCE(WRITER_EMP_NO, '-') || '/' || DB_USER FROM "
                                       "KESA_RIGHTS_LOG ORDER BY LOG_SEQ DESC LIMIT 1")),
                 QStringLiteral("-/") + roles.owner);

        // Hardening again and upgrading keep everything as it is.
        Hardening::apply(tdb.db(), {roles.owner, roles.app});
        Schema::install(tdb.db());
        QVERIFY(!tryExec(app, QStringLiteral("ALTER TABLE ZA130MS DISABLE TRIGGER ALL")).isEmpty());
        QCOMPARE(scalar(app, QStringLiteral("SELECT COUNT(*) FROM ZA130MS")),
                 m_rows.section(QLatin1Char('/'), 1, 1));
    }

    // A proof belongs to its server process and that process's start: a later
    // connection given the same process number proves nothing.
    void reusedProcessNumber()
    {
        Roles roles;
        KESA_TEST_DATABASE(tdb, QStringLiteral("postgresql"), TestDatabase::Empty);
        QSqlDatabase app;
        QVERIFY(setUp(tdb, roles, app));
        const QString pid = scalar(app, QStringLiteral("SELECT PG_BACKEND_PID()"));
        QCOMPARE(tryExec(tdb.db(),
                         QStringLiteral("INSERT INTO KESA_SESSION VALUES (%1, "
                                        "CLOCK_TIMESTAMP() - INTERVAL '1 hour', 'A0001', NOW())")
                                 .arg(pid)),
                 QString());
        QCOMPARE(Hardening::verifiedEmployee(app), QString());
    }

    // Five wrong passwords lock the employee out, the right one included,
    // until the time has passed; every attempt is logged; a rolled back
    // attempt still counts and cannot be made inside a transaction.
    void lockout()
    {
        Roles roles;
        KESA_TEST_DATABASE(tdb, QStringLiteral("postgresql"), TestDatabase::Empty);
        QSqlDatabase app;
        QVERIFY(setUp(tdb, roles, app));
        QCOMPARE(Hardening::verify(app, QStringLiteral("A0001"), QStringLiteral("nope")),
                 Hardening::Verdict::Refused);
        QCOMPARE(Hardening::verify(app, QStringLiteral("UNKNOWN"), QStringLiteral("x")),
                 Hardening::Verdict::Refused);
        QCOMPARE(tryExec(app, QStringLiteral("BEGIN")), QString());
        QVERIFY(!tryExec(app, QStringLiteral("CALL KESA_VERIFY('A0001', 'A0001')")).isEmpty());
        QCOMPARE(tryExec(app, QStringLiteral("ROLLBACK")), QString());
        // The steps called alone: the answer comes only after the attempt is committed.
        QCOMPARE(tryExec(app, QStringLiteral("BEGIN")), QString());
        QCOMPARE(tryExec(app, QStringLiteral("SELECT KESA_VERIFY_ATTEMPT('A0001', 'guess')")),
                 QString());
        QVERIFY(!tryExec(app, QStringLiteral("SELECT KESA_VERIFY_FINISH()")).isEmpty());
        QCOMPARE(tryExec(app, QStringLiteral("ROLLBACK")), QString());
        for (int i = 0; i < 4; ++i)
            QCOMPARE(Hardening::verify(app, QStringLiteral("A0001"), QStringLiteral("bad")),
                     Hardening::Verdict::Refused);
        QCOMPARE(Hardening::verify(app, QStringLiteral("A0001"), QStringLiteral("A0001")),
                 Hardening::Verdict::Locked);
        QCOMPARE(Hardening::verifiedEmployee(app), QString());
        QCOMPARE(scalar(tdb.db(),
                        QStringLiteral("SELECT STRING_AGG(RESULT, '' ORDER BY LOG_SEQ) FROM "
                                       "KESA_LOGIN_LOG WHERE EMP_NO = 'A0001'")),
                 QStringLiteral("NNNNNL"));
        // Another employee is not locked.
        QCOMPARE(Hardening::verify(app, QStringLiteral("E1001"), QStringLiteral("E1001")),
                 Hardening::Verdict::Verified);

        QCOMPARE(tryExec(tdb.db(),
                         QStringLiteral("UPDATE KESA_SECURITY SET LOCK_SECONDS = 1; UPDATE "
                                        "KESA_LOGIN_FAIL SET LOCKED_UNTIL = CLOCK_TIMESTAMP() "
                                        "+ INTERVAL '1 second' WHERE EMP_NO = 'A0001'")),
                 QString());
        QTRY_COMPARE_WITH_TIMEOUT(Hardening::verify(app,
                                                    QStringLiteral("A0001"),
                                                    QStringLiteral("A0001")),
                                  Hardening::Verdict::Verified,
                                  PatienceMs);
        QCOMPARE(Hardening::verifiedEmployee(app), QStringLiteral("A0001"));
    }

    // kesa-db's writing verbs as the shared role: the employee of --by proves
    // himself with the password on standard input before anything is written,
    // and the server still asks for his rights; the owner needs no one.
    void toolWritesAsProvenEmployee()
    {
        Roles roles;
        KESA_TEST_DATABASE(tdb, QStringLiteral("postgresql"), TestDatabase::Empty);
        QSqlDatabase app;
        QVERIFY(setUp(tdb, roles, app));
        QCOMPARE(tryExec(tdb.db(),
                         QStringLiteral("INSERT INTO KESA_LOGIN_FAIL VALUES ('E1002', 5, "
                                        "CLOCK_TIMESTAMP() + INTERVAL '1 hour')")),
                 QString());
        const QStringList copy{QStringLiteral("copy-rights"),
                               tdb.alias(),
                               QStringLiteral("E1001"),
                               QStringLiteral("E1002"),
                               QStringLiteral("KESA_G"),
                               QStringLiteral("-u"),
                               roles.app};
        const QStringList holidays{QStringLiteral("holidays"),
                                   tdb.alias(),
                                   QStringLiteral("2027"),
                                   QStringLiteral("--write"),
                                   QStringLiteral("-u"),
                                   roles.app};
        const QString by = QStringLiteral("--by");
        const QString written = QStringLiteral(
                "SELECT (SELECT COUNT(*) FROM KESA_RIGHTS_LOG) || '/' || (SELECT COUNT(*) FROM "
                "ZX010MS WHERE HEAD = 'Z0013' AND DETAIL LIKE '2027%')");
        const QString attempts = QStringLiteral(
                "SELECT COALESCE(STRING_AGG(EMP_NO || RESULT, ' ' ORDER BY LOG_SEQ), '') FROM "
                "KESA_LOGIN_LOG");
        const QString nothing = scalar(app, written);
        const QString lastLog = scalar(app,
                                       QStringLiteral("SELECT MAX(LOG_SEQ) FROM KESA_RIGHTS_LOG"));

        struct Refusal
        {
            QStringList args;
            QByteArray input;
            int exitCode;
            QString says;
        };
        const QList<Refusal> refusals{
                {copy, "A0001\n", 2, by},
                {copy + QStringList{by, QStringLiteral("A0001")},
                 "wrong\n",
                 1,
                 QStringLiteral("본인 확인에 실패")},
                {copy + QStringList{by, QStringLiteral("A0001")},
                 "",
                 1,
                 QStringLiteral("비밀번호가 표준 입력에 없습니다")},
                {copy + QStringList{by, QStringLiteral("E1002")},
                 "E1002\n",
                 1,
                 QStringLiteral("잠겨")},
                // Proven, but without the program that writes ZA130MS.
                {copy + QStringList{by, QStringLiteral("E1001")},
                 "E1001\n",
                 1,
                 QStringLiteral("ZAI130")},
                {holidays + QStringList{by, QStringLiteral("A0001")},
                 "nope\n",
                 1,
                 QStringLiteral("본인 확인에 실패")},
        };
        for (const Refusal &refusal : refusals) {
            const ToolRun run = kesaDb(refusal.args, refusal.input);
            QVERIFY2(run.exitCode == refusal.exitCode && run.err.contains(refusal.says),
                     qPrintable(refusal.args.join(QLatin1Char(' ')) + QStringLiteral(" → ")
                                + QString::number(run.exitCode) + QLatin1Char(' ') + run.err));
            QCOMPARE(scalar(app, written), nothing);
        }
        // An empty line is no try; each other one is logged.
        QCOMPARE(scalar(app, attempts), QStringLiteral("A0001N E1002L E1001Y A0001N"));

        ToolRun run = kesaDb(copy + QStringList{by, QStringLiteral("A0001")}, "A0001\n");
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(scalar(app,
                        QStringLiteral("SELECT STRING_AGG(DISTINCT WRITER_EMP_NO || '/' || "
                                       "WRITER_KIND, ',') FROM KESA_RIGHTS_LOG WHERE LOG_SEQ "
                                       "> ")
                                + lastLog),
                 QStringLiteral("A0001/P"));
        run = kesaDb(holidays + QStringList{by, QStringLiteral("A0001")}, "A0001\n");
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(scalar(app,
                        QStringLiteral("SELECT STRING_AGG(DISTINCT U_EMP_NO, ',') FROM ZX010MS "
                                       "WHERE HEAD = 'Z0013' AND DETAIL LIKE '2027%'")),
                 QStringLiteral("A0001"));

        // The owner writes without anyone's password; standard input is not read.
        const QStringList asOwner{QStringLiteral("copy-rights"),
                                  tdb.alias(),
                                  QStringLiteral("E1002"),
                                  QStringLiteral("E1001"),
                                  QStringLiteral("KESA_G"),
                                  QStringLiteral("-u"),
                                  roles.owner};
        run = kesaDb(asOwner, QByteArray());
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    }
};

QTEST_GUILESS_MAIN(tst_Hardening)
#include "tst_hardening.moc"
