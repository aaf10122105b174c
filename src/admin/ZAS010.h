#pragma once

#include "employeesearch.h"

#include "framework/ZZS020.h"

/// "비밀번호 이력 조회": the password history of one user or of every user. A
/// restricted user's search is locked to his own number.
class TfrmZAS010 : public TfrmZZS020, public EmployeeSearch
{
    Q_OBJECT

public:
    explicit TfrmZAS010(QWidget *parent = nullptr);

    void bbtSearchClick() override;

protected:
    void FormCreate() override;

private:
    int m_ipColumns[2] = {};
    int m_ipWidth = 0;
};
