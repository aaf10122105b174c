// The grid edit screen driven through its widgets and hot keys, on both engines.
#include "ZZT020.h"
#include "recordingmessageservice.h"
#include "screentest.h"
#include "testdatabase.h"

#include "common/loginvalues.h"
#include "common/silentabort.h"
#include "db/clientdataset.h"
#include "db/sqlstatement.h"
#include "framework/ZZI080.h"
#include "framework/datagrid.h"
#include "framework/dbedit.h"
#include "framework/editcolour.h"
#include "framework/messagetexts.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

void addProjects(const QSqlDatabase &db, int count, int first = 0)
{
    for (int i = first; i < first + count; ++i) {
        SqlStatement
                insert(db,
                       QStringLiteral(
                               "INSERT INTO ZA020MS (PROJECT_ID, PROJECT_NAME, U_EMP_NO, U_DATE, "
                               "U_IP) VALUES (:P0, :P1, 'E0', SYSDATE, '10.0.0.9')"));
        insert.bind(QStringLiteral("P0"), QStringLiteral("P%1").arg(i, 5, 10, QLatin1Char('0')));
        insert.bind(QStringLiteral("P1"), QStringLiteral("이름 %1").arg(i));
        insert.exec();
    }
}

QStringList projectIds(const QSqlDatabase &db)
{
    return column(db, QStringLiteral("SELECT PROJECT_ID FROM ZA020MS ORDER BY PROJECT_ID"));
}

// After the text the row change selected.
void append(QWidget *field, const QString &text)
{
    field->setFocus();
    QTest::keyClick(field, Qt::Key_End);
    type(field, text);
}

// An edit screen without a grid that writes two projects in one save: a
// check of its own stops the save with its message, and the second insert
// fails on a duplicate key when the first project exists already.
class TwoInserts : public TfrmZZI010
{
public:
    bool refuse = false;
    int writes = 0;

protected:
    void LoadData() override { setChanged(true); }
    void CheckSaveData() override
    {
        if (refuse) {
            ShowStatusMessage(QStringLiteral("own message"));
            Abort();
        }
    }
    void WriteChanges() override
    {
        ++writes;
        for (const QString &id : {QStringLiteral("P00001"), QStringLiteral("P00000")}) {
            SqlStatement insert(database(),
                                QStringLiteral("INSERT INTO ZA020MS (PROJECT_ID, PROJECT_NAME) "
                                               "VALUES (:P0, 'x')"));
            insert.bind(QStringLiteral("P0"), id);
            insert.exec();
        }
    }
};

bool ownEnabled(const QWidget *widget)
{
    return widget->isEnabledTo(widget->parentWidget());
}

} // namespace

class tst_EditScreens : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        login().empNo = QStringLiteral("E123");
        login().setLocalIP(QStringLiteral("192.168.0.15"));
    }
    void modes_data() { TestDatabase::addEngineRows(); }
    void modes();
    void addEditSave_data() { TestDatabase::addEngineRows(); }
    void addEditSave();
    void postChecks_data();
    void postChecks();
    void cancelAsksOnlyWithChanges_data() { TestDatabase::addEngineRows(); }
    void cancelAsksOnlyWithChanges();
    void closeWithChanges_data();
    void closeWithChanges();
    void failedSaveByHotKey_data() { TestDatabase::addEngineRows(); }
    void failedSaveByHotKey();
    void gridMoveRefusedByCheck_data() { TestDatabase::addEngineRows(); }
    void gridMoveRefusedByCheck();
    void barTabOrder();
    void saveHook_data();
    void saveHook();

private:
    TfrmZZT020 *openScreen(const QSqlDatabase &db, QWidget *tabPage = nullptr);
};

TfrmZZT020 *tst_EditScreens::openScreen(const QSqlDatabase &db, QWidget *tabPage)
{
    auto *screen = new TfrmZZT020(tabPage);
    screen->setDatabase(db);
    screen->ensureCreated();
    if (tabPage) {
        tabPage->resize(1008, 700);
        activate(tabPage);
    } else {
        activate(screen);
    }
    screen->edtFilter->setFocus();
    return screen;
}

