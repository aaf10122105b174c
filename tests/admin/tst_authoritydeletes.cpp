// Deleting a project, level, menu or program that rows of other authority
// tables still refer to is refused at save, on both engines; after random
// saves every program on a user's menu bar is shown as his in the authority
// screens.
#include "authoritytest.h"
#include "recordingmessageservice.h"
#include "testdatabase.h"

#include "admin/ZAI020.h"
#include "admin/ZAI030.h"
#include "admin/ZAI040.h"
#include "admin/ZAI050.h"
#include "admin/ZAI140.h"
#include "admin/ZAI150.h"
#include "admin/ZAS120.h"
#include "admin/projectchooser.h"
#include "db/authority.h"
#include "db/clientdataset.h"
#include "db/sqlstatement.h"
#include "framework/displaygrid.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRandomGenerator>

#include <algorithm>

namespace {

const QString SaveFailed = QStringLiteral("자료를 저장하지 못했습니다.\r\r에러내용:\r");

void exec(const QSqlDatabase &db, const QString &sql)
{
    SqlStatement(db, sql).exec();
}

// Project TST_01 with two menus, two programs, two levels, and rows that refer
// to one of each: users of level L1, a grant of TST001, an override of TST001.
// TST_02, level L2, menu 12 and program TST002 are referred to by nothing.
void addFixture(const QSqlDatabase &db)
{
    for (const char *sql : {
                 "INSERT INTO ZA020MS (PROJECT_ID, PROJECT_NAME, TEAM_ROLE) VALUES ('TST_01', "
                 "'가', '0')",
                 "INSERT INTO ZA020MS (PROJECT_ID, PROJECT_NAME, TEAM_ROLE) VALUES ('TST_02', "
                 "'나', '0')",
                 "INSERT INTO ZA030MS (PROJECT_ID, PROJECT_LEVEL, PROJECT_LEVEL_NAME) VALUES "
                 "('TST_01', 'L1', '하나')",
                 "INSERT INTO ZA030MS (PROJECT_ID, PROJECT_LEVEL, PROJECT_LEVEL_NAME) VALUES "
                 "('TST_01', 'L2', '둘')",
                 "INSERT INTO ZA040MS (PROJECT_ID, MENU_ID, MENU_NAME, DISPLAY_SEQ) VALUES "
                 "('TST_01', '11', '메뉴 하나', 1)",
                 "INSERT INTO ZA040MS (PROJECT_ID, MENU_ID, MENU_NAME, DISPLAY_SEQ) VALUES "
                 "('TST_01', '12', '메뉴 둘', 2)",
                 "INSERT INTO ZA050MS (PROJECT_ID, MENU_ID, PROGRAM_ID, PROGRAM_NAME, "
                 "DISPLAY_SEQ) VALUES ('TST_01', '11', 'TST001', '일', 1)",
                 "INSERT INTO ZA050MS (PROJECT_ID, MENU_ID, PROGRAM_ID, PROGRAM_NAME, "
                 "DISPLAY_SEQ) VALUES ('TST_01', '11', 'TST002', '이', 2)",
                 "INSERT INTO ZA130MS (EMP_NO, PROJECT_ID, PROJECT_LEVEL) VALUES ('E1', "
                 "'TST_01', 'L1')",
                 "INSERT INTO ZA130MS (EMP_NO, PROJECT_ID, PROJECT_LEVEL) VALUES ('E3', "
                 "'TST_01', 'L1')",
                 "INSERT INTO ZA140MS (PROJECT_ID, PROJECT_LEVEL, PROGRAM_ID) VALUES ('TST_01', "
                 "'L1', 'TST001')",
                 "INSERT INTO ZA150MS (EMP_NO, PROJECT_ID, PROGRAM_ID, ADD_YN) VALUES ('E2', "
                 "'TST_01', 'TST001', 'Y')",
         })
        exec(db, QString::fromUtf8(sql));
}

void goToRow(ClientDataSet *data, const QString &field, const QString &key)
{
    data->first();
    while (data->text(field) != key && data->currentRow() < data->recordCount() - 1)
        data->next();
    QCOMPARE(data->text(field), key);
}

// Opens the screen of `table`, searches the project and deletes the rows of `keys`.
TfrmZZI020 *deleteRows(const QSqlDatabase &db,
                       QWidget &page,
                       const QString &table,
                       const QString &field,
                       const QStringList &keys,
                       const QString &project = QStringLiteral("TST_01"))
{
    TfrmZZI020 *screen = nullptr;
    ProjectChooser *projects = nullptr;
    if (table == QLatin1String("ZA020MS")) {
        screen = openScreen<TfrmZAI020>(db, page);
    } else if (table == QLatin1String("ZA030MS")) {
        auto *s = openScreen<TfrmZAI030>(db, page);
        screen = s;
        projects = s->projects;
    } else if (table == QLatin1String("ZA040MS")) {
        auto *s = openScreen<TfrmZAI040>(db, page);
        screen = s;
        projects = s->projects;
    } else {
        auto *s = openScreen<TfrmZAI050>(db, page);
        screen = s;
        projects = s->projects;
    }
    if (projects)
        projects->cbbProject->setCurrentIndex(int(projects->projectIds().indexOf(project)));
    press(Qt::Key_F3);
    for (const QString &key : keys) {
        goToRow(screen->cdsGrid, field, key);
        press(Qt::Key_F9);
    }
    press(Qt::Key_F2);
    return screen;
}

const QString Random = QStringLiteral("RND_01");

// A random project: menus shown and hidden, programs (one now and then filed
// under two menus, some hidden), three levels granting random programs, four
// users in use with a random level or none and random additions and removals.
void addRandomFixture(const QSqlDatabase &db, quint32 seed)
{
    QRandomGenerator random(seed);
    const auto chance = [&](int percent) { return int(random.bounded(100)) < percent; };
    exec(db,
         QStringLiteral("INSERT INTO ZA020MS (PROJECT_ID, PROJECT_NAME, TEAM_ROLE) VALUES "
                        "('RND_01', '랜덤', '0')"));
    const QStringList menus = {QStringLiteral("11"), QStringLiteral("12"), QStringLiteral("13")};
    for (int m = 0; m < menus.size(); ++m)
        exec(db,
             QStringLiteral("INSERT INTO ZA040MS (PROJECT_ID, MENU_ID, MENU_NAME, DISPLAY_SEQ) "
                            "VALUES ('RND_01', '%1', '메뉴 %1', %2)")
                     .arg(menus.at(m))
                     .arg(chance(20) ? 0 : m + 1));
    QStringList programs;
    for (int p = 1; p <= 6; ++p) {
        const QString program = QStringLiteral("RND%1").arg(p, 3, 10, QLatin1Char('0'));
        programs << program;
        QStringList filed{menus.at(random.bounded(int(menus.size())))};
        if (chance(20))
            filed << menus.at(random.bounded(int(menus.size())));
        filed.removeDuplicates();
        for (const QString &menu : filed)
            exec(db,
                 QStringLiteral("INSERT INTO ZA050MS (PROJECT_ID, MENU_ID, PROGRAM_ID, "
                                "PROGRAM_NAME, DISPLAY_SEQ) VALUES ('RND_01', '%1', '%2', "
                                "'프로그램 %2', %3)")
                         .arg(menu, program)
                         .arg(chance(15) ? 0 : p));
    }
    const QStringList levels = {QStringLiteral("L1"), QStringLiteral("L2"), QStringLiteral("L3")};
    for (const QString &level : levels) {
        exec(db,
             QStringLiteral("INSERT INTO ZA030MS (PROJECT_ID, PROJECT_LEVEL, PROJECT_LEVEL_NAME) "
                            "VALUES ('RND_01', '%1', '레벨 %1')")
                     .arg(level));
        for (const QString &program : programs) {
            if (chance(40))
                exec(db,
                     QStringLiteral("INSERT INTO ZA140MS (PROJECT_ID, PROJECT_LEVEL, PROGRAM_ID) "
                                    "VALUES ('RND_01', '%1', '%2')")
                             .arg(level, program));
        }
    }
    for (int e = 1; e <= 4; ++e) {
        const QString emp = QStringLiteral("R%1").arg(e);
        exec(db,
             QStringLiteral("INSERT INTO ZA010MS (EMP_NO, EMP_NAME, USE_YN, ADMIN_YN) VALUES "
                            "('%1', '사용자 %1', 'Y', 'N')")
                     .arg(emp));
        if (chance(75))
            exec(db,
                 QStringLiteral("INSERT INTO ZA130MS (EMP_NO, PROJECT_ID, PROJECT_LEVEL) VALUES "
                                "('%1', 'RND_01', '%2')")
                         .arg(emp, levels.at(random.bounded(int(levels.size())))));
        for (const QString &program : programs) {
            if (chance(20))
                exec(db,
                     QStringLiteral("INSERT INTO ZA150MS (EMP_NO, PROJECT_ID, PROGRAM_ID, "
                                    "ADD_YN) VALUES ('%1', 'RND_01', '%2', '%3')")
                             .arg(emp,
                                  program,
                                  chance(50) ? QStringLiteral("Y") : QStringLiteral("N")));
        }
    }
}

// Texts of a list box.
QStringList texts(const QListWidget *list)
{
    QStringList all;
    for (int row = 0; row < list->count(); ++row)
        all << list->item(row)->text();
    return all;
}

bool listsProgram(const QStringList &entries, const QString &program)
{
    return std::any_of(entries.cbegin(), entries.cend(), [&](const QString &entry) {
        return entry.startsWith(QLatin1Char('[') + program + QLatin1Char(']'));
    });
}

} // namespace

