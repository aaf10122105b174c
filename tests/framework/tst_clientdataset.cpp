// The client data set against real tables: packets, states, pending changes and
// the apply, on both engines.
#include "testdatabase.h"

#include "db/clientdataset.h"
#include "db/clientdatasetsql.h"
#include "db/dberror.h"
#include "db/sqlstatement.h"
#include "db/transaction.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

namespace {

const QString ProjectSql = QStringLiteral(
        "SELECT PROJECT_ID, PROJECT_NAME, TEAM_ROLE, U_EMP_NO, U_DATE, U_IP FROM ZA020MS "
        "WHERE PROJECT_ID LIKE :P0 ORDER BY PROJECT_ID");

void addProjects(const QSqlDatabase &db, int count, const QString &prefix = QStringLiteral("P"))
{
    Transaction::run(db, [&] {
        for (int i = 0; i < count; ++i) {
            SqlStatement insert(db,
                                QStringLiteral(
                                        "INSERT INTO ZA020MS (PROJECT_ID, PROJECT_NAME, TEAM_ROLE, "
                                        "U_EMP_NO, U_DATE, U_IP) VALUES (:P0, :P1, :P2, 'E1', "
                                        "SYSDATE, '10.0.0.1')"));
            insert.bind(QStringLiteral("P0"),
                        prefix + QStringLiteral("%1").arg(i, 5, 10, QLatin1Char('0')));
            insert.bind(QStringLiteral("P1"), QStringLiteral("이름 %1").arg(i));
            // Every third role is null: the apply must find such rows too.
            insert.bind(QStringLiteral("P2"),
                        i % 3 == 0 ? QVariant() : QVariant(QStringLiteral("1")));
            insert.exec();
        }
    });
}

QString projectName(const QSqlDatabase &db, const QString &id)
{
    SqlStatement query(db,
                       QStringLiteral("SELECT PROJECT_NAME FROM ZA020MS WHERE PROJECT_ID = :P0"));
    query.bind(QStringLiteral("P0"), id);
    query.open();
    return query.next() ? query.value(0).toString() : QStringLiteral("<none>");
}

int projectCount(const QSqlDatabase &db)
{
    SqlStatement query(db, QStringLiteral("SELECT COUNT(*) FROM ZA020MS"));
    query.open();
    query.next();
    return query.value(0).toInt();
}

// A data set over ZA020MS with a calculated column, as the project screen has.
void prepare(ClientDataSet &cds,
             const QSqlDatabase &db,
             const QString &pattern = QStringLiteral("%"))
{
    cds.setDatabase(db);
    cds.setSql(ProjectSql);
    cds.setParam(QStringLiteral("P0"), pattern);
    cds.addField(DataField(QStringLiteral("TEAM_ROLE_NAME")).setCalculated());
    cds.setCalcFields([&cds](int row) {
        const QString role = cds.value(row, QStringLiteral("TEAM_ROLE")).toString();
        cds.setCalculatedValue(row,
                               QStringLiteral("TEAM_ROLE_NAME"),
                               role.isEmpty() ? QString() : QStringLiteral("역할 ") + role);
    });
}

void setName(ClientDataSet &cds, int row, const QString &name)
{
    cds.moveTo(row);
    cds.edit();
    cds.setValue(QStringLiteral("PROJECT_NAME"), name);
    cds.post();
}

} // namespace

class tst_ClientDataSet : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void statements();
    void packets_data() { TestDatabase::addEngineRows(); }
    void packets();
    void editingStates_data() { TestDatabase::addEngineRows(); }
    void editingStates();
    void applyWritesEveryKindOfChange_data() { TestDatabase::addEngineRows(); }
    void applyWritesEveryKindOfChange();
    void cancelUpdatesRestoresRowsAsRead_data() { TestDatabase::addEngineRows(); }
    void cancelUpdatesRestoresRowsAsRead();
    void concurrentEditFailsAndKeepsChanges_data();
    void concurrentEditFailsAndKeepsChanges();
    void serverErrorRollsBackWholeApply_data() { TestDatabase::addEngineRows(); }
    void serverErrorRollsBackWholeApply();
    void emptyTextOriginalsAreFound_data() { TestDatabase::addEngineRows(); }
    void emptyTextOriginalsAreFound();
};