void tst_EditScreens::modes()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    addProjects(tdb.db(), 3);
    RecordingMessageService boxes;

    // Created, not yet shown: search mode.
    std::unique_ptr<TfrmZZT020> screen(new TfrmZZT020);
    screen->setDatabase(tdb.db());
    screen->ensureCreated();
    QVERIFY(screen->isSearchMode());
    const QList<QWidget *> workSide = {screen->dedProjectID,
                                       screen->dedProjectName,
                                       screen->rgrGrid,
                                       screen->edtDeep5,
                                       screen->bbtAdd,
                                       screen->bbtDelete,
                                       screen->bbtSave,
                                       screen->bbtCancel,
                                       screen->sbtFirst,
                                       screen->sbtLast};
    const QList<QWidget *> searchSide = {screen->edtFilter, screen->bbtSearch, screen->edtDeep6};
    for (QWidget *widget : workSide)
        QVERIFY2(!ownEnabled(widget), qPrintable(widget->objectName()));
    for (QWidget *widget : searchSide)
        QVERIFY2(ownEnabled(widget), qPrintable(widget->objectName()));
    QVERIFY(screen->bbtClose->isEnabled());
    QVERIFY(screen->panMain->isEnabled());

    activate(screen.get());
    screen->edtFilter->setFocus();

    // F2 in search mode: the save button is disabled, nothing happens.
    press(Qt::Key_F2);
    QVERIFY(boxes.entries.isEmpty());
    QVERIFY(!screen->cdsGrid->isActive());

    // Navigation on a closed data set does nothing.
    screen->sbtNextClick();
    screen->sbtLastClick();
    QVERIFY(!screen->cdsGrid->isActive());

    press(Qt::Key_F3);
    QVERIFY(!screen->isSearchMode());
    QCOMPARE(screen->cdsGrid->recordCount(), 3);
    for (QWidget *widget : workSide)
        QVERIFY2(ownEnabled(widget), qPrintable(widget->objectName()));
    for (QWidget *widget : searchSide)
        QVERIFY2(!ownEnabled(widget), qPrintable(widget->objectName()));
    // The row change put the focus into the name field of the first row.
    QCOMPARE(QApplication::focusWidget(), screen->dedProjectName);
    QCOMPARE(screen->dedProjectName->text(), QStringLiteral("이름 0"));
    QVERIFY(!screen->dedProjectID->isEditable());
    QCOMPARE(EditColour::colourOf(screen->dedProjectID), EditColour::silver());

    // F3 after a search does nothing: the grid is not read again.
    addProjects(tdb.db(), 5, 3);
    press(Qt::Key_F3);
    QCOMPARE(screen->cdsGrid->recordCount(), 3);

    // Cancel without changes asks nothing and returns to search mode.
    press(Qt::Key_F8);
    QVERIFY(boxes.entries.isEmpty());
    QVERIFY(screen->isSearchMode());
    QVERIFY(!screen->cdsGrid->isActive());
    QCOMPARE(QApplication::focusWidget(), screen->edtFilter);
}

