#include "lunarholidays.h"

#include "dberror.h"
#include "sqlstatement.h"
#include "storedprocedure.h"
#include "transaction.h"

#include <QHash>

#include <memory>
#include <unicode/calendar.h>
#include <unicode/gregocal.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

namespace LunarHolidays {

namespace {

[[noreturn]] void icuFailed(UErrorCode status)
{
    throw DbError(QStringLiteral("음력 계산을 할 수 없습니다: %1")
                          .arg(QString::fromLatin1(u_errorName(status))));
}

} // namespace

QList<Holiday> ofYear(int year)
{
    UErrorCode status = U_ZERO_ERROR;
    // Both calendars on one zone: a Gregorian day maps to the Dangi day that
    // starts with it. The Dangi calendar places new moons in Korean time itself.
    std::unique_ptr<icu::TimeZone> gmt(icu::TimeZone::createTimeZone("GMT"));
    icu::GregorianCalendar gregorian(*gmt, status);
    std::unique_ptr<icu::Calendar> dangi(
            icu::Calendar::createInstance(*gmt, icu::Locale("ko_KR@calendar=dangi"), status));
    if (U_FAILURE(status))
        icuFailed(status);
    gregorian.clear();
    gregorian.set(year, UCAL_JANUARY, 1, 12, 0, 0);

    QList<Holiday> days;
    const QDate last(year, 12, 31);
    for (QDate day(year, 1, 1); day <= last; day = day.addDays(1)) {
        dangi->setTime(gregorian.getTime(status), status);
        const int month = dangi->get(UCAL_MONTH, status) + 1;
        const bool leap = dangi->get(UCAL_IS_LEAP_MONTH, status) != 0;
        const int date = dangi->get(UCAL_DATE, status);
        if (U_FAILURE(status))
            icuFailed(status);
        if (!leap && month == 1 && date == 1) {
            days << Holiday{day.addDays(-1), QStringLiteral("설날 연휴")}
                 << Holiday{day, QStringLiteral("설날")}
                 << Holiday{day.addDays(1), QStringLiteral("설날 연휴")};
        } else if (!leap && month == 4 && date == 8) {
            days << Holiday{day, QStringLiteral("부처님 오신 날")};
        } else if (!leap && month == 8 && date == 15) {
            days << Holiday{day.addDays(-1), QStringLiteral("추석 연휴")}
                 << Holiday{day, QStringLiteral("추석")}
                 << Holiday{day.addDays(1), QStringLiteral("추석 연휴")};
        }
        gregorian.add(UCAL_DATE, 1, status);
    }
    return days;
}

QHash<QString, QString> storedHolidays(const QSqlDatabase &db, int year)
{
    const QString yearText = QString::number(year);
    SqlStatement query(db,
                       QStringLiteral(
                               "SELECT DETAIL, DETAIL_NAME FROM ZX010MS WHERE HEAD = 'Z0013' "
                               "AND DETAIL LIKE :P0 || '%' "
                               "UNION ALL "
                               "SELECT :P0 || DETAIL, DETAIL_NAME FROM ZX010MS WHERE HEAD "
                               "= 'Z0012' AND DETAIL <> ' '"));
    query.bind(QStringLiteral("P0"), yearText);
    query.open();
    QHash<QString, QString> stored;
    while (query.next()) {
        const QString day = query.value(0).toString();
        if (!stored.contains(day))
            stored.insert(day, query.value(1).toString());
    }
    query.close();
    return stored;
}

QList<Holiday> write(const QSqlDatabase &db, int year, const QString &empNo, const QString &ip)
{
    const QHash<QString, QString> stored = storedHolidays(db, year);
    QList<Holiday> written;
    Transaction::run(db, [&] {
        StoredProcedure procedure(db, QStringLiteral("PR_ZX010MS_11"));
        for (const Holiday &holiday : ofYear(year)) {
            const QString date = holiday.date.toString(QStringLiteral("yyyyMMdd"));
            if (stored.contains(date))
                continue;
            procedure.setParams(
                    {date, holiday.name, QStringLiteral("1"), QStringLiteral("I"), empNo, ip});
            procedure.execProc();
            written << holiday;
        }
    });
    return written;
}

} // namespace LunarHolidays
