// The spreadsheet export at the largest result the file holds: 65,533 rows of
// ten columns (numbers, decimals, codes, Hangul texts). Measured from opening
// the inquiry's data set (its first packet, as the search does) to the file
// closed, against the engine's command-line client writing the same query as
// CSV to a file (its start-up subtracted).

#include "db/clientdataset.h"
#include "db/sqlstatement.h"
#include "framework/datagrid.h"
#include "framework/spreadsheetexport.h"
#include "framework/spreadsheetwriter.h"
#include "testdatabase.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

constexpr int Rows = SpreadsheetWriter::MaxDataRows;

const QString Query = QStringLiteral(
        "SELECT SEQ, EMP_NO, EMP_NAME, AMOUNT, RATE, WORK_DATE, MEMO, QTY, USE_YN, U_IP "
        "FROM BENCH_EXPORT ORDER BY SEQ");

std::unique_ptr<TestDatabase> sqliteDb;
std::unique_ptr<TestDatabase> postgresDb;
std::unique_ptr<QTemporaryDir> outDir;

void exec(const QSqlDatabase &db, const QString &sql)
{
    SqlStatement q(db, sql);
    q.exec();
}

void populate(const TestDatabase &tdb)
{
    const QSqlDatabase db = tdb.db();
    exec(db,
         QStringLiteral("CREATE TABLE BENCH_EXPORT (SEQ INTEGER PRIMARY KEY, EMP_NO VARCHAR(8), "
                        "EMP_NAME VARCHAR(30), AMOUNT INTEGER, RATE NUMERIC, WORK_DATE "
                        "VARCHAR(8), MEMO VARCHAR(60), QTY INTEGER, USE_YN VARCHAR(1), U_IP "
                        "VARCHAR(15))"));
    exec(db,
         QStringLiteral(
                 "INSERT INTO BENCH_EXPORT WITH RECURSIVE N(I) AS (SELECT 1 UNION ALL SELECT I + "
                 "1 FROM N WHERE I < %1) SELECT I, CAST(10000000 + I AS VARCHAR(8)), '사용자 ' || "
                 "CAST(I AS VARCHAR(6)), I * 1000 - 500000, CAST(I AS NUMERIC) / 8, "
                 "CAST(20240000 + I % 28 + 101 AS VARCHAR(8)), '비고 내용입니다 ' || CAST(I % 97 "
                 "AS VARCHAR(3)), CASE WHEN I % 10 = 0 THEN NULL ELSE I % 500 END, CASE WHEN I % 2 "
                 "= 0 THEN 'Y' ELSE 'N' END, '192.168.0.' || CAST(I % 250 AS VARCHAR(3)) FROM N")
                 .arg(Rows));
    exec(db, QStringLiteral("ANALYZE"));
}

TestDatabase *databaseOf(int engine)
{
    return engine == 0 ? sqliteDb.get() : postgresDb.get();
}

void BM_Export(benchmark::State &state)
{
    TestDatabase *tdb = databaseOf(int(state.range(0)));
    if (!tdb) {
        state.SkipWithError("engine not available");
        return;
    }
    ClientDataSet cds;
    cds.setDatabase(tdb->db());
    cds.setSql(Query);
    DataGrid grid;
    grid.setDataSet(&cds);
    const QStringList fields = {"SEQ",
                                "EMP_NO",
                                "EMP_NAME",
                                "AMOUNT",
                                "RATE",
                                "WORK_DATE",
                                "MEMO",
                                "QTY",
                                "USE_YN",
                                "U_IP"};
    for (const QString &field : fields)
        grid.addColumn(field, field);
    const QString path = outDir->filePath(QStringLiteral("export.xls"));
    qint64 bytes = 0;
    for (auto _ : state) {
        cds.close();
        cds.open();
        SpreadsheetExport exporter(&cds, &grid);
        exporter.setTitle(QStringLiteral("내보내기 측정"));
        if (!exporter.readWithinLimit()) {
            state.SkipWithError("too many rows");
            return;
        }
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        if (!exporter.writeTo(&file)) {
            state.SkipWithError("write failed");
            return;
        }
        file.close();
        bytes = QFileInfo(path).size();
    }
    state.counters["rows"] = cds.recordCount();
    state.counters["bytes"] = double(bytes);
}

