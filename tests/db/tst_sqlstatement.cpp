#include "db/clientdataset.h"
#include "db/dberror.h"
#include "db/sqlstatement.h"
#include "db/transaction.h"
#include "testdatabase.h"

#include <QtTest>

class tst_SqlStatement : public QObject
{
    Q_OBJECT

private:
    static QVariant scalar(const QSqlDatabase &db, const QString &sql, const QVariantMap &binds = {})
    {
        SqlStatement q(db, sql);
        for (auto it = binds.cbegin(); it != binds.cend(); ++it)
            q.bind(it.key(), it.value());
        q.open();
        return q.next() ? q.value(0) : QVariant();
    }

    static void insertCode(const QSqlDatabase &db, const QString &detail, const QVariant &name)
    {
        SqlStatement q(db,
                       QStringLiteral("INSERT INTO ZX010MS (HEAD, DETAIL, DETAIL_NAME) "
                                      "VALUES ('T0001', :P0, :P1)"));
        q.bind(QStringLiteral(":P0"), detail);
        q.bind(QStringLiteral("P1"), name);
        QCOMPARE(q.exec(), 1);
    }

private Q_SLOTS:
    void repeatedParameterTakesOneValue_data() { TestDatabase::addEngineRows(); }
    void repeatedParameterTakesOneValue()
    {
        QFETCH(QString, engine);
        KESA_TEST_DATABASE(tdb, engine);
        QCOMPARE(scalar(tdb.db(),
                        QStringLiteral("SELECT :P0 || '-' || :P1 || '-' || :P0 FROM DUAL"),
                        {{"P0", "가"}, {"P1", "b"}})
                         .toString(),
                 QStringLiteral("가-b-가"));
        // A colon inside a quoted text is not a parameter; a "::" cast is none either.
        QCOMPARE(scalar(tdb.db(), QStringLiteral("SELECT ':P9' || :P0 FROM DUAL"), {{"P0", "x"}})
                         .toString(),
                 QStringLiteral(":P9x"));
    }

    void missingBindingIsAnError_data() { TestDatabase::addEngineRows(); }
    void missingBindingIsAnError()
    {
        QFETCH(QString, engine);
        KESA_TEST_DATABASE(tdb, engine);
        SqlStatement q(tdb.db(), QStringLiteral("SELECT :P0, :P1 FROM DUAL"));
        q.bind(QStringLiteral("P0"), 1);
        QVERIFY_THROWS_EXCEPTION(DbError, q.open());
    }

    // Empty text is null, as on the original server; "P0 IS NULL" needs the cast
    // on PostgreSQL and works on both with it.
    void emptyTextIsNull_data()
    {
        TestDatabase::addEngineColumn();
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("isNull");
        for (auto *r : TestDatabase::newRows(QStringLiteral("empty")))
            *r << QVariant(QString()) << true;
        for (auto *r : TestDatabase::newRows(QStringLiteral("empty-not-null")))
            *r << QVariant(QStringLiteral("")) << true;
        for (auto *r : TestDatabase::newRows(QStringLiteral("invalid")))
            *r << QVariant() << true;
        for (auto *r : TestDatabase::newRows(QStringLiteral("blank")))
            *r << QVariant(QStringLiteral(" ")) << false;
        for (auto *r : TestDatabase::newRows(QStringLiteral("text")))
            *r << QVariant(QStringLiteral("A0001")) << false;
    }
    void emptyTextIsNull()
    {
        QFETCH(QString, engine);
        QFETCH(QVariant, value);
        QFETCH(bool, isNull);
        KESA_TEST_DATABASE(tdb, engine);
        const QString test = QStringLiteral("SELECT CASE WHEN CAST(:P0 AS VARCHAR(10)) IS NULL "
                                            "THEN 'Y' ELSE 'N' END FROM DUAL");
        QCOMPARE(scalar(tdb.db(), test, {{"P0", value}}).toString(),
                 QString(isNull ? QStringLiteral("Y") : QStringLiteral("N")));
        insertCode(tdb.db(), QStringLiteral("X"), value);
        QCOMPARE(scalar(tdb.db(),
                        QStringLiteral("SELECT COUNT(*) FROM ZX010MS WHERE DETAIL_NAME IS NULL"))
                         .toInt(),
                 isNull ? 1 : 0);
    }

