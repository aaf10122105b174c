#include "sqlvalue.h"

#include "dberror.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <QDateTime>
#include <QLocale>
#include <QSqlDriver>
#include <QSqlField>

namespace {

QString invalidTextMessage(const QString &text)
{
    if (text.contains(QChar(0)))
        return QStringLiteral("문자열에 NUL 문자가 있어 데이터베이스에 쓸 수 없습니다.");
    if (!QStringView(text).isValidUtf16())
        return QStringLiteral("문자열에 짝이 없는 서로게이트 문자가 있어 데이터베이스에 쓸 수 "
                              "없습니다.");
    return QString();
}

QString dateText(const QDate &value)
{
    // Years outside 1..9999 have no text both engines read back.
    if (value.year() < 1 || value.year() > 9999)
        throw DbError(
                QStringLiteral("날짜가 범위를 벗어났습니다: %1").arg(value.toString(Qt::ISODate)));
    return value.toString(QStringLiteral("yyyy-MM-dd"));
}

QString timeText(const QTime &value)
{
    return value.toString(value.msec() != 0 ? QStringLiteral("HH:mm:ss.zzz")
                                            : QStringLiteral("HH:mm:ss"));
}

// The shortest text that reads back as the same number; whole numbers without
// exponent, so that PostgreSQL takes them for an integer column too.
QString realText(double value)
{
    if (!qIsFinite(value))
        throw DbError(QStringLiteral("유한하지 않은 숫자는 데이터베이스에 쓸 수 없습니다."));
    if (std::trunc(value) == value && std::abs(value) < 1e17)
        return QString::number(value, 'f', 0);
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString floatText(float value)
{
    if (!qIsFinite(value))
        throw DbError(QStringLiteral("유한하지 않은 숫자는 데이터베이스에 쓸 수 없습니다."));
    if (std::trunc(value) == value && std::abs(value) < 1e17f)
        return QString::number(double(value), 'f', 0);
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

bool isInteger(int typeId)
{
    switch (typeId) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

QString integerText(const QVariant &value)
{
    if (value.typeId() == QMetaType::ULongLong || value.typeId() == QMetaType::ULong) {
        const qulonglong n = value.toULongLong();
        if (n > qulonglong(std::numeric_limits<qint64>::max()))
            throw DbError(QStringLiteral("정수가 범위를 벗어났습니다: %1").arg(n));
        return QString::number(n);
    }
    return QString::number(value.toLongLong());
}

// The value's own text when it has one that differs from toString(): numbers
// in their exact text, dates as both engines read them; a null QVariant for
// every kind of null.
struct Text
{
    QVariant value; // null, or the text, or the value itself (byte arrays)
    bool number = false;
    bool real = false;
};

Text textOf(const QVariant &value)
{
    Text result;
    if (!value.isValid() || value.isNull())
        return result;
    const int type = value.typeId();
    if (isInteger(type)) {
        result.value = integerText(value);
        result.number = true;
    } else if (type == QMetaType::Double) {
        result.value = realText(value.toDouble());
        result.number = result.real = true;
    } else if (type == QMetaType::Float) {
        result.value = floatText(value.toFloat());
        result.number = result.real = true;
    } else if (type == QMetaType::Bool) {
        result.value = value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
        result.number = true;
    } else if (type == QMetaType::QDateTime) {
        const QDateTime moment = value.toDateTime();
        if (moment.isValid())
            result.value = dateText(moment.date()) + moment.toString(QStringLiteral(" HH:mm:ss"))
                           + (moment.time().msec() != 0 ? moment.toString(QStringLiteral(".zzz"))
                                                        : QString());
    } else if (type == QMetaType::QDate) {
        if (value.toDate().isValid())
            result.value = dateText(value.toDate());
    } else if (type == QMetaType::QTime) {
        if (value.toTime().isValid())
            result.value = timeText(value.toTime());
    } else if (type == QMetaType::QByteArray) {
        result.value = value;
    } else {
        const QString text = value.toString();
        if (!text.isEmpty()) {
            SqlValue::checkText(text);
            result.value = text;
        }
    }
    return result;
}

} // namespace

void SqlValue::checkText(const QString &text)
{
    // Text the engines cannot hold as it is (SQLite pairs a lone surrogate with the
    // next code unit and swallows the closing quote): refused, never changed on the way.
    const QString message = invalidTextMessage(text);
    if (!message.isEmpty())
        throw DbError(message);
}

// The literal of one value. Every value goes into the statement text as a
// literal that reads back as the value itself: text quoted, numbers in their
// exact text, a negative number in parentheses (so that "- :P0" never becomes
// the comment "--"), null of every type as NULL. Text with NUL or a lone
// surrogate, numbers that are not finite, out of range integers and dates are
// refused. Empty text is null, as on the original server.
//
// SQLite takes numbers bare, so that comparisons keep the type the value had
// (SqlStatement binds reals there instead).
// PostgreSQL takes every value as a quoted literal of unknown type, which the
// server converts to whatever the place needs, as Oracle does with its implicit
// conversions; prepared parameters would each need a type the server can
// infer, which fails for "P0 IS NULL" and similar places.
QString SqlValue::literal(const QVariant &value, bool postgres, const QSqlDriver *driver)
{
    const Text text = textOf(value);
    if (text.value.isNull())
        return QStringLiteral("NULL");
    if (text.value.typeId() == QMetaType::QByteArray) {
        if (postgres) {
            QSqlField field(QString(), value.metaType());
            field.setValue(value);
            return driver->formatValue(field);
        }
        return QStringLiteral("X'") + QString::fromLatin1(value.toByteArray().toHex())
               + QLatin1Char('\'');
    }
    QString literal = text.value.toString();
    if (text.number && !postgres) {
        // A real written without point or exponent stays a real on SQLite.
        if (text.real && !literal.contains(QLatin1Char('.')) && !literal.contains(QLatin1Char('e')))
            literal += QLatin1String(".0");
        return literal.startsWith(QLatin1Char('-')) ? QLatin1Char('(') + literal + QLatin1Char(')')
                                                    : literal;
    }
    if (postgres) {
        // The driver knows whether the server takes backslashes as they are.
        QSqlField field(QString{}, QMetaType(QMetaType::QString));
        field.setValue(literal);
        return driver->formatValue(field);
    }
    literal.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + literal + QLatin1Char('\'');
}

QVariant SqlValue::bindable(const QVariant &value, bool postgres)
{
    // Text, the most common value, is checked and bound as it is, uncopied.
    if (const QString *plain = textIn(value)) {
        if (plain->isEmpty())
            return QVariant();
        checkText(*plain);
        return value;
    }
    const Text text = textOf(value);
    if (text.value.isNull() || text.value.typeId() == QMetaType::QByteArray)
        return text.value;
    if (postgres)
        return text.value;
    // SQLite keeps the type of a bound value: numbers stay numbers.
    if (text.real)
        return value.toDouble();
    if (text.number)
        return value.typeId() == QMetaType::Bool ? QVariant(value.toBool() ? 1 : 0)
                                                 : QVariant(value.toLongLong());
    return text.value;
}
