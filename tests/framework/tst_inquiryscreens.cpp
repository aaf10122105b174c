// The inquiry screens driven through their widgets and hot keys, on both engines.
#include "recordingmessageservice.h"
#include "screentest.h"
#include "testdatabase.h"

#include "db/clientdataset.h"
#include "db/sqlstatement.h"
#include "db/transaction.h"
#include "framework/ZZS020.h"
#include "framework/datagrid.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

void addProjects(const QSqlDatabase &db, int count)
{
    Transaction::run(db, [&] {
        for (int i = 0; i < count; ++i) {
            SqlStatement insert(db,
                                QStringLiteral("INSERT INTO ZA020MS (PROJECT_ID, PROJECT_NAME, "
                                               "TEAM_ROLE, U_EMP_NO, U_DATE, U_IP) VALUES (:P0, "
                                               ":P1, '1', 'E0', SYSDATE, '10.0.0.9')"));
            insert.bind(QStringLiteral("P0"), QStringLiteral("P%1").arg(i, 5, 10, QLatin1Char('0')));
            insert.bind(QStringLiteral("P1"), QStringLiteral("이름 %1").arg(i));
            insert.exec();
        }
    });
}

// A grid inquiry screen as the derived ones are built: a search field whose
// Enter searches, five columns of which two are hidden.
class ProjectInquiry : public TfrmZZS020
{
public:
    explicit ProjectInquiry(const QSqlDatabase &db)
    {
        setObjectName(QStringLiteral("frmZZT030"));
        setWindowTitle(QStringLiteral("프로젝트 조회"));
        setDatabase(db);
        edtFilter = new QLineEdit;
        edtFilter->setObjectName(QStringLiteral("edtFilter"));
        addSearchWidget(edtFilter);
        setSearchFields({edtFilter});
        rgrGrid->addColumn(QStringLiteral("PROJECT_ID"), QStringLiteral("프로젝트 ID"), 80);
        rgrGrid->addColumn(QStringLiteral("PROJECT_NAME"), QStringLiteral("프로젝트 명"), 160);
        rgrGrid->addColumn(QStringLiteral("TEAM_ROLE"), QStringLiteral("역할"), 40);
        rgrGrid->addColumn(QStringLiteral("U_EMP_NO"), QStringLiteral("변경자"), 60);
        rgrGrid->addColumn(QStringLiteral("U_IP"), QStringLiteral("변경 IP"), 90);
        rgrGrid->setColumnVisible(2, false);
        rgrGrid->setColumnVisible(4, false);
        ensureCreated();
    }
    void bbtSearchClick() override
    {
        TfrmZZS020::bbtSearchClick();
        ++searches;
        OpenQuery(
                QStringLiteral(
                        "SELECT PROJECT_ID, PROJECT_NAME, TEAM_ROLE, U_EMP_NO, U_IP "
                        "FROM ZA020MS WHERE PROJECT_ID LIKE COALESCE(CAST(:P0 AS VARCHAR(10)), '') "
                        "|| '%' ORDER BY "
                        "PROJECT_ID"),
                {edtFilter->text()});
        edtFilter->setFocus();
    }
    void bbtPrintClick() override
    {
        TfrmZZS020::bbtPrintClick();
        ++prints;
    }
    void bbtPreviewClick() override
    {
        TfrmZZS020::bbtPreviewClick();
        ++previews;
    }

    QLineEdit *edtFilter = nullptr;
    int searches = 0;
    int prints = 0;
    int previews = 0;
    QStringList opened;

protected:
    void OpenWithDesktop(const QString &path) override { opened.append(path); }
};

QStringList menuItems(const QMenu *menu)
{
    QStringList items;
    for (const QAction *item : menu->actions())
        items.append((item->isChecked() ? QStringLiteral("+") : QStringLiteral("-")) + item->text());
    return items;
}

// A right click on the grid: true when the popup menu opened.
bool rightClickOpensMenu(TfrmZZS020 &screen)
{
    QWidget *viewport = screen.rgrGrid->viewport();
    const QPoint at(5, 5);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
    QApplication::sendEvent(viewport, &event);
    const bool open = screen.popGrid->isVisible();
    screen.popGrid->hide();
    return open;
}

} // namespace

class tst_InquiryScreens : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void frame();
    void hotKeys_data() { TestDatabase::addEngineRows(); }
    void hotKeys();
    void searchAndNavigation_data() { TestDatabase::addEngineRows(); }
    void searchAndNavigation();
    void columnChooser_data() { TestDatabase::addEngineRows(); }
    void columnChooser();
    void groupedHeadersRefuseTheMenu_data() { TestDatabase::addEngineRows(); }
    void groupedHeadersRefuseTheMenu();
    void excelQuestion_data() { TestDatabase::addEngineRows(); }
    void excelQuestion();
};

