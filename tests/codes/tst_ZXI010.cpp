// The common code registration screens (ZXI011 "공통코드 목록 등록", ZXI010
// "공통코드 등록") through their widgets on both engines, with the hand-over of
// a head from the list to the codes.
#include "recordingmessageservice.h"
#include "screentest.h"
#include "testdatabase.h"

#include "codes/ZXI010.h"
#include "codes/ZXI011.h"
#include "common/loginvalues.h"
#include "db/clientdataset.h"
#include "db/sqlstatement.h"
#include "framework/datagrid.h"
#include "framework/dbedit.h"
#include "framework/messagetexts.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

namespace {

// A head whose codes have two attributes, 1 and 3, and one code.
void addRoomTypes(const QSqlDatabase &db)
{
    SqlStatement head(db,
                      QStringLiteral(
                              "INSERT INTO ZX010MS (HEAD, DETAIL, DETAIL_NAME, ITEM1, ITEM3) "
                              "VALUES ('T0020', ' ', '객실 타입', '정원', '면적')"));
    head.exec();
    SqlStatement code(db,
                      QStringLiteral(
                              "INSERT INTO ZX010MS (HEAD, DETAIL, DETAIL_NAME, ITEM1, ITEM3) "
                              "VALUES ('T0020', 'STD', '스탠다드', '2', '33')"));
    code.exec();
}

class OpeningHost : public TestHost
{
public:
    bool openProgram(const QString &caption, const QString &programId) override
    {
        opened << caption + QLatin1Char('/') + programId;
        return true;
    }
    QStringList opened;
};

template<typename Screen>
Screen *openScreen(const QSqlDatabase &db, QWidget &page)
{
    auto *screen = new Screen(&page);
    screen->setDatabase(db);
    screen->ensureCreated();
    page.resize(1008, 670);
    activate(&page);
    return screen;
}

void search(QLineEdit *head, const QString &text)
{
    head->setFocus();
    head->setText(text);
    press(Qt::Key_F3);
}

QStringList visibleTitles(const DataGrid *grid)
{
    QStringList titles;
    for (int column : grid->visibleColumns())
        titles << grid->gridColumn(column).title;
    return titles;
}

QStringList shownItems(TfrmZXI010 *screen)
{
    QStringList captions;
    for (int n = 0; n < 15; ++n) {
        if (screen->dedItem[n]->isVisible())
            captions << screen->lblItem[n]->text();
    }
    return captions;
}

} // namespace

class tst_ZXI010 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        loginAs(QStringLiteral("A0001"), QStringLiteral("김관리"));
        login().openRequests.clear();
    }
    void headRows_data() { TestDatabase::addEngineRows(); }
    void headRows();
    void headEntryRules_data() { TestDatabase::addEngineRows(); }
    void headEntryRules();
    void codesWithItems_data() { TestDatabase::addEngineRows(); }
    void codesWithItems();
    void searchRefusals_data() { TestDatabase::addEngineRows(); }
    void searchRefusals();
    void handOver_data() { TestDatabase::addEngineRows(); }
    void handOver();
    void handOverOfAHeadWithoutCodes_data() { TestDatabase::addEngineRows(); }
    void handOverOfAHeadWithoutCodes();
};

// A new head row is stored with DETAIL exactly one blank and its captions.
void tst_ZXI010::headRows()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    RecordingMessageService boxes;
    QWidget page;
    auto *screen = openScreen<TfrmZXI011>(tdb.db(), page);

    search(screen->edtHead, QStringLiteral("Z00"));
    QVERIFY(!screen->isSearchMode());
    const QStringList heads = column(tdb.db(),
                                     QStringLiteral(
                                             "SELECT HEAD FROM ZX010MS WHERE HEAD LIKE 'Z00%' "
                                             "AND DETAIL = ' ' ORDER BY HEAD"));
    QCOMPARE(screen->cdsGrid->recordCount(), heads.size());
    QVERIFY(screen->dedDetailName->hasFocus());

    press(Qt::Key_F4);
    QVERIFY(screen->dedHead->hasFocus());
    type(screen->dedHead, QStringLiteral("z0099"));
    QCOMPARE(screen->dedHead->text(), QStringLiteral("Z0099"));
    type(screen->dedDetailName, QStringLiteral("시험 목록"));
    type(screen->dedItem[0], QStringLiteral("정원"));
    type(screen->dedItem[2], QStringLiteral("면적"));
    press(Qt::Key_F2);
    QCOMPARE(screen->statusMessage(), MessageText::saved());
    QCOMPARE(column(tdb.db(),
                    QStringLiteral(
                            "SELECT '[' || DETAIL || ']' || DETAIL_NAME || '|' || ITEM1 || '|' "
                            "|| COALESCE(ITEM2, '-') || '|' || ITEM3 || '|' || U_EMP_NO FROM "
                            "ZX010MS WHERE HEAD = 'Z0099'")),
             QStringList(QStringLiteral("[ ]시험 목록|정원|-|면적|A0001")));

    // Delete removes the head row only; the save writes it.
    screen->sbtLast->click();
    QCOMPARE(screen->cdsGrid->text(QStringLiteral("HEAD")), QStringLiteral("Z0099"));
    press(Qt::Key_F9);
    press(Qt::Key_F2);
    QVERIFY(column(tdb.db(), QStringLiteral("SELECT HEAD FROM ZX010MS WHERE HEAD = 'Z0099'"))
                    .isEmpty());
}

