#include "sqlstatement.h"

#include "dbengine.h"
#include "dberror.h"
#include "sqltext.h"
#include "sqlvalue.h"

#include <sqlite3.h>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>
#include <QSqlResult>

namespace {

QString bindingKey(const QString &name)
{
    return (name.startsWith(QLatin1Char(':')) ? name.mid(1) : name).toUpper();
}

// The SQLite statement behind an executed query. Qt's driver has stepped it
// once to learn the columns and keeps that first row in the statement.
sqlite3_stmt *nativeStatement(const QSqlQuery &query)
{
    const QVariant handle = query.result() ? query.result()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3_stmt*") != 0)
        return nullptr;
    return *static_cast<sqlite3_stmt *const *>(handle.data());
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
    SqlValue::checkText(m_sql);
    const bool postgres = engineOf(m_db) == DbEngine::PostgreSQL;
    const QSqlDriver *driver = m_db.driver();
    QStringList literals;
    QVariantList bound;
    for (const QString &name : text.parameters()) {
        const auto it = m_bindings.constFind(name);
        if (it == m_bindings.constEnd())
            throw DbError(QStringLiteral("값이 지정되지 않은 변수가 있습니다: :%1").arg(name));
        const int type = it->typeId();
        if (!postgres && !it->isNull() && (type == QMetaType::Double || type == QMetaType::Float)) {
            // SQLite reads some numbers near the ends of the range (1e-300) a
            // unit off from their text: a real is bound, as its exact bits.
            bound.append(SqlValue::bindable(*it, false));
            literals.append(QStringLiteral("?"));
        } else {
            literals.append(SqlValue::literal(*it, postgres, driver));
        }
    }

    m_native = nullptr;
    m_query = QSqlQuery(m_db);
    m_query.setForwardOnly(m_forwardOnly);
    const QString sql = text.build([&](int i) { return literals.at(i); });
    bool ok = false;
    if (bound.isEmpty()) {
        ok = m_query.exec(sql);
    } else if ((ok = m_query.prepare(sql))) {
        for (int i = 0; i < bound.size(); ++i)
            m_query.bindValue(i, bound.at(i));
        ok = m_query.exec();
    }
    if (!ok)
        throw DbError::fromSqlError(m_query.lastError());
    if (m_forwardOnly && !postgres && m_query.isSelect())
        m_native = nativeStatement(m_query);
    m_nativeStarted = false;
    m_nativeDone = false;
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
    if (m_native) {
        if (m_nativeDone)
            return false;
        if (!m_nativeStarted) {
            m_nativeStarted = true; // the driver's first step left its row here
            m_nativeDone = sqlite3_data_count(m_native) == 0;
            return !m_nativeDone;
        }
        const int result = sqlite3_step(m_native);
        if (result == SQLITE_ROW)
            return true;
        m_nativeDone = true;
        if (result == SQLITE_DONE)
            return false;
        throw DbError::fromSqlError(
                QSqlError(QStringLiteral("Unable to fetch row"),
                          QString::fromUtf8(sqlite3_errmsg(sqlite3_db_handle(m_native))),
                          QSqlError::StatementError,
                          QString::number(result)));
    }
    if (m_query.next())
        return true;
    if (m_query.lastError().isValid())
        throw DbError::fromSqlError(m_query.lastError());
    return false;
}

QVariant SqlStatement::value(int column) const
{
    return m_native ? nativeValue(column) : m_query.value(column);
}

QVariant SqlStatement::nativeValue(int column) const
{
    if (!m_nativeStarted || m_nativeDone || column < 0 || column >= sqlite3_column_count(m_native))
        return QVariant();
    // The types Qt's driver gives each storage class.
    switch (sqlite3_column_type(m_native, column)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(m_native, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_native, column));
    case SQLITE_NULL:
        return QVariant(QMetaType::fromType<QString>());
    case SQLITE_BLOB: {
        // The pointer first, then its size: SQLite's documented order (asking
        // for the size first may convert the value under the pointer).
        const auto *bytes = static_cast<const char *>(sqlite3_column_blob(m_native, column));
        return QVariant(QByteArray(bytes, sqlite3_column_bytes(m_native, column)));
    }
    default: {
        // The text as stored (UTF-8): asking for UTF-16 makes SQLite convert
        // and allocate it first, for the same characters.
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_native, column));
        return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(m_native, column)));
    }
    }
}

QVariant SqlStatement::value(const QString &columnName) const
{
    const int index = m_query.record().indexOf(columnName);
    if (index < 0)
        throw DbError(QStringLiteral("열을 찾을 수 없습니다: %1").arg(columnName));
    return value(index);
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
    m_native = nullptr;
    m_query.finish();
}
