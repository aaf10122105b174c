#pragma once

#include "projectsearch.h"
#include "sidelistmover.h"
#include "twolistmover.h"

#include "framework/ZZI010.h"

#include <QStringList>

/// "프로젝트 레벨별 프로그램 등록": the programs each level of one project may
/// open, moved between the programs not granted (left) and granted (right).
class TfrmZAI140 : public TfrmZZI010, public SideListMover, public ProjectSearch
{
    Q_OBJECT

public:
    explicit TfrmZAI140(QWidget *parent = nullptr);

    /// The level codes of the project searched, one per grid row.
    const QStringList &levels() const { return m_levels; }

protected:
    void FormCreate() override;
    void CheckSearchCriteria() override;
    void LoadData() override;
    /// Some level's granted programs differ from those read.
    bool HasPendingChanges() override;
    /// Per changed level: the removals, then the grants, program by program.
    void WriteChanges() override;
    /// Search mode, the same project searched again, "자료를 정상적으로 저장했습니다.".
    void AfterSave() override;
    void DiscardChanges() override;

private:
    struct Level
    {
        ListSides sides;
        QStringList loaded; // granted programs as read
    };

    void rgrGridRowChange();
    void clearLevels();

    QStringList m_levels;
    QList<Level> m_lists;
};
