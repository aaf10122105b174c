// Projects (ZAI020), project levels (ZAI030) and the level lookup (ZAH030), on both engines.
#include "authoritytest.h"
#include "recordingmessageservice.h"
#include "testdatabase.h"

#include "admin/ZAH030.h"
#include "admin/ZAI020.h"
#include "admin/ZAI030.h"
#include "admin/projectchooser.h"
#include "codes/ZXH010.h"
#include "db/clientdataset.h"
#include "db/sqlstatement.h"
#include "framework/datagrid.h"
#include "framework/dbedit.h"
#include "framework/editcolour.h"
#include "framework/messagetexts.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace {

QStringList rowsOf(const ClientDataSet *data, const QString &field)
{
    QStringList values;
    for (int row = 0; row < data->recordCount(); ++row)
        values << ClientDataSet::displayText(data->value(row, field));
    return values;
}

const QString SaveFailed = QStringLiteral("자료를 저장하지 못했습니다.\r\r에러내용:\r");

} // namespace

class tst_ZAI020 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { loginAs(QStringLiteral("A0001"), QStringLiteral("김관리")); }
    void projectRoundTrip_data() { TestDatabase::addEngineRows(); }
    void projectRoundTrip();
    void projectChecks_data();
    void projectChecks();
    void projectKeyList_data() { TestDatabase::addEngineRows(); }
    void projectKeyList();
    void emptyProjects_data() { TestDatabase::addEngineRows(); }
    void emptyProjects();
    void levels_data() { TestDatabase::addEngineRows(); }
    void levels();
    void levelLookup_data() { TestDatabase::addEngineRows(); }
    void levelLookup();
};

