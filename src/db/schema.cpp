#include "schema.h"

#include "dbengine.h"
#include "dberror.h"
#include "hardening.h"
#include "rightslog.h"
#include "routines.h"
#include "transaction.h"

#include <QDateTime>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace {

// Tables of version 1. %DATE% is a date and time to the second: TIMESTAMP(0) on
// PostgreSQL, "YYYY-MM-DD HH:MI:SS" text on SQLite (what its SYSDATE gives).
const char *const version1[] = {
        "CREATE TABLE DUAL (DUMMY VARCHAR(1))",
        "INSERT INTO DUAL (DUMMY) VALUES ('X')",
        R"(CREATE TABLE ZA010MS (
    EMP_NO VARCHAR(8) NOT NULL PRIMARY KEY,
    EMP_NAME VARCHAR(30),
    PASSWORD_CODE VARCHAR(200),
    USE_YN VARCHAR(1),
    POS_LOGIN_DATE VARCHAR(14),
    BACK_LOGIN_DATE VARCHAR(14),
    RSV_LIMIT INTEGER,
    ADMIN_YN VARCHAR(1),
    U_EMP_NO VARCHAR(8),
    U_DATE %DATE%,
    U_IP VARCHAR(15),
    MULTI_LOGIN_YN VARCHAR(1)))",
        R"(CREATE TABLE ZA010MH (
    EMP_NO VARCHAR(8) NOT NULL,
    BACKUP_DATE VARCHAR(8) NOT NULL,
    BACKUP_SEQ INTEGER NOT NULL,
    PASSWORD_CODE VARCHAR(200),
    OLD_EMP_NO VARCHAR(8),
    OLD_DATE %DATE%,
    OLD_IP VARCHAR(15),
    NEW_EMP_NO VARCHAR(8),
    NEW_DATE %DATE%,
    NEW_IP VARCHAR(15),
    PRIMARY KEY (EMP_NO, BACKUP_DATE, BACKUP_SEQ)))",
        R"(CREATE TABLE ZA020MS (
    PROJECT_ID VARCHAR(6) NOT NULL PRIMARY KEY,
    PROJECT_NAME VARCHAR(30),
    TEAM_ROLE VARCHAR(1),
    U_EMP_NO VARCHAR(8),
    U_DATE %DATE%,
    U_IP VARCHAR(15)))",
        R"(CREATE TABLE ZA030MS (
    PROJECT_ID VARCHAR(6) NOT NULL,
    PROJECT_LEVEL VARCHAR(3) NOT NULL,
    PROJECT_LEVEL_NAME VARCHAR(30),
    U_EMP_NO VARCHAR(8),
    U_DATE %DATE%,
    U_IP VARCHAR(15),
    PRIMARY KEY (PROJECT_ID, PROJECT_LEVEL)))",
        R"(CREATE TABLE ZA040MS (
    PROJECT_ID VARCHAR(6) NOT NULL,
    MENU_ID VARCHAR(2) NOT NULL,
    MENU_NAME VARCHAR(30),
    DISPLAY_SEQ INTEGER,
    U_EMP_NO VARCHAR(8),
    U_DATE %DATE%,
    U_IP VARCHAR(15),
    PRIMARY KEY (PROJECT_ID, MENU_ID)))",
        "CREATE INDEX ZA040MS_X1 ON ZA040MS (PROJECT_ID, DISPLAY_SEQ)",
        R"(CREATE TABLE ZA050MS (
    PROJECT_ID VARCHAR(6) NOT NULL,
    MENU_ID VARCHAR(2) NOT NULL,
    PROGRAM_ID VARCHAR(6) NOT NULL,
    PROGRAM_NAME VARCHAR(30),
    DISPLAY_SEQ INTEGER,
    U_EMP_NO VARCHAR(8),
    U_DATE %DATE%,
    U_IP VARCHAR(15),
    PRIMARY KEY (PROJECT_ID, MENU_ID, PROGRAM_ID)))",
        "CREATE INDEX ZA050MS_X1 ON ZA050MS (PROJECT_ID, PROGRAM_ID)",
        R"(CREATE TABLE ZA120MS (
    EMP_NO VARCHAR(8) NOT NULL,
    PROJECT_ID VARCHAR(6) NOT NULL,
    SEQ INTEGER NOT NULL,
    SAUP_CODE VARCHAR(10),
    TEAM_CODE VARCHAR(10),
    UPJANG_CODE VARCHAR(10),
    U_EMP_NO VARCHAR(8),
    U_DATE %DATE%,
    U_IP VARCHAR(15),
    PRIMARY KEY (EMP_NO, PROJECT_ID, SEQ)))",
        R"(CREATE TABLE ZA130MS (
    EMP_NO VARCHAR(8) NOT NULL,
    PROJECT_ID VARCHAR(6) NOT NULL,
    PROJECT_LEVEL VARCHAR(3),
    U_EMP_NO VARCHAR(8),
    U_DATE %DATE%,
    U_IP VARCHAR(15),
    PRIMARY KEY (EMP_NO, PROJECT_ID)))",
        "CREATE INDEX ZA130MS_X1 ON ZA130MS (PROJECT_ID, PROJECT_LEVEL)",
        R"(CREATE TABLE ZA140MS (
    PROJECT_ID VARCHAR(6) NOT NULL,
    PROJECT_LEVEL VARCHAR(3) NOT NULL,
    PROGRAM_ID VARCHAR(6) NOT NULL,
    U_EMP_NO VARCHAR(8),
    U_DATE %DATE%,
    U_IP VARCHAR(15),
    PRIMARY KEY (PROJECT_ID, PROJECT_LEVEL, PROGRAM_ID)))",
        R"(CREATE TABLE ZA150MS (
    EMP_NO VARCHAR(8) NOT NULL,
    PROJECT_ID VARCHAR(6) NOT NULL,
    PROGRAM_ID VARCHAR(6) NOT NULL,
    ADD_YN VARCHAR(1),
    U_EMP_NO VARCHAR(8),
    U_DATE %DATE%,
    U_IP VARCHAR(15),
    PRIMARY KEY (EMP_NO, PROJECT_ID, PROGRAM_ID)))",
        "CREATE INDEX ZA150MS_X1 ON ZA150MS (PROJECT_ID, PROGRAM_ID)",
        R"(CREATE TABLE ZX010MS (
    HEAD VARCHAR(5) NOT NULL,
    DETAIL VARCHAR(10) NOT NULL,
    DETAIL_NAME VARCHAR(50),
    ITEM1 VARCHAR(50),
    ITEM2 VARCHAR(50),
    ITEM3 VARCHAR(50),
    ITEM4 VARCHAR(50),
    ITEM5 VARCHAR(50),
    ITEM6 VARCHAR(50),
    ITEM7 VARCHAR(50),
    ITEM8 VARCHAR(50),
    ITEM9 VARCHAR(50),
    ITEM10 VARCHAR(50),
    ITEM11 VARCHAR(50),
    ITEM12 VARCHAR(50),
    ITEM13 VARCHAR(50),
    ITEM14 VARCHAR(50),
    ITEM15 VARCHAR(50),
    U_EMP_NO VARCHAR(8),
    U_DATE %DATE%,
    U_IP VARCHAR(15),
    PRIMARY KEY (HEAD, DETAIL)))",
        R"(CREATE TABLE ZX020MS (
    CALN_DATE VARCHAR(8) NOT NULL PRIMARY KEY,
    YOIL_CODE INTEGER,
    HOLIDAY_NAME VARCHAR(50),
    SKI_MENU_ITEM2 VARCHAR(1),
    U_EMP_NO VARCHAR(8),
    U_DATE %DATE%,
    U_IP VARCHAR(15)))",
        R"(CREATE TABLE JA010MS (
    UPJANG_CODE VARCHAR(10) NOT NULL PRIMARY KEY,
    UPJANG_NAME VARCHAR(50),
    USE_YN VARCHAR(1)))",
};

