#pragma once

#include "employeesearch.h"
#include "sidelistmover.h"
#include "twolistmover.h"

#include "framework/ZZI010.h"

#include <QHash>
#include <QStringList>

class QLabel;

/// "사용자별 프로그램 등록": per project, the programs one user cannot open
/// (left) and can open (right), marked by where the right comes from; a save
/// writes the user's additions and removals as the difference between his
/// level's programs and the right side.
class TfrmZAI150 : public TfrmZZI010, public SideListMover, public EmployeeSearch
{
    Q_OBJECT

public:
    explicit TfrmZAI150(QWidget *parent = nullptr);

    /// The project IDs, one per grid row.
    QStringList projectIds() const;

    QLabel *lblComment = nullptr;

protected:
    void FormCreate() override;
    /// The warning that per-user programs are exceptions.
    void FormFirstShow() override;
    void CheckSearchCriteria() override;
    void LoadData() override;
    /// Some project's right side differs from what was read.
    bool HasPendingChanges() override;
    /// With changes: the question whether they are meant for this user only;
    /// No stops the save (and a close that asked for it) with the edits kept.
    void CheckSaveData() override;
    /// Per changed project, per program the screen listed: its stored override
    /// deleted and the one that makes the right side the user's programs
    /// written. Overrides of programs not listed (hidden) stay as stored.
    void WriteChanges() override;
    /// Search mode, the same user searched again, "자료를 정상적으로 저장했습니다.".
    void AfterSave() override;
    void DiscardChanges() override;

private:
    struct Project
    {
        QString id;
        ListSides sides;
        QStringList loadedRight;
        QStringList levelSet;
        QHash<QString, QString> programOf; // PROGRAM_ID of each key read
        QStringList shown;                 // programs listed on either side when read
    };

    void rgrGridRowChange();
    QLabel *legend(const QString &objectName, const QString &caption, const QColor &colour);
    static bool differs(const Project &project);

    QList<Project> m_projects;
};
