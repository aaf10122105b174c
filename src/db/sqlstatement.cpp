#include "sqlstatement.h"

#include "dbengine.h"
#include "dberror.h"
#include "sqltext.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <QDateTime>
#include <QLocale>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>

namespace {

QString bindingKey(const QString &name)
{
    return (name.startsWith(QLatin1Char(':')) ? name.mid(1) : name).toUpper();
}

QString invalidTextMessage(const QString &text)
{
    if (text.contains(QChar(0)))
        return QStringLiteral("문자열에 NUL 문자가 있어 데이터베이스에 쓸 수 없습니다.");
    if (!QStringView(text).isValidUtf16())
        return QStringLiteral("문자열에 짝이 없는 서로게이트 문자가 있어 데이터베이스에 쓸 수 "
                              "없습니다.");
    return QString();
}

// Text the engines cannot hold as it is (SQLite pairs a lone surrogate with the
// next code unit and swallows the closing quote): refused, never changed on the way.
void checkText(const QString &text)
{
    const QString message = invalidTextMessage(text);
    if (!message.isEmpty())
        throw DbError(message);
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

// The literal of one value. Every value goes into the statement text as a
// literal that reads back as the value itself: text quoted, numbers in their
// exact text, a negative number in parentheses (so that "- :P0" never becomes
// the comment "--"), null of every type as NULL. Text with NUL or a lone
// surrogate, numbers that are not finite, out of range integers and dates are
// refused. Empty text is null, as on the original server.
//
// SQLite takes numbers bare, so that comparisons keep the type the value had.
// PostgreSQL takes every value as a quoted literal of unknown type, which the
// server converts to whatever the place needs, as Oracle does with its implicit
// conversions; prepared parameters would each need a type the server can
// infer, which fails for "P0 IS NULL" and similar places.
QString literal(const QVariant &value, bool postgres, const QSqlDriver *driver)
{
    if (!value.isValid() || value.isNull())
        return QStringLiteral("NULL");
    const int type = value.typeId();
    QString text;
    bool number = false;
    bool real = false;
    if (isInteger(type)) {
        text = integerText(value);
        number = true;
    } else if (type == QMetaType::Double) {
        text = realText(value.toDouble());
        number = real = true;
    } else if (type == QMetaType::Float) {
        text = floatText(value.toFloat());
        number = real = true;
    } else if (type == QMetaType::Bool) {
        text = value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
        number = true;
    } else if (type == QMetaType::QDateTime) {
        const QDateTime moment = value.toDateTime();
        if (!moment.isValid())
            return QStringLiteral("NULL");
        text = dateText(moment.date()) + moment.toString(QStringLiteral(" HH:mm:ss"))
               + (moment.time().msec() != 0 ? moment.toString(QStringLiteral(".zzz")) : QString());
    } else if (type == QMetaType::QDate) {
        if (!value.toDate().isValid())
            return QStringLiteral("NULL");
        text = dateText(value.toDate());
    } else if (type == QMetaType::QTime) {
        if (!value.toTime().isValid())
            return QStringLiteral("NULL");
        text = timeText(value.toTime());
    } else if (type == QMetaType::QByteArray) {
        if (postgres) {
            QSqlField field(QString(), value.metaType());
            field.setValue(value);
            return driver->formatValue(field);
        }
        return QStringLiteral("X'") + QString::fromLatin1(value.toByteArray().toHex())
               + QLatin1Char('\'');
    } else {
        text = value.toString();
        if (text.isEmpty())
            return QStringLiteral("NULL");
        checkText(text);
    }
    if (number && !postgres) {
        // A real written without point or exponent stays a real on SQLite.
        if (real && !text.contains(QLatin1Char('.')) && !text.contains(QLatin1Char('e')))
            text += QLatin1String(".0");
        return text.startsWith(QLatin1Char('-')) ? QLatin1Char('(') + text + QLatin1Char(')')
                                                 : text;
    }
    if (postgres) {
        // The driver knows whether the server takes backslashes as they are.
        QSqlField field(QString{}, QMetaType(QMetaType::QString));
        field.setValue(text);
        return driver->formatValue(field);
    }
    text.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

} // namespace

SqlStatement::SqlStatement(const QSqlDatabase &db, const QString &sql)
    : m_db(db)
    , m_sql(sql)
    , m_query(db)
{}

void SqlStatement::setSql(const QString &sql)
{
    close();
    m_sql = sql;
}

void SqlStatement::bind(const QString &name, const QVariant &value)
{
    m_bindings.insert(bindingKey(name), value);
}

void SqlStatement::clearBindings()
{
    m_bindings.clear();
}

void SqlStatement::run()
{
    if (!m_db.isOpen())
        throw DbError(QStringLiteral("데이터베이스에 연결되어 있지 않습니다."));
    const SqlText text(m_sql);
    checkText(m_sql);
    const bool postgres = engineOf(m_db) == DbEngine::PostgreSQL;
    const QSqlDriver *driver = m_db.driver();
    QStringList literals;
    for (const QString &name : text.parameters()) {
        const auto it = m_bindings.constFind(name);
        if (it == m_bindings.constEnd())
            throw DbError(QStringLiteral("값이 지정되지 않은 변수가 있습니다: :%1").arg(name));
        literals.append(literal(*it, postgres, driver));
    }

    m_query = QSqlQuery(m_db);
    const QString sql = text.build([&](int i) { return literals.at(i); });
    if (!m_query.exec(sql))
        throw DbError::fromSqlError(m_query.lastError());
}

void SqlStatement::open()
{
    run();
}

int SqlStatement::exec()
{
    run();
    const int affected = m_query.numRowsAffected();
    return affected < 0 ? 0 : affected;
}

bool SqlStatement::next()
{
    if (m_query.next())
        return true;
    if (m_query.lastError().isValid())
        throw DbError::fromSqlError(m_query.lastError());
    return false;
}

QVariant SqlStatement::value(int column) const
{
    return m_query.value(column);
}

QVariant SqlStatement::value(const QString &columnName) const
{
    const int index = m_query.record().indexOf(columnName);
    if (index < 0)
        throw DbError(QStringLiteral("열을 찾을 수 없습니다: %1").arg(columnName));
    return m_query.value(index);
}

int SqlStatement::columnCount() const
{
    return m_query.record().count();
}

QString SqlStatement::columnName(int column) const
{
    // PostgreSQL folds unquoted names to lower case, Oracle and our texts use upper case.
    return m_query.record().fieldName(column).toUpper();
}

void SqlStatement::close()
{
    m_query.finish();
}
