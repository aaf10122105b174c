#include "screenconnection.h"

#include "db/database.h"
#include "db/sqlstatement.h"

ScreenConnection::ScreenConnection() = default;

ScreenConnection::~ScreenConnection()
{
    closeQuery();
}

QSqlDatabase ScreenConnection::database() const
{
    return m_db.isValid() ? m_db : QSqlDatabase::database(Database::defaultConnectionName(), false);
}

void ScreenConnection::setDatabase(const QSqlDatabase &db)
{
    m_db = db;
    m_query.reset();
}

SqlStatement &ScreenConnection::qryQuery()
{
    if (!m_query)
        m_query = std::make_unique<SqlStatement>(database());
    return *m_query;
}

void ScreenConnection::closeQuery()
{
    if (m_query)
        m_query->close();
}
