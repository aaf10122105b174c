// The generic grid editor driven through its widgets and hot keys, saving
// through a stored procedure on both engines; its test screen ZIP010 from the catalogue.
#include "recordingmessageservice.h"
#include "screentest.h"
#include "testdatabase.h"
#include "zzt080procedure.h"
#include "zzt080screen.h"

#include "common/loginvalues.h"
#include "common/silentabort.h"
#include "db/sqlstatement.h"
#include "framework/ZIP010.h"
#include "framework/memorygrid.h"
#include "framework/messagetexts.h"
#include "shell/Z0Main.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

using Col = TfrmZZT080::Column;

/// Also remembers what the status line showed when an error box came up.
class StatusAtBoxes : public RecordingMessageService
{
public:
    std::function<QString()> status;
    QStringList statusAtErrors;

    void error(const QString &text) override
    {
        statusAtErrors.append(status ? status() : QString());
        RecordingMessageService::error(text);
    }
};

// A key pressed and released while Ctrl stays held (QTest would release Ctrl
// too). Each event goes where the focus is at that moment.
void withCtrlHeld(Qt::Key key)
{
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QWidget *target = QApplication::focusWidget();
        QVERIFY(target);
        QKeyEvent event(type, key, Qt::ControlModifier);
        QApplication::sendEvent(target, &event);
    }
}

// Replaces the text of the current cell: its editor is open and has the focus.
void typeCell(MemoryGrid *grid, const QString &text)
{
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY2(editor && grid->isAncestorOf(editor), "no cell editor has the focus");
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClicks(editor, text);
}

void goTo(MemoryGrid *grid, int row, int column)
{
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(row, column));
}

QStringList rowsOf(const QSqlDatabase &db, const QString &sql)
{
    SqlStatement query(db, sql);
    query.open();
    QStringList rows;
    while (query.next()) {
        QStringList cells;
        for (int i = 0; i < query.columnCount(); ++i)
            cells << query.value(i).toString();
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

QStringList callLog(const QSqlDatabase &db)
{
    return rowsOf(db,
                  QStringLiteral("SELECT STATUS, CODE, NAME, QTY, EMP_NO, IP FROM ZT080LG "
                                 "ORDER BY SEQ"));
}

QStringList tableRows(const QSqlDatabase &db)
{
    return rowsOf(db, QStringLiteral("SELECT CODE, NAME, QTY FROM ZT080MS ORDER BY CODE"));
}

// "state:RowID:code|name|qty" per entry of the change list.
QStringList changes(const TfrmZZT080 &screen)
{
    const MemoryGridModel *list = screen.changeList();
    QStringList entries;
    for (int i = 0; i < list->rowCount(); ++i)
        entries << QStringLiteral("%1:%2:%3|%4|%5")
                           .arg(list->rowState(i))
                           .arg(list->cell(i, screen.rowIdColumn()),
                                list->cell(i, Col::Code),
                                list->cell(i, Col::Name),
                                list->cell(i, Col::Qty));
    return entries;
}

QStringList gridColumn(const TfrmZZT080 &screen, int column)
{
    QStringList values;
    for (int row = 0; row < screen.rows()->rowCount(); ++row)
        values << screen.rows()->cell(row, column);
    return values;
}

void clickTitle(MemoryGrid *grid, int column)
{
    QHeaderView *header = grid->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

} // namespace

class tst_GridEditor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        login().empNo = QStringLiteral("E123");
        login().empName = QStringLiteral("홍길동");
        login().setLocalIP(QStringLiteral("192.168.0.15"));
    }

    void zip010ReportsMissingStatement_data() { TestDatabase::addEngineRows(); }
    void zip010ReportsMissingStatement();
    void searchNumbersRowsAndTotals_data() { TestDatabase::addEngineRows(); }
    void searchNumbersRowsAndTotals();
    void changesGoThroughProcedure_data() { TestDatabase::addEngineRows(); }
    void changesGoThroughProcedure();
    void failingChangeRollsBackAndIsKept_data() { TestDatabase::addEngineRows(); }
    void failingChangeRollsBackAndIsKept();
    void titleClickSortsAndMarks_data() { TestDatabase::addEngineRows(); }
    void titleClickSortsAndMarks();
    void copyDownWithCtrl_data() { TestDatabase::addEngineRows(); }
    void copyDownWithCtrl();
    void helpersForDerivedScreens();

private:
    static std::unique_ptr<TfrmZZT080> openScreen(const TestDatabase &tdb);
};

