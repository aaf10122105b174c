// Start-up of kesa_z on the demo database, from process start until the main
// window is painted for the first time, against a bare Qt program that first
// shows the same splash picture (MainImg.rcc, in a QSplashScreen) and then a
// QMainWindow with five Hangul menus (this executable with --bare-window): any
// window that shows Hangul starts fontconfig and a font engine, so an empty
// window would be no fair floor. Both print "shown" from the event loop once
// the main window's first paint is done; the time to that line is measured,
// in interleaved pairs. Without the splash picture nothing is measured.
//
// On PostgreSQL (the cluster of $KESA_TEST_PG_SERVICE) the floor also opens
// one libpq connection and sends the statements one start of the program
// sends, as the server logged them, before its window shows. How many those
// are and what they cost the server (pg_stat_statements, when the cluster
// loads it) go to standard error: many workstations start at once.
#include "interleaved.h"
#include "testdatabase.h"

#include "db/dberror.h"
#include "db/sqlstatement.h"
#include "shell/startupscript.h"

#include <libpq-fe.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QProcess>
#include <QRegularExpression>
#include <QResource>
#include <QSplashScreen>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <functional>
#include <optional>

namespace {

QString binDir()
{
    return qEnvironmentVariable("KESA_BIN_DIR",
                                QCoreApplication::applicationDirPath() + QStringLiteral("/../bin"));
}

QString splashFile()
{
    return binDir() + QStringLiteral("/MainImg.rcc");
}

// The libpq calls of the floor, looked up at run time as the program's
// database driver looks libpq up: a floor on SQLite does not load it.
struct PgClient
{
    template<typename F>
    F *get(const char *name)
    {
        void *found = library ? dlsym(library, name) : nullptr;
        if (!found) {
            std::fprintf(stderr, "bench_startup: libpq has no %s\n", name);
            std::exit(1);
        }
        return reinterpret_cast<F *>(found);
    }

    void *library = dlopen("libpq.so.5", RTLD_NOW | RTLD_LOCAL);
    decltype(PQconnectdb) *connectdb = get<decltype(PQconnectdb)>("PQconnectdb");
    decltype(PQstatus) *status = get<decltype(PQstatus)>("PQstatus");
    decltype(PQerrorMessage) *errorMessage = get<decltype(PQerrorMessage)>("PQerrorMessage");
    decltype(PQexec) *exec = get<decltype(PQexec)>("PQexec");
    decltype(PQexecParams) *execParams = get<decltype(PQexecParams)>("PQexecParams");
    decltype(PQresultStatus) *resultStatus = get<decltype(PQresultStatus)>("PQresultStatus");
    decltype(PQclear) *clear = get<decltype(PQclear)>("PQclear");
    decltype(PQfinish) *finish = get<decltype(PQfinish)>("PQfinish");
};

// One connection that sends the statements of a file written by
// recordStartStatements(); exits on any failure.
PGconn *replay(const PgClient &pq, const char *conninfo, const char *file)
{
    QFile f(QString::fromLocal8Bit(file));
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "bench_startup: cannot read %s\n", file);
        std::exit(1);
    }
    const QJsonArray statements = QJsonDocument::fromJson(f.readAll()).array();
    PGconn *connection = pq.connectdb(conninfo);
    if (pq.status(connection) != CONNECTION_OK) {
        std::fprintf(stderr, "bench_startup: %s", pq.errorMessage(connection));
        std::exit(1);
    }
    for (const QJsonValue &entry : statements) {
        const QJsonObject statement = entry.toObject();
        const QByteArray sql = statement.value(QStringLiteral("sql")).toString().toUtf8();
        PGresult *result = nullptr;
        if (statement.contains(QStringLiteral("params"))) {
            const QJsonArray params = statement.value(QStringLiteral("params")).toArray();
            QList<QByteArray> texts;
            QList<const char *> values;
            for (const QJsonValue &p : params)
                texts.append(p.isNull() ? QByteArray() : p.toString().toUtf8());
            for (int i = 0; i < params.size(); ++i)
                values.append(params.at(i).isNull() ? nullptr : texts.at(i).constData());
            result = pq.execParams(connection,
                                   sql.constData(),
                                   int(values.size()),
                                   nullptr,
                                   values.constData(),
                                   nullptr,
                                   nullptr,
                                   0);
        } else {
            result = pq.exec(connection, sql.constData());
        }
        const ExecStatusType status = pq.resultStatus(result);
        pq.clear(result);
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
            std::fprintf(stderr,
                         "bench_startup: %s failed: %s",
                         sql.constData(),
                         pq.errorMessage(connection));
            std::exit(1);
        }
    }
    return connection;
}

