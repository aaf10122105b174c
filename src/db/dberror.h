#pragma once

#include <stdexcept>
#include <QString>

class QSqlError;

/// A database failure: the server's message with its code (SQLSTATE on
/// PostgreSQL, the SQLite result code), as the screens show it.
class DbError : public std::runtime_error
{
public:
    explicit DbError(const QString &message, const QString &code = QString());

    /// The error Qt reports for a statement or a connection, with its code.
    static DbError fromSqlError(const QSqlError &error);

    QString message() const { return m_message; }
    QString code() const { return m_code; }

private:
    QString m_message;
    QString m_code;
};