std::unique_ptr<TfrmZZT080> tst_GridEditor::openScreen(const TestDatabase &tdb)
{
    auto screen = std::make_unique<TfrmZZT080>();
    screen->setDatabase(tdb.db());
    screen->ensureCreated();
    screen->show();
    QApplication::setActiveWindow(screen.get());
    if (!QTest::qWaitForWindowActive(screen.get()))
        return nullptr;
    screen->bbtSearch->setFocus();
    return screen;
}

// The screen dies before the database it uses.
#define OPEN_SCREEN(var, tdb)                                                                      \
    const std::unique_ptr<TfrmZZT080> var##Owner = openScreen(tdb);                                \
    QVERIFY(var##Owner);                                                                           \
    TfrmZZT080 *var = var##Owner.get();

void tst_GridEditor::zip010ReportsMissingStatement()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    login().empNo = QStringLiteral("A0001");
    StatusAtBoxes boxes;
    QVERIFY(TfrmZ0Main::hasScreen(QStringLiteral("ZIP010")));

    // Opened from its menu item, as the user opens it.
    TfrmZ0Main window(tdb.db(), QStringLiteral("KESA_Z"));
    window.resize(1100, 800);
    activate(&window);
    QAction *item = window.findChild<QAction *>(QStringLiteral("mnuZIP010"));
    QVERIFY(item);
    item->trigger();
    auto *screen = window.findChild<TfrmZIP010 *>(QStringLiteral("frmZIP010"));
    QVERIFY(screen);
    QCOMPARE(screen->windowTitle(), QStringLiteral("frmZIP010"));
    QCOMPARE(screen->programId(), QStringLiteral("ZIP010"));
    QCOMPARE(screen->bbtSearch->text(), QStringLiteral("Search(F3)"));
    QCOMPARE(screen->bbtAdd->text(), QStringLiteral("New(F4)"));
    QCOMPARE(screen->bbtAdd->property("tag").toInt(), 16);
    QCOMPARE(screen->bbtDelete->text(), QStringLiteral("Delete(F9)"));
    QCOMPARE(screen->bbtDelete->property("tag").toInt(), 256);
    QCOMPARE(screen->bbtClose->text(), QStringLiteral("Close(F12)"));
    QVERIFY(!screen->panMaster->isVisible());
    boxes.status = [screen] { return screen->statusMessage(); };

    screen->bbtSearch->setFocus();
    press(Qt::Key_F3);
    QCOMPARE(boxes.texts(RecordingMessageService::Error),
             QStringList{QStringLiteral("qryQuery의 쿼리문이 없습니다.")});
    // The box first, on a cleared status line; the notice after it.
    QCOMPARE(boxes.statusAtErrors, QStringList{QString()});
    QCOMPARE(screen->statusMessage(), MessageText::nothingToShow());
    QCOMPARE(boxes.entries.size(), 1);
    QCOMPARE(screen->rows()->rowCount(), 0);
}