    void oneBlankDetailIsKept_data() { TestDatabase::addEngineRows(); }
    void oneBlankDetailIsKept()
    {
        QFETCH(QString, engine);
        KESA_TEST_DATABASE(tdb, engine);
        insertCode(tdb.db(), QStringLiteral(" "), QStringLiteral("시험 분류"));
        insertCode(tdb.db(), QStringLiteral("01 "), QStringLiteral("끝 공백"));
        QCOMPARE(scalar(tdb.db(),
                        QStringLiteral("SELECT DETAIL_NAME FROM ZX010MS "
                                       "WHERE HEAD = 'T0001' AND DETAIL = ' '"))
                         .toString(),
                 QStringLiteral("시험 분류"));
        QCOMPARE(scalar(tdb.db(),
                        QStringLiteral("SELECT DETAIL FROM ZX010MS "
                                       "WHERE HEAD = 'T0001' AND DETAIL <> ' '"))
                         .toString(),
                 QStringLiteral("01 "));
        QCOMPARE(scalar(tdb.db(),
                        QStringLiteral("SELECT DETAIL FROM ZX010MS WHERE DETAIL = :P0"),
                        {{"P0", " "}})
                         .toString(),
                 QStringLiteral(" "));
    }

    void valuesAreStoredVerbatim_data()
    {
        TestDatabase::addEngineColumn();
        QTest::addColumn<QString>("value");
        const QStringList values = {QStringLiteral("O'Brien"),
                                    QStringLiteral("a -- b"),
                                    QStringLiteral("x'; DROP TABLE ZX010MS; --"),
                                    QStringLiteral("역\\슬래시 \\' :P1 ?"),
                                    QStringLiteral("  앞뒤 공백  "),
                                    QStringLiteral("\"인용\"")};
        for (int i = 0; i < values.size(); ++i) {
            for (auto *r : TestDatabase::newRows(QString::number(i)))
                *r << values.at(i);
        }
    }
    void valuesAreStoredVerbatim()
    {
        QFETCH(QString, engine);
        QFETCH(QString, value);
        KESA_TEST_DATABASE(tdb, engine);
        insertCode(tdb.db(), QStringLiteral("V"), value);
        QCOMPARE(scalar(tdb.db(),
                        QStringLiteral("SELECT DETAIL_NAME FROM ZX010MS WHERE DETAIL = 'V'"))
                         .toString(),
                 value);
        QCOMPARE(scalar(tdb.db(),
                        QStringLiteral("SELECT COUNT(*) FROM ZX010MS WHERE DETAIL_NAME = :P0"),
                        {{"P0", value}})
                         .toInt(),
                 1);
    }

    void errorsCarryTheServerCode_data()
    {
        TestDatabase::addEngineColumn();
        QTest::addColumn<QString>("code");
        QTest::newRow("sqlite") << QStringLiteral("sqlite") << QStringLiteral("1555");
        QTest::newRow("postgresql") << QStringLiteral("postgresql") << QStringLiteral("23505");
    }
    void errorsCarryTheServerCode()
    {
        QFETCH(QString, engine);
        QFETCH(QString, code);
        KESA_TEST_DATABASE(tdb, engine);
        insertCode(tdb.db(), QStringLiteral("D"), QStringLiteral("하나"));
        try {
            insertCode(tdb.db(), QStringLiteral("D"), QStringLiteral("둘"));
            QFAIL("duplicate key accepted");
        } catch (const DbError &e) {
            QCOMPARE(e.code(), code);
            QVERIFY2(e.message().contains(code), qPrintable(e.message()));
        }
        SqlStatement bad(tdb.db(), QStringLiteral("SELECT NOPE FROM DUAL"));
        QVERIFY_THROWS_EXCEPTION(DbError, bad.open());
    }

