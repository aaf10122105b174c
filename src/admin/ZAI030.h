#pragma once

#include "framework/ZZI020.h"

class DbEdit;
class ProjectChooser;
class QComboBox;
class QLabel;

/// "프로젝트 레벨 등록": the levels of one project.
class TfrmZAI030 : public TfrmZZI020
{
    Q_OBJECT

public:
    explicit TfrmZAI030(QWidget *parent = nullptr);

    ProjectChooser *projects = nullptr;
    QLabel *lblProject = nullptr;
    QComboBox *cbbProject = nullptr;
    QLabel *lblLevel = nullptr;
    DbEdit *dedLevel = nullptr;
    QLabel *lblLevelName = nullptr;
    DbEdit *dedLevelName = nullptr;

protected:
    void FormCreate() override;
    void CheckSearchCriteria() override;
    void SetGridParams() override;
    void CheckRowFields() override;
    QVariantList DuplicateCheckParams() const override;
    QString KeyListText() const override;
    void FillRowFields() override;
};