void tst_GridEditor::searchNumbersRowsAndTotals()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    Zzt080::install(tdb.db());
    Zzt080::addRow(tdb.db(),
                   QStringLiteral("A"),
                   QStringLiteral("Alpha"),
                   1000,
                   QStringLiteral("n1"));
    Zzt080::addRow(tdb.db(), QStringLiteral("B"), QStringLiteral("베타"), 2345);
    Zzt080::addRow(tdb.db(), QStringLiteral("C"), QStringLiteral("Gamma"), 7);
    RecordingMessageService boxes;
    OPEN_SCREEN(screen, tdb);

    // F2 in search mode does nothing.
    press(Qt::Key_F2);
    QVERIFY(boxes.entries.isEmpty());

    press(Qt::Key_F3);
    QVERIFY(!screen->isSearchMode());
    QCOMPARE(gridColumn(*screen, Col::Code), (QStringList{"A", "B", "C"}));
    QCOMPARE(gridColumn(*screen, Col::Name), (QStringList{"Alpha", "베타", "Gamma"}));
    QCOMPARE(gridColumn(*screen, Col::Note), (QStringList{"n1", "", ""}));
    // The hidden RowID column follows the designed ones; loaded rows count as changed.
    QCOMPARE(screen->rowIdColumn(), 4);
    QVERIFY(!screen->rgrGrid->isColumnVisible(4));
    QCOMPARE(screen->rgrGrid->gridColumn(4).title, QStringLiteral("RowID"));
    QCOMPARE(gridColumn(*screen, 4), (QStringList{"1", "2", "3"}));
    for (int row = 0; row < 3; ++row)
        QCOMPARE(screen->rows()->rowState(row), int(MemoryGridModel::Changed));
    QCOMPARE(screen->fieldNames(), (QStringList{"CODE", "NAME", "NOTE", "QTY"}));
    QStringList titles;
    for (const MemoryGridModel::Column &column : screen->changeList()->columns())
        titles << column.title;
    QCOMPARE(titles, (QStringList{"ACODE", "ANAME", "ANOTE", "AQTY", ""}));
    QCOMPARE(screen->changeList()->column(Col::Code).dataWidth, 6);
    QVERIFY(!screen->shadowGrid()->isEnabled());
    QVERIFY(!screen->shadowGrid()->isVisible());
    QCOMPARE(screen->rgrGrid->footerText(Col::Qty), QStringLiteral("3,352"));
    QVERIFY(screen->statusMessage().isEmpty());
    QVERIFY(!screen->isChanged());

    // F3 again does nothing until cancel: the new row is not read.
    Zzt080::addRow(tdb.db(), QStringLiteral("D"), QStringLiteral("Delta"), 1);
    press(Qt::Key_F3);
    QCOMPARE(screen->rows()->rowCount(), 3);

    // Cancel without changes asks nothing; the numbering restarts.
    press(Qt::Key_F8);
    QVERIFY(boxes.entries.isEmpty());
    QVERIFY(screen->isSearchMode());
    QCOMPARE(screen->rows()->rowCount(), 0);
    QCOMPARE(screen->rowCounter(), 0);
    QCOMPARE(screen->rgrGrid->footerText(Col::Qty), QStringLiteral("0"));
    screen->bbtSearch->setFocus();
    press(Qt::Key_F3);
    QCOMPARE(gridColumn(*screen, 4), (QStringList{"1", "2", "3", "4"}));
    QCOMPARE(screen->rgrGrid->footerText(Col::Qty), QStringLiteral("3,353"));

    // An empty result says so.
    SqlStatement(tdb.db(), QStringLiteral("DELETE FROM ZT080MS")).exec();
    press(Qt::Key_F8);
    screen->bbtSearch->setFocus();
    press(Qt::Key_F3);
    QCOMPARE(screen->rows()->rowCount(), 0);
    QCOMPARE(screen->statusMessage(), MessageText::nothingToShow());
    QVERIFY(boxes.entries.isEmpty());
}

