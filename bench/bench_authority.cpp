// The menu build of one employee (the menu bar's statements and its menus and
// items, as the main window builds them) at scale: one project of 30 menus x 50 programs, 10,000 users,
// 100,000 rows in ZA140MS and in ZA150MS. Each engine is measured through our
// statement layer and, as the floor, with the same statements sent by the
// engine's own command-line client (its start-up subtracted).

#include "db/authority.h"
#include "db/nativehandle.h"
#include "db/sqlstatement.h"
#include "testdatabase.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <sqlite3.h>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QTemporaryFile>
#include <QTextStream>

namespace {

const QString Project = QStringLiteral("BENCH1");
const QString EmpNo = QStringLiteral("10004242");
constexpr int Repetitions = 20;

std::unique_ptr<TestDatabase> sqliteDb;
std::unique_ptr<TestDatabase> postgresDb;

void exec(const QSqlDatabase &db, const QString &sql)
{
    SqlStatement q(db, sql);
    q.exec();
}

void populate(const TestDatabase &tdb)
{
    const QSqlDatabase db = tdb.db();
    exec(db, QStringLiteral("CREATE TABLE BENCH_N (N INTEGER PRIMARY KEY)"));
    if (tdb.engine() == QLatin1String("postgresql"))
        exec(db, QStringLiteral("INSERT INTO BENCH_N SELECT GENERATE_SERIES(1, 10000)"));
    else
        exec(db,
             QStringLiteral("WITH RECURSIVE C(N) AS (SELECT 1 UNION ALL SELECT N + 1 FROM C "
                            "WHERE N < 10000) INSERT INTO BENCH_N SELECT N FROM C"));
    exec(db,
         QStringLiteral(
                 "INSERT INTO ZA040MS (PROJECT_ID, MENU_ID, MENU_NAME, DISPLAY_SEQ) "
                 "SELECT 'BENCH1', CAST(10 + N AS VARCHAR(2)), '메뉴 ' || CAST(N AS VARCHAR(2)), N "
                 "FROM BENCH_N WHERE N <= 30"));
    exec(db,
         QStringLiteral(
                 "INSERT INTO ZA050MS (PROJECT_ID, MENU_ID, PROGRAM_ID, PROGRAM_NAME, DISPLAY_SEQ) "
                 "SELECT 'BENCH1', CAST(11 + (N - 1) / 50 AS VARCHAR(2)), CAST(100000 + N AS "
                 "VARCHAR(6)), "
                 "'프로그램 ' || CAST(N AS VARCHAR(6)), (N - 1) % 50 + 1 FROM BENCH_N WHERE N <= "
                 "1500"));
    exec(db,
         QStringLiteral(
                 "INSERT INTO ZA010MS (EMP_NO, EMP_NAME, USE_YN, ADMIN_YN) "
                 "SELECT CAST(10000000 + N AS VARCHAR(8)), '사용자', 'Y', 'N' FROM BENCH_N"));
    exec(db,
         QStringLiteral("INSERT INTO ZA130MS (EMP_NO, PROJECT_ID, PROJECT_LEVEL) "
                        "SELECT CAST(10000000 + N AS VARCHAR(8)), 'BENCH1', CAST(101 + N % 100 AS "
                        "VARCHAR(3)) "
                        "FROM BENCH_N"));
    exec(db,
         QStringLiteral(
                 "INSERT INTO ZA140MS (PROJECT_ID, PROJECT_LEVEL, PROGRAM_ID) "
                 "SELECT 'BENCH1', CAST(100 + A.N AS VARCHAR(3)), CAST(100000 + B.N AS VARCHAR(6)) "
                 "FROM BENCH_N A, BENCH_N B WHERE A.N <= 100 AND B.N <= 1500 AND (A.N + B.N) % 3 "
                 "<> 0"));
    exec(db,
         QStringLiteral("INSERT INTO ZA150MS (EMP_NO, PROJECT_ID, PROGRAM_ID, ADD_YN) "
                        "SELECT CAST(10000000 + A.N AS VARCHAR(8)), 'BENCH1', "
                        "CAST(100001 + (A.N * 7 + B.N * 131) % 1500 AS VARCHAR(6)), "
                        "CASE WHEN B.N % 2 = 0 THEN 'Y' ELSE 'N' END "
                        "FROM BENCH_N A, BENCH_N B WHERE B.N <= 10"));
    exec(db, QStringLiteral("ANALYZE"));
}

// The menu bar as the main window builds it: the rule's statements, then a
// menu per menu and an item per program.
int menuBuild(const QSqlDatabase &db)
{
    QMenuBar bar;
    int programs = 0;
    for (const Authority::MenuPrograms &entry : Authority::menuBar(db, Project, EmpNo)) {
        auto *menu = new QMenu(entry.menu.menuName, &bar);
        menu->setObjectName(QStringLiteral("mnu") + entry.menu.menuId);
        bar.addMenu(menu);
        for (const Authority::ProgramRow &program : entry.programs) {
            QAction *item = menu->addAction(program.programName);
            item->setObjectName(QStringLiteral("mnu") + program.programId);
            item->setData(program.programId);
            item->setStatusTip(program.programId);
            ++programs;
        }
    }
    return programs;
}

// The rule's own statements through our statement layer: the menu query, then
// the program query of every menu (how the menu bar was built before one
// decision served both the menu bar and kesa-db explain).
int ruleStatements(const QSqlDatabase &db)
{
    int programs = 0;
    for (const Authority::MenuRow &menu : Authority::menus(db, Project)) {
        SqlStatement query(
                db,
                QStringLiteral(
                        "SELECT MENU_ID, PROGRAM_ID, PROGRAM_NAME FROM ZA050MS "
                        "WHERE PROJECT_ID = :P0 AND MENU_ID = :P1 AND PROGRAM_ID IN ("
                        "SELECT PROGRAM_ID FROM ZA140MS WHERE PROJECT_ID = :P0 AND PROJECT_LEVEL = "
                        "(SELECT PROJECT_LEVEL FROM ZA130MS WHERE EMP_NO = :P2 AND PROJECT_ID = "
                        ":P0) "
                        "UNION ALL "
                        "SELECT PROGRAM_ID FROM ZA150MS WHERE EMP_NO = :P2 AND PROJECT_ID = :P0 "
                        "AND "
                        "ADD_YN = 'Y' "
                        "EXCEPT "
                        "SELECT PROGRAM_ID FROM ZA150MS WHERE EMP_NO = :P2 AND PROJECT_ID = :P0 "
                        "AND "
                        "ADD_YN = 'N') "
                        "AND DISPLAY_SEQ > 0 "
                        "ORDER BY DISPLAY_SEQ"));
        query.bind(QStringLiteral("P0"), Project);
        query.bind(QStringLiteral("P1"), menu.menuId);
        query.bind(QStringLiteral("P2"), EmpNo);
        query.open();
        while (query.next())
            ++programs;
    }
    return programs;
}

// The statements of one menu build as the client gets them.
QString menuScript()
{
    QString script = QStringLiteral(
            "SELECT MENU_ID, MENU_NAME FROM ZA040MS WHERE PROJECT_ID = 'BENCH1' "
            "AND DISPLAY_SEQ > 0 ORDER BY DISPLAY_SEQ;\n");
    for (int m = 11; m <= 40; ++m) {
        script += QStringLiteral("SELECT MENU_ID, PROGRAM_ID, PROGRAM_NAME FROM ZA050MS WHERE "
                                 "PROJECT_ID = 'BENCH1' AND MENU_ID = '%1' "
                                 "AND PROGRAM_ID IN (SELECT PROGRAM_ID FROM ZA140MS WHERE "
                                 "PROJECT_ID = 'BENCH1' AND PROJECT_LEVEL = "
                                 "(SELECT PROJECT_LEVEL FROM ZA130MS WHERE EMP_NO = '%2' AND "
                                 "PROJECT_ID = 'BENCH1') UNION ALL "
                                 "SELECT PROGRAM_ID FROM ZA150MS WHERE EMP_NO = '%2' AND "
                                 "PROJECT_ID = 'BENCH1' AND ADD_YN = 'Y' "
                                 "EXCEPT SELECT PROGRAM_ID FROM ZA150MS WHERE EMP_NO = '%2' AND "
                                 "PROJECT_ID = 'BENCH1' AND ADD_YN = 'N') "
                                 "AND DISPLAY_SEQ > 0 ORDER BY DISPLAY_SEQ;\n")
                          .arg(m)
                          .arg(EmpNo);
    }
    return script;
}

// Seconds the client takes for a script file.
double runClient(const TestDatabase &tdb, const QString &script)
{
    QTemporaryFile file;
    file.open();
    file.write(script.toUtf8());
    file.flush();
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    if (tdb.engine() == QLatin1String("postgresql"))
        p.start(QStringLiteral("psql"),
                {QStringLiteral("-X"),
                 QStringLiteral("-q"),
                 QStringLiteral("-f"),
                 file.fileName(),
                 tdb.alias()});
    else
        p.start(QStringLiteral("sqlite3"),
                {tdb.alias(), QStringLiteral(".read ") + file.fileName()});
    p.waitForFinished(-1);
    return timer.nsecsElapsed() / 1e9;
}

TestDatabase *databaseOf(int engine)
{
    return engine == 0 ? sqliteDb.get() : postgresDb.get();
}

void BM_MenuBuild(benchmark::State &state)
{
    TestDatabase *tdb = databaseOf(int(state.range(0)));
    if (!tdb) {
        state.SkipWithError("engine not available");
        return;
    }
    const QSqlDatabase db = QSqlDatabase::database(QStringLiteral("bench_measure_") + tdb->engine(),
                                                   false);
    int programs = 0;
    for (auto _ : state)
        programs = menuBuild(db);
    state.counters["programs"] = programs;
}

void BM_RuleStatements(benchmark::State &state)
{
    TestDatabase *tdb = databaseOf(int(state.range(0)));
    if (!tdb) {
        state.SkipWithError("engine not available");
        return;
    }
    const QSqlDatabase db = QSqlDatabase::database(QStringLiteral("bench_measure_") + tdb->engine(),
                                                   false);
    int programs = 0;
    for (auto _ : state)
        programs = ruleStatements(db);
    state.counters["programs"] = programs;
}

void BM_ClientFloor(benchmark::State &state)
{
    TestDatabase *tdb = databaseOf(int(state.range(0)));
    if (!tdb) {
        state.SkipWithError("engine not available");
        return;
    }
    const QString once = menuScript();
    const QString many = once.repeated(Repetitions);
    for (auto _ : state) {
        const double empty = runClient(*tdb, QStringLiteral("SELECT 1;\n"));
        const double full = runClient(*tdb, many);
        state.SetIterationTime(std::max(0.0, full - empty) / Repetitions);
    }
}

// The same statements straight through the SQLite C interface, for comparison.
void BM_SqliteCApi(benchmark::State &state)
{
    if (!sqliteDb) {
        state.SkipWithError("engine not available");
        return;
    }
    sqlite3 *handle = sqliteHandle(
            QSqlDatabase::database(QStringLiteral("bench_measure_sqlite"), false));
    const QStringList statements = menuScript().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    int rows = 0;
    for (auto _ : state) {
        rows = 0;
        for (const QString &sql : statements) {
            sqlite3_stmt *stmt = nullptr;
            sqlite3_prepare_v2(handle, sql.toUtf8().constData(), -1, &stmt, nullptr);
            while (sqlite3_step(stmt) == SQLITE_ROW) {
                benchmark::DoNotOptimize(sqlite3_column_text(stmt, 1));
                ++rows;
            }
            sqlite3_finalize(stmt);
        }
    }
    state.counters["rows"] = rows;
}

} // namespace

