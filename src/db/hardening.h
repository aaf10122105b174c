#pragma once

#include <QSqlDatabase>
#include <QString>

/// The server's own enforcement of the authority tables on PostgreSQL.
///
/// A hardened database is owned by an owner role (the DBA's); the workstations'
/// shared role may only read and write rows and run routines. A session proves
/// its employee with KESA_VERIFY (employee number and password, as ZA010MS
/// keeps it); triggers owned by the owner then let a write to ZA010MS–ZA150MS
/// through only when that employee holds, by the menu-bar rule, the program
/// that writes the table. The owner's own sessions write freely and are logged
/// under their database user. SQLite is a single-user file and is never hardened.
namespace Hardening {

/// What apply() makes of a database.
struct Roles
{
    QString owner;   // owns every object; empty = the role that runs apply()
    QString appRole; // the workstations' shared role
};

/// Converts the database in place (rows kept) and (re)creates the verification
/// routines and guards; idempotent. Run by a superuser, or by the owner of
/// every object. Throws DbError (nothing changes then).
void apply(const QSqlDatabase &db, const Roles &roles);
/// Renews the routines, guards and grants of a hardened database after a
/// schema upgrade; nothing on a database that is not hardened.
void renew(const QSqlDatabase &db);
/// True when the database is hardened (one query; SQLite: never).
bool isHardened(const QSqlDatabase &db);
/// Declares the program's employee as the connection's writer
/// (RightsLog::setWriter) and tells whether the database is hardened, read in
/// the statement the declaration sends anyway on PostgreSQL. Throws DbError.
bool declareWriter(const QSqlDatabase &db, const QString &empNo, const QString &ip);
/// True when the session's login is the owner role of a hardened database
/// (or a superuser): its writes need no verified employee.
bool isOwnerSession(const QSqlDatabase &db);

/// The answer of verify().
enum class Verdict { Verified, Refused, Locked };
/// Proves the session's employee; every attempt is logged and counted by the
/// server. Needs a connection outside any transaction. Throws DbError.
Verdict verify(const QSqlDatabase &db, const QString &empNo, const QString &password);
/// The employee this session proved; empty when none.
QString verifiedEmployee(const QSqlDatabase &db);

} // namespace Hardening
