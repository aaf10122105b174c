#pragma once

#include "projectsearch.h"

#include "framework/ZZI020.h"

/// The grid edit screen of the rows of one project (project levels, main
/// menus): the project chooser in the search area (Enter searches), the
/// projects read when the screen is created, a search that needs a project,
/// the grid read for the chosen project (:P0), the key of a new row checked
/// within its project, and PROJECT_ID written into every posted row.
class ProjectGridScreen : public TfrmZZI020, public ProjectSearch
{
    Q_OBJECT

public:
    explicit ProjectGridScreen(QWidget *parent = nullptr);

protected:
    void FormCreate() override;
    void CheckSearchCriteria() override;
    void SetGridParams() override;
    /// The project, then the key (:P0, :P1 of the duplicate check).
    QVariantList DuplicateCheckParams() const override;
    QString KeyListText() const override;
    void FillRowFields() override;
};