void tst_GridEditor::changesGoThroughProcedure()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    Zzt080::install(tdb.db());
    Zzt080::addRow(tdb.db(), QStringLiteral("A"), QStringLiteral("Alpha"), 10);
    Zzt080::addRow(tdb.db(), QStringLiteral("B"), QStringLiteral("Beta"), 20);
    Zzt080::addRow(tdb.db(), QStringLiteral("C"), QStringLiteral("Gamma"), 30);
    RecordingMessageService boxes;
    OPEN_SCREEN(screen, tdb);
    MemoryGrid *grid = screen->rgrGrid;
    press(Qt::Key_F3);

    // The same loaded row edited twice: one update. Tab skips the read-only note.
    QCOMPARE(grid->currentIndex().column(), int(Col::Code));
    press(Qt::Key_Tab);
    typeCell(grid, QStringLiteral("Alpha2"));
    press(Qt::Key_Tab);
    QCOMPARE(grid->currentIndex().column(), int(Col::Qty));
    typeCell(grid, QStringLiteral("15"));
    QVERIFY(screen->isChanged());
    press(Qt::Key_Down);
    QCOMPARE(changes(*screen), QStringList{"1:1:A|Alpha2|15"});
    press(Qt::Key_Up);
    goTo(grid, 0, Col::Name);
    typeCell(grid, QStringLiteral("Alpha3"));
    press(Qt::Key_Return); // on to the quantity, like Tab
    QCOMPARE(grid->currentIndex().column(), int(Col::Qty));
    press(Qt::Key_Down);
    QCOMPARE(changes(*screen), QStringList{"1:1:A|Alpha3|15"});

    // A loaded row edited, then deleted: an update, then a delete.
    goTo(grid, 1, Col::Name);
    typeCell(grid, QStringLiteral("Beta2"));
    press(Qt::Key_Down);
    press(Qt::Key_Up);
    boxes.answers = {true};
    press(Qt::Key_F9);
    QCOMPARE(boxes.texts(RecordingMessageService::Question),
             QStringList{QStringLiteral("현재 자료를 삭제하시겠습니까?")});
    QCOMPARE(gridColumn(*screen, Col::Code), (QStringList{"A", "C"}));

    // A new row gets the next RowID when posted and is an insert.
    press(Qt::Key_F4);
    QCOMPARE(grid->currentRow(), 2);
    QCOMPARE(grid->currentIndex().column(), int(Col::Code));
    typeCell(grid, QStringLiteral("D"));
    press(Qt::Key_Tab);
    typeCell(grid, QStringLiteral("Delta"));
    press(Qt::Key_Tab);
    typeCell(grid, QStringLiteral("40"));
    press(Qt::Key_Up);
    QCOMPARE(screen->rows()->cell(2, screen->rowIdColumn()), QStringLiteral("4"));
    QCOMPARE(screen->rows()->rowState(2), int(MemoryGridModel::Inserted));

    // A new row left empty disappears when posted; Down on the last row starts one too.
    press(Qt::Key_F4);
    QCOMPARE(screen->rows()->rowCount(), 4);
    press(Qt::Key_Up);
    QCOMPARE(screen->rows()->rowCount(), 3);
    goTo(grid, 2, Col::Name);
    press(Qt::Key_Down);
    QCOMPARE(screen->rows()->rowCount(), 4);
    typeCell(grid, QStringLiteral("E"));
    press(Qt::Key_Up);
    QCOMPARE(screen->rows()->cell(3, screen->rowIdColumn()), QStringLiteral("5"));

    // A posted new row deleted again is not inserted by the save.
    press(Qt::Key_Down);
    boxes.answers = {true};
    press(Qt::Key_F9);
    QCOMPARE(changes(*screen),
             (QStringList{"1:1:A|Alpha3|15", "1:2:B|Beta2|20", "3:2:B|Beta2|20", "2:4:D|Delta|40"}));

    // No to the question: nothing is sent.
    boxes.clear();
    boxes.answers = {false};
    press(Qt::Key_F2);
    QCOMPARE(boxes.texts(RecordingMessageService::Question),
             QStringList{QStringLiteral("저장 하시겠습니까?")});
    QVERIFY(callLog(tdb.db()).isEmpty());
    QCOMPARE(changes(*screen).size(), 4);

    boxes.clear();
    press(Qt::Key_F2);
    QCOMPARE(boxes.texts(RecordingMessageService::Error), QStringList());
    const QString who = QStringLiteral("|E123|192.168.0.15");
    QCOMPARE(callLog(tdb.db()),
             (QStringList{"1|A|Alpha3|15" + who,
                          "1|B|Beta2|20" + who,
                          "3|B|Beta2|20" + who,
                          "2|D|Delta|40" + who}));
    QCOMPARE(tableRows(tdb.db()), (QStringList{"A|Alpha3|15", "C|Gamma|30", "D|Delta|40"}));
    QCOMPARE(screen->statusMessage(), QStringLiteral("자료를 저장했습니다."));
    QVERIFY(screen->changeList()->rowCount() == 0);
    QVERIFY(!screen->isChanged());

    // Nothing changed since: refused, nothing sent.
    boxes.clear();
    press(Qt::Key_F2);
    QCOMPARE(boxes.texts(RecordingMessageService::Error),
             QStringList{QStringLiteral("변경된 데이타가 존재하지 않습니다.")});
    QCOMPARE(boxes.entries.size(), 1);
    QCOMPARE(callLog(tdb.db()).size(), 4);

    // The saved new row is an existing row now: edited it is updated, deleted it is deleted.
    QCOMPARE(gridColumn(*screen, Col::Code), (QStringList{"A", "C", "D"}));
    goTo(grid, 2, Col::Name);
    typeCell(grid, QStringLiteral("Delta2"));
    press(Qt::Key_Up);
    QCOMPARE(changes(*screen), QStringList{"1:4:D|Delta2|40"});
    boxes.clear();
    press(Qt::Key_F2);
    goTo(grid, 2, Col::Name);
    boxes.answers = {true};
    press(Qt::Key_F9);
    QCOMPARE(changes(*screen), QStringList{"3:4:D|Delta2|40"});
    press(Qt::Key_F2);
    QCOMPARE(callLog(tdb.db()).mid(4), (QStringList{"1|D|Delta2|40" + who, "3|D|Delta2|40" + who}));
    QCOMPARE(tableRows(tdb.db()), (QStringList{"A|Alpha3|15", "C|Gamma|30"}));
}

