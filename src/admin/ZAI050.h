#pragma once

#include "projectsearch.h"

#include "framework/ZZI020.h"

#include <QStringList>

class DbEdit;
class QComboBox;
class QLabel;

/// "프로그램 등록": the programs of one project, each filed under one of its
/// main menus. A new program goes to the menu of the chooser; an existing one
/// keeps its menu.
class TfrmZAI050 : public TfrmZZI020, public ProjectSearch
{
    Q_OBJECT

public:
    explicit TfrmZAI050(QWidget *parent = nullptr);

    void rgrGridRowChange() override;
    void cdsGridStateChange() override;

    /// The menu IDs beside the entries of the filter ("[전체]" first, with an
    /// empty ID) and of the chooser.
    const QStringList &filterMenuIds() const { return m_filterIds; }
    const QStringList &chooserMenuIds() const { return m_chooserIds; }

    QLabel *lblMenu = nullptr;
    QComboBox *cbbMenu = nullptr;
    QLabel *lblMenuName = nullptr;
    QComboBox *cbbMenuName = nullptr;
    QLabel *lblProgramID = nullptr;
    DbEdit *dedProgramID = nullptr;
    QLabel *lblProgramName = nullptr;
    DbEdit *dedProgramName = nullptr;
    QLabel *lblDisplaySeq = nullptr;
    DbEdit *dedDisplaySeq = nullptr;

protected:
    void FormCreate() override;
    void CheckSearchCriteria() override;
    void LoadData() override;
    void SetGridParams() override;
    void CheckRowFields() override;
    QStringList DeletedRowReferences(int index) const override;
    QVariantList DuplicateCheckParams() const override;
    QString KeyListText() const override;
    void FillRowFields() override;

private:
    void buildMenuLists();
    QString chooserMenuId() const;
    bool filterIsAll() const;
    void updateChooser();

    QStringList m_filterIds;
    QStringList m_chooserIds;
};