void BM_SqliteCApiBound(benchmark::State &state)
{
    if (!sqliteDb) {
        state.SkipWithError("engine not available");
        return;
    }
    sqlite3 *handle = sqliteHandle(
            QSqlDatabase::database(QStringLiteral("bench_measure_sqlite"), false));
    QStringList statements = menuScript().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (QString &sql : statements)
        sql.replace(QLatin1String("'BENCH1'"), QLatin1String("?1"))
                .replace(QStringLiteral("'%1'").arg(EmpNo), QLatin1String("?2"));
    int rows = 0;
    for (auto _ : state) {
        rows = 0;
        for (const QString &sql : statements) {
            sqlite3_stmt *stmt = nullptr;
            sqlite3_prepare_v2(handle, sql.toUtf8().constData(), -1, &stmt, nullptr);
            sqlite3_bind_text(stmt, 1, "BENCH1", -1, SQLITE_STATIC);
            sqlite3_bind_text(stmt, 2, "10004242", -1, SQLITE_STATIC);
            while (sqlite3_step(stmt) == SQLITE_ROW) {
                benchmark::DoNotOptimize(sqlite3_column_text(stmt, 1));
                ++rows;
            }
            sqlite3_finalize(stmt);
        }
    }
    state.counters["rows"] = rows;
}

