#include <QAbstractScrollArea>
#include <QAction>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QTabWidget>
#include <QTest>

#include "common/loginvalues.h"
#include "framework/datagrid.h"
#include "recordingmessageservice.h"
#include "screentest.h"
#include "shell/Z0Main.h"
#include "testdatabase.h"

// Every program in the smallest main window (1024 × 746 client): no named
// control lies over a sibling or past its parent's edge, every grid column
// shows its whole header text and, after a search, its whole cell texts, the
// columns fit the grid without scrolling sideways, and no band of a grid's
// panel is left empty (a grid takes the height the fields leave).
class TestSmallestWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyProgramFits_data();
    void everyProgramFits();
};

namespace {

// Named controls only: Qt's own parts of a control (viewports, scroll bars,
// headers) are its business.
QList<QWidget *> namedChildren(QWidget *parent)
{
    QList<QWidget *> children;
    for (QObject *child : parent->children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (widget && !widget->isWindow() && widget->isVisible() && !widget->objectName().isEmpty()
            && !widget->objectName().startsWith(u"qt_"))
            children << widget;
    }
    return children;
}

void collectFaults(QWidget *parent, QStringList &faults)
{
    if (qobject_cast<QAbstractScrollArea *>(parent))
        return;
    const QList<QWidget *> children = namedChildren(parent);
    for (qsizetype i = 0; i < children.size(); ++i) {
        QWidget *a = children.at(i);
        if (!parent->rect().contains(a->geometry()))
            faults << QStringLiteral("%1 cut by %2").arg(a->objectName(), parent->objectName());
        for (qsizetype j = i + 1; j < children.size(); ++j) {
            QWidget *b = children.at(j);
            if (a->geometry().intersects(b->geometry()))
                faults << QStringLiteral("%1 over %2 (%3,%4 %5×%6 / %7,%8 %9×%10)")
                                  .arg(a->objectName(), b->objectName())
                                  .arg(a->x())
                                  .arg(a->y())
                                  .arg(a->width())
                                  .arg(a->height())
                                  .arg(b->x())
                                  .arg(b->y())
                                  .arg(b->width())
                                  .arg(b->height());
        }
        collectFaults(a, faults);
    }
    for (auto *grid : parent->findChildren<DataGrid *>(Qt::FindDirectChildrenOnly)) {
        if (!grid->isVisible())
            continue;
        const QHeaderView *header = grid->horizontalHeader();
        const QAbstractItemModel *model = grid->model();
        for (int section = 0; section < header->count(); ++section) {
            if (header->isSectionHidden(section) || header->sectionSize(section) == 0)
                continue;
            const QString title = model->headerData(section, Qt::Horizontal).toString();
            int needed = header->fontMetrics().horizontalAdvance(title) + 4;
            QString widest = title;
            for (int row = 0; row < model->rowCount(); ++row) {
                const QString text = model->index(row, section).data().toString();
                const int width = grid->fontMetrics().horizontalAdvance(text) + 8;
                if (width > needed) {
                    needed = width;
                    widest = text;
                }
            }
            if (needed > header->sectionSize(section))
                faults << QStringLiteral("%1 column \"%2\" %3 < %4 (\"%5\")")
                                  .arg(grid->objectName(), title)
                                  .arg(header->sectionSize(section))
                                  .arg(needed)
                                  .arg(widest);
        }
        if (header->length() > grid->viewport()->width())
            faults << QStringLiteral("%1 columns %2 wide in %3")
                              .arg(grid->objectName())
                              .arg(header->length())
                              .arg(grid->viewport()->width());
        // Height nothing uses: the widest band of the panel that no control covers.
        QList<QPair<int, int>> spans;
        for (QWidget *sibling : namedChildren(parent))
            spans << qMakePair(sibling->y(), sibling->y() + sibling->height());
        std::sort(spans.begin(), spans.end());
        int empty = 0;
        int reached = 0;
        for (const auto &[top, bottom] : spans) {
            empty = std::max(empty, top - reached);
            reached = std::max(reached, bottom);
        }
        empty = std::max(empty, parent->height() - reached);
        if (empty > 40)
            faults << QStringLiteral("%1 leaves %2 of %3 pixels of %4 empty")
                              .arg(grid->objectName())
                              .arg(empty)
                              .arg(parent->height())
                              .arg(parent->objectName());
    }
}

} // namespace