void tst_ClientDataSet::statements()
{
    QCOMPARE(ClientDataSetSql::tableOf(ProjectSql), QStringLiteral("ZA020MS"));
    QCOMPARE(ClientDataSetSql::paged(QStringLiteral("SELECT 1 -- x\n;"), DbEngine::SQLite, 100, -1),
             QStringLiteral("SELECT 1 -- x\nLIMIT -1 OFFSET 100"));
    QCOMPARE(ClientDataSetSql::paged(QStringLiteral("SELECT 1"), DbEngine::PostgreSQL, 0, -1),
             QStringLiteral("SELECT 1\nLIMIT ALL OFFSET 0"));

    // A null of another type is found with IS NULL, null or empty text as either
    // (rows other modules write hold ''); values travel as they are.
    const auto update = ClientDataSetSql::updateRow(QStringLiteral("T"),
                                                    {QStringLiteral("A")},
                                                    {QStringLiteral("x")},
                                                    {QStringLiteral("A"),
                                                     QStringLiteral("B"),
                                                     QStringLiteral("C")},
                                                    {QVariant(), QString(), 0.1});
    QCOMPARE(update.sql,
             QStringLiteral("UPDATE T SET A = :P0 WHERE A IS NULL AND (B IS NULL OR B = '') "
                            "AND C = :P1"));
    QCOMPARE(update.values, (QVariantList{QStringLiteral("x"), 0.1}));
    // Given the text of a row of the same shape, only the values are built.
    const auto next = ClientDataSetSql::updateRow(QStringLiteral("T"),
                                                  {QStringLiteral("A")},
                                                  {QStringLiteral("y")},
                                                  {QStringLiteral("A"),
                                                   QStringLiteral("B"),
                                                   QStringLiteral("C")},
                                                  {QVariant(), QString(), 7},
                                                  update.sql);
    QCOMPARE(next.sql, update.sql);
    QCOMPARE(next.values, (QVariantList{QStringLiteral("y"), 7}));
}

void tst_ClientDataSet::packets()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    addProjects(tdb.db(), 250);

    // No model tester here until the end: it reads every packet it can.
    ClientDataSet cds;
    prepare(cds, tdb.db());
    cds.open();
    QCOMPARE(cds.recordCount(), 100);
    QVERIFY(cds.canFetchMore());
    QCOMPARE(cds.currentRow(), 0);
    QCOMPARE(cds.field(0).name(), QStringLiteral("TEAM_ROLE_NAME"));
    QCOMPARE(cds.text(QStringLiteral("TEAM_ROLE_NAME")), QString());
    QCOMPARE(cds.value(1, QStringLiteral("TEAM_ROLE_NAME")).toString(), QStringLiteral("역할 1"));

    // Moving past the rows read reads the next packet, in the statement's order.
    cds.moveTo(99);
    cds.next();
    QCOMPARE(cds.recordCount(), 200);
    QCOMPARE(cds.currentRow(), 100);
    QCOMPARE(cds.text(QStringLiteral("PROJECT_ID")), QStringLiteral("P00100"));

    cds.fetchMore(); // as a view asks
    QCOMPARE(cds.recordCount(), 250);
    QVERIFY(!cds.canFetchMore());

    cds.close();
    cds.open();
    cds.last();
    QCOMPARE(cds.recordCount(), 250);
    QCOMPARE(cds.text(QStringLiteral("PROJECT_ID")), QStringLiteral("P00249"));

    // An empty result: no current row, nothing to fetch.
    cds.setParam(QStringLiteral("P0"), QStringLiteral("NONE%"));
    cds.open();
    QVERIFY(cds.isEmpty());
    QCOMPARE(cds.currentRow(), -1);
    QVERIFY(!cds.canFetchMore());
    cds.next();
    QCOMPARE(cds.currentRow(), -1);

    cds.setParam(QStringLiteral("P0"), QStringLiteral("%"));
    cds.open();
    QAbstractItemModelTester tester(&cds, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(cds.recordCount(), 250);
}

