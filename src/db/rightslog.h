#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

enum class DbEngine;

/// The permission change log: triggers on ZA130MS (user levels), ZA140MS
/// (level programs), ZA150MS (per-user overrides) and ZA010MS (users, for the
/// administrator flag) write one row of KESA_RIGHTS_LOG per inserted, updated
/// or deleted row, whoever writes it. The writer's employee number and address
/// come from the row's audit columns (a deleted row carries none); PostgreSQL
/// also records the database user.
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
};

/// The statements that create the log table and its triggers on the engine.
QStringList schemaStatements(DbEngine engine);
/// Log rows in order of writing; since = "yyyy-MM-dd" (or longer) keeps the
/// rows from that time on, empNo the rows about that employee; empty = all.
QList<Entry> read(const QSqlDatabase &db, const QString &since, const QString &empNo);

} // namespace RightsLog
