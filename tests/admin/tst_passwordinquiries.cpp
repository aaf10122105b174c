// The password history (ZAS010) and the password inquiry (ZAS011) through
// their widgets, on both engines.
#include "recordingmessageservice.h"
#include "screentest.h"
#include "testdatabase.h"

#include "admin/ZAS010.h"
#include "admin/ZAS011.h"
#include "db/clientdataset.h"
#include "db/sqlstatement.h"
#include "framework/datagrid.h"
#include "framework/messagetexts.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

QStringList values(const ClientDataSet *data, const QString &field)
{
    QStringList result;
    if (!data->isActive())
        return result;
    for (int row = 0; row < data->recordCount(); ++row)
        result << ClientDataSet::displayText(data->value(row, field));
    return result;
}

void addUser(const QSqlDatabase &db, const QString &empNo, const QString &name)
{
    SqlStatement insert(db,
                        QStringLiteral("INSERT INTO ZA010MS (EMP_NO, EMP_NAME, PASSWORD_CODE, "
                                       "USE_YN, ADMIN_YN) VALUES (:P0, :P1, "
                                       "FN_ZA010MS_01('p15', 'RoTa'), 'Y', 'N')"));
    insert.bind(QStringLiteral("P0"), empNo);
    insert.bind(QStringLiteral("P1"), name);
    insert.exec();
}

void addHistory(const QSqlDatabase &db,
                const QString &empNo,
                const QString &day,
                int seq,
                const QString &password,
                const QString &newDate)
{
    SqlStatement
            insert(db,
                   QStringLiteral(
                           "INSERT INTO ZA010MH (EMP_NO, BACKUP_DATE, BACKUP_SEQ, PASSWORD_CODE, "
                           "OLD_EMP_NO, OLD_DATE, OLD_IP, NEW_EMP_NO, NEW_DATE, NEW_IP) VALUES "
                           "(:P0, :P1, :P2, FN_ZA010MS_01(:P3, 'RoTa'), 'A0001', "
                           "'2023-12-01 09:00:00', '10.0.0.1', :P0, :P4, '10.0.0.2')"));
    insert.bind(QStringLiteral("P0"), empNo);
    insert.bind(QStringLiteral("P1"), day);
    insert.bind(QStringLiteral("P2"), seq);
    insert.bind(QStringLiteral("P3"), password);
    insert.bind(QStringLiteral("P4"), newDate);
    insert.exec();
}

// A user E10015 whose number begins with E1001, and history rows entered out
// of order, one of them of a number without a user, in place of the demo's history.
void addFixture(const QSqlDatabase &db)
{
    // Only these rows: the demo's own history would mix with them.
    SqlStatement(db, QStringLiteral("DELETE FROM ZA010MH")).exec();
    addUser(db, QStringLiteral("E10015"), QStringLiteral("정수진"));
    addHistory(db, "E1001", "20240101", 1, "old1", "2024-01-01 14:05:09");
    addHistory(db, "E10015", "20240201", 1, "p15old", "2024-02-01 08:00:00");
    addHistory(db, "E1001", "20240315", 1, "old3", "2024-03-15 23:59:59");
    addHistory(db, "X9999", "20240101", 1, "ghost", "2024-01-01 10:00:00");
    addHistory(db, "E1001", "20240101", 2, "old2", "2024-01-01 15:00:00");
    addHistory(db, "A0001", "20231231", 1, "adm1", "2023-12-31 00:00:01");
}

template<typename Screen>
Screen *openScreen(const QSqlDatabase &db, QWidget &page)
{
    auto *screen = new Screen(&page);
    screen->setDatabase(db);
    screen->ensureCreated();
    page.resize(1008, 670);
    activate(&page);
    screen->bbtSearch->setFocus();
    return screen;
}

} // namespace

class tst_PasswordInquiries : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { loginAs(QStringLiteral("A0001"), QStringLiteral("김관리")); }
    void historyOfEveryUser_data() { TestDatabase::addEngineRows(); }
    void historyOfEveryUser();
    void historyOfOneNumber_data() { TestDatabase::addEngineRows(); }
    void historyOfOneNumber();
    void historyOfRestrictedUser_data() { TestDatabase::addEngineRows(); }
    void historyOfRestrictedUser();
    void passwordsOfEveryUser_data() { TestDatabase::addEngineRows(); }
    void passwordsOfEveryUser();
    void passwordOfOneUser_data() { TestDatabase::addEngineRows(); }
    void passwordOfOneUser();
    void passwordsRefusedToRestrictedUser_data() { TestDatabase::addEngineRows(); }
    void passwordsRefusedToRestrictedUser();
};

