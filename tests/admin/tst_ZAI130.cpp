// User levels (ZAI130) and level programs (ZAI140), on both engines: each save
// is checked by the menu bars kesa-db prints afterwards.
#include "authoritytest.h"
#include "recordingmessageservice.h"
#include "testdatabase.h"

#include "admin/ZAI130.h"
#include "admin/ZAI140.h"
#include "admin/projectchooser.h"
#include "db/clientdataset.h"
#include "framework/dbedit.h"
#include "framework/displaygrid.h"
#include "framework/messagetexts.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

namespace {

QStringList rowsOf(const ClientDataSet *data, const QString &field)
{
    QStringList values;
    for (int row = 0; row < data->recordCount(); ++row)
        values << data->value(row, field).toString();
    return values;
}

void retype(QLineEdit *field, const QString &text)
{
    field->setFocus();
    field->selectAll();
    type(field, text);
}

QStringList levelsOf(const QSqlDatabase &db, const QString &empNo)
{
    return column(db,
                  QStringLiteral("SELECT PROJECT_ID || ':' || PROJECT_LEVEL || ':' || U_IP "
                                 "FROM ZA130MS WHERE EMP_NO = :P0 ORDER BY PROJECT_ID"),
                  empNo);
}

const QString Golf = QStringLiteral("KESA_G");
const QString Ski = QStringLiteral("KESA_S");
const QString System = QStringLiteral("KESA_Z");

} // namespace

class tst_ZAI130 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { loginAs(QStringLiteral("A0001"), QStringLiteral("김관리")); }
    void levelChange_data() { TestDatabase::addEngineRows(); }
    void levelChange();
    void userWithoutLevels_data() { TestDatabase::addEngineRows(); }
    void userWithoutLevels();
    void restrictedUser_data() { TestDatabase::addEngineRows(); }
    void restrictedUser();
    void grantAndRevoke_data() { TestDatabase::addEngineRows(); }
    void grantAndRevoke();
    void programUnderTwoMenus_data() { TestDatabase::addEngineRows(); }
    void programUnderTwoMenus();
};

// A changed level, a level of blanks (the stored row goes) and a project the
// user had no level in; the menu bars follow, another user's stays.
void tst_ZAI130::levelChange()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    const QString otherBefore = menuText(tdb, Ski, QStringLiteral("E1002"));
    RecordingMessageService boxes;
    QWidget page;
    auto *screen = openScreen<TfrmZAI130>(tdb.db(), page);
    QCOMPARE(screen->windowTitle(), QStringLiteral("사용자별 레벨 등록"));
    QVERIFY(screen->cedEmpNo->isEnabled()); // an administrator picks anyone
    retype(screen->cedEmpNo, QStringLiteral("E1001"));
    press(Qt::Key_Return);
    QVERIFY(!screen->isSearchMode());
    QCOMPARE(screen->wlbEmpName->text(), QStringLiteral("이영희"));
    // Stored rows in project order, then a new level '0' row for KESA_S.
    ClientDataSet *rows = screen->cdsGrid;
    QCOMPARE(rowsOf(rows, QStringLiteral("PROJECT_ID")), (QStringList{Golf, System, Ski}));
    QCOMPARE(rowsOf(rows, QStringLiteral("PROJECT_LEVEL")),
             (QStringList{QStringLiteral("20"), QStringLiteral("20"), QStringLiteral("0")}));
    QCOMPARE(rowsOf(rows, QStringLiteral("PROJECT_NAME")),
             (QStringList{QStringLiteral("골프 관리"),
                          QStringLiteral("시스템 관리"),
                          QStringLiteral("스키 관리")}));
    QCOMPARE(rows->rowStatus(2), ClientDataSet::RowStatus::Inserted);
    QCOMPARE(rows->value(2, QStringLiteral("U_IP")).toString(), QStringLiteral("10.20.30.40"));
    QCOMPARE(rows->currentRow(), 0);
    QCOMPARE(screen->wlbProject->text(), QStringLiteral("골프 관리"));
    QCOMPARE(screen->wlbProject->toolTip(), Golf);
    QCOMPARE(screen->wlbLevel->text(), QStringLiteral("프론트"));
    keepPicture(&page, engine, QStringLiteral("ZAI130"));
    QCOMPARE(QApplication::focusWidget(), screen->dedLevel);

    // Two characters show no name while typing; the grid's column does.
    retype(screen->dedLevel, QStringLiteral("10"));
    QVERIFY(screen->wlbLevel->text().isEmpty());
    QCOMPARE(rows->text(QStringLiteral("PROJECT_LEVEL_NAME")), QStringLiteral("골프 관리자"));
    // An empty level cannot be left; blanks can.
    press(Qt::Key_Down);
    retype(screen->dedLevel, QString());
    screen->dedLevel->clear();
    type(screen->dedLevel, QStringLiteral("x"));
    press(Qt::Key_Backspace);
    press(Qt::Key_Down);
    QCOMPARE(screen->statusMessage(), QStringLiteral("*레벨을(를) 정확히 입력하십시오."));
    QCOMPARE(rows->currentRow(), 1);
    type(screen->dedLevel, QStringLiteral(" "));
    press(Qt::Key_F2);
    QCOMPARE(screen->statusMessage(), MessageText::saved());
    QVERIFY(boxes.entries.isEmpty());

    QCOMPARE(levelsOf(tdb.db(), QStringLiteral("E1001")),
             (QStringList{QStringLiteral("KESA_G:10:10.20.30.40"),
                          QStringLiteral("KESA_S:0:10.20.30.40")}));
    QCOMPARE(menuText(tdb, Golf, QStringLiteral("E1001")),
             QStringLiteral("G1\t예약 관리(&R)\n\tGAI010\t예약 등록\n\tGAS010\t예약 현황 조회\n"
                            "G2\t정산(&S)\n\tGAS020\t일일 정산 조회\n\tGAI030\t정산 마감\n"));
    QCOMPARE(menuText(tdb, System, QStringLiteral("E1001")),
             QStringLiteral("Z5\t도구(&T)\n\tZXB000\tDB 접속 Password 암호화\n"));
    QCOMPARE(menuText(tdb, Ski, QStringLiteral("E1002")), otherBefore);
    // Searched again: KESA_Z has no level now and starts over at '0'.
    QVERIFY(!screen->isSearchMode());
    QCOMPARE(rowsOf(rows, QStringLiteral("PROJECT_ID")), (QStringList{Golf, Ski, System}));
    QCOMPARE(rows->changeCount(), 1);
}

