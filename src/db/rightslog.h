#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

enum class DbEngine;

/// The permission change log: triggers on ZA130MS (user levels), ZA140MS
/// (level programs), ZA150MS (per-user overrides) and ZA010MS (users, for the
/// administrator flag) write one row of KESA_RIGHTS_LOG per inserted, updated
/// or deleted row, whoever writes it, and (from schema version 6) deletes of
/// levels (ZA030MS) and deletes and display-order changes of menus (ZA040MS)
/// and programs (ZA050MS). The writer is the employee the session declared
/// (setWriter(): the program's login employee, a tool's --by); a write by a
/// session that declared nobody (plain SQL of another module) is marked so and
/// keeps the row's U_EMP_NO and U_IP, and on PostgreSQL the database user.
namespace RightsLog {

struct Entry
{
    qint64 seq = 0;
    QString time; // "yyyy-MM-dd HH:mm:ss", the database server's clock
    QString table;
    QString action; // I, U, D
    QString empNo;  // the employee whose rights changed; empty for level programs
    QString projectId;
    QString oldValue;
    QString newValue;
    QString writerEmpNo;
    QString writerIp;
    QString dbUser;
    bool declared = false; // the writer was declared by the session
};

/// The statements that create the log table and its triggers on the engine.
QStringList schemaStatements(DbEngine engine);
/// Version 6: the log names every writer, and logs level, menu and program deletes.
QStringList writerStatements(DbEngine engine);
/// The trigger functions of the log (PostgreSQL, version 6) naming the writer
/// by the SQL expression declared, with SET SEARCH_PATH searchPath
/// ("= SCHEMA, PG_TEMP"): a hardened database takes its verified employee.
QStringList hardenedFunctions(const QString &declared, const QString &searchPath);
/// Declares the employee (and address) that writes on this connection from now
/// on; every log row it causes names them. Empty: none. Call outside a
/// transaction. Needs schema version 6.
void setWriter(const QSqlDatabase &db, const QString &empNo, const QString &ip);
/// setWriter() that also reads, on PostgreSQL, the value of the SQL expression
/// `expression` in the same statement (no further round trip); invalid when
/// nothing was read (SQLite, a schema before version 6).
QVariant setWriterAndRead(const QSqlDatabase &db,
                          const QString &empNo,
                          const QString &ip,
                          const QString &expression);
/// Log rows in order of writing; since = "yyyy-MM-dd" (or longer) keeps the
/// rows from that time on, empNo the rows about that employee and the changes
/// of the level grants of the levels he holds or held; empty = all.
QList<Entry> read(const QSqlDatabase &db, const QString &since, const QString &empNo);

} // namespace RightsLog
