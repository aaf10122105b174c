#include "ZAI030.h"

#include "framework/entryfields.h"
#include "projectchooser.h"

#include "db/clientdataset.h"
#include "db/deletereferences.h"
#include "framework/datagrid.h"
#include "framework/dbedit.h"
#include "framework/enterkeys.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

TfrmZAI030::TfrmZAI030(QWidget *parent)
    : ProjectGridScreen(parent)
{
    setObjectName(QStringLiteral("frmZAI030"));
    setWindowTitle(QStringLiteral("프로젝트 레벨 등록"));

    cdsGrid->setSql(
            QStringLiteral("SELECT PROJECT_ID, PROJECT_LEVEL, PROJECT_LEVEL_NAME, U_EMP_NO, "
                           "U_DATE, U_IP FROM ZA030MS WHERE PROJECT_ID = :P0 "
                           "ORDER BY PROJECT_ID, PROJECT_LEVEL"));
    rgrGrid->addColumn(QStringLiteral("PROJECT_LEVEL"),
                       QStringLiteral("레벨 ID"),
                       200,
                       Qt::AlignCenter);
    rgrGrid->addColumn(QStringLiteral("PROJECT_LEVEL_NAME"), QStringLiteral("레벨 명"), 400);

    lblLevel = CreateFieldLabel(QStringLiteral("lblLevel"), QStringLiteral("* 레 벨 ID"), panMain);
    dedLevel = CreateBoundEdit(QStringLiteral("dedLevel"),
                               cdsGrid,
                               QStringLiteral("PROJECT_LEVEL"),
                               3,
                               50,
                               panMain,
                               DbEdit::InputMode::Latin);
    lblLevelName = CreateFieldLabel(QStringLiteral("lblLevelName"),
                                    QStringLiteral("* 레 벨 명"),
                                    panMain);
    dedLevelName = CreateBoundEdit(QStringLiteral("dedLevelName"),
                                   cdsGrid,
                                   QStringLiteral("PROJECT_LEVEL_NAME"),
                                   30,
                                   220,
                                   panMain,
                                   DbEdit::InputMode::Korean);
    QGridLayout *grid = CreateEntryGrid();
    grid->addWidget(lblLevel, 0, 0);
    grid->addWidget(dedLevel, 0, 1, Qt::AlignLeft);
    grid->addWidget(lblLevelName, 1, 0);
    grid->addWidget(dedLevelName, 1, 1, Qt::AlignLeft);
    addToMain(grid);

    EnterKeys::moveToNext(dedLevel);
    EnterKeys::moveTo(dedLevelName, [this]() -> QWidget * {
        return dedLevel->isEditable() ? dedLevel : nullptr;
    });

    setKeyField(QStringLiteral("PROJECT_LEVEL"), dedLevel);
    setRowFocusField(dedLevelName);
    setRowKeys({dedLevel, dedLevelName});
    setDuplicateCheckSql(QStringLiteral("SELECT 1 FROM DUAL WHERE EXISTS (SELECT 1 FROM ZA030MS "
                                        "WHERE PROJECT_ID = :P0 AND PROJECT_LEVEL = :P1)"));
}

void TfrmZAI030::CheckRowFields()
{
    CheckRequired(dedLevel, lblLevel);
    CheckRequired(dedLevelName, lblLevelName);
}

QStringList TfrmZAI030::DeletedRowReferences(int index) const
{
    const auto deleted = [&](const QString &field) {
        return cdsGrid->deletedValue(index, field).toString();
    };
    return DeleteReferences::ofLevel(database(),
                                     deleted(QStringLiteral("PROJECT_ID")),
                                     deleted(QStringLiteral("PROJECT_LEVEL")));
}
