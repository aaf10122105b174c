#pragma once

#include <functional>
#include <QSqlDatabase>
#include <QStringList>
#include <QVariantList>

/// The stored procedures of the SQLite engine, callable by name with their
/// parameters in order (PostgreSQL keeps its procedures on the server). The
/// calendar procedures are built in; a screen or a test may add its own. A body
/// runs its statements on the connection it is given and throws DbError.
class ProcedureRegistry
{
public:
    using Body = std::function<void(const QSqlDatabase &db, const QVariantList &arguments)>;

    struct Procedure
    {
        QString name;           ///< upper case
        QStringList parameters; ///< upper case, in call order
        Body body;
    };

    /// Adds or replaces a procedure; names are compared without regard to case.
    static void add(const QString &name, const QStringList &parameters, const Body &body);
    /// The procedure of that name, or nullptr.
    static const Procedure *find(const QString &name);
};