class tst_AuthorityDeletes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { loginAs(QStringLiteral("A0001"), QStringLiteral("김관리")); }
    void referencedRowsAreKept_data();
    void referencedRowsAreKept();
    void menuBarProgramsStayVisible_data();
    void menuBarProgramsStayVisible();
};

void tst_AuthorityDeletes::referencedRowsAreKept_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("referenced");
    QTest::addColumn<QString>("free");
    QTest::addColumn<QString>("message");
    const QList<QStringList> cases = {
            {QStringLiteral("project"),
             QStringLiteral("ZA020MS"),
             QStringLiteral("PROJECT_ID"),
             QStringLiteral("TST_01"),
             QStringLiteral("TST_02"),
             QStringLiteral("프로젝트 TST_01에 등록된 메인 메뉴가 2개 있습니다.\r"
                            "프로젝트 TST_01에 등록된 프로그램이 2개 있습니다.\r"
                            "프로젝트 TST_01에 등록된 레벨이 2개 있습니다.\r"
                            "프로젝트 TST_01의 레벨을 가진 사용자가 2명 있습니다.\r"
                            "프로젝트 TST_01의 레벨별 프로그램이 1건 있습니다.\r"
                            "프로젝트 TST_01의 사용자별 추가/제외가 1건 있습니다.")},
            {QStringLiteral("level"),
             QStringLiteral("ZA030MS"),
             QStringLiteral("PROJECT_LEVEL"),
             QStringLiteral("L1"),
             QStringLiteral("L2"),
             QStringLiteral("레벨 L1을(를) 사용하는 사용자가 2명 있습니다.\r"
                            "레벨 L1에 부여된 프로그램이 1개 있습니다.")},
            {QStringLiteral("menu"),
             QStringLiteral("ZA040MS"),
             QStringLiteral("MENU_ID"),
             QStringLiteral("11"),
             QStringLiteral("12"),
             QStringLiteral("메인 메뉴 11에 등록된 프로그램이 2개 있습니다.")},
            {QStringLiteral("program"),
             QStringLiteral("ZA050MS"),
             QStringLiteral("PROGRAM_ID"),
             QStringLiteral("TST001"),
             QStringLiteral("TST002"),
             QStringLiteral("프로그램 TST001을(를) 부여한 레벨이 1개 있습니다.\r"
                            "프로그램 TST001의 사용자별 추가/제외가 1건 있습니다.")},
    };
    for (const QStringList &c : cases) {
        for (QTestData *row : TestDatabase::newRows(c.at(0)))
            *row << c.at(1) << c.at(2) << c.at(3) << c.at(4) << c.at(5);
    }
}

