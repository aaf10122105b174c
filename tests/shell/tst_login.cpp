// The login box of a hardened PostgreSQL database, between the connection and
// the main window: the employee of the launch proves himself, or the program
// ends; a plain database asks for nothing.

#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include "admin/ZAI130.h"
#include "common/loginvalues.h"
#include "db/database.h"
#include "db/demodata.h"
#include "db/hardening.h"
#include "db/rightslog.h"
#include "db/schema.h"
#include "framework/dbedit.h"
#include "framework/messagetexts.h"
#include "patience.h"
#include "pgroles.h"
#include "recordingmessageservice.h"
#include "screentest.h"
#include "shell/Z0Main.h"
#include "shell/ZZD000.h"
#include "shell/loginbox.h"
#include "testdatabase.h"

namespace {

const QString Cancel = QStringLiteral("<cancel>");

QString scalar(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql) || !query.next())
        return QStringLiteral("<error>");
    return query.value(0).toString();
}

// The suite's own owner and shared roles, for one test (declare before the
// TestDatabase).
struct Roles : PgTestRoles
{
    Roles()
        : PgTestRoles(QStringLiteral("kesa_l"))
    {}
};

// Types the passwords into the box in turn (an empty one is OK pressed on an
// empty field; Cancel presses 취소).
void answer(QWidget *modal, const QStringList &passwords)
{
    auto *box = qobject_cast<LoginBox *>(modal);
    QVERIFY(box);
    QCOMPARE(box->edtEmpNo->text(), login().empNo);
    QVERIFY(box->edtEmpNo->isReadOnly());
    QCOMPARE(box->edtPassword->echoMode(), QLineEdit::Password);
    for (const QString &password : passwords) {
        if (!box->isVisible())
            return;
        if (password == Cancel) {
            QTest::mouseClick(box->btnCancel, Qt::LeftButton);
            continue;
        }
        QTest::keyClicks(box->edtPassword, password);
        QTest::keyClick(box->edtPassword, Qt::Key_Return);
    }
}

} // namespace

