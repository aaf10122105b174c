#pragma once

#include "projectgridscreen.h"

class DbEdit;
class QLabel;

/// "메인 메뉴 등록": the main menus of one project, the menu bar of every
/// module of the suite.
class TfrmZAI040 : public ProjectGridScreen
{
    Q_OBJECT

public:
    explicit TfrmZAI040(QWidget *parent = nullptr);

    QLabel *lblMenuID = nullptr;
    DbEdit *dedMenuID = nullptr;
    QLabel *lblMenuName = nullptr;
    DbEdit *dedMenuName = nullptr;
    QLabel *lblDisplaySeq = nullptr;
    DbEdit *dedDisplaySeq = nullptr;

protected:
    void CheckRowFields() override;
    QStringList DeletedRowReferences(int index) const override;

private:
    /// A menu ID begins with the last character of its project's ID.
    QChar requiredPrefix() const;
    void dedMenuIDChange(const QString &text);
};