void tst_ClientDataSet::editingStates()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    addProjects(tdb.db(), 3);

    ClientDataSet cds;
    QAbstractItemModelTester tester(&cds, QAbstractItemModelTester::FailureReportingMode::QtTest);
    prepare(cds, tdb.db());
    int scrolls = 0;
    cds.setAfterScroll([&] { ++scrolls; });
    cds.open();

    // An edit that changes nothing leaves nothing pending.
    cds.edit();
    cds.setValue(QStringLiteral("PROJECT_NAME"), cds.value(QStringLiteral("PROJECT_NAME")));
    cds.post();
    QCOMPARE(cds.changeCount(), 0);

    // A refused post keeps the row in edit with the typed value.
    bool refuse = true;
    cds.setBeforePost([&] {
        if (refuse)
            throw DbError(QStringLiteral("refused"));
    });
    cds.edit();
    cds.setValue(QStringLiteral("PROJECT_NAME"), QStringLiteral("바뀐 이름"));
    QVERIFY_THROWS_EXCEPTION(DbError, cds.next());
    QCOMPARE(cds.state(), ClientDataSet::State::Edit);
    QCOMPARE(cds.currentRow(), 0);
    QCOMPARE(scrolls, 0);
    refuse = false;
    cds.next();
    QCOMPARE(cds.state(), ClientDataSet::State::Browse);
    QCOMPARE(scrolls, 1);
    QCOMPARE(cds.rowStatus(0), ClientDataSet::RowStatus::Modified);
    QCOMPARE(cds.originalValue(0, cds.fieldIndex(QStringLiteral("PROJECT_NAME"))).toString(),
             QStringLiteral("이름 0"));

    // A new row nobody typed in is dropped when the cursor leaves it.
    cds.insert();
    QCOMPARE(cds.recordCount(), 4);
    QCOMPARE(cds.changeCount(), 1); // the row being inserted is not counted yet
    cds.moveTo(3);
    QCOMPARE(cds.recordCount(), 3);
    QCOMPARE(cds.currentRow(), 2);

    // Required fields must have a value when posted.
    cds.close();
    cds.clearFields();
    cds.addField(DataField(QStringLiteral("PROJECT_ID")).setRequired());
    cds.addField(DataField(QStringLiteral("U_DATE"), DataField::DateTime));
    cds.open();

    // Typed text is converted to the field's type; a value that is none fails.
    cds.edit();
    QVERIFY_THROWS_EXCEPTION(DbError,
                             cds.setValue(QStringLiteral("U_DATE"), QStringLiteral("어제")));
    cds.setValue(QStringLiteral("U_DATE"), QStringLiteral("2024-01-02 03:04:05"));
    QCOMPARE(cds.value(QStringLiteral("U_DATE")).toDateTime(),
             QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5)));
    cds.cancel();

    cds.insert();
    cds.setValue(QStringLiteral("PROJECT_NAME"), QStringLiteral("새"));
    QVERIFY_THROWS_EXCEPTION(DbError, cds.post());
    QCOMPARE(cds.state(), ClientDataSet::State::Insert);
    cds.cancel();
    QCOMPARE(cds.recordCount(), 3);
    QCOMPARE(cds.changeCount(), 0);
}

