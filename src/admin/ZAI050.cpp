#include "ZAI050.h"

#include "displayorderfield.h"
#include "projectchooser.h"

#include "common/commonroutines.h"
#include "common/silentabort.h"
#include "db/clientdataset.h"
#include "db/deletereferences.h"
#include "db/sqlstatement.h"
#include "framework/chooserbox.h"
#include "framework/datagrid.h"
#include "framework/dbedit.h"
#include "framework/enterkeys.h"
#include "framework/entryfields.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

namespace {

const QString All = QStringLiteral("[전체]");

} // namespace

TfrmZAI050::TfrmZAI050(QWidget *parent)
    : TfrmZZI020(parent)
{
    setObjectName(QStringLiteral("frmZAI050"));
    setWindowTitle(QStringLiteral("프로그램 등록"));

    createProjectChooser(*this, *this, nullptr);
    lblMenu = new QLabel(QStringLiteral("* 메인 메뉴"), panSearch);
    lblMenu->setObjectName(QStringLiteral("lblMenu"));
    cbbMenu = new QComboBox(panSearch);
    cbbMenu->setObjectName(QStringLiteral("cbbMenu"));
    cbbMenu->setFixedWidth(200);
    lblMenu->setBuddy(cbbMenu);
    addSearchWidget(lblMenu);
    addSearchWidget(cbbMenu);
    connect(projects, &ProjectChooser::projectChanged, this, [this] { buildMenuLists(); });
    EnterKeys::moveTo(cbbProject, [this]() -> QWidget * { return cbbMenu; });
    EnterKeys::run(cbbMenu, [this] { bbtSearchClick(); });

    // The menu completes the order of the rows; the program ID ends ties.
    cdsGrid->setSql(QStringLiteral(
            "SELECT PROJECT_ID, MENU_ID, PROGRAM_ID, PROGRAM_NAME, DISPLAY_SEQ, U_EMP_NO, U_DATE, "
            "U_IP FROM ZA050MS WHERE PROJECT_ID = :P0 "
            "AND (CAST(:P1 AS VARCHAR(2)) IS NULL OR MENU_ID = :P1) "
            "ORDER BY PROJECT_ID, MENU_ID, DISPLAY_SEQ NULLS LAST, PROGRAM_ID"));
    cdsGrid->addField(DataField(QStringLiteral("MENU_NAME"), DataField::Text, 30).setCalculated());
    cdsGrid->setCalcFields([this](int row) {
        const int index = m_chooserIds.indexOf(
                cdsGrid->value(row, QStringLiteral("MENU_ID")).toString());
        cdsGrid->setCalculatedValue(row,
                                    QStringLiteral("MENU_NAME"),
                                    index < 0 ? QString() : cbbMenuName->itemText(index));
    });
    rgrGrid->addColumn(QStringLiteral("MENU_NAME"), QStringLiteral("메인 메뉴 명"), 300);
    rgrGrid->addColumn(QStringLiteral("DISPLAY_SEQ"),
                       QStringLiteral("화면 표시 순서"),
                       100,
                       Qt::AlignCenter);
    rgrGrid->addColumn(QStringLiteral("PROGRAM_ID"),
                       QStringLiteral("프로그램 ID"),
                       200,
                       Qt::AlignCenter);
    rgrGrid->addColumn(QStringLiteral("PROGRAM_NAME"), QStringLiteral("프로그램 명"), 300);

    lblMenuName = CreateFieldLabel(QStringLiteral("lblMenuName"),
                                   QStringLiteral("* 메인 메뉴 명"),
                                   panMain);
    cbbMenuName = new ChooserBox(panMain);
    cbbMenuName->setObjectName(QStringLiteral("cbbMenuName"));
    cbbMenuName->setFixedWidth(220);
    lblProgramID = CreateFieldLabel(QStringLiteral("lblProgramID"),
                                    QStringLiteral("* 프로그램 I D"),
                                    panMain);
    dedProgramID = CreateBoundEdit(QStringLiteral("dedProgramID"),
                                   cdsGrid,
                                   QStringLiteral("PROGRAM_ID"),
                                   6,
                                   80,
                                   panMain,
                                   DbEdit::InputMode::Latin);
    dedProgramID->setUpperCase(true);
    lblProgramName = CreateFieldLabel(QStringLiteral("lblProgramName"),
                                      QStringLiteral("* 프로그램  명"),
                                      panMain);
    dedProgramName = CreateBoundEdit(QStringLiteral("dedProgramName"),
                                     cdsGrid,
                                     QStringLiteral("PROGRAM_NAME"),
                                     30,
                                     220,
                                     panMain,
                                     DbEdit::InputMode::Korean);
    const DisplayOrderField order = DisplayOrderField::create(cdsGrid, panMain);
    lblDisplaySeq = order.label;
    dedDisplaySeq = order.edit;
    QGridLayout *grid = CreateEntryGrid();
    grid->addWidget(lblMenuName, 0, 0);
    grid->addWidget(cbbMenuName, 0, 1, Qt::AlignLeft);
    grid->addWidget(lblProgramID, 1, 0);
    grid->addWidget(dedProgramID, 1, 1, Qt::AlignLeft);
    grid->addWidget(lblProgramName, 2, 0);
    grid->addWidget(dedProgramName, 2, 1, Qt::AlignLeft);
    grid->addWidget(lblDisplaySeq, 3, 0);
    grid->addWidget(dedDisplaySeq, 3, 1, Qt::AlignLeft);
    addToMain(grid);
    attachFocusColours({cbbMenu, cbbMenuName});

    EnterKeys::moveToNext(cbbMenuName);
    EnterKeys::moveToNext(dedProgramID);
    EnterKeys::moveToNext(dedProgramName);
    EnterKeys::moveTo(dedDisplaySeq, [this]() -> QWidget * {
        if (cbbMenuName->isEnabled())
            return cbbMenuName;
        return dedProgramID->isEditable() ? dedProgramID : dedProgramName;
    });

    setKeyField(QStringLiteral("PROGRAM_ID"), dedProgramID);
    setRowFocusField(dedProgramName);
    setRowKeys({dedProgramID, dedProgramName, dedDisplaySeq});
    setDuplicateCheckSql(QStringLiteral(
            "SELECT 1 FROM DUAL WHERE EXISTS (SELECT 1 FROM ZA050MS WHERE PROJECT_ID = :P0 "
            "AND MENU_ID = :P1 AND PROGRAM_ID = :P2)"));
}