// Search, the key rules, the role lookup, add, delete and save; cancel shows the stored rows.
void tst_ZAI020::projectRoundTrip()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    const QSqlDatabase db = tdb.db();
    // KESA_G is deleted below: nothing may refer to it any more.
    for (const char *table : {"ZA030MS", "ZA040MS", "ZA050MS", "ZA130MS", "ZA140MS", "ZA150MS"})
        SqlStatement(db,
                     QStringLiteral("DELETE FROM %1 WHERE PROJECT_ID = 'KESA_G'")
                             .arg(QLatin1String(table)))
                .exec();
    RecordingMessageService boxes;
    QWidget page;
    auto *screen = openScreen<TfrmZAI020>(db, page);
    QCOMPARE(screen->windowTitle(), QStringLiteral("프로젝트 등록"));

    press(Qt::Key_F3);
    QCOMPARE(rowsOf(screen->cdsGrid, QStringLiteral("PROJECT_ID")),
             (QStringList{QStringLiteral("KESA_G"),
                          QStringLiteral("KESA_S"),
                          QStringLiteral("KESA_Z")}));
    QCOMPARE(rowsOf(screen->cdsGrid, QStringLiteral("TEAM_ROLE_NAME")),
             (QStringList{QStringLiteral("사업장"),
                          QStringLiteral("영업장"),
                          QStringLiteral("해당 없음")}));
    QCOMPARE(QApplication::focusWidget(), screen->dedProjectName);
    QVERIFY(!screen->dedProjectID->isEditable());
    QCOMPARE(EditColour::colourOf(screen->dedProjectID), EditColour::silver());
    QCOMPARE(screen->wlbTeamRole->text(), QStringLiteral("사업장"));

    // Enter in the role field goes to the name field while the ID is locked.
    screen->dedTeamRole->setFocus();
    press(Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), screen->dedProjectName);
    press(Qt::Key_Down); // Down moves to the next row; the label follows the row
    QCOMPARE(screen->cdsGrid->text(QStringLiteral("PROJECT_ID")), QStringLiteral("KESA_S"));
    QCOMPARE(screen->wlbTeamRole->text(), QStringLiteral("영업장"));

    // A new project: the ID is editable, the role comes from the lookup (F1).
    press(Qt::Key_F4);
    QCOMPARE(QApplication::focusWidget(), screen->dedProjectID);
    QVERIFY(screen->dedProjectID->isEditable());
    type(screen->dedProjectID, QStringLiteral("kesa_x"));
    QCOMPARE(screen->dedProjectID->text(), QStringLiteral("KESA_X"));
    press(Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), screen->dedProjectName);
    type(screen->dedProjectName, QStringLiteral("시험 관리"));
    screen->dedTeamRole->setFocus();
    whenDialogShows<TfrmZXH010>([](TfrmZXH010 *dialog) {
        QCOMPARE(dialog->cdsQuery->recordCount(), 4);
        dialog->cdsQuery->next();
        dialog->cdsQuery->next();
        press(Qt::Key_Return);
    });
    press(Qt::Key_F1);
    QCOMPARE(screen->dedTeamRole->text(), QStringLiteral("2"));
    QCOMPARE(screen->wlbTeamRole->text(), QStringLiteral("영업구분"));
    activate(&page); // the page is active again once the dialog has gone
    screen->dedTeamRole->setFocus();
    press(Qt::Key_Return); // inserting: back to the ID
    QCOMPARE(QApplication::focusWidget(), screen->dedProjectID);

    // Delete KESA_G, rename KESA_S; save writes all three changes.
    screen->cdsGrid->first();
    QCOMPARE(screen->cdsGrid->text(QStringLiteral("PROJECT_ID")), QStringLiteral("KESA_G"));
    press(Qt::Key_F9);
    QVERIFY(boxes.entries.isEmpty()); // no question
    screen->cdsGrid->first();         // the new row stands where it was inserted, before KESA_S
    screen->cdsGrid->next();
    QCOMPARE(screen->cdsGrid->text(QStringLiteral("PROJECT_ID")), QStringLiteral("KESA_S"));
    screen->dedProjectName->setFocus();
    screen->dedProjectName->selectAll();
    type(screen->dedProjectName, QStringLiteral("스키"));
    press(Qt::Key_F2);
    QCOMPARE(screen->statusMessage(), MessageText::saved());
    QVERIFY(boxes.entries.isEmpty());
    QCOMPARE(column(db,
                    QStringLiteral("SELECT PROJECT_ID || ':' || PROJECT_NAME || ':' || TEAM_ROLE "
                                   "|| ':' || U_IP FROM ZA020MS ORDER BY PROJECT_ID")),
             (QStringList{QStringLiteral("KESA_S:스키:3:10.20.30.40"),
                          QStringLiteral("KESA_X:시험 관리:2:10.20.30.40"),
                          QStringLiteral("KESA_Z:시스템 관리:0:127.0.0.1")}));
    QCOMPARE(rowsOf(screen->cdsGrid, QStringLiteral("PROJECT_ID")),
             (QStringList{QStringLiteral("KESA_S"),
                          QStringLiteral("KESA_X"),
                          QStringLiteral("KESA_Z")}));

    // Cancel with pending changes asks; Yes drops them and shows the stored rows at once.
    screen->dedProjectName->setFocus();
    type(screen->dedProjectName, QStringLiteral("x"));
    press(Qt::Key_F8);
    QCOMPARE(boxes.texts(RecordingMessageService::Question),
             QStringList{MessageText::cancelQuestion()});
    QVERIFY(!screen->isSearchMode());
    QVERIFY(screen->cdsGrid->isActive());
    QCOMPARE(screen->cdsGrid->changeCount(), 0);
    QCOMPARE(rowsOf(screen->cdsGrid, QStringLiteral("PROJECT_NAME")).at(0), QStringLiteral("스키"));
}

