#pragma once

#include <QSqlDatabase>
#include <QString>

/// The user lookup "사용자 Help": EmpNo := empty; shows the dialog modally; on OK
/// EmpNo and Name receive the chosen user's number and name (Name keeps its
/// value otherwise). True when a user was chosen.
bool ShowUserHelp(QString &Name, QString &EmpNo);

/// EMP_NAME of the user EmpNo (taken as it is, not trimmed); empty when there is none.
QString GetEmpName(const QString &EmpNo);
QString GetEmpName(const QString &EmpNo, const QSqlDatabase &db);