struct Version
{
    int number;
    QStringList statements;
};

QList<Version> versions(DbEngine engine)
{
    const QString date = engine == DbEngine::PostgreSQL ? QStringLiteral("TIMESTAMP(0)")
                                                        : QStringLiteral("TEXT");
    QStringList first;
    for (const char *statement : version1)
        first << QString::fromUtf8(statement).replace(QLatin1String("%DATE%"), date);
    // Version 2: the permission change log and its triggers.
    // Version 3: indexes that serve the orders of the lists read in packets, so
    // that a first packet reads its rows from the index instead of sorting the
    // whole result. SQLite places NULLs first in an index and reads "X NULLS
    // LAST" as "X IS NULL, X" (KeysetPaging), so its index holds that term.
    const bool pg = engine == DbEngine::PostgreSQL;
    const QString nullsLast = pg ? QString() : QStringLiteral("DISPLAY_SEQ IS NULL, ");
    const QStringList third = {
            // Password history: the newest first within each user.
            QStringLiteral("CREATE INDEX ZA010MH_X1 ON ZA010MH (EMP_NO, BACKUP_DATE DESC, "
                           "BACKUP_SEQ DESC)"),
            // Code lists: the heads (DETAIL = ' ') by head.
            QStringLiteral("CREATE INDEX ZX010MS_X1 ON ZX010MS (DETAIL, HEAD)"),
            // Menus and programs by display order, NULLs last.
            QStringLiteral(
                    "CREATE INDEX ZA040MS_X2 ON ZA040MS (PROJECT_ID, %1DISPLAY_SEQ, MENU_ID)")
                    .arg(nullsLast),
            QStringLiteral("CREATE INDEX ZA050MS_X2 ON ZA050MS (PROJECT_ID, MENU_ID, "
                           "%1DISPLAY_SEQ, PROGRAM_ID)")
                    .arg(nullsLast),
    };
    // Version 4: the heads' index holds the heads alone. Over every code it also
    // matched "HEAD = … ORDER BY DETAIL" (a code list's details), and PostgreSQL
    // chose it there over the primary key, testing the head in every entry.
    const QStringList fourth = {
            QStringLiteral("DROP INDEX ZX010MS_X1"),
            QStringLiteral("CREATE INDEX ZX010MS_X1 ON ZX010MS (HEAD) WHERE DETAIL = ' '"),
    };
    // Version 5: the ledger of numbered tickets and coupons, shared by every
    // workstation; the key is what stops two desks printing one number.
    const QStringList fifth = {
            QStringLiteral("CREATE TABLE ZX090LG (\n"
                           "    PROGRAM_ID VARCHAR(6) NOT NULL,\n"
                           "    LAYOUT_NAME VARCHAR(255) NOT NULL,\n"
                           "    SEQ_NO BIGINT NOT NULL,\n"
                           "    STATE VARCHAR(12) NOT NULL,\n"
                           "    EMP_NO VARCHAR(8),\n"
                           "    U_IP VARCHAR(15),\n"
                           "    U_DATE %1,\n"
                           "    PRIMARY KEY (PROGRAM_ID, LAYOUT_NAME, SEQ_NO))")
                    .arg(date),
    };
    // Version 6: the rights log names every writer and logs deletes of levels,
    // menus and programs.
    return {{1, first},
            {2, RightsLog::schemaStatements(engine)},
            {3, third},
            {4, fourth},
            {5, fifth},
            {6, RightsLog::writerStatements(engine)}};
}

