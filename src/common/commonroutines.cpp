#include "commonroutines.h"

#include "messageservice.h"
#include "platform/localip.h"

#include <QDate>

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The date of an eight-digit text, invalid for anything else.
QDate dateOfDigits(const QString &digits)
{
    if (digits.size() != 8 || !std::all_of(digits.cbegin(), digits.cend(), isAsciiDigit))
        return QDate();
    const int year = digits.left(4).toInt();
    if (year < 1)
        return QDate();
    return QDate(year, digits.mid(4, 2).toInt(), digits.mid(6, 2).toInt());
}

} // namespace

void ShowInfoMessage(const QString &text)
{
    MessageService::instance().info(text);
}

void ShowErrorMessage(const QString &text)
{
    MessageService::instance().error(text);
}

bool AskYesNo(const QString &text)
{
    return MessageService::instance().askYesNo(text);
}

QString DigitsOnly(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (isAsciiDigit(c) || (i == 0 && c == QLatin1Char('-')))
            result.append(c);
    }
    return result;
}

QString FormatDateText(const QString &text)
{
    const QString digits = DigitsOnly(text);
    if (!dateOfDigits(digits).isValid())
        return text;
    return digits.left(4) + QLatin1Char('-') + digits.mid(4, 2) + QLatin1Char('-')
           + digits.mid(6, 2);
}

bool IsDateText(const QString &text)
{
    // Judged on the digits, not on the length of FormatDateText's result: a
    // ten-character text that is no date (2004-02-30) comes back unchanged
    // from FormatDateText and must not pass.
    return dateOfDigits(DigitsOnly(text)).isValid();
}

QString WeekdayName(const QString &text)
{
    static const char *const names[]
            = {"일요일", "월요일", "화요일", "수요일", "목요일", "금요일", "토요일"};
    if (text.size() != 8)
        return QString();
    const QDate date = dateOfDigits(DigitsOnly(text));
    if (!date.isValid())
        return QString();
    // Qt counts Monday = 1 … Sunday = 7; the table starts on Sunday.
    return QString::fromUtf8(names[date.dayOfWeek() % 7]);
}

QString IntToTextSafe(qint64 value)
{
    return QString::number(value);
}

qint64 TextToInt64(const QString &text)
{
    const bool blank = std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.unicode() <= 32;
    });
    if (blank)
        return 0;
    qsizetype start = 0;
    while (start < text.size() && text.at(start) == QLatin1Char(' '))
        ++start;
    qsizetype digits = start;
    if (digits < text.size()
        && (text.at(digits) == QLatin1Char('-') || text.at(digits) == QLatin1Char('+')))
        ++digits;
    if (digits == text.size())
        return 0;
    for (qsizetype i = digits; i < text.size(); ++i) {
        if (!isAsciiDigit(text.at(i)))
            return 0;
    }
    bool ok = false;
    const qint64 value = QStringView(text).mid(start).toLongLong(&ok);
    return ok ? value : 0;
}

QString LocalIPAddress()
{
    return localIPv4Address();
}

QString CutAccessKey(const QString &caption)
{
    const qsizetype at = caption.indexOf(QLatin1String("(&"));
    return at < 0 ? caption : caption.left(at);
}