void tst_EditScreens::addEditSave()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    addProjects(tdb.db(), 2);
    RecordingMessageService boxes;
    std::unique_ptr<TfrmZZT020> screen(openScreen(tdb.db()));

    press(Qt::Key_F3);
    append(screen->dedProjectName, QStringLiteral(" 수정"));
    press(Qt::Key_F4); // posts the edit, starts a new row
    QCOMPARE(QApplication::focusWidget(), screen->dedProjectID);
    QVERIFY(screen->dedProjectID->isEditable());
    QCOMPARE(EditColour::colourOf(screen->dedProjectID), EditColour::normal());
    type(screen->dedProjectID, QStringLiteral("new001")); // upper-cased as typed
    QCOMPARE(screen->dedProjectID->text(), QStringLiteral("NEW001"));
    type(screen->dedProjectName, QStringLiteral("새 프로젝트"));
    QVERIFY(screen->cdsGrid->text(QStringLiteral("TEAM_ROLE_NAME")).isEmpty());
    press(Qt::Key_F4); // a second new row, left untouched: dropped by the save
    press(Qt::Key_F2);

    QVERIFY2(boxes.entries.isEmpty(), qPrintable(boxes.allTexts().join(u'|')));
    QCOMPARE(screen->statusMessage(), MessageText::saved());
    const QSqlDatabase db = tdb.db();
    QCOMPARE(projectIds(db),
             (QStringList{QStringLiteral("NEW001"),
                          QStringLiteral("P00000"),
                          QStringLiteral("P00001")}));
    QCOMPARE(column(db, QStringLiteral("SELECT PROJECT_NAME FROM ZA020MS ORDER BY PROJECT_ID")),
             (QStringList{QStringLiteral("새 프로젝트"),
                          QStringLiteral("이름 0 수정"),
                          QStringLiteral("이름 1")}));
    // Audit columns of both written rows; the untouched row keeps its own.
    QCOMPARE(column(db, QStringLiteral("SELECT U_EMP_NO FROM ZA020MS ORDER BY PROJECT_ID")),
             (QStringList{QStringLiteral("E123"), QStringLiteral("E123"), QStringLiteral("E0")}));
    QCOMPARE(column(db, QStringLiteral("SELECT U_IP FROM ZA020MS WHERE U_EMP_NO = 'E123'")),
             (QStringList{QStringLiteral("192.168.0.15"), QStringLiteral("192.168.0.15")}));
    QCOMPARE(column(db, QStringLiteral("SELECT COUNT(*) FROM ZA020MS WHERE U_DATE IS NULL")),
             QStringList{QStringLiteral("0")});

    // The grid was read again after the save, and the key list is empty.
    QCOMPARE(screen->cdsGrid->recordCount(), 3);
    QCOMPARE(screen->cdsGrid->changeCount(), 0);
    QVERIFY(screen->keyList().isEmpty());
}

void tst_EditScreens::postChecks_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QStringList>("keys"); // one new row per key, all named
    QTest::addColumn<QString>("status");
    QTest::addColumn<QStringList>("errors");
    const QString required = QStringLiteral("* 프로젝트 ID") + MessageText::enterCorrectly();
    for (auto *row : TestDatabase::newRows(QStringLiteral("key too short")))
        *row << QStringList{QStringLiteral("ABCDE")} << required
             << QStringList{MessageText::saveFailed()};
    for (auto *row : TestDatabase::newRows(QStringLiteral("key in the table")))
        *row << QStringList{QStringLiteral("P00001")} << QString()
             << QStringList{MessageText::duplicateKey(), MessageText::saveFailed()};
    for (auto *row : TestDatabase::newRows(QStringLiteral("same key twice")))
        *row << QStringList{QStringLiteral("NEW001"), QStringLiteral("NEW001")} << QString()
             << QStringList{MessageText::duplicateKey(), MessageText::saveFailed()};
}

