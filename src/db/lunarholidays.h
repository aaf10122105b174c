#pragma once

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>

/// The holidays of a year that move with the Korean lunisolar calendar: 설날
/// (lunar 1/1 with the day before and after), 부처님 오신 날 (lunar 4/8) and
/// 추석 (lunar 8/15 with the day before and after), computed with ICU's Dangi
/// calendar (Korean time, which the Chinese calendar does not use: the two
/// differ in some years).
namespace LunarHolidays {

struct Holiday
{
    QDate date;
    QString name;
};

/// The seven days of a Gregorian year, in date order.
QList<Holiday> ofYear(int year);

/// Days of a year that already hold a holiday, as YYYYMMDD → name: one-year
/// holidays (Z0013) and every-year ones (Z0012), the one-year name first.
QHash<QString, QString> storedHolidays(const QSqlDatabase &db, int year);

/// Stores the lunar holidays of a year as one-year holidays (Z0013) through
/// PR_ZX010MS_11, in one transaction, on the days that hold no holiday yet.
/// Returns the days written.
QList<Holiday> write(const QSqlDatabase &db, int year, const QString &empNo, const QString &ip);

} // namespace LunarHolidays