class tst_Login : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("TMPDIR", QFile::encodeName(m_dir.path()));
    }
    void init()
    {
        login() = LoginValues();
        login().empNo = QStringLiteral("A0001");
        login().empName = QStringLiteral("김관리");
    }

    // A plain database: the start finds no hardening and asks for nothing.
    void plainDatabaseAsksNothing_data() { TestDatabase::addEngineRows(); }
    void plainDatabaseAsksNothing()
    {
        QFETCH(QString, engine);
        KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo, QStringLiteral("fixture"));
        const QString user = engine == QLatin1String("sqlite")
                                     ? QStringLiteral("kesa")
                                     : scalar(tdb.db(), QStringLiteral("SELECT CURRENT_USER"));
        TfrmZZD000 module(launch(tdb, user));
        QVERIFY(module.isConnected());
        QVERIFY(!module.isHardened());
    }

    // A start that cannot learn whether the database is hardened goes no
    // further: the connection closes with its box, and no main window shows.
    void unanswerableCheckEndsTheStart()
    {
        Roles roles;
        KESA_TEST_DATABASE(tdb,
                           QStringLiteral("postgresql"),
                           TestDatabase::Demo,
                           QStringLiteral("fixture"));
        for (const QString &sql :
             {QStringLiteral("GRANT SELECT ON ALL TABLES IN SCHEMA public TO %1"),
              QStringLiteral("REVOKE EXECUTE ON FUNCTION PG_CATALOG.TO_REGCLASS(TEXT) FROM "
                             "PUBLIC --%1")})
            QVERIFY(QSqlQuery(tdb.db()).exec(sql.arg(roles.app)));
        RecordingMessageService boxes;
        TfrmZZD000 module(launch(tdb, roles.app));
        QVERIFY(!module.isConnected());
        QCOMPARE(boxes.texts(RecordingMessageService::Error).size(), 1);
        QVERIFY2(boxes.entries.first().text.contains(QStringLiteral("to_regclass")),
                 qPrintable(boxes.entries.first().text));
        TfrmZ0Main window(module.dbsDB, QStringLiteral("KESA_Z"));
        QVERIFY(!window.showOnStart());
    }

    void signIn_data()
    {
        QTest::addColumn<QStringList>("passwords");
        QTest::addColumn<bool>("lockedBefore");
        QTest::addColumn<bool>("serverGone");
        QTest::addColumn<bool>("signedIn");
        QTest::addColumn<QString>("endBox");
        QTest::addColumn<QString>("attempts");
        const QString a = QStringLiteral("A0001");
        const QString x = QStringLiteral("x");
        QTest::newRow("right") << QStringList{a} << false << false << true << QString()
                               << QStringLiteral("Y");
        QTest::newRow("wrong, then right")
                << QStringList{x, a} << false << false << true << QString() << QStringLiteral("NY");
        QTest::newRow("three wrong") << QStringList{x, x, x, a} << false << false << false
                                     << QStringLiteral("3회") << QStringLiteral("NNN");
        QTest::newRow("empty is not a try")
                << QStringList{QString(), x, QString(), x, x} << false << false << false
                << QStringLiteral("3회") << QStringLiteral("NNN");
        QTest::newRow("cancelled") << QStringList{x, Cancel} << false << false << false
                                   << QStringLiteral("취소") << QStringLiteral("N");
        QTest::newRow("locked out") << QStringList{a} << true << false << false
                                    << QStringLiteral("잠겨") << QStringLiteral("L");
        QTest::newRow("no answer") << QStringList{a} << false << true << false
                                   << QStringLiteral("본인 확인을 할 수 없어") << QString();
    }

    // Three tries; a refused, locked out, cancelled or failed login ends the
    // program with a box saying why, and the session proves nobody.
    void signIn()
    {
        QFETCH(QStringList, passwords);
        QFETCH(bool, lockedBefore);
        QFETCH(bool, serverGone);
        QFETCH(bool, signedIn);
        QFETCH(QString, endBox);
        QFETCH(QString, attempts);
        Roles roles;
        KESA_TEST_DATABASE(tdb,
                           QStringLiteral("postgresql"),
                           TestDatabase::Demo,
                           QStringLiteral("fixture"));
        Hardening::apply(tdb.db(), {roles.owner, roles.app});
        if (lockedBefore)
            QSqlQuery(tdb.db()).exec(
                    QStringLiteral("INSERT INTO KESA_LOGIN_FAIL VALUES ('A0001', 5, "
                                   "CLOCK_TIMESTAMP() + INTERVAL '1 hour')"));
        TfrmZZD000 module(launch(tdb, roles.app));
        QVERIFY(module.isConnected());
        QVERIFY(module.isHardened());
        if (serverGone)
            module.dbsDB.close();

        RecordingMessageService boxes;
        ModalDriver driver([&](QWidget *modal) { answer(modal, passwords); });
        QCOMPARE(LoginBox::signIn(module.dbsDB, login().empNo, login().empName), signedIn);
        QVERIFY(!driver.timedOut());
        QCOMPARE(boxes.texts(RecordingMessageService::Error).size(), signedIn ? 0 : 1);
        if (!signedIn)
            QVERIFY2(boxes.entries.first().text.contains(endBox),
                     qPrintable(boxes.entries.first().text));
        QCOMPARE(scalar(tdb.db(),
                        QStringLiteral("SELECT COALESCE(STRING_AGG(RESULT, '' ORDER BY LOG_SEQ), "
                                       "'') FROM KESA_LOGIN_LOG")),
                 attempts);
        if (!serverGone)
            QCOMPARE(Hardening::verifiedEmployee(module.dbsDB),
                     signedIn ? login().empNo : QString());
    }

    // A screen's write of an authority table: refused by the server on a
    // connection that proved nobody; through the login box and the main
    // window it is saved, and the row and the log name the proven employee.
    void provenEmployeeWrites()
    {
        Roles roles;
        KESA_TEST_DATABASE(tdb,
                           QStringLiteral("postgresql"),
                           TestDatabase::Demo,
                           QStringLiteral("fixture"));
        Hardening::apply(tdb.db(), {roles.owner, roles.app});
        TfrmZZD000 module(launch(tdb, roles.app));
        QVERIFY(module.isHardened());
        RecordingMessageService boxes;
        const QString level = QStringLiteral(
                "SELECT PROJECT_LEVEL || '/' || U_EMP_NO FROM ZA130MS WHERE EMP_NO = 'E1001' "
                "AND PROJECT_ID = 'KESA_G'");
        const QString before = scalar(tdb.db(), level);
        {
            QWidget page;
            auto *screen = new TfrmZAI130(&page);
            screen->setDatabase(module.dbsDB);
            screen->ensureCreated();
            page.resize(1008, 670);
            changeLevel(screen);
            // The save's box, then the failure raised again (as every save failure).
            const QStringList errors = boxes.texts(RecordingMessageService::Error);
            QVERIFY(!errors.isEmpty());
            QVERIFY2(errors.first().startsWith(MessageText::saveFailed())
                             && errors.first().contains(QStringLiteral("본인 확인")),
                     qPrintable(errors.first()));
            QCOMPARE(scalar(tdb.db(), level), before);
            screen->cdsGrid->cancelUpdates();
        }
        boxes.clear();

        ModalDriver driver([](QWidget *modal) { answer(modal, {QStringLiteral("A0001")}); });
        QVERIFY(LoginBox::signIn(module.dbsDB, login().empNo, login().empName));
        TfrmZ0Main window(module.dbsDB, QStringLiteral("KESA_Z"));
        QVERIFY(window.showOnStart());
        window.resize(1100, 800);
        activate(&window);
        QVERIFY(window.OpenProgram(QStringLiteral("사용자별 레벨 등록"), QStringLiteral("ZAI130")));
        auto *screen = window.findChild<TfrmZAI130 *>();
        QVERIFY(screen);
        changeLevel(screen);
        QVERIFY2(boxes.entries.isEmpty(), qPrintable(boxes.allTexts().join(QLatin1Char('\n'))));
        QCOMPARE(screen->statusMessage(), MessageText::saved());
        QCOMPARE(scalar(tdb.db(), level), QStringLiteral("10/A0001"));
        QCOMPARE(scalar(tdb.db(),
                        QStringLiteral("SELECT WRITER_EMP_NO FROM KESA_RIGHTS_LOG ORDER BY "
                                       "LOG_SEQ DESC LIMIT 1")),
                 QStringLiteral("A0001"));
    }

    // The start sends one statement more on a hardened database than on a
    // plain one, the verification: whether the database is hardened rides on
    // a statement the start sends anyway. Counted in the test cluster's server
    // log, which logs every statement of the shared role.
    void oneStatementMoreWhenHardened()
    {
        const QString dir = qEnvironmentVariable("KESA_TEST_PG_DIR");
        if (dir.isEmpty() && !qEnvironmentVariable("KESA_TEST_PG_SERVICE").isEmpty()) {
            // Where PostgreSQL is required, a count that cannot be made fails.
            if (qEnvironmentVariableIntValue("KESA_REQUIRE_PG") != 0)
                QFAIL("the test cluster's folder is unknown (KESA_TEST_PG_DIR)");
            QSKIP("the test cluster's folder is unknown (KESA_TEST_PG_DIR)");
        }
        Roles roles;
        KESA_TEST_DATABASE(tdb,
                           QStringLiteral("postgresql"),
                           TestDatabase::Empty,
                           QStringLiteral("fixture"));
        // The shared role builds the database, as before hardening.
        for (const QString &sql : {QStringLiteral("GRANT CREATE ON DATABASE %1 TO %2"),
                                   QStringLiteral("GRANT CREATE ON SCHEMA public TO %2 --%1"),
                                   QStringLiteral("ALTER ROLE %2 SET LOG_STATEMENT = 'all' --%1")})
            QVERIFY(QSqlQuery(tdb.db()).exec(sql.arg(tdb.db().databaseName(), roles.app)));
        {
            QSqlDatabase app = Database::connect(tdb.alias(),
                                                 roles.app,
                                                 QString(),
                                                 QStringLiteral("builder"));
            Schema::install(app);
            DemoData::load(app, QStringLiteral("KESA"));
        }
        Database::remove(QStringLiteral("builder"));
        const QString log = dir + QStringLiteral("/server.log");

        // What a start sent before there was a login: the connection, the
        // writer declared, the main window.
        const int before = startStatements(tdb, log, [&] {
            QSqlDatabase db = Database::connect(tdb.alias(),
                                                roles.app,
                                                QString(),
                                                QStringLiteral("before"));
            RightsLog::setWriter(db, login().empNo, QString());
            TfrmZ0Main window(db, QStringLiteral("KESA_Z"));
            return window.showOnStart() ? processNumber(db) : QString();
        });
        Database::remove(QStringLiteral("before"));
        const auto start = [&](bool hardened) {
            return [&tdb, &roles, hardened] {
                TfrmZZD000 module(launch(tdb, roles.app));
                if (module.isHardened() != hardened)
                    return QString();
                if (hardened) {
                    ModalDriver driver(
                            [](QWidget *modal) { answer(modal, {QStringLiteral("A0001")}); });
                    if (!LoginBox::signIn(module.dbsDB, login().empNo, login().empName))
                        return QString();
                }
                TfrmZ0Main window(module.dbsDB, QStringLiteral("KESA_Z"));
                return window.showOnStart() ? processNumber(module.dbsDB) : QString();
            };
        };
        const int plain = startStatements(tdb, log, start(false));
        Hardening::apply(tdb.db(), {roles.owner, roles.app});
        const int hardened = startStatements(tdb, log, start(true));
        QVERIFY(before > 0);
        QCOMPARE(plain, before);
        QCOMPARE(hardened, before + 1);
    }

