#include "nativehandle.h"

#include <libpq-fe.h>
#include <sqlite3.h>
#include <QSqlDriver>
#include <QVariant>

namespace {

void *handleOf(const QSqlDatabase &db, const char *typeName)
{
    if (!db.isOpen() || !db.driver())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), typeName) != 0)
        return nullptr;
    return *static_cast<void *const *>(handle.data());
}

} // namespace

sqlite3 *sqliteHandle(const QSqlDatabase &db)
{
    return static_cast<sqlite3 *>(handleOf(db, "sqlite3*"));
}

pg_conn *postgresHandle(const QSqlDatabase &db)
{
    return static_cast<pg_conn *>(handleOf(db, "PGconn*"));
}