// The floor's window; with "--replay CONNINFO FILE" after the mode it also
// sends a start's statements on one connection while its splash shows.
int bareWindow(int argc, char *argv[])
{
    const bool withStatements = argc == 5 && std::strcmp(argv[2], "--replay") == 0;
    QApplication app(argc, argv);
    if (!QResource::registerResource(splashFile(), QStringLiteral("/floor"))) {
        std::fprintf(stderr, "bench_startup: no splash picture in %s\n", qPrintable(splashFile()));
        return 1;
    }
    QSplashScreen splash(QPixmap(QStringLiteral(":/floor/SPLASH")));
    splash.show();
    // Painted before the main window is built, as the program's splash is.
    splash.repaint();
    QCoreApplication::processEvents();
    std::optional<PgClient> pq;
    PGconn *connection = nullptr;
    if (withStatements) {
        pq.emplace();
        connection = replay(*pq, argv[3], argv[4]);
    }
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("시스템 관리"));
    const char *const menus[] = {"사용자 관리", "권한 관리", "공통 코드", "발권", "창"};
    for (const char *title : menus) {
        QMenu *menu = window.menuBar()->addMenu(QString::fromUtf8(title));
        for (int i = 1; i <= 5; ++i)
            menu->addAction(QString::fromUtf8(title) + QStringLiteral(" %1").arg(i));
    }
    StartupScript::afterFirstPaint(&window, [] {
        std::fputs("shown\n", stdout);
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    // Closed before the window shows, as the program closes its own.
    splash.close();
    window.showMaximized();
    const int result = app.exec();
    if (connection)
        pq->finish(connection);
    return result;
}

// Seconds until the child prints "shown"; the child's end is waited for
// outside the time. Exits on failure.
double timeToShown(const QString &program, const QStringList &arguments, const QString &tmp)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KESA_STARTUP_PROBE"), QStringLiteral("quit"));
    env.insert(QStringLiteral("TMPDIR"), tmp);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), tmp);
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    QByteArray output;
    while (!output.contains("shown\n")) {
        if (!process.waitForReadyRead(30000)) {
            std::fprintf(stderr, "bench_startup: %s did not show its window\n", qPrintable(program));
            std::exit(1);
        }
        output += process.readAllStandardOutput();
    }
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    process.waitForFinished(30000);
    return seconds;
}

// "$1 = 'a''b', $2 = NULL" as the server logs a statement's parameters.
QJsonArray parametersOf(const QString &text)
{
    QJsonArray values;
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype equals = text.indexOf(QLatin1String(" = "), i);
        if (equals < 0)
            break;
        i = equals + 3;
        if (text.mid(i, 4) == QLatin1String("NULL")) {
            values.append(QJsonValue::Null);
            i += 4;
        } else {
            QString value;
            for (++i; i < text.size(); ++i) {
                if (text.at(i) == QLatin1Char('\'')) {
                    if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\'')) {
                        value += QLatin1Char('\'');
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += text.at(i);
            }
            values.append(value);
        }
        i = text.indexOf(QLatin1String(", $"), i);
        if (i < 0)
            break;
        i += 2;
    }
    return values;
}