// A save that deletes a referred row and a free one is refused whole with the
// references named; the free row alone is deleted.
void tst_AuthorityDeletes::referencedRowsAreKept()
{
    QFETCH(QString, engine);
    QFETCH(QString, table);
    QFETCH(QString, field);
    QFETCH(QString, referenced);
    QFETCH(QString, free);
    QFETCH(QString, message);
    KESA_TEST_DATABASE(tdb, engine);
    const QSqlDatabase db = tdb.db();
    addFixture(db);
    const QString keys = QStringLiteral("SELECT %1 FROM %2 WHERE %1 IN ('%3', '%4') ORDER BY %1")
                                 .arg(field, table, referenced, free);
    const QStringList before = column(db, keys);
    QCOMPARE(before.size(), 2);
    RecordingMessageService boxes;
    {
        QWidget page;
        TfrmZZI020 *screen = deleteRows(db, page, table, field, {free, referenced});
        // The save's box, then the failure's own display, as for any refused save.
        QCOMPARE(boxes.texts(RecordingMessageService::Error),
                 (QStringList{SaveFailed + message, message}));
        QCOMPARE(column(db, keys), before);
        QCOMPARE(screen->cdsGrid->changeCount(), 2); // the deletes stay pending
    }
    boxes.clear();
    QWidget page;
    deleteRows(db, page, table, field, {free});
    QVERIFY(boxes.texts(RecordingMessageService::Error).isEmpty());
    QCOMPARE(column(db, keys), QStringList{referenced});
}

