#pragma once

#include <memory>
#include <QSqlDatabase>

class SqlStatement;

/// The connection of a program screen or a lookup dialog, a base of both: the
/// program's one connection unless another is set, and the general-purpose
/// statement `qryQuery` on it, closed when the window is freed.
class ScreenConnection
{
public:
    ScreenConnection();
    virtual ~ScreenConnection();

    ScreenConnection(const ScreenConnection &) = delete;
    ScreenConnection &operator=(const ScreenConnection &) = delete;

    /// The connection of the window (the program's one connection unless set).
    QSqlDatabase database() const;
    /// Another connection; the general statement starts again on it.
    void setDatabase(const QSqlDatabase &db);
    /// General-purpose statement on database().
    SqlStatement &qryQuery();

protected:
    /// Closes the general statement when it was used.
    void closeQuery();

private:
    QSqlDatabase m_db;
    std::unique_ptr<SqlStatement> m_query;
};