// A user without any level: every project at '0', all of them stored by a save;
// closing right after the search asks about them.
void tst_ZAI130::userWithoutLevels()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    RecordingMessageService boxes;
    TestHost host;
    QWidget page;
    auto *screen = openScreen<TfrmZAI130>(tdb.db(), page);
    retype(screen->cedEmpNo, QStringLiteral("E1003"));
    press(Qt::Key_F3);
    QCOMPARE(rowsOf(screen->cdsGrid, QStringLiteral("PROJECT_ID")),
             (QStringList{Golf, Ski, System}));
    QCOMPARE(screen->cdsGrid->changeCount(), 3);
    // F4 and F9 do nothing: their buttons are hidden.
    press(Qt::Key_F4);
    press(Qt::Key_F9);
    QCOMPARE(screen->cdsGrid->recordCount(), 3);

    boxes.answers = {false};
    QTest::mouseClick(screen->bbtClose, Qt::LeftButton);
    QCOMPARE(boxes.texts(RecordingMessageService::Question),
             QStringList{MessageText::closeQuestion()});
    QCOMPARE(host.closes, 1);
    QVERIFY(levelsOf(tdb.db(), QStringLiteral("E1003")).isEmpty());

    press(Qt::Key_F2);
    QCOMPARE(levelsOf(tdb.db(), QStringLiteral("E1003")),
             (QStringList{QStringLiteral("KESA_G:0:10.20.30.40"),
                          QStringLiteral("KESA_S:0:10.20.30.40"),
                          QStringLiteral("KESA_Z:0:10.20.30.40")}));
    QCOMPARE(menuText(tdb, System, QStringLiteral("E1003")), QString());

    // An unknown number is refused before the search.
    boxes.clear();
    press(Qt::Key_F8);
    retype(screen->cedEmpNo, QStringLiteral("NOBODY"));
    press(Qt::Key_Return);
    QCOMPARE(boxes.texts(RecordingMessageService::Error),
             QStringList{QStringLiteral("* 사 용 자을(를) 정확히 입력하십시오.")});
    QVERIFY(screen->isSearchMode());
    QCOMPARE(QApplication::focusWidget(), screen->cedEmpNo);
}

