#pragma once

#include <QSqlDatabase>
#include <QString>

/// The demo content of `kesa-db demo`: the project KESA_Z with its menus and
/// programs, two more projects, levels, users, overrides, common codes,
/// holidays and sales outlets.
namespace DemoData {

/// True when ZA010MS holds any user.
bool hasUsers(const QSqlDatabase &db);
/// Loads the demo data into a database that has the schema and no users, in one
/// transaction. dbUser (upper-cased) gets the Z9999 display name. Throws DbError,
/// also when the database already holds users.
void load(const QSqlDatabase &db, const QString &dbUser = QString());

} // namespace DemoData
