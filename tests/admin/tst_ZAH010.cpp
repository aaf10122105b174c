// The user lookup and the employee picker of the user screens, on both engines.
#include "recordingmessageservice.h"
#include "screentest.h"
#include "testdatabase.h"

#include "admin/ZAH010.h"
#include "admin/ZAI010.h"
#include "admin/employeepicker.h"
#include "db/clientdataset.h"
#include "db/sqlstatement.h"
#include "framework/datagrid.h"
#include "framework/messagetexts.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

QStringList gridColumn(const ClientDataSet *data, const QString &field)
{
    QStringList values;
    for (int row = 0; row < data->recordCount(); ++row)
        values << ClientDataSet::displayText(data->value(row, field));
    return values;
}

// Acts on the lookup dialog once it runs modally.
void whenDialogShows(std::function<void(TfrmZAH010 *)> act)
{
    QTimer::singleShot(0, [act] {
        auto *dialog = qobject_cast<TfrmZAH010 *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        act(dialog);
        if (dialog->isVisible()) // the action did not end it: fail, never hang
            dialog->done(-1);
    });
}

} // namespace

class tst_ZAH010 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { loginAs(QStringLiteral("A0001"), QStringLiteral("김관리")); }
    void dialogSearchAndChoice_data() { TestDatabase::addEngineRows(); }
    void dialogSearchAndChoice();
    void showUserHelp_data() { TestDatabase::addEngineRows(); }
    void showUserHelp();
    void pickerLookup_data() { TestDatabase::addEngineRows(); }
    void pickerLookup();
    void pickerName_data() { TestDatabase::addEngineRows(); }
    void pickerName();
};

void tst_ZAH010::dialogSearchAndChoice()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    SqlStatement(tdb.db(), QStringLiteral("UPDATE ZA010MS SET USE_YN = 'N' WHERE EMP_NO = 'E1002'"))
            .exec();
    RecordingMessageService boxes;
    TfrmZAH010 dialog;
    dialog.setDatabase(tdb.db());
    dialog.ensureCreated();
    activate(&dialog);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("사용자 Help"));
    QCOMPARE(dialog.statusPanel(0)->text(), QStringLiteral("ZAH010"));
    QCOMPARE(QApplication::focusWidget(), dialog.edtEmpName);

    // OK before any search does nothing.
    press(Qt::Key_F10);
    QVERIFY(dialog.isVisible());

    // Empty text: every user, "사용중지" for the ones not in use.
    press(Qt::Key_Return);
    QCOMPARE(gridColumn(dialog.cdsQuery, QStringLiteral("EMP_NO")),
             (QStringList{QStringLiteral("A0001"),
                          QStringLiteral("E1001"),
                          QStringLiteral("E1002"),
                          QStringLiteral("E1003")}));
    QCOMPARE(gridColumn(dialog.cdsQuery, QStringLiteral("USE_YN")),
             (QStringList{QString(), QString(), QStringLiteral("사용중지"), QString()}));
    QCOMPARE(QApplication::focusWidget(), dialog.rgrGrid);

    // Nothing found: the message, the focus stays in the search field.
    type(dialog.edtEmpName, QStringLiteral("없는"));
    press(Qt::Key_Return);
    QCOMPARE(dialog.statusMessage(), MessageText::nothingToShow());
    QCOMPARE(QApplication::focusWidget(), dialog.edtEmpName);
    QTest::keyClick(dialog.rgrGrid, Qt::Key_Return); // Enter on an empty grid
    press(Qt::Key_F10);
    QVERIFY(dialog.isVisible());
    QVERIFY(dialog.chosenCode().isEmpty());

    // A prefix of the name; Enter on the row chooses it.
    dialog.edtEmpName->clear();
    type(dialog.edtEmpName, QStringLiteral("이"));
    press(Qt::Key_F3);
    QVERIFY(dialog.statusMessage().isEmpty());
    QCOMPARE(gridColumn(dialog.cdsQuery, QStringLiteral("EMP_NAME")),
             QStringList{QStringLiteral("이영희")});
    press(Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.chosenCode(), QStringLiteral("E1001"));
    QCOMPARE(dialog.chosenName(), QStringLiteral("이영희"));
    QVERIFY(boxes.entries.isEmpty());
}