// The statements a server log holds, as replay() sends them: "statement:"
// lines as they stand, "execute …:" lines with the parameters of their DETAIL
// line. Lines of a statement after its first carry a leading tab.
QJsonArray statementsOf(const QString &log)
{
    static const QRegularExpression head(
            QStringLiteral("^\\d{4}-\\d\\d-\\d\\d [\\d:.]+ \\S+ \\[(\\d+)\\] ([A-Z]+):  (.*)$"));
    static const QRegularExpression execute(QStringLiteral("^execute [^:]+: (.*)$"),
                                            QRegularExpression::DotMatchesEverythingOption);
    struct Message
    {
        QString pid;
        QString level;
        QString text;
    };
    QList<Message> messages;
    for (const QString &line : log.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch m = head.match(line);
        if (m.hasMatch())
            messages.append({m.captured(1), m.captured(2), m.captured(3)});
        else if (line.startsWith(QLatin1Char('\t')) && !messages.isEmpty())
            messages.last().text += QLatin1Char('\n') + line.mid(1);
    }
    QJsonArray statements;
    const QLatin1String simple("statement: ");
    const QLatin1String parameters("parameters: ");
    for (qsizetype i = 0; i < messages.size(); ++i) {
        const Message &m = messages.at(i);
        if (m.level != QLatin1String("LOG"))
            continue;
        if (m.text.startsWith(simple)) {
            statements.append(QJsonObject{{QStringLiteral("sql"), m.text.mid(simple.size())}});
            continue;
        }
        const QRegularExpressionMatch e = execute.match(m.text);
        if (!e.hasMatch())
            continue;
        QJsonArray params;
        if (i + 1 < messages.size() && messages.at(i + 1).pid == m.pid
            && messages.at(i + 1).level == QLatin1String("DETAIL")
            && messages.at(i + 1).text.startsWith(parameters))
            params = parametersOf(messages.at(i + 1).text.mid(parameters.size()));
        statements.append(QJsonObject{{QStringLiteral("sql"), e.captured(1)},
                                      {QStringLiteral("params"), params}});
    }
    return statements;
}

void exec(const QSqlDatabase &db, const QString &sql)
{
    SqlStatement statement(db, sql);
    statement.exec();
}

// What the statements since the last reset of pg_stat_statements cost the
// server in this database (the reset itself left out), as lines to print.
QString startPrices(const TestDatabase &pg)
{
    SqlStatement
            times(pg.db(),
                  QStringLiteral(
                          "SELECT S.CALLS, S.TOTAL_EXEC_TIME + S.TOTAL_PLAN_TIME, S.QUERY "
                          "FROM PG_STAT_STATEMENTS S, PG_DATABASE D WHERE D.OID = S.DBID "
                          "AND D.DATNAME = CURRENT_DATABASE() "
                          "AND UPPER(S.QUERY) NOT LIKE '%PG_STAT_STATEMENTS%' ORDER BY 2 DESC"));
    times.open();
    double total = 0;
    QStringList lines;
    while (times.next()) {
        total += times.value(1).toDouble();
        lines.append(QStringLiteral("  %1 x %2 ms  %3")
                             .arg(times.value(0).toInt(), 3)
                             .arg(times.value(1).toDouble(), 7, 'f', 3)
                             .arg(times.value(2).toString().simplified().left(100)));
    }
    return QStringLiteral("startup postgresql: server time of one start %1 ms:\n")
                   .arg(total, 0, 'f', 3)
           + lines.join(QLatin1Char('\n'));
}

