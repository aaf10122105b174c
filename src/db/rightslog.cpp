#include "rightslog.h"

#include "dbengine.h"
#include "schema.h"
#include "sqlstatement.h"

namespace {

// One logged table: the columns that identify the subject, the columns whose
// values the log keeps, and (for users) the only column whose change counts.
struct Logged
{
    const char *table;
    const char *empNo;   // column of the employee, or nullptr
    QStringList values;  // recorded as COL='value' (NULL unquoted)
    const char *watched; // updates are logged only when this changes; nullptr = always
};

QList<Logged> loggedTables()
{
    return {
            {"ZA010MS", "EMP_NO", {QStringLiteral("EMP_NO"), QStringLiteral("ADMIN_YN")}, "ADMIN_YN"},
            {"ZA130MS",
             "EMP_NO",
             {QStringLiteral("EMP_NO"),
              QStringLiteral("PROJECT_ID"),
              QStringLiteral("PROJECT_LEVEL")},
             nullptr},
            {"ZA140MS",
             nullptr,
             {QStringLiteral("PROJECT_ID"),
              QStringLiteral("PROJECT_LEVEL"),
              QStringLiteral("PROGRAM_ID")},
             nullptr},
            {"ZA150MS",
             "EMP_NO",
             {QStringLiteral("EMP_NO"),
              QStringLiteral("PROJECT_ID"),
              QStringLiteral("PROGRAM_ID"),
              QStringLiteral("ADD_YN")},
             nullptr},
    };
}

// "COL='v' COL2=NULL" of the row OLD or NEW, as an SQL expression both engines evaluate.
QString rowText(const QStringList &values, const QString &row)
{
    QStringList parts;
    for (const QString &column : values)
        parts << QStringLiteral("'%1=' || COALESCE('''' || %2.%1 || '''', 'NULL')").arg(column, row);
    return parts.join(QStringLiteral(" || ' ' || "));
}

QString columnOf(const char *column, const QString &row)
{
    return column ? row + QLatin1Char('.') + QLatin1String(column) : QStringLiteral("NULL");
}

// The INSERT into the log for one action; row = the row that carries the subject.
QString logInsert(const Logged &t, DbEngine engine, const QString &action)
{
    const bool deleted = action == QLatin1String("D");
    const QString row = deleted ? QStringLiteral("OLD") : QStringLiteral("NEW");
    const QString time = engine == DbEngine::PostgreSQL
                                 ? QStringLiteral("PG_CATALOG.TO_CHAR(CLOCK_TIMESTAMP(), "
                                                  "'YYYY-MM-DD HH24:MI:SS')")
                                 : QStringLiteral(
                                         "STRFTIME('%Y-%m-%d %H:%M:%S', 'now', 'localtime')");
    const QString dbUser = engine == DbEngine::PostgreSQL ? QStringLiteral("SESSION_USER")
                                                          : QStringLiteral("NULL");
    return QStringLiteral("INSERT INTO KESA_RIGHTS_LOG (LOG_TIME, TABLE_NAME, ACTION, EMP_NO, "
                          "PROJECT_ID, OLD_VALUE, NEW_VALUE, WRITER_EMP_NO, WRITER_IP, DB_USER) "
                          "VALUES (%1, '%2', '%3', %4, %5, %6, %7, %8, %9, %10)")
            .arg(time,
                 QLatin1String(t.table),
                 action,
                 columnOf(t.empNo, row),
                 t.values.contains(QStringLiteral("PROJECT_ID"))
                         ? row + QStringLiteral(".PROJECT_ID")
                         : QStringLiteral("NULL"),
                 action == QLatin1String("I") ? QStringLiteral("NULL")
                                              : rowText(t.values, QStringLiteral("OLD")),
                 deleted ? QStringLiteral("NULL") : rowText(t.values, QStringLiteral("NEW")),
                 deleted ? QStringLiteral("NULL") : QStringLiteral("NEW.U_EMP_NO"),
                 deleted ? QStringLiteral("NULL") : QStringLiteral("NEW.U_IP"))
            .arg(dbUser);
}

// Version 6: every row names its writer. A session of this program or of its
// tools declares its employee (setWriter()): PostgreSQL keeps it in the
// session's setting kesa.writer, which the trigger functions read; SQLite has
// no such thing shared with a trigger stored in the file, so the declaring
// connection adds a temporary trigger of its own that completes each log row it
// causes. Rows without a declared writer (plain SQL of other modules) are
// marked 'S' and keep the database user (PostgreSQL) and the row's U_EMP_NO.
struct Logged6
{
    const char *table;
    const char *empNo;
    const char *level; // column of the project level, or nullptr
    QStringList values;
    const char *watched; // updates logged only when this changes; nullptr = always
    bool inserts;
    bool updates;
};

QList<Logged6> loggedTables6()
{
    const QString p = QStringLiteral("PROJECT_ID");
    return {
            {"ZA010MS",
             "EMP_NO",
             nullptr,
             {QStringLiteral("EMP_NO"), QStringLiteral("ADMIN_YN")},
             "ADMIN_YN",
             true,
             true},
            {"ZA130MS",
             "EMP_NO",
             "PROJECT_LEVEL",
             {QStringLiteral("EMP_NO"), p, QStringLiteral("PROJECT_LEVEL")},
             nullptr,
             true,
             true},
            {"ZA140MS",
             nullptr,
             "PROJECT_LEVEL",
             {p, QStringLiteral("PROJECT_LEVEL"), QStringLiteral("PROGRAM_ID")},
             nullptr,
             true,
             true},
            {"ZA150MS",
             "EMP_NO",
             nullptr,
             {QStringLiteral("EMP_NO"), p, QStringLiteral("PROGRAM_ID"), QStringLiteral("ADD_YN")},
             nullptr,
             true,
             true},
            // Deletes and display orders of levels, menus and programs change
            // the rights of everyone who has them.
            {"ZA030MS",
             nullptr,
             "PROJECT_LEVEL",
             {p, QStringLiteral("PROJECT_LEVEL")},
             nullptr,
             false,
             false},
            {"ZA040MS",
             nullptr,
             nullptr,
             {p, QStringLiteral("MENU_ID"), QStringLiteral("DISPLAY_SEQ")},
             "DISPLAY_SEQ",
             false,
             true},
            {"ZA050MS",
             nullptr,
             nullptr,
             {p,
              QStringLiteral("MENU_ID"),
              QStringLiteral("PROGRAM_ID"),
              QStringLiteral("DISPLAY_SEQ")},
             "DISPLAY_SEQ",
             false,
             true},
    };
}

QString settingWriter()
{
    return QStringLiteral("NULLIF(PG_CATALOG.CURRENT_SETTING('kesa.writer', TRUE), '')");
}

// declaredWriter: the SQL of the writer the session declared (PostgreSQL).
QString logInsert6(const Logged6 &t,
                   DbEngine engine,
                   const QString &action,
                   const QString &declaredWriter = QString())
{
    const bool pg = engine == DbEngine::PostgreSQL;
    const bool deleted = action == QLatin1String("D");
    const QString row = deleted ? QStringLiteral("OLD") : QStringLiteral("NEW");
    const QString time = pg ? QStringLiteral("PG_CATALOG.TO_CHAR(CLOCK_TIMESTAMP(), "
                                             "'YYYY-MM-DD HH24:MI:SS')")
                            : QStringLiteral("STRFTIME('%Y-%m-%d %H:%M:%S', 'now', 'localtime')");
    // The row's own audit columns: the claim of a writer that declared nobody.
    const QString rowWriter = deleted ? QStringLiteral("NULL") : QStringLiteral("NEW.U_EMP_NO");
    const QString rowIp = deleted ? QStringLiteral("NULL") : QStringLiteral("NEW.U_IP");
    QString writer = rowWriter;
    QString ip = rowIp;
    QString kind = QStringLiteral("'S'");
    QString dbUser = QStringLiteral("NULL");
    if (pg) {
        const QString declared = declaredWriter.isEmpty() ? settingWriter() : declaredWriter;
        writer = QStringLiteral("COALESCE(%1, %2)").arg(declared, rowWriter);
        ip = QStringLiteral("CASE WHEN %1 IS NULL THEN %2 ELSE COALESCE(NULLIF("
                            "PG_CATALOG.CURRENT_SETTING('kesa.writer_ip', TRUE), ''), %2) END")
                     .arg(declared, rowIp);
        kind = QStringLiteral("CASE WHEN %1 IS NULL THEN 'S' ELSE 'P' END").arg(declared);
        dbUser = QStringLiteral("SESSION_USER");
    }
    const auto column = [&](const char *name) {
        return name ? row + QLatin1Char('.') + QLatin1String(name) : QStringLiteral("NULL");
    };
    return QStringLiteral("INSERT INTO KESA_RIGHTS_LOG (LOG_TIME, TABLE_NAME, ACTION, EMP_NO, "
                          "PROJECT_ID, PROJECT_LEVEL, OLD_VALUE, NEW_VALUE, WRITER_EMP_NO, "
                          "WRITER_IP, WRITER_KIND, DB_USER) "
                          "VALUES (%1, '%2', '%3', %4, %5, %6, %7, %8, %9, %10, %11, %12)")
            .arg(time,
                 QLatin1String(t.table),
                 action,
                 column(t.empNo),
                 column(t.values.contains(QStringLiteral("PROJECT_ID")) ? "PROJECT_ID" : nullptr),
                 column(t.level),
                 action == QLatin1String("I") ? QStringLiteral("NULL")
                                              : rowText(t.values, QStringLiteral("OLD")),
                 deleted ? QStringLiteral("NULL") : rowText(t.values, QStringLiteral("NEW")),
                 writer)
            .arg(ip, kind, dbUser);
}

QStringList logEvents6(const Logged6 &t)
{
    QStringList events{QStringLiteral("DELETE")};
    if (t.updates)
        events.prepend(QStringLiteral("UPDATE"));
    if (t.inserts)
        events.prepend(QStringLiteral("INSERT"));
    return events;
}

// The PostgreSQL trigger function of one table; searchPath: its SET SEARCH_PATH.
QString logFunction6(const Logged6 &t, const QString &declared, const QString &searchPath)
{
    const DbEngine engine = DbEngine::PostgreSQL;
    const QString table = QLatin1String(t.table);
    const QString watched = t.watched ? QLatin1String(t.watched) : QString();
    QString body;
    if (t.inserts)
        body += QStringLiteral("    IF TG_OP = 'INSERT' THEN\n        %1;\n    END IF;\n")
                        .arg(logInsert6(t, engine, QStringLiteral("I"), declared));
    if (t.updates)
        body += QStringLiteral("    IF TG_OP = 'UPDATE' AND %1 THEN\n        %2;\n"
                               "    END IF;\n")
                        .arg(watched.isEmpty()
                                     ? QStringLiteral("TRUE")
                                     : QStringLiteral("OLD.%1 IS DISTINCT FROM NEW.%1").arg(watched),
                             logInsert6(t, engine, QStringLiteral("U"), declared));
    body += QStringLiteral("    IF TG_OP = 'DELETE' THEN\n        %1;\n    END IF;\n")
                    .arg(logInsert6(t, engine, QStringLiteral("D"), declared));
    return QStringLiteral("CREATE OR REPLACE FUNCTION KESA_LOG_%1() RETURNS TRIGGER "
                          "LANGUAGE PLPGSQL SECURITY DEFINER SET SEARCH_PATH %2 AS "
                          "$BODY$\nBEGIN\n%3    RETURN NULL;\nEND\n$BODY$")
            .arg(table, searchPath, body);
}

} // namespace

