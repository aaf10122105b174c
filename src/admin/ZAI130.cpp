#include "ZAI130.h"

#include "ZAH030.h"
#include "employeepicker.h"
#include "readrows.h"

#include "common/commonroutines.h"
#include "common/loginvalues.h"
#include "common/silentabort.h"
#include "db/clientdataset.h"
#include "framework/datagrid.h"
#include "framework/dbedit.h"
#include "framework/displaylabel.h"
#include "framework/entryfields.h"
#include "framework/messagetexts.h"
#include "framework/useraction.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QToolButton>

namespace {

const QString LevelField = QStringLiteral("PROJECT_LEVEL");
const QString ProjectField = QStringLiteral("PROJECT_ID");

} // namespace

TfrmZAI130::TfrmZAI130(QWidget *parent)
    : TfrmZZI020(parent)
{
    setObjectName(QStringLiteral("frmZAI130"));
    setWindowTitle(QStringLiteral("사용자별 레벨 등록"));

    createEmployeePicker(this, *this, QStringLiteral("* 사 용 자"), [this] { bbtSearchClick(); });

    cdsGrid->addField(
            DataField(QStringLiteral("PROJECT_NAME"), DataField::Text, 30).setCalculated());
    cdsGrid->addField(
            DataField(QStringLiteral("PROJECT_LEVEL_NAME"), DataField::Text, 30).setCalculated());
    cdsGrid->setSql(QStringLiteral("SELECT EMP_NO, PROJECT_ID, PROJECT_LEVEL, U_EMP_NO, U_DATE, "
                                   "U_IP FROM ZA130MS WHERE EMP_NO = :P0 ORDER BY PROJECT_ID"));
    cdsGrid->setCalcFields([this](int row) {
        const QString project = cdsGrid->value(row, ProjectField).toString();
        const int at = int(m_projectIds.indexOf(project));
        if (at >= 0)
            cdsGrid->setCalculatedValue(row, QStringLiteral("PROJECT_NAME"), m_projectNames.at(at));
        cdsGrid->setCalculatedValue(row,
                                    QStringLiteral("PROJECT_LEVEL_NAME"),
                                    GetLevelName(project,
                                                 cdsGrid->value(row, LevelField).toString(),
                                                 database()));
    });
    rgrGrid->addColumn(QStringLiteral("PROJECT_NAME"), QStringLiteral("프로젝트"), 300);
    rgrGrid->addColumn(LevelField, QStringLiteral("레벨"), 150, Qt::AlignCenter);
    rgrGrid->addColumn(QStringLiteral("PROJECT_LEVEL_NAME"), QStringLiteral("레벨 명"), 300);
    rgrGrid->setMinimumHeight(240);

    lblProject = CreateFieldLabel(QStringLiteral("lblProject"),
                                  QStringLiteral("프 로 젝 트"),
                                  panMain);
    wlbProject = CreateDisplayLabel(QStringLiteral("wlbProject"), panMain, 220);
    lblLevel = CreateFieldLabel(QStringLiteral("lblLevel"), QStringLiteral("* 레    벨"), panMain);
    dedLevel = CreateBoundEdit(QStringLiteral("dedLevel"),
                               cdsGrid,
                               LevelField,
                               3,
                               50,
                               panMain,
                               DbEdit::InputMode::Latin);
    sbtLevel = new QToolButton(panMain);
    sbtLevel->setObjectName(QStringLiteral("sbtLevel"));
    sbtLevel->setText(QStringLiteral("…"));
    sbtLevel->setFixedSize(21, 21);
    sbtLevel->setFocusPolicy(Qt::NoFocus);
    wlbLevel = CreateDisplayLabel(QStringLiteral("wlbLevel"), panMain, 160);

    QGridLayout *grid = CreateEntryGrid();
    grid->addWidget(lblProject, 0, 0);
    grid->addWidget(wlbProject, 0, 1, 1, 3, Qt::AlignLeft);
    grid->addWidget(lblLevel, 1, 0);
    grid->addWidget(dedLevel, 1, 1, Qt::AlignLeft);
    grid->addWidget(sbtLevel, 1, 2);
    grid->addWidget(wlbLevel, 1, 3, Qt::AlignLeft);
    addToMain(grid);

    // Rows are neither added nor deleted by hand: the hidden buttons stop F4 and F9.
    bbtAdd->hide();
    bbtDelete->hide();

    connect(dedLevel, &QLineEdit::textChanged, this, [this](const QString &text) {
        RunUserAction([this, text] { levelEdited(text); });
    });
    connectClick(sbtLevel, [this] { sbtLevelClick(); });
    dedLevel->installEventFilter(this);
    attachFocusColours({dedLevel});

    setKeyField(LevelField, dedLevel, false);
    setRowFocusField(dedLevel);
    setRowKeys({dedLevel});
    setDuplicateCheckSql(QStringLiteral("SELECT 1 FROM DUAL WHERE EXISTS (SELECT 1 FROM ZA130MS "
                                        "WHERE EMP_NO = :P0 AND PROJECT_ID = :P1)"));
}

void TfrmZAI130::FormCreate()
{
    TfrmZZI020::FormCreate();
    picker->Start();
}

