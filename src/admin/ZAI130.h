#pragma once

#include "employeesearch.h"

#include "framework/ZZI020.h"

#include <QStringList>

class DbEdit;
class QLabel;
class QToolButton;

/// "사용자별 레벨 등록": the level of one user in every project. A search lists
/// the user's levels and starts a level '0' row for every project where he has
/// none; an administrator picks any user, everyone else only himself.
class TfrmZAI130 : public TfrmZZI020, public EmployeeSearch
{
    Q_OBJECT

public:
    explicit TfrmZAI130(QWidget *parent = nullptr);

    /// Drops the rows whose level is blank (a stored one is deleted), then the save.
    void bbtSaveClick() override;
    void bbtCancelClick() override;
    void rgrGridRowChange() override;
    void sbtLevelClick();

    QLabel *lblProject = nullptr;
    QLabel *wlbProject = nullptr;
    QLabel *lblLevel = nullptr;
    DbEdit *dedLevel = nullptr;
    QToolButton *sbtLevel = nullptr;
    QLabel *wlbLevel = nullptr;

protected:
    void FormCreate() override;
    void CheckSearchCriteria() override;
    void LoadData() override;
    void SetGridParams() override;
    void CheckRowFields() override;
    QVariantList DuplicateCheckParams() const override;
    QString KeyListText() const override;
    /// Applied, then search mode and the same user searched again.
    void SaveData() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void levelEdited(const QString &text);
    void deleteBlankLevels();

    QStringList m_projectIds;
    QStringList m_projectNames;
};
