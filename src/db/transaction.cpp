#include "transaction.h"

#include "dberror.h"
#include "libpq.h"
#include "nativehandle.h"

#include <sqlite3.h>
#include <QSqlError>
#include <QSqlQuery>

namespace {

void execute(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql))
        throw DbError::fromSqlError(query.lastError());
}

} // namespace

Transaction::Transaction(const QSqlDatabase &db)
    : m_db(db)
{
    if (isActive(m_db)) {
        // Inside someone else's transaction: a savepoint, so that this guard
        // can undo its own work and never ends the outer transaction.
        static int savepoints = 0;
        m_savepoint = QStringLiteral("KESA_TX_%1").arg(++savepoints);
        execute(m_db, QStringLiteral("SAVEPOINT ") + m_savepoint);
        return;
    }
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
    if (m_finished)
        return;
    if (!m_started) {
        try {
            execute(m_db, QStringLiteral("RELEASE SAVEPOINT ") + m_savepoint);
        } catch (...) {
            rollback();
            throw;
        }
        m_finished = true;
        return;
    }
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
    if (m_finished)
        return;
    m_finished = true;
    if (!isActive(m_db))
        return;
    if (!m_started) {
        // Back to where this guard began; the outer transaction goes on (on
        // PostgreSQL it is usable again after a failed statement).
        QSqlQuery query(m_db);
        query.exec(QStringLiteral("ROLLBACK TO SAVEPOINT ") + m_savepoint);
        query.exec(QStringLiteral("RELEASE SAVEPOINT ") + m_savepoint);
        return;
    }
    m_db.rollback();
}

bool Transaction::isActive(const QSqlDatabase &db)
{
    if (sqlite3 *handle = sqliteHandle(db))
        return sqlite3_get_autocommit(handle) == 0;
    if (PGconn *handle = postgresHandle(db))
        return LibPq::transactionStatus(handle) != PQTRANS_IDLE
               && LibPq::transactionStatus(handle) != PQTRANS_UNKNOWN;
    return false;
}
