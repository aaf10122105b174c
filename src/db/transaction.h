#pragma once

#include <QSqlDatabase>
#include <QString>

/// The transaction rule of the shared connection: start a transaction only when
/// none is active, commit after the last statement, and on any failure roll back
/// at once (PostgreSQL refuses every later statement of a failed transaction)
/// before the error travels on.
///
///     Transaction tx(db);      // starts unless one is active
///     ... statements ...
///     tx.commit();             // commits the active transaction
///
/// A guard left without commit() (an exception passing through) rolls back.
///
/// A guard made while a transaction is active (an apply inside a screen's
/// save) never ends that transaction: it sets a savepoint, commit() releases
/// it and rollback() returns to it; the outer transaction commits or rolls
/// back everything.
class Transaction
{
public:
    /// Starts a transaction, or a savepoint when one is active; throws DbError.
    explicit Transaction(const QSqlDatabase &db);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    /// Commits the transaction this guard started (releases its savepoint);
    /// throws DbError (after rolling back).
    void commit();
    /// Rolls back the transaction this guard started (or to its savepoint); never throws.
    void rollback() noexcept;
    /// True when this guard started the transaction (none was active before).
    bool started() const { return m_started; }

    /// True while the connection is inside a transaction, whoever started it.
    static bool isActive(const QSqlDatabase &db);
    /// Runs work under the rule: start unless active, commit, and on any
    /// exception roll back at once and rethrow it.
    template<typename F>
    static void run(const QSqlDatabase &db, F &&work)
    {
        Transaction tx(db);
        try {
            work();
        } catch (...) {
            tx.rollback();
            throw;
        }
        tx.commit();
    }

private:
    QSqlDatabase m_db;
    QString m_savepoint; // set when nested
    bool m_started = false;
    bool m_finished = false;
};