void run(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql))
        throw DbError::fromSqlError(query.lastError());
}

bool hasVersionTable(const QSqlDatabase &db)
{
    return db.tables().contains(QStringLiteral("KESA_SCHEMA"), Qt::CaseInsensitive);
}

} // namespace

namespace Schema {

int currentVersion()
{
    return versions(DbEngine::SQLite).last().number;
}

int installedVersion(const QSqlDatabase &db)
{
    if (!hasVersionTable(db))
        return 0;
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT MAX(VERSION) FROM KESA_SCHEMA")))
        throw DbError::fromSqlError(query.lastError());
    return query.next() ? query.value(0).toInt() : 0;
}

void install(const QSqlDatabase &db)
{
    install(db, currentVersion());
}

void install(const QSqlDatabase &db, int upToVersion)
{
    const DbEngine engine = engineOf(db);
    if (engine == DbEngine::Other)
        throw DbError(QStringLiteral("지원하지 않는 데이터베이스입니다: %1").arg(db.driverName()));
    Transaction::run(db, [&] {
        if (engine == DbEngine::PostgreSQL)
            run(db, QStringLiteral("SET LOCAL CLIENT_MIN_MESSAGES = WARNING"));
        if (!hasVersionTable(db))
            run(db,
                QStringLiteral("CREATE TABLE KESA_SCHEMA (VERSION INTEGER NOT NULL PRIMARY KEY, "
                               "INSTALLED VARCHAR(19))"));
        const int installed = installedVersion(db);
        if (installed > currentVersion())
            throw DbError(QStringLiteral("이 프로그램보다 새 버전의 데이터베이스입니다 (버전 %1).")
                                  .arg(installed));
        // Each version not yet recorded, also one below the newest recorded:
        // versions made on different branches may have been installed out of order.
        QSet<int> recorded;
        QSqlQuery marks(db);
        if (!marks.exec(QStringLiteral("SELECT VERSION FROM KESA_SCHEMA")))
            throw DbError::fromSqlError(marks.lastError());
        while (marks.next())
            recorded.insert(marks.value(0).toInt());
        for (const Version &version : versions(engine)) {
            if (recorded.contains(version.number) || version.number > upToVersion)
                continue;
            for (const QString &statement : version.statements)
                run(db, statement);
            QSqlQuery mark(db);
            mark.prepare(
                    QStringLiteral("INSERT INTO KESA_SCHEMA (VERSION, INSTALLED) VALUES (?, ?)"));
            mark.addBindValue(version.number);
            mark.addBindValue(
                    QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
            if (!mark.exec())
                throw DbError::fromSqlError(mark.lastError());
        }
        if (engine == DbEngine::PostgreSQL) {
            for (const QString &statement : Routines::postgresScript())
                run(db, statement);
            // New tables and renewed routines of a hardened database get the
            // owner, guards and grants of the rest.
            Hardening::renew(db);
        }
    });
}

} // namespace Schema
