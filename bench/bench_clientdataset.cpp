// The client data set on both engines:
// - opening (first packet of 100 rows) on a 1,000,000-row table beside a
//   1,000-row table: the first packet must not cost more because the table is big;
//   the same for the first ten packets;
// - applying 1,000 pending changes beside the same UPDATE statements sent
//   directly through the Qt driver in one transaction.
// PostgreSQL runs when $KESA_TEST_PG_SERVICE names a cluster (scripts/pg-cluster).
#include "testdatabase.h"

#include "db/clientdataset.h"
#include "db/clientdatasetsql.h"
#include "db/dbengine.h"
#include "db/sqlstatement.h"
#include "db/transaction.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>

#include <cstdio>
#include <memory>

namespace {

const QString Columns = QStringLiteral("ROW_ID, ROW_NAME, ROW_ROLE, U_EMP_NO, U_DATE, U_IP");

void run(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql))
        qFatal("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
}

// A table shaped like the screens' tables, filled by the server itself.
void createTable(const QSqlDatabase &db, const QString &table, int rows)
{
    const bool pg = engineOf(db) == DbEngine::PostgreSQL;
    run(db,
        QStringLiteral("CREATE TABLE %1 (ROW_ID VARCHAR(10) NOT NULL PRIMARY KEY, ROW_NAME "
                       "VARCHAR(30), ROW_ROLE VARCHAR(1), U_EMP_NO VARCHAR(8), U_DATE %2, U_IP "
                       "VARCHAR(15))")
                .arg(table, pg ? QStringLiteral("TIMESTAMP(0)") : QStringLiteral("VARCHAR(19)")));
    const QString values = QStringLiteral(
            "SELECT 'R' || SUBSTR('0000000' || X, -7), '이름 ' || X, CASE WHEN X % 3 = 0 THEN NULL "
            "ELSE '1' END, 'E0', %1, '10.0.0.1'");
    if (pg) {
        run(db,
            QStringLiteral("INSERT INTO %1 (%2) %3 FROM generate_series(1, %4) AS G(X)")
                    .arg(table,
                         Columns,
                         QString(values)
                                 .replace(QLatin1String("SUBSTR('0000000' || X, -7)"),
                                          QLatin1String("LPAD(X::TEXT, 7, '0')"))
                                 .arg(QLatin1String("LOCALTIMESTAMP(0)")))
                    .arg(rows));
        run(db, QStringLiteral("ANALYZE %1").arg(table));
    } else {
        run(db,
            QStringLiteral("INSERT INTO %1 (%2) WITH RECURSIVE C(X) AS (SELECT 1 UNION ALL "
                           "SELECT X + 1 FROM C WHERE X < %3) %4 FROM C")
                    .arg(table, Columns)
                    .arg(rows)
                    .arg(values.arg(QLatin1String("DATETIME('now')"))));
    }
}

void prepare(ClientDataSet &cds, const QSqlDatabase &db, const QString &table)
{
    cds.setDatabase(db);
    cds.setSql(QStringLiteral("SELECT %1 FROM %2 ORDER BY ROW_ID").arg(Columns, table));
}

void openFirstPacket(benchmark::State &state, QSqlDatabase db, QString table)
{
    ClientDataSet cds;
    prepare(cds, db, table);
    for (auto _ : state) {
        cds.open();
        benchmark::DoNotOptimize(cds.recordCount());
        cds.close();
    }
}

// The first ten packets: each goes on after the last key read, so a packet deep
// in a large table costs what the first does.
void readTenPackets(benchmark::State &state, QSqlDatabase db, QString table)
{
    ClientDataSet cds;
    prepare(cds, db, table);
    for (auto _ : state) {
        cds.open();
        for (int i = 1; i < 10; ++i)
            cds.fetchPacket();
        benchmark::DoNotOptimize(cds.recordCount());
        cds.close();
    }
}

// 1,000 rows renamed; each round gives them a new name, so every UPDATE changes its row.
void renameAll(ClientDataSet &cds, int round)
{
    for (int row = 0; row < cds.recordCount(); ++row) {
        cds.moveTo(row);
        cds.edit();
        cds.setValue(QStringLiteral("ROW_NAME"), QStringLiteral("이름 %1 %2").arg(row).arg(round));
        cds.post();
    }
}

