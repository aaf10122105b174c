# An astronomical computation of the Korean lunisolar calendar, independent of
# ICU: new moons and the sun's longitude from python3-ephem, days in Korean
# time (UTC+9), months numbered from the winter solstice with the no-major-term
# rule for leap months. Prints, for each year of the arguments,
# "YEAR SEOLLAL BUDDHA CHUSEOK" as YYYYMMDD.
import datetime
import math
import sys

import ephem

KST = 9 * ephem.hour


def kst_day(d):
    return ephem.Date(d + KST).datetime().date()


def kst_midnight(day):
    return ephem.Date(datetime.datetime(day.year, day.month, day.day)) - KST


def sun_longitude(d):
    return math.degrees(ephem.Ecliptic(ephem.Sun(d), epoch=d).lon)


def month_starts(solstice_before, solstice_after):
    # The month (11th) that holds the earlier solstice, up to the one holding the later.
    start = ephem.previous_new_moon(solstice_before + 1)
    if kst_day(start) > kst_day(solstice_before):
        start = ephem.previous_new_moon(start - 1)
    starts = [kst_day(start)]
    moon = start
    while True:
        moon = ephem.next_new_moon(moon + 1)
        day = kst_day(moon)
        starts.append(day)
        if day > kst_day(solstice_after):
            break
    return starts


def has_major_term(first, following):
    a = sun_longitude(kst_midnight(first))
    b = sun_longitude(kst_midnight(following))
    return math.floor(a / 30) != math.floor(b / 30)


def year_months(year):
    before = ephem.previous_winter_solstice(ephem.Date(datetime.datetime(year, 1, 1)))
    after = ephem.next_winter_solstice(before + 1)
    starts = month_starts(before, after)
    # starts[0] is month 11; the month holding the later solstice ends the list.
    last11 = max(i for i, d in enumerate(starts[:-1]) if d <= kst_day(after))
    leap_year = last11 == 13
    months = {}
    number = 11
    leap_taken = False
    for i in range(0, last11):
        if i > 0:
            if leap_year and not leap_taken and not has_major_term(starts[i], starts[i + 1]):
                leap_taken = True
                continue
            number = number % 12 + 1
        months.setdefault(number, starts[i])
    return months


def main():
    for year in range(int(sys.argv[1]), int(sys.argv[2]) + 1):
        months = year_months(year)
        fmt = lambda d: d.strftime('%Y%m%d')
        print(year, fmt(months[1]), fmt(months[4] + datetime.timedelta(days=7)),
              fmt(months[8] + datetime.timedelta(days=14)))


main()
