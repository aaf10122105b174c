#include <QAbstractScrollArea>
#include <QAction>
#include <QHeaderView>
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
// control lies over a sibling or past its parent's edge, and every grid
// column shows its whole header text.
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
        for (int section = 0; section < header->count(); ++section) {
            if (header->isSectionHidden(section) || header->sectionSize(section) == 0)
                continue;
            const QString title = grid->model()->headerData(section, Qt::Horizontal).toString();
            const int needed = header->fontMetrics().horizontalAdvance(title) + 4;
            if (needed > header->sectionSize(section))
                faults << QStringLiteral("%1 column \"%2\" %3 < %4")
                                  .arg(grid->objectName(), title)
                                  .arg(header->sectionSize(section))
                                  .arg(needed);
        }
    }
}

} // namespace

void TestSmallestWindow::everyProgramFits_data()
{
    QTest::addColumn<QString>("programId");
    for (const char *id : {"ZAI010", "ZAI020", "ZAI030", "ZAI040", "ZAI050", "ZAI120", "ZAI130",
                           "ZAI140", "ZAI150", "ZAS010", "ZAS011", "ZAS120", "ZXB000", "ZXI010",
                           "ZXI011", "ZXI020", "ZXI021", "ZIP010", "ZXS090", "ZXS095"})
        QTest::newRow(id) << QString::fromLatin1(id);
}

void TestSmallestWindow::everyProgramFits()
{
    QFETCH(QString, programId);
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

    QStringList faults;
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
