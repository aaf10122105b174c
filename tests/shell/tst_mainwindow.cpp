#include <QLineEdit>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "admin/ZAI010.h"
#include "common/loginvalues.h"
#include "db/authority.h"
#include "db/dberror.h"
#include "db/sqlstatement.h"
#include "patience.h"
#include "recordingmessageservice.h"
#include "shell/Z0Main.h"
#include "testdatabase.h"
#include "testscreen.h"

// The main window on the demo database: the menu bar from the authority
// tables, program tabs with their Window-menu entries, the close protocol with
// the screens and the launcher message.
class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void menuBarFromAuthority_data() { TestDatabase::addEngineRows(); }
    void menuBarFromAuthority();
    void removalWinsOverLevelAndAdditionGrants_data() { TestDatabase::addEngineRows(); }
    void removalWinsOverLevelAndAdditionGrants();
    void closedDatabaseKeepsTheWindowHidden();

    void openProgramMakesTabAndWindowEntry();
    void typingRightAfterOpeningGoesToTheFirstField_data();
    void typingRightAfterOpeningGoesToTheFirstField();
    void duplicatesActivateTheOpenTab();
    void sameProgramUnderTwoMenusOpensOnce();
    void limitRefusesAndReselectionStillActivates();
    void programWithoutScreenLeavesNoTab();
    void screenWhoseCreationFailsLeavesNoTab();
    void tabMarkingFollowsTheActiveTab();
    void resizeReachesEveryScreen();
    void f12ClosesTheActiveScreenAfterItsCloseHandling();
    void noTabF12AndResizeDoNothing();
    void closingTheWindowClosesEveryTabThenTellsTheLauncher();
    void launcherAbsentClosesQuietly();
    void screenKeepingItsChangesKeepsTheWindowOpen();
    void screensOpenProgramsThroughTheHost();

private:
    TfrmZ0Main *makeWindow(const QSqlDatabase &db);
    void setProgramCount(const QString &value);
    static QAction *menuItem(QWidget *window, const QString &programId, int which = 0);
    static QStringList menuTitles(TfrmZZMain *window);

    QTemporaryDir m_dir;
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<TfrmZ0Main> m_window;
};

void TestMainWindow::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // The launcher's socket and the guard live here, away from a running program.
    qputenv("TMPDIR", QFile::encodeName(m_dir.path()));
    for (const char *id : {"ZAI010", "ZAS010", "ZAS011", "ZAI020", "ZAI030"}) {
        const QString programId = QString::fromLatin1(id);
        TfrmZ0Main::registerScreen(programId, [programId] { return new TestScreen(programId); });
    }
}

void TestMainWindow::init()
{
    login() = LoginValues();
    login().programDir = m_dir.path() + QLatin1Char('/');
    login().empNo = QStringLiteral("A0001");
    login().empName = QStringLiteral("김관리");
    login().dbUser = QStringLiteral("kesa");
    QFile::remove(m_dir.filePath(QStringLiteral("Main.ini")));
    TestScreen::destroyed = 0;
    TestScreen::closeOrder.clear();
    TestScreen::aliveAfterCloseTab = false;
}

void TestMainWindow::cleanup()
{
    m_window.reset();
    m_db.reset();
}

TfrmZ0Main *TestMainWindow::makeWindow(const QSqlDatabase &db)
{
    m_window = std::make_unique<TfrmZ0Main>(db, QStringLiteral("KESA_Z"));
    m_window->resize(1100, 800);
    m_window->show();
    m_window->activateWindow();
    if (!QTest::qWaitForWindowActive(m_window.get()))
        qWarning("main window not active");
    return m_window.get();
}

