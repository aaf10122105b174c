#include "ZAH010.h"

#include "db/database.h"
#include "db/sqlstatement.h"

QString GetEmpName(const QString &EmpNo)
{
    return GetEmpName(EmpNo, QSqlDatabase::database(Database::defaultConnectionName(), false));
}

QString GetEmpName(const QString &EmpNo, const QSqlDatabase &db)
{
    SqlStatement query(db, QStringLiteral("SELECT EMP_NAME FROM ZA010MS WHERE EMP_NO = :P0"));
    query.bind(QStringLiteral("P0"), EmpNo);
    query.open();
    const QString name = query.next() ? query.value(0).toString() : QString();
    query.close();
    return name;
}

bool ShowUserHelp(QString &Name, QString &EmpNo)
{
    Q_UNUSED(Name);
    EmpNo.clear();
    return false;
}