void tst_ZXI010::headEntryRules()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    RecordingMessageService boxes;
    QWidget page;
    auto *screen = openScreen<TfrmZXI011>(tdb.db(), page);
    search(screen->edtHead, QStringLiteral("Z"));

    // A head that does not begin with the prefix is emptied, field and row.
    press(Qt::Key_F4);
    type(screen->dedHead, QStringLiteral("J"));
    QCOMPARE(screen->statusMessage(), QStringLiteral("Z로 시작하는 문자를 입력하십시오."));
    QCOMPARE(screen->dedHead->text(), QString());
    QCOMPARE(screen->cdsGrid->text(QStringLiteral("HEAD")), QString());

    // Too short, missing name, existing head.
    type(screen->dedHead, QStringLiteral("Z01"));
    type(screen->dedDetailName, QStringLiteral("짧은 분류"));
    QCOMPARE(screen->statusMessage(), QStringLiteral("입력한 내용이 너무 짧습니다."));
    press(Qt::Key_F4);
    QCOMPARE(screen->statusMessage(), QStringLiteral("* 분  류") + MessageText::enterCorrectly());
    QVERIFY(screen->dedHead->hasFocus());
    type(screen->dedHead, QStringLiteral("12"));
    screen->dedDetailName->setFocus();
    screen->dedDetailName->selectAll();
    QTest::keyClick(screen->dedDetailName, Qt::Key_Delete);
    press(Qt::Key_F4);
    QCOMPARE(screen->statusMessage(),
             QStringLiteral("* 분   류   명") + MessageText::enterCorrectly());
    screen->dedHead->setFocus();
    screen->dedHead->selectAll();
    type(screen->dedHead, QStringLiteral("Z0012"));
    type(screen->dedDetailName, QStringLiteral("중복"));
    press(Qt::Key_F4);
    QCOMPARE(boxes.texts(RecordingMessageService::Error),
             QStringList(QStringLiteral("기존 등록된 키와 값이 중복됩니다.\r다시 입력하십시오.")));

    // Two new rows with one key: the key list refuses the second, also after
    // the first was deleted again.
    screen->dedHead->selectAll();
    type(screen->dedHead, QStringLiteral("Z0098"));
    press(Qt::Key_F4);
    type(screen->dedHead, QStringLiteral("Z0098"));
    type(screen->dedDetailName, QStringLiteral("둘째"));
    boxes.clear();
    press(Qt::Key_F4);
    QCOMPARE(boxes.texts(RecordingMessageService::Error).size(), 1);
    QCOMPARE(screen->keyList(), QStringList(QStringLiteral("Z0098")));

    // Cancel settles first: the refused row stops it until its key is gone.
    screen->bbtCancel->click();
    QVERIFY(!screen->isSearchMode());
    screen->dedHead->setFocus();
    screen->dedHead->selectAll();
    QTest::keyClick(screen->dedHead, Qt::Key_Delete);
    boxes.answers = {true};
    screen->bbtCancel->click();
    QVERIFY(screen->isSearchMode());
    QVERIFY(column(tdb.db(), QStringLiteral("SELECT HEAD FROM ZX010MS WHERE HEAD = 'Z0098'"))
                    .isEmpty());
}

