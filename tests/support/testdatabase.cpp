#include "testdatabase.h"

#include "common/loginvalues.h"
#include "db/database.h"
#include "db/dberror.h"
#include "db/demodata.h"
#include "db/hardening.h"
#include "db/schema.h"
#include "db/sqlstatement.h"

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

// The screens' suites run once more against a hardened database: the
// fixture's connection is then the workstations' shared role, with the login
// employee proven.
bool hardenedRun()
{
    return qEnvironmentVariable("KESA_TEST_PG_HARDENED") == QLatin1String("1");
}

const QString HardenedOwner = QStringLiteral("kesa_test_owner");
const QString HardenedApp = QStringLiteral("kesa_test_app");

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
    if (m_engine == PostgreSQL && hardenedRun() && content != Empty)
        return harden();
    return true;
}

bool TestDatabase::harden()
{
    // The roles belong to the throw-away cluster; suites running side by side
    // may create them at the same time.
    for (const QString &role : {HardenedOwner, HardenedApp}) {
        runOnCluster(QStringLiteral("DO $$ BEGIN CREATE ROLE %1 LOGIN; EXCEPTION WHEN "
                                    "DUPLICATE_OBJECT OR UNIQUE_VIOLATION THEN NULL; END $$")
                             .arg(role));
    }
    Hardening::apply(m_db, {HardenedOwner, HardenedApp});
    // The login employee of the screens, else the demo's administrator.
    QString empNo = login().empNo.isEmpty() ? QStringLiteral("A0001") : login().empNo;
    SqlStatement password(m_db,
                          QStringLiteral("SELECT FN_ZA010MS_02(PASSWORD_CODE, 'RoTa') FROM "
                                         "ZA010MS WHERE EMP_NO = :P0"));
    password.bind(QStringLiteral("P0"), empNo);
    password.open();
    const QString plain = password.next() ? password.value(0).toString() : QString();
    m_user = HardenedApp;
    m_db = QSqlDatabase();
    m_db = Database::connect(m_alias, m_user, QString(), m_connectionName);
    if (plain.isEmpty())
        return true;
    m_proof = {empNo, plain};
    return prove(m_db);
}

bool TestDatabase::prove(const QSqlDatabase &db)
{
    if (m_proof.first.isEmpty())
        return true;
    if (Hardening::verify(db, m_proof.first, m_proof.second) == Hardening::Verdict::Verified)
        return true;
    m_error = QStringLiteral("PostgreSQL: %1 could not be verified").arg(m_proof.first);
    return false;
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
    QSqlDatabase db = Database::connect(m_alias, m_user, QString(), connectionName);
    if (!prove(db))
        qWarning("%s", qPrintable(m_error));
    return db;
}

QStringList TestDatabase::engines()
{
    if (hardenedRun())
        return {PostgreSQL};
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
