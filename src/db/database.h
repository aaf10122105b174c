#pragma once

#include "dbengine.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>

class DbError;

/// The one connection of a process, opened from a launch alias:
/// - a path ending in ".db" or ".sqlite", or "sqlite:PATH": an SQLite file;
/// - a "postgresql://" (or "postgres://") URI: a PostgreSQL server;
/// - anything else: a PostgreSQL service name of libpq's pg_service.conf.
/// Sessions are read committed; values come back untrimmed.
class Database
{
public:
    /// The connection name every screen uses.
    static QString defaultConnectionName() { return QStringLiteral("dbsDB"); }

    /// The engine an alias leads to.
    static DbEngine engineOfAlias(const QString &alias);

    /// Adds (replacing one of the same name) a connection for the alias without
    /// opening it. An empty user or password leaves them to libpq (PGUSER,
    /// PGPASSWORD, the service file); SQLite ignores both. Throws DbError when
    /// the alias names nothing.
    static QSqlDatabase configure(const QString &alias,
                                  const QString &user,
                                  const QString &password,
                                  const QString &connectionName = defaultConnectionName());

    /// Opens a configured connection and prepares the session (SQLite: the
    /// routines, case-sensitive LIKE; PostgreSQL: search path and isolation). A
    /// missing SQLite file is an error unless createFile (only kesa-db creates
    /// one); a file that is not an SQLite database fails here, and SQLite
    /// messages name the file. Throws DbError with the server's message; a
    /// refusal for too many sessions carries tooManySessionsCode().
    static void open(QSqlDatabase &db, bool createFile = false);

    /// configure() and open() in one.
    static QSqlDatabase connect(const QString &alias,
                                const QString &user,
                                const QString &password,
                                const QString &connectionName = defaultConnectionName(),
                                bool createFile = false);

    /// Closes and removes a connection (all copies of it must be gone).
    static void remove(const QString &connectionName);

    /// True for the server's own refusal because its session slots are used
    /// up, as libpq reports it ("FATAL:  sorry, too many clients already" …);
    /// nothing else counts, not even a text that happens to contain "53300".
    static bool isTooManySessions(const QString &errorText);
    /// True for an error of open() that is that refusal. The one place that
    /// decides it is open(); callers ask here.
    static bool isTooManySessions(const DbError &error);
    /// The code open() gives that refusal (PostgreSQL's SQLSTATE).
    static QString tooManySessionsCode() { return QStringLiteral("53300"); }

    /// The server's date and time (SYSDATE), to the second.
    static QDateTime serverDateTime(const QSqlDatabase &db);
};