void tst_EditScreens::postChecks()
{
    QFETCH(QString, engine);
    QFETCH(QStringList, keys);
    QFETCH(QString, status);
    QFETCH(QStringList, errors);
    KESA_TEST_DATABASE(tdb, engine);
    addProjects(tdb.db(), 2);
    RecordingMessageService boxes;
    std::unique_ptr<TfrmZZT020> screen(openScreen(tdb.db()));

    press(Qt::Key_F3);
    for (const QString &key : keys) {
        press(Qt::Key_F4);
        type(screen->dedProjectID, key);
        type(screen->dedProjectName, QStringLiteral("이름"));
    }
    press(Qt::Key_F2);

    QCOMPARE(boxes.texts(RecordingMessageService::Error), errors);
    QCOMPARE(screen->statusMessage(), status);
    QCOMPARE(QApplication::focusWidget(), screen->dedProjectID);
    QCOMPARE(screen->cdsGrid->state(), ClientDataSet::State::Insert);
    QCOMPARE(projectIds(tdb.db()),
             (QStringList{QStringLiteral("P00000"), QStringLiteral("P00001")}));

    // Correcting the key lets the save through.
    screen->dedProjectID->selectAll();
    type(screen->dedProjectID, QStringLiteral("OK0001"));
    boxes.clear();
    press(Qt::Key_F2);
    QVERIFY(boxes.entries.isEmpty());
    QVERIFY(projectIds(tdb.db()).contains(QStringLiteral("OK0001")));
}

void tst_EditScreens::cancelAsksOnlyWithChanges()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    addProjects(tdb.db(), 2);
    RecordingMessageService boxes;
    std::unique_ptr<TfrmZZT020> screen(openScreen(tdb.db()));

    press(Qt::Key_F3);
    append(screen->dedProjectName, QStringLiteral("!"));
    boxes.answers = {false};
    press(Qt::Key_F8);
    QCOMPARE(boxes.texts(RecordingMessageService::Question),
             QStringList{MessageText::cancelQuestion()});
    QVERIFY(!screen->isSearchMode());
    QCOMPARE(screen->cdsGrid->changeCount(), 1);

    boxes.answers = {true};
    press(Qt::Key_F8);
    QVERIFY(screen->isSearchMode());
    QVERIFY(!screen->cdsGrid->isActive());
    QCOMPARE(column(tdb.db(),
                    QStringLiteral("SELECT PROJECT_NAME FROM ZA020MS WHERE PROJECT_ID = 'P00000'")),
             QStringList{QStringLiteral("이름 0")});
}

void tst_EditScreens::closeWithChanges_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("changedMeanwhile"); // another user changed the row first
    QTest::addColumn<int>("closes");
    QTest::addColumn<QString>("stored");
    // The close request of the host (F12, the main window closing) asks as the button does.
    QTest::addColumn<bool>("byHost");
    for (const bool byHost : {false, true}) {
        const QString how = byHost ? QStringLiteral("F12, ") : QStringLiteral("button, ");
        for (auto *row : TestDatabase::newRows(how + QStringLiteral("yes, saved")))
            *row << true << false << 1 << QStringLiteral("이름 0!") << byHost;
        for (auto *row : TestDatabase::newRows(how + QStringLiteral("yes, save fails")))
            *row << true << true << 0 << QStringLiteral("다른 사용자") << byHost;
        for (auto *row : TestDatabase::newRows(how + QStringLiteral("no, changes lost")))
            *row << false << false << 1 << QStringLiteral("이름 0") << byHost;
    }
}

