// Main menus (ZAI040) and programs (ZAI050), on both engines: what they save
// is what the menu bars of the suite show.
#include "authoritytest.h"
#include "recordingmessageservice.h"
#include "testdatabase.h"

#include "admin/ZAI040.h"
#include "admin/ZAI050.h"
#include "admin/projectchooser.h"
#include "db/clientdataset.h"
#include "db/sqlstatement.h"
#include "framework/dbedit.h"
#include "framework/messagetexts.h"

#include <QComboBox>
#include <QLabel>

namespace {

void exec(const QSqlDatabase &db, const QString &sql)
{
    SqlStatement(db, sql).exec();
}

// Selects a project in a screen's chooser by its ID.
void chooseProject(ProjectChooser *projects, const QString &id)
{
    projects->cbbProject->setCurrentIndex(int(projects->projectIds().indexOf(id)));
    QCOMPARE(projects->projectId(), id);
}

// Moves the grid to the row of a key.
void goToRow(ClientDataSet *data, const QString &field, const QString &key)
{
    data->first();
    while (data->text(field) != key && data->currentRow() < data->recordCount() - 1)
        data->next();
    QCOMPARE(data->text(field), key);
}

void retype(QLineEdit *field, const QString &text)
{
    field->setFocus();
    field->selectAll();
    type(field, text);
}

const QString SaveFailed = QStringLiteral("자료를 저장하지 못했습니다.\r\r에러내용:\r");
const QString GolfMenu = QStringLiteral(
        "G1\t예약 관리(&R)\n\tGAI010\t예약 등록\n\tGAS010\t예약 현황 조회\n"
        "G2\t정산(&S)\n\tGAS020\t일일 정산 조회\n");

} // namespace

class tst_ZAI040 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { loginAs(QStringLiteral("A0001"), QStringLiteral("김관리")); }
    void menuRoundTrip_data() { TestDatabase::addEngineRows(); }
    void menuRoundTrip();
    void menuChecks_data();
    void menuChecks();
    void programRoundTrip_data() { TestDatabase::addEngineRows(); }
    void programRoundTrip();
    void programKeepsItsMenu_data() { TestDatabase::addEngineRows(); }
    void programKeepsItsMenu();
    void programFilter_data() { TestDatabase::addEngineRows(); }
    void programFilter();
    void programSearchRefused_data() { TestDatabase::addEngineRows(); }
    void programSearchRefused();
};