void TestMainWindow::setProgramCount(const QString &value)
{
    QFile ini(m_dir.filePath(QStringLiteral("Main.ini")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[MAIN]\r\nPROGRAM_COUNT=" + value.toLatin1() + "\r\n");
}

QAction *TestMainWindow::menuItem(QWidget *window, const QString &programId, int which)
{
    const QList<QAction *> items = window->findChildren<QAction *>(QStringLiteral("mnu")
                                                                   + programId);
    return which < items.size() ? items.at(which) : nullptr;
}

QStringList TestMainWindow::menuTitles(TfrmZZMain *window)
{
    QStringList titles;
    for (QAction *action : window->mmuMenu->actions())
        titles << action->text();
    return titles;
}

#define DEMO_WINDOW(engine)                                                                        \
    m_db = std::make_unique<TestDatabase>(engine, TestDatabase::Demo);                             \
    if (!m_db->isOpen()) {                                                                         \
        if (m_db->shouldSkip())                                                                    \
            QSKIP(qPrintable(m_db->errorText()));                                                  \
        QFAIL(qPrintable(m_db->errorText()));                                                      \
    }                                                                                              \
    TfrmZ0Main *w = makeWindow(m_db->db())

#define SQLITE_WINDOW() DEMO_WINDOW(QStringLiteral("sqlite"))

void TestMainWindow::menuBarFromAuthority()
{
    QFETCH(QString, engine);
    RecordingMessageService messages;
    DEMO_WINDOW(engine);

    QCOMPARE(w->objectName(), QStringLiteral("frmZ0Main"));
    QCOMPARE(w->windowTitle(), QStringLiteral("시스템 관리(시스템관리 데모)"));
    QCOMPARE(login().accountName, QStringLiteral("시스템관리 데모"));
    QVERIFY(w->showOnStart());
    QCOMPARE(w->programCount(), 10);

    // Exactly the menus and programs kesa-db menu lists, Window menu last.
    QStringList expectedTitles;
    QStringList expectedItems;
    for (const Authority::MenuRow &menu : Authority::menus(m_db->db(), QStringLiteral("KESA_Z"))) {
        const auto programs = Authority::menuPrograms(m_db->db(),
                                                      QStringLiteral("KESA_Z"),
                                                      menu.menuId,
                                                      QStringLiteral("A0001"));
        if (programs.isEmpty())
            continue;
        expectedTitles << menu.menuName;
        for (const Authority::ProgramRow &p : programs)
            expectedItems << menu.menuName + QLatin1Char('/') + p.programName + QLatin1Char('=')
                                     + p.programId;
    }
    QVERIFY(expectedTitles.contains(QStringLiteral("사용자 관리(&U)")));
    QCOMPARE(menuTitles(w), expectedTitles + QStringList{QStringLiteral("창(&W)")});
    QStringList items;
    for (QAction *top : w->mmuMenu->actions()) {
        if (top->menu() == w->mmuMenuWindow)
            continue;
        for (QAction *item : top->menu()->actions())
            items << top->text() + QLatin1Char('/') + item->text() + QLatin1Char('=')
                             + item->data().toString();
    }
    QCOMPARE(items, expectedItems);

    // The hidden close item heads the Window menu.
    QCOMPARE(w->mmuMenuWindow->actions().value(0), w->mmuMenuWindowClose);
    QVERIFY(!w->mmuMenuWindowClose->isVisible());
    QCOMPARE(w->mmuMenuWindowClose->text(), QStringLiteral("종료"));
    QCOMPARE(w->mmuMenuWindowClose->shortcut(), QKeySequence(Qt::Key_F12));
    QVERIFY(!w->pgcTabs->isVisible());
    QVERIFY(messages.entries.isEmpty());
}

void TestMainWindow::removalWinsOverLevelAndAdditionGrants()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    // A0001 keeps ZAS010 through the level, loses it by a removal; the tools
    // menu loses both its programs and disappears.
    for (const char *program : {"ZAS010", "ZXB000", "ZIP010"}) {
        SqlStatement insert(tdb.db(),
                            QStringLiteral("INSERT INTO ZA150MS (EMP_NO, PROJECT_ID, PROGRAM_ID, "
                                           "ADD_YN) VALUES ('A0001', 'KESA_Z', :P0, 'N')"));
        insert.bind(QStringLiteral("P0"), QString::fromLatin1(program));
        insert.exec();
    }
    // E1001: ZXS095 is in the level but removed, ZXB000 is added.
    login().empNo = QStringLiteral("E1001");
    {
        TfrmZ0Main w(tdb.db(), QStringLiteral("KESA_Z"));
        QVERIFY(menuItem(&w, QStringLiteral("ZXB000")));
        QVERIFY(menuItem(&w, QStringLiteral("ZXS090")));
        QVERIFY(!menuItem(&w, QStringLiteral("ZXS095")));
        QVERIFY(!menuItem(&w, QStringLiteral("ZAI010")));
        QVERIFY(!menuTitles(&w).contains(QStringLiteral("권한 관리(&A)")));
    }
    login().empNo = QStringLiteral("A0001");
    TfrmZ0Main w(tdb.db(), QStringLiteral("KESA_Z"));
    QVERIFY(menuItem(&w, QStringLiteral("ZAI010")));
    QVERIFY(!menuItem(&w, QStringLiteral("ZAS010")));
    QVERIFY(!menuTitles(&w).contains(QStringLiteral("도구(&T)")));
    QCOMPARE(menuTitles(&w).last(), QStringLiteral("창(&W)"));

    // An employee without level or additions keeps only the Window menu.
    login().empNo = QStringLiteral("X9999");
    TfrmZ0Main none(tdb.db(), QStringLiteral("KESA_Z"));
    QCOMPARE(menuTitles(&none), QStringList{QStringLiteral("창(&W)")});
}

void TestMainWindow::closedDatabaseKeepsTheWindowHidden()
{
    RecordingMessageService messages;
    TfrmZ0Main w(QSqlDatabase(), QStringLiteral("KESA_Z"));
    QVERIFY(!w.showOnStart());
    QCOMPARE(menuTitles(&w), QStringList{QStringLiteral("창(&W)")});
    QCOMPARE(w.windowTitle(), QStringLiteral("시스템 관리()"));
    QVERIFY(messages.entries.isEmpty());
}

void TestMainWindow::openProgramMakesTabAndWindowEntry()
{
    // The open-request list starts empty with the main window.
    login().openRequests.append({QStringLiteral("stale"), 1});
    SQLITE_WINDOW();
    QVERIFY(login().openRequests.isEmpty());
    menuItem(w, QStringLiteral("ZAI010"))->trigger();

    QCOMPARE(w->tabCount(), 1);
    QVERIFY(w->pgcTabs->isVisible());
    QCOMPARE(w->pgcTabs->tabText(0), QStringLiteral("사용자 등록"));
    QCOMPARE(w->tabProgramId(0), QStringLiteral("ZAI010"));
    auto *screen = qobject_cast<TestScreen *>(w->tabScreen(0));
    QVERIFY(screen);
    QVERIFY(screen->isVisible());
    QVERIFY(!screen->isWindow());
    QCOMPARE(screen->pos(), QPoint(0, 0));
    QCOMPARE(screen->size(), w->pgcTabs->currentWidget()->size());
    QVERIFY(screen->edtFirst->hasFocus());

    const QList<QAction *> entries = w->windowEntries();
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries[0]->text(), QStringLiteral("사용자 등록"));
    QCOMPARE(entries[0]->data().toString(), QStringLiteral("ZAI010"));

    // Captions are cut before "(&"; one without it is used whole.
    QVERIFY(w->OpenProgram(QStringLiteral("프로젝트 등록(&P)"), QStringLiteral("ZAI020")));
    QVERIFY(w->OpenProgram(QStringLiteral("레벨(1) 등록"), QStringLiteral("ZAI030")));
    QCOMPARE(w->pgcTabs->tabText(1), QStringLiteral("프로젝트 등록"));
    QCOMPARE(w->pgcTabs->tabText(2), QStringLiteral("레벨(1) 등록"));
    QCOMPARE(w->windowEntries().size(), 3);
    QCOMPARE(w->pgcTabs->currentIndex(), 2);
}

