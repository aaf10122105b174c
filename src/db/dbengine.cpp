#include "dbengine.h"

DbEngine engineOf(const QSqlDatabase &db)
{
    const QString driver = db.driverName();
    if (driver == QLatin1String("QSQLITE"))
        return DbEngine::SQLite;
    if (driver == QLatin1String("QPSQL"))
        return DbEngine::PostgreSQL;
    return DbEngine::Other;
}
