#pragma once

#include "framework/ZZH020.h"

#include <QSqlDatabase>
#include <QString>

class QLabel;

/// "프로젝트 레벨 Help": the levels of one project, listed as soon as the
/// dialog shows; OK (F10, Enter or a double click on a row) chooses the row's
/// level and level name.
class TfrmZAH030 : public TfrmZZH020
{
    Q_OBJECT

public:
    explicit TfrmZAH030(QWidget *owner = nullptr);

    /// The project whose levels are listed: its name is shown, its ID kept.
    void setProject(const QString &projectId, const QString &projectName);
    QString projectId() const { return m_projectId; }

    void bbtSearchClick() override;

    QLabel *lblProject = nullptr;
    QLabel *wlbProject = nullptr;

private:
    QString m_projectId;
};

/// The level lookup of one project: Level := empty; on OK Level and LevelName
/// receive the chosen level and its name (LevelName keeps its value
/// otherwise). True on OK.
bool ShowLevelHelp(const QString &ProjectID,
                   const QString &ProjectName,
                   QString &LevelName,
                   QString &Level);
bool ShowLevelHelp(const QString &ProjectID,
                   const QString &ProjectName,
                   QString &LevelName,
                   QString &Level,
                   const QSqlDatabase &db);

/// PROJECT_LEVEL_NAME of the level; empty when the project has no such level.
QString GetLevelName(const QString &ProjectID, const QString &Level);
QString GetLevelName(const QString &ProjectID, const QString &Level, const QSqlDatabase &db);