void tst_GridEditor::failingChangeRollsBackAndIsKept()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    Zzt080::install(tdb.db());
    for (const char *code : {"A", "B", "C", "D"})
        Zzt080::addRow(tdb.db(), QString::fromLatin1(code), QString::fromLatin1(code), 1);
    const QStringList before = tableRows(tdb.db());
    RecordingMessageService boxes;
    OPEN_SCREEN(screen, tdb);
    MemoryGrid *grid = screen->rgrGrid;
    press(Qt::Key_F3);

    const QStringList names{"A2", "B2", "FAIL", "D2"};
    for (int row = 0; row < 4; ++row) {
        goTo(grid, row, Col::Name);
        typeCell(grid, names.at(row));
    }
    screen->bbtSave->setFocus();
    press(Qt::Key_F2);

    // Two boxes: the save's own with the server's text, then the failure once more.
    const QStringList errors = boxes.texts(RecordingMessageService::Error);
    QCOMPARE(errors.size(), 2);
    QVERIFY2(errors.at(0).startsWith(MessageText::saveFailed()), qPrintable(errors.at(0)));
    QVERIFY2(errors.at(0).contains(QStringLiteral("저장할 수 없는 이름입니다: FAIL")),
             qPrintable(errors.at(0)));
    QCOMPARE(errors.at(1), errors.at(0).mid(MessageText::saveFailed().size()));
    // Everything rolled back, the call log included.
    QCOMPARE(tableRows(tdb.db()), before);
    QVERIFY(callLog(tdb.db()).isEmpty());
    // Every change stays, the failing one marked: none was written.
    QCOMPARE(changes(*screen),
             (QStringList{"1:1:A|A2|1", "1:2:B|B2|1", "1:3:C|FAIL|1", "1:4:D|D2|1"}));
    QCOMPARE(screen->rows()->cell(2, Col::Name), QStringLiteral("FAIL"));
    QVERIFY(screen->isFailedRow(2));
    QVERIFY(!screen->isFailedRow(1));
    QVERIFY(screen->isChanged());
    QVERIFY(screen->statusMessage().isEmpty());

    // Saved again unchanged it fails again: never "saved" while a change was not sent.
    boxes.clear();
    press(Qt::Key_F2);
    QCOMPARE(boxes.texts(RecordingMessageService::Error).size(), 2);
    QVERIFY(screen->statusMessage().isEmpty());
    QCOMPARE(tableRows(tdb.db()), before);

    // Corrected, the next save sends every change.
    goTo(grid, 2, Col::Name);
    typeCell(grid, QStringLiteral("C2"));
    press(Qt::Key_Down);
    boxes.clear();
    press(Qt::Key_F2);
    QCOMPARE(boxes.texts(RecordingMessageService::Error), QStringList());
    const QString who = QStringLiteral("|E123|192.168.0.15");
    QCOMPARE(callLog(tdb.db()),
             (QStringList{"1|A|A2|1" + who, "1|B|B2|1" + who, "1|C|C2|1" + who, "1|D|D2|1" + who}));
    QCOMPARE(tableRows(tdb.db()), (QStringList{"A|A2|1", "B|B2|1", "C|C2|1", "D|D2|1"}));
    QVERIFY(!screen->isFailedRow(2));
    QCOMPARE(screen->statusMessage(), QStringLiteral("자료를 저장했습니다."));
}