void tst_InquiryScreens::frame()
{
    TfrmZZS020 screen;
    screen.show();
    QCOMPARE(screen.bbtSearch->text(), QStringLiteral("조회(F3)"));
    QCOMPARE(screen.bbtPrint->text(), QStringLiteral("출력(F11)"));
    QCOMPARE(screen.bbtPreview->text(), QStringLiteral("미리보기"));
    QCOMPARE(screen.bbtExcel->text(), QStringLiteral("Excel"));
    QCOMPARE(screen.bbtSearch->property("tag").toInt(), 1);
    QCOMPARE(screen.bbtPrint->property("tag").toInt(), 1048576);
    QCOMPARE(screen.bbtPreview->property("tag").toInt(), 16777216);
    QCOMPARE(screen.bbtExcel->property("tag").toInt(), 268435456);
    QCOMPARE(screen.statusPanel(0)->text(), QStringLiteral("ZZS020"));
    // Bar order and tab order: Excel, print, preview, close.
    QVERIFY(screen.bbtExcel->x() < screen.bbtPrint->x());
    QVERIFY(screen.bbtPrint->x() < screen.bbtPreview->x());
    QVERIFY(screen.bbtPreview->x() < screen.bbtClose->x());
    QCOMPARE(nextTabStop(screen.bbtExcel), screen.bbtPrint);
    QCOMPARE(nextTabStop(screen.bbtPrint), screen.bbtPreview);
    QCOMPARE(nextTabStop(screen.bbtPreview), screen.bbtClose);
    QVERIFY(screen.sbtFirst->x() < screen.sbtLast->x());
    QVERIFY(screen.sbtLast->x() < screen.bbtExcel->x());
    QCOMPARE(screen.sbtLast->toolTip(), QStringLiteral("마지막 자료"));
    QVERIFY(screen.splSplitter->isHidden());
    QVERIFY(screen.panInfo->isHidden());
    QCOMPARE(screen.findChild<QWidget *>(QStringLiteral("rgrGrid")), screen.rgrGrid);
    QVERIFY(screen.rgrGrid->horizontalHeader()->sectionsMovable());
}

void tst_InquiryScreens::hotKeys()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    addProjects(tdb.db(), 3);
    RecordingMessageService messages;
    ProjectInquiry screen(tdb.db());
    activate(&screen);
    screen.edtFilter->setFocus();

    press(Qt::Key_F3);
    QCOMPARE(screen.searches, 1);
    QCOMPARE(screen.cdsQuery->recordCount(), 3);
    QCOMPARE(QApplication::focusWidget(), screen.edtFilter);
    // Enter in the search field searches; no modes: the search area stays usable.
    QTest::keyClicks(screen.edtFilter, QStringLiteral("P00001"));
    press(Qt::Key_Return);
    QCOMPARE(screen.searches, 2);
    QCOMPARE(screen.cdsQuery->recordCount(), 1);
    QVERIFY(screen.bbtSearch->isEnabled());
    press(Qt::Key_F11);
    press(Qt::SHIFT | Qt::Key_F11);
    QCOMPARE(screen.prints, 1);
    QCOMPARE(screen.previews, 1);

    // Hidden buttons: their hot keys do nothing.
    screen.bbtExcel->hide();
    screen.bbtPrint->hide();
    screen.ShowStatusMessage(QStringLiteral("남은 메시지"));
    press(Qt::CTRL | Qt::Key_F11);
    press(Qt::Key_F11);
    QCOMPARE(screen.prints, 1);
    QVERIFY(messages.entries.isEmpty());
    QVERIFY(screen.opened.isEmpty());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void tst_InquiryScreens::searchAndNavigation()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    addProjects(tdb.db(), 250);
    ProjectInquiry screen(tdb.db());

    // Navigation on a closed result does nothing.
    screen.sbtLast->click();
    QVERIFY(!screen.cdsQuery->isActive());

    screen.edtFilter->setText(QStringLiteral("X"));
    screen.bbtSearch->click();
    QCOMPARE(screen.statusMessage(), QStringLiteral("조회할 내용이 없습니다."));

    screen.edtFilter->clear();
    screen.bbtSearch->click();
    QCOMPARE(screen.statusMessage(), QString());
    QCOMPARE(screen.cdsQuery->recordCount(), 100);
    screen.sbtLast->click();
    QCOMPARE(screen.cdsQuery->recordCount(), 250);
    QCOMPARE(screen.cdsQuery->currentRow(), 249);
    QCOMPARE(screen.cdsQuery->text(QStringLiteral("PROJECT_ID")), QStringLiteral("P00249"));
    QCOMPARE(screen.rgrGrid->currentIndex().row(), 249);
    screen.sbtPrior->click();
    QCOMPARE(screen.cdsQuery->currentRow(), 248);
    screen.sbtFirst->click();
    QCOMPARE(screen.cdsQuery->currentRow(), 0);
    screen.sbtNext->click();
    QCOMPARE(screen.cdsQuery->currentRow(), 1);
}

