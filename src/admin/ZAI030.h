#pragma once

#include "projectgridscreen.h"

class DbEdit;
class QLabel;

/// "프로젝트 레벨 등록": the levels of one project.
class TfrmZAI030 : public ProjectGridScreen
{
    Q_OBJECT

public:
    explicit TfrmZAI030(QWidget *parent = nullptr);

    QLabel *lblLevel = nullptr;
    DbEdit *dedLevel = nullptr;
    QLabel *lblLevelName = nullptr;
    DbEdit *dedLevelName = nullptr;

protected:
    void CheckRowFields() override;
    QStringList DeletedRowReferences(int index) const override;
};
