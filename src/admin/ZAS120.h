#pragma once

#include "framework/ZZS020.h"

class DisplayGrid;
class ProjectChooser;
class QComboBox;
class QLabel;

/// "프로그램별 사용자 권한 조회": the programs of one project, and for the
/// program chosen the active users who hold it through their level ('레벨') or
/// through a personal addition ('사용자').
class TfrmZAS120 : public TfrmZZS020
{
    Q_OBJECT

public:
    explicit TfrmZAS120(QWidget *parent = nullptr);

    void bbtSearchClick() override;
    /// The users of the current program row.
    void rgrGridProgramClick();

    ProjectChooser *projects = nullptr;
    QLabel *lblProject = nullptr;
    QComboBox *cbbProject = nullptr;
    DisplayGrid *rgrGridProgram = nullptr;

protected:
    void FormCreate() override;

private:
    void clearPrograms();
};
