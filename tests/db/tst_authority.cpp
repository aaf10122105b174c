#include "db/authority.h"
#include "db/sqlstatement.h"
#include "testdatabase.h"

#include <QtTest>

// The menu bar of one employee, computed as the main window and kesa-db do:
// "Z1:A,C|Z2:D" (menus without programs left out).
static QString menuBar(const QSqlDatabase &db, const QString &project, const QString &empNo)
{
    QStringList menus;
    for (const Authority::MenuRow &menu : Authority::menus(db, project)) {
        QStringList programs;
        for (const Authority::ProgramRow &p :
             Authority::menuPrograms(db, project, menu.menuId, empNo))
            programs << p.programId;
        if (!programs.isEmpty())
            menus << menu.menuId + QLatin1Char(':') + programs.join(QLatin1Char(','));
    }
    return menus.join(QLatin1Char('|'));
}

static void exec(const QSqlDatabase &db, const QString &sql)
{
    SqlStatement q(db, sql);
    q.exec();
}

class tst_Authority : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each case: the level's programs, the overrides "+X" (addition) / "-X"
    // (removal), and the menu bar employee E1 gets in project PRJ_01. Menus
    // M1 (seq 1), M2 (seq 2), M0 (seq 0, hidden). Programs of M1: A 1, B 2,
    // C 3, D 4, E 0 (hidden), T1 5, T2 5 (tie); of M2: F 1 and also C 2 (filed twice);
    // of M0: H 1.
    void effectiveProgramSet_data()
    {
        TestDatabase::addEngineColumn();
        QTest::addColumn<QStringList>("level");
        QTest::addColumn<QStringList>("overrides");
        QTest::addColumn<QString>("expected");
        const auto add =
                [](const char *tag, QStringList level, QStringList overrides, const char *expected) {
                    for (auto *r : TestDatabase::newRows(QString::fromLatin1(tag)))
                        *r << level << overrides << QString::fromLatin1(expected);
                };
        add("level minus removal plus addition", {"A", "B"}, {"-B", "+D"}, "M1:A,D");
        add("removal and addition of ABC", {"A", "B", "C"}, {"-B", "+D"}, "M1:A,C,D|M2:C");
        add("addition of a hidden program", {"A"}, {"+E"}, "M1:A");
        add("program of a hidden menu", {"A", "H"}, {}, "M1:A");
        add("equal display order, both shown", {"T1", "T2"}, {}, "M1:T1,T2");
        add("program under two menus", {"C"}, {}, "M1:C|M2:C");
        add("removal of a non-level program", {"A"}, {"-F"}, "M1:A");
        add("redundant addition listed once", {"A"}, {"+A"}, "M1:A");
        add("no level: additions only", {}, {"+F"}, "M2:F");
        add("nothing granted", {}, {}, "");
    }
    void effectiveProgramSet()
    {
        QFETCH(QString, engine);
        QFETCH(QStringList, level);
        QFETCH(QStringList, overrides);
        QFETCH(QString, expected);
        KESA_TEST_DATABASE(tdb, engine);
        const QSqlDatabase db = tdb.db();
        exec(db,
             QStringLiteral("INSERT INTO ZA040MS (PROJECT_ID, MENU_ID, MENU_NAME, DISPLAY_SEQ) "
                            "VALUES ('PRJ_01', 'M2', '둘', 2)"));
        exec(db,
             QStringLiteral("INSERT INTO ZA040MS (PROJECT_ID, MENU_ID, MENU_NAME, DISPLAY_SEQ) "
                            "VALUES ('PRJ_01', 'M1', '하나', 1)"));
        exec(db,
             QStringLiteral("INSERT INTO ZA040MS (PROJECT_ID, MENU_ID, MENU_NAME, DISPLAY_SEQ) "
                            "VALUES ('PRJ_01', 'M0', '숨김', 0)"));
        const QList<std::tuple<const char *, const char *, int>> programs = {{"M1", "A", 1},
                                                                             {"M1", "B", 2},
                                                                             {"M1", "C", 3},
                                                                             {"M1", "D", 4},
                                                                             {"M1", "E", 0},
                                                                             {"M1", "T1", 5},
                                                                             {"M1", "T2", 5},
                                                                             {"M2", "F", 1},
                                                                             {"M2", "C", 2},
                                                                             {"M0", "H", 1}};
        for (const auto &[menu, program, seq] : programs) {
            SqlStatement
                    q(db,
                      QStringLiteral(
                              "INSERT INTO ZA050MS (PROJECT_ID, MENU_ID, PROGRAM_ID, "
                              "PROGRAM_NAME, DISPLAY_SEQ) VALUES ('PRJ_01', :P0, :P1, :P1, :P2)"));
            q.bind(QStringLiteral("P0"), QString::fromLatin1(menu));
            q.bind(QStringLiteral("P1"), QString::fromLatin1(program));
            q.bind(QStringLiteral("P2"), seq);
            q.exec();
        }
        // Another employee's and another project's rows must not leak in.
        exec(db,
             QStringLiteral("INSERT INTO ZA130MS (EMP_NO, PROJECT_ID, PROJECT_LEVEL) VALUES ('E2', "
                            "'PRJ_01', 'L2')"));
        exec(db,
             QStringLiteral("INSERT INTO ZA140MS (PROJECT_ID, PROJECT_LEVEL, PROGRAM_ID) VALUES "
                            "('PRJ_01', 'L2', 'B')"));
        exec(db,
             QStringLiteral("INSERT INTO ZA150MS (EMP_NO, PROJECT_ID, PROGRAM_ID, ADD_YN) VALUES "
                            "('E2', 'PRJ_01', 'D', 'Y')"));
        exec(db,
             QStringLiteral("INSERT INTO ZA150MS (EMP_NO, PROJECT_ID, PROGRAM_ID, ADD_YN) VALUES "
                            "('E1', 'PRJ_02', 'F', 'Y')"));
        if (!level.isEmpty())
            exec(db,
                 QStringLiteral("INSERT INTO ZA130MS (EMP_NO, PROJECT_ID, PROJECT_LEVEL) VALUES "
                                "('E1', 'PRJ_01', 'L1')"));
        for (const QString &program : level) {
            SqlStatement q(db,
                           QStringLiteral(
                                   "INSERT INTO ZA140MS (PROJECT_ID, PROJECT_LEVEL, PROGRAM_ID) "
                                   "VALUES ('PRJ_01', 'L1', :P0)"));
            q.bind(QStringLiteral("P0"), program);
            q.exec();
        }
        for (const QString &o : overrides) {
            SqlStatement q(db,
                           QStringLiteral(
                                   "INSERT INTO ZA150MS (EMP_NO, PROJECT_ID, PROGRAM_ID, ADD_YN) "
                                   "VALUES ('E1', 'PRJ_01', :P0, :P1)"));
            q.bind(QStringLiteral("P0"), o.mid(1));
            q.bind(QStringLiteral("P1"),
                   o.startsWith(QLatin1Char('+')) ? QStringLiteral("Y") : QStringLiteral("N"));
            q.exec();
        }
        QString bar = menuBar(db, QStringLiteral("PRJ_01"), QStringLiteral("E1"));
        // Ties come back in the database's order: compare them as a set.
        bar.replace(QLatin1String("T2,T1"), QLatin1String("T1,T2"));
        QCOMPARE(bar, expected);
    }

    // Two reads of a project's programs (diff-rights reads one per employee)
    // are paired by menu and program only: a program filed between them, or
    // gone from one, has no partner, and a read without programs pairs nothing.
    void programsPairedByKey()
    {
        const auto decision = [](const QStringList &keys) {
            Authority::Decision d;
            for (const QString &key : keys) {
                Authority::ProgramDecision p;
                p.menuId = key.section(QLatin1Char('/'), 0, 0);
                p.programId = key.section(QLatin1Char('/'), 1, 1);
                d.programs.append(p);
            }
            return d;
        };
        using Pairs = QList<std::pair<qsizetype, qsizetype>>;
        const Authority::Decision first = decision({"M1/A", "M1/NEW", "M2/A", "M2/B"});
        QCOMPARE(Authority::pairPrograms(first, decision({"M2/B", "M1/A", "M2/A"})),
                 (Pairs{{0, 1}, {2, 2}, {3, 0}}));
        QCOMPARE(Authority::pairPrograms(first, decision({})), Pairs{});
        QCOMPARE(Authority::pairPrograms(decision({"M1/NEW"}), decision({"M1/A"})), Pairs{});
    }

    void demoDataAndDisplayName_data() { TestDatabase::addEngineRows(); }
    void demoDataAndDisplayName()
    {
        QFETCH(QString, engine);
        KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
        const QString admin = menuBar(tdb.db(), QStringLiteral("KESA_Z"), QStringLiteral("A0001"));
        QCOMPARE(admin.count(QLatin1Char(',')) + admin.count(QLatin1Char('|')) + 1, 20);
        QCOMPARE(menuBar(tdb.db(), QStringLiteral("KESA_Z"), QStringLiteral("E1001")),
                 QStringLiteral("Z1:ZAS011|Z3:ZXI010,ZXI011,ZXI020,ZXI021|Z4:ZXS090|Z5:ZXB000"));
        QCOMPARE(Authority::accountDisplayName(tdb.db(), QStringLiteral("kesa")),
                 QStringLiteral("시스템관리 데모"));
        QCOMPARE(Authority::accountDisplayName(tdb.db(), QStringLiteral("nobody")), QString());
        const QList<Authority::MenuRow> menus = Authority::menus(tdb.db(), QStringLiteral("KESA_Z"));
        QCOMPARE(menus.value(0).menuName, QStringLiteral("사용자 관리(&U)"));
    }
};

QTEST_GUILESS_MAIN(tst_Authority)
#include "tst_authority.moc"
