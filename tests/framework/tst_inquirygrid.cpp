// What the data grid grew for the inquiry screens and the lookups: the order
// shown, column groups, sort marks, footers, Enter moving like Tab.
#include "testdatabase.h"

#include "db/clientdataset.h"
#include "db/sqlstatement.h"
#include "framework/datagrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

namespace {

// Twenty rows of three columns, in a data set read at once.
void openNumbers(ClientDataSet &cds, const QSqlDatabase &db)
{
    cds.setDatabase(db);
    cds.setPacketRecords(0);
    cds.setSql(QStringLiteral("WITH RECURSIVE N(SEQ) AS (SELECT 1 UNION ALL SELECT SEQ + 1 FROM N "
                              "WHERE SEQ < 20) SELECT SEQ, SEQ * 10 AS AMOUNT, CASE WHEN SEQ > 15 "
                              "THEN NULL ELSE 'T' END AS CODE FROM N ORDER BY SEQ"));
    cds.open();
}

} // namespace

class tst_InquiryGrid : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void displayOrderAndVisibleColumns();
    void columnGroups();
    void sortMarksAndTitleClicks();
    void footers_data() { TestDatabase::addEngineRows(); }
    void footers();
    void enterMovesLikeTab_data() { TestDatabase::addEngineRows(); }
    void enterMovesLikeTab();
};

void tst_InquiryGrid::displayOrderAndVisibleColumns()
{
    DataGrid grid;
    for (const char *name : {"A", "B", "C", "D"})
        grid.addColumn(QString::fromLatin1(name), QString::fromLatin1(name));
    grid.setColumnsMovable(true);
    QVERIFY(grid.horizontalHeader()->sectionsMovable());
    grid.horizontalHeader()->moveSection(2, 0);
    grid.setColumnVisible(1, false);
    QCOMPARE(grid.displayOrder(), QList<int>({2, 0, 1, 3}));
    QCOMPARE(grid.visibleColumns(), QList<int>({2, 0, 3}));
}

void tst_InquiryGrid::columnGroups()
{
    DataGrid grid;
    grid.resize(400, 200);
    for (const char *name : {"일", "월", "화", "비고"})
        grid.addColumn(QString::fromUtf8(name), QString::fromUtf8(name), 60);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    const int plainHeight = grid.horizontalHeader()->height();
    QCOMPARE(plainHeight, grid.titleRowHeight());

    const int month = grid.addColumnGroup(QStringLiteral("1월"));
    QCOMPARE(grid.columnGroupCaption(month), QStringLiteral("1월"));
    QVERIFY(!grid.hasGroupedHeaders()); // a group nobody belongs to shows no row
    for (int column = 0; column < 3; ++column)
        grid.setColumnGroup(column, month);
    QVERIFY(grid.hasGroupedHeaders());
    QCOMPARE(grid.gridColumn(1).group, month);
    QCOMPARE(grid.horizontalHeader()->height(), grid.titleRowHeight() + grid.groupRowHeight());

    // Hiding the grouped columns takes the group row away again.
    for (int column = 0; column < 3; ++column)
        grid.setColumnVisible(column, false);
    QVERIFY(!grid.hasGroupedHeaders());
    grid.setColumnVisible(0, true);
    grid.clearColumnGroups();
    QVERIFY(!grid.hasGroupedHeaders());
    QCOMPARE(grid.horizontalHeader()->height(), plainHeight);
}

void tst_InquiryGrid::sortMarksAndTitleClicks()
{
    DataGrid grid;
    grid.resize(300, 150);
    grid.addColumn(QStringLiteral("A"), QStringLiteral("A"), 80);
    grid.addColumn(QStringLiteral("B"), QStringLiteral("B"), 80);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));

    QSignalSpy clicks(&grid, &DataGrid::titleClicked);
    QHeaderView *header = grid.horizontalHeader();
    QTest::mouseClick(header->viewport(),
                      Qt::LeftButton,
                      {},
                      QPoint(header->sectionViewportPosition(1) + 10, header->height() / 2));
    QCOMPARE(clicks.size(), 1);
    QCOMPARE(clicks.at(0).at(0).toInt(), 1);
    QCOMPARE(grid.sortMark(1), DataGrid::SortMark::None); // marks are the screen's to set

    grid.setSortMark(1, DataGrid::SortMark::Ascending);
    grid.setSortMark(0, DataGrid::SortMark::Descending);
    QCOMPARE(grid.sortMark(1), DataGrid::SortMark::Ascending);
    const QImage marked = header->grab().toImage();
    grid.clearSortMarks();
    QCOMPARE(grid.sortMark(0), DataGrid::SortMark::None);
    QCOMPARE(grid.sortMark(1), DataGrid::SortMark::None);
    QVERIFY(header->grab().toImage() != marked);
}