void TfrmZAI050::FormCreate()
{
    TfrmZZI020::FormCreate();
    projects->Fill(database());
}

void TfrmZAI050::buildMenuLists()
{
    m_filterIds = {QString()};
    m_chooserIds.clear();
    QStringList names;
    if (projects->hasProject()) {
        // The ID completes the order: menus of one name keep their places.
        SqlStatement query(database(),
                           QStringLiteral("SELECT MENU_ID, MENU_NAME FROM ZA040MS "
                                          "WHERE PROJECT_ID = :P0 ORDER BY MENU_NAME, MENU_ID"));
        query.bind(QStringLiteral("P0"), projects->projectId());
        query.open();
        while (query.next()) {
            m_chooserIds << query.value(0).toString();
            names << CutAccessKey(query.value(1).toString());
        }
        query.close();
    }
    m_filterIds << m_chooserIds;
    cbbMenu->clear();
    cbbMenu->addItem(All);
    cbbMenu->addItems(names);
    cbbMenu->setCurrentIndex(0);
    cbbMenuName->clear();
    cbbMenuName->addItems(names);
}

bool TfrmZAI050::filterIsAll() const
{
    return cbbMenu->currentIndex() <= 0;
}

QString TfrmZAI050::chooserMenuId() const
{
    return m_chooserIds.value(cbbMenuName->currentIndex());
}

void TfrmZAI050::CheckSearchCriteria()
{
    projects->CheckSelected(QStringLiteral("프로젝트"));
    if (m_chooserIds.isEmpty()) {
        ShowErrorMessage(QStringLiteral("메인 메뉴가 등록되지 않았습니다.\r"
                                        "[메인 메뉴 등록]에서 메뉴를 먼저 등록하십시오."));
        Abort();
    }
}

void TfrmZAI050::LoadData()
{
    if (!filterIsAll())
        cbbMenuName->setCurrentIndex(cbbMenu->currentIndex() - 1);
    TfrmZZI020::LoadData();
}

void TfrmZAI050::SetGridParams()
{
    cdsGrid->setParam(QStringLiteral("P0"), projects->projectId());
    cdsGrid->setParam(QStringLiteral("P1"), m_filterIds.value(cbbMenu->currentIndex()));
}

void TfrmZAI050::updateChooser()
{
    cbbMenuName->setEnabled(cdsGrid->state() == ClientDataSet::State::Insert && filterIsAll()
                            && !isSearchMode());
}

void TfrmZAI050::cdsGridStateChange()
{
    TfrmZZI020::cdsGridStateChange();
    updateChooser();
}

void TfrmZAI050::rgrGridRowChange()
{
    // The chooser follows the row's menu by its ID: two menus may show one name.
    if (filterIsAll() && cdsGrid->isActive() && !cdsGrid->isEmpty()
        && cdsGrid->state() != ClientDataSet::State::Insert)
        cbbMenuName->setCurrentIndex(
                m_chooserIds.indexOf(cdsGrid->text(QStringLiteral("MENU_ID"))));
    updateChooser();
    TfrmZZI020::rgrGridRowChange();
}

void TfrmZAI050::CheckRowFields()
{
    CheckRequired(dedProgramID, lblProgramID, 6);
    CheckRequired(dedProgramName, lblProgramName);
    CheckRequired(dedDisplaySeq, lblDisplaySeq);
    // A new program needs a menu to go to.
    if (cdsGrid->state() == ClientDataSet::State::Insert)
        CheckRequired(!chooserMenuId().isEmpty(), lblMenuName, cbbMenuName);
}

QVariantList TfrmZAI050::DuplicateCheckParams() const
{
    return {projects->projectId(), chooserMenuId(), keyText()};
}

QString TfrmZAI050::KeyListText() const
{
    return projects->projectId() + QChar(0x1F) + chooserMenuId() + QChar(0x1F) + keyText();
}

void TfrmZAI050::FillRowFields()
{
    // Only a new row takes the chooser's menu: editing a program never moves it.
    if (cdsGrid->state() != ClientDataSet::State::Insert)
        return;
    cdsGrid->setValue(QStringLiteral("PROJECT_ID"), projects->projectId());
    cdsGrid->setValue(QStringLiteral("MENU_ID"), chooserMenuId());
}

QStringList TfrmZAI050::DeletedRowReferences(int index) const
{
    const auto deleted = [&](const QString &field) {
        return cdsGrid->deletedValue(index, field).toString();
    };
    return DeleteReferences::ofProgram(database(),
                                       deleted(QStringLiteral("PROJECT_ID")),
                                       deleted(QStringLiteral("MENU_ID")),
                                       deleted(QStringLiteral("PROGRAM_ID")));
}