// The prefix rule, add, edit and save; the menu bar follows.
void tst_ZAI040::menuRoundTrip()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    QCOMPARE(menuText(tdb, QStringLiteral("KESA_G"), QStringLiteral("E1001")), GolfMenu);
    RecordingMessageService boxes;
    QWidget page;
    auto *screen = openScreen<TfrmZAI040>(tdb.db(), page);
    QCOMPARE(screen->windowTitle(), QStringLiteral("메인 메뉴 등록"));
    chooseProject(screen->projects, QStringLiteral("KESA_G"));
    screen->cbbProject->setFocus();
    press(Qt::Key_Return);
    QVERIFY(!screen->isSearchMode());
    QCOMPARE(screen->cdsGrid->recordCount(), 2);
    QCOMPARE(QApplication::focusWidget(), screen->dedMenuName);

    // G1 leaves the menu bar (order 0), G2 is renamed.
    retype(screen->dedDisplaySeq, QStringLiteral("0"));
    press(Qt::Key_Return); // the ID is locked: on to the name
    QCOMPARE(QApplication::focusWidget(), screen->dedMenuName);
    press(Qt::Key_Down);
    retype(screen->dedMenuName, QStringLiteral("마감(&C)"));

    // A new menu: a wrong first character is emptied from the field and the row.
    press(Qt::Key_F4);
    type(screen->dedMenuID, QStringLiteral("x"));
    QVERIFY(screen->dedMenuID->text().isEmpty());
    QVERIFY(screen->cdsGrid->value(screen->cdsGrid->currentRow(), QStringLiteral("MENU_ID"))
                    .isNull());
    QCOMPARE(screen->statusMessage(), QStringLiteral("* 메인 메뉴 ID는 'G'로 시작해야 합니다."));
    type(screen->dedMenuID, QStringLiteral("g3"));
    QCOMPARE(screen->dedMenuID->text(), QStringLiteral("G3"));
    press(Qt::Key_Return);
    type(screen->dedMenuName, QStringLiteral("시험"));
    press(Qt::Key_Return);
    type(screen->dedDisplaySeq, QStringLiteral("x7-3")); // digits only, two at most
    QCOMPARE(screen->dedDisplaySeq->text(), QStringLiteral("73"));
    press(Qt::Key_Return); // inserting: back to the ID
    QCOMPARE(QApplication::focusWidget(), screen->dedMenuID);
    press(Qt::Key_F2);
    QVERIFY(boxes.entries.isEmpty());
    QCOMPARE(screen->statusMessage(), MessageText::saved());
    QCOMPARE(column(tdb.db(),
                    QStringLiteral(
                            "SELECT MENU_ID || ':' || MENU_NAME || ':' || DISPLAY_SEQ || ':' "
                            "|| PROJECT_ID || ':' || U_IP FROM ZA040MS "
                            "WHERE PROJECT_ID = 'KESA_G' ORDER BY MENU_ID")),
             (QStringList{QStringLiteral("G1:예약 관리(&R):0:KESA_G:10.20.30.40"),
                          QStringLiteral("G2:마감(&C):2:KESA_G:10.20.30.40"),
                          QStringLiteral("G3:시험:73:KESA_G:10.20.30.40")}));
    QCOMPARE(menuText(tdb, QStringLiteral("KESA_G"), QStringLiteral("E1001")),
             QStringLiteral("G2\t마감(&C)\n\tGAS020\t일일 정산 조회\n"));
    // Reopened in the display order.
    QCOMPARE(screen->cdsGrid->text(QStringLiteral("MENU_ID")), QStringLiteral("G1"));
    screen->cdsGrid->last();
    QCOMPARE(screen->cdsGrid->text(QStringLiteral("MENU_ID")), QStringLiteral("G3"));
}

void tst_ZAI040::menuChecks_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("order");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("box");
    for (auto *r : TestDatabase::newRows(QStringLiteral("one-character ID")))
        *r << "Z"
           << "이름"
           << "1"
           << "* 메인 메뉴 ID을(를) 정확히 입력하십시오."
           << "";
    for (auto *r : TestDatabase::newRows(QStringLiteral("pasted wrong prefix")))
        *r << "!AB"
           << "이름"
           << "1"
           << "* 메인 메뉴 ID을(를) 정확히 입력하십시오."
           << "";
    for (auto *r : TestDatabase::newRows(QStringLiteral("blank name")))
        *r << "Z8"
           << " "
           << "1"
           << "* 메인 메뉴 명을(를) 정확히 입력하십시오."
           << "";
    for (auto *r : TestDatabase::newRows(QStringLiteral("no display order")))
        *r << "Z8"
           << "이름"
           << ""
           << "화면표시순서을(를) 정확히 입력하십시오."
           << "";
    for (auto *r : TestDatabase::newRows(QStringLiteral("stored ID")))
        *r << "Z1"
           << "이름"
           << "1"
           << "" << MessageText::duplicateKey();
}

// A new menu that fails a check: its message, then the save's box; nothing written.
void tst_ZAI040::menuChecks()
{
    QFETCH(QString, engine);
    QFETCH(QString, id);
    QFETCH(QString, name);
    QFETCH(QString, order);
    QFETCH(QString, status);
    QFETCH(QString, box);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    RecordingMessageService boxes;
    QWidget page;
    auto *screen = openScreen<TfrmZAI040>(tdb.db(), page);
    chooseProject(screen->projects, QStringLiteral("KESA_Z"));
    press(Qt::Key_F3);
    press(Qt::Key_F4);
    if (id.startsWith(QLatin1Char('!'))) {
        screen->dedMenuID->setFocus();
        screen->dedMenuID->insert(id.mid(1)); // pasted whole: no single-character step
    } else {
        type(screen->dedMenuID, id);
    }
    type(screen->dedMenuName, name);
    type(screen->dedDisplaySeq, order);
    press(Qt::Key_F2);
    QCOMPARE(screen->statusMessage(), status);
    QStringList expected;
    if (!box.isEmpty())
        expected << box;
    expected << SaveFailed;
    QCOMPARE(boxes.texts(RecordingMessageService::Error), expected);
    QCOMPARE(column(tdb.db(),
                    QStringLiteral("SELECT COUNT(*) FROM ZA040MS WHERE PROJECT_ID = 'KESA_Z'")),
             QStringList{QStringLiteral("5")});
}

