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
int ntuples(const PGresult *result);
int nfields(const PGresult *result);
Oid ftype(const PGresult *result, int column);
char *getvalue(const PGresult *result, int row, int column);
int getlength(const PGresult *result, int row, int column);
int getisnull(const PGresult *result, int row, int column);

} // namespace LibPq
