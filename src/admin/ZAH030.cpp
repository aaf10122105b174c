#include "ZAH030.h"

#include "framework/displaylabel.h"

#include "db/database.h"
#include "db/sqlstatement.h"
#include "framework/datagrid.h"
#include "framework/firstshow.h"

#include <QLabel>
#include <QPushButton>

namespace {

QSqlDatabase defaultDatabase()
{
    return QSqlDatabase::database(Database::defaultConnectionName(), false);
}

} // namespace

TfrmZAH030::TfrmZAH030(QWidget *owner)
    : TfrmZZH020(owner)
{
    setObjectName(QStringLiteral("frmZAH030"));
    setWindowTitle(QStringLiteral("프로젝트 레벨 Help"));

    lblProject = new QLabel(QStringLiteral("프로젝트"), panSearch);
    lblProject->setObjectName(QStringLiteral("lblProject"));
    wlbProject = CreateDisplayLabel(QStringLiteral("wlbProject"), panSearch, 200);
    addSearchWidget(lblProject);
    addSearchWidget(wlbProject);

    rgrGrid->addColumn(QStringLiteral("PROJECT_LEVEL"), QStringLiteral("레벨"), 64);
    rgrGrid->addColumn(QStringLiteral("PROJECT_LEVEL_NAME"), QStringLiteral("레벨명"), 256);
    setTabOrder(bbtSearch, rgrGrid);

    RunOnFirstShow(this, [this] { bbtSearchClick(); });
}

void TfrmZAH030::setProject(const QString &projectId, const QString &projectName)
{
    m_projectId = projectId;
    wlbProject->setText(projectName);
}

void TfrmZAH030::bbtSearchClick()
{
    TfrmZZH020::bbtSearchClick();
    SearchQuery(QStringLiteral("SELECT PROJECT_LEVEL, PROJECT_LEVEL_NAME FROM ZA030MS "
                               "WHERE PROJECT_ID = :P0 ORDER BY PROJECT_ID, PROJECT_LEVEL"),
                {m_projectId});
}

bool ShowLevelHelp(const QString &ProjectID,
                   const QString &ProjectName,
                   QString &LevelName,
                   QString &Level)
{
    return ShowLevelHelp(ProjectID, ProjectName, LevelName, Level, defaultDatabase());
}

bool ShowLevelHelp(const QString &ProjectID,
                   const QString &ProjectName,
                   QString &LevelName,
                   QString &Level,
                   const QSqlDatabase &db)
{
    Level.clear();
    TfrmZAH030 dialog;
    dialog.setDatabase(db);
    dialog.setProject(ProjectID, ProjectName);
    if (!dialog.showModal())
        return false;
    Level = dialog.chosenCode();
    LevelName = dialog.chosenName();
    return true;
}

QString GetLevelName(const QString &ProjectID, const QString &Level)
{
    return GetLevelName(ProjectID, Level, defaultDatabase());
}

QString GetLevelName(const QString &ProjectID, const QString &Level, const QSqlDatabase &db)
{
    SqlStatement query(db,
                       QStringLiteral("SELECT PROJECT_LEVEL_NAME FROM ZA030MS "
                                      "WHERE PROJECT_ID = :P0 AND PROJECT_LEVEL = :P1"));
    query.bind(QStringLiteral("P0"), ProjectID);
    query.bind(QStringLiteral("P1"), Level);
    query.open();
    const QString name = query.next() ? query.value(0).toString() : QString();
    query.close();
    return name;
}
