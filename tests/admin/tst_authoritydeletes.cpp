// Deleting a project, level, menu or program that rows of other authority
// tables still refer to is refused at save, on both engines.
#include "authoritytest.h"
#include "recordingmessageservice.h"
#include "testdatabase.h"

#include "admin/ZAI020.h"
#include "admin/ZAI030.h"
#include "admin/ZAI040.h"
#include "admin/ZAI050.h"
#include "admin/projectchooser.h"
#include "db/clientdataset.h"
#include "db/sqlstatement.h"

#include <QComboBox>

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

// Opens the screen of `table`, searches TST_01 and deletes the rows of `keys`.
TfrmZZI020 *deleteRows(const QSqlDatabase &db,
                       QWidget &page,
                       const QString &table,
                       const QString &field,
                       const QStringList &keys)
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
        projects->cbbProject->setCurrentIndex(
                int(projects->projectIds().indexOf(QStringLiteral("TST_01"))));
    press(Qt::Key_F3);
    for (const QString &key : keys) {
        goToRow(screen->cdsGrid, field, key);
        press(Qt::Key_F9);
    }
    press(Qt::Key_F2);
    return screen;
}

} // namespace

class tst_AuthorityDeletes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { loginAs(QStringLiteral("A0001"), QStringLiteral("김관리")); }
    void referencedRowsAreKept_data();
    void referencedRowsAreKept();
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
        QCOMPARE(boxes.texts(RecordingMessageService::Error), QStringList{SaveFailed + message});
        QCOMPARE(column(db, keys), before);
        QCOMPARE(screen->cdsGrid->changeCount(), 2); // the deletes stay pending
    }
    boxes.clear();
    QWidget page;
    deleteRows(db, page, table, field, {free});
    QVERIFY(boxes.texts(RecordingMessageService::Error).isEmpty());
    QCOMPARE(column(db, keys), QStringList{referenced});
}

QTEST_MAIN(tst_AuthorityDeletes)
#include "tst_authoritydeletes.moc"