void TestMainWindow::typingRightAfterOpeningGoesToTheFirstField_data()
{
    QTest::addColumn<QString>("programId");
    QTest::addColumn<QString>("field");
    QTest::newRow("user registration") << QStringLiteral("ZAI010") << QStringLiteral("cedEmpNo");
    QTest::newRow("password tool") << QStringLiteral("ZXB000") << QStringLiteral("edtDBPassword");
}

void TestMainWindow::typingRightAfterOpeningGoesToTheFirstField()
{
    QFETCH(QString, programId);
    QFETCH(QString, field);
    // The real screens, as the user meets them from the menu bar.
    TfrmZ0Main::registerScreen(QStringLiteral("ZAI010"), [] { return new TfrmZAI010; });
    const auto restore = qScopeGuard([] {
        TfrmZ0Main::registerScreen(QStringLiteral("ZAI010"),
                                   [] { return new TestScreen(QStringLiteral("ZAI010")); });
    });
    RecordingMessageService boxes;
    SQLITE_WINDOW();
    menuItem(w, programId)->trigger();
    QCOMPARE(w->tabCount(), 1);

    auto *edit = w->tabScreen(0)->findChild<QLineEdit *>(field);
    QVERIFY(edit);
    QWidget *focus = QApplication::focusWidget();
    QVERIFY2(focus == edit, qPrintable(focus ? focus->objectName() : QStringLiteral("none")));
    QTest::keyClicks(focus, QStringLiteral("A0001"));
    QCOMPARE(edit->text(), QStringLiteral("A0001"));
}