private:
    // The server process of a connection; asked last, so not counted.
    static QString processNumber(const QSqlDatabase &db)
    {
        return scalar(db, QStringLiteral("SELECT PG_BACKEND_PID()"));
    }
    // The statements one start sends (a function that returns the server
    // process of its connection, or nothing when it failed) as the server
    // logged them.
    static int startStatements(const TestDatabase &tdb,
                               const QString &log,
                               const std::function<QString()> &start)
    {
        const qint64 from = scalar(tdb.db(),
                                   QStringLiteral("SELECT SIZE FROM PG_STAT_FILE('%1')").arg(log))
                                    .toLongLong();
        const QString pid = start();
        if (pid.isEmpty())
            return -1;
        const QString text = scalar(tdb.db(),
                                    QStringLiteral("SELECT PG_READ_FILE('%1', %2, 1000000000)")
                                            .arg(log)
                                            .arg(from));
        const QRegularExpression line(QStringLiteral("\\[%1\\] LOG:  (statement|execute)").arg(pid));
        return int(text.count(line)) - 1;
    }

    static QStringList launch(const TestDatabase &tdb, const QString &dbUser)
    {
        return {tdb.alias(), dbUser, login().empNo, login().empName};
    }
    // E1001's level in KESA_G becomes 10, saved with F2.
    static void changeLevel(TfrmZAI130 *screen)
    {
        activate(screen->window());
        screen->cedEmpNo->setFocus();
        screen->cedEmpNo->selectAll();
        type(screen->cedEmpNo, QStringLiteral("E1001"));
        press(Qt::Key_Return);
        QVERIFY(!screen->isSearchMode());
        screen->dedLevel->setFocus();
        screen->dedLevel->selectAll();
        type(screen->dedLevel, QStringLiteral("10"));
        press(Qt::Key_F2);
    }

    QTemporaryDir m_dir;
};

QTEST_MAIN(tst_Login)
#include "tst_login.moc"
