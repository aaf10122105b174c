#include "oracledateformat.h"

#include <QStringList>

namespace OracleDateFormat {

QString format(const QDateTime &value, const QString &format)
{
    const QDate date = value.date();
    const QTime time = value.time();
    const auto two = [](int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
    const int hour12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    const QString marker = time.hour() < 12 ? QStringLiteral("오전") : QStringLiteral("오후");

    // Longest elements first, so that HH24 is not read as HH followed by "24".
    const QList<QPair<QString, QString>> elements = {
            {QStringLiteral("YYYY"), QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'))},
            {QStringLiteral("HH24"), two(time.hour())},
            {QStringLiteral("HH12"), two(hour12)},
            {QStringLiteral("A.M."), marker},
            {QStringLiteral("P.M."), marker},
            {QStringLiteral("YY"), two(date.year() % 100)},
            {QStringLiteral("MM"), two(date.month())},
            {QStringLiteral("DD"), two(date.day())},
            {QStringLiteral("HH"), two(hour12)},
            {QStringLiteral("MI"), two(time.minute())},
            {QStringLiteral("SS"), two(time.second())},
            {QStringLiteral("AM"), marker},
            {QStringLiteral("PM"), marker},
    };

    QString out;
    int i = 0;
    while (i < format.size()) {
        if (format.at(i) == QLatin1Char('"')) {
            const int end = format.indexOf(QLatin1Char('"'), i + 1);
            const int stop = end < 0 ? format.size() : end;
            out += format.mid(i + 1, stop - i - 1);
            i = stop + 1;
            continue;
        }
        bool matched = false;
        for (const auto &element : elements) {
            if (QStringView(format).mid(i).startsWith(element.first, Qt::CaseInsensitive)) {
                out += element.second;
                i += int(element.first.size());
                matched = true;
                break;
            }
        }
        if (!matched)
            out += format.at(i++);
    }
    return out;
}

QDateTime parse(const QString &text)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char('T'), QLatin1Char(' '));
    const int dot = t.indexOf(QLatin1Char('.'));
    if (dot > 0)
        t.truncate(dot);
    for (const char *pattern : {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm", "yyyyMMddHHmmss"}) {
        const QDateTime dt = QDateTime::fromString(t, QLatin1String(pattern));
        if (dt.isValid())
            return dt;
    }
    for (const char *pattern : {"yyyy-MM-dd", "yyyyMMdd"}) {
        const QDate d = QDate::fromString(t, QLatin1String(pattern));
        if (d.isValid())
            return QDateTime(d, QTime(0, 0));
    }
    return QDateTime();
}

} // namespace OracleDateFormat