void TestMainWindow::duplicatesActivateTheOpenTab()
{
    RecordingMessageService messages;
    SQLITE_WINDOW();
    menuItem(w, QStringLiteral("ZAI010"))->trigger();
    menuItem(w, QStringLiteral("ZAS010"))->trigger();
    QCOMPARE(w->pgcTabs->currentIndex(), 1);
    QWidget *first = w->tabScreen(0);

    menuItem(w, QStringLiteral("ZAI010"))->trigger();
    QCOMPARE(w->tabCount(), 2);
    QCOMPARE(w->pgcTabs->currentIndex(), 0);
    QCOMPARE(w->tabScreen(0), first);

    w->windowEntries().at(1)->trigger();
    QCOMPARE(w->tabCount(), 2);
    QCOMPARE(w->pgcTabs->currentIndex(), 1);
    QCOMPARE(w->windowEntries().size(), 2);
    QCOMPARE(TestScreen::destroyed, 0);
    QVERIFY(messages.entries.isEmpty());
    // Program IDs compare exactly.
    QVERIFY(!w->OpenProgram(QStringLiteral("소문자"), QStringLiteral("zai010")));
    QCOMPARE(w->tabCount(), 2);
}

void TestMainWindow::sameProgramUnderTwoMenusOpensOnce()
{
    m_db = std::make_unique<TestDatabase>(QStringLiteral("sqlite"), TestDatabase::Demo);
    QVERIFY2(m_db->isOpen(), qPrintable(m_db->errorText()));
    SqlStatement insert(m_db->db(),
                        QStringLiteral("INSERT INTO ZA050MS (PROJECT_ID, MENU_ID, PROGRAM_ID, "
                                       "PROGRAM_NAME, DISPLAY_SEQ) "
                                       "VALUES ('KESA_Z', 'Z2', 'ZAI010', '사용자(&X)', 99)"));
    insert.exec();
    TfrmZ0Main *w = makeWindow(m_db->db());
    QAction *inAuthority = menuItem(w, QStringLiteral("ZAI010"), 1);
    QVERIFY(inAuthority);
    QCOMPARE(inAuthority->text(), QStringLiteral("사용자(&X)"));

    inAuthority->trigger();
    menuItem(w, QStringLiteral("ZAI010"), 0)->trigger();
    QCOMPARE(w->tabCount(), 1);
    QCOMPARE(w->pgcTabs->tabText(0), QStringLiteral("사용자"));
}