void applyChanges(benchmark::State &state, QSqlDatabase db, QString table)
{
    ClientDataSet cds;
    prepare(cds, db, table);
    cds.setPacketRecords(0);
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        cds.open();
        renameAll(cds, ++round);
        state.ResumeTiming();
        cds.applyUpdates();
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}

// The same statements the apply sends, through QSqlQuery with bound values.
void applyDirectly(benchmark::State &state, QSqlDatabase db, QString table)
{
    ClientDataSet cds;
    prepare(cds, db, table);
    cds.setPacketRecords(0);
    const QStringList columns = Columns.split(QStringLiteral(", "));
    int round = 1000;
    for (auto _ : state) {
        state.PauseTiming();
        cds.open();
        QList<ClientDataSetSql::Statement> statements;
        ++round;
        for (int row = 0; row < cds.recordCount(); ++row) {
            QVariantList original;
            for (const QString &column : columns)
                original.append(cds.value(row, column));
            statements.append(
                    ClientDataSetSql::updateRow(table,
                                                {QStringLiteral("ROW_NAME")},
                                                {QStringLiteral("이름 %1 %2").arg(row).arg(round)},
                                                columns,
                                                original));
        }
        state.ResumeTiming();
        if (!db.transaction())
            qFatal("begin failed");
        for (const ClientDataSetSql::Statement &statement : std::as_const(statements)) {
            QSqlQuery query(db);
            QString sql = statement.sql;
            for (int i = int(statement.values.size()) - 1; i >= 0; --i)
                sql.replace(QStringLiteral(":P%1").arg(i), QStringLiteral("?"));
            query.prepare(sql);
            for (const QVariant &value : statement.values) {
                const QVariant bound = value.typeId() == QMetaType::QDateTime
                                               ? QVariant(value.toDateTime().toString(
                                                       QStringLiteral("yyyy-MM-dd HH:mm:ss")))
                                               : value;
                query.addBindValue(bound);
            }
            if (!query.exec() || query.numRowsAffected() != 1)
                qFatal("direct update failed: %s", qPrintable(query.lastError().text()));
        }
        if (!db.commit())
            qFatal("commit failed");
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);

    std::vector<std::unique_ptr<TestDatabase>> databases;
    for (const QString &engine : TestDatabase::engines()) {
        auto tdb = std::make_unique<TestDatabase>(engine,
                                                  TestDatabase::Empty,
                                                  QStringLiteral("bench_%1").arg(engine));
        if (!tdb->isOpen()) {
            std::fprintf(stderr,
                         "%s skipped: %s\n",
                         qPrintable(engine),
                         qPrintable(tdb->errorText()));
            continue;
        }
        const QSqlDatabase db = tdb->db();
        std::fprintf(stderr, "%s: filling the tables …\n", qPrintable(engine));
        createTable(db, QStringLiteral("BENCH_SMALL"), 1000);
        createTable(db, QStringLiteral("BENCH_LARGE"), 1000000);
        const std::string name = engine.toStdString();
        benchmark::RegisterBenchmark((name + "/open/1000").c_str(),
                                     openFirstPacket,
                                     db,
                                     QStringLiteral("BENCH_SMALL"))
                ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((name + "/open/1000000").c_str(),
                                     openFirstPacket,
                                     db,
                                     QStringLiteral("BENCH_LARGE"))
                ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((name + "/packets10/1000").c_str(),
                                     readTenPackets,
                                     db,
                                     QStringLiteral("BENCH_SMALL"))
                ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((name + "/packets10/1000000").c_str(),
                                     readTenPackets,
                                     db,
                                     QStringLiteral("BENCH_LARGE"))
                ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((name + "/apply/1000").c_str(),
                                     applyChanges,
                                     db,
                                     QStringLiteral("BENCH_SMALL"))
                ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((name + "/direct/1000").c_str(),
                                     applyDirectly,
                                     db,
                                     QStringLiteral("BENCH_SMALL"))
                ->Unit(benchmark::kMillisecond);
        databases.push_back(std::move(tdb));
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