void tst_ZAI020::projectChecks_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("role");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("box");
    const QString dup = MessageText::duplicateKey();
    for (auto *r : TestDatabase::newRows(QStringLiteral("five-character ID")))
        *r << "KESA_"
           << "이름"
           << "1"
           << "* 프로젝트 ID을(를) 정확히 입력하십시오."
           << "dedProjectID"
           << "";
    for (auto *r : TestDatabase::newRows(QStringLiteral("blank name")))
        *r << "KESA_X"
           << "  "
           << "1"
           << "* 프로젝트 명을(를) 정확히 입력하십시오."
           << "dedProjectName"
           << "";
    for (auto *r : TestDatabase::newRows(QStringLiteral("unknown role")))
        *r << "KESA_X"
           << "이름"
           << "9"
           << "* 소 속 권 한을(를) 정확히 입력하십시오."
           << "dedTeamRole"
           << "";
    for (auto *r : TestDatabase::newRows(QStringLiteral("no role")))
        *r << "KESA_X"
           << "이름"
           << ""
           << "* 소 속 권 한을(를) 정확히 입력하십시오."
           << "dedTeamRole"
           << "";
    for (auto *r : TestDatabase::newRows(QStringLiteral("stored ID")))
        *r << "KESA_Z"
           << "이름"
           << "1"
           << ""
           << "dedProjectID" << dup;
}

// A new row that fails a check: the status line or the duplicate box, then the
// save's box with no further text; nothing is written and the row stays.
void tst_ZAI020::projectChecks()
{
    QFETCH(QString, engine);
    QFETCH(QString, id);
    QFETCH(QString, name);
    QFETCH(QString, role);
    QFETCH(QString, status);
    QFETCH(QString, focus);
    QFETCH(QString, box);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    RecordingMessageService boxes;
    QWidget page;
    auto *screen = openScreen<TfrmZAI020>(tdb.db(), page);
    press(Qt::Key_F3);
    press(Qt::Key_F4);
    type(screen->dedProjectID, id);
    type(screen->dedProjectName, name);
    type(screen->dedTeamRole, role);
    press(Qt::Key_F2);

    QCOMPARE(screen->statusMessage(), status);
    QStringList expected;
    if (!box.isEmpty())
        expected << box;
    expected << SaveFailed;
    QCOMPARE(boxes.texts(RecordingMessageService::Error), expected);
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    QCOMPARE(column(tdb.db(), QStringLiteral("SELECT COUNT(*) FROM ZA020MS")),
             QStringList{QStringLiteral("3")});
    QCOMPARE(screen->cdsGrid->text(QStringLiteral("PROJECT_ID")), id);
    QVERIFY(!screen->isSearchMode());

    // Such a row cannot be left by cancel either; blanking its key drops it.
    boxes.clear();
    press(Qt::Key_F8);
    QVERIFY(!screen->isSearchMode());
    screen->dedProjectID->setFocus();
    screen->dedProjectID->selectAll();
    press(Qt::Key_Delete);
    press(Qt::Key_F8);
    QVERIFY(boxes.texts(RecordingMessageService::Question).isEmpty());
    QVERIFY(!screen->isSearchMode()); // ZAI020 searches again after cancel
    QCOMPARE(screen->cdsGrid->recordCount(), 3);
}

// Two new rows with one key: the key list refuses the second, also after the
// first was deleted; an untouched new row is dropped by the save.
void tst_ZAI020::projectKeyList()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    RecordingMessageService boxes;
    QWidget page;
    auto *screen = openScreen<TfrmZAI020>(tdb.db(), page);
    press(Qt::Key_F3);
    const auto addRow = [&](const QString &id) {
        press(Qt::Key_F4);
        type(screen->dedProjectID, id);
        type(screen->dedProjectName, QStringLiteral("이름"));
        type(screen->dedTeamRole, QStringLiteral("1"));
    };
    addRow(QStringLiteral("KESA_A"));
    addRow(QStringLiteral("KESA_B"));
    press(Qt::Key_Down); // KESA_B (inserted before KESA_A) posted
    press(Qt::Key_Up);
    QCOMPARE(screen->cdsGrid->text(QStringLiteral("PROJECT_ID")), QStringLiteral("KESA_B"));
    press(Qt::Key_F9); // and deleted before it was saved
    addRow(QStringLiteral("KESA_B"));
    press(Qt::Key_F4);
    QCOMPARE(boxes.texts(RecordingMessageService::Error), QStringList{MessageText::duplicateKey()});
    QCOMPARE(QApplication::focusWidget(), screen->dedProjectID);

    boxes.clear();
    screen->dedProjectID->selectAll();
    type(screen->dedProjectID, QStringLiteral("KESA_C"));
    press(Qt::Key_F4); // an untouched row
    press(Qt::Key_F2);
    QCOMPARE(screen->statusMessage(), MessageText::saved());
    QVERIFY(boxes.entries.isEmpty());
    QCOMPARE(column(tdb.db(), QStringLiteral("SELECT PROJECT_ID FROM ZA020MS ORDER BY PROJECT_ID")),
             (QStringList{QStringLiteral("KESA_A"),
                          QStringLiteral("KESA_C"),
                          QStringLiteral("KESA_G"),
                          QStringLiteral("KESA_S"),
                          QStringLiteral("KESA_Z")}));
    QVERIFY(screen->keyList().isEmpty());
}

