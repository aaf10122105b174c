#include "projectgridscreen.h"

#include "projectchooser.h"

#include "db/clientdataset.h"

ProjectGridScreen::ProjectGridScreen(QWidget *parent)
    : TfrmZZI020(parent)
{
    createProjectChooser(*this, *this, [this] { bbtSearchClick(); });
}

void ProjectGridScreen::FormCreate()
{
    TfrmZZI020::FormCreate();
    projects->Fill(database());
}

void ProjectGridScreen::CheckSearchCriteria()
{
    projects->CheckSelected();
}

void ProjectGridScreen::SetGridParams()
{
    cdsGrid->setParam(QStringLiteral("P0"), projects->projectId());
}

QVariantList ProjectGridScreen::DuplicateCheckParams() const
{
    return {projects->projectId(), keyText()};
}

QString ProjectGridScreen::KeyListText() const
{
    // Project and key apart, so that keys "1" and " 1" stay two keys.
    return projects->projectId() + QChar(0x1F) + keyText();
}

void ProjectGridScreen::FillRowFields()
{
    cdsGrid->setValue(QStringLiteral("PROJECT_ID"), projects->projectId());
}
