#include "calendarprocedures.h"

#include "dberror.h"
#include "sqlstatement.h"

#include <QDate>
#include <QRegularExpression>

namespace {

// RAISE EXCEPTION of PL/pgSQL reports SQLSTATE P0001; the SQLite twins do the same.
[[noreturn]] void raise(const QString &text, const QString &value)
{
    throw DbError(QStringLiteral("%1: %2 (P0001)").arg(text, value), QStringLiteral("P0001"));
}

QString arg(const QVariantList &arguments, int i)
{
    return i < arguments.size() ? arguments.at(i).toString() : QString();
}

bool allDigits(const QString &text, int count)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    return text.size() == count && digits.match(text).hasMatch();
}

void createCalendar(const QSqlDatabase &db, const QVariantList &arguments)
{
    const QString year = arg(arguments, 0);
    const QString createYn = arg(arguments, 1);
    if (!allDigits(year, 4) || year.toInt() < 1)
        raise(QStringLiteral("기준년도가 올바르지 않습니다"), year);
    if (createYn == QLatin1String("N")) {
        SqlStatement del(db, QStringLiteral("DELETE FROM ZX020MS WHERE CALN_DATE LIKE :P0 || '%'"));
        del.bind(QStringLiteral("P0"), year);
        del.exec();
        return;
    }
    if (createYn != QLatin1String("Y"))
        raise(QStringLiteral("생성 구분이 올바르지 않습니다"), createYn);

    SqlStatement
            upsert(db,
                   QStringLiteral(
                           "INSERT INTO ZX020MS (CALN_DATE, YOIL_CODE, HOLIDAY_NAME, "
                           "SKI_MENU_ITEM2, U_EMP_NO, U_DATE, U_IP) "
                           "SELECT :P0, :P1, H.HOLIDAY_NAME, "
                           "CASE WHEN H.HOLIDAY_NAME IS NOT NULL OR :P1 = 1 THEN '2' ELSE '1' END, "
                           ":P2, SYSDATE, :P3 "
                           "FROM (SELECT COALESCE((SELECT DETAIL_NAME FROM ZX010MS WHERE HEAD = "
                           "'Z0013' AND DETAIL = :P0), "
                           "(SELECT DETAIL_NAME FROM ZX010MS WHERE HEAD = 'Z0012' AND DETAIL = "
                           "SUBSTR(:P0, 5, 4))) "
                           "AS HOLIDAY_NAME) H "
                           "WHERE TRUE "
                           "ON CONFLICT (CALN_DATE) DO UPDATE SET YOIL_CODE = EXCLUDED.YOIL_CODE, "
                           "HOLIDAY_NAME = EXCLUDED.HOLIDAY_NAME, SKI_MENU_ITEM2 = "
                           "EXCLUDED.SKI_MENU_ITEM2, "
                           "U_EMP_NO = EXCLUDED.U_EMP_NO, U_DATE = EXCLUDED.U_DATE, U_IP = "
                           "EXCLUDED.U_IP"));
    upsert.bind(QStringLiteral("P2"), arg(arguments, 2));
    upsert.bind(QStringLiteral("P3"), arg(arguments, 3));
    const QDate last(year.toInt(), 12, 31);
    for (QDate day(year.toInt(), 1, 1); day <= last; day = day.addDays(1)) {
        upsert.bind(QStringLiteral("P0"), day.toString(QStringLiteral("yyyyMMdd")));
        upsert.bind(QStringLiteral("P1"), day.dayOfWeek() % 7 + 1); // 1 = Sunday
        upsert.exec();
    }
}

void writeHoliday(const QSqlDatabase &db, const QVariantList &arguments)
{
    const QString date = arg(arguments, 0);
    const QString fixed = arg(arguments, 2);
    const QString action = arg(arguments, 3);
    if (!allDigits(date, 8))
        raise(QStringLiteral("휴일 날짜가 올바르지 않습니다"), date);
    QString head;
    QString detail;
    if (fixed == QLatin1String("0")) {
        head = QStringLiteral("Z0012");
        detail = date.mid(4, 4);
    } else if (fixed == QLatin1String("1")) {
        head = QStringLiteral("Z0013");
        detail = date;
    } else {
        raise(QStringLiteral("휴일 구분이 올바르지 않습니다"), fixed);
    }
    QString sql;
    if (action == QLatin1String("I"))
        sql = QStringLiteral(
                "INSERT INTO ZX010MS (HEAD, DETAIL, DETAIL_NAME, U_EMP_NO, U_DATE, U_IP) "
                "VALUES (:P0, :P1, :P2, :P3, SYSDATE, :P4) "
                "ON CONFLICT (HEAD, DETAIL) DO UPDATE SET DETAIL_NAME = EXCLUDED.DETAIL_NAME, "
                "U_EMP_NO = EXCLUDED.U_EMP_NO, U_DATE = EXCLUDED.U_DATE, U_IP = EXCLUDED.U_IP");
    else if (action == QLatin1String("U"))
        sql = QStringLiteral(
                "UPDATE ZX010MS SET DETAIL_NAME = :P2, U_EMP_NO = :P3, U_DATE = SYSDATE, "
                "U_IP = :P4 WHERE HEAD = :P0 AND DETAIL = :P1");
    else if (action == QLatin1String("D"))
        sql = QStringLiteral("DELETE FROM ZX010MS WHERE HEAD = :P0 AND DETAIL = :P1");
    else
        raise(QStringLiteral("처리 구분이 올바르지 않습니다"), action);
    SqlStatement statement(db, sql);
    statement.bind(QStringLiteral("P0"), head);
    statement.bind(QStringLiteral("P1"), detail);
    statement.bind(QStringLiteral("P2"), arg(arguments, 1));
    statement.bind(QStringLiteral("P3"), arg(arguments, 4));
    statement.bind(QStringLiteral("P4"), arg(arguments, 5));
    // An update of a holiday another user deleted meanwhile is no success.
    if (statement.exec() == 0 && action == QLatin1String("U"))
        raise(QStringLiteral("변경할 휴일이 없습니다 (다른 사용자가 삭제했습니다)"), date);
}

} // namespace

namespace CalendarProcedures {

QList<ProcedureRegistry::Procedure> all()
{
    return {
            {QStringLiteral("PR_ZX020MS_01"),
             {QStringLiteral("P_YEAR"),
              QStringLiteral("P_CREATE_YN"),
              QStringLiteral("P_EMP_NO"),
              QStringLiteral("P_IP")},
             createCalendar},
            {QStringLiteral("PR_ZX010MS_11"),
             {QStringLiteral("P_DATE"),
              QStringLiteral("P_NAME"),
              QStringLiteral("P_FIXED"),
              QStringLiteral("P_ACTION"),
              QStringLiteral("P_EMP_NO"),
              QStringLiteral("P_IP")},
             writeHoliday},
    };
}

} // namespace CalendarProcedures
