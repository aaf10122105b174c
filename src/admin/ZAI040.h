#pragma once

#include "framework/ZZI020.h"

class DbEdit;
class ProjectChooser;
class QComboBox;
class QLabel;

/// "메인 메뉴 등록": the main menus of one project, the menu bar of every
/// module of the suite.
class TfrmZAI040 : public TfrmZZI020
{
    Q_OBJECT

public:
    explicit TfrmZAI040(QWidget *parent = nullptr);

    ProjectChooser *projects = nullptr;
    QLabel *lblProject = nullptr;
    QComboBox *cbbProject = nullptr;
    QLabel *lblMenuID = nullptr;
    DbEdit *dedMenuID = nullptr;
    QLabel *lblMenuName = nullptr;
    DbEdit *dedMenuName = nullptr;
    QLabel *lblDisplaySeq = nullptr;
    DbEdit *dedDisplaySeq = nullptr;

protected:
    void FormCreate() override;
    void CheckSearchCriteria() override;
    void SetGridParams() override;
    void CheckRowFields() override;
    QVariantList DuplicateCheckParams() const override;
    QString KeyListText() const override;
    void FillRowFields() override;

private:
    /// A menu ID begins with the last character of its project's ID.
    QChar requiredPrefix() const;
    void dedMenuIDChange(const QString &text);
};