// The reading part alone: the first packet, then the rest.
void BM_ExportRead(benchmark::State &state)
{
    TestDatabase *tdb = databaseOf(int(state.range(0)));
    if (!tdb) {
        state.SkipWithError("engine not available");
        return;
    }
    ClientDataSet cds;
    cds.setDatabase(tdb->db());
    cds.setSql(Query);
    DataGrid grid;
    grid.setDataSet(&cds);
    for (auto _ : state) {
        cds.close();
        cds.open();
        SpreadsheetExport exporter(&cds, &grid);
        exporter.readWithinLimit();
    }
    state.counters["rows"] = cds.recordCount();
}

// The file part alone, on rows already read.
void BM_ExportWrite(benchmark::State &state)
{
    TestDatabase *tdb = databaseOf(int(state.range(0)));
    if (!tdb) {
        state.SkipWithError("engine not available");
        return;
    }
    ClientDataSet cds;
    cds.setDatabase(tdb->db());
    cds.setSql(Query);
    cds.open();
    DataGrid grid;
    grid.setDataSet(&cds);
    for (int i = 0; i < cds.fieldCount(); ++i)
        grid.addColumn(cds.field(i).name(), cds.field(i).name());
    SpreadsheetExport exporter(&cds, &grid);
    exporter.readWithinLimit();
    const QString path = outDir->filePath(QStringLiteral("write.xls"));
    for (auto _ : state) {
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        exporter.writeTo(&file);
    }
}

// Seconds the client takes to write the query's rows as CSV into a file.
double runClient(const TestDatabase &tdb, const QString &sql, const QString &path)
{
    QProcess p;
    QElapsedTimer timer;
    timer.start();
    if (tdb.engine() == QLatin1String("postgresql")) {
        p.start(QStringLiteral("psql"),
                {QStringLiteral("-X"),
                 QStringLiteral("-q"),
                 QStringLiteral("-c"),
                 QStringLiteral("\\copy (%1) TO '%2' WITH CSV HEADER").arg(sql, path),
                 tdb.alias()});
    } else {
        p.setStandardOutputFile(path);
        p.start(QStringLiteral("sqlite3"),
                {QStringLiteral("-csv"), QStringLiteral("-header"), tdb.alias(), sql});
    }
    p.waitForFinished(-1);
    return timer.nsecsElapsed() / 1e9;
}

void BM_ClientCsv(benchmark::State &state)
{
    TestDatabase *tdb = databaseOf(int(state.range(0)));
    if (!tdb) {
        state.SkipWithError("engine not available");
        return;
    }
    const QString path = outDir->filePath(QStringLiteral("client.csv"));
    for (auto _ : state) {
        const double empty = runClient(*tdb, QStringLiteral("SELECT 1"), path);
        const double full = runClient(*tdb, Query, path);
        state.SetIterationTime(std::max(0.0, full - empty));
    }
    state.counters["bytes"] = double(QFileInfo(path).size());
}

} // namespace

BENCHMARK(BM_Export)->Arg(0)->Name("Export/sqlite")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportRead)->Arg(0)->Name("ExportRead/sqlite")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportRead)->Arg(1)->Name("ExportRead/postgresql")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportWrite)->Arg(0)->Name("ExportWrite/sqlite")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClientCsv)
        ->Arg(0)
        ->Name("ClientCsv/sqlite3")
        ->UseManualTime()
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Export)->Arg(1)->Name("Export/postgresql")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClientCsv)
        ->Arg(1)
        ->Name("ClientCsv/psql")
        ->UseManualTime()
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    outDir = std::make_unique<QTemporaryDir>();
    for (const QString &engine : TestDatabase::engines()) {
        auto tdb = std::make_unique<TestDatabase>(engine,
                                                  TestDatabase::Schema,
                                                  QStringLiteral("bench_") + engine);
        if (!tdb->isOpen()) {
            QTextStream(stderr) << engine << ": " << tdb->errorText() << '\n';
            continue;
        }
        populate(*tdb);
        (engine == QLatin1String("sqlite") ? sqliteDb : postgresDb) = std::move(tdb);
    }
    benchmark::RunSpecifiedBenchmarks();
    sqliteDb.reset();
    postgresDb.reset();
    outDir.reset();
    return 0;
}
