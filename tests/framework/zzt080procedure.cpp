#include "zzt080procedure.h"

#include "db/dbengine.h"
#include "db/dberror.h"
#include "db/procedureregistry.h"
#include "db/sqlstatement.h"

namespace {

void run(const QSqlDatabase &db, const QString &sql)
{
    SqlStatement statement(db, sql);
    statement.exec();
}

// The parameters in another order than the columns: they are matched by name.
const QStringList parameters{QStringLiteral("AEDITSTATUS"),
                             QStringLiteral("ACODE"),
                             QStringLiteral("AQTY"),
                             QStringLiteral("ANAME"),
                             QStringLiteral("AU_EMP_NO"),
                             QStringLiteral("AU_IP")};

void sqliteBody(const QSqlDatabase &db, const QVariantList &arguments)
{
    const QString status = arguments.value(0).toString();
    const QString code = arguments.value(1).toString();
    const QString qty = arguments.value(2).toString();
    const QString name = arguments.value(3).toString();
    SqlStatement log(db,
                     QStringLiteral(
                             "INSERT INTO ZT080LG (SEQ, STATUS, CODE, NAME, QTY, EMP_NO, IP) "
                             "SELECT COALESCE(MAX(SEQ), 0) + 1, :P0, :P1, :P2, :P3, :P4, :P5 "
                             "FROM ZT080LG"));
    const QVariantList logged{status, code, name, qty, arguments.value(4), arguments.value(5)};
    for (int i = 0; i < logged.size(); ++i)
        log.bind(QStringLiteral("P%1").arg(i), logged.at(i));
    log.exec();
    if (name == QLatin1String("FAIL"))
        throw DbError(QStringLiteral("저장할 수 없는 이름입니다: FAIL (P0001)"),
                      QStringLiteral("P0001"));
    QString sql;
    if (status == QLatin1String("2"))
        sql = QStringLiteral("INSERT INTO ZT080MS (CODE, NAME, QTY) VALUES (:P0, :P1, :P2)");
    else if (status == QLatin1String("1"))
        sql = QStringLiteral("UPDATE ZT080MS SET NAME = :P1, QTY = :P2 WHERE CODE = :P0");
    else
        sql = QStringLiteral("DELETE FROM ZT080MS WHERE CODE = :P0");
    SqlStatement write(db, sql);
    write.bind(QStringLiteral("P0"), code);
    if (status != QLatin1String("3")) {
        write.bind(QStringLiteral("P1"), name);
        write.bind(QStringLiteral("P2"), qty.isEmpty() ? QVariant() : QVariant(qty.toInt()));
    }
    write.exec();
}

} // namespace

namespace Zzt080 {

void install(const QSqlDatabase &db)
{
    run(db,
        QStringLiteral("CREATE TABLE ZT080MS (CODE VARCHAR(6) NOT NULL PRIMARY KEY, "
                       "NAME VARCHAR(40), QTY INTEGER, NOTE VARCHAR(20))"));
    run(db,
        QStringLiteral("CREATE TABLE ZT080LG (SEQ INTEGER NOT NULL, STATUS VARCHAR(1), "
                       "CODE VARCHAR(6), NAME VARCHAR(40), QTY VARCHAR(20), EMP_NO VARCHAR(10), "
                       "IP VARCHAR(20))"));
    if (engineOf(db) == DbEngine::PostgreSQL) {
        run(db, QStringLiteral(R"(CREATE OR REPLACE PROCEDURE PR_TEST080(AEDITSTATUS VARCHAR,
    ACODE VARCHAR, AQTY VARCHAR, ANAME VARCHAR, AU_EMP_NO VARCHAR, AU_IP VARCHAR)
LANGUAGE PLPGSQL AS $BODY$
BEGIN
    INSERT INTO ZT080LG (SEQ, STATUS, CODE, NAME, QTY, EMP_NO, IP)
    SELECT COALESCE(MAX(SEQ), 0) + 1, AEDITSTATUS, ACODE, ANAME, AQTY, AU_EMP_NO, AU_IP
      FROM ZT080LG;
    IF ANAME = 'FAIL' THEN
        RAISE EXCEPTION '저장할 수 없는 이름입니다: %', ANAME;
    END IF;
    IF AEDITSTATUS = '2' THEN
        INSERT INTO ZT080MS (CODE, NAME, QTY) VALUES (ACODE, ANAME, CAST(AQTY AS INTEGER));
    ELSIF AEDITSTATUS = '1' THEN
        UPDATE ZT080MS SET NAME = ANAME, QTY = CAST(AQTY AS INTEGER) WHERE CODE = ACODE;
    ELSE
        DELETE FROM ZT080MS WHERE CODE = ACODE;
    END IF;
END
$BODY$)"));
    } else {
        ProcedureRegistry::add(QStringLiteral("PR_TEST080"), parameters, sqliteBody);
    }
}

void addRow(const QSqlDatabase &db,
            const QString &code,
            const QString &name,
            int qty,
            const QString &note)
{
    SqlStatement insert(db,
                        QStringLiteral("INSERT INTO ZT080MS (CODE, NAME, QTY, NOTE) "
                                       "VALUES (:P0, :P1, :P2, :P3)"));
    insert.bind(QStringLiteral("P0"), code);
    insert.bind(QStringLiteral("P1"), name);
    insert.bind(QStringLiteral("P2"), qty);
    insert.bind(QStringLiteral("P3"), note);
    insert.exec();
}

} // namespace Zzt080