void TestSmallestWindow::everyProgramFits_data()
{
    QTest::addColumn<QString>("programId");
    // Screens that show rows after a search are searched (with the text typed
    // into the named field first), so that their cells are measured as well.
    QTest::addColumn<QString>("searchField");
    QTest::addColumn<QString>("searchText");
    const QString none;
    for (const char *id : {"ZAI010",
                           "ZAI120",
                           "ZAI140",
                           "ZAI150",
                           "ZAS011",
                           "ZAS120",
                           "ZXB000",
                           "ZXI020",
                           "ZXI021",
                           "ZIP010",
                           "ZXS090",
                           "ZXS095"})
        QTest::newRow(id) << QString::fromLatin1(id) << none << none;
    for (const char *id : {"ZAI020", "ZAI030", "ZAI040", "ZAI050", "ZAI130", "ZAS010"})
        QTest::newRow(id) << QString::fromLatin1(id) << none << QStringLiteral("search");
    QTest::newRow("ZXI011") << QStringLiteral("ZXI011") << QStringLiteral("edtHead")
                            << QStringLiteral("J");
    QTest::newRow("ZXI010") << QStringLiteral("ZXI010") << QStringLiteral("edtHead")
                            << QStringLiteral("J0002");
}

void TestSmallestWindow::everyProgramFits()
{
    QFETCH(QString, programId);
    QFETCH(QString, searchField);
    QFETCH(QString, searchText);
    KESA_TEST_DATABASE(tdb, QStringLiteral("sqlite"), TestDatabase::Demo);
    loginAs(QStringLiteral("A0001"), QStringLiteral("김관리"));
    login().dbUser = QStringLiteral("kesa");
    RecordingMessageService boxes;
    TfrmZ0Main window(tdb.db(), QStringLiteral("KESA_Z"));
    window.resize(window.minimumSize());
    activate(&window);
    QTRY_COMPARE_WITH_TIMEOUT(window.size(), QSize(1024, 746), PatienceMs);
    QVERIFY(window.OpenProgram(programId, programId));
    QWidget *screen = window.tabScreen(0);
    QVERIFY(screen);
    QTRY_VERIFY_WITH_TIMEOUT(screen->isVisible(), PatienceMs);
    QCoreApplication::processEvents();
    if (!searchText.isEmpty()) {
        if (!searchField.isEmpty()) {
            auto *field = screen->findChild<QLineEdit *>(searchField);
            QVERIFY(field);
            field->setFocus();
            field->setText(searchText);
        }
        press(Qt::Key_F3);
        QVERIFY2(boxes.allTexts().isEmpty(), qPrintable(boxes.allTexts().join(u'|')));
        QCoreApplication::processEvents();
    }

    QStringList faults;
    // A screen that needs more than the smallest window makes it grow past the screen.
    if (window.size() != QSize(1024, 746) || window.minimumSizeHint().height() > 746)
        faults << QStringLiteral("main window %1×%2 (needs %3×%4)")
                          .arg(window.width())
                          .arg(window.height())
                          .arg(window.minimumSizeHint().width())
                          .arg(window.minimumSizeHint().height());
    // A screen that needs more than its tab page is cut at the page's edge.
    const QSize page = screen->parentWidget()->size();
    const QSize needed = screen->minimumSizeHint();
    if (needed.width() > page.width() || needed.height() > page.height())
        faults << QStringLiteral("screen needs %1×%2 of %3×%4")
                          .arg(needed.width())
                          .arg(needed.height())
                          .arg(page.width())
                          .arg(page.height());
    collectFaults(screen, faults);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
}

QTEST_MAIN(TestSmallestWindow)
#include "tst_smallestwindow.moc"
