#include "zzt080screen.h"

#include "db/sqlstatement.h"
#include "db/storedprocedure.h"
#include "framework/gridcolumn.h"
#include "framework/memorygrid.h"

TfrmZZT080::TfrmZZT080(QWidget *parent)
    : TfrmZZI080(parent)
{
    setObjectName(QStringLiteral("frmZZT080"));

    GridColumn code;
    code.title = QStringLiteral("코드");
    addGridColumn(code, MemoryGridModel::DataType::Text, 6);
    GridColumn name;
    name.title = QStringLiteral("이름");
    name.width = 120;
    addGridColumn(name, MemoryGridModel::DataType::Text, 40);
    GridColumn note;
    note.title = QStringLiteral("비고");
    note.readOnly = true;
    addGridColumn(note);
    GridColumn qty;
    qty.title = QStringLiteral("수량");
    qty.footer = GridFooter::Sum;
    addGridColumn(qty, MemoryGridModel::DataType::Number, 9);
    rgrGrid->setFooterVisible(true);
}

void TfrmZZT080::FormCreate()
{
    TfrmZZI080::FormCreate();
    // Here rather than in the constructor: the connection is known by now.
    qryQuery().setSql(QStringLiteral("SELECT CODE, NAME, NOTE, QTY FROM ZT080MS ORDER BY CODE"));
    prcProc().setProcedureName(QStringLiteral("PR_TEST080"));
}