void tst_InquiryGrid::footers()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    ClientDataSet cds;
    DataGrid grid;
    grid.resize(300, 200);
    grid.setDataSet(&cds);
    GridColumn seq;
    seq.fieldName = QStringLiteral("SEQ");
    seq.footer = GridFooter::Count;
    GridColumn amount;
    amount.fieldName = QStringLiteral("AMOUNT");
    amount.footer = GridFooter::Sum;
    GridColumn code;
    code.fieldName = QStringLiteral("CODE");
    code.footer = GridFooter::Count;
    grid.addColumn(seq);
    grid.addColumn(amount);
    grid.addColumn(code);
    // A screen reformats a footer after each calculation.
    connect(&grid, &DataGrid::footersCalculated, &grid, [&grid] {
        grid.setFooterText(1, QLocale(QLocale::English).toString(grid.footerText(1).toLongLong()));
    });
    grid.setFooterVisible(true);
    QVERIFY(grid.isFooterVisible());
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));

    openNumbers(cds, tdb.db());
    QCOMPARE(grid.footerText(0), QStringLiteral("20"));
    QCOMPARE(grid.footerText(1), QStringLiteral("2,100"));
    QCOMPARE(grid.footerText(2), QStringLiteral("15")); // nulls are not counted

    // The footer row sits below the rows; the last row still scrolls into view.
    auto *footer = grid.findChild<QWidget *>(QStringLiteral("footerRow"));
    QVERIFY(footer && footer->isVisible());
    QCOMPARE(footer->geometry().top(), grid.viewport()->geometry().bottom() + 1);
    cds.last();
    const QRect last = grid.visualRect(grid.model()->index(19, 0));
    QVERIFY(last.isValid());
    QVERIFY(last.bottom() <= grid.viewport()->height());

    // Rows that change change the footers.
    cds.first();
    cds.deleteRecord();
    QCOMPARE(grid.footerText(0), QStringLiteral("19"));
    QCOMPARE(grid.footerText(1), QStringLiteral("2,090"));

    const int withFooter = grid.viewport()->height();
    grid.setFooterVisible(false);
    QVERIFY(!footer->isVisible());
    QVERIFY(grid.viewport()->height() > withFooter);
}

void tst_InquiryGrid::enterMovesLikeTab()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    ClientDataSet cds;
    DataGrid grid;
    grid.setDataSet(&cds);
    grid.addColumn(QStringLiteral("SEQ"), QStringLiteral("SEQ"));
    grid.addColumn(QStringLiteral("AMOUNT"), QStringLiteral("AMOUNT"));
    grid.addColumn(QStringLiteral("CODE"), QStringLiteral("CODE"));
    grid.setColumnVisible(1, false);
    grid.setEnterMovesLikeTab(true);
    openNumbers(cds, tdb.db());
    grid.show();
    QApplication::setActiveWindow(&grid);
    QVERIFY(QTest::qWaitForWindowActive(&grid));

    QCOMPARE(grid.currentIndex().column(), 0);
    QTest::keyClick(&grid, Qt::Key_Return);
    QCOMPARE(grid.currentIndex().column(), 2); // the hidden column is passed over
    QCOMPARE(cds.currentRow(), 0);
    QTest::keyClick(&grid, Qt::Key_Return);
    QCOMPARE(grid.currentIndex().row(), 1); // on to the next row
    QCOMPARE(cds.currentRow(), 1);
}

QTEST_MAIN(tst_InquiryGrid)
#include "tst_inquirygrid.moc"
