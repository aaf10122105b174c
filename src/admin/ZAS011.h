#pragma once

#include "employeesearch.h"

#include "framework/ZZS020.h"

/// "사용자별 비밀번호 조회": the current password of one user or of every user,
/// with who wrote the user last and when. Only an administrator may search.
class TfrmZAS011 : public TfrmZZS020, public EmployeeSearch
{
    Q_OBJECT

public:
    explicit TfrmZAS011(QWidget *parent = nullptr);

    void bbtSearchClick() override;

protected:
    void FormCreate() override;
};