void tst_ClientDataSet::applyWritesEveryKindOfChange()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    addProjects(tdb.db(), 6);

    ClientDataSet cds;
    QAbstractItemModelTester tester(&cds, QAbstractItemModelTester::FailureReportingMode::QtTest);
    prepare(cds, tdb.db());
    cds.open();

    setName(cds, 0, QStringLiteral("널 역할 수정")); // TEAM_ROLE is null in row 0
    setName(cds, 1, QStringLiteral("수정"));
    // Same originals found with IS NULL as row 1, another column set: another statement.
    cds.moveTo(2);
    cds.edit();
    cds.setValue(QStringLiteral("TEAM_ROLE"), QStringLiteral("2"));
    cds.post();
    cds.moveTo(3); // role null again
    cds.deleteRecord();
    cds.moveTo(3); // now P00004
    cds.deleteRecord();
    cds.insert();
    cds.setValue(QStringLiteral("PROJECT_ID"), QStringLiteral("NEW001"));
    cds.setValue(QStringLiteral("PROJECT_NAME"), QStringLiteral("새 프로젝트"));
    cds.setValue(QStringLiteral("U_DATE"), QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)));
    // Deleting a new row leaves no trace; a second new row stays in edit until the apply posts it.
    cds.insert();
    cds.setValue(QStringLiteral("PROJECT_ID"), QStringLiteral("GONE01"));
    cds.post();
    cds.deleteRecord();
    cds.append();
    cds.setValue(QStringLiteral("PROJECT_ID"), QStringLiteral("NEW002"));
    QCOMPARE(cds.changeCount(), 6);

    cds.applyUpdates();
    QCOMPARE(cds.changeCount(), 0);
    QCOMPARE(cds.state(), ClientDataSet::State::Browse);
    const QSqlDatabase db = tdb.db();
    QCOMPARE(projectName(db, QStringLiteral("P00000")), QStringLiteral("널 역할 수정"));
    QCOMPARE(projectName(db, QStringLiteral("P00001")), QStringLiteral("수정"));
    QCOMPARE(projectName(db, QStringLiteral("P00002")), QStringLiteral("이름 2"));
    SqlStatement role(db,
                      QStringLiteral("SELECT TEAM_ROLE FROM ZA020MS WHERE PROJECT_ID = 'P00002'"));
    role.open();
    QVERIFY(role.next());
    QCOMPARE(role.value(0).toString(), QStringLiteral("2"));
    QCOMPARE(projectName(db, QStringLiteral("P00003")), QStringLiteral("<none>"));
    QCOMPARE(projectName(db, QStringLiteral("P00004")), QStringLiteral("<none>"));
    QCOMPARE(projectName(db, QStringLiteral("NEW001")), QStringLiteral("새 프로젝트"));
    QCOMPARE(projectName(db, QStringLiteral("GONE01")), QStringLiteral("<none>"));
    QCOMPARE(projectCount(db), 6);

    // The rows as stored match what the data set holds: a second round of edits applies.
    cds.open();
    const int row = 0; // NEW001 sorts first
    QCOMPARE(cds.value(row, QStringLiteral("PROJECT_ID")).toString(), QStringLiteral("NEW001"));
    QCOMPARE(cds.value(row, QStringLiteral("U_DATE")).toString().isEmpty(), false);
    setName(cds, row, QStringLiteral("두 번째"));
    cds.applyUpdates();
    QCOMPARE(projectName(db, QStringLiteral("NEW001")), QStringLiteral("두 번째"));
}

void tst_ClientDataSet::cancelUpdatesRestoresRowsAsRead()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    addProjects(tdb.db(), 5);

    ClientDataSet cds;
    QAbstractItemModelTester tester(&cds, QAbstractItemModelTester::FailureReportingMode::QtTest);
    prepare(cds, tdb.db());
    cds.open();
    setName(cds, 2, QStringLiteral("수정"));
    cds.moveTo(1);
    cds.deleteRecord();
    cds.moveTo(1); // the modified row, deleted with its original values
    cds.deleteRecord();
    cds.insert();
    cds.setValue(QStringLiteral("PROJECT_ID"), QStringLiteral("NEW001"));
    cds.post();
    QCOMPARE(cds.changeCount(), 3);

    cds.cancelUpdates();
    QCOMPARE(cds.changeCount(), 0);
    QCOMPARE(cds.recordCount(), 5);
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(cds.value(i, QStringLiteral("PROJECT_ID")).toString(),
                 QStringLiteral("P0000%1").arg(i));
        QCOMPARE(cds.value(i, QStringLiteral("PROJECT_NAME")).toString(),
                 QStringLiteral("이름 %1").arg(i));
    }
}

void tst_ClientDataSet::concurrentEditFailsAndKeepsChanges_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<bool>("deleteSecond");
    for (QTestData *row : TestDatabase::newRows(QStringLiteral("update")))
        *row << false;
    for (QTestData *row : TestDatabase::newRows(QStringLiteral("delete")))
        *row << true;
}