void tst_ZAH010::showUserHelp()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);

    QString name = QStringLiteral("그대로");
    QString empNo = QStringLiteral("X");
    whenDialogShows([](TfrmZAH010 *dialog) {
        QTest::keyClick(dialog->edtEmpName, Qt::Key_Return);
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    QVERIFY(!ShowUserHelp(name, empNo));
    QVERIFY(empNo.isEmpty());
    QCOMPARE(name, QStringLiteral("그대로"));

    whenDialogShows([](TfrmZAH010 *dialog) {
        QTest::keyClick(dialog->edtEmpName, Qt::Key_Return);
        dialog->cdsQuery->last();
        QTest::mouseClick(dialog->bbtOK, Qt::LeftButton);
    });
    QVERIFY(ShowUserHelp(name, empNo));
    QCOMPARE(empNo, QStringLiteral("E1003"));
    QCOMPARE(name, QStringLiteral("최신입"));
}

// The lookup button and F1: a chosen user is searched at once; a cancelled
// lookup leaves the number field empty with the focus.
void tst_ZAH010::pickerLookup()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    RecordingMessageService boxes;
    QWidget page;
    auto *screen = new TfrmZAI010(&page);
    screen->setDatabase(tdb.db());
    screen->ensureCreated();
    activate(&page);

    whenDialogShows([](TfrmZAH010 *dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    QTest::mouseClick(screen->sbtEmpNo, Qt::LeftButton);
    QVERIFY(screen->cedEmpNo->text().isEmpty());
    QVERIFY(screen->wlbEmpName->text().isEmpty());
    QCOMPARE(page.focusWidget(), screen->cedEmpNo); // the page is active again soon after
    QVERIFY(screen->isSearchMode());
    activate(&page);

    whenDialogShows([](TfrmZAH010 *dialog) {
        type(dialog->edtEmpName, QStringLiteral("박"));
        QTest::keyClick(dialog->edtEmpName, Qt::Key_Return);
        // A double click: press and release, then the second press and its release.
        QWidget *cells = dialog->rgrGrid->viewport();
        const QPoint cell = dialog->rgrGrid->visualRect(dialog->rgrGrid->model()->index(0, 1))
                                    .center();
        QTest::mouseClick(cells, Qt::LeftButton, {}, cell);
        QTest::mouseDClick(cells, Qt::LeftButton, {}, cell);
    });
    press(Qt::Key_F1);
    QCOMPARE(screen->cedEmpNo->text(), QStringLiteral("E1002"));
    QCOMPARE(screen->wlbEmpName->text(), QStringLiteral("박민수"));
    QVERIFY(!screen->isSearchMode());
    QCOMPARE(screen->mode(), TfrmZAI010::Mode::OtherUser);
    QCOMPARE(screen->edtEmpName->text(), QStringLiteral("박민수"));
    QVERIFY(boxes.entries.isEmpty());
}

// Typing clears the name, leaving the field fills it; the number is taken as typed.
void tst_ZAH010::pickerName()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    QWidget page;
    auto *screen = new TfrmZAI010(&page);
    screen->setDatabase(tdb.db());
    screen->ensureCreated();
    activate(&page);
    QVERIFY(screen->cedEmpNo->isEnabled() && screen->sbtEmpNo->isEnabled());

    screen->cedEmpNo->setFocus();
    QTest::keyClick(screen->cedEmpNo, Qt::Key_Backspace);
    QCOMPARE(screen->cedEmpNo->text(), QStringLiteral("A000"));
    QVERIFY(screen->wlbEmpName->text().isEmpty());
    QTest::keyClicks(screen->cedEmpNo, QStringLiteral("1"));
    QVERIFY(screen->wlbEmpName->text().isEmpty());
    screen->bbtSearch->setFocus();
    QCOMPARE(screen->wlbEmpName->text(), QStringLiteral("김관리"));

    for (const QString &unknown : {QStringLiteral("E1001 "), QStringLiteral("ZZZ")}) {
        screen->cedEmpNo->setFocus();
        screen->cedEmpNo->setText(unknown);
        screen->bbtSearch->setFocus();
        QVERIFY2(screen->wlbEmpName->text().isEmpty(), qPrintable(unknown));
    }
    QCOMPARE(GetEmpName(QStringLiteral("E1001"), tdb.db()), QStringLiteral("이영희"));
    QCOMPARE(GetEmpName(QString(), tdb.db()), QString());
}

QTEST_MAIN(tst_ZAH010)
#include "tst_ZAH010.moc"