// Someone who is not an administrator sees and saves his own levels only, also after cancel.
void tst_ZAI130::restrictedUser()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    loginAs(QStringLiteral("E1002"), QStringLiteral("박민수"));
    RecordingMessageService boxes;
    QWidget page;
    auto *screen = openScreen<TfrmZAI130>(tdb.db(), page);
    QCOMPARE(screen->cedEmpNo->text(), QStringLiteral("E1002"));
    QVERIFY(!screen->cedEmpNo->isEnabled());
    QVERIFY(!screen->sbtEmpNo->isEnabled());
    press(Qt::Key_F3);
    QCOMPARE(rowsOf(screen->cdsGrid, QStringLiteral("EMP_NO")).removeDuplicates(), 2);
    QCOMPARE(rowsOf(screen->cdsGrid, QStringLiteral("PROJECT_LEVEL")),
             (QStringList{QStringLiteral("20"), QStringLiteral("0"), QStringLiteral("0")}));
    boxes.answers = {true};
    press(Qt::Key_F8);
    QCOMPARE(boxes.texts(RecordingMessageService::Question),
             QStringList{MessageText::cancelQuestion()});
    QVERIFY(screen->isSearchMode());
    QCOMPARE(screen->cedEmpNo->text(), QStringLiteral("E1002"));
    QCOMPARE(screen->wlbEmpName->text(), QStringLiteral("박민수"));
    QVERIFY(!screen->cedEmpNo->isEnabled());
    QVERIFY(!screen->sbtEmpNo->isEnabled());
    press(Qt::Key_F3);
    QCOMPARE(rowsOf(screen->cdsGrid, QStringLiteral("EMP_NO")),
             (QStringList{QStringLiteral("E1002"),
                          QStringLiteral("E1002"),
                          QStringLiteral("E1002")}));
}

// Grant and revoke for one level; moving a program over and back is no change;
// unchanged grants keep their audit values.
void tst_ZAI130::grantAndRevoke()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    const QString levelLessBefore = menuText(tdb, Ski, QStringLiteral("E1001"));
    RecordingMessageService boxes;
    QWidget page;
    auto *screen = openScreen<TfrmZAI140>(tdb.db(), page);
    QCOMPARE(screen->windowTitle(), QStringLiteral("프로젝트 레벨별 프로그램 등록"));
    screen->cbbProject->setCurrentIndex(int(screen->projects->projectIds().indexOf(Ski)));
    screen->cbbProject->setFocus();
    press(Qt::Key_Return);
    QVERIFY(!screen->isSearchMode());
    QCOMPARE(screen->levels(), (QStringList{QStringLiteral("10"), QStringLiteral("20")}));
    QCOMPARE(screen->rgrGrid->cell(1, 0), QStringLiteral("매표 담당"));
    QVERIFY(screen->lstListSrc->count() == 0); // the manager has every program

    screen->rgrGrid->setCurrentIndex(screen->rgrGrid->model()->index(1, 0));
    QCOMPARE(listEntries(screen->lstListSrc),
             (QStringList{QStringLiteral("[SAI020] 시즌권 등록/1"),
                          QStringLiteral("[SAI030] 렌탈 등록/1"),
                          QStringLiteral("[SAS020] 렌탈 현황 조회/1")}));
    QCOMPARE(listEntries(screen->lstListDst),
             (QStringList{QStringLiteral("[SAI010] 리프트권 발매/1"),
                          QStringLiteral("[SAS010] 발매 현황 조회/1"),
                          QStringLiteral("[SAS010] 발매 현황 조회/1")}));

    // Over and back: nothing to save.
    pickEntries(screen->lstListSrc, {QStringLiteral("[SAI020] 시즌권 등록")});
    QTest::mouseClick(screen->sbtListS2D, Qt::LeftButton);
    pickEntries(screen->lstListDst, {QStringLiteral("[SAI020] 시즌권 등록")});
    QTest::mouseClick(screen->sbtListD2S, Qt::LeftButton);
    press(Qt::Key_F2);
    QCOMPARE(screen->statusMessage(), MessageText::nothingChanged());

    // SAI030 and SAS020 granted, SAI010 revoked.
    pickEntries(screen->lstListSrc,
                {QStringLiteral("[SAI030] 렌탈 등록"), QStringLiteral("[SAS020] 렌탈 현황 조회")});
    QTest::mouseClick(screen->sbtListS2D, Qt::LeftButton);
    QCOMPARE(listEntries(screen->lstListDst).last(), QStringLiteral("[SAS020] 렌탈 현황 조회/1"));
    screen->lstListDst->item(0)->setSelected(true);
    keepPicture(&page, engine, QStringLiteral("ZAI140"));
    pickEntries(screen->lstListDst, {QStringLiteral("[SAI010] 리프트권 발매")});
    QTest::mouseClick(screen->sbtListD2S, Qt::LeftButton);
    QCOMPARE(listEntries(screen->lstListSrc).last(), QStringLiteral("[SAI010] 리프트권 발매/1"));
    press(Qt::Key_F2);
    QCOMPARE(screen->statusMessage(), MessageText::saved());
    QVERIFY(boxes.entries.isEmpty());
    QCOMPARE(column(tdb.db(),
                    QStringLiteral("SELECT PROGRAM_ID || ':' || U_IP FROM ZA140MS WHERE "
                                   "PROJECT_ID = 'KESA_S' AND PROJECT_LEVEL = '20' "
                                   "ORDER BY PROGRAM_ID")),
             (QStringList{QStringLiteral("SAI030:10.20.30.40"),
                          QStringLiteral("SAS010:127.0.0.1"),
                          QStringLiteral("SAS020:10.20.30.40")}));
    QCOMPARE(menuText(tdb, Ski, QStringLiteral("E1002")),
             QStringLiteral("S1\t매표(&T)\n\tSAS010\t발매 현황 조회\n"
                            "S2\t렌탈(&R)\n\tSAI030\t렌탈 등록\n\tSAS020\t렌탈 현황 조회\n"
                            "\tSAS010\t발매 현황 조회\n"));
    QCOMPARE(menuText(tdb, Ski, QStringLiteral("E1001")), levelLessBefore);
    // Searched again: the first level is shown.
    QVERIFY(!screen->isSearchMode());
    QCOMPARE(screen->rgrGrid->currentRow(), 0);
}

