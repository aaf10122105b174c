#include "sqlstatement.h"

#include "dbengine.h"
#include "dberror.h"
#include "sqltext.h"
#include "sqlvalue.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>

namespace {

QString bindingKey(const QString &name)
{
    return (name.startsWith(QLatin1Char(':')) ? name.mid(1) : name).toUpper();
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