BENCHMARK(BM_SqliteCApiBound)->Name("CApiBound/sqlite")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SqliteCApi)->Name("CApi/sqlite")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MenuBuild)->Arg(0)->Name("MenuBuild/sqlite")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RuleStatements)->Arg(0)->Name("RuleStatements/sqlite")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClientFloor)
        ->Arg(0)
        ->Name("ClientFloor/sqlite3")
        ->UseManualTime()
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MenuBuild)->Arg(1)->Name("MenuBuild/postgresql")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RuleStatements)
        ->Arg(1)
        ->Name("RuleStatements/postgresql")
        ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClientFloor)
        ->Arg(1)
        ->Name("ClientFloor/psql")
        ->UseManualTime()
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    for (const QString &engine : TestDatabase::engines()) {
        auto tdb = std::make_unique<TestDatabase>(engine,
                                                  TestDatabase::Schema,
                                                  QStringLiteral("bench_") + engine);
        if (!tdb->isOpen()) {
            QTextStream(stderr) << engine << " cannot be measured: " << tdb->errorText() << '\n';
            return 1;
        }
        populate(*tdb);
        // Measure on a connection opened after the data is in, as a workstation would.
        tdb->openAnother(QStringLiteral("bench_measure_") + engine);
        const int built = menuBuild(tdb->db());
        QTextStream(stderr) << engine << ": " << built << " programs in the menu bar\n";
        if (built != ruleStatements(tdb->db())) {
            QTextStream(stderr) << engine << ": the menu bar differs from the rule's statements\n";
            return 1;
        }
        (engine == QLatin1String("sqlite") ? sqliteDb : postgresDb) = std::move(tdb);
    }
    benchmark::RunSpecifiedBenchmarks();
    sqliteDb.reset();
    postgresDb.reset();
    return 0;
}
