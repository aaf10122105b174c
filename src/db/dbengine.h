#pragma once

#include <QSqlDatabase>

/// The two database engines the program runs on.
enum class DbEngine { SQLite, PostgreSQL, Other };

/// The engine behind a connection, from its Qt driver.
DbEngine engineOf(const QSqlDatabase &db);