bool TfrmZAI130::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == dedLevel && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F1) {
        RunUserAction([this] { sbtLevelClick(); });
        return true;
    }
    return TfrmZZI020::eventFilter(watched, event);
}

void TfrmZAI130::CheckSearchCriteria()
{
    CheckEmployeeNamed();
}

void TfrmZAI130::SetGridParams()
{
    cdsGrid->setParam(QStringLiteral("P0"), cedEmpNo->text());
}

void TfrmZAI130::LoadData()
{
    const QString empNo = cedEmpNo->text();
    // The projects first: the rows read take their names from them.
    const QList<QStringList> projects
            = ReadRows(database(),
                       QStringLiteral(
                               "SELECT A.PROJECT_ID, A.PROJECT_NAME, B.EMP_NO FROM ZA020MS A "
                               "LEFT JOIN (SELECT * FROM ZA130MS WHERE EMP_NO = :P0) B "
                               "ON A.PROJECT_ID = B.PROJECT_ID ORDER BY A.PROJECT_ID"),
                       {empNo});
    m_projectIds.clear();
    m_projectNames.clear();
    for (const QStringList &project : projects) {
        m_projectIds << project.at(0);
        m_projectNames << project.at(1);
    }
    OpenGrid();
    for (const QStringList &project : projects) {
        if (!project.at(2).isEmpty())
            continue;
        cdsGrid->append();
        cdsGrid->setValue(QStringLiteral("EMP_NO"), empNo);
        cdsGrid->setValue(ProjectField, project.at(0));
        cdsGrid->setValue(LevelField, QStringLiteral("0"));
    }
    // Through every row, so that each new row is posted with its checks and audit values.
    rgrGrid->setUpdatesEnabled(false);
    const auto show = qScopeGuard([this] { rgrGrid->setUpdatesEnabled(true); });
    for (int row = 0; row < cdsGrid->recordCount(); ++row)
        cdsGrid->moveTo(row);
    cdsGrid->post();
    cdsGrid->first();
    rgrGridRowChange();
}

void TfrmZAI130::rgrGridRowChange()
{
    // No new row on an empty grid: rows come from the projects only.
    if (!cdsGrid->isActive())
        return;
    wlbProject->setText(cdsGrid->text(QStringLiteral("PROJECT_NAME")));
    wlbProject->setToolTip(cdsGrid->text(ProjectField));
    wlbLevel->setText(cdsGrid->text(QStringLiteral("PROJECT_LEVEL_NAME")));
    dedLevel->setFocus();
    dedLevel->selectAll();
}

void TfrmZAI130::levelEdited(const QString &text)
{
    wlbLevel->setText(text.size() == 3 ? GetLevelName(wlbProject->toolTip(), text, database())
                                       : QString());
}

void TfrmZAI130::sbtLevelClick()
{
    if (!sbtLevel->isEnabled() || !cdsGrid->isActive() || cdsGrid->isEmpty())
        return;
    QString levelName;
    QString level;
    ShowLevelHelp(wlbProject->toolTip(), wlbProject->text(), levelName, level, database());
    if (level.isEmpty())
        return;
    if (!cdsGrid->isEditing())
        cdsGrid->edit();
    cdsGrid->setValue(LevelField, level);
}

void TfrmZAI130::CheckRowFields()
{
    if (!dedLevel->text().isEmpty())
        return;
    QString caption = lblLevel->text();
    caption.remove(QRegularExpression(QStringLiteral("\\s")));
    ShowStatusMessage(caption + MessageText::enterCorrectly());
    dedLevel->setFocus();
    Abort();
}

QVariantList TfrmZAI130::DuplicateCheckParams() const
{
    return {cedEmpNo->text(), cdsGrid->text(ProjectField)};
}

QString TfrmZAI130::KeyListText() const
{
    // One row per user and project; every new row starts with the same level.
    return cdsGrid->text(QStringLiteral("EMP_NO")) + QChar(0x1F) + cdsGrid->text(ProjectField);
}

void TfrmZAI130::deleteBlankLevels()
{
    if (!cdsGrid->isActive())
        return;
    rgrGrid->setUpdatesEnabled(false);
    const auto show = qScopeGuard([this] { rgrGrid->setUpdatesEnabled(true); });
    for (int row = cdsGrid->recordCount() - 1; row >= 0; --row) {
        if (!cdsGrid->value(row, LevelField).toString().trimmed().isEmpty())
            continue;
        cdsGrid->moveTo(row);
        cdsGrid->deleteRecord();
    }
}

void TfrmZAI130::bbtSaveClick()
{
    deleteBlankLevels();
    TfrmZZI020::bbtSaveClick();
}

void TfrmZAI130::SaveData()
{
    cdsGrid->applyUpdates();
    setChanged(false);
    SetSearchMode(true);
    DiscardChanges();
    picker->ApplyAuthority();
    bbtSearchClick();
    ShowStatusMessage(MessageText::saved());
}

void TfrmZAI130::bbtCancelClick()
{
    TfrmZZI020::bbtCancelClick();
    wlbProject->clear();
    wlbProject->setToolTip(QString());
    wlbLevel->clear();
    if (!picker->isAdmin())
        picker->setEmployee(login().empNo, login().empName);
    picker->ApplyAuthority();
}
