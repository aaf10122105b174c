#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

#include "common/loginvalues.h"
#include "patience.h"
#include "shell/Z0Main.h"
#include "testdatabase.h"
#include "testscreen.h"

// The Window menu as a user meets it: Alt+W, Escape with no program open, and
// the menu must still drop down once programs are open. On X11 a popup of no
// size is never mapped, and Qt then never maps that menu again.
class TestWindowMenu : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dropsDownAfterAnEmptyOpening();
};

void TestWindowMenu::dropsDownAfterAnEmptyOpening()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    login() = LoginValues();
    login().programDir = dir.path() + QLatin1Char('/');
    login().empNo = QStringLiteral("A0001");
    login().dbUser = QStringLiteral("kesa");
    TfrmZ0Main::registerScreen(QStringLiteral("ZAI010"),
                               [] { return new TestScreen(QStringLiteral("ZAI010")); });
    KESA_TEST_DATABASE(tdb, QStringLiteral("sqlite"), TestDatabase::Demo);
    TfrmZ0Main window(tdb.db(), QStringLiteral("KESA_Z"));
    window.resize(1100, 800);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QMenu *menu = window.mmuMenuWindow;
    window.mmuMenu->setActiveAction(menu->menuAction());
    QTRY_VERIFY_WITH_TIMEOUT(menu->isVisible(), PatienceMs);
    QVERIFY2(!menu->geometry().isEmpty(), "the empty Window menu pops up with no size");
    QTest::keyClick(menu, Qt::Key_Escape);
    QTRY_VERIFY_WITH_TIMEOUT(!menu->isVisible(), PatienceMs);

    QVERIFY(window.OpenProgram(QStringLiteral("사용자 등록"), QStringLiteral("ZAI010")));
    window.mmuMenu->setActiveAction(menu->menuAction());
    QTRY_VERIFY_WITH_TIMEOUT(menu->isVisible(), PatienceMs);
    QVERIFY(menu->actionGeometry(window.windowEntries().value(0)).isValid());
    QTest::keyClick(menu, Qt::Key_Escape);
    TfrmZ0Main::unregisterScreen(QStringLiteral("ZAI010"));
}

QTEST_MAIN(TestWindowMenu)
#include "tst_windowmenu.moc"
