#pragma once

#include <QSqlDatabase>
#include <QStringList>

/// The server-side routines the statements call, on both engines:
/// SYSDATE, TO_CHAR with Oracle's date formats ('AM' gives "오전"/"오후"),
/// FN_ZA010MS_01/02 (password encoding, see ServerCipher) and the stored
/// procedures PR_ZX020MS_01 and PR_ZX010MS_11 (see StoredProcedure).
namespace Routines {

/// Registers the functions on an open SQLite connection (Database::open does).
void registerSqliteFunctions(const QSqlDatabase &db);

/// The statements that create or replace the routines on PostgreSQL; each is
/// one statement, all of them idempotent. Needs the extension pgcrypto.
QStringList postgresScript();

} // namespace Routines