// The head row decides which attributes show, under which captions.
void tst_ZXI010::codesWithItems()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    addRoomTypes(tdb.db());
    RecordingMessageService boxes;
    QWidget page;
    auto *screen = openScreen<TfrmZXI010>(tdb.db(), page);

    search(screen->edtHead, QStringLiteral("T0020"));
    QCOMPARE(screen->wlbHead->text(), QStringLiteral("객실 타입"));
    QCOMPARE(visibleTitles(screen->rgrGrid), QStringList({"코드", "객실 타입", "정원", "면적"}));
    QCOMPARE(shownItems(screen), QStringList({"정원", "면적"}));
    QCOMPARE(screen->lblDetailName->text(), QStringLiteral("객실 타입"));
    QCOMPARE(screen->cdsGrid->recordCount(), 1);
    QVERIFY(!screen->dedDetail->isEditable()); // a saved code cannot change

    press(Qt::Key_F4);
    QVERIFY(screen->dedDetail->isEditable());
    type(screen->dedDetail, QStringLiteral("DLX"));
    press(Qt::Key_Return);
    QVERIFY(screen->dedDetailName->hasFocus());
    press(Qt::Key_F4);
    QCOMPARE(screen->statusMessage(), QStringLiteral("객실 타입") + MessageText::enterCorrectly());
    type(screen->dedDetailName, QStringLiteral("디럭스"));
    press(Qt::Key_Return);
    QVERIFY(screen->dedItem[0]->hasFocus());
    type(screen->dedItem[0], QStringLiteral("4"));
    press(Qt::Key_Return);
    QVERIFY(screen->dedItem[2]->hasFocus()); // attribute 2 is not shown
    type(screen->dedItem[2], QStringLiteral("52"));
    press(Qt::Key_Return);
    QVERIFY(screen->dedDetail->hasFocus()); // back to the key field of the new row
    press(Qt::Key_F2);
    QCOMPARE(column(tdb.db(),
                    QStringLiteral("SELECT DETAIL || '|' || DETAIL_NAME || '|' || ITEM1 || '|' || "
                                   "ITEM3 FROM ZX010MS WHERE HEAD = 'T0020' AND DETAIL <> ' ' "
                                   "ORDER BY DETAIL")),
             QStringList({"DLX|디럭스|4|52", "STD|스탠다드|2|33"}));

    // Another head shows its own attributes only (none): the room type captions go.
    screen->bbtCancel->click();
    search(screen->edtHead, QStringLiteral("J0003"));
    QCOMPARE(visibleTitles(screen->rgrGrid), QStringList({"코드", "영업구분"}));
    QVERIFY(shownItems(screen).isEmpty());

    // Deleting every code and saving leaves an empty list that starts a new row.
    screen->bbtCancel->click();
    search(screen->edtHead, QStringLiteral("T0020"));
    press(Qt::Key_F9);
    press(Qt::Key_F9);
    press(Qt::Key_F2);
    QVERIFY(column(tdb.db(),
                   QStringLiteral(
                           "SELECT DETAIL FROM ZX010MS WHERE HEAD = 'T0020' AND DETAIL <> ' '"))
                    .isEmpty());
    QCOMPARE(screen->cdsGrid->state(), ClientDataSet::State::Insert);
    QCOMPARE(column(tdb.db(), QStringLiteral("SELECT COUNT(*) FROM ZX010MS WHERE HEAD = 'T0020'")),
             QStringList("1")); // the head row stays
}

void tst_ZXI010::searchRefusals()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    RecordingMessageService boxes;
    QWidget page11, page10;
    auto *list = openScreen<TfrmZXI011>(tdb.db(), page11);
    search(list->edtHead, QStringLiteral("  "));
    QCOMPARE(boxes.texts(RecordingMessageService::Error),
             QStringList(QStringLiteral("*분류") + MessageText::enterCorrectly()));
    QVERIFY(list->isSearchMode());

    auto *codes = openScreen<TfrmZXI010>(tdb.db(), page10);
    boxes.clear();
    search(codes->edtHead, QStringLiteral("Z00"));
    QCOMPARE(boxes.texts(RecordingMessageService::Error),
             QStringList(QStringLiteral("*분류") + MessageText::enterCorrectly()));
    QVERIFY(codes->edtHead->hasFocus());
    boxes.clear();
    search(codes->edtHead, QStringLiteral("Q0001"));
    QCOMPARE(boxes.texts(RecordingMessageService::Error),
             QStringList(QStringLiteral("등록되지 않은 공통코드 입니다.\r[공통코드 목록 등록]에서 "
                                        "먼저 등록하십시오.")));
    QVERIFY(codes->isSearchMode());
}

