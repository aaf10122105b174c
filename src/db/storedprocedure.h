#pragma once

#include <QSqlDatabase>
#include <QStringList>
#include <QVariantList>

/// A stored procedure called by name with text arguments (the data module's
/// `prcProc`). Parameters are known by name (upper case) and position; a value
/// stays set between calls until it is set again or cleared, so that a caller
/// may set only the parameters it knows of. On PostgreSQL the procedure is a
/// server object called with CALL; on SQLite it comes from ProcedureRegistry and
/// runs inside a savepoint, all or nothing, as a server procedure would.
class StoredProcedure
{
public:
    explicit StoredProcedure(const QSqlDatabase &db, const QString &name = QString());

    void setDatabase(const QSqlDatabase &db);
    /// Selects the procedure; clears the values.
    void setProcedureName(const QString &name);
    QString procedureName() const { return m_name; }

    /// The parameter names in call order; throws DbError when there is no such procedure.
    QStringList parameterNames();
    bool hasParameter(const QString &name);
    /// Throws DbError for an unknown parameter.
    void setParam(const QString &name, const QVariant &value);
    void setParam(int index, const QVariant &value);
    /// Sets the parameters in order (the call "by position").
    void setParams(const QVariantList &values);
    void clearParams();

    /// Runs the procedure; throws DbError with the server's message.
    void execProc();

private:
    void loadParameters();

    QSqlDatabase m_db;
    QString m_name;
    QStringList m_parameters;
    bool m_loaded = false;
    QVariantList m_values;
};
