// Pieces the calendar and code screens build on: the first-shown hook of the
// base screen, the read-only in-memory grid and the grid style hook; the
// search area every inquiry screen and lookup dialog shares.
#include "framework/ZZH010.h"
#include "framework/ZZI000.h"
#include "framework/ZZS010.h"
#include "framework/displaygrid.h"

#include <QFont>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "screentest.h"

namespace {

class ShowCountingScreen : public TfrmZZI000
{
public:
    int firstShows = 0;
    int creates = 0;

protected:
    void FormCreate() override
    {
        TfrmZZI000::FormCreate();
        ++creates;
    }
    void FormFirstShow() override
    {
        // FormCreate has run by the time the screen first appears.
        QCOMPARE(creates, 1);
        ++firstShows;
    }
};

/// A window of either kind with one search field that takes Enter and one that does not.
template<typename Window>
class SearchingWindow : public Window
{
public:
    SearchingWindow()
    {
        Window::addSearchWidget(searchField);
        Window::addSearchWidget(otherField);
        Window::setSearchFields({searchField});
    }
    void bbtSearchClick() override
    {
        Window::bbtSearchClick(); // stops here when the button is disabled
        ++searches;
    }
    QLineEdit *searchField = new QLineEdit;
    QLineEdit *otherField = new QLineEdit;
    int searches = 0;
};

template<typename Window>
void checkEnterSearches()
{
    SearchingWindow<Window> window;
    activate(&window);
    press(window.searchField, Qt::Key_Return);
    press(window.searchField, Qt::Key_Enter);
    QCOMPARE(window.searches, 2);
    // As the hot key: through the guard, which stops a disabled search quietly.
    window.bbtSearch->setEnabled(false);
    press(window.searchField, Qt::Key_Return);
    QCOMPARE(window.searches, 2);
    window.bbtSearch->setEnabled(true);
    // Enter elsewhere is not the search's (a lookup's default button takes it).
    press(window.otherField, Qt::Key_Return);
    QCOMPARE(window.searches, 2);
    // The search button stays right of the fields and after them in the tab order.
    QVERIFY(window.otherField->x() < window.bbtSearch->x());
    QCOMPARE(nextTabStop(window.otherField), window.bbtSearch);
}

} // namespace

class tst_ScreenPieces : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void firstShowRunsOnceAcrossTabSwitches();
    void displayGridIsReadOnly();
    void cellStyleHook();
    void blankRepeatsAndColumnColour();
    void enterInASearchFieldSearchesEverywhere();
};

void tst_ScreenPieces::enterInASearchFieldSearchesEverywhere()
{
    checkEnterSearches<TfrmZZS010>();
    checkEnterSearches<TfrmZZH010>();
}

void tst_ScreenPieces::firstShowRunsOnceAcrossTabSwitches()
{
    QTabWidget tabs;
    auto *first = new ShowCountingScreen;
    auto *second = new ShowCountingScreen;
    tabs.addTab(first, QStringLiteral("1"));
    QCOMPARE(first->firstShows, 0);
    tabs.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tabs));
    QCOMPARE(first->firstShows, 1);
    tabs.addTab(second, QStringLiteral("2"));
    QCOMPARE(second->firstShows, 0); // not shown yet
    for (int i = 0; i < 3; ++i) {
        tabs.setCurrentIndex(1);
        tabs.setCurrentIndex(0);
    }
    QCOMPARE(first->firstShows, 1);
    QCOMPARE(second->firstShows, 1);
}

void tst_ScreenPieces::displayGridIsReadOnly()
{
    DisplayGrid grid;
    GridColumn column;
    column.title = QStringLiteral("A");
    grid.defineColumn(column);
    grid.defineColumn(column);
    grid.setRowCount(3);
    grid.setCell(1, 1, QStringLiteral("x"));
    QCOMPARE(grid.model()->index(1, 1).data().toString(), QStringLiteral("x"));
    QVERIFY(!(grid.model()->flags(grid.model()->index(1, 1)) & Qt::ItemIsEditable));
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    grid.setCurrentIndex(grid.model()->index(1, 1));
    const QRect cell = grid.visualRect(grid.model()->index(1, 1));
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    QVERIFY(!grid.findChild<QLineEdit *>()); // no editor opened
    QCOMPARE(grid.currentRow(), 1);
    QCOMPARE(grid.currentColumn(), 1);

    grid.clearCells();
    QCOMPARE(grid.rowCount(), 3);
    QCOMPARE(grid.cell(1, 1), QString());
    grid.setRowCount(1);
    QCOMPARE(grid.rowCount(), 1);
}

void tst_ScreenPieces::cellStyleHook()
{
    DisplayGrid grid;
    GridColumn column;
    grid.defineColumn(column);
    grid.defineColumn(column);
    grid.setRowCount(2);
    // Row 1 red on yellow; cell (0, 1) bold.
    grid.setCellStyle([](int row, int col, GridCellStyle &style) {
        if (row == 1) {
            style.text = Qt::red;
            style.background = Qt::yellow;
        }
        style.bold = row == 0 && col == 1;
    });
    const QAbstractItemModel *model = grid.model();
    const auto role = [&](int row, int col, int r) { return model->index(row, col).data(r); };
    QCOMPARE(role(1, 0, Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    QCOMPARE(role(1, 1, Qt::BackgroundRole).value<QColor>(), QColor(Qt::yellow));
    QVERIFY(!role(0, 0, Qt::ForegroundRole).isValid());
    QVERIFY(!role(0, 0, Qt::BackgroundRole).isValid());
    QVERIFY(role(0, 1, Qt::FontRole).value<QFont>().bold());
    QVERIFY(!role(0, 0, Qt::FontRole).isValid());
}

void tst_ScreenPieces::blankRepeatsAndColumnColour()
{
    DisplayGrid grid;
    GridColumn menu;
    menu.blankRepeats = true;
    menu.textColour = Qt::blue;
    grid.defineColumn(menu);
    grid.defineColumn(GridColumn());
    const QStringList menus = {"M1", "M1", "M2", "M1"};
    for (const QString &m : menus)
        grid.rows()->appendRow({m, m}, MemoryGridModel::Unchanged);
    QStringList shown, plain;
    for (int row = 0; row < menus.size(); ++row) {
        shown << grid.model()->index(row, 0).data().toString();
        plain << grid.model()->index(row, 1).data().toString();
    }
    QCOMPARE(shown, QStringList({"M1", "", "M2", "M1"}));
    QCOMPARE(plain, menus);
    // The column's colour on its cells and its title; a styler may still override a cell.
    QCOMPARE(grid.model()->index(0, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::blue));
    QCOMPARE(grid.model()->headerData(0, Qt::Horizontal, Qt::ForegroundRole).value<QColor>(),
             QColor(Qt::blue));
    grid.setCellStyle([](int row, int, GridCellStyle &style) {
        if (row == 2)
            style.text = Qt::red;
    });
    QCOMPARE(grid.model()->index(2, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    QCOMPARE(grid.model()->index(1, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::blue));
}

QTEST_MAIN(tst_ScreenPieces)
#include "tst_screenpieces.moc"