// A double click in the list opens the codes of that head; the codes screen
// takes the request once, when it first appears, never on a tab switch.
void tst_ZXI010::handOver()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    addRoomTypes(tdb.db());
    RecordingMessageService boxes;
    OpeningHost host;
    login().openRequests = {{QStringLiteral("T0020"), 1}, {QStringLiteral("X"), 7}};

    QTabWidget tabs;
    auto *list = new TfrmZXI011;
    list->setDatabase(tdb.db());
    tabs.addTab(list, QStringLiteral("목록"));
    tabs.resize(1008, 700);
    activate(&tabs);
    search(list->edtHead, QStringLiteral("T002"));
    QCOMPARE(list->dedHead->text(), QStringLiteral("T0020"));
    const QModelIndex cell = list->rgrGrid->model()->index(0, 0);
    QTest::mouseClick(list->rgrGrid->viewport(),
                      Qt::LeftButton,
                      {},
                      list->rgrGrid->visualRect(cell).center());
    QTest::mouseDClick(list->rgrGrid->viewport(),
                       Qt::LeftButton,
                       {},
                       list->rgrGrid->visualRect(cell).center());
    QCOMPARE(host.opened, QStringList(QStringLiteral("공통코드 등록/ZXI010")));
    // The older entry with the same text went; the request is the last entry.
    QCOMPARE(login().openRequests,
             (QList<QPair<QString, int>>{{"X", 7}, {"T0020", TfrmZXI011::OpenRequestTag}}));

    auto *codes = new TfrmZXI010;
    codes->setDatabase(tdb.db());
    tabs.addTab(codes, QStringLiteral("코드"));
    QCOMPARE(codes->edtHead->text(), QString()); // not shown yet
    tabs.setCurrentWidget(codes);
    QCOMPARE(codes->edtHead->text(), QStringLiteral("T0020"));
    QCOMPARE(codes->wlbHead->text(), QStringLiteral("객실 타입"));
    QVERIFY(!codes->isSearchMode());
    QCOMPARE(codes->cdsGrid->recordCount(), 1);
    QVERIFY(codes->rgrGrid->hasFocus());
    QCOMPARE(login().openRequests, (QList<QPair<QString, int>>{{"X", 7}}));

    // A request made while the codes screen is open waits for the next one.
    login().openRequests.append({QStringLiteral("J0003"), TfrmZXI011::OpenRequestTag});
    tabs.setCurrentWidget(list);
    tabs.setCurrentWidget(codes);
    QCOMPARE(codes->edtHead->text(), QStringLiteral("T0020"));
    QCOMPARE(login().openRequests.size(), 2);
}

// A head without codes opens on a new row: what the user types goes into the
// new row's code field, not to the grid.
void tst_ZXI010::handOverOfAHeadWithoutCodes()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    SqlStatement head(tdb.db(),
                      QStringLiteral("INSERT INTO ZX010MS (HEAD, DETAIL, DETAIL_NAME, ITEM1) "
                                     "VALUES ('T0030', ' ', '객실 뷰', '층')"));
    head.exec();
    RecordingMessageService boxes;
    login().openRequests = {{QStringLiteral("T0030"), TfrmZXI011::OpenRequestTag}};

    QTabWidget tabs;
    tabs.addTab(new QWidget, QStringLiteral("목록"));
    tabs.resize(1008, 700);
    activate(&tabs);
    auto *codes = new TfrmZXI010;
    codes->setDatabase(tdb.db());
    tabs.addTab(codes, QStringLiteral("코드"));
    tabs.setCurrentWidget(codes);
    QCOMPARE(codes->edtHead->text(), QStringLiteral("T0030"));
    QCOMPARE(codes->cdsGrid->state(), ClientDataSet::State::Insert);
    QWidget *focus = QApplication::focusWidget();
    QVERIFY2(focus == codes->dedDetail,
             qPrintable(focus ? focus->objectName() : QStringLiteral("none")));
    QTest::keyClicks(focus, QStringLiteral("V1"));
    QCOMPARE(codes->dedDetail->text(), QStringLiteral("V1"));
    QVERIFY(boxes.entries.isEmpty());
}

QTEST_MAIN(tst_ZXI010)
#include "tst_ZXI010.moc"
