#include "sqlstatement.h"

#include "dbengine.h"
#include "dberror.h"
#include "libpq.h"
#include "sqltext.h"
#include "sqlvalue.h"

#include <charconv>
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

PGresult *postgresResult(const QSqlQuery &query)
{
    const QVariant handle = query.result() ? query.result()->handle() : QVariant();
    if (!handle.isValid()
        || (qstrcmp(handle.typeName(), "PGresult*") != 0
            && qstrcmp(handle.typeName(), "pg_result*") != 0))
        return nullptr;
    return *static_cast<PGresult *const *>(handle.data());
}

// How a column of this type is read from libpq's result (as the driver reads it).
char postgresKind(Oid type)
{
    switch (type) {
    case 25:   // text
    case 1042: // char(n)
    case 1043: // varchar
        return 't';
    case 21: // smallint
    case 23: // integer
        return 'i';
    case 20: // bigint
        return 'l';
    default:
        return 0;
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
    m_pgResult = nullptr;
    m_query = QSqlQuery(m_db);
    m_query.setForwardOnly(m_forwardOnly && !postgres);
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
    if (m_forwardOnly && postgres && m_query.isSelect()) {
        m_pgResult = postgresResult(m_query);
        m_pgKinds.clear();
        for (int column = 0; m_pgResult && column < LibPq::nfields(m_pgResult); ++column)
            m_pgKinds.append(postgresKind(LibPq::ftype(m_pgResult, column)));
    }
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
    if (m_native)
        return nativeValue(column);
    return m_pgResult ? postgresValue(column) : m_query.value(column);
}

QVariant SqlStatement::postgresValue(int column) const
{
    const int row = m_query.at();
    const char kind = column >= 0 && column < m_pgKinds.size() ? m_pgKinds.at(column) : 0;
    if (kind == 0 || row < 0 || LibPq::getisnull(m_pgResult, row, column))
        return m_query.value(column);
    const char *text = LibPq::getvalue(m_pgResult, row, column);
    const int size = LibPq::getlength(m_pgResult, row, column);
    if (kind == 't')
        return QVariant(QString::fromUtf8(text, size));
    qint64 number = 0;
    if (std::from_chars(text, text + size, number).ec != std::errc())
        return m_query.value(column);
    if (kind == 'i')
        return QVariant(int(number));
    // The driver gives a bigint without a sign as unsigned.
    return number < 0 ? QVariant(number) : QVariant(quint64(number));
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
    m_pgResult = nullptr;
    m_query.finish();
}