void tst_AuthorityDeletes::menuBarProgramsStayVisible_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<quint32>("seed");
    const int seeds = qEnvironmentVariableIntValue("KESA_RANDOM_SEEDS") > 0
                              ? qEnvironmentVariableIntValue("KESA_RANDOM_SEEDS")
                              : 12;
    for (int seed = 1; seed <= seeds; ++seed) {
        for (QTestData *row : TestDatabase::newRows(QStringLiteral("seed %1").arg(seed)))
            *row << quint32(seed * 7919);
    }
}

// Random deletes of levels, menus, programs and the project are saved (or
// refused); then every program on each user's menu bar is on the right side of
// ZAI150 for him, listed with him in ZAS120, and, where his level grants it,
// granted to his level in ZAI140.
void tst_AuthorityDeletes::menuBarProgramsStayVisible()
{
    QFETCH(QString, engine);
    QFETCH(quint32, seed);
    KESA_TEST_DATABASE(tdb, engine);
    const QSqlDatabase db = tdb.db();
    addRandomFixture(db, seed);
    RecordingMessageService boxes;
    QRandomGenerator random(seed + 1);
    const QList<QStringList> kinds = {
            {QStringLiteral("ZA030MS"), QStringLiteral("PROJECT_LEVEL")},
            {QStringLiteral("ZA040MS"), QStringLiteral("MENU_ID")},
            {QStringLiteral("ZA050MS"), QStringLiteral("PROGRAM_ID")},
            {QStringLiteral("ZA020MS"), QStringLiteral("PROJECT_ID")},
    };
    for (int step = 0; step < 3; ++step) {
        const QStringList kind = kinds.at(random.bounded(int(kinds.size())));
        const QStringList keys = column(db,
                                        QStringLiteral("SELECT DISTINCT %1 FROM %2 WHERE "
                                                       "PROJECT_ID = 'RND_01' ORDER BY %1")
                                                .arg(kind.at(1), kind.at(0)));
        if (keys.isEmpty())
            continue;
        QWidget page;
        deleteRows(db,
                   page,
                   kind.at(0),
                   kind.at(1),
                   {keys.at(random.bounded(int(keys.size())))},
                   Random);
    }
    boxes.clear();

    QWidget page140;
    auto *levelsScreen = openScreen<TfrmZAI140>(db, page140);
    QHash<QString, QStringList> granted; // programs shown as granted per level
    if (levelsScreen->projects->projectIds().contains(Random)) {
        levelsScreen->cbbProject->setCurrentIndex(
                int(levelsScreen->projects->projectIds().indexOf(Random)));
        press(Qt::Key_F3);
        for (int row = 0; row < levelsScreen->levels().size(); ++row) {
            levelsScreen->rgrGrid->setCurrentIndex(levelsScreen->rgrGrid->model()->index(row, 0));
            granted.insert(levelsScreen->levels().at(row), texts(levelsScreen->lstListDst));
        }
    }
    QWidget page150;
    auto *usersScreen = openScreen<TfrmZAI150>(db, page150);
    QWidget page120;
    auto *inquiry = openScreen<TfrmZAS120>(db, page120);
    QHash<QString, QStringList> usersOf; // users listed per program in ZAS120
    if (inquiry->projects->projectIds().contains(Random)) {
        inquiry->cbbProject->setCurrentIndex(int(inquiry->projects->projectIds().indexOf(Random)));
        press(inquiry->cbbProject, Qt::Key_Return);
        DisplayGrid *programs = inquiry->rgrGridProgram;
        for (int row = 0; row < programs->rowCount(); ++row) {
            programs->setCurrentIndex(programs->model()->index(row, 0));
            QStringList &users = usersOf[programs->cell(row, 1)];
            for (int u = 0; u < inquiry->cdsQuery->recordCount(); ++u)
                users << inquiry->cdsQuery->value(u, QStringLiteral("EMP_NO")).toString();
        }
    }

    activate(&page150);
    for (int e = 1; e <= 4; ++e) {
        const QString emp = QStringLiteral("R%1").arg(e);
        QStringList onBar;
        for (const Authority::MenuPrograms &menu : Authority::menuBar(db, Random, emp)) {
            for (const Authority::ProgramRow &program : menu.programs)
                onBar << program.programId;
        }
        onBar.removeDuplicates();
        if (onBar.isEmpty())
            continue;
        usersScreen->cedEmpNo->setFocus();
        usersScreen->cedEmpNo->selectAll();
        type(usersScreen->cedEmpNo, emp);
        press(Qt::Key_Return);
        const int projectRow = int(usersScreen->projectIds().indexOf(Random));
        QVERIFY2(projectRow >= 0,
                 qPrintable(QStringLiteral("seed %1: project not listed").arg(seed)));
        usersScreen->rgrGrid->setCurrentIndex(usersScreen->rgrGrid->model()->index(projectRow, 0));
        const QStringList right = texts(usersScreen->lstListDst);
        press(Qt::Key_F8);
        const QStringList level = column(db,
                                         QStringLiteral("SELECT PROJECT_LEVEL FROM ZA130MS WHERE "
                                                        "EMP_NO = :P0 AND PROJECT_ID = 'RND_01'"),
                                         emp);
        const QStringList levelGrants
                = level.isEmpty()
                          ? QStringList()
                          : column(db,
                                   QStringLiteral("SELECT PROGRAM_ID FROM ZA140MS WHERE "
                                                  "PROJECT_ID = 'RND_01' AND PROJECT_LEVEL = :P0"),
                                   level.first());
        for (const QString &program : std::as_const(onBar)) {
            const QString where = QStringLiteral("seed %1, %2, %3").arg(seed).arg(emp, program);
            QVERIFY2(listsProgram(right, program), qPrintable(where + QStringLiteral(": ZAI150")));
            QVERIFY2(usersOf.value(program).contains(emp),
                     qPrintable(where + QStringLiteral(": ZAS120")));
            if (levelGrants.contains(program))
                QVERIFY2(listsProgram(granted.value(level.first()), program),
                         qPrintable(where + QStringLiteral(": ZAI140")));
        }
    }
}

QTEST_MAIN(tst_AuthorityDeletes)
#include "tst_authoritydeletes.moc"
