#include "nativehandle.h"

#include <algorithm>
#include <libpq-fe.h>
#include <sqlite3.h>
#include <QSqlDriver>
#include <QVariant>

namespace {

// Qt names the handle's type after the struct or after its typedef, by version.
void *handleOf(const QSqlDatabase &db, std::initializer_list<const char *> typeNames)
{
    if (!db.isOpen() || !db.driver())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid())
        return nullptr;
    const bool known = std::any_of(typeNames.begin(), typeNames.end(), [&](const char *name) {
        return qstrcmp(handle.typeName(), name) == 0;
    });
    if (!known)
        return nullptr;
    return *static_cast<void *const *>(handle.data());
}

} // namespace

sqlite3 *sqliteHandle(const QSqlDatabase &db)
{
    return static_cast<sqlite3 *>(handleOf(db, {"sqlite3*"}));
}

pg_conn *postgresHandle(const QSqlDatabase &db)
{
    return static_cast<pg_conn *>(handleOf(db, {"PGconn*", "pg_conn*"}));
}