// One start of the program on PostgreSQL with the server logging its
// statements: written to `file` for the floor, counted and, where the
// cluster loads pg_stat_statements, priced on standard error. False when the
// start's statements cannot be read.
bool recordStartStatements(const TestDatabase &pg,
                           const std::function<double()> &start,
                           const QString &file)
{
    const QString log = qEnvironmentVariable("KESA_TEST_PG_DIR") + QStringLiteral("/server.log");
    if (!QFileInfo(log).isFile()) {
        std::fprintf(stderr,
                     "bench_startup: the cluster's log is unknown (KESA_TEST_PG_DIR): %s\n",
                     qPrintable(log));
        return false;
    }
    const QString name = pg.db().databaseName();
    exec(pg.db(), QStringLiteral("ALTER DATABASE \"%1\" SET LOG_STATEMENT = 'all'").arg(name));
    bool priced = true;
    try {
        exec(pg.db(), QStringLiteral("CREATE EXTENSION IF NOT EXISTS PG_STAT_STATEMENTS"));
        exec(pg.db(), QStringLiteral("SELECT PG_STAT_STATEMENTS_RESET()"));
    } catch (const DbError &) {
        priced = false; // not loaded by this cluster
    }
    const qint64 from = QFileInfo(log).size();
    start();
    // Priced before the setting is put back: no statement of the bench's own
    // comes between.
    const QString prices = priced ? startPrices(pg) : QString();
    exec(pg.db(), QStringLiteral("ALTER DATABASE \"%1\" RESET LOG_STATEMENT").arg(name));
    QFile logFile(log);
    if (!logFile.open(QIODevice::ReadOnly) || !logFile.seek(from))
        return false;
    const QJsonArray statements = statementsOf(QString::fromUtf8(logFile.readAll()));
    QFile out(file);
    if (statements.isEmpty() || !out.open(QIODevice::WriteOnly)
        || out.write(QJsonDocument(statements).toJson()) < 0)
        return false;
    std::fprintf(stderr,
                 "startup postgresql: one start sends %d statements\n",
                 int(statements.size()));
    if (priced)
        std::fprintf(stderr, "%s\n", qPrintable(prices));
    else
        std::fprintf(stderr,
                     "startup postgresql: no server times (pg_stat_statements not loaded)\n");
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 1 && std::strcmp(argv[1], "--bare-window") == 0)
        return bareWindow(argc, argv);

    QCoreApplication app(argc, argv);
    const QString self = QCoreApplication::applicationFilePath();
    const QString bin = binDir();
    // Every installed copy has its splash picture: a start without it is not
    // what a user gets.
    if (!QFileInfo(splashFile()).isFile()) {
        std::fprintf(stderr, "bench_startup: no splash picture in %s\n", qPrintable(splashFile()));
        return 1;
    }
    QTemporaryDir tmp;
    const QString alias = tmp.filePath(QStringLiteral("bench_demo.db"));
    QProcess demo;
    demo.start(bin + QStringLiteral("/kesa-db"), {QStringLiteral("demo"), alias});
    if (!demo.waitForFinished(60000) || demo.exitCode() != 0) {
        std::fprintf(stderr, "bench_startup: kesa-db demo failed\n");
        return 1;
    }
    const QString program = bin + QStringLiteral("/kesa_z");
    const QStringList launch = {alias,
                                QStringLiteral("kesa"),
                                QStringLiteral("A0001"),
                                QStringLiteral("김관리")};
    Interleaved::report(
            QStringLiteral("startup"),
            QStringLiteral("sqlite"),
            1.2,
            [&] { return timeToShown(program, launch, tmp.path()); },
            [&] { return timeToShown(self, {QStringLiteral("--bare-window")}, tmp.path()); });

    // The same on PostgreSQL, where a cluster is given (bench/run starts one).
    TestDatabase pg(QStringLiteral("postgresql"), TestDatabase::Demo, QStringLiteral("bench_pg"));
    if (!pg.isOpen()) {
        std::fprintf(stderr, "bench_startup: postgresql: %s\n", qPrintable(pg.errorText()));
        return pg.shouldSkip() ? 0 : 1;
    }
    const QStringList pgLaunch = {pg.alias(),
                                  QStringLiteral("postgres"),
                                  QStringLiteral("A0001"),
                                  QStringLiteral("김관리")};
    const auto pgStart = [&] { return timeToShown(program, pgLaunch, tmp.path()); };
    const QString statements = tmp.filePath(QStringLiteral("statements.json"));
    try {
        if (!recordStartStatements(pg, pgStart, statements)) {
            std::fprintf(stderr, "bench_startup: the statements of a start were not logged\n");
            return 1;
        }
    } catch (const DbError &e) {
        std::fprintf(stderr, "bench_startup: %s\n", qPrintable(e.message()));
        return 1;
    }
    Interleaved::report(QStringLiteral("startup"), QStringLiteral("postgresql"), 1.3, pgStart, [&] {
        return timeToShown(self,
                           {QStringLiteral("--bare-window"),
                            QStringLiteral("--replay"),
                            pg.alias(),
                            statements},
                           tmp.path());
    });
    return 0;
}
