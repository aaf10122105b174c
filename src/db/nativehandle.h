#pragma once

#include <QSqlDatabase>

struct sqlite3;
struct pg_conn;

/// The engine's own connection handle behind a Qt connection, or nullptr when
/// the connection is of the other engine or not open.
sqlite3 *sqliteHandle(const QSqlDatabase &db);
pg_conn *postgresHandle(const QSqlDatabase &db);
