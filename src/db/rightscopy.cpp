#include "rightscopy.h"

#include "dberror.h"
#include "sqlstatement.h"
#include "transaction.h"

namespace {

void requireUserInUse(const QSqlDatabase &db, const QString &empNo)
{
    SqlStatement user(db, QStringLiteral("SELECT USE_YN FROM ZA010MS WHERE EMP_NO = :P0"));
    user.bind(QStringLiteral("P0"), empNo);
    user.open();
    if (!user.next())
        throw DbError(QStringLiteral("등록되지 않은 사용자입니다: %1").arg(empNo));
    if (user.value(0).toString() != QLatin1String("Y"))
        throw DbError(QStringLiteral("사용중지된 사용자입니다: %1").arg(empNo));
}

int run(const QSqlDatabase &db,
        const QString &sql,
        const QString &from,
        const QString &to,
        const QString &projectId,
        const QString &writerEmpNo,
        const QString &writerIp)
{
    SqlStatement statement(db, sql);
    statement.bind(QStringLiteral("P0"), to);
    statement.bind(QStringLiteral("P1"), projectId);
    statement.bind(QStringLiteral("P2"), writerEmpNo);
    statement.bind(QStringLiteral("P3"), writerIp);
    statement.bind(QStringLiteral("P4"), from);
    return statement.exec();
}

} // namespace

namespace RightsCopy {

Counts copy(const QSqlDatabase &db,
            const QString &from,
            const QString &to,
            const QString &projectId,
            const QString &writerEmpNo,
            const QString &writerIp)
{
    if (from == to)
        throw DbError(QStringLiteral("같은 사용자에게 권한을 복사할 수 없습니다: %1").arg(to));
    requireUserInUse(db, from);
    requireUserInUse(db, to);
    const QString inProject = QStringLiteral(
            "(CAST(:P1 AS VARCHAR(6)) IS NULL OR PROJECT_ID = :P1)");
    Counts counts;
    Transaction::run(db, [&] {
        for (const char *table : {"ZA130MS", "ZA150MS"})
            run(db,
                QStringLiteral("DELETE FROM %1 WHERE EMP_NO = :P0 AND %2")
                        .arg(QLatin1String(table), inProject),
                from,
                to,
                projectId,
                writerEmpNo,
                writerIp);
        counts.levels = run(db,
                            QStringLiteral(
                                    "INSERT INTO ZA130MS (EMP_NO, PROJECT_ID, PROJECT_LEVEL, "
                                    "U_EMP_NO, U_DATE, U_IP) SELECT :P0, PROJECT_ID, "
                                    "PROJECT_LEVEL, :P2, SYSDATE, :P3 FROM ZA130MS "
                                    "WHERE EMP_NO = :P4 AND %1")
                                    .arg(inProject),
                            from,
                            to,
                            projectId,
                            writerEmpNo,
                            writerIp);
        counts.overrides = run(db,
                               QStringLiteral(
                                       "INSERT INTO ZA150MS (EMP_NO, PROJECT_ID, PROGRAM_ID, "
                                       "ADD_YN, U_EMP_NO, U_DATE, U_IP) SELECT :P0, "
                                       "PROJECT_ID, PROGRAM_ID, ADD_YN, :P2, SYSDATE, :P3 "
                                       "FROM ZA150MS WHERE EMP_NO = :P4 AND %1")
                                       .arg(inProject),
                               from,
                               to,
                               projectId,
                               writerEmpNo,
                               writerIp);
    });
    return counts;
}

} // namespace RightsCopy
