#pragma once

#include <QSqlDatabase>

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
class Transaction
{
public:
    /// Starts a transaction unless one is active; throws DbError.
    explicit Transaction(const QSqlDatabase &db);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    /// Commits the active transaction; throws DbError (after rolling back).
    void commit();
    /// Rolls back the active transaction; never throws.
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
    bool m_started = false;
    bool m_finished = false;
};
