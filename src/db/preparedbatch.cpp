#include "preparedbatch.h"

#include "dbengine.h"
#include "dberror.h"
#include "sqltext.h"
#include "sqlvalue.h"

#include <QSqlError>

PreparedBatch::PreparedBatch(const QSqlDatabase &db)
    : m_db(db)
    , m_postgres(engineOf(db) == DbEngine::PostgreSQL)
{}

int PreparedBatch::exec(const QString &sql, const QVariantList &values)
{
    auto it = m_statements.find(sql);
    if (it == m_statements.end()) {
        SqlValue::checkText(sql);
        const SqlText text(sql);
        Prepared prepared{QSqlQuery(m_db), {}};
        for (const QString &name : text.parameters()) {
            bool ok = false;
            const int index = name.startsWith(QLatin1Char('P')) ? name.mid(1).toInt(&ok) : -1;
            if (!ok || index < 0)
                throw DbError(QStringLiteral("변수 이름이 올바르지 않습니다: :%1").arg(name));
            prepared.valueOfPlace.append(index);
        }
        prepared.query.setForwardOnly(true);
        if (!prepared.query.prepare(text.build([](int) { return QStringLiteral("?"); })))
            throw DbError::fromSqlError(prepared.query.lastError());
        it = m_statements.emplace(sql, std::move(prepared)).first;
    }
    QSqlQuery &query = it->second.query;
    const QList<int> &valueOfPlace = it->second.valueOfPlace;
    for (int place = 0; place < valueOfPlace.size(); ++place) {
        const int index = valueOfPlace.at(place);
        if (index >= values.size())
            throw DbError(QStringLiteral("값이 지정되지 않은 변수가 있습니다: :P%1").arg(index));
        query.bindValue(place, SqlValue::bindable(values.at(index), m_postgres));
    }
    if (!query.exec())
        throw DbError::fromSqlError(query.lastError());
    const int affected = query.numRowsAffected();
    return affected < 0 ? 0 : affected;
}
