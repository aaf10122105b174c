// The lookup dialogs driven through their widgets and keys, on both engines,
// and the way a caller gets a choice back.
#include "recordingmessageservice.h"
#include "screentest.h"
#include "testdatabase.h"

#include "db/clientdataset.h"
#include "db/sqlstatement.h"
#include "framework/ZZH020.h"
#include "framework/datagrid.h"
#include "framework/editcolour.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>

namespace {

void addUsers(const QSqlDatabase &db)
{
    const QStringList names = {QStringLiteral("김철수"),
                               QStringLiteral("김영희"),
                               QStringLiteral("박민수")};
    for (int i = 0; i < names.size(); ++i) {
        SqlStatement insert(db,
                            QStringLiteral("INSERT INTO ZA010MS (EMP_NO, EMP_NAME, USE_YN, "
                                           "ADMIN_YN) VALUES (:P0, :P1, 'Y', 'N')"));
        insert.bind(QStringLiteral("P0"), QStringLiteral("E%1").arg(i + 1));
        insert.bind(QStringLiteral("P1"), names.at(i));
        insert.exec();
    }
}

// A lookup built as the concrete ones are: a search field, two columns.
class UserLookup : public TfrmZZH020
{
public:
    explicit UserLookup(const QSqlDatabase &db, QWidget *owner = nullptr)
        : TfrmZZH020(owner)
    {
        setObjectName(QStringLiteral("frmZZT040"));
        setWindowTitle(QStringLiteral("사용자 Help"));
        setDatabase(db);
        edtEmpName = new QLineEdit;
        edtEmpName->setObjectName(QStringLiteral("edtEmpName"));
        addSearchWidget(edtEmpName, 1);
        setSearchFields({edtEmpName});
        attachFocusColours({edtEmpName});
        rgrGrid->addColumn(QStringLiteral("EMP_NO"), QStringLiteral("사용자 번호"), 84);
        rgrGrid->addColumn(QStringLiteral("EMP_NAME"), QStringLiteral("사용자 명"), 217);
    }
    void bbtSearchClick() override
    {
        TfrmZZH020::bbtSearchClick();
        SearchQuery(QStringLiteral("SELECT EMP_NO, EMP_NAME FROM ZA010MS WHERE EMP_NAME LIKE "
                                   "COALESCE(CAST(:P0 AS VARCHAR(30)), '') || '%' ORDER BY EMP_NO"),
                    {edtEmpName->text()});
    }

    QLineEdit *edtEmpName = nullptr;
};

// The routine of a lookup's unit: outputs emptied first, filled only on OK,
// the dialog freed in every case.
void ShowTestHelp(const QSqlDatabase &db, QString &name, QString &empNo)
{
    empNo.clear();
    UserLookup dialog(db);
    dialog.edtEmpName->setText(name);
    if (dialog.showModal()) {
        empNo = dialog.chosenCode();
        name = dialog.chosenName();
    }
}

} // namespace

class tst_LookupDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void frame();
    void okAndCloseOfTheFrame();
    void enterAndDoubleClickChoose_data() { TestDatabase::addEngineRows(); }
    void enterAndDoubleClickChoose();
    void nothingToChoose_data() { TestDatabase::addEngineRows(); }
    void nothingToChoose();
    void navigation_data() { TestDatabase::addEngineRows(); }
    void navigation();
    void callerPattern_data();
    void callerPattern();
    void centredOnTheMainWindow();
    void missedEventFailsInsteadOfHanging();
};

void tst_LookupDialogs::frame()
{
    TfrmZZH000 plain;
    QVERIFY(plain.isModal());
    QVERIFY(plain.bbtOK->isDefault());
    QCOMPARE(plain.bbtOK->text(), QStringLiteral("확인(F10)"));
    QCOMPARE(plain.bbtClose->text(), QStringLiteral("종료(F12)"));
    QVERIFY(!(plain.bbtOK->focusPolicy() & Qt::TabFocus));
    QCOMPARE(plain.popHotkeyOK->shortcut(), QKeySequence(Qt::Key_F10));
    QCOMPARE(plain.popHotkeyClose->shortcut(), QKeySequence(Qt::Key_F12));

    UserLookup dialog(QSqlDatabase{});
    dialog.ensureCreated();
    QVERIFY(!dialog.bbtOK->isDefault());
    QCOMPARE(dialog.bbtSearch->text(), QStringLiteral("조회(F3)"));
    QCOMPARE(dialog.bbtSearch->property("tag").toInt(), 1);
    QCOMPARE(dialog.popHotkeySearch->shortcut(), QKeySequence(Qt::Key_F3));
    QCOMPARE(dialog.statusPanel(0)->text(), QStringLiteral("ZZT040"));
    QCOMPARE(dialog.statusPanel(0)->width(), 120);
    // The client area as designed, also with a long message.
    dialog.ShowStatusMessage(QString(120, QLatin1Char('M')));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.size(), QSize(519, 294));
    QVERIFY(dialog.statusPanel(1)->width() <= 650);
    QVERIFY(dialog.statusPanel(1)->width() > 300);
    // Both panels with the frame the bar draws around them inside the bar,
    // the bar inside the dialog, whether a message is long or short.
    for (const QString &message : {QString(), QStringLiteral("M")}) {
        dialog.ShowStatusMessage(message);
        QCoreApplication::processEvents();
        QVERIFY(dialog.rect().contains(dialog.stbMessage->geometry()));
        for (int panel : {0, 1}) {
            const QRect frame = dialog.statusPanel(panel)->geometry().adjusted(-2, -1, 2, 1);
            QVERIFY2(dialog.stbMessage->rect().contains(frame),
                     qPrintable(QStringLiteral("panel %1 at %2+%3 in %4")
                                        .arg(panel)
                                        .arg(frame.left())
                                        .arg(frame.width())
                                        .arg(dialog.stbMessage->width())));
        }
    }
    QCOMPARE(dialog.sbtFirst->toolTip(), QStringLiteral("처음 자료"));
    QCOMPARE(dialog.sbtNext->toolTip(), QStringLiteral("다음 자료"));
}

