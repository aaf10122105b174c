#include "pgroles.h"

#include "db/database.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace {

// Runs `sql` on the cluster as the test's own user. Without a cluster there
// is nothing to do: the test's database says so (skipped, or failed where
// PostgreSQL is required).
void cluster(const QString &sql)
{
    if (qEnvironmentVariableIsEmpty("KESA_TEST_PG_SERVICE"))
        return;
    const QString name = QStringLiteral("test_roles_cluster");
    {
        QSqlDatabase db = Database::connect(qEnvironmentVariable("KESA_TEST_PG_SERVICE"),
                                            QString(),
                                            QString(),
                                            name);
        QSqlQuery(db).exec(sql);
    }
    Database::remove(name);
}

} // namespace

PgTestRoles::PgTestRoles(const QString &prefix)
{
    static int counter = 0;
    const QString suffix
            = QStringLiteral("%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
    owner = prefix + QStringLiteral("o_") + suffix;
    app = prefix + QStringLiteral("a_") + suffix;
    cluster(QStringLiteral("CREATE ROLE %1 LOGIN; CREATE ROLE %2 LOGIN").arg(owner, app));
}

PgTestRoles::~PgTestRoles()
{
    cluster(QStringLiteral("DROP ROLE IF EXISTS %1, %2").arg(owner, app));
}
