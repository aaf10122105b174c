#pragma once

#include "framework/ZZS020.h"

class EmployeePicker;
class QLabel;
class QLineEdit;
class QToolButton;

/// "사용자별 비밀번호 조회": the current password of one user or of every user,
/// with who wrote the user last and when. Only an administrator may search.
class TfrmZAS011 : public TfrmZZS020
{
    Q_OBJECT

public:
    explicit TfrmZAS011(QWidget *parent = nullptr);

    void bbtSearchClick() override;

    EmployeePicker *picker = nullptr;
    QLabel *lblEmp = nullptr;
    QLineEdit *cedEmpNo = nullptr;
    QToolButton *sbtEmpNo = nullptr;
    QLabel *wlbEmpName = nullptr;

protected:
    void FormCreate() override;
};
