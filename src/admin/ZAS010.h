#pragma once

#include "framework/ZZS020.h"

class EmployeePicker;
class QLabel;
class QLineEdit;
class QToolButton;

/// "비밀번호 이력 조회": the password history of one user or of every user. A
/// restricted user's search is locked to his own number.
class TfrmZAS010 : public TfrmZZS020
{
    Q_OBJECT

public:
    explicit TfrmZAS010(QWidget *parent = nullptr);

    void bbtSearchClick() override;

    EmployeePicker *picker = nullptr;
    QLabel *lblEmp = nullptr;
    QLineEdit *cedEmpNo = nullptr;
    QToolButton *sbtEmpNo = nullptr;
    QLabel *wlbEmpName = nullptr;

protected:
    void FormCreate() override;
};