void tst_LookupDialogs::okAndCloseOfTheFrame()
{
    // OK and close end the dialog only while their buttons can be used.
    TfrmZZH000 dialog;
    activate(&dialog);
    dialog.bbtOK->setEnabled(false);
    press(&dialog, Qt::Key_F10);
    press(&dialog, Qt::Key_Return);
    QVERIFY(dialog.isVisible());
    dialog.bbtOK->setEnabled(true);
    press(&dialog, Qt::Key_Return); // the default button
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));

    activate(&dialog);
    dialog.bbtClose->hide();
    press(&dialog, Qt::Key_Escape);
    press(&dialog, Qt::Key_F12);
    QVERIFY(dialog.isVisible());
    dialog.bbtClose->show();
    press(&dialog, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

void tst_LookupDialogs::enterAndDoubleClickChoose()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    addUsers(tdb.db());

    UserLookup byEnter(tdb.db());
    activate(&byEnter);
    byEnter.edtEmpName->setFocus();
    QCOMPARE(EditColour::colourOf(byEnter.edtEmpName), EditColour::focus());
    QTest::keyClicks(byEnter.edtEmpName, QStringLiteral("E")); // no name starts so
    press(byEnter.edtEmpName, Qt::Key_Return);
    QCOMPARE(byEnter.statusMessage(), QStringLiteral("조회할 내용이 없습니다."));
    byEnter.edtEmpName->setText(QStringLiteral("김"));
    press(byEnter.edtEmpName, Qt::Key_Return);
    QVERIFY(byEnter.isVisible()); // Enter in the search field searches only
    QCOMPARE(byEnter.statusMessage(), QString());
    QCOMPARE(byEnter.cdsQuery->recordCount(), 2);
    QCOMPARE(QApplication::focusWidget(), byEnter.rgrGrid);
    press(byEnter.rgrGrid, Qt::Key_Down);
    press(byEnter.rgrGrid, Qt::Key_Return);
    QVERIFY(!byEnter.isVisible());
    QCOMPARE(byEnter.result(), int(QDialog::Accepted));
    QCOMPARE(byEnter.chosenCode(), QStringLiteral("E2"));
    QCOMPARE(byEnter.chosenName(), QStringLiteral("김영희"));

    UserLookup byDoubleClick(tdb.db());
    activate(&byDoubleClick);
    press(byDoubleClick.edtEmpName, Qt::Key_F3);
    QCOMPARE(byDoubleClick.cdsQuery->recordCount(), 3);
    const QRect third = byDoubleClick.rgrGrid->visualRect(
            byDoubleClick.rgrGrid->model()->index(2, 1));
    // What the system sends for a double click: a click, then the double click.
    QTest::mouseClick(byDoubleClick.rgrGrid->viewport(), Qt::LeftButton, {}, third.center());
    QTest::mouseDClick(byDoubleClick.rgrGrid->viewport(), Qt::LeftButton, {}, third.center());
    QVERIFY(!byDoubleClick.isVisible());
    QCOMPARE(byDoubleClick.result(), int(QDialog::Accepted));
    QCOMPARE(byDoubleClick.chosenCode(), QStringLiteral("E3"));
    QCOMPARE(byDoubleClick.chosenName(), QStringLiteral("박민수"));
}

