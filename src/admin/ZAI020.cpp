#include "ZAI020.h"

#include "framework/displaylabel.h"
#include "framework/entryfields.h"

#include "codes/ZXH010.h"
#include "codes/codeheads.h"
#include "db/clientdataset.h"
#include "db/deletereferences.h"
#include "framework/datagrid.h"
#include "framework/dbedit.h"
#include "framework/enterkeys.h"
#include "framework/useraction.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>

TfrmZAI020::TfrmZAI020(QWidget *parent)
    : TfrmZZI020(parent)
{
    setObjectName(QStringLiteral("frmZAI020"));
    setWindowTitle(QStringLiteral("프로젝트 등록"));

    cdsGrid->setSql(QStringLiteral("SELECT PROJECT_ID, PROJECT_NAME, TEAM_ROLE, U_EMP_NO, U_DATE, "
                                   "U_IP FROM ZA020MS ORDER BY PROJECT_ID"));
    cdsGrid->addField(
            DataField(QStringLiteral("TEAM_ROLE_NAME"), DataField::Text, 30).setCalculated());
    cdsGrid->setCalcFields([this](int row) {
        const QString role = cdsGrid->value(row, QStringLiteral("TEAM_ROLE")).toString();
        cdsGrid->setCalculatedValue(row, QStringLiteral("TEAM_ROLE_NAME"), roleName(role));
    });
    rgrGrid->addColumn(QStringLiteral("PROJECT_ID"),
                       QStringLiteral("프로젝트 ID"),
                       150,
                       Qt::AlignCenter);
    rgrGrid->addColumn(QStringLiteral("PROJECT_NAME"), QStringLiteral("프로젝트 명"), 250);
    rgrGrid->addColumn(QStringLiteral("TEAM_ROLE_NAME"),
                       QStringLiteral("소속 권한"),
                       250,
                       Qt::AlignCenter);

    lblProjectID = CreateFieldLabel(QStringLiteral("lblProjectID"),
                                    QStringLiteral("* 프로젝트 ID"),
                                    panMain);
    dedProjectID = CreateBoundEdit(QStringLiteral("dedProjectID"),
                                   cdsGrid,
                                   QStringLiteral("PROJECT_ID"),
                                   6,
                                   80,
                                   panMain,
                                   DbEdit::InputMode::Latin);
    dedProjectID->setUpperCase(true);
    lblProjectName = CreateFieldLabel(QStringLiteral("lblProjectName"),
                                      QStringLiteral("* 프로젝트 명"),
                                      panMain);
    dedProjectName = CreateBoundEdit(QStringLiteral("dedProjectName"),
                                     cdsGrid,
                                     QStringLiteral("PROJECT_NAME"),
                                     30,
                                     220,
                                     panMain,
                                     DbEdit::InputMode::Korean);
    lblTeamRole = CreateFieldLabel(QStringLiteral("lblTeamRole"),
                                   QStringLiteral("* 소 속 권 한"),
                                   panMain);
    dedTeamRole = CreateBoundEdit(QStringLiteral("dedTeamRole"),
                                  cdsGrid,
                                  QStringLiteral("TEAM_ROLE"),
                                  1,
                                  30,
                                  panMain,
                                  DbEdit::InputMode::Latin);
    sbtTeamRole = new QToolButton(panMain);
    sbtTeamRole->setObjectName(QStringLiteral("sbtTeamRole"));
    sbtTeamRole->setText(QStringLiteral("…"));
    sbtTeamRole->setFixedSize(21, 21);
    sbtTeamRole->setFocusPolicy(Qt::NoFocus);
    wlbTeamRole = CreateDisplayLabel(QStringLiteral("wlbTeamRole"), panMain, 160);

    QGridLayout *grid = CreateEntryGrid();
    grid->addWidget(lblProjectID, 0, 0);
    grid->addWidget(dedProjectID, 0, 1, 1, 3, Qt::AlignLeft);
    grid->addWidget(lblProjectName, 1, 0);
    grid->addWidget(dedProjectName, 1, 1, 1, 3, Qt::AlignLeft);
    grid->addWidget(lblTeamRole, 2, 0);
    grid->addWidget(dedTeamRole, 2, 1);
    grid->addWidget(sbtTeamRole, 2, 2);
    grid->addWidget(wlbTeamRole, 2, 3, Qt::AlignLeft);
    addToMain(grid);

    // The label follows the field, whether typed or shown for another row.
    connect(dedTeamRole, &QLineEdit::textChanged, this, [this](const QString &text) {
        RunUserAction([this, text] {
            wlbTeamRole->setText(text.size() == 1 ? roleName(text) : QString());
        });
    });
    connectClick(sbtTeamRole, [this] { sbtTeamRoleClick(); });
    dedTeamRole->installEventFilter(this);

    EnterKeys::moveToNext(dedProjectID);
    EnterKeys::moveToNext(dedProjectName);
    EnterKeys::moveTo(dedTeamRole, [this]() -> QWidget * {
        return dedProjectID->isEditable() ? dedProjectID : dedProjectName;
    });

    setKeyField(QStringLiteral("PROJECT_ID"), dedProjectID);
    setRowFocusField(dedProjectName);
    setRowKeys({dedProjectID, dedProjectName, dedTeamRole});
    setDuplicateCheckSql(QStringLiteral(
            "SELECT 1 FROM DUAL WHERE EXISTS (SELECT 1 FROM ZA020MS WHERE PROJECT_ID = :P0)"));
}

QString TfrmZAI020::roleName(const QString &role) const
{
    return role.isEmpty() ? QString() : GetCodeName(CodeHead::teamRoles(), role, database());
}

bool TfrmZAI020::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == dedTeamRole && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F1) {
        RunUserAction([this] { sbtTeamRoleClick(); });
        return true;
    }
    return TfrmZZI020::eventFilter(watched, event);
}

void TfrmZAI020::sbtTeamRoleClick()
{
    if (!sbtTeamRole->isEnabled() || !cdsGrid->isActive())
        return;
    QString name;
    QString code;
    ShowCodeDetailHelp(CodeHead::teamRoles(), name, code, database());
    if (code.isEmpty())
        return;
    if (!cdsGrid->isEditing())
        cdsGrid->edit();
    cdsGrid->setValue(QStringLiteral("TEAM_ROLE"), code);
}

void TfrmZAI020::CheckRowFields()
{
    CheckRequired(dedProjectID, lblProjectID, 6);
    CheckRequired(dedProjectName, lblProjectName);
    CheckRequired(!wlbTeamRole->text().isEmpty(), lblTeamRole, dedTeamRole);
}

void TfrmZAI020::bbtCancelClick()
{
    TfrmZZI020::bbtCancelClick();
    bbtSearchClick();
}

QStringList TfrmZAI020::DeletedRowReferences(int index) const
{
    const auto deleted = [&](const QString &field) {
        return cdsGrid->deletedValue(index, field).toString();
    };
    return DeleteReferences::ofProject(database(), deleted(QStringLiteral("PROJECT_ID")));
}