void tst_ClientDataSet::concurrentEditFailsAndKeepsChanges()
{
    QFETCH(QString, engine);
    QFETCH(bool, deleteSecond);
    KESA_TEST_DATABASE(tdb, engine);
    addProjects(tdb.db(), 3);
    const QSqlDatabase other = tdb.openAnother(QStringLiteral("other"));

    ClientDataSet first;
    ClientDataSet second;
    prepare(first, tdb.db());
    prepare(second, other);
    first.open();
    second.open();

    setName(first, 1, QStringLiteral("첫 번째 사용자"));
    first.applyUpdates();

    setName(second, 0, QStringLiteral("먼저 바뀐 행")); // an untouched row, written first
    if (deleteSecond) {
        second.moveTo(1);
        second.deleteRecord();
    } else {
        setName(second, 1, QStringLiteral("두 번째 사용자"));
    }
    QCOMPARE(second.changeCount(), 2);
    try {
        second.applyUpdates();
        QFAIL("the second apply must fail");
    } catch (const DbError &error) {
        QCOMPARE(error.message(), ClientDataSet::rowChangedText());
    }
    QCOMPARE(projectName(tdb.db(), QStringLiteral("P00001")), QStringLiteral("첫 번째 사용자"));
    QCOMPARE(projectName(tdb.db(), QStringLiteral("P00000")), QStringLiteral("이름 0"));
    QCOMPARE(second.changeCount(), 2);
    QCOMPARE(second.value(0, QStringLiteral("PROJECT_NAME")).toString(),
             QStringLiteral("먼저 바뀐 행"));
    QVERIFY(!Transaction::isActive(other));

    // After reading the row again the same user can save.
    second.cancelUpdates();
    second.open();
    setName(second, 1, QStringLiteral("두 번째 사용자"));
    second.applyUpdates();
    QCOMPARE(projectName(tdb.db(), QStringLiteral("P00001")), QStringLiteral("두 번째 사용자"));
}

void tst_ClientDataSet::serverErrorRollsBackWholeApply()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    addProjects(tdb.db(), 2);

    ClientDataSet cds;
    prepare(cds, tdb.db());
    cds.open();
    setName(cds, 0, QStringLiteral("수정"));
    cds.insert();
    cds.setValue(QStringLiteral("PROJECT_ID"), QStringLiteral("P00001")); // the key exists
    cds.post();
    try {
        cds.applyUpdates();
        QFAIL("a duplicate key must fail");
    } catch (const DbError &error) {
        // The server's own text reaches the caller.
        const QString text = error.message().toLower();
        QVERIFY2(text.contains(QLatin1String("unique")) || text.contains(QLatin1String("duplicate")),
                 qPrintable(error.message()));
    }
    QCOMPARE(projectName(tdb.db(), QStringLiteral("P00000")), QStringLiteral("이름 0"));
    QCOMPARE(cds.changeCount(), 2);
    QVERIFY(!Transaction::isActive(tdb.db()));
}

// Rows written by plain SQL with '' (not NULL) in text columns: an update and a
// delete through the data set find them, and a NULL beside them as well.
void tst_ClientDataSet::emptyTextOriginalsAreFound()
{
    QFETCH(QString, engine);
    KESA_TEST_DATABASE(tdb, engine);
    const QSqlDatabase db = tdb.db();
    for (const QString &values : {QStringLiteral("'E00001', '', '', '', NULL, ''"),
                                  QStringLiteral("'E00002', '빈 값', '', NULL, NULL, ''"),
                                  QStringLiteral("'E00003', NULL, NULL, NULL, NULL, NULL")}) {
        QSqlQuery insert(db);
        QVERIFY2(insert.exec(QStringLiteral("INSERT INTO ZA020MS (PROJECT_ID, PROJECT_NAME, "
                                            "TEAM_ROLE, U_EMP_NO, U_DATE, U_IP) VALUES (%1)")
                                     .arg(values)),
                 qPrintable(insert.lastError().text()));
    }
    ClientDataSet cds;
    prepare(cds, db, QStringLiteral("E%"));
    cds.open();
    QCOMPARE(cds.rowCount(), 3);
    setName(cds, 0, QStringLiteral("고친 이름"));
    setName(cds, 2, QStringLiteral("널이던 이름"));
    cds.moveTo(1);
    cds.deleteRecord();
    cds.applyUpdates();
    QCOMPARE(projectName(db, QStringLiteral("E00001")), QStringLiteral("고친 이름"));
    QCOMPARE(projectName(db, QStringLiteral("E00002")), QStringLiteral("<none>"));
    QCOMPARE(projectName(db, QStringLiteral("E00003")), QStringLiteral("널이던 이름"));
}

QTEST_MAIN(tst_ClientDataSet)
#include "tst_clientdataset.moc"