void TestMainWindow::limitRefusesAndReselectionStillActivates()
{
    RecordingMessageService messages;
    setProgramCount(QStringLiteral("3"));
    SQLITE_WINDOW();
    QCOMPARE(w->programCount(), 3);
    for (const char *id : {"ZAI010", "ZAS010", "ZAS011"})
        menuItem(w, QString::fromLatin1(id))->trigger();
    QCOMPARE(w->tabCount(), 3);

    QVERIFY(!w->OpenProgram(QStringLiteral("프로젝트 등록"), QStringLiteral("ZAI020")));
    QCOMPARE(messages.texts(RecordingMessageService::Error),
             QStringList{QStringLiteral("최대 3개의 프로그램만 동시에 실행할 수 있습니다.")});
    QCOMPARE(w->tabCount(), 3);
    QCOMPARE(w->windowEntries().size(), 3);

    // At the limit an open program is still activated, without a message.
    messages.clear();
    menuItem(w, QStringLiteral("ZAI010"))->trigger();
    QCOMPARE(w->pgcTabs->currentIndex(), 0);
    QVERIFY(messages.entries.isEmpty());
}

void TestMainWindow::programWithoutScreenLeavesNoTab()
{
    RecordingMessageService messages;
    SQLITE_WINDOW();
    // ZIP010 is in the menu, but this catalogue has no screen of that ID.
    TfrmZ0Main::unregisterScreen(QStringLiteral("ZIP010"));
    menuItem(w, QStringLiteral("ZIP010"))->trigger();
    QCOMPARE(w->tabCount(), 0);
    QVERIFY(!w->pgcTabs->isVisible());
    QVERIFY(w->windowEntries().isEmpty());

    menuItem(w, QStringLiteral("ZAI010"))->trigger();
    QVERIFY(!w->OpenProgram(QStringLiteral("없음"), QStringLiteral("ZZZ999")));
    QCOMPARE(w->tabCount(), 1);
    QVERIFY(w->pgcTabs->isVisible());
    QCOMPARE(w->pgcTabs->currentIndex(), 0);
    QCOMPARE(w->windowEntries().size(), 1);
    QVERIFY(messages.entries.isEmpty());
}

namespace {
// A screen whose set-up fails after it has enabled something.
class FailingScreen : public TestScreen
{
public:
    using TestScreen::TestScreen;
    static inline QPointer<QWidget> last;

protected:
    void FormCreate() override
    {
        last = this;
        TestScreen::FormCreate();
        edtFirst->setEnabled(true);
        throw DbError(QStringLiteral("permission denied for table ZA010MS"));
    }
};
} // namespace

void TestMainWindow::screenWhoseCreationFailsLeavesNoTab()
{
    RecordingMessageService messages;
    SQLITE_WINDOW();
    TfrmZ0Main::registerScreen(QStringLiteral("ZAI030"),
                               [] { return new FailingScreen(QStringLiteral("ZAI030")); });
    const auto restore = qScopeGuard([] {
        TfrmZ0Main::registerScreen(QStringLiteral("ZAI030"),
                                   [] { return new TestScreen(QStringLiteral("ZAI030")); });
    });

    QVERIFY(!w->OpenProgram(QStringLiteral("레벨"), QStringLiteral("ZAI030")));
    QCOMPARE(w->tabCount(), 0);
    QVERIFY(!w->pgcTabs->isVisible());
    QVERIFY(w->windowEntries().isEmpty());
    QVERIFY(FailingScreen::last.isNull()); // freed, never shown
    QCOMPARE(messages.texts(RecordingMessageService::Error),
             QStringList{QStringLiteral("permission denied for table ZA010MS")});
}

