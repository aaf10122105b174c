#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantMap>

struct pg_result;
struct sqlite3_stmt;

/// A fixed SQL text with named parameters :P0, :P1 … (a name used several
/// times takes one value). Values are written into the text as literals that
/// read back as the values themselves (see sqlstatement.cpp); an empty text is
/// NULL, blanks are kept. Text with NUL or a lone surrogate, numbers that are
/// not finite and integers or dates out of range are refused with DbError; so
/// is a statement text that is not valid UTF-16. Null and invalid dates and
/// date-times are NULL.
/// Every failure (prepare or execution) throws DbError with the server's text.
/// A bare SYSDATE is the server's date and time on every engine.
class SqlStatement
{
public:
    explicit SqlStatement(const QSqlDatabase &db, const QString &sql = QString());

    void setSql(const QString &sql);
    QString sql() const { return m_sql; }

    /// Binds a parameter by name, with or without the leading colon ("P0" or ":P0").
    void bind(const QString &name, const QVariant &value);
    void clearBindings();

    /// For a caller that reads each row once, in order, and runs no other
    /// statement on the connection meanwhile: the values come straight from
    /// the engine's client library (the same types and values as through the
    /// driver). SQLite's rows are stepped one at a time with no copy kept;
    /// PostgreSQL's result is fetched whole, as without. Set before open().
    void setForwardOnly(bool forwardOnly) { m_forwardOnly = forwardOnly; }
    /// Runs a statement that returns rows; fetch them with next()/value().
    void open();
    /// Runs a statement that returns no rows; returns the number of rows affected.
    int exec();
    bool next();
    QVariant value(int column) const;
    /// Column names are compared without regard to case.
    QVariant value(const QString &columnName) const;
    int columnCount() const;
    /// Upper case on every engine (PostgreSQL reports unquoted names in lower case).
    QString columnName(int column) const;
    void close();

    QSqlQuery &query() { return m_query; }
    QSqlDatabase database() const { return m_db; }

private:
    void run();
    QVariant nativeValue(int column) const;
    QVariant postgresValue(int column) const;

    QSqlDatabase m_db;
    QString m_sql;
    QVariantMap m_bindings;
    QSqlQuery m_query;
    bool m_forwardOnly = false;
    // A forward-only SQLite result read straight from its statement: the
    // driver's row cache and a copy of every value cost more than the reading.
    sqlite3_stmt *m_native = nullptr;
    bool m_nativeStarted = false;
    bool m_nativeDone = false;
    // A forward-only PostgreSQL result is read whole (the driver's row-by-row
    // mode costs more than the copy it saves); its texts and whole numbers are
    // taken straight from libpq's result, other types through the driver.
    pg_result *m_pgResult = nullptr;
    QList<char> m_pgKinds; // per column: 't' text, 'i' int, 'l' bigint, 0 through the driver
};
