#include "sqlstatement.h"

#include "dbengine.h"
#include "dberror.h"
#include "sqltext.h"

#include <QDateTime>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>

namespace {

QString bindingKey(const QString &name)
{
    return (name.startsWith(QLatin1Char(':')) ? name.mid(1) : name).toUpper();
}

// Dates travel to the second, as the server's own dates are kept.
QString dateTimeText(const QDateTime &value)
{
    return value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// The value as the engine gets it: empty text is null, as on the original server.
QVariant normalized(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString().isEmpty() ? QVariant() : value;
    case QMetaType::QDateTime:
        return dateTimeText(value.toDateTime());
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QTime:
        return value.toTime().toString(QStringLiteral("HH:mm:ss"));
    default:
        return value;
    }
}

// Values go into the statement text as literals, quoted by us or by the driver.
// PostgreSQL: every value goes into the text as a quoted literal of unknown
// type, which the server converts to whatever the place needs, as Oracle does
// with its implicit conversions. Prepared parameters would each need a type the
// server can infer, which fails for "P0 IS NULL" and similar places.
QString postgresLiteral(const QSqlDriver *driver, const QVariant &value)
{
    if (!value.isValid())
        return QStringLiteral("NULL");
    if (value.typeId() == QMetaType::QByteArray) {
        QSqlField field(QString(), value.metaType());
        field.setValue(value);
        return driver->formatValue(field);
    }
    QString text;
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
        text = QString::number(value.toDouble(), 'g', 17);
    else if (value.typeId() == QMetaType::Bool)
        text = value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    else
        text = value.toString();
    // Braces: clang reads QString() here as a function type (vexing parse).
    QSqlField field(QString{}, QMetaType(QMetaType::QString));
    field.setValue(text);
    return driver->formatValue(field);
}

// SQLite: typed literals (text quoted, numbers bare), so that comparisons keep the
// type the value had. SQLite plans a statement with literal values markedly
// faster than one with bound parameters; Qt refuses a second statement in one text.
QString sqliteLiteral(const QVariant &value)
{
    if (!value.isValid())
        return QStringLiteral("NULL");
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return value.toString();
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = value.toDouble();
        return qIsFinite(d) ? QString::number(d, 'g', 17) : QStringLiteral("NULL");
    }
    case QMetaType::QByteArray:
        return QStringLiteral("X'") + QString::fromLatin1(value.toByteArray().toHex())
               + QLatin1Char('\'');
    default: {
        QString text = value.toString();
        text.replace(QLatin1Char('\''), QLatin1String("''"));
        return QLatin1Char('\'') + text + QLatin1Char('\'');
    }
    }
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
    QVariantList values;
    for (const QString &name : text.parameters()) {
        const auto it = m_bindings.constFind(name);
        if (it == m_bindings.constEnd())
            throw DbError(QStringLiteral("값이 지정되지 않은 변수가 있습니다: :%1").arg(name));
        values.append(normalized(*it));
    }

    m_query = QSqlQuery(m_db);
    const bool postgres = engineOf(m_db) == DbEngine::PostgreSQL;
    const QSqlDriver *driver = m_db.driver();
    const QString sql = text.build([&](int i) {
        return postgres ? postgresLiteral(driver, values.at(i)) : sqliteLiteral(values.at(i));
    });
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