void TestMainWindow::tabMarkingFollowsTheActiveTab()
{
    SQLITE_WINDOW();
    for (const char *id : {"ZAI010", "ZAS010", "ZAS011"})
        menuItem(w, QString::fromLatin1(id))->trigger();
    const qint64 inactive = w->menuImage(0).cacheKey();
    const qint64 active = w->menuImage(1).cacheKey();
    const auto marks = [&] {
        QString tabs, entries;
        for (int i = 0; i < w->tabCount(); ++i)
            tabs += w->pgcTabs->tabIcon(i).cacheKey() == active     ? QLatin1Char('A')
                    : w->pgcTabs->tabIcon(i).cacheKey() == inactive ? QLatin1Char('i')
                                                                    : QLatin1Char('?');
        for (QAction *entry : w->windowEntries())
            entries += entry->icon().cacheKey() == active     ? QLatin1Char('A')
                       : entry->icon().cacheKey() == inactive ? QLatin1Char('i')
                                                              : QLatin1Char('?');
        return tabs + QLatin1Char('|') + entries;
    };
    QCOMPARE(marks(), QStringLiteral("iiA|iiA"));
    // The user picks another tab.
    w->pgcTabs->tabBar()->setCurrentIndex(0);
    QCOMPARE(marks(), QStringLiteral("Aii|Aii"));
    w->windowEntries().at(1)->trigger();
    QCOMPARE(marks(), QStringLiteral("iAi|iAi"));
    // A picture for people: KESA_SCREENSHOT_DIR=DIR keeps one of the window.
    if (const QString dir = qEnvironmentVariable("KESA_SCREENSHOT_DIR"); !dir.isEmpty())
        QVERIFY(w->grab().save(QDir(dir).filePath(QStringLiteral("mainwindow_tabs.png"))));
    w->closeActiveTab();
    QCOMPARE(w->tabCount(), 2);
    QCOMPARE(marks().count(QLatin1Char('A')), 2);
    QCOMPARE(marks().count(QLatin1Char('?')), 0);
}

void TestMainWindow::resizeReachesEveryScreen()
{
    SQLITE_WINDOW();
    menuItem(w, QStringLiteral("ZAI010"))->trigger();
    menuItem(w, QStringLiteral("ZAS010"))->trigger();
    w->resize(1300, 900);
    QTRY_COMPARE_WITH_TIMEOUT(w->tabScreen(1)->size(),
                              w->pgcTabs->currentWidget()->size(),
                              PatienceMs);
    QCOMPARE(w->tabScreen(0)->size(), w->pgcTabs->currentWidget()->size());
    QVERIFY(w->tabScreen(0)->width() > 1200);
}

void TestMainWindow::f12ClosesTheActiveScreenAfterItsCloseHandling()
{
    RecordingMessageService messages;
    SQLITE_WINDOW();
    for (const char *id : {"ZAI010", "ZAS010", "ZAS011"})
        menuItem(w, QString::fromLatin1(id))->trigger();
    QPointer<QWidget> third = w->tabScreen(2);
    QVERIFY(third->isAncestorOf(QApplication::focusWidget()));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F12);
    QCOMPARE(TestScreen::closeOrder, QStringList{QStringLiteral("ZAS011")});
    QVERIFY(TestScreen::aliveAfterCloseTab);
    QCOMPARE(w->tabCount(), 2);
    QCOMPARE(w->tabProgramId(1), QStringLiteral("ZAS010"));
    QCOMPARE(w->windowEntries().size(), 2);
    QCOMPARE(w->windowEntries().at(1)->data().toString(), QStringLiteral("ZAS010"));
    QVERIFY(third); // destroyed only once its close handling has returned
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!third);
    QCOMPARE(TestScreen::destroyed, 1);

    // The screen's own close button ends the same way.
    auto *second = qobject_cast<TestScreen *>(w->tabScreen(1));
    QTest::mouseClick(second->bbtClose, Qt::LeftButton);
    QCOMPARE(w->tabCount(), 1);
    QCOMPARE(w->tabProgramId(0), QStringLiteral("ZAI010"));
    QVERIFY(TestScreen::aliveAfterCloseTab);

    QTest::keyClick(w, Qt::Key_F12);
    QCOMPARE(w->tabCount(), 0);
    QVERIFY(!w->pgcTabs->isVisible());
    QVERIFY(w->windowEntries().isEmpty());
    QCOMPARE(TestScreen::closeOrder.size(), 3);
    QVERIFY(messages.entries.isEmpty());
}