// Add, edit, delete and save programs; the menu bar follows.
void tst_ZAI040::programRoundTrip()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    // GAI030 is deleted below: no level may grant it any more.
    exec(tdb.db(),
         QStringLiteral("DELETE FROM ZA140MS WHERE PROJECT_ID = 'KESA_G' AND "
                        "PROGRAM_ID = 'GAI030'"));
    RecordingMessageService boxes;
    QWidget page;
    auto *screen = openScreen<TfrmZAI050>(tdb.db(), page);
    QCOMPARE(screen->windowTitle(), QStringLiteral("프로그램 등록"));
    chooseProject(screen->projects, QStringLiteral("KESA_G"));
    // Both lists show the names without their access keys.
    QCOMPARE(screen->cbbMenu->itemText(0), QStringLiteral("[전체]"));
    QCOMPARE(screen->cbbMenu->itemText(1), QStringLiteral("예약 관리"));
    QCOMPARE(screen->cbbMenuName->itemText(1), QStringLiteral("정산"));
    QCOMPARE(screen->chooserMenuIds(), (QStringList{QStringLiteral("G1"), QStringLiteral("G2")}));

    screen->cbbProject->setFocus();
    press(Qt::Key_Return); // on to the menu filter
    QCOMPARE(QApplication::focusWidget(), screen->cbbMenu);
    press(Qt::Key_Return); // search
    QVERIFY(!screen->isSearchMode());
    QCOMPARE(screen->cdsGrid->recordCount(), 5);
    QCOMPARE(screen->cdsGrid->text(QStringLiteral("MENU_NAME")), QStringLiteral("예약 관리"));
    QVERIFY(!screen->cbbMenuName->isEnabled());
    QVERIFY(!screen->dedProgramID->isEditable());

    // GAI010 renamed; GAS020 out of the menu bar.
    retype(screen->dedProgramName, QStringLiteral("예약 접수"));
    goToRow(screen->cdsGrid, QStringLiteral("PROGRAM_ID"), QStringLiteral("GAS020"));
    QCOMPARE(screen->cbbMenuName->currentText(), QStringLiteral("정산"));
    retype(screen->dedDisplaySeq, QStringLiteral("0"));
    // GAS010 filed once more, under G2: a new row takes the chooser's menu.
    press(Qt::Key_F4);
    QVERIFY(screen->cbbMenuName->isEnabled());
    QVERIFY(screen->dedProgramID->isEditable());
    screen->cbbMenuName->setCurrentIndex(1);
    type(screen->dedProgramID, QStringLiteral("gas010"));
    type(screen->dedProgramName, QStringLiteral("예약 현황 조회"));
    type(screen->dedDisplaySeq, QStringLiteral("5"));
    press(Qt::Key_Return); // the chooser is enabled: back to it
    QCOMPARE(QApplication::focusWidget(), screen->cbbMenuName);
    press(Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), screen->dedProgramID);
    // GAI030 deleted.
    goToRow(screen->cdsGrid, QStringLiteral("PROGRAM_ID"), QStringLiteral("GAI030"));
    press(Qt::Key_F9);
    press(Qt::Key_F2);
    QVERIFY(boxes.entries.isEmpty());
    QCOMPARE(screen->statusMessage(), MessageText::saved());
    QCOMPARE(column(tdb.db(),
                    QStringLiteral(
                            "SELECT MENU_ID || ':' || PROGRAM_ID || ':' || DISPLAY_SEQ FROM "
                            "ZA050MS WHERE PROJECT_ID = 'KESA_G' ORDER BY MENU_ID, PROGRAM_ID")),
             (QStringList{QStringLiteral("G1:GAI010:1"),
                          QStringLiteral("G1:GAI020:2"),
                          QStringLiteral("G1:GAS010:3"),
                          QStringLiteral("G2:GAS010:5"),
                          QStringLiteral("G2:GAS020:0")}));
    QCOMPARE(menuText(tdb, QStringLiteral("KESA_G"), QStringLiteral("E1001")),
             QStringLiteral("G1\t예약 관리(&R)\n\tGAI010\t예약 접수\n\tGAS010\t예약 현황 조회\n"
                            "G2\t정산(&S)\n\tGAS010\t예약 현황 조회\n"));
}