void tst_PasswordInquiries::historyOfEveryUser()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    addFixture(tdb.db());
    RecordingMessageService boxes;
    QWidget page;
    auto *screen = openScreen<TfrmZAS010>(tdb.db(), page);

    QCOMPARE(screen->cedEmpNo->text(), QStringLiteral("A0001"));
    QCOMPARE(screen->wlbEmpName->text(), QStringLiteral("김관리"));
    QVERIFY(screen->cedEmpNo->isEnabled() && screen->sbtEmpNo->isEnabled());
    screen->cedEmpNo->setFocus();
    screen->cedEmpNo->clear();
    press(Qt::Key_Return);

    // By number, newest first; the row of a number without a user is left out.
    ClientDataSet *rows = screen->cdsQuery;
    QCOMPARE(values(rows, QStringLiteral("EMP_NO")),
             (QStringList{"A0001", "E1001", "E1001", "E1001", "E10015"}));
    QCOMPARE(values(rows, QStringLiteral("EMP_NAME")),
             (QStringList{"김관리", "이영희", "이영희", "이영희", "정수진"}));
    QCOMPARE(values(rows, QStringLiteral("BACKUP_DATE")),
             (QStringList{"2023-12-31", "2024-03-15", "2024-01-01", "2024-01-01", "2024-02-01"}));
    QCOMPARE(values(rows, QStringLiteral("PASSWORD_CODE")),
             (QStringList{"adm1", "old3", "old2", "old1", "p15old"}));
    QCOMPARE(values(rows, QStringLiteral("NEW_DATE")),
             (QStringList{"2023-12-31 00:00:01",
                          "2024-03-15 23:59:59",
                          "2024-01-01 15:00:00",
                          "2024-01-01 14:05:09",
                          "2024-02-01 08:00:00"}));
    QCOMPARE(ClientDataSet::displayText(rows->value(0, QStringLiteral("OLD_DATE"))),
             QStringLiteral("2023-12-01 09:00:00"));
    QCOMPARE(ClientDataSet::displayText(rows->value(4, QStringLiteral("NEW_EMP_NO"))),
             QStringLiteral("E10015"));
    QVERIFY(screen->statusMessage().isEmpty());
    QCOMPARE(QApplication::focusWidget(), screen->cedEmpNo);

    // No printing, preview or export, by button or hot key.
    for (QPushButton *button : {screen->bbtPrint, screen->bbtPreview, screen->bbtExcel})
        QVERIFY(!button->isVisible() && !button->isEnabled());
    press(Qt::Key_F11);
    QTest::keyClick(screen->cedEmpNo, Qt::Key_F11, Qt::ControlModifier);
    QVERIFY(boxes.entries.isEmpty());
}

void tst_PasswordInquiries::historyOfOneNumber()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    addFixture(tdb.db());
    QWidget page;
    auto *screen = openScreen<TfrmZAS010>(tdb.db(), page);

    // A number without a user: the status line, and no query.
    screen->cedEmpNo->setFocus();
    screen->cedEmpNo->selectAll();
    QTest::keyClicks(screen->cedEmpNo, QStringLiteral("X9999"));
    press(Qt::Key_F3);
    QCOMPARE(screen->statusMessage(), QStringLiteral("* 사용자을(를) 정확히 입력하십시오."));
    QCOMPARE(QApplication::focusWidget(), screen->cedEmpNo);
    QVERIFY(!screen->cdsQuery->isActive());

    // A number matches every number it begins.
    screen->cedEmpNo->selectAll();
    QTest::keyClicks(screen->cedEmpNo, QStringLiteral("E1001"));
    press(Qt::Key_Return);
    QVERIFY(screen->statusMessage().isEmpty());
    QCOMPARE(screen->wlbEmpName->text(), QStringLiteral("이영희"));
    QCOMPARE(values(screen->cdsQuery, QStringLiteral("EMP_NO")),
             (QStringList{"E1001", "E1001", "E1001", "E10015"}));
    QCOMPARE(screen->cedEmpNo->selectedText(), QStringLiteral("E1001"));

    // A user without history.
    QTest::keyClicks(screen->cedEmpNo, QStringLiteral("E1002"));
    press(Qt::Key_Return);
    QCOMPARE(screen->statusMessage(), MessageText::nothingToShow());
    QCOMPARE(screen->cdsQuery->recordCount(), 0);
}

void tst_PasswordInquiries::historyOfRestrictedUser()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    addFixture(tdb.db());
    loginAs(QStringLiteral("E1001"), QStringLiteral("이영희"));
    QWidget page;
    auto *screen = openScreen<TfrmZAS010>(tdb.db(), page);

    QCOMPARE(screen->cedEmpNo->text(), QStringLiteral("E1001"));
    QVERIFY(!screen->cedEmpNo->isEnabled());
    QVERIFY(!screen->sbtEmpNo->isEnabled());
    QVERIFY(!screen->wlbEmpName->isEnabled());
    QVERIFY(screen->bbtSearch->isEnabled());
    press(Qt::Key_F3);
    // His own rows only: not those of E10015, whose number begins with his.
    QCOMPARE(values(screen->cdsQuery, QStringLiteral("EMP_NO")),
             (QStringList{"E1001", "E1001", "E1001"}));
    QCOMPARE(QApplication::focusWidget(), screen->bbtSearch);
}

