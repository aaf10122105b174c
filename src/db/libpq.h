#pragma once

#include <libpq-fe.h>

/// The few libpq functions the program calls itself, looked up when first
/// needed: an SQLite start never loads libpq and the libraries it brings
/// (Qt's PostgreSQL driver loads it when a PostgreSQL connection is made).
/// Throws DbError when libpq cannot be loaded.
namespace LibPq {

PQconninfoOption *conninfoParse(const char *conninfo, char **errmsg);
void freemem(void *pointer);
void conninfoFree(PQconninfoOption *options);
PGTransactionStatusType transactionStatus(const PGconn *connection);

} // namespace LibPq