void tst_GridEditor::titleClickSortsAndMarks()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    Zzt080::install(tdb.db());
    Zzt080::addRow(tdb.db(), QStringLiteral("A"), QStringLiteral("x"), 1000);
    Zzt080::addRow(tdb.db(), QStringLiteral("B"), QStringLiteral("z"), 7);
    Zzt080::addRow(tdb.db(), QStringLiteral("C"), QStringLiteral("y"), 25);
    RecordingMessageService boxes;
    OPEN_SCREEN(screen, tdb);
    MemoryGrid *grid = screen->rgrGrid;
    press(Qt::Key_F3);

    // Numbers by value, not as texts.
    clickTitle(grid, Col::Qty);
    QCOMPARE(gridColumn(*screen, Col::Qty), (QStringList{"7", "25", "1000"}));
    QCOMPARE(grid->sortMark(Col::Qty), DataGrid::SortMark::Ascending);
    clickTitle(grid, Col::Qty);
    QCOMPARE(gridColumn(*screen, Col::Qty), (QStringList{"1000", "25", "7"}));
    QCOMPARE(grid->sortMark(Col::Qty), DataGrid::SortMark::Descending);
    // Another title: its mark alone, ascending.
    clickTitle(grid, Col::Name);
    QCOMPARE(gridColumn(*screen, Col::Name), (QStringList{"x", "y", "z"}));
    QCOMPARE(grid->sortMark(Col::Name), DataGrid::SortMark::Ascending);
    QCOMPARE(grid->sortMark(Col::Qty), DataGrid::SortMark::None);
    // The RowIDs travel with their rows.
    QCOMPARE(gridColumn(*screen, screen->rowIdColumn()), (QStringList{"1", "3", "2"}));

    press(Qt::Key_F8);
    QCOMPARE(grid->sortMark(Col::Name), DataGrid::SortMark::None);
    QVERIFY(boxes.entries.isEmpty());
}