void TestMainWindow::noTabF12AndResizeDoNothing()
{
    RecordingMessageService messages;
    SQLITE_WINDOW();
    QTest::keyClick(w, Qt::Key_F12);
    w->resize(1200, 850);
    w->closeActiveTab();
    QCOMPARE(w->tabCount(), 0);
    QVERIFY(w->isVisible());
    QVERIFY(messages.entries.isEmpty());
}

void TestMainWindow::closingTheWindowClosesEveryTabThenTellsTheLauncher()
{
    QLocalServer launcher;
    QVERIFY(launcher.listen(QStringLiteral("Tfrm_0Main")));
    QList<QByteArray> received;
    connect(&launcher, &QLocalServer::newConnection, this, [&] {
        while (QLocalSocket *socket = launcher.nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [&received, socket] {
                while (socket->canReadLine())
                    received << socket->readLine();
            });
        }
    });

    SQLITE_WINDOW();
    for (const char *id : {"ZAI010", "ZAS010", "ZAS011"})
        menuItem(w, QString::fromLatin1(id))->trigger();
    w->pgcTabs->setCurrentIndex(1);

    QVERIFY(w->close());
    QCOMPARE(TestScreen::closeOrder.size(), 3);
    QCOMPARE(TestScreen::closeOrder.first(), QStringLiteral("ZAS010"));
    QCOMPARE(w->tabCount(), 0);
    QVERIFY(!w->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(TestScreen::destroyed, 3);
    QTRY_COMPARE_WITH_TIMEOUT(received.size(), 1, PatienceMs);
    QCOMPARE(received.first(), QByteArray("1924 0 0\n"));
    QTest::qWait(100);
    QCOMPARE(received.size(), 1);
}

namespace {
// A screen whose save failed when asked at the close: it stays, with its changes.
class KeepingScreen : public TestScreen
{
public:
    using TestScreen::TestScreen;
    static inline int asked = 0;

protected:
    bool FormCloseQuery() override
    {
        ++asked;
        return false;
    }
};
} // namespace

void TestMainWindow::screenKeepingItsChangesKeepsTheWindowOpen()
{
    SQLITE_WINDOW();
    TfrmZ0Main::registerScreen(QStringLiteral("ZAS011"),
                               [] { return new KeepingScreen(QStringLiteral("ZAS011")); });
    const auto restore = qScopeGuard([] {
        TfrmZ0Main::registerScreen(QStringLiteral("ZAS011"),
                                   [] { return new TestScreen(QStringLiteral("ZAS011")); });
    });
    KeepingScreen::asked = 0;
    for (const char *id : {"ZAI010", "ZAS011"})
        menuItem(w, QString::fromLatin1(id))->trigger();

    QVERIFY(!w->close());
    QCOMPARE(KeepingScreen::asked, 1); // asked once, not once per tab
    QCOMPARE(w->tabCount(), 2);
    QVERIFY(w->isVisible());
}

void TestMainWindow::launcherAbsentClosesQuietly()
{
    RecordingMessageService messages;
    SQLITE_WINDOW();
    menuItem(w, QStringLiteral("ZAI010"))->trigger();
    QVERIFY(w->close());
    QCOMPARE(w->tabCount(), 0);
    QVERIFY(messages.entries.isEmpty());
}

void TestMainWindow::screensOpenProgramsThroughTheHost()
{
    SQLITE_WINDOW();
    QCOMPARE(ScreenHost::current(), static_cast<ScreenHost *>(w));
    menuItem(w, QStringLiteral("ZAI010"))->trigger();
    QVERIFY(ScreenHost::current()->openProgram(QStringLiteral("비밀번호 이력 조회(&H)"),
                                               QStringLiteral("ZAS010")));
    QCOMPARE(w->tabCount(), 2);
    QCOMPARE(w->pgcTabs->tabText(1), QStringLiteral("비밀번호 이력 조회"));
    QVERIFY(!ScreenHost::current()->openProgram(QStringLiteral("x"), QStringLiteral("ZAI010")));
    QCOMPARE(w->pgcTabs->currentIndex(), 0);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
