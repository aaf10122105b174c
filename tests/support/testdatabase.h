#pragma once

#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

/// A fresh database for one test on one engine, "sqlite" or "postgresql":
/// SQLite in a temporary file; PostgreSQL as a new database in the cluster of
/// the libpq service $KESA_TEST_PG_SERVICE, dropped again at the end. It is
/// opened as the connection "dbsDB" (or the name given) with the schema, and
/// the demo data when asked. Open it with KESA_TEST_DATABASE, which fails the
/// test when PostgreSQL cannot be reached and $KESA_REQUIRE_PG is set, and
/// skips it otherwise.
///
/// With KESA_TEST_PG_HARDENED=1 only PostgreSQL runs, and a database with a
/// schema is hardened (Hardening::apply()): the fixture's connections are the
/// workstations' shared role, and "dbsDB" has proven the login employee (the
/// demo's administrator when none is logged in) where he is a user, and so
/// has every connection openAnother() opens.
///
///     void tst::x_data() { TestDatabase::addEngineRows(); }
///     void tst::x() {
///         QFETCH(QString, engine);
///         KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
///         SqlStatement q(tdb.db(), "SELECT ...");
///     }
class TestDatabase
{
public:
    enum Content { Empty, Schema, Demo };

    explicit TestDatabase(const QString &engine,
                          Content content = Schema,
                          const QString &connectionName = QStringLiteral("dbsDB"));
    ~TestDatabase();
    TestDatabase(const TestDatabase &) = delete;
    TestDatabase &operator=(const TestDatabase &) = delete;

    bool isOpen() const { return m_db.isOpen(); }
    /// Why the database could not be set up.
    QString errorText() const { return m_error; }
    /// True when PostgreSQL is missing and not required: skip instead of fail.
    bool shouldSkip() const { return m_skip; }

    QSqlDatabase db() const { return m_db; }
    QString engine() const { return m_engine; }
    /// The launch alias (parameter 1) that reaches this database: the SQLite
    /// file path, or a postgresql:// URI naming the service and the database.
    QString alias() const { return m_alias; }
    /// Opens one more connection to the same database (removed with the fixture).
    QSqlDatabase openAnother(const QString &connectionName);

    /// "sqlite" and "postgresql".
    static QStringList engines();
    /// For a _data() function: the column "engine" and one row per engine.
    static void addEngineRows();
    /// For a _data() table with more columns: adds the column "engine"
    /// (call it first); then newRows() for each case.
    static void addEngineColumn();
    /// One row per engine, named "engine/tag", with the engine filled in;
    /// append the case's other values to each: `for (auto *r : newRows("x")) *r << 1;`
    static QList<QTestData *> newRows(const QString &tag);

private:
    bool setUp(Content content);
    bool harden();
    /// Proves the employee of a hardened run on a connection of the fixture.
    bool prove(const QSqlDatabase &db);

    QString m_engine;
    QString m_connectionName;
    QStringList m_extraConnections;
    QSqlDatabase m_db;
    QString m_alias;
    QString m_user;                  // empty: the service's
    QPair<QString, QString> m_proof; // employee and password of a hardened run
    QString m_error;
    bool m_skip = false;
    QString m_pgDatabase;
    QTemporaryDir m_dir;
};

/// Declares `var`, a TestDatabase on `engine` (further arguments as for the
/// constructor); fails or skips the test when it cannot be set up.
#define KESA_TEST_DATABASE(var, engine, ...)                                                       \
    TestDatabase var(engine, ##__VA_ARGS__);                                                       \
    if (!var.isOpen()) {                                                                           \
        if (var.shouldSkip())                                                                      \
            QSKIP(qPrintable(var.errorText()));                                                    \
        QFAIL(qPrintable(var.errorText()));                                                        \
    }
