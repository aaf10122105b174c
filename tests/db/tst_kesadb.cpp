#include "db/demodata.h"
#include "db/numberledger.h"
#include "db/rightslog.h"
#include "db/schema.h"
#include "db/sqlstatement.h"
#include "testdatabase.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

struct Result
{
    int exitCode;
    QString out;
    QString err;
};

static Result kesaDb(const QStringList &args)
{
    QProcess p;
    p.start(qEnvironmentVariable("KESA_BIN_DIR") + QStringLiteral("/kesa-db"), args);
    if (!p.waitForFinished(120000))
        return {-1, QString(), QStringLiteral("kesa-db did not finish")};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

static void exec(const QSqlDatabase &db, const QString &sql, const QVariantList &params = {})
{
    SqlStatement q(db, sql);
    for (int i = 0; i < params.size(); ++i)
        q.bind(QStringLiteral("P%1").arg(i), params.at(i));
    q.exec();
}

static QStringList column(const QSqlDatabase &db, const QString &sql)
{
    SqlStatement q(db, sql);
    q.open();
    QStringList values;
    while (q.next())
        values << q.value(0).toString();
    return values;
}

// The menu bar by the rule's own statements (menu query, then the program
// query of every menu), written out as "M1:A,B|M2:C": what `menu` must print.
static QString ruleMenuBar(const QSqlDatabase &db, const QString &project, const QString &empNo)
{
    SqlStatement menus(db,
                       QStringLiteral("SELECT MENU_ID FROM ZA040MS WHERE PROJECT_ID = :P0 AND "
                                      "DISPLAY_SEQ > 0 ORDER BY DISPLAY_SEQ"));
    menus.bind(QStringLiteral("P0"), project);
    menus.open();
    QStringList bar;
    while (menus.next()) {
        SqlStatement programs(
                db,
                QStringLiteral(
                        "SELECT PROGRAM_ID FROM ZA050MS WHERE PROJECT_ID = :P0 AND MENU_ID = :P1 "
                        "AND PROGRAM_ID IN (SELECT PROGRAM_ID FROM ZA140MS WHERE PROJECT_ID = :P0 "
                        "AND PROJECT_LEVEL = (SELECT PROJECT_LEVEL FROM ZA130MS WHERE EMP_NO = :P2 "
                        "AND PROJECT_ID = :P0) UNION ALL SELECT PROGRAM_ID FROM ZA150MS WHERE "
                        "EMP_NO = :P2 AND PROJECT_ID = :P0 AND ADD_YN = 'Y' EXCEPT SELECT "
                        "PROGRAM_ID FROM ZA150MS WHERE EMP_NO = :P2 AND PROJECT_ID = :P0 AND "
                        "ADD_YN = 'N') AND DISPLAY_SEQ > 0 ORDER BY DISPLAY_SEQ"));
        programs.bind(QStringLiteral("P0"), project);
        programs.bind(QStringLiteral("P1"), menus.value(0));
        programs.bind(QStringLiteral("P2"), empNo);
        programs.open();
        QStringList ids;
        while (programs.next())
            ids << programs.value(0).toString();
        if (!ids.isEmpty())
            bar << menus.value(0).toString() + QLatin1Char(':') + ids.join(QLatin1Char(','));
    }
    return bar.join(QLatin1Char('|'));
}

// `menu` output in the same form.
static QString printedMenuBar(const QString &out)
{
    QStringList bar;
    for (const QString &line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (!line.startsWith(QLatin1Char('\t')))
            bar << line.section(QLatin1Char('\t'), 0, 0) + QLatin1Char(':');
        else
            bar.last() += (bar.last().endsWith(QLatin1Char(':')) ? QString() : QStringLiteral(","))
                          + line.section(QLatin1Char('\t'), 1, 1);
    }
    return bar.join(QLatin1Char('|'));
}

// A random authority fixture: two projects with shown, hidden (0 and NULL) and
// missing menus, programs filed under two menus, levels known and unknown,
// null levels, overrides 'Y', 'N' and neither, users in use and not, and an
// employee with overrides but no user row. Display orders are distinct so
// that the order of the bar is defined.
static void randomFixture(const QSqlDatabase &db, quint32 seed)
{
    QRandomGenerator random(seed);
    const auto pick = [&](const QVariantList &values) {
        return values.at(random.bounded(int(values.size())));
    };
    const QStringList projects = {QStringLiteral("RND_01"), QStringLiteral("RND_02")};
    const QStringList employees = {QStringLiteral("E01"),
                                   QStringLiteral("E02"),
                                   QStringLiteral("E03"),
                                   QStringLiteral("E04"),
                                   QStringLiteral("E05"),
                                   QStringLiteral("E06"),
                                   QStringLiteral("GHOST")};
    for (const QString &emp : employees.mid(0, 6))
        exec(db,
             QStringLiteral("INSERT INTO ZA010MS (EMP_NO, EMP_NAME, USE_YN, ADMIN_YN) VALUES "
                            "(:P0, :P0, :P1, 'N')"),
             {emp, pick({QStringLiteral("Y"), QStringLiteral("Y"), QStringLiteral("N")})});
    for (const QString &project : projects) {
        exec(db,
             QStringLiteral("INSERT INTO ZA020MS (PROJECT_ID, PROJECT_NAME, TEAM_ROLE) VALUES "
                            "(:P0, :P0, '0')"),
             {project});
        for (int m = 1; m <= 4; ++m)
            exec(db,
                 QStringLiteral("INSERT INTO ZA040MS (PROJECT_ID, MENU_ID, MENU_NAME, DISPLAY_SEQ) "
                                "VALUES (:P0, :P1, :P1, :P2)"),
                 {project,
                  QStringLiteral("M%1").arg(m),
                  m == 4 ? pick({0, QVariant(QMetaType(QMetaType::Int))}) : QVariant(5 - m)});
        QStringList programs;
        for (int p = 1; p <= 14; ++p) {
            const QString program = QStringLiteral("P%1").arg(p, 2, 10, QLatin1Char('0'));
            programs << program;
            // M5 is not in ZA040MS; P13 and P14 are also filed under M1.
            const QVariant seq = pick({p, p, p, 0, QVariant(QMetaType(QMetaType::Int))});
            exec(db,
                 QStringLiteral("INSERT INTO ZA050MS (PROJECT_ID, MENU_ID, PROGRAM_ID, "
                                "PROGRAM_NAME, DISPLAY_SEQ) VALUES (:P0, :P1, :P2, :P2, :P3)"),
                 {project, QStringLiteral("M%1").arg(1 + random.bounded(5)), program, seq});
            if (p >= 13)
                exec(db,
                     QStringLiteral("INSERT INTO ZA050MS (PROJECT_ID, MENU_ID, PROGRAM_ID, "
                                    "PROGRAM_NAME, DISPLAY_SEQ) VALUES (:P0, 'M1', :P1, :P1, :P2) "
                                    "ON CONFLICT DO NOTHING"),
                     {project, program, 20 + p});
        }
        programs << QStringLiteral("PX1"); // granted but not a program of the project
        for (const char *level : {"L1", "L2"}) {
            exec(db,
                 QStringLiteral("INSERT INTO ZA030MS (PROJECT_ID, PROJECT_LEVEL, "
                                "PROJECT_LEVEL_NAME) VALUES (:P0, :P1, :P1)"),
                 {project, QString::fromLatin1(level)});
        }
        for (const QString &level :
             {QStringLiteral("L1"), QStringLiteral("L2"), QStringLiteral("LX")})
            for (const QString &program : programs)
                if (random.bounded(2) == 0)
                    exec(db,
                         QStringLiteral("INSERT INTO ZA140MS (PROJECT_ID, PROJECT_LEVEL, "
                                        "PROGRAM_ID) VALUES (:P0, :P1, :P2)"),
                         {project, level, program});
        for (const QString &emp : employees) {
            const int levelKind = random.bounded(5);
            if (levelKind < 4 && emp != QLatin1String("GHOST"))
                exec(db,
                     QStringLiteral("INSERT INTO ZA130MS (EMP_NO, PROJECT_ID, PROJECT_LEVEL) "
                                    "VALUES (:P0, :P1, :P2)"),
                     {emp,
                      project,
                      QVariantList{QStringLiteral("L1"),
                                   QStringLiteral("L2"),
                                   QStringLiteral("LX"),
                                   QVariant(QMetaType(QMetaType::QString))}
                              .at(levelKind)});
            for (const QString &program : programs)
                if (random.bounded(4) == 0)
                    exec(db,
                         QStringLiteral("INSERT INTO ZA150MS (EMP_NO, PROJECT_ID, PROGRAM_ID, "
                                        "ADD_YN) VALUES (:P0, :P1, :P2, :P3)"),
                         {emp,
                          project,
                          program,
                          pick({QStringLiteral("Y"), QStringLiteral("N"), QStringLiteral("X")})});
        }
    }
}

class tst_KesaDb : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initDemoMenu_data() { TestDatabase::addEngineRows(); }
    void initDemoMenu()
    {
        QFETCH(QString, engine);
        QString alias;
        {
            // An empty database of the engine; the tool creates everything.
            KESA_TEST_DATABASE(tdb, engine, TestDatabase::Empty, QStringLiteral("fixture"));
            alias = tdb.alias();
            Result r = kesaDb({QStringLiteral("init"), alias});
            QVERIFY2(r.exitCode == 0, qPrintable(r.err));
            r = kesaDb({QStringLiteral("init"), alias});
            QVERIFY2(r.exitCode == 0, qPrintable(r.err));
            r = kesaDb({QStringLiteral("demo"), alias});
            QVERIFY2(r.exitCode == 0, qPrintable(r.err));
            r = kesaDb({QStringLiteral("demo"), alias});
            QCOMPARE(r.exitCode, 1);
            QVERIFY(r.err.contains(QStringLiteral("사용자가 이미 등록된")));

            r = kesaDb({QStringLiteral("menu"),
                        alias,
                        QStringLiteral("KESA_G"),
                        QStringLiteral("E1001")});
            QVERIFY2(r.exitCode == 0, qPrintable(r.err));
            QCOMPARE(r.out,
                     QStringLiteral(
                             "G1\t예약 관리(&R)\n\tGAI010\t예약 등록\n\tGAS010\t예약 현황 조회\n"
                             "G2\t정산(&S)\n\tGAS020\t일일 정산 조회\n"));
            r = kesaDb({QStringLiteral("menu"),
                        alias,
                        QStringLiteral("KESA_G"),
                        QStringLiteral("NOBODY")});
            QCOMPARE(r.exitCode, 0);
            QCOMPARE(r.out, QString());
        }
    }

    // explain's verdicts, menu's output and the rule's own statements agree for
    // every employee and program of the demo and of random fixtures.
    void explainAgreesWithMenu_data()
    {
        TestDatabase::addEngineColumn();
        QTest::addColumn<int>("seed"); // 0: the demo
        for (int seed : {0, 1, 2})
            for (auto *r : TestDatabase::newRows(seed ? QStringLiteral("random %1").arg(seed)
                                                      : QStringLiteral("demo")))
                *r << seed;
    }
    void explainAgreesWithMenu()
    {
        QFETCH(QString, engine);
        QFETCH(int, seed);
        KESA_TEST_DATABASE(tdb,
                           engine,
                           seed ? TestDatabase::Schema : TestDatabase::Demo,
                           QStringLiteral("fixture"));
        const QSqlDatabase db = tdb.db();
        if (seed)
            randomFixture(db, quint32(seed));
        const QStringList employees
                = column(db,
                         QStringLiteral(
                                 "SELECT EMP_NO FROM ZA010MS UNION SELECT EMP_NO FROM ZA150MS "
                                 "UNION SELECT 'NOBODY' FROM DUAL"));
        const QStringList known = column(db, QStringLiteral("SELECT EMP_NO FROM ZA010MS"));
        const QStringList projects = column(db,
                                            QStringLiteral(
                                                    "SELECT DISTINCT PROJECT_ID FROM ZA050MS"));
        QVERIFY(employees.size() >= 4 && !projects.isEmpty());
        int onBar = 0;
        int offBar = 0;
        for (const QString &project : projects) {
            const int programRows = column(db,
                                           QStringLiteral("SELECT PROGRAM_ID FROM ZA050MS WHERE "
                                                          "PROJECT_ID = '%1'")
                                                   .arg(project))
                                            .size();
            for (const QString &emp : employees) {
                const QString where = project + QLatin1Char('/') + emp;
                const Result menu = kesaDb({QStringLiteral("menu"), tdb.alias(), project, emp});
                QVERIFY2(menu.exitCode == 0, qPrintable(menu.err));
                QCOMPARE(printedMenuBar(menu.out), ruleMenuBar(db, project, emp));
                const Result explain = kesaDb(
                        {QStringLiteral("explain"), tdb.alias(), project, emp});
                // An employee without a user row is reported, and fails.
                QVERIFY2(explain.exitCode == (known.contains(emp) ? 0 : 1), qPrintable(explain.err));
                // "MENU\tPROGRAM\t있음|없음\tNAME" per program, reasons indented.
                QStringList granted;
                int programs = 0;
                for (const QString &line : explain.out.split(QLatin1Char('\n'))) {
                    const QStringList f = line.split(QLatin1Char('\t'));
                    if (line.startsWith(QLatin1Char('\t')) || f.size() < 4)
                        continue;
                    ++programs;
                    if (f.at(2) == QStringLiteral("있음"))
                        granted << f.at(0) + QLatin1Char('/') + f.at(1);
                    else
                        QCOMPARE(f.at(2), QStringLiteral("없음"));
                }
                QVERIFY2(programs == programRows, qPrintable(where));
                QStringList printed;
                for (const QString &m :
                     printedMenuBar(menu.out).split(QLatin1Char('|'), Qt::SkipEmptyParts))
                    for (const QString &p : m.section(QLatin1Char(':'), 1).split(QLatin1Char(',')))
                        printed << m.section(QLatin1Char(':'), 0, 0) + QLatin1Char('/') + p;
                granted.sort();
                printed.sort();
                QVERIFY2(granted == printed, qPrintable(where));
                onBar += int(granted.size());
                offBar += programs - int(granted.size());
            }
        }
        QVERIFY(onBar > 5 && offBar > 5); // the fixture shows both verdicts
    }

    // The reasons of single programs, and a program the project does not have.
    void explainReasons_data() { TestDatabase::addEngineRows(); }
    void explainReasons()
    {
        QFETCH(QString, engine);
        KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo, QStringLiteral("fixture"));
        const QString alias = tdb.alias();
        // E1001 (level 20) has the addition ZXB000 and the removal ZXS095.
        Result r = kesaDb({QStringLiteral("explain"),
                           alias,
                           QStringLiteral("KESA_Z"),
                           QStringLiteral("E1001"),
                           QStringLiteral("ZXB000")});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 7);
        QVERIFY(lines.at(0).startsWith(QStringLiteral("사용자 E1001 ")));
        QVERIFY(lines.at(1).startsWith(QStringLiteral("레벨 20 ")));
        QCOMPARE(lines.at(2).section(QLatin1Char('\t'), 0, 2), QStringLiteral("Z5\tZXB000\t있음"));
        QCOMPARE(lines.at(3), QStringLiteral("\t레벨 20이(가) 부여하지 않음"));
        QVERIFY(lines.at(4).startsWith(QStringLiteral("\t사용자 추가 (ZA150MS ADD_YN 'Y' A0001 ")));
        QCOMPARE(lines.at(5), QStringLiteral("\t프로그램 표시 순서 1"));
        QVERIFY(lines.at(6).startsWith(QStringLiteral("\t메인메뉴 Z5 ")));

        r = kesaDb({QStringLiteral("explain"),
                    alias,
                    QStringLiteral("KESA_Z"),
                    QStringLiteral("E1001"),
                    QStringLiteral("ZXS095")});
        QVERIFY(r.out.contains(QStringLiteral("\tZXS095\t없음\t")));
        QVERIFY(r.out.contains(QStringLiteral("\t사용자 제외 (ZA150MS ADD_YN 'N' ")));

        // A menu gone from ZA040MS, and a program hidden by its display order.
        exec(tdb.db(),
             QStringLiteral("DELETE FROM ZA040MS WHERE PROJECT_ID = 'KESA_Z' AND MENU_ID = 'Z3'"));
        exec(tdb.db(),
             QStringLiteral("UPDATE ZA050MS SET DISPLAY_SEQ = 0 WHERE PROJECT_ID = 'KESA_Z' AND "
                            "PROGRAM_ID = 'ZXS090'"));
        r = kesaDb({QStringLiteral("explain"),
                    alias,
                    QStringLiteral("KESA_Z"),
                    QStringLiteral("E1001")});
        QVERIFY(r.out.contains(
                QStringLiteral("Z3\tZXI010\t없음\t공통코드 등록\n\t레벨 20이(가) 부여함")));
        QVERIFY(r.out.contains(QStringLiteral("\t메인메뉴 Z3이(가) ZA040MS에 없음\n")));
        QVERIFY(r.out.contains(QStringLiteral("\t프로그램 표시 순서 0: 메뉴에 나오지 않음\n")));

        r = kesaDb({QStringLiteral("explain"),
                    alias,
                    QStringLiteral("KESA_Z"),
                    QStringLiteral("NOBODY"),
                    QStringLiteral("ZAI010")});
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.out.startsWith(QStringLiteral("사용자 NOBODY: 등록되지 않음")));
        QVERIFY(r.out.contains(QStringLiteral("\t레벨 없음: 레벨 프로그램 아님\n")));
        r = kesaDb({QStringLiteral("explain"),
                    alias,
                    QStringLiteral("KESA_Z"),
                    QStringLiteral("E1001"),
                    QStringLiteral("GAI010")});
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.err.contains(QStringLiteral("GAI010")));
    }

    // copy-rights gives the same menu bars (diff-rights prints nothing), in one
    // project or all, stamps the copies and refuses bad employees unchanged.
    void copyAndDiffRights_data() { TestDatabase::addEngineRows(); }
    void copyAndDiffRights()
    {
        QFETCH(QString, engine);
        KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo, QStringLiteral("fixture"));
        const QSqlDatabase db = tdb.db();
        const QString alias = tdb.alias();
        const auto diff = [&](const QString &project = QString()) {
            QStringList args = {QStringLiteral("diff-rights"),
                                alias,
                                QStringLiteral("E1001"),
                                QStringLiteral("E1002")};
            if (!project.isEmpty())
                args << project;
            const Result r = kesaDb(args);
            return r.exitCode == 0 ? r.out : QStringLiteral("failed: ") + r.err;
        };
        const QString before = diff();
        QVERIFY(before.contains(QStringLiteral("KESA_G\tG1\tGAI010\tE1001 있음\tE1002 없음\t")));
        QVERIFY(before.contains(QStringLiteral("\tE1002: 레벨 없음: 레벨 프로그램 아님\n")));
        QVERIFY(before.contains(QStringLiteral("KESA_Z\t")));

        // Refusals write nothing.
        exec(db,
             QStringLiteral(
                     "INSERT INTO ZA010MS (EMP_NO, EMP_NAME, USE_YN) VALUES ('E9', '중지', 'N')"));
        const QString rows = QStringLiteral(
                "SELECT EMP_NO || PROJECT_ID || COALESCE(PROJECT_LEVEL, '-') FROM ZA130MS UNION "
                "ALL "
                "SELECT EMP_NO || PROJECT_ID || PROGRAM_ID || ADD_YN FROM ZA150MS");
        const QStringList stored = column(db, rows);
        for (const auto &[from, to, message] :
             QList<std::tuple<QString, QString, QString>>{{QStringLiteral("E1001"),
                                                           QStringLiteral("NOBODY"),
                                                           QStringLiteral("등록되지 않은 사용자")},
                                                          {QStringLiteral("NOBODY"),
                                                           QStringLiteral("E1002"),
                                                           QStringLiteral("등록되지 않은 사용자")},
                                                          {QStringLiteral("E1001"),
                                                           QStringLiteral("E9"),
                                                           QStringLiteral("사용중지된 사용자")},
                                                          {QStringLiteral("E9"),
                                                           QStringLiteral("E1002"),
                                                           QStringLiteral("사용중지된 사용자")},
                                                          {QStringLiteral("E1001"),
                                                           QStringLiteral("E1001"),
                                                           QStringLiteral("같은 사용자")}}) {
            const Result r = kesaDb({QStringLiteral("copy-rights"),
                                     alias,
                                     from,
                                     to,
                                     QStringLiteral("--all-projects")});
            QCOMPARE(r.exitCode, 1);
            QVERIFY2(r.err.contains(message), qPrintable(r.err));
        }
        // A project left empty (an unset shell variable), left out, or unknown
        // is refused: all projects must be asked for by name.
        for (const QStringList &project :
             QList<QStringList>{{QString()},
                                {},
                                {QStringLiteral("NONE_1")},
                                {QStringLiteral("KESA_G"), QStringLiteral("--all-projects")}}) {
            const Result r = kesaDb(QStringList{QStringLiteral("copy-rights"),
                                                alias,
                                                QStringLiteral("E1001"),
                                                QStringLiteral("E1002")}
                                    + project);
            QCOMPARE(r.exitCode, 2);
            QVERIFY(!r.err.isEmpty());
        }
        QCOMPARE(column(db, rows), stored);
        // explain of an unknown project or employee says so and fails.
        for (const auto &[project, emp, code] : QList<std::tuple<QString, QString, int>>{
                     {QStringLiteral("NONE_1"), QStringLiteral("E1001"), 2},
                     {QStringLiteral("KESA_Z"), QStringLiteral("NOBODY"), 1},
                     {QString(), QStringLiteral("E1001"), 2}}) {
            const Result r = kesaDb({QStringLiteral("explain"), alias, project, emp});
            QCOMPARE(r.exitCode, code);
            QVERIFY(r.err.contains(code == 2 ? QStringLiteral("프로젝트")
                                             : QStringLiteral("사용자")));
        }

        // One project: that project agrees, the others still differ.
        Result r = kesaDb({QStringLiteral("copy-rights"),
                           alias,
                           QStringLiteral("E1001"),
                           QStringLiteral("E1002"),
                           QStringLiteral("KESA_G"),
                           QStringLiteral("--by"),
                           QStringLiteral("A0001")});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QCOMPARE(diff(QStringLiteral("KESA_G")), QString());
        QVERIFY(diff().contains(QStringLiteral("KESA_Z\t")));
        // All projects; rows E1002 had and E1001 has not are gone too.
        exec(db,
             QStringLiteral("INSERT INTO ZA150MS (EMP_NO, PROJECT_ID, PROGRAM_ID, ADD_YN) VALUES "
                            "('E1002', 'KESA_Z', 'ZAI010', 'Y')"));
        r = kesaDb({QStringLiteral("copy-rights"),
                    alias,
                    QStringLiteral("E1001"),
                    QStringLiteral("E1002"),
                    QStringLiteral("--all-projects"),
                    QStringLiteral("--by"),
                    QStringLiteral("A0001")});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QCOMPARE(diff(), QString());
        QCOMPARE(column(db,
                        QStringLiteral("SELECT PROJECT_ID || PROGRAM_ID || ADD_YN FROM ZA150MS "
                                       "WHERE EMP_NO = 'E1002' ORDER BY 1")),
                 column(db,
                        QStringLiteral("SELECT PROJECT_ID || PROGRAM_ID || ADD_YN FROM ZA150MS "
                                       "WHERE EMP_NO = 'E1001' ORDER BY 1")));
        QCOMPARE(column(db,
                        QStringLiteral(
                                "SELECT DISTINCT U_EMP_NO FROM ZA130MS WHERE EMP_NO = 'E1002' "
                                "AND U_DATE IS NOT NULL AND U_IP IS NOT NULL UNION "
                                "SELECT DISTINCT U_EMP_NO FROM ZA150MS WHERE EMP_NO = 'E1002' "
                                "AND U_DATE IS NOT NULL AND U_IP IS NOT NULL")),
                 QStringList{QStringLiteral("A0001")});
    }

    // Every kind of change of rights is logged with its values, writer and time,
    // by the database whoever writes; rights-log filters by day and employee.
    void rightsLog_data() { TestDatabase::addEngineRows(); }
    void rightsLog()
    {
        QFETCH(QString, engine);
        KESA_TEST_DATABASE(tdb, engine, TestDatabase::Schema, QStringLiteral("fixture"));
        const QSqlDatabase db = tdb.db();
        const QStringList changes = {
                "INSERT INTO ZA010MS (EMP_NO, EMP_NAME, USE_YN, ADMIN_YN, U_EMP_NO, U_IP) VALUES "
                "('E1', '하나', 'Y', 'N', 'A1', '10.0.0.1')",
                "UPDATE ZA010MS SET EMP_NAME = '둘', U_EMP_NO = 'A2' WHERE EMP_NO = 'E1'",
                "UPDATE ZA010MS SET ADMIN_YN = 'Y', U_EMP_NO = 'A2', U_IP = '10.0.0.2' WHERE "
                "EMP_NO = 'E1'",
                "INSERT INTO ZA130MS (EMP_NO, PROJECT_ID, PROJECT_LEVEL, U_EMP_NO, U_IP) VALUES "
                "('E1', 'PRJ_01', '10', 'A1', '10.0.0.1')",
                "UPDATE ZA130MS SET PROJECT_LEVEL = '20', U_EMP_NO = 'A2' WHERE EMP_NO = 'E1'",
                "INSERT INTO ZA140MS (PROJECT_ID, PROJECT_LEVEL, PROGRAM_ID, U_EMP_NO, U_IP) "
                "VALUES "
                "('PRJ_01', '20', 'PRG001', 'A1', '10.0.0.1')",
                "DELETE FROM ZA140MS",
                "INSERT INTO ZA150MS (EMP_NO, PROJECT_ID, PROGRAM_ID, ADD_YN, U_EMP_NO, U_IP) "
                "VALUES "
                "('E2', 'PRJ_01', 'PRG001', 'N', 'A1', '10.0.0.1')",
                "UPDATE ZA150MS SET ADD_YN = 'Y', U_EMP_NO = NULL, U_IP = NULL",
                "DELETE FROM ZA150MS",
                "DELETE FROM ZA130MS",
                "DELETE FROM ZA010MS",
        };
        for (const QString &sql : changes)
            exec(db, sql);
        Result r = kesaDb({QStringLiteral("rights-log"), tdb.alias()});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        const QString today = QDate::currentDate().toString(Qt::ISODate);
        QStringList withoutTime;
        for (const QString &line : lines) {
            QVERIFY2(line.startsWith(today), qPrintable(line));
            QStringList f = line.split(QLatin1Char('\t')).mid(1);
            if (engine == QLatin1String("postgresql")) {
                QCOMPARE(f.size(), 9); // the database user last
                f.removeLast();
            }
            withoutTime << f.join(QLatin1Char('|'));
        }
        QCOMPARE(withoutTime,
                 (QStringList{
                         "ZA010MS|추가|-|→|EMP_NO='E1' ADMIN_YN='N'|A1|10.0.0.1|SQL",
                         "ZA010MS|변경|EMP_NO='E1' ADMIN_YN='N'|→|EMP_NO='E1' "
                         "ADMIN_YN='Y'|A2|10.0.0.2|SQL",
                         "ZA130MS|추가|-|→|EMP_NO='E1' PROJECT_ID='PRJ_01' "
                         "PROJECT_LEVEL='10'|A1|10.0.0.1|SQL",
                         "ZA130MS|변경|EMP_NO='E1' PROJECT_ID='PRJ_01' PROJECT_LEVEL='10'|→|"
                         "EMP_NO='E1' PROJECT_ID='PRJ_01' PROJECT_LEVEL='20'|A2|10.0.0.1|SQL",
                         "ZA140MS|추가|-|→|PROJECT_ID='PRJ_01' PROJECT_LEVEL='20' "
                         "PROGRAM_ID='PRG001'|A1|10.0.0.1|SQL",
                         "ZA140MS|삭제|PROJECT_ID='PRJ_01' PROJECT_LEVEL='20' "
                         "PROGRAM_ID='PRG001'|→|-|-|-|SQL",
                         "ZA150MS|추가|-|→|EMP_NO='E2' PROJECT_ID='PRJ_01' PROGRAM_ID='PRG001' "
                         "ADD_YN='N'|A1|10.0.0.1|SQL",
                         "ZA150MS|변경|EMP_NO='E2' PROJECT_ID='PRJ_01' PROGRAM_ID='PRG001' "
                         "ADD_YN='N'|→|"
                         "EMP_NO='E2' PROJECT_ID='PRJ_01' PROGRAM_ID='PRG001' ADD_YN='Y'|-|-|SQL",
                         "ZA150MS|삭제|EMP_NO='E2' PROJECT_ID='PRJ_01' PROGRAM_ID='PRG001' "
                         "ADD_YN='Y'|→|-|-|-|SQL",
                         "ZA130MS|삭제|EMP_NO='E1' PROJECT_ID='PRJ_01' "
                         "PROJECT_LEVEL='20'|→|-|-|-|SQL",
                         "ZA010MS|삭제|EMP_NO='E1' ADMIN_YN='Y'|→|-|-|-|SQL",
                 }));
        r = kesaDb({QStringLiteral("rights-log"),
                    tdb.alias(),
                    QStringLiteral("--emp"),
                    QStringLiteral("E2")});
        QCOMPARE(r.out.count(QLatin1Char('\n')), 3);
        r = kesaDb({QStringLiteral("rights-log"), tdb.alias(), QStringLiteral("--since"), today});
        QCOMPARE(r.out.count(QLatin1Char('\n')), 11);

        // A session that names its writer is logged as that employee, deletes
        // included; so are deletes of levels, menus and programs and changes of
        // display orders; --emp shows the grants of the levels the employee held.
        const int before = int(RightsLog::read(db, QString(), QString()).size());
        RightsLog::setWriter(db, QStringLiteral("A0009"), QStringLiteral("10.9.9.9"));
        for (const char *sql :
             {"INSERT INTO ZA130MS (EMP_NO, PROJECT_ID, PROJECT_LEVEL, U_EMP_NO, U_IP) VALUES "
              "('E5', 'PRJ_02', '30', 'X1', '10.0.0.5')",
              "INSERT INTO ZA140MS (PROJECT_ID, PROJECT_LEVEL, PROGRAM_ID) VALUES ('PRJ_02', "
              "'30', 'PRG002')",
              "INSERT INTO ZA030MS (PROJECT_ID, PROJECT_LEVEL) VALUES ('PRJ_02', '30')",
              "INSERT INTO ZA040MS (PROJECT_ID, MENU_ID, DISPLAY_SEQ) VALUES ('PRJ_02', '21', 1)",
              "INSERT INTO ZA050MS (PROJECT_ID, MENU_ID, PROGRAM_ID, DISPLAY_SEQ) VALUES "
              "('PRJ_02', '21', 'PRG002', 1)",
              "UPDATE ZA040MS SET DISPLAY_SEQ = 0",
              "UPDATE ZA050MS SET DISPLAY_SEQ = 2",
              "UPDATE ZA050MS SET U_IP = '10.0.0.6'",
              "DELETE FROM ZA050MS",
              "DELETE FROM ZA040MS",
              "DELETE FROM ZA140MS",
              "DELETE FROM ZA030MS",
              "DELETE FROM ZA130MS"})
            exec(db, QString::fromUtf8(sql));
        RightsLog::setWriter(db, QString(), QString());
        const QList<RightsLog::Entry> entries = RightsLog::read(db, QString(), QString()).mid(before);
        QStringList logged;
        for (const RightsLog::Entry &e : entries)
            logged << QStringList{e.table, e.action, e.writerEmpNo, e.writerIp}.join(
                              QLatin1Char('|'))
                              + (e.declared ? QString() : QStringLiteral("|SQL"));
        QCOMPARE(logged,
                 (QStringList{"ZA130MS|I|A0009|10.9.9.9",
                              "ZA140MS|I|A0009|10.9.9.9",
                              "ZA040MS|U|A0009|10.9.9.9",
                              "ZA050MS|U|A0009|10.9.9.9",
                              "ZA050MS|D|A0009|10.9.9.9",
                              "ZA040MS|D|A0009|10.9.9.9",
                              "ZA140MS|D|A0009|10.9.9.9",
                              "ZA030MS|D|A0009|10.9.9.9",
                              "ZA130MS|D|A0009|10.9.9.9"}));
        QCOMPARE(entries.at(2).newValue,
                 QStringLiteral("PROJECT_ID='PRJ_02' MENU_ID='21' DISPLAY_SEQ='0'"));
        r = kesaDb({QStringLiteral("rights-log"),
                    tdb.alias(),
                    QStringLiteral("--emp"),
                    QStringLiteral("E5")});
        QStringList ofE5;
        for (const QString &line : r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            ofE5 << line.section(QLatin1Char('\t'), 1, 2) + QLatin1Char('\t')
                            + line.section(QLatin1Char('\t'), 6, 6) + QLatin1Char('\t')
                            + line.section(QLatin1Char('\t'), 8, 8);
        QCOMPARE(ofE5,
                 (QStringList{"ZA130MS\t추가\tA0009\t프로그램",
                              "ZA140MS\t추가\tA0009\t프로그램",
                              "ZA140MS\t삭제\tA0009\t프로그램",
                              "ZA030MS\t삭제\tA0009\t프로그램",
                              "ZA130MS\t삭제\tA0009\t프로그램"}));

        r = kesaDb({QStringLiteral("rights-log"),
                    tdb.alias(),
                    QStringLiteral("--since"),
                    QDate::currentDate().addDays(1).toString(Qt::ISODate)});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, QString());
        QCOMPARE(kesaDb({QStringLiteral("rights-log"),
                         tdb.alias(),
                         QStringLiteral("--since"),
                         QStringLiteral("2026-13-01")})
                         .exitCode,
                 2);
    }

    // A database of schema version 1 is upgraded by init with its rows kept,
    // and its rights are logged from then on.
    void upgradeKeepsRows_data() { TestDatabase::addEngineRows(); }
    void upgradeKeepsRows()
    {
        QFETCH(QString, engine);
        KESA_TEST_DATABASE(tdb, engine, TestDatabase::Empty, QStringLiteral("fixture"));
        const QSqlDatabase db = tdb.db();
        Schema::install(db, 1);
        DemoData::load(db);
        QCOMPARE(Schema::installedVersion(db), 1);
        const QString counts = QStringLiteral(
                "SELECT (SELECT COUNT(*) FROM ZA010MS) || '/' || (SELECT COUNT(*) FROM ZA050MS) || "
                "'/' || (SELECT COUNT(*) FROM ZA130MS) || '/' || (SELECT COUNT(*) FROM ZA140MS) || "
                "'/' || (SELECT COUNT(*) FROM ZA150MS) || '/' || (SELECT COUNT(*) FROM ZX010MS) "
                "FROM DUAL");
        const QStringList before = column(db, counts);
        const Result r = kesaDb({QStringLiteral("init"), tdb.alias()});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QCOMPARE(r.out, QStringLiteral("스키마 버전 %1\n").arg(Schema::currentVersion()));
        QCOMPARE(column(db, counts), before);
        QCOMPARE(column(db, QStringLiteral("SELECT COUNT(*) FROM KESA_RIGHTS_LOG")),
                 QStringList{"0"});
        exec(db, QStringLiteral("UPDATE ZA130MS SET PROJECT_LEVEL = '10' WHERE EMP_NO = 'E1001'"));
        QVERIFY(column(db, QStringLiteral("SELECT COUNT(*) FROM KESA_RIGHTS_LOG")).value(0).toInt()
                > 0);
    }

    // A database of version 4 (the log without named writers) keeps its log rows
    // through init, and its deletes are logged with the writer from then on.
    void upgradeNamesWriters_data() { TestDatabase::addEngineRows(); }
    void upgradeNamesWriters()
    {
        QFETCH(QString, engine);
        KESA_TEST_DATABASE(tdb, engine, TestDatabase::Empty, QStringLiteral("fixture"));
        const QSqlDatabase db = tdb.db();
        Schema::install(db, 4);
        DemoData::load(db);
        exec(db, QStringLiteral("DELETE FROM ZA150MS WHERE EMP_NO = 'E1002'"));
        const QStringList logged
                = column(db,
                         QStringLiteral(
                                 "SELECT TABLE_NAME || ACTION FROM KESA_RIGHTS_LOG ORDER BY 1"));
        QVERIFY(logged.contains(QStringLiteral("ZA150MSD")));
        const Result r = kesaDb({QStringLiteral("init"), tdb.alias()});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QCOMPARE(Schema::installedVersion(db), Schema::currentVersion());
        QCOMPARE(column(db,
                        QStringLiteral("SELECT TABLE_NAME || ACTION FROM KESA_RIGHTS_LOG "
                                       "ORDER BY 1")),
                 logged);
        RightsLog::setWriter(db, QStringLiteral("A0007"), QString());
        exec(db, QStringLiteral("DELETE FROM ZA140MS WHERE PROJECT_ID = 'KESA_S'"));
        exec(db,
             QStringLiteral("DELETE FROM ZA030MS WHERE PROJECT_ID = 'KESA_S' AND "
                            "PROJECT_LEVEL = '20'"));
        QCOMPARE(column(db,
                        QStringLiteral("SELECT DISTINCT TABLE_NAME || ':' || WRITER_EMP_NO FROM "
                                       "KESA_RIGHTS_LOG WHERE ACTION = 'D' AND PROJECT_ID = "
                                       "'KESA_S' AND TABLE_NAME <> 'ZA150MS' ORDER BY 1")),
                 (QStringList{QStringLiteral("ZA030MS:A0007"), QStringLiteral("ZA140MS:A0007")}));
        // init again changes nothing.
        QCOMPARE(kesaDb({QStringLiteral("init"), tdb.alias()}).exitCode, 0);
    }

    // init upgrades a database of version 4 with the ledger table; ledger
    // prints it tab-separated, by layout and by day.
    void ledger_data() { TestDatabase::addEngineRows(); }
    void ledger()
    {
        QFETCH(QString, engine);
        KESA_TEST_DATABASE(tdb, engine, TestDatabase::Empty, QStringLiteral("fixture"));
        const QSqlDatabase db = tdb.db();
        Schema::install(db, 4);
        Result r = kesaDb({QStringLiteral("init"), tdb.alias()});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        NumberLedger spring(db,
                            QStringLiteral("ZXS095"),
                            QStringLiteral("봄.ini"),
                            "E1001",
                            "10.0.0.7");
        QVERIFY(spring.claim(41, false));
        spring.record(41, NumberLedger::State::Confirmed);
        QVERIFY(spring.claim(42, false));
        spring.record(42, NumberLedger::State::Unconfirmed);
        NumberLedger coupons(db, QStringLiteral("ZXS090"), QStringLiteral("할인.ini"), "E1002", "");
        QVERIFY(coupons.claim(7, false));

        const QString today = QDate::currentDate().toString(Qt::ISODate);
        r = kesaDb({QStringLiteral("ledger"), tdb.alias(), QStringLiteral("봄.ini")});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0],
                 QStringLiteral("PROGRAM_ID\tLAYOUT_NAME\tSEQ_NO\tSTATE\tEMP_NO\tU_IP\tU_DATE"));
        QVERIFY2(lines[1].startsWith(
                         QStringLiteral("ZXS095\t봄.ini\t41\tconfirmed\tE1001\t10.0.0.7\t") + today),
                 qPrintable(lines[1]));
        QVERIFY(lines[2].startsWith(QStringLiteral("ZXS095\t봄.ini\t42\tunconfirmed\t")));
        r = kesaDb({QStringLiteral("ledger"), tdb.alias(), QStringLiteral("--from"), today});
        QCOMPARE(r.out.split('\n', Qt::SkipEmptyParts).size(), 4);
        r = kesaDb({QStringLiteral("ledger"),
                    tdb.alias(),
                    QStringLiteral("--to"),
                    QStringLiteral("2000-01-01")});
        QCOMPARE(r.out.split('\n', Qt::SkipEmptyParts).size(), 1);
        r = kesaDb({QStringLiteral("ledger"),
                    tdb.alias(),
                    QStringLiteral("--from"),
                    QStringLiteral("5 May")});
        QCOMPARE(r.exitCode, 2);
    }

    void errors()
    {
        Result r = kesaDb({QStringLiteral("menu"),
                           QStringLiteral("/nowhere/kesa.db"),
                           QStringLiteral("KESA_Z"),
                           QStringLiteral("A0001")});
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.err.contains(QStringLiteral("/nowhere/kesa.db")));
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("plain.db"));
        r = kesaDb({QStringLiteral("init"), file});
        QCOMPARE(r.exitCode, 0);
        // The tables are there but the project is not: nothing to print.
        r = kesaDb(
                {QStringLiteral("menu"), file, QStringLiteral("KESA_Z"), QStringLiteral("A0001")});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, QString());
        QCOMPARE(kesaDb({QStringLiteral("menu"), file}).exitCode, 2);
    }
};

QTEST_GUILESS_MAIN(tst_KesaDb)
#include "tst_kesadb.moc"