    // A forward-only read (SQLite: straight from the engine) gives every value
    // with the type and content a scrollable read through the driver gives.
    void forwardOnlyReadsTheSameValues_data() { TestDatabase::addEngineRows(); }
    void forwardOnlyReadsTheSameValues()
    {
        QFETCH(QString, engine);
        KESA_TEST_DATABASE(tdb, engine);
        const QString sql = QStringLiteral(
                "SELECT 1 AS N, -9007199254740993 AS B, 2.5 AS R, 'abc' AS T, '한글 é 😀' AS H, '' "
                "AS E, "
                "NULL AS Z, CAST(2 AS SMALLINT) AS S, CAST('ab' AS CHAR(4)) AS C FROM DUAL "
                "WHERE :P0 > 1.25 "
                "UNION ALL SELECT NULL, 0, -0.125, NULL, ' ', NULL, NULL, NULL, NULL FROM DUAL "
                "UNION ALL SELECT -7, 9223372036854775807, 1e300, 'x''y', '뷁', 'Z', NULL, "
                "CAST(-3 AS SMALLINT), CAST('가' AS CHAR(4)) FROM DUAL");
        const auto read = [&](bool forwardOnly, QList<QVariantList> &rows) {
            SqlStatement q(tdb.db(), sql);
            q.bind(QStringLiteral("P0"), 1.5); // a bound real on SQLite
            q.setForwardOnly(forwardOnly);
            q.open();
            while (q.next()) {
                QVariantList row;
                for (int column = 0; column < q.columnCount(); ++column)
                    row.append(q.value(column));
                row.append(q.value(QStringLiteral("h")));
                rows.append(row);
            }
            QVERIFY(!q.next()); // stays at the end
        };
        QList<QVariantList> expected;
        QList<QVariantList> actual;
        read(false, expected);
        read(true, actual);
        QCOMPARE(expected.size(), 3);
        QCOMPARE(actual.size(), expected.size());
        for (qsizetype row = 0; row < expected.size(); ++row) {
            for (qsizetype column = 0; column < expected.at(row).size(); ++column) {
                const QVariant &want = expected.at(row).at(column);
                const QVariant &got = actual.at(row).at(column);
                const QByteArray where = QByteArray::number(row) + '/' + QByteArray::number(column);
                QVERIFY2(got.metaType() == want.metaType(), where + ' ' + got.typeName());
                QVERIFY2(got.isNull() == want.isNull() && got == want, where);
            }
        }

        SqlStatement empty(tdb.db(), QStringLiteral("SELECT 1 FROM DUAL WHERE 1 = 0"));
        empty.setForwardOnly(true);
        empty.open();
        QVERIFY(!empty.next());
        QVERIFY(!empty.next());

        // An error on a later row is thrown, not taken for the end of the rows.
        SqlStatement failing(tdb.db(),
                             QStringLiteral("SELECT ABS(V) FROM (SELECT 1 AS V FROM DUAL UNION ALL "
                                            "SELECT -9223372036854775807 - 1 FROM DUAL) T"));
        failing.setForwardOnly(true);
        QVERIFY_THROWS_EXCEPTION(DbError, {
            failing.open();
            while (failing.next()) {
            }
        });
    }

    // UNION ALL and EXCEPT have equal precedence, left to right, distinct rows.
    void compoundIsEvaluatedLeftToRight_data() { TestDatabase::addEngineRows(); }
    void compoundIsEvaluatedLeftToRight()
    {
        QFETCH(QString, engine);
        KESA_TEST_DATABASE(tdb, engine);
        SqlStatement q(tdb.db(),
                       QStringLiteral("SELECT 'A' X FROM DUAL UNION ALL SELECT 'B' FROM DUAL UNION "
                                      "ALL SELECT 'B' FROM DUAL "
                                      "EXCEPT SELECT 'A' FROM DUAL ORDER BY 1"));
        q.open();
        QStringList rows;
        while (q.next())
            rows << q.value(0).toString();
        QCOMPARE(rows, QStringList{QStringLiteral("B")});
        QCOMPARE(q.columnName(0), QStringLiteral("X"));
    }

    // LIKE matches letters as stored, on SQLite as on PostgreSQL.
    void likeKeepsCase_data() { TestDatabase::addEngineRows(); }
    void likeKeepsCase()
    {
        QFETCH(QString, engine);
        KESA_TEST_DATABASE(tdb, engine);
        insertCode(tdb.db(), QStringLiteral("abc"), QStringLiteral("x"));
        insertCode(tdb.db(), QStringLiteral("ABD"), QStringLiteral("y"));
        SqlStatement q(tdb.db(),
                       QStringLiteral("SELECT DETAIL FROM ZX010MS WHERE DETAIL LIKE :P0 || '%'"));
        q.bind(QStringLiteral("P0"), QStringLiteral("AB"));
        q.open();
        QStringList found;
        while (q.next())
            found << q.value(0).toString();
        QCOMPARE(found, QStringList{QStringLiteral("ABD")});
    }

