#pragma once

#include <unordered_map>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

/// Statements of one batch (the changes of an apply), each text prepared once
/// and run with bound values, so that both engines plan a statement of the
/// same shape once. The texts take parameters :P0, :P1 … (each used once, in
/// any order); values reach the engine as SqlValue::bindable() gives them.
/// Every failure throws DbError with the server's text.
class PreparedBatch
{
public:
    explicit PreparedBatch(const QSqlDatabase &db);
    PreparedBatch(const PreparedBatch &) = delete;
    PreparedBatch &operator=(const PreparedBatch &) = delete;

    /// Runs the statement with values[n] for :Pn; returns the rows affected.
    int exec(const QString &sql, const QVariantList &values);

private:
    struct Prepared
    {
        QSqlQuery query;
        QList<int> valueOfPlace; // index into the values of each '?', in order
    };

    QSqlDatabase m_db;
    bool m_postgres = false;
    std::unordered_map<QString, Prepared> m_statements;
};
