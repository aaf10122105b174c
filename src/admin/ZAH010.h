#pragma once

#include "framework/ZZH020.h"

#include <QSqlDatabase>
#include <QString>

class QLabel;
class QLineEdit;

/// "사용자 Help": the users whose name begins with the search text; OK (F10,
/// Enter or a double click on a row) chooses the current row's number and name.
class TfrmZAH010 : public TfrmZZH020
{
    Q_OBJECT

public:
    explicit TfrmZAH010(QWidget *owner = nullptr);

    void bbtSearchClick() override;

    QLabel *lblEmpName = nullptr;
    QLineEdit *edtEmpName = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
};

/// The user lookup: EmpNo := empty; shows "사용자 Help" modally; on OK EmpNo and
/// Name receive the chosen user's number and name (Name keeps its value
/// otherwise). True when a user was chosen.
bool ShowUserHelp(QString &Name, QString &EmpNo);
bool ShowUserHelp(QString &Name, QString &EmpNo, const QSqlDatabase &db);

/// EMP_NAME of the user EmpNo (taken as it is, not trimmed); empty when there is none.
QString GetEmpName(const QString &EmpNo);
QString GetEmpName(const QString &EmpNo, const QSqlDatabase &db);
