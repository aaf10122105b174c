#include "ZZT020.h"

#include "db/clientdataset.h"
#include "framework/datagrid.h"
#include "framework/dbedit.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

TfrmZZT020::TfrmZZT020(QWidget *parent)
    : TfrmZZI020(parent)
{
    setObjectName(QStringLiteral("frmZZT020"));

    lblFilter = new QLabel(QStringLiteral("프로젝트"), panSearch);
    lblFilter->setObjectName(QStringLiteral("lblFilter"));
    edtFilter = new QLineEdit(panSearch);
    edtFilter->setObjectName(QStringLiteral("edtFilter"));
    addSearchWidget(lblFilter);
    addSearchWidget(edtFilter);

    cdsGrid->setSql(QStringLiteral(
            "SELECT PROJECT_ID, PROJECT_NAME, TEAM_ROLE, U_EMP_NO, U_DATE, U_IP FROM ZA020MS "
            "WHERE PROJECT_ID LIKE :P0 ORDER BY PROJECT_ID"));
    cdsGrid->addField(
            DataField(QStringLiteral("TEAM_ROLE_NAME"), DataField::Text, 30).setCalculated());
    cdsGrid->setCalcFields([this](int row) {
        const QString role = cdsGrid->value(row, QStringLiteral("TEAM_ROLE")).toString();
        cdsGrid->setCalculatedValue(row,
                                    QStringLiteral("TEAM_ROLE_NAME"),
                                    role.isEmpty() ? QString() : QStringLiteral("역할 ") + role);
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

    auto *form = new QFormLayout;
    lblProjectID = new QLabel(QStringLiteral("* 프로젝트 ID"), panMain);
    lblProjectID->setObjectName(QStringLiteral("lblProjectID"));
    dedProjectID = new DbEdit(panMain);
    dedProjectID->setObjectName(QStringLiteral("dedProjectID"));
    dedProjectID->bind(cdsGrid, QStringLiteral("PROJECT_ID"));
    dedProjectID->setMaxLength(6);
    dedProjectID->setUpperCase(true);
    dedProjectID->setInputMode(DbEdit::InputMode::Latin);
    lblProjectName = new QLabel(QStringLiteral("* 프로젝트 명"), panMain);
    lblProjectName->setObjectName(QStringLiteral("lblProjectName"));
    dedProjectName = new DbEdit(panMain);
    dedProjectName->setObjectName(QStringLiteral("dedProjectName"));
    dedProjectName->bind(cdsGrid, QStringLiteral("PROJECT_NAME"));
    dedProjectName->setMaxLength(30);
    dedProjectName->setInputMode(DbEdit::InputMode::Korean);
    form->addRow(lblProjectID, dedProjectID);
    form->addRow(lblProjectName, dedProjectName);
    addToMain(form);

    // Containers nested below panMain: five of them around edtDeep5, six around edtDeep6.
    QWidget *container = panMain;
    for (int level = 1; level <= 6; ++level) {
        auto *nested = new QWidget(container);
        nested->setObjectName(QStringLiteral("panNest%1").arg(level));
        container = nested;
        if (level == 5) {
            edtDeep5 = new QLineEdit(container);
            edtDeep5->setObjectName(QStringLiteral("edtDeep5"));
        }
    }
    edtDeep6 = new QLineEdit(container);
    edtDeep6->setObjectName(QStringLiteral("edtDeep6"));

    setKeyField(QStringLiteral("PROJECT_ID"), dedProjectID);
    setRowFocusField(dedProjectName);
    setRowKeys({dedProjectID, dedProjectName});
    setDuplicateCheckSql(QStringLiteral("SELECT COUNT(*) FROM ZA020MS WHERE PROJECT_ID = :P0"));
}

void TfrmZZT020::SetGridParams()
{
    cdsGrid->setParam(QStringLiteral("P0"), edtFilter->text() + QLatin1Char('%'));
}

void TfrmZZT020::CheckRowFields()
{
    CheckRequired(dedProjectID, lblProjectID, 6);
    CheckRequired(dedProjectName, lblProjectName);
}