// No projects at all: the project screen starts a new row at once; the level
// screen refuses to search.
void tst_ZAI020::emptyProjects()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Schema);
    RecordingMessageService boxes;
    {
        QWidget page;
        auto *screen = openScreen<TfrmZAI020>(tdb.db(), page);
        press(Qt::Key_F3);
        QCOMPARE(screen->cdsGrid->state(), ClientDataSet::State::Insert);
        QCOMPARE(QApplication::focusWidget(), screen->dedProjectID);
    }
    QWidget page;
    auto *screen = openScreen<TfrmZAI030>(tdb.db(), page);
    QCOMPARE(screen->cbbProject->count(), 0);
    screen->cbbProject->setFocus();
    press(Qt::Key_Return);
    QCOMPARE(boxes.texts(RecordingMessageService::Error),
             QStringList{QStringLiteral("* 프로젝트를 선택하지 않았습니다.\r"
                                        "[프로젝트 등록]에서 프로젝트를 먼저 등록하십시오.")});
    QVERIFY(screen->isSearchMode());
    QVERIFY(!screen->cdsGrid->isActive());
}

// Levels of one project: text order, the key rules, PROJECT_ID from the chooser.
void tst_ZAI020::levels()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    const QSqlDatabase db = tdb.db();
    RecordingMessageService boxes;
    QWidget page;
    auto *screen = openScreen<TfrmZAI030>(db, page);
    QCOMPARE(screen->windowTitle(), QStringLiteral("프로젝트 레벨 등록"));
    // Names in name order, IDs beside them.
    QCOMPARE(screen->cbbProject->itemText(0), QStringLiteral("골프 관리"));
    QCOMPARE(screen->projects->projectIds(),
             (QStringList{QStringLiteral("KESA_G"),
                          QStringLiteral("KESA_S"),
                          QStringLiteral("KESA_Z")}));
    screen->cbbProject->setCurrentIndex(2);
    screen->cbbProject->setFocus();
    press(Qt::Key_Return); // Enter in the chooser searches
    QVERIFY(!screen->isSearchMode());
    QCOMPARE(rowsOf(screen->cdsGrid, QStringLiteral("PROJECT_LEVEL")),
             (QStringList{QStringLiteral("10"), QStringLiteral("20")}));
    QCOMPARE(QApplication::focusWidget(), screen->dedLevelName);
    press(Qt::Key_Return); // the level is locked: the focus stays
    QCOMPARE(QApplication::focusWidget(), screen->dedLevelName);

    press(Qt::Key_F4);
    type(screen->dedLevel, QStringLiteral("A"));
    press(Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), screen->dedLevelName);
    type(screen->dedLevelName, QStringLiteral("손님"));
    press(Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), screen->dedLevel);
    press(Qt::Key_F4);
    type(screen->dedLevel, QStringLiteral("1"));
    type(screen->dedLevelName, QStringLiteral("하나"));
    press(Qt::Key_F4);
    type(screen->dedLevel, QStringLiteral("20")); // stored already
    type(screen->dedLevelName, QStringLiteral("둘"));
    press(Qt::Key_F2);
    QCOMPARE(boxes.texts(RecordingMessageService::Error),
             (QStringList{MessageText::duplicateKey(), SaveFailed}));
    boxes.clear();
    screen->dedLevel->selectAll();
    type(screen->dedLevel, QStringLiteral(" 1")); // another key than "1"
    press(Qt::Key_F2);
    QVERIFY(boxes.entries.isEmpty());
    QCOMPARE(rowsOf(screen->cdsGrid, QStringLiteral("PROJECT_LEVEL")),
             (QStringList{QStringLiteral(" 1"),
                          QStringLiteral("1"),
                          QStringLiteral("10"),
                          QStringLiteral("20"),
                          QStringLiteral("A")}));
    QCOMPARE(column(db,
                    QStringLiteral("SELECT PROJECT_LEVEL || ':' || U_EMP_NO FROM ZA030MS "
                                   "WHERE PROJECT_ID = 'KESA_Z' AND U_IP = '10.20.30.40' "
                                   "ORDER BY PROJECT_LEVEL")),
             (QStringList{QStringLiteral(" 1:A0001"),
                          QStringLiteral("1:A0001"),
                          QStringLiteral("A:A0001")}));

    // Cancel returns to search mode with the grid closed.
    press(Qt::Key_F8);
    QVERIFY(screen->isSearchMode());
    QVERIFY(!screen->cdsGrid->isActive());
}

