// Applying 1,000 pending edits of a client data set, on both engines, against
// what a hand-written program does: the same UPDATE (the row found by every
// written column's original value) prepared once, its values bound, 1,000
// executions checked for one row each, in one transaction. Preparing the
// floor's values and editing the data set's rows are left out of both times.
// PostgreSQL runs when $KESA_TEST_PG_SERVICE names a cluster (scripts/pg-cluster).
#include "interleaved.h"
#include "testdatabase.h"

#include "db/clientdataset.h"
#include "db/clientdatasetsql.h"
#include "db/dbengine.h"
#include "db/sqltext.h"
#include "db/sqlvalue.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>

#include <cstdio>

namespace {

const QString Table = QStringLiteral("BENCH_APPLY");
const QString Columns = QStringLiteral("ROW_ID, ROW_NAME, ROW_ROLE, U_EMP_NO, U_DATE, U_IP");
constexpr int Rows = 1000;

void run(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql))
        qFatal("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
}

// A table shaped like the screens' tables; no NULLs, so that every row's
// UPDATE has the same shape on both sides.
void createTable(const QSqlDatabase &db)
{
    const bool pg = engineOf(db) == DbEngine::PostgreSQL;
    run(db,
        QStringLiteral("CREATE TABLE %1 (ROW_ID VARCHAR(10) NOT NULL PRIMARY KEY, ROW_NAME "
                       "VARCHAR(30), ROW_ROLE VARCHAR(1), U_EMP_NO VARCHAR(8), U_DATE %2, U_IP "
                       "VARCHAR(15))")
                .arg(Table, pg ? QStringLiteral("TIMESTAMP(0)") : QStringLiteral("TEXT")));
    for (int i = 1; i <= Rows; ++i)
        run(db,
            QStringLiteral("INSERT INTO %1 (%2) VALUES ('R%3', '이름 %3', '%4', 'E0', "
                           "'2026-12-01 10:00:00', '10.0.0.1')")
                    .arg(Table, Columns)
                    .arg(i, 7, 10, QLatin1Char('0'))
                    .arg(i % 3));
    if (pg)
        run(db, QStringLiteral("ANALYZE ") + Table);
}

class ApplyPair
{
public:
    explicit ApplyPair(const QSqlDatabase &db)
        : m_db(db)
        , m_postgres(engineOf(db) == DbEngine::PostgreSQL)
    {
        m_cds.setDatabase(db);
        m_cds.setSql(QStringLiteral("SELECT %1 FROM %2 ORDER BY ROW_ID").arg(Columns, Table));
        m_cds.setPacketRecords(0);
    }

    double program()
    {
        m_cds.close();
        m_cds.open();
        ++m_round;
        for (int row = 0; row < m_cds.recordCount(); ++row) {
            m_cds.moveTo(row);
            m_cds.edit();
            m_cds.setValue(QStringLiteral("ROW_NAME"), newName(row));
            m_cds.post();
        }
        return Interleaved::timed([this] { m_cds.applyUpdates(); });
    }

    double floor()
    {
        // The rows as they are now, and the statement of their shape with '?'.
        m_cds.close();
        m_cds.open();
        ++m_round;
        const QStringList columns = Columns.split(QStringLiteral(", "));
        QString sql;
        QList<QVariantList> bound;
        for (int row = 0; row < m_cds.recordCount(); ++row) {
            QVariantList original;
            for (const QString &column : columns)
                original.append(m_cds.value(row, column));
            const ClientDataSetSql::Statement statement = ClientDataSetSql::updateRow(
                    Table, {QStringLiteral("ROW_NAME")}, {newName(row)}, columns, original);
            if (sql.isEmpty())
                sql = SqlText(statement.sql).build([](int) { return QStringLiteral("?"); });
            QVariantList values;
            for (const QVariant &value : statement.values)
                values.append(SqlValue::bindable(value, m_postgres));
            bound.append(values);
        }
        return Interleaved::timed([&] {
            if (!m_db.transaction())
                qFatal("begin failed");
            QSqlQuery query(m_db);
            query.setForwardOnly(true);
            if (!query.prepare(sql))
                qFatal("prepare failed: %s", qPrintable(query.lastError().text()));
            for (const QVariantList &values : std::as_const(bound)) {
                for (int i = 0; i < values.size(); ++i)
                    query.bindValue(i, values.at(i));
                if (!query.exec() || query.numRowsAffected() != 1)
                    qFatal("update failed: %s", qPrintable(query.lastError().text()));
            }
            if (!m_db.commit())
                qFatal("commit failed");
        });
    }

private:
    QString newName(int row) const { return QStringLiteral("이름 %1 %2").arg(row).arg(m_round); }

    QSqlDatabase m_db;
    bool m_postgres;
    ClientDataSet m_cds;
    int m_round = 0;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    for (const QString &engine : TestDatabase::engines()) {
        TestDatabase tdb(engine, TestDatabase::Empty, QStringLiteral("bench_%1").arg(engine));
        if (!tdb.isOpen()) {
            std::fprintf(stderr,
                         "%s cannot be measured: %s\n",
                         qPrintable(engine),
                         qPrintable(tdb.errorText()));
            return 1;
        }
        createTable(tdb.db());
        ApplyPair pair(tdb.db());
        Interleaved::report(
                QStringLiteral("apply"),
                engine,
                1.5,
                [&] { return pair.program(); },
                [&] { return pair.floor(); });
    }
    return 0;
}
