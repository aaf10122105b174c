#include "testdatabase.h"

#include "db/database.h"
#include "db/dberror.h"
#include "db/demodata.h"
#include "db/schema.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>

namespace {

const QString SQLite = QStringLiteral("sqlite");
const QString PostgreSQL = QStringLiteral("postgresql");

QString pgService()
{
    return qEnvironmentVariable("KESA_TEST_PG_SERVICE");
}

bool pgRequired()
{
    return !qEnvironmentVariable("KESA_REQUIRE_PG").isEmpty()
           && qEnvironmentVariable("KESA_REQUIRE_PG") != QLatin1String("0");
}

// Runs one statement on the cluster's maintenance database of the service.
QString runOnCluster(const QString &sql)
{
    static int counter = 0;
    const QString name = QStringLiteral("kesa_test_admin_%1").arg(++counter);
    QString error;
    {
        try {
            QSqlDatabase admin = Database::connect(pgService(), QString(), QString(), name);
            QSqlQuery query(admin);
            if (!query.exec(sql))
                error = DbError::fromSqlError(query.lastError()).message();
        } catch (const DbError &e) {
            error = e.message();
        }
    }
    Database::remove(name);
    return error;
}

} // namespace

TestDatabase::TestDatabase(const QString &engine, Content content, const QString &connectionName)
    : m_engine(engine)
    , m_connectionName(connectionName)
{
    try {
        if (!setUp(content) && m_error.isEmpty())
            m_error = QStringLiteral("test database not set up");
    } catch (const DbError &e) {
        m_error = QStringLiteral("test database (%1): %2").arg(engine, e.message());
    }
    if (!m_error.isEmpty() && m_db.isOpen())
        m_db.close();
}

bool TestDatabase::setUp(Content content)
{
    if (m_engine == SQLite) {
        if (!m_dir.isValid()) {
            m_error = QStringLiteral("no temporary directory");
            return false;
        }
        m_alias = m_dir.filePath(QStringLiteral("test.db"));
        m_db = Database::connect(m_alias, QString(), QString(), m_connectionName, true);
    } else if (m_engine == PostgreSQL) {
        if (pgService().isEmpty()) {
            m_skip = !pgRequired();
            m_error = QStringLiteral("PostgreSQL: KESA_TEST_PG_SERVICE is not set");
            return false;
        }
        static int counter = 0;
        m_pgDatabase = QStringLiteral("kesa_t_%1_%2")
                               .arg(QCoreApplication::applicationPid())
                               .arg(++counter);
        const QString error = runOnCluster(QStringLiteral("CREATE DATABASE %1").arg(m_pgDatabase));
        if (!error.isEmpty()) {
            m_skip = !pgRequired();
            m_error = QStringLiteral("PostgreSQL: %1").arg(error);
            m_pgDatabase.clear();
            return false;
        }
        m_alias = QStringLiteral("postgresql:///%1?service=%2").arg(m_pgDatabase, pgService());
        m_db = Database::connect(m_alias, QString(), QString(), m_connectionName);
    } else {
        m_error = QStringLiteral("unknown engine: %1").arg(m_engine);
        return false;
    }
    if (content != Empty)
        Schema::install(m_db);
    if (content == Demo)
        DemoData::load(m_db, QStringLiteral("KESA"));
    return true;
}

TestDatabase::~TestDatabase()
{
    m_db = QSqlDatabase();
    for (const QString &name : std::as_const(m_extraConnections))
        Database::remove(name);
    Database::remove(m_connectionName);
    if (!m_pgDatabase.isEmpty())
        runOnCluster(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_pgDatabase));
}

QSqlDatabase TestDatabase::openAnother(const QString &connectionName)
{
    m_extraConnections << connectionName;
    return Database::connect(m_alias, QString(), QString(), connectionName);
}

QStringList TestDatabase::engines()
{
    return {SQLite, PostgreSQL};
}

void TestDatabase::addEngineRows()
{
    addEngineColumn();
    for (const QString &engine : engines())
        QTest::newRow(qPrintable(engine)) << engine;
}

void TestDatabase::addEngineColumn()
{
    QTest::addColumn<QString>("engine");
}

QList<QTestData *> TestDatabase::newRows(const QString &tag)
{
    QList<QTestData *> rows;
    for (const QString &engine : engines())
        rows << &(QTest::newRow(qPrintable(engine + QLatin1Char('/') + tag)) << engine);
    return rows;
}