void tst_EditScreens::closeWithChanges()
{
    QFETCH(QString, engine);
    QFETCH(bool, answer);
    QFETCH(bool, changedMeanwhile);
    QFETCH(int, closes);
    QFETCH(QString, stored);
    QFETCH(bool, byHost);
    KESA_TEST_DATABASE(tdb, engine);
    addProjects(tdb.db(), 2);
    RecordingMessageService boxes;
    TestHost host;
    QWidget tabPage;
    QPointer<TfrmZZT020> screen = openScreen(tdb.db(), &tabPage);
    QVERIFY(!screen->hasBorder());

    press(Qt::Key_F3);
    append(screen->dedProjectName, QStringLiteral("!"));
    if (changedMeanwhile) {
        QSqlDatabase other = tdb.openAnother(QStringLiteral("other"));
        SqlStatement update(
                other,
                QStringLiteral(
                        "UPDATE ZA020MS SET PROJECT_NAME = :P0 WHERE PROJECT_ID = 'P00000'"));
        update.bind(QStringLiteral("P0"), QStringLiteral("다른 사용자"));
        update.exec();
    }
    boxes.answers = {answer};
    if (byHost)
        QCOMPARE(screen->close(), false); // an embedded screen answers through its host
    else
        QTest::mouseClick(screen->bbtClose, Qt::LeftButton);

    QCOMPARE(boxes.texts(RecordingMessageService::Question),
             QStringList{MessageText::closeQuestion()});
    QCOMPARE(host.closes, closes);
    QCOMPARE(column(tdb.db(),
                    QStringLiteral("SELECT PROJECT_NAME FROM ZA020MS WHERE PROJECT_ID = 'P00000'")),
             QStringList{stored});
    QVERIFY(screen); // an embedded screen is freed by its host, never by itself
    if (changedMeanwhile) {
        // One error box, the screen stays with its changes.
        QCOMPARE(boxes.texts(RecordingMessageService::Error),
                 QStringList{MessageText::saveFailed() + ClientDataSet::rowChangedText()});
        QCOMPARE(screen->cdsGrid->changeCount(), 1);
        QVERIFY(!screen->isSearchMode());
    } else {
        QVERIFY(boxes.texts(RecordingMessageService::Error).isEmpty());
    }
}

void tst_EditScreens::failedSaveByHotKey()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    addProjects(tdb.db(), 2);
    RecordingMessageService boxes;
    std::unique_ptr<TfrmZZT020> screen(openScreen(tdb.db()));

    press(Qt::Key_F3);
    append(screen->dedProjectName, QStringLiteral("!"));
    SqlStatement remove(tdb.db(), QStringLiteral("DELETE FROM ZA020MS WHERE PROJECT_ID = 'P00000'"));
    remove.exec();
    press(Qt::Key_F2);

    // The save's box, then the default error display of the failure that went on.
    QCOMPARE(boxes.texts(RecordingMessageService::Error),
             (QStringList{MessageText::saveFailed() + ClientDataSet::rowChangedText(),
                          ClientDataSet::rowChangedText()}));
    QCOMPARE(screen->cdsGrid->changeCount(), 1);
    QVERIFY(screen->statusMessage().isEmpty());
}

void tst_EditScreens::gridMoveRefusedByCheck()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    addProjects(tdb.db(), 3);
    RecordingMessageService boxes;
    std::unique_ptr<TfrmZZT020> screen(openScreen(tdb.db()));

    press(Qt::Key_F3);
    screen->rgrGrid->setFocus();
    QTest::keyClick(screen->rgrGrid, Qt::Key_Down);
    QCOMPARE(screen->cdsGrid->currentRow(), 1);
    QCOMPARE(QApplication::focusWidget(), screen->dedProjectName); // the row change
    QCOMPARE(screen->dedProjectName->text(), QStringLiteral("이름 1"));
    // Up and Down in an entry field move between rows too.
    press(Qt::Key_Down);
    QCOMPARE(screen->cdsGrid->currentRow(), 2);
    QCOMPARE(screen->rgrGrid->currentIndex().row(), 2);
    press(Qt::Key_Up);
    QCOMPARE(screen->cdsGrid->currentRow(), 1);
    QCOMPARE(screen->dedProjectName->text(), QStringLiteral("이름 1"));

    press(Qt::Key_F4);
    type(screen->dedProjectID, QStringLiteral("NEW001")); // no name
    screen->rgrGrid->setFocus();
    QTest::keyClick(screen->rgrGrid, Qt::Key_Down);
    QCOMPARE(screen->statusMessage(),
             QStringLiteral("* 프로젝트 명") + MessageText::enterCorrectly());
    QCOMPARE(screen->cdsGrid->state(), ClientDataSet::State::Insert);
    QCOMPARE(screen->cdsGrid->currentRow(), 1);
    QCOMPARE(screen->rgrGrid->currentIndex().row(), 1);
    QCOMPARE(QApplication::focusWidget(), screen->dedProjectName);
    QVERIFY(boxes.entries.isEmpty());

    // The navigation buttons move the same cursor, fetching where needed.
    type(screen->dedProjectName, QStringLiteral("새"));
    QTest::mouseClick(screen->sbtLast, Qt::LeftButton);
    QCOMPARE(screen->cdsGrid->currentRow(), 3);
    QCOMPARE(screen->rgrGrid->currentIndex().row(), 3);
    QCOMPARE(screen->cdsGrid->changeCount(), 1);
    QCOMPARE(screen->keyList(), QStringList{QStringLiteral("NEW001")});
}