    void failedTransactionRollsBackAndConnectionGoesOn_data() { TestDatabase::addEngineRows(); }
    void failedTransactionRollsBackAndConnectionGoesOn()
    {
        QFETCH(QString, engine);
        KESA_TEST_DATABASE(tdb, engine);
        const QSqlDatabase db = tdb.db();
        QVERIFY_THROWS_EXCEPTION(DbError, Transaction::run(db, [&] {
                                     insertCode(db, QStringLiteral("1"), QStringLiteral("a"));
                                     insertCode(db, QStringLiteral("1"), QStringLiteral("b"));
                                 }));
        QVERIFY(!Transaction::isActive(db));
        QCOMPARE(scalar(db, QStringLiteral("SELECT COUNT(*) FROM ZX010MS")).toInt(), 0);

        // An inner guard never ends the outer transaction: its commit keeps the
        // outer one open, and a failure after it undoes the inner work too.
        QVERIFY_THROWS_EXCEPTION(DbError, Transaction::run(db, [&] {
                                     insertCode(db, QStringLiteral("2"), QStringLiteral("c"));
                                     Transaction::run(db, [&] {
                                         insertCode(db, QStringLiteral("3"), QStringLiteral("d"));
                                     });
                                     QVERIFY(Transaction::isActive(db));
                                     ClientDataSet data;
                                     data.setDatabase(db);
                                     data.setSql(QStringLiteral(
                                             "SELECT HEAD, DETAIL, DETAIL_NAME FROM ZX010MS "
                                             "ORDER BY HEAD, DETAIL"));
                                     data.open();
                                     data.append();
                                     data.setValue(QStringLiteral("HEAD"), QStringLiteral("T0001"));
                                     data.setValue(QStringLiteral("DETAIL"), QStringLiteral("4"));
                                     data.applyUpdates();
                                     QVERIFY(Transaction::isActive(db));
                                     throw DbError(QStringLiteral("stop"));
                                 }));
        QVERIFY(!Transaction::isActive(db));
        QCOMPARE(scalar(db, QStringLiteral("SELECT COUNT(*) FROM ZX010MS")).toInt(), 0);

        // An inner failure goes back to where the inner guard began; the outer
        // transaction goes on (on PostgreSQL too, after the failed statement).
        Transaction outer(db);
        QVERIFY(outer.started());
        insertCode(db, QStringLiteral("5"), QStringLiteral("e"));
        QVERIFY_THROWS_EXCEPTION(DbError, Transaction::run(db, [&] {
                                     Transaction inner(db);
                                     QVERIFY(!inner.started());
                                     insertCode(db, QStringLiteral("6"), QStringLiteral("f"));
                                     insertCode(db, QStringLiteral("5"), QStringLiteral("g"));
                                 }));
        QVERIFY(Transaction::isActive(db));
        insertCode(db, QStringLiteral("7"), QStringLiteral("h"));
        outer.commit();
        QVERIFY(!Transaction::isActive(db));
        QCOMPARE(scalar(db,
                        QStringLiteral("SELECT COUNT(*) FROM ZX010MS WHERE DETAIL IN ('5', '7')"))
                         .toInt(),
                 2);
        QCOMPARE(scalar(db, QStringLiteral("SELECT COUNT(*) FROM ZX010MS")).toInt(), 2);

        // A guard left by an exception rolls back.
        try {
            Transaction tx(db);
            insertCode(db, QStringLiteral("8"), QStringLiteral("i"));
            throw DbError(QStringLiteral("stop"));
        } catch (const DbError &) {
        }
        QCOMPARE(scalar(db, QStringLiteral("SELECT COUNT(*) FROM ZX010MS")).toInt(), 2);
    }
};

QTEST_GUILESS_MAIN(tst_SqlStatement)
#include "tst_sqlstatement.moc"
