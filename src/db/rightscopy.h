#pragma once

#include <QSqlDatabase>
#include <QString>

/// Copying one employee's rights to another.
namespace RightsCopy {

struct Counts
{
    int levels = 0;
    int overrides = 0;
};

/// Gives `to` the project levels (ZA130MS) and per-user overrides (ZA150MS) of
/// `from`, in one project or, with an empty project, in all: the rows `to` had
/// there are replaced, the copies carry the writer's audit columns (U_DATE =
/// SYSDATE). One transaction. Refuses (DbError, nothing written) an employee
/// that is not in ZA010MS or not in use, and a copy onto the same employee.
Counts copy(const QSqlDatabase &db,
            const QString &from,
            const QString &to,
            const QString &projectId,
            const QString &writerEmpNo,
            const QString &writerIp);

} // namespace RightsCopy