// Tab along the bar of the grid edit screens: add, delete, save, cancel, close.
void tst_EditScreens::barTabOrder()
{
    TfrmZZT020 grid;
    TfrmZZI080 editor;
    for (TfrmZZI010 *screen : std::initializer_list<TfrmZZI010 *>{&grid, &editor}) {
        screen->ensureCreated();
        QStringList order;
        QWidget *at = screen->findChild<QWidget *>(QStringLiteral("bbtAdd"));
        for (int i = 0; i < 5; ++i, at = nextTabStop(at))
            order.append(at->objectName());
        QCOMPARE(order,
                 (QStringList{QStringLiteral("bbtAdd"),
                              QStringLiteral("bbtDelete"),
                              QStringLiteral("bbtSave"),
                              QStringLiteral("bbtCancel"),
                              QStringLiteral("bbtClose")}));
    }
}

void tst_EditScreens::saveHook_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<bool>("refuse");
    QTest::addColumn<bool>("clash");
    QTest::addColumn<int>("errorBoxes");
    QTest::addColumn<QString>("status");
    QTest::addColumn<int>("stored");
    for (auto *row : TestDatabase::newRows(QStringLiteral("saved")))
        *row << false << false << 0 << QString() << 2; // the close clears the status
    for (auto *row : TestDatabase::newRows(QStringLiteral("own check stops quietly")))
        *row << true << false << 0 << QStringLiteral("own message") << 0;
    for (auto *row : TestDatabase::newRows(QStringLiteral("write fails, all rolled back")))
        *row << false << true << 1 << QString() << 1;
}

// The hook of a save: a check shows its own message and stops quietly; the
// write runs in one transaction whose failure shows the save's box once.
void tst_EditScreens::saveHook()
{
    QFETCH(QString, engine);
    QFETCH(bool, refuse);
    QFETCH(bool, clash);
    QFETCH(int, errorBoxes);
    QFETCH(QString, status);
    QFETCH(int, stored);
    KESA_TEST_DATABASE(tdb, engine);
    if (clash)
        addProjects(tdb.db(), 1, 0);
    RecordingMessageService boxes;
    TestHost host;
    QWidget tabPage;
    auto *screen = new TwoInserts;
    screen->setParent(&tabPage);
    screen->setDatabase(tdb.db());
    screen->refuse = refuse;
    screen->ensureCreated();
    activate(&tabPage);

    press(Qt::Key_F3);
    boxes.answers = {true};
    QTest::mouseClick(screen->bbtClose, Qt::LeftButton); // asks, then saves first

    const QStringList errors = boxes.texts(RecordingMessageService::Error);
    QCOMPARE(errors.size(), errorBoxes); // once: the close swallows the failure
    if (clash)
        QVERIFY(errors.first().startsWith(MessageText::saveFailed()));
    QCOMPARE(screen->statusMessage(), status);
    QCOMPARE(screen->writes, refuse ? 0 : 1);
    QCOMPARE(column(tdb.db(), QStringLiteral("SELECT PROJECT_ID FROM ZA020MS")).size(), stored);
    // A save that did not complete keeps the screen open with its changes.
    QCOMPARE(host.closes, stored == 2 ? 1 : 0);
    QCOMPARE(screen->isChanged(), stored != 2);
}

QTEST_MAIN(tst_EditScreens)
#include "tst_editscreens.moc"