namespace RightsLog {

QStringList schemaStatements(DbEngine engine)
{
    const bool pg = engine == DbEngine::PostgreSQL;
    QStringList statements;
    statements << QStringLiteral("CREATE TABLE KESA_RIGHTS_LOG (LOG_SEQ %1, "
                                 "LOG_TIME VARCHAR(19) NOT NULL, TABLE_NAME VARCHAR(8) NOT NULL, "
                                 "ACTION VARCHAR(1) NOT NULL, EMP_NO VARCHAR(8), "
                                 "PROJECT_ID VARCHAR(6), OLD_VALUE VARCHAR(200), "
                                 "NEW_VALUE VARCHAR(200), WRITER_EMP_NO VARCHAR(8), "
                                 "WRITER_IP VARCHAR(15), DB_USER VARCHAR(63))")
                          .arg(pg ? QStringLiteral("BIGINT GENERATED BY DEFAULT AS IDENTITY "
                                                   "PRIMARY KEY")
                                  : QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT"));
    statements << QStringLiteral("CREATE INDEX KESA_RIGHTS_LOG_X1 ON KESA_RIGHTS_LOG (EMP_NO)");
    for (const Logged &t : loggedTables()) {
        const QString table = QLatin1String(t.table);
        const QString changed = t.watched ? QStringLiteral("OLD.%1 IS DISTINCT FROM NEW.%1")
                                                    .arg(QLatin1String(t.watched))
                                          : QString();
        if (pg) {
            // SECURITY DEFINER: a writer of another module needs no right on the log.
            statements << QStringLiteral(
                                  "CREATE OR REPLACE FUNCTION KESA_LOG_%1() RETURNS TRIGGER "
                                  "LANGUAGE PLPGSQL SECURITY DEFINER SET SEARCH_PATH FROM CURRENT "
                                  "AS $BODY$\nBEGIN\n"
                                  "    IF TG_OP = 'INSERT' THEN\n        %2;\n"
                                  "    ELSIF TG_OP = 'UPDATE' THEN\n        IF %3 THEN\n"
                                  "            %4;\n        END IF;\n"
                                  "    ELSE\n        %5;\n    END IF;\n"
                                  "    RETURN NULL;\nEND\n$BODY$")
                                  .arg(table,
                                       logInsert(t, engine, QStringLiteral("I")),
                                       t.watched ? changed : QStringLiteral("TRUE"),
                                       logInsert(t, engine, QStringLiteral("U")),
                                       logInsert(t, engine, QStringLiteral("D")));
            statements << QStringLiteral("CREATE TRIGGER %1_LOG AFTER INSERT OR UPDATE OR DELETE "
                                         "ON %1 FOR EACH ROW EXECUTE FUNCTION KESA_LOG_%1()")
                                  .arg(table);
        } else {
            const QString when = t.watched ? QStringLiteral(" WHEN OLD.%1 IS NOT NEW.%1")
                                                     .arg(QLatin1String(t.watched))
                                           : QString();
            const QList<std::pair<QString, QString>> events
                    = {{QStringLiteral("I"), QStringLiteral("INSERT")},
                       {QStringLiteral("U"), QStringLiteral("UPDATE")},
                       {QStringLiteral("D"), QStringLiteral("DELETE")}};
            for (const auto &[action, event] : events)
                statements << QStringLiteral(
                                      "CREATE TRIGGER %1_LOG_%2 AFTER %3 ON %1 FOR EACH ROW%4 "
                                      "BEGIN %5; END")
                                      .arg(table,
                                           action,
                                           event,
                                           action == QLatin1String("U") ? when : QString(),
                                           logInsert(t, engine, action));
        }
    }
    return statements;
}

QStringList writerStatements(DbEngine engine)
{
    const bool pg = engine == DbEngine::PostgreSQL;
    QStringList statements;
    statements << QStringLiteral("ALTER TABLE KESA_RIGHTS_LOG ADD COLUMN PROJECT_LEVEL VARCHAR(3)")
               << QStringLiteral("ALTER TABLE KESA_RIGHTS_LOG ADD COLUMN WRITER_KIND VARCHAR(1)")
               << QStringLiteral("CREATE INDEX KESA_RIGHTS_LOG_X2 ON KESA_RIGHTS_LOG "
                                 "(PROJECT_ID, PROJECT_LEVEL)");
    for (const Logged6 &t : loggedTables6()) {
        const QString table = QLatin1String(t.table);
        const QString watched = t.watched ? QLatin1String(t.watched) : QString();
        if (pg) {
            statements << QStringLiteral("DROP TRIGGER IF EXISTS %1_LOG ON %1").arg(table)
                       << logFunction6(t, settingWriter(), QStringLiteral("FROM CURRENT"))
                       << QStringLiteral("CREATE TRIGGER %1_LOG AFTER %2 ON %1 FOR EACH ROW "
                                         "EXECUTE FUNCTION KESA_LOG_%1()")
                                  .arg(table, logEvents6(t).join(QStringLiteral(" OR ")));
        } else {
            QList<std::pair<QString, QString>> events;
            if (t.inserts)
                events.append({QStringLiteral("I"), QStringLiteral("INSERT")});
            if (t.updates)
                events.append({QStringLiteral("U"), QStringLiteral("UPDATE")});
            events.append({QStringLiteral("D"), QStringLiteral("DELETE")});
            for (const char *action : {"I", "U", "D"})
                statements << QStringLiteral("DROP TRIGGER IF EXISTS %1_LOG_%2")
                                      .arg(table, QLatin1String(action));
            for (const auto &[action, event] : events)
                statements << QStringLiteral(
                                      "CREATE TRIGGER %1_LOG_%2 AFTER %3 ON %1 FOR EACH ROW%4 "
                                      "BEGIN %5; END")
                                      .arg(table,
                                           action,
                                           event,
                                           action == QLatin1String("U") && !watched.isEmpty()
                                                   ? QStringLiteral(" WHEN OLD.%1 IS NOT NEW.%1")
                                                             .arg(watched)
                                                   : QString(),
                                           logInsert6(t, engine, action));
        }
    }
    return statements;
}

QStringList hardenedFunctions(const QString &declared, const QString &searchPath)
{
    QStringList statements;
    for (const Logged6 &t : loggedTables6())
        statements << logFunction6(t, declared, searchPath);
    return statements;
}

void setWriter(const QSqlDatabase &db, const QString &empNo, const QString &ip)
{
    setWriterAndRead(db, empNo, ip, QString());
}

QVariant setWriterAndRead(const QSqlDatabase &db,
                          const QString &empNo,
                          const QString &ip,
                          const QString &expression)
{
    if (Schema::installedVersion(db) < 6)
        return QVariant();
    if (engineOf(db) == DbEngine::PostgreSQL) {
        // Outside any transaction: a rolled back set_config() would be undone.
        SqlStatement set(db,
                         QStringLiteral("SELECT PG_CATALOG.SET_CONFIG('kesa.writer', "
                                        "COALESCE(CAST(:P0 AS VARCHAR(8)), ''), FALSE), "
                                        "PG_CATALOG.SET_CONFIG('kesa.writer_ip', "
                                        "COALESCE(CAST(:P1 AS VARCHAR(15)), ''), FALSE)")
                                 + (expression.isEmpty() ? QString()
                                                         : QStringLiteral(", ") + expression));
        set.bind(QStringLiteral("P0"), empNo);
        set.bind(QStringLiteral("P1"), ip);
        set.open();
        if (expression.isEmpty() || !set.next())
            return QVariant();
        return set.value(2);
    }
    for (const QString &sql :
         {QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS KESA_WRITER (EMP_NO VARCHAR(8), "
                         "IP VARCHAR(15))"),
          QStringLiteral("DELETE FROM TEMP.KESA_WRITER"),
          QStringLiteral("DROP TRIGGER IF EXISTS TEMP.KESA_RIGHTS_LOG_WRITER")})
        SqlStatement(db, sql).exec();
    if (empNo.isEmpty())
        return QVariant();
    SqlStatement insert(db,
                        QStringLiteral(
                                "INSERT INTO TEMP.KESA_WRITER (EMP_NO, IP) VALUES (:P0, :P1)"));
    insert.bind(QStringLiteral("P0"), empNo);
    insert.bind(QStringLiteral("P1"), ip);
    insert.exec();
    SqlStatement(db,
                 QStringLiteral("CREATE TEMP TRIGGER KESA_RIGHTS_LOG_WRITER AFTER INSERT ON "
                                "MAIN.KESA_RIGHTS_LOG BEGIN UPDATE KESA_RIGHTS_LOG SET "
                                "WRITER_EMP_NO = (SELECT EMP_NO FROM KESA_WRITER), "
                                "WRITER_IP = COALESCE((SELECT IP FROM KESA_WRITER), WRITER_IP), "
                                "WRITER_KIND = 'P' "
                                "WHERE LOG_SEQ = NEW.LOG_SEQ; END"))
            .exec();
    return QVariant();
}

QList<Entry> read(const QSqlDatabase &db, const QString &since, const QString &empNo)
{
    SqlStatement query(db,
                       // An employee's changes: his own rows, and the
                       // changes of the levels he holds or held.
                       QStringLiteral(
                               "SELECT LOG_SEQ, LOG_TIME, TABLE_NAME, ACTION, EMP_NO, "
                               "PROJECT_ID, OLD_VALUE, NEW_VALUE, WRITER_EMP_NO, "
                               "WRITER_IP, DB_USER, WRITER_KIND FROM KESA_RIGHTS_LOG L "
                               "WHERE (CAST(:P0 AS VARCHAR(19)) IS NULL OR LOG_TIME >= :P0) "
                               "AND (CAST(:P1 AS VARCHAR(8)) IS NULL OR EMP_NO = :P1 "
                               "OR (EMP_NO IS NULL AND PROJECT_LEVEL IS NOT NULL AND ("
                               "EXISTS (SELECT 1 FROM ZA130MS U WHERE U.EMP_NO = :P1 AND "
                               "U.PROJECT_ID = L.PROJECT_ID AND U.PROJECT_LEVEL = L.PROJECT_LEVEL) "
                               "OR EXISTS (SELECT 1 FROM KESA_RIGHTS_LOG H WHERE H.EMP_NO = :P1 "
                               "AND H.TABLE_NAME = 'ZA130MS' AND H.PROJECT_ID = L.PROJECT_ID AND "
                               "H.PROJECT_LEVEL = L.PROJECT_LEVEL)))) "
                               "ORDER BY LOG_SEQ"));
    query.bind(QStringLiteral("P0"), since);
    query.bind(QStringLiteral("P1"), empNo);
    query.open();
    QList<Entry> entries;
    while (query.next()) {
        Entry e;
        e.seq = query.value(0).toLongLong();
        e.time = query.value(1).toString();
        e.table = query.value(2).toString();
        e.action = query.value(3).toString();
        e.empNo = query.value(4).toString();
        e.projectId = query.value(5).toString();
        e.oldValue = query.value(6).toString();
        e.newValue = query.value(7).toString();
        e.writerEmpNo = query.value(8).toString();
        e.writerIp = query.value(9).toString();
        e.dbUser = query.value(10).toString();
        e.declared = query.value(11).toString() == QLatin1String("P");
        entries.append(e);
    }
    return entries;
}

} // namespace RightsLog