void tst_InquiryScreens::columnChooser()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    addProjects(tdb.db(), 2);
    ProjectInquiry screen(tdb.db());
    activate(&screen);

    screen.bbtSearch->click();
    QCOMPARE(menuItems(screen.popGrid),
             QStringList({QStringLiteral("+프로젝트 ID"),
                          QStringLiteral("+프로젝트 명"),
                          QStringLiteral("-역할"),
                          QStringLiteral("+변경자"),
                          QStringLiteral("-변경 IP")}));
    QVERIFY(rightClickOpensMenu(screen));

    // Unchecking hides the column at once; checking shows it.
    screen.popGrid->actions().at(1)->trigger();
    QVERIFY(!screen.rgrGrid->isColumnVisible(1));
    QVERIFY(screen.rgrGrid->isColumnHidden(1));
    screen.popGrid->actions().at(2)->trigger();
    QVERIFY(screen.rgrGrid->isColumnVisible(2));

    // The next search rebuilds the menu from the columns as they are, in the order shown.
    screen.rgrGrid->horizontalHeader()->moveSection(3, 0);
    screen.bbtSearch->click();
    QCOMPARE(menuItems(screen.popGrid),
             QStringList({QStringLiteral("+변경자"),
                          QStringLiteral("+프로젝트 ID"),
                          QStringLiteral("-프로젝트 명"),
                          QStringLiteral("+역할"),
                          QStringLiteral("-변경 IP")}));
    screen.popGrid->actions().at(0)->trigger();
    QVERIFY(!screen.rgrGrid->isColumnVisible(3));
}

void tst_InquiryScreens::groupedHeadersRefuseTheMenu()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    addProjects(tdb.db(), 2);
    ProjectInquiry screen(tdb.db());
    activate(&screen);
    screen.bbtSearch->click();

    const int group = screen.rgrGrid->addColumnGroup(QStringLiteral("변경"));
    screen.rgrGrid->setColumnGroup(4, group); // a hidden column: no group row yet
    QVERIFY(!screen.rgrGrid->hasGroupedHeaders());
    QVERIFY(rightClickOpensMenu(screen));

    screen.rgrGrid->setColumnGroup(3, group);
    QVERIFY(screen.rgrGrid->hasGroupedHeaders());
    QVERIFY(!rightClickOpensMenu(screen));
    QCOMPARE(screen.statusMessage(), QString());
}

void tst_InquiryScreens::excelQuestion()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    addProjects(tdb.db(), 2);
    QTemporaryDir dir;
    RecordingMessageService messages;
    ProjectInquiry screen(tdb.db());
    activate(&screen);
    screen.bbtSearch->click();
    screen.rgrGrid->setFocus();

    // Yes opens the written file with the desktop's application.
    messages.fileNames = {dir.filePath(QStringLiteral("first"))};
    messages.answers = {true};
    press(Qt::CTRL | Qt::Key_F11);
    const QString first = dir.filePath(QStringLiteral("first.xls"));
    QVERIFY(QFileInfo::exists(first));
    QCOMPARE(messages.texts(RecordingMessageService::Question),
             QStringList{QStringLiteral("저장한 파일(first.xls)을 Excel로 불러올까요?")});
    QCOMPARE(screen.opened, QStringList{first});
    QCOMPARE(QApplication::overrideCursor(), nullptr);

    // No: written, not opened.
    messages.clear();
    messages.fileNames = {dir.filePath(QStringLiteral("second.xls"))};
    messages.answers = {false};
    screen.bbtExcel->click();
    QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("second.xls"))));
    QCOMPARE(screen.opened.size(), 1);

    // Nothing written: no question.
    messages.clear();
    screen.bbtExcel->click();
    QCOMPARE(screen.statusMessage(), QStringLiteral("저장할 파일 이름을 지정하지 않았습니다."));
    QVERIFY(messages.texts(RecordingMessageService::Question).isEmpty());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

QTEST_MAIN(tst_InquiryScreens)
#include "tst_inquiryscreens.moc"