void tst_GridEditor::copyDownWithCtrl()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    Zzt080::install(tdb.db());
    Zzt080::addRow(tdb.db(), QStringLiteral("A"), QStringLiteral("Alpha"), 5, QStringLiteral("n1"));
    Zzt080::addRow(tdb.db(), QStringLiteral("B"), QStringLiteral("Beta"), 6, QStringLiteral("n2"));
    Zzt080::addRow(tdb.db(), QStringLiteral("C"), QStringLiteral("Gamma"), 7, QStringLiteral("n3"));
    Zzt080::addRow(tdb.db(), QStringLiteral("D"), QStringLiteral("Delta"), 8, QStringLiteral("n4"));
    RecordingMessageService boxes;
    OPEN_SCREEN(screen, tdb);
    MemoryGrid *grid = screen->rgrGrid;
    press(Qt::Key_F3);

    // Ctrl+Right from the name marks name to quantity (the read-only note between).
    goTo(grid, 0, Col::Name);
    QTest::keyPress(QApplication::focusWidget(), Qt::Key_Control);
    withCtrlHeld(Qt::Key_Right);
    QCOMPARE(grid->currentIndex().column(), int(Col::Qty));
    QVERIFY(screen->GridDrawCell(0, Col::Name));
    QVERIFY(screen->GridDrawCell(0, Col::Qty));
    QVERIFY(!screen->GridDrawCell(0, Col::Code));
    QVERIFY(!screen->isChanged());

    // Each Ctrl+Down copies the source row into the next row.
    withCtrlHeld(Qt::Key_Down);
    withCtrlHeld(Qt::Key_Down);
    QCOMPARE(grid->currentRow(), 2);
    QCOMPARE(gridColumn(*screen, Col::Name), (QStringList{"Alpha", "Alpha", "Alpha", "Delta"}));
    QCOMPARE(gridColumn(*screen, Col::Qty), (QStringList{"5", "5", "5", "8"}));
    QCOMPARE(gridColumn(*screen, Col::Note), (QStringList{"n1", "n2", "n3", "n4"}));
    QVERIFY(screen->GridDrawCell(2, Col::Qty));
    QVERIFY(!screen->GridDrawCell(3, Col::Qty));
    QVERIFY(screen->isChanged());
    QCOMPARE(changes(*screen), (QStringList{"1:2:B|Alpha|5", "1:3:C|Alpha|5"}));
    QCOMPARE(screen->rgrGrid->footerText(Col::Qty), QStringLiteral("23"));

    // Releasing Ctrl ends it.
    QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Control);
    QVERIFY(!screen->GridDrawCell(0, Col::Name));
    QVERIFY(!screen->GridDrawCell(2, Col::Qty));

    press(Qt::Key_F2);
    QCOMPARE(tableRows(tdb.db()), (QStringList{"A|Alpha|5", "B|Alpha|5", "C|Alpha|5", "D|Delta|8"}));
    QCOMPARE(boxes.texts(RecordingMessageService::Error), QStringList());
}

void tst_GridEditor::helpersForDerivedScreens()
{
    RecordingMessageService boxes;
    TfrmZZT080 screen;
    screen.ensureCreated();
    auto *edtCode = new QLineEdit(screen.panMaster);
    edtCode->setObjectName(QStringLiteral("edtCode"));
    edtCode->setText(QStringLiteral("X1"));
    auto *edtName = new QLineEdit(screen.panMaster);
    edtName->setObjectName(QStringLiteral("edtName"));
    auto *chkUse = new QCheckBox(screen.panMaster);
    chkUse->setChecked(true);
    auto *sbtCode = new QToolButton(screen.panMaster);
    sbtCode->setObjectName(QStringLiteral("sbtCode"));
    int helpClicks = 0;
    connect(sbtCode, &QToolButton::clicked, this, [&] { ++helpClicks; });
    screen.panMaster->setFixedHeight(30);
    screen.panMaster->show();
    screen.attachEditControls({edtCode, edtName});
    activate(&screen);
    screen.SetSearchMode(false);

    // Light yellow while focused, F1 calls the help button, Enter moves on.
    edtCode->setFocus();
    QCOMPARE(edtCode->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xCC));
    press(Qt::Key_F1);
    QCOMPARE(helpClicks, 1);
    press(Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), edtName);
    QCOMPARE(edtCode->palette().color(QPalette::Base),
             QApplication::palette().color(QPalette::Base));

    // Disabled and emptied.
    screen.EnablePanel(screen.panMaster, false, true, true);
    QVERIFY(!edtCode->isEnabled());
    QVERIFY(!screen.panMaster->isEnabled());
    QVERIFY(edtCode->text().isEmpty());
    QVERIFY(!chkUse->isChecked());
    screen.EnablePanel(screen.panMaster, true, false, false);
    QVERIFY(edtCode->isEnabled());

    // ErrFocus stops the action with the grid focused on the row.
    screen.rows()->appendRow({"A"}, MemoryGridModel::Changed);
    screen.rows()->appendRow({"B"}, MemoryGridModel::Changed);
    QVERIFY_THROWS_EXCEPTION(SilentAbort, screen.ErrFocus(screen.rgrGrid, 1));
    QCOMPARE(screen.rgrGrid->currentRow(), 1);
    QVERIFY(screen.rgrGrid->hasFocus() || screen.rgrGrid->isAncestorOf(QApplication::focusWidget()));
    QVERIFY(boxes.entries.isEmpty());
}

QTEST_MAIN(tst_GridEditor)
#include "tst_gridEditor.moc"
