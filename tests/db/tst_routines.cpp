#include "db/database.h"
#include "db/dberror.h"
#include "db/servercipher.h"
#include "db/sqlstatement.h"
#include "db/storedprocedure.h"
#include "testdatabase.h"

#include <QtTest>

static QVariant scalar(const QSqlDatabase &db, const QString &sql, const QVariant &p0 = QVariant())
{
    SqlStatement q(db, sql);
    if (sql.contains(QLatin1String(":P0")))
        q.bind(QStringLiteral("P0"), p0);
    q.open();
    return q.next() ? q.value(0) : QVariant();
}

static void callProc(const QSqlDatabase &db, const QString &name, const QVariantList &args)
{
    StoredProcedure proc(db, name);
    proc.setParams(args);
    proc.execProc();
}

static void holiday(const QSqlDatabase &db,
                    const QString &date,
                    const QString &name,
                    const QString &fixed,
                    const QString &action)
{
    callProc(db,
             QStringLiteral("PR_ZX010MS_11"),
             {date, name, fixed, action, QStringLiteral("A0001"), QStringLiteral("10.0.0.7")});
}

class tst_Routines : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void passwordRoundTrip_data()
    {
        TestDatabase::addEngineColumn();
        QTest::addColumn<QString>("plain");
        const QStringList values = {QStringLiteral("A0001"),
                                    QStringLiteral("비밀번호123"),
                                    QStringLiteral("it's -- ;"),
                                    QStringLiteral("0123456789abcdef"),
                                    QStringLiteral(" ")};
        for (const QString &v : values) {
            for (auto *r : TestDatabase::newRows(v))
                *r << v;
        }
    }
    void passwordRoundTrip()
    {
        QFETCH(QString, engine);
        QFETCH(QString, plain);
        KESA_TEST_DATABASE(tdb, engine);
        const QString code = scalar(tdb.db(),
                                    QStringLiteral("SELECT FN_ZA010MS_01(:P0, 'RoTa') FROM DUAL"),
                                    plain)
                                     .toString();
        QVERIFY(!code.isEmpty());
        QVERIFY(!code.contains(plain));
        // Both engines store the same code for the same password.
        QCOMPARE(code, ServerCipher::encode(plain, QStringLiteral("RoTa")));
        QCOMPARE(scalar(tdb.db(),
                        QStringLiteral("SELECT FN_ZA010MS_02(:P0, 'RoTa') FROM DUAL"),
                        code)
                         .toString(),
                 plain);
        // A wrong key or a damaged code gives no password.
        QVERIFY(scalar(tdb.db(), QStringLiteral("SELECT FN_ZA010MS_02(:P0, 'rota') FROM DUAL"), code)
                        .toString()
                != plain);
        QVERIFY(scalar(tdb.db(),
                       QStringLiteral("SELECT FN_ZA010MS_02(:P0, 'RoTa') FROM DUAL"),
                       QStringLiteral("XYZ"))
                        .isNull());
    }

    void dateFormats_data()
    {
        TestDatabase::addEngineColumn();
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");
        const auto add =
                [](const char *tag, const char *stored, const char *format, const char *expected) {
                    for (auto *r : TestDatabase::newRows(QString::fromLatin1(tag)))
                        *r << QString::fromUtf8(stored) << QString::fromUtf8(format)
                           << QString::fromUtf8(expected);
                };
        add("afternoon", "2007-03-01 14:05:09", "YYYY-MM-DD AMHH:MI:SS", "2007-03-01 오후02:05:09");
        add("morning", "2007-03-01 09:05:09", "YYYY-MM-DD AMHH:MI:SS", "2007-03-01 오전09:05:09");
        add("midnight", "2007-03-01 00:30:00", "YYYY-MM-DD AMHH:MI:SS", "2007-03-01 오전12:30:00");
        add("noon", "2007-03-01 12:00:00", "YYYY-MM-DD AMHH:MI:SS", "2007-03-01 오후12:00:00");
        add("24 hours", "2007-03-01 14:05:09", "YYYY-MM-DD HH24:MI:SS", "2007-03-01 14:05:09");
        add("compact", "2007-03-01 14:05:09", "YYYYMMDD", "20070301");
    }
    void dateFormats()
    {
        QFETCH(QString, engine);
        QFETCH(QString, stored);
        QFETCH(QString, format);
        QFETCH(QString, expected);
        KESA_TEST_DATABASE(tdb, engine);
        SqlStatement ins(tdb.db(),
                         QStringLiteral("INSERT INTO ZA010MS (EMP_NO, U_DATE) VALUES ('X', :P0)"));
        ins.bind(QStringLiteral("P0"),
                 QDateTime::fromString(stored, QStringLiteral("yyyy-MM-dd HH:mm:ss")));
        ins.exec();
        SqlStatement q(tdb.db(),
                       QStringLiteral("SELECT TO_CHAR(U_DATE, '%1') FROM ZA010MS").arg(format));
        q.open();
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), expected);
    }

    void serverDate_data() { TestDatabase::addEngineRows(); }
    void serverDate()
    {
        QFETCH(QString, engine);
        KESA_TEST_DATABASE(tdb, engine);
        const QDateTime now = Database::serverDateTime(tdb.db());
        QVERIFY(now.isValid());
        QCOMPARE(now.time().msec(), 0);
        QVERIFY(qAbs(now.secsTo(QDateTime::currentDateTime())) < 120);
        SqlStatement q(tdb.db(),
                       QStringLiteral("UPDATE DUAL SET DUMMY = 'X' WHERE SYSDATE IS NOT NULL"));
        QCOMPARE(q.exec(), 1);
    }

    // 2024 is a leap year and starts on a Monday.
    void calendarOfALeapYear_data() { TestDatabase::addEngineRows(); }
    void calendarOfALeapYear()
    {
        QFETCH(QString, engine);
        KESA_TEST_DATABASE(tdb, engine);
        const QSqlDatabase db = tdb.db();
        holiday(db,
                QStringLiteral("20240101"),
                QStringLiteral("신정"),
                QStringLiteral("0"),
                QStringLiteral("I"));
        holiday(db,
                QStringLiteral("20240210"),
                QStringLiteral("설날"),
                QStringLiteral("1"),
                QStringLiteral("I"));
        holiday(db,
                QStringLiteral("20250129"),
                QStringLiteral("설날"),
                QStringLiteral("1"),
                QStringLiteral("I"));
        callProc(db,
                 QStringLiteral("PR_ZX020MS_01"),
                 {QStringLiteral("2023"),
                  QStringLiteral("Y"),
                  QStringLiteral("A0001"),
                  QStringLiteral("1.2.3.4")});
        callProc(db,
                 QStringLiteral("PR_ZX020MS_01"),
                 {QStringLiteral("2024"),
                  QStringLiteral("Y"),
                  QStringLiteral("A0001"),
                  QStringLiteral("1.2.3.4")});
        const auto count = [&](const QString &where) {
            return scalar(db, QStringLiteral("SELECT COUNT(*) FROM ZX020MS WHERE ") + where).toInt();
        };
        QCOMPARE(count(QStringLiteral("CALN_DATE LIKE '2024%'")), 366);
        QCOMPARE(count(QStringLiteral("CALN_DATE = '20240229'")), 1);
        const auto day = [&](const char *date) {
            SqlStatement q(db,
                           QStringLiteral(
                                   "SELECT YOIL_CODE, HOLIDAY_NAME, SKI_MENU_ITEM2, U_EMP_NO, U_IP "
                                   "FROM ZX020MS WHERE CALN_DATE = :P0"));
            q.bind(QStringLiteral("P0"), QString::fromLatin1(date));
            q.open();
            if (!q.next())
                return QString();
            return QStringList{q.value(0).toString(),
                               q.value(1).toString(),
                               q.value(2).toString(),
                               q.value(3).toString(),
                               q.value(4).toString()}
                    .join(QLatin1Char('|'));
        };
        QCOMPARE(day("20240101"), QStringLiteral("2|신정|2|A0001|1.2.3.4")); // Monday, holiday
        QCOMPARE(day("20240106"), QStringLiteral("7||1|A0001|1.2.3.4"));     // Saturday
        QCOMPARE(day("20240107"), QStringLiteral("1||2|A0001|1.2.3.4"));     // Sunday
        QCOMPARE(day("20240210"), QStringLiteral("7|설날|2|A0001|1.2.3.4")); // one-year holiday
        QCOMPARE(day("20240229"), QStringLiteral("5||1|A0001|1.2.3.4"));     // Thursday

        // Generating again adds no row and picks up changed holidays.
        holiday(db, QStringLiteral("20240101"), QString(), QStringLiteral("0"), QStringLiteral("D"));
        holiday(db,
                QStringLiteral("20240301"),
                QStringLiteral("삼일절"),
                QStringLiteral("0"),
                QStringLiteral("I"));
        callProc(db,
                 QStringLiteral("PR_ZX020MS_01"),
                 {QStringLiteral("2024"), QStringLiteral("Y"), QStringLiteral("B0002"), QString()});
        QCOMPARE(count(QStringLiteral("CALN_DATE LIKE '2024%'")), 366);
        QCOMPARE(day("20240101"), QStringLiteral("2||1|B0002|"));
        QCOMPARE(day("20240301"), QStringLiteral("6|삼일절|2|B0002|"));

        // 'N' removes that year only.
        callProc(db,
                 QStringLiteral("PR_ZX020MS_01"),
                 {QStringLiteral("2024"), QStringLiteral("N"), QStringLiteral("A0001"), QString()});
        QCOMPARE(count(QStringLiteral("CALN_DATE LIKE '2024%'")), 0);
        QCOMPARE(count(QStringLiteral("CALN_DATE LIKE '2023%'")), 365);

        StoredProcedure bad(db, QStringLiteral("PR_ZX020MS_01"));
        bad.setParams({QStringLiteral("24"), QStringLiteral("Y"), QString(), QString()});
        QVERIFY_THROWS_EXCEPTION(DbError, bad.execProc());
    }

    // Every day of every year, whatever the session's time zone: zones whose
    // summer time starts at midnight (a day without 00:00) and one that skipped
    // a whole day.
    void calendarInEveryTimeZone_data() { TestDatabase::addEngineRows(); }
    void calendarInEveryTimeZone()
    {
        QFETCH(QString, engine);
        KESA_TEST_DATABASE(tdb, engine);
        const QSqlDatabase db = tdb.db();
        const bool pg = engine == QLatin1String("postgresql");
        for (const char *zone : {"America/Sao_Paulo", "Pacific/Apia"}) {
            if (pg)
                SqlStatement(db, QStringLiteral("SET TIME ZONE '%1'").arg(QLatin1String(zone)))
                        .exec();
            for (int year = 1990; year <= 2100; ++year) {
                callProc(db,
                         QStringLiteral("PR_ZX020MS_01"),
                         {QString::number(year),
                          QStringLiteral("Y"),
                          QStringLiteral("A0001"),
                          QString()});
            }
            QCOMPARE(scalar(db, QStringLiteral("SELECT COUNT(*) FROM ZX020MS")).toInt(),
                     int(QDate(1990, 1, 1).daysTo(QDate(2101, 1, 1))));
            QCOMPARE(scalar(db,
                            QStringLiteral("SELECT COUNT(*) FROM ZX020MS WHERE CALN_DATE LIKE "
                                           "'%1231'"))
                             .toInt(),
                     111);
            QCOMPARE(scalar(db,
                            QStringLiteral("SELECT YOIL_CODE FROM ZX020MS WHERE CALN_DATE = "
                                           "'20111230'"))
                             .toInt(),
                     6); // a Friday
            SqlStatement(db, QStringLiteral("DELETE FROM ZX020MS")).exec();
        }
    }

    void holidayInsertUpdateDelete_data() { TestDatabase::addEngineRows(); }
    void holidayInsertUpdateDelete()
    {
        QFETCH(QString, engine);
        KESA_TEST_DATABASE(tdb, engine);
        const QSqlDatabase db = tdb.db();
        StoredProcedure proc(db, QStringLiteral("PR_ZX010MS_11"));
        QCOMPARE(proc.parameterNames().size(), 6);
        const auto row = [&](const char *head, const char *detail) {
            SqlStatement q(db,
                           QStringLiteral(
                                   "SELECT DETAIL_NAME, U_EMP_NO, U_IP FROM ZX010MS "
                                   "WHERE HEAD = :P0 AND DETAIL = :P1 AND U_DATE IS NOT NULL"));
            q.bind(QStringLiteral("P0"), QString::fromLatin1(head));
            q.bind(QStringLiteral("P1"), QString::fromLatin1(detail));
            q.open();
            return q.next() ? q.value(0).toString() + QLatin1Char('|') + q.value(1).toString()
                                      + QLatin1Char('|') + q.value(2).toString()
                            : QStringLiteral("none");
        };
        holiday(db,
                QStringLiteral("20260503"),
                QStringLiteral("창립 기념일"),
                QStringLiteral("1"),
                QStringLiteral("I"));
        holiday(db,
                QStringLiteral("20260815"),
                QStringLiteral("광복절"),
                QStringLiteral("0"),
                QStringLiteral("I"));
        QCOMPARE(row("Z0013", "20260503"), QStringLiteral("창립 기념일|A0001|10.0.0.7"));
        QCOMPARE(row("Z0012", "0815"), QStringLiteral("광복절|A0001|10.0.0.7"));
        holiday(db,
                QStringLiteral("20260503"),
                QStringLiteral("개교 기념일"),
                QStringLiteral("1"),
                QStringLiteral("U"));
        QCOMPARE(row("Z0013", "20260503"), QStringLiteral("개교 기념일|A0001|10.0.0.7"));
        holiday(db, QStringLiteral("20270815"), QString(), QStringLiteral("0"), QStringLiteral("D"));
        QCOMPARE(row("Z0012", "0815"), QStringLiteral("none"));
        QCOMPARE(row("Z0013", "20260503"), QStringLiteral("개교 기념일|A0001|10.0.0.7"));

        // Updating a holiday another user deleted meanwhile fails, writing nothing.
        try {
            holiday(db,
                    QStringLiteral("20260815"),
                    QStringLiteral("광복절"),
                    QStringLiteral("0"),
                    QStringLiteral("U"));
            QFAIL("an update of a missing holiday must fail");
        } catch (const DbError &error) {
            QVERIFY2(error.message().contains(QStringLiteral("20260815")),
                     qPrintable(error.message()));
        }
        QCOMPARE(row("Z0012", "0815"), QStringLiteral("none"));

        // Refused arguments write nothing.
        QVERIFY_THROWS_EXCEPTION(DbError,
                                 holiday(db,
                                         QStringLiteral("20260101"),
                                         QStringLiteral("x"),
                                         QStringLiteral("2"),
                                         QStringLiteral("I")));
        QVERIFY_THROWS_EXCEPTION(DbError,
                                 holiday(db,
                                         QStringLiteral("20260101"),
                                         QStringLiteral("x"),
                                         QStringLiteral("1"),
                                         QStringLiteral("X")));
        QVERIFY_THROWS_EXCEPTION(DbError,
                                 holiday(db,
                                         QStringLiteral("2026-01-01"),
                                         QStringLiteral("x"),
                                         QStringLiteral("1"),
                                         QStringLiteral("I")));
        QCOMPARE(scalar(db, QStringLiteral("SELECT COUNT(*) FROM ZX010MS")).toInt(), 1);
        StoredProcedure missing(db, QStringLiteral("PR_NOPE_01"));
        QVERIFY_THROWS_EXCEPTION(DbError, missing.execProc());
    }
};

QTEST_GUILESS_MAIN(tst_Routines)
#include "tst_routines.moc"