// A program filed under two menus moves as one: granted once, revoked once.
void tst_ZAI130::programUnderTwoMenus()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    RecordingMessageService boxes;
    QWidget page;
    auto *screen = openScreen<TfrmZAI140>(tdb.db(), page);
    screen->cbbProject->setCurrentIndex(int(screen->projects->projectIds().indexOf(Ski)));
    press(Qt::Key_F3);
    screen->rgrGrid->setCurrentIndex(screen->rgrGrid->model()->index(1, 0));
    const QString sas010 = QStringLiteral("[SAS010] 발매 현황 조회");

    // One of the two entries picked: both go; the level loses SAS010 under both menus.
    screen->lstListDst->item(1)->setSelected(true);
    QTest::mouseClick(screen->sbtListD2S, Qt::LeftButton);
    QCOMPARE(listEntries(screen->lstListDst),
             QStringList{QStringLiteral("[SAI010] 리프트권 발매/1")});
    QCOMPARE(screen->lstListSrc->findItems(sas010, Qt::MatchExactly).size(), 2);
    press(Qt::Key_F2);
    QCOMPARE(screen->statusMessage(), MessageText::saved());
    QCOMPARE(menuText(tdb, Ski, QStringLiteral("E1002")),
             QStringLiteral("S1\t매표(&T)\n\tSAI010\t리프트권 발매\n"
                            "S2\t렌탈(&R)\n\tSAS020\t렌탈 현황 조회\n"));

    // Both back: one grant, shown under both menus again.
    screen->rgrGrid->setCurrentIndex(screen->rgrGrid->model()->index(1, 0));
    pickEntries(screen->lstListSrc, {sas010});
    QTest::mouseClick(screen->sbtListS2D, Qt::LeftButton);
    QCOMPARE(screen->lstListDst->findItems(sas010, Qt::MatchExactly).size(), 2);
    press(Qt::Key_F2);
    QCOMPARE(screen->statusMessage(), MessageText::saved());
    QVERIFY(boxes.entries.isEmpty());
    QCOMPARE(column(tdb.db(),
                    QStringLiteral("SELECT COUNT(*) FROM ZA140MS WHERE PROJECT_ID = 'KESA_S' AND "
                                   "PROJECT_LEVEL = '20' AND PROGRAM_ID = 'SAS010'")),
             QStringList{QStringLiteral("1")});
    QCOMPARE(menuText(tdb, Ski, QStringLiteral("E1002")),
             QStringLiteral("S1\t매표(&T)\n\tSAI010\t리프트권 발매\n\tSAS010\t발매 현황 조회\n"
                            "S2\t렌탈(&R)\n\tSAS020\t렌탈 현황 조회\n\tSAS010\t발매 현황 조회\n"));
}

QTEST_MAIN(tst_ZAI130)
#include "tst_ZAI130.moc"
