// The spreadsheet export at the largest result the file holds: 65,533 rows of
// ten columns (numbers, decimals, codes, Hangul texts), exported after two
// exports of other sizes in the same process, as a user exports several times
// a day. Measured from opening the inquiry's data set (its first packet, as
// the search does) to the file closed and the data set freed, against the
// engine's command-line client writing the same query as CSV to a file (the
// median of its runs less the median of its runs of an empty query: its
// start-up and connection), in interleaved pairs.

#include "db/clientdataset.h"
#include "db/sqlstatement.h"
#include "framework/datagrid.h"
#include "framework/spreadsheetexport.h"
#include "framework/spreadsheetwriter.h"
#include "platform/allocator.h"
#include "testdatabase.h"

#include "interleaved.h"

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

// The first `rows` rows of the table.
QString queryOf(int rows)
{
    return QStringLiteral("SELECT SEQ, EMP_NO, EMP_NAME, AMOUNT, RATE, WORK_DATE, MEMO, QTY, "
                          "USE_YN, U_IP FROM BENCH_EXPORT WHERE SEQ <= %1 ORDER BY SEQ")
            .arg(rows);
}

const QString Query = queryOf(Rows);
// Exported before the timed one, each time.
constexpr int EarlierRows[] = {40000, 10000};

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

// The export as the inquiry screens run it, from opening the data set (its
// first packet, as the search does) to the file closed and the data set
// freed; two exports of other sizes go before it, untimed.
class ProgramExport
{
public:
    ProgramExport(const TestDatabase &tdb, const QString &path)
        : m_path(path)
    {
        m_cds.setDatabase(tdb.db());
        m_grid.setDataSet(&m_cds);
        for (const char *field : {"SEQ",
                                  "EMP_NO",
                                  "EMP_NAME",
                                  "AMOUNT",
                                  "RATE",
                                  "WORK_DATE",
                                  "MEMO",
                                  "QTY",
                                  "USE_YN",
                                  "U_IP"})
            m_grid.addColumn(QString::fromLatin1(field), QString::fromLatin1(field));
    }

    double operator()()
    {
        for (const int rows : EarlierRows)
            exportRows(rows);
        return Interleaved::timed([this] { exportRows(Rows); });
    }

private:
    void exportRows(int rows)
    {
        m_cds.setSql(queryOf(rows));
        m_cds.open();
        SpreadsheetExport exporter(&m_cds, &m_grid);
        exporter.setTitle(QStringLiteral("내보내기 측정"));
        QFile file(m_path);
        if (!exporter.readWithinLimit() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || !exporter.writeTo(&file))
            qFatal("the export failed");
        file.close();
        m_cds.close();
    }

    QString m_path;
    ClientDataSet m_cds;
    DataGrid m_grid;
};

// Seconds the command-line client takes to write the query's rows as CSV
// (sqlite3 -csv, psql --csv) into a file.
double runClient(const TestDatabase &tdb, const QString &sql, const QString &path)
{
    QProcess p;
    p.setStandardOutputFile(path);
    QElapsedTimer timer;
    timer.start();
    if (tdb.engine() == QLatin1String("postgresql"))
        p.start(QStringLiteral("psql"),
                {QStringLiteral("-X"),
                 QStringLiteral("-q"),
                 QStringLiteral("--csv"),
                 QStringLiteral("-c"),
                 sql,
                 tdb.alias()});
    else
        p.start(QStringLiteral("sqlite3"),
                {QStringLiteral("-csv"), QStringLiteral("-header"), tdb.alias(), sql});
    if (!p.waitForFinished(-1) || p.exitCode() != 0)
        qFatal("%s failed", qPrintable(p.program()));
    return double(timer.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // As the program does at its start. KESA_BENCH_ALLOCATOR=as-is leaves
    // glibc's thresholds to adjust themselves, to see what the setting buys.
    if (qEnvironmentVariable("KESA_BENCH_ALLOCATOR") != QLatin1String("as-is"))
        Allocator::keepThresholdsFixed();
    outDir = std::make_unique<QTemporaryDir>();
    for (const QString &engine : TestDatabase::engines()) {
        auto tdb = std::make_unique<TestDatabase>(engine,
                                                  TestDatabase::Schema,
                                                  QStringLiteral("bench_") + engine);
        if (!tdb->isOpen()) {
            QTextStream(stderr) << engine << " cannot be measured: " << tdb->errorText() << '\n';
            return 1;
        }
        populate(*tdb);
        (engine == QLatin1String("sqlite") ? sqliteDb : postgresDb) = std::move(tdb);
    }
    for (TestDatabase *tdb : {sqliteDb.get(), postgresDb.get()}) {
        if (!tdb)
            continue;
        ProgramExport program(*tdb, outDir->filePath(QStringLiteral("export.xls")));
        const QString csv = outDir->filePath(QStringLiteral("client.csv"));
        Interleaved::report(
                QStringLiteral("export"),
                tdb->engine(),
                1.5,
                [&] { return program(); },
                [&] { return runClient(*tdb, Query, csv); },
                [&] { return runClient(*tdb, QStringLiteral("SELECT 1"), csv); });
    }
    sqliteDb.reset();
    postgresDb.reset();
    outDir.reset();
    return 0;
}