void tst_LookupDialogs::nothingToChoose()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    addUsers(tdb.db());
    UserLookup dialog(tdb.db());
    activate(&dialog);

    // Before any search: OK, Enter and double click do nothing.
    press(dialog.rgrGrid, Qt::Key_Return);
    press(&dialog, Qt::Key_F10);
    dialog.bbtOK->click();
    QVERIFY(dialog.isVisible());

    // A search that finds nothing: the focus stays, the message shows.
    dialog.edtEmpName->setText(QStringLiteral("없는"));
    dialog.edtEmpName->setFocus();
    press(dialog.edtEmpName, Qt::Key_F3);
    QCOMPARE(dialog.statusMessage(), QStringLiteral("조회할 내용이 없습니다."));
    QCOMPARE(QApplication::focusWidget(), dialog.edtEmpName);
    press(dialog.rgrGrid, Qt::Key_Return);
    QTest::mouseClick(dialog.rgrGrid->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseDClick(dialog.rgrGrid->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(dialog.statusMessage(), QStringLiteral("조회할 내용이 없습니다."));
    press(&dialog, Qt::Key_F10); // clears the message, then stops
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.statusMessage(), QString());
    QCOMPARE(dialog.chosenCode(), QString());
}

void tst_LookupDialogs::navigation()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    addUsers(tdb.db());
    UserLookup dialog(tdb.db());
    dialog.sbtLast->click(); // closed: nothing
    dialog.bbtSearch->click();
    dialog.sbtLast->click();
    QCOMPARE(dialog.cdsQuery->currentRow(), 2);
    dialog.sbtPrior->click();
    QCOMPARE(dialog.cdsQuery->currentRow(), 1);
    dialog.sbtFirst->click();
    dialog.sbtNext->click();
    QCOMPARE(dialog.cdsQuery->currentRow(), 1);
    dialog.bbtOK->click();
    QCOMPARE(dialog.chosenCode(), QStringLiteral("E2"));
}

void tst_LookupDialogs::callerPattern_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("empNo");
    for (auto *row : TestDatabase::newRows(QStringLiteral("OK")))
        *row << QStringLiteral("F10") << QStringLiteral("박민수") << QStringLiteral("E3");
    for (auto *row : TestDatabase::newRows(QStringLiteral("Escape")))
        *row << QStringLiteral("Escape") << QStringLiteral("박") << QString();
    for (auto *row : TestDatabase::newRows(QStringLiteral("close button")))
        *row << QStringLiteral("bbtClose") << QStringLiteral("박") << QString();
}

void tst_LookupDialogs::callerPattern()
{
    QFETCH(QString, engine);
    QFETCH(QString, how);
    QFETCH(QString, name);
    QFETCH(QString, empNo);
    KESA_TEST_DATABASE(tdb, engine);
    addUsers(tdb.db());

    QPointer<UserLookup> shown;
    QString preset;
    // Keys reach the dialog once it is the active window; a dialog that stays
    // open fails the test rather than hang it.
    ModalDriver driver([&](QWidget *modal) {
        auto *dialog = dynamic_cast<UserLookup *>(modal);
        if (!dialog || !QTest::qWaitForWindowActive(dialog))
            return;
        shown = dialog;
        preset = dialog->edtEmpName->text();
        dialog->bbtSearch->click();
        if (how == QLatin1String("F10")) {
            // Window shortcuts reach only the active window.
            QApplication::setActiveWindow(dialog);
            QTest::keyClick(dialog, Qt::Key_F10);
        } else if (how == QLatin1String("Escape"))
            QTest::keyClick(dialog, Qt::Key_Escape);
        else
            dialog->bbtClose->click();
    });
    QString outName = QStringLiteral("박");
    QString outEmpNo = QStringLiteral("old");
    ShowTestHelp(tdb.db(), outName, outEmpNo);
    QVERIFY(driver.acted());
    QVERIFY(!driver.timedOut());
    QCOMPARE(preset, QStringLiteral("박"));
    QCOMPARE(outName, name);
    QCOMPARE(outEmpNo, empNo);
    QVERIFY(shown.isNull()); // freed with the call
}

// A dialog the test fails to close is closed at the time limit and reported.
void tst_LookupDialogs::missedEventFailsInsteadOfHanging()
{
    TfrmZZH000 dialog;
    ModalDriver driver([](QWidget *) {}, 300);
    QVERIFY(!dialog.showModal());
    QVERIFY(driver.acted());
    QVERIFY(driver.timedOut());
}

void tst_LookupDialogs::centredOnTheMainWindow()
{
    QWidget mainWindow;
    mainWindow.setObjectName(QStringLiteral("frmZ0Main"));
    mainWindow.setGeometry(40, 60, 900, 700);
    mainWindow.show();
    QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));

    TfrmZZH000 dialog; // no owner: the application's main window
    QCOMPARE(dialog.parentWidget(), &mainWindow);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.frameGeometry().center(), mainWindow.frameGeometry().center());

    QWidget other;
    other.setGeometry(500, 400, 300, 300);
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    TfrmZZH000 owned(&other);
    owned.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owned));
    QCOMPARE(owned.frameGeometry().center(), other.frameGeometry().center());
}

QTEST_MAIN(tst_LookupDialogs)
#include "tst_lookupdialogs.moc"