// Two menus showing one name: editing a program of the second never files it
// under the first; the chooser follows the row's menu ID.
void tst_ZAI040::programKeepsItsMenu()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    exec(tdb.db(),
         QStringLiteral("UPDATE ZA040MS SET MENU_NAME = '예약 관리' "
                        "WHERE PROJECT_ID = 'KESA_G' AND MENU_ID = 'G2'"));
    // A program of a menu that is gone: still editable, its menu kept.
    exec(tdb.db(),
         QStringLiteral("INSERT INTO ZA050MS (PROJECT_ID, MENU_ID, PROGRAM_ID, PROGRAM_NAME, "
                        "DISPLAY_SEQ) VALUES ('KESA_G', 'G9', 'GAX009', '옛 프로그램', 1)"));
    RecordingMessageService boxes;
    QWidget page;
    auto *screen = openScreen<TfrmZAI050>(tdb.db(), page);
    chooseProject(screen->projects, QStringLiteral("KESA_G"));
    press(Qt::Key_F3);
    goToRow(screen->cdsGrid, QStringLiteral("PROGRAM_ID"), QStringLiteral("GAS020"));
    QCOMPARE(screen->cbbMenuName->currentIndex(),
             int(screen->chooserMenuIds().indexOf(QStringLiteral("G2"))));
    retype(screen->dedProgramName, QStringLiteral("일일 정산"));
    goToRow(screen->cdsGrid, QStringLiteral("PROGRAM_ID"), QStringLiteral("GAX009"));
    QCOMPARE(screen->cdsGrid->text(QStringLiteral("MENU_NAME")), QString());
    QCOMPARE(screen->cbbMenuName->currentIndex(), -1);
    retype(screen->dedProgramName, QStringLiteral("새 이름"));

    // A new program with no menu in the chooser cannot be posted.
    press(Qt::Key_F4);
    type(screen->dedProgramID, QStringLiteral("GAX010"));
    type(screen->dedProgramName, QStringLiteral("새 프로그램"));
    type(screen->dedDisplaySeq, QStringLiteral("1"));
    press(Qt::Key_F2);
    QCOMPARE(screen->statusMessage(), QStringLiteral("* 메인 메뉴 명을(를) 정확히 입력하십시오."));
    QCOMPARE(QApplication::focusWidget(), screen->cbbMenuName);
    QCOMPARE(boxes.texts(RecordingMessageService::Error), QStringList{SaveFailed});
    boxes.clear();
    screen->dedProgramID->selectAll();
    screen->dedProgramID->setFocus();
    press(Qt::Key_Delete); // blank key: the new row is dropped
    press(Qt::Key_F2);
    QVERIFY(boxes.entries.isEmpty());
    QCOMPARE(column(tdb.db(),
                    QStringLiteral(
                            "SELECT MENU_ID || ':' || PROGRAM_ID || ':' || PROGRAM_NAME FROM "
                            "ZA050MS WHERE PROGRAM_ID IN ('GAS020', 'GAX009', 'GAX010') "
                            "ORDER BY PROGRAM_ID")),
             (QStringList{QStringLiteral("G2:GAS020:일일 정산"),
                          QStringLiteral("G9:GAX009:새 이름")}));
}

