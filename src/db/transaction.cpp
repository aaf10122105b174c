#include "transaction.h"

#include "dberror.h"
#include "nativehandle.h"

#include <libpq-fe.h>
#include <sqlite3.h>
#include <QSqlError>

Transaction::Transaction(const QSqlDatabase &db)
    : m_db(db)
{
    if (isActive(m_db))
        return;
    if (!m_db.transaction())
        throw DbError::fromSqlError(m_db.lastError());
    m_started = true;
}

Transaction::~Transaction()
{
    if (!m_finished)
        rollback();
}

void Transaction::commit()
{
    m_finished = true;
    if (!isActive(m_db))
        return;
    if (!m_db.commit()) {
        const DbError error = DbError::fromSqlError(m_db.lastError());
        rollback();
        throw error;
    }
}

void Transaction::rollback() noexcept
{
    m_finished = true;
    if (isActive(m_db))
        m_db.rollback();
}

bool Transaction::isActive(const QSqlDatabase &db)
{
    if (sqlite3 *handle = sqliteHandle(db))
        return sqlite3_get_autocommit(handle) == 0;
    if (PGconn *handle = postgresHandle(db))
        return PQtransactionStatus(handle) != PQTRANS_IDLE
               && PQtransactionStatus(handle) != PQTRANS_UNKNOWN;
    return false;
}