// The level lookup lists a project's levels at once; OK returns level and name,
// cancel leaves the name; GetLevelName finds one level of one project.
void tst_ZAI020::levelLookup()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    QString levelName = QStringLiteral("그대로");
    QString level = QStringLiteral("X");

    whenDialogShows<TfrmZAH030>([](TfrmZAH030 *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("프로젝트 레벨 Help"));
        QCOMPARE(dialog->wlbProject->text(), QStringLiteral("골프 관리"));
        QCOMPARE(rowsOf(dialog->cdsQuery, QStringLiteral("PROJECT_LEVEL")),
                 (QStringList{QStringLiteral("10"), QStringLiteral("20")}));
        QCOMPARE(QApplication::focusWidget(), dialog->rgrGrid);
        press(Qt::Key_Escape);
    });
    QVERIFY(!ShowLevelHelp(QStringLiteral("KESA_G"), QStringLiteral("골프 관리"), levelName, level));
    QVERIFY(level.isEmpty());
    QCOMPARE(levelName, QStringLiteral("그대로"));

    whenDialogShows<TfrmZAH030>([](TfrmZAH030 *dialog) {
        dialog->cdsQuery->last();
        press(Qt::Key_Return);
    });
    QVERIFY(ShowLevelHelp(QStringLiteral("KESA_G"), QStringLiteral("골프 관리"), levelName, level));
    QCOMPARE(level, QStringLiteral("20"));
    QCOMPARE(levelName, QStringLiteral("프론트"));

    // A project without levels: the message; OK does nothing.
    whenDialogShows<TfrmZAH030>([](TfrmZAH030 *dialog) {
        QCOMPARE(dialog->statusMessage(), MessageText::nothingToShow());
        press(Qt::Key_F10);
        QVERIFY(dialog->isVisible());
        press(Qt::Key_F12);
    });
    QVERIFY(!ShowLevelHelp(QStringLiteral("NONE00"), QStringLiteral("없음"), levelName, level));
    QVERIFY(level.isEmpty());

    QCOMPARE(GetLevelName(QStringLiteral("KESA_S"), QStringLiteral("20")),
             QStringLiteral("매표 담당"));
    QCOMPARE(GetLevelName(QStringLiteral("KESA_G"), QStringLiteral("30")), QString());
    QCOMPARE(GetLevelName(QStringLiteral("KESA_Z"), QString()), QString());
}

QTEST_MAIN(tst_ZAI020)
#include "tst_ZAI020.moc"
