#pragma once

#include "employeesearch.h"

#include "framework/ZZI010.h"

#include <QStringList>

class DisplayGrid;
class QCheckBox;
class QListWidget;

/// "사용자별 소속 권한 등록": for one user, the business sites, teams or sales
/// outlets he may act for in each project that works with affiliations; the
/// project's team role says which of the three lists it offers.
class TfrmZAI120 : public TfrmZZI010, public EmployeeSearch
{
    Q_OBJECT

public:
    explicit TfrmZAI120(QWidget *parent = nullptr);

    /// The project IDs, one per grid row.
    QStringList projectIds() const;
    /// What a change of the current project row does (also after search and cancel).
    void rgrGridRowChange();

    DisplayGrid *rgrGrid = nullptr;
    QListWidget *clbListSaup = nullptr;
    QListWidget *clbListTeam = nullptr;
    QListWidget *clbListUpjang = nullptr;
    QCheckBox *chkListSaup = nullptr;
    QCheckBox *chkListTeam = nullptr;
    QCheckBox *chkListUpjang = nullptr;

protected:
    void FormCreate() override;
    void CheckSearchCriteria() override;
    void LoadData() override;
    bool HasPendingChanges() override;
    /// Per project whose list changed: its rows deleted, the ticked codes written.
    void WriteChanges() override;
    /// The ticks become the loaded state; the screen stays in edit mode.
    void AfterSave() override;
    void DiscardChanges() override;

private:
    enum { Sites, Teams, Outlets, ListCount };

    struct Project
    {
        QString id;
        qint64 role = 0;
        QList<bool> current[ListCount];
        QList<bool> loaded[ListCount];
    };

    void buildList(int list, const QString &caption, QWidget *parent, class QHBoxLayout *row);
    void resetFlags();
    Project *currentProject();
    void itemTicked(int list, int item, bool ticked);
    void selectAllClicked(int list, bool ticked);

    QList<Project> m_projects;
    QStringList m_codes[ListCount];
    QListWidget *m_lists[ListCount] = {};
    QCheckBox *m_selectAll[ListCount] = {};
};
