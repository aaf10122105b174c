#pragma once

#include <QSqlDatabase>
#include <QString>

class QTextStream;

// What kesa-db prints about rights: explain, diff-rights and rights-log.
namespace RightsReport {

/// Every program of the project (or the one named) with its verdict and reasons.
/// Returns the exit code: 1 when the named program is not in the project.
int explain(const QSqlDatabase &db,
            const QString &projectId,
            const QString &empNo,
            const QString &programId,
            QTextStream &out,
            QTextStream &err);
/// The programs one employee has on his menu bar and the other has not, per project.
int diff(const QSqlDatabase &db,
         const QString &empNo1,
         const QString &empNo2,
         const QString &projectId,
         QTextStream &out);
/// The permission change log, oldest first.
int log(const QSqlDatabase &db, const QString &since, const QString &empNo, QTextStream &out);

} // namespace RightsReport
