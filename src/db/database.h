#pragma once

#include "dbengine.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>

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
    /// routines; PostgreSQL: search path and isolation). A missing SQLite file is
    /// an error unless createFile. Throws DbError with the server's message; a
    /// refusal for too many sessions carries the code "53300".
    static void open(QSqlDatabase &db, bool createFile = false);

    /// configure() and open() in one.
    static QSqlDatabase connect(const QString &alias,
                                const QString &user,
                                const QString &password,
                                const QString &connectionName = defaultConnectionName(),
                                bool createFile = false);

    /// Closes and removes a connection (all copies of it must be gone).
    static void remove(const QString &connectionName);

    /// True for the server's refusal because its session slots are used up.
    static bool isTooManySessions(const QString &errorText);

    /// The server's date and time (SYSDATE), to the second.
    static QDateTime serverDateTime(const QSqlDatabase &db);
};