// Every user with the 12-hour time of the last write: the morning or
// afternoon marker right before the hour.
void tst_PasswordInquiries::passwordsOfEveryUser()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    const QSqlDatabase db = tdb.db();
    addUser(db, QStringLiteral("E10015"), QStringLiteral("정수진"));
    const QList<QPair<QString, QString>> written = {{"A0001", "2007-03-01 00:10:00"},
                                                    {"E1001", "2007-03-01 09:05:09"},
                                                    {"E10015", "2007-03-01 12:30:00"},
                                                    {"E1002", "2007-03-01 14:05:09"},
                                                    {"E1003", "2007-03-01 23:59:59"}};
    for (const auto &[empNo, when] : written) {
        SqlStatement update(db,
                            QStringLiteral("UPDATE ZA010MS SET U_DATE = :P1, U_EMP_NO = 'W1' "
                                           "WHERE EMP_NO = :P0"));
        update.bind(QStringLiteral("P0"), empNo);
        update.bind(QStringLiteral("P1"), when);
        update.exec();
    }
    QWidget page;
    auto *screen = openScreen<TfrmZAS011>(tdb.db(), page);

    QVERIFY(screen->cedEmpNo->text().isEmpty());
    QVERIFY(screen->wlbEmpName->text().isEmpty());
    QVERIFY(screen->cedEmpNo->isEnabled() && screen->bbtSearch->isEnabled());
    QVERIFY(!screen->bbtExcel->isVisible());
    press(Qt::Key_F3);
    ClientDataSet *rows = screen->cdsQuery;
    QCOMPARE(values(rows, QStringLiteral("EMP_NO")),
             (QStringList{"A0001", "E1001", "E10015", "E1002", "E1003"}));
    QCOMPARE(values(rows, QStringLiteral("PASSWORD_CODE")),
             (QStringList{"A0001", "E1001", "p15", "E1002", "E1003"}));
    QCOMPARE(values(rows, QStringLiteral("U_EMP_NO")), (QStringList{"W1", "W1", "W1", "W1", "W1"}));
    QCOMPARE(values(rows, QStringLiteral("U_DATE")),
             (QStringList{"2007-03-01 오전12:10:00",
                          "2007-03-01 오전09:05:09",
                          "2007-03-01 오후12:30:00",
                          "2007-03-01 오후02:05:09",
                          "2007-03-01 오후11:59:59"}));
    QCOMPARE(QApplication::focusWidget(), screen->cedEmpNo);
}

void tst_PasswordInquiries::passwordOfOneUser()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    addUser(tdb.db(), QStringLiteral("E10015"), QStringLiteral("정수진"));
    QWidget page;
    auto *screen = openScreen<TfrmZAS011>(tdb.db(), page);

    // Exactly that number, not the ones it begins.
    type(screen->cedEmpNo, QStringLiteral("E1001"));
    press(Qt::Key_Return);
    QCOMPARE(values(screen->cdsQuery, QStringLiteral("EMP_NO")), QStringList{"E1001"});
    QCOMPARE(screen->wlbEmpName->text(), QStringLiteral("이영희"));
    QCOMPARE(screen->cedEmpNo->selectedText(), QStringLiteral("E1001"));

    // A number without a user is dropped: every user.
    type(screen->cedEmpNo, QStringLiteral("ZZZ"));
    press(Qt::Key_Return);
    QVERIFY(screen->cedEmpNo->text().isEmpty());
    QCOMPARE(screen->cdsQuery->recordCount(), 5);
    QVERIFY(screen->statusMessage().isEmpty());
}

void tst_PasswordInquiries::passwordsRefusedToRestrictedUser()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
    loginAs(QStringLiteral("E1001"), QStringLiteral("이영희"));
    RecordingMessageService boxes;
    QWidget page;
    auto *screen = openScreen<TfrmZAS011>(tdb.db(), page);

    for (QWidget *widget :
         QList<QWidget *>{screen->cedEmpNo, screen->sbtEmpNo, screen->wlbEmpName, screen->bbtSearch})
        QVERIFY2(!widget->isEnabled(), qPrintable(widget->objectName()));
    // F3 is refused with a word in the status bar, not a box.
    screen->rgrGrid->setFocus();
    press(Qt::Key_F3);
    QVERIFY(!screen->cdsQuery->isActive());
    QCOMPARE(screen->statusMessage(),
             QStringLiteral("관리자만 조회할 수 있습니다. 관리자에게 문의하십시오."));
    QVERIFY(boxes.entries.isEmpty());
}

QTEST_MAIN(tst_PasswordInquiries)
#include "tst_passwordinquiries.moc"
