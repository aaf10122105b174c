#pragma once

#include "framework/ZZI020.h"

class DbEdit;
class QLabel;
class QToolButton;

/// "프로젝트 등록": the projects of the suite with their team role, a code of
/// the common code head Z1001.
class TfrmZAI020 : public TfrmZZI020
{
    Q_OBJECT

public:
    explicit TfrmZAI020(QWidget *parent = nullptr);

    /// Cancel, then the stored projects again at once.
    void bbtCancelClick() override;
    /// The role lookup (also F1 in the role field): a chosen role goes into the row.
    void sbtTeamRoleClick();

    QLabel *lblProjectID = nullptr;
    DbEdit *dedProjectID = nullptr;
    QLabel *lblProjectName = nullptr;
    DbEdit *dedProjectName = nullptr;
    QLabel *lblTeamRole = nullptr;
    DbEdit *dedTeamRole = nullptr;
    QToolButton *sbtTeamRole = nullptr;
    QLabel *wlbTeamRole = nullptr;

protected:
    void CheckRowFields() override;
    QStringList DeletedRowReferences(int index) const override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString roleName(const QString &role) const;
};