// A filter menu fixes the chooser; new programs go under it.
void tst_ZAI040::programFilter()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    RecordingMessageService boxes;
    QWidget page;
    auto *screen = openScreen<TfrmZAI050>(tdb.db(), page);
    chooseProject(screen->projects, QStringLiteral("KESA_G"));
    screen->cbbMenu->setCurrentIndex(2); // 정산 (G2)
    press(Qt::Key_F3);
    QCOMPARE(screen->cdsGrid->recordCount(), 2);
    QCOMPARE(screen->cbbMenuName->currentText(), QStringLiteral("정산"));
    press(Qt::Key_F4);
    QVERIFY(!screen->cbbMenuName->isEnabled());
    type(screen->dedProgramID, QStringLiteral("GAI040"));
    type(screen->dedProgramName, QStringLiteral("정산 취소"));
    type(screen->dedDisplaySeq, QStringLiteral("3"));
    press(Qt::Key_Return); // chooser disabled, ID editable
    QCOMPARE(QApplication::focusWidget(), screen->dedProgramID);
    // The same ID under another menu is another key.
    press(Qt::Key_F4);
    type(screen->dedProgramID, QStringLiteral("GAI010"));
    type(screen->dedProgramName, QStringLiteral("예약 등록"));
    type(screen->dedDisplaySeq, QStringLiteral("4"));
    press(Qt::Key_F2);
    QVERIFY(boxes.entries.isEmpty());
    QCOMPARE(column(tdb.db(),
                    QStringLiteral("SELECT MENU_ID || ':' || PROGRAM_ID FROM ZA050MS WHERE "
                                   "PROJECT_ID = 'KESA_G' AND PROGRAM_ID IN ('GAI010', 'GAI040') "
                                   "ORDER BY MENU_ID, PROGRAM_ID")),
             (QStringList{QStringLiteral("G1:GAI010"),
                          QStringLiteral("G2:GAI010"),
                          QStringLiteral("G2:GAI040")}));
    // A five-character ID fails check 1.
    press(Qt::Key_F4);
    type(screen->dedProgramID, QStringLiteral("GAI05"));
    type(screen->dedProgramName, QStringLiteral("이름"));
    type(screen->dedDisplaySeq, QStringLiteral("1"));
    press(Qt::Key_F4);
    QCOMPARE(screen->statusMessage(), QStringLiteral("* 프로그램 I D을(를) 정확히 입력하십시오."));
}

// Search refused without a project, and for a project without menus.
void tst_ZAI040::programSearchRefused()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    exec(tdb.db(),
         QStringLiteral("INSERT INTO ZA020MS (PROJECT_ID, PROJECT_NAME, TEAM_ROLE) "
                        "VALUES ('KESA_X', '가 없는 메뉴', '0')"));
    RecordingMessageService boxes;
    QWidget page;
    auto *screen = openScreen<TfrmZAI050>(tdb.db(), page);
    QCOMPARE(screen->projects->projectId(), QStringLiteral("KESA_X")); // first by name
    QCOMPARE(screen->cbbMenu->count(), 1);
    press(Qt::Key_F3);
    QCOMPARE(boxes.texts(RecordingMessageService::Error),
             QStringList{QStringLiteral("메인 메뉴가 등록되지 않았습니다.\r"
                                        "[메인 메뉴 등록]에서 메뉴를 먼저 등록하십시오.")});
    QVERIFY(screen->isSearchMode());

    boxes.clear();
    exec(tdb.db(), QStringLiteral("DELETE FROM ZA020MS"));
    screen->projects->Fill(tdb.db());
    press(Qt::Key_F3);
    QCOMPARE(boxes.texts(RecordingMessageService::Error),
             QStringList{QStringLiteral("프로젝트를 선택하지 않았습니다.\r"
                                        "[프로젝트 등록]에서 프로젝트를 먼저 등록하십시오.")});
    QVERIFY(screen->isSearchMode());
}

QTEST_MAIN(tst_ZAI040)
#include "tst_ZAI040.moc"
