#include "testdatabase.h"

#include "db/sqlstatement.h"

#include <QtTest>

// What the demo database promises the people who try the program: screens that
// have something to show.
class tst_DemoData : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void passwordHistoryOfTheDemoUsers_data() { TestDatabase::addEngineRows(); }
    void passwordHistoryOfTheDemoUsers()
    {
        QFETCH(QString, engine);
        KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
        // Every history row belongs to a user (the inquiry joins them) and its
        // password decodes.
        SqlStatement history(tdb.db(),
                             QStringLiteral(
                                     "SELECT A.EMP_NO, FN_ZA010MS_02(A.PASSWORD_CODE, 'RoTa'), "
                                     "TO_CHAR(A.NEW_DATE, 'YYYY-MM-DD HH24:MI:SS') "
                                     "FROM ZA010MH A, ZA010MS B WHERE B.EMP_NO = A.EMP_NO "
                                     "ORDER BY A.EMP_NO, A.BACKUP_DATE, A.BACKUP_SEQ"));
        history.open();
        QStringList rows;
        while (history.next())
            rows << history.value(0).toString() + QLatin1Char(' ') + history.value(1).toString()
                            + QLatin1Char(' ') + history.value(2).toString();
        QCOMPARE(rows.size(), 6);
        QCOMPARE(rows.first(), QStringLiteral("A0001 Admin2023 2024-01-02 08:55:12"));
        QCOMPARE(rows.filter(QStringLiteral("E1001 ")).size(), 3);
        QCOMPARE(rows.filter(QStringLiteral("E1002 ")).size(), 1);
    }

    void holidaysOfEveryYearTheReadmeNames_data() { TestDatabase::addEngineRows(); }
    void holidaysOfEveryYearTheReadmeNames()
    {
        QFETCH(QString, engine);
        KESA_TEST_DATABASE(tdb, engine, TestDatabase::Demo);
        SqlStatement years(tdb.db(),
                           QStringLiteral("SELECT DISTINCT SUBSTR(DETAIL, 1, 4) FROM ZX010MS "
                                          "WHERE HEAD = 'Z0013' AND DETAIL <> ' ' ORDER BY 1"));
        years.open();
        QStringList found;
        while (years.next())
            found << years.value(0).toString();
        QCOMPARE(found,
                 QStringList({QStringLiteral("2024"),
                              QStringLiteral("2025"),
                              QStringLiteral("2026"),
                              QStringLiteral("2027"),
                              QStringLiteral("2028"),
                              QStringLiteral("2029"),
                              QStringLiteral("2030")}));
    }
};

QTEST_GUILESS_MAIN(tst_DemoData)
#include "tst_demodata.moc"
