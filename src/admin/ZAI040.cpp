#include "ZAI040.h"

#include "displayorderfield.h"
#include "projectchooser.h"

#include "db/clientdataset.h"
#include "db/deletereferences.h"
#include "framework/boundfield.h"
#include "framework/datagrid.h"
#include "framework/dbedit.h"
#include "framework/enterkeys.h"
#include "framework/entryfields.h"
#include "framework/useraction.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

TfrmZAI040::TfrmZAI040(QWidget *parent)
    : ProjectGridScreen(parent)
{
    setObjectName(QStringLiteral("frmZAI040"));
    setWindowTitle(QStringLiteral("메인 메뉴 등록"));

    // The menu ID completes the order: menus of one display order keep their places.
    cdsGrid->setSql(QStringLiteral("SELECT PROJECT_ID, MENU_ID, MENU_NAME, DISPLAY_SEQ, U_EMP_NO, "
                                   "U_DATE, U_IP FROM ZA040MS WHERE PROJECT_ID = :P0 "
                                   "ORDER BY DISPLAY_SEQ NULLS LAST, MENU_ID"));
    rgrGrid->addColumn(QStringLiteral("DISPLAY_SEQ"),
                       QStringLiteral("화면 표시 순서"),
                       100,
                       Qt::AlignCenter);
    rgrGrid->addColumn(QStringLiteral("MENU_ID"),
                       QStringLiteral("메인 메뉴 ID"),
                       150,
                       Qt::AlignCenter);
    rgrGrid->addColumn(QStringLiteral("MENU_NAME"), QStringLiteral("메인 메뉴 명"), 300);

    lblMenuID = CreateFieldLabel(QStringLiteral("lblMenuID"),
                                 QStringLiteral("* 메인 메뉴 ID"),
                                 panMain);
    dedMenuID = CreateBoundEdit(QStringLiteral("dedMenuID"),
                                cdsGrid,
                                QStringLiteral("MENU_ID"),
                                2,
                                40,
                                panMain,
                                DbEdit::InputMode::Latin);
    dedMenuID->setUpperCase(true);
    lblMenuName = CreateFieldLabel(QStringLiteral("lblMenuName"),
                                   QStringLiteral("* 메인 메뉴 명"),
                                   panMain);
    dedMenuName = CreateBoundEdit(QStringLiteral("dedMenuName"),
                                  cdsGrid,
                                  QStringLiteral("MENU_NAME"),
                                  30,
                                  220,
                                  panMain,
                                  DbEdit::InputMode::Korean);
    const DisplayOrderField order = DisplayOrderField::create(cdsGrid, panMain);
    lblDisplaySeq = order.label;
    dedDisplaySeq = order.edit;
    QGridLayout *grid = CreateEntryGrid();
    grid->addWidget(lblMenuID, 0, 0);
    grid->addWidget(dedMenuID, 0, 1, Qt::AlignLeft);
    grid->addWidget(lblMenuName, 1, 0);
    grid->addWidget(dedMenuName, 1, 1, Qt::AlignLeft);
    grid->addWidget(lblDisplaySeq, 2, 0);
    grid->addWidget(dedDisplaySeq, 2, 1, Qt::AlignLeft);
    addToMain(grid);

    // What the user types, not what a row shows: browsing never changes a row.
    connect(dedMenuID, &QLineEdit::textEdited, this, [this](const QString &text) {
        RunUserAction([this, text] { dedMenuIDChange(text); });
    });

    EnterKeys::moveToNext(dedMenuID);
    EnterKeys::moveToNext(dedMenuName);
    EnterKeys::moveTo(dedDisplaySeq, [this]() -> QWidget * {
        return dedMenuID->isEditable() ? dedMenuID : dedMenuName;
    });

    setKeyField(QStringLiteral("MENU_ID"), dedMenuID);
    setRowFocusField(dedMenuName);
    setRowKeys({dedMenuID, dedMenuName, dedDisplaySeq});
    setDuplicateCheckSql(QStringLiteral(
            "SELECT COUNT(*) FROM ZA040MS WHERE PROJECT_ID = :P0 AND MENU_ID = :P1"));
}

QChar TfrmZAI040::requiredPrefix() const
{
    const QString project = projects->projectId();
    return project.isEmpty() ? QChar() : project.back();
}

void TfrmZAI040::dedMenuIDChange(const QString &text)
{
    if (text.size() != 1 || text.front() == requiredPrefix())
        return;
    ClearBoundField(dedMenuID);
    ShowStatusMessage(lblMenuID->text() + QStringLiteral("는 '") + requiredPrefix()
                      + QStringLiteral("'로 시작해야 합니다."));
}

void TfrmZAI040::CheckRowFields()
{
    // A pasted ID passes the prefix rule of typing: a new one is checked again here.
    const QString id = dedMenuID->text().trimmed();
    const bool inserting = cdsGrid->state() == ClientDataSet::State::Insert;
    CheckRequired(id.size() >= 2 && (!inserting || id.front() == requiredPrefix()),
                  lblMenuID,
                  dedMenuID);
    CheckRequired(dedMenuName, lblMenuName);
    CheckRequired(dedDisplaySeq, lblDisplaySeq);
}

QStringList TfrmZAI040::DeletedRowReferences(int index) const
{
    const auto deleted = [&](const QString &field) {
        return cdsGrid->deletedValue(index, field).toString();
    };
    return DeleteReferences::ofMenu(database(),
                                    deleted(QStringLiteral("PROJECT_ID")),
                                    deleted(QStringLiteral("MENU_ID")));
}
