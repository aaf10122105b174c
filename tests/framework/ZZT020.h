#pragma once

#include "framework/ZZI020.h"

class DbEdit;
class QLabel;
class QLineEdit;

/// A small grid edit screen over the project table, as the screens built on
/// the framework look: a search field, two bound entry fields with labels, a
/// calculated column, and controls nested five and six containers deep below
/// panMain for the mode rule.
class TfrmZZT020 : public TfrmZZI020
{
    Q_OBJECT

public:
    explicit TfrmZZT020(QWidget *parent = nullptr);

    QLabel *lblFilter = nullptr;
    QLineEdit *edtFilter = nullptr;
    QLabel *lblProjectID = nullptr;
    DbEdit *dedProjectID = nullptr;
    QLabel *lblProjectName = nullptr;
    DbEdit *dedProjectName = nullptr;
    QLineEdit *edtDeep5 = nullptr;
    QLineEdit *edtDeep6 = nullptr;

protected:
    void SetGridParams() override;
    void CheckRowFields() override;
};
