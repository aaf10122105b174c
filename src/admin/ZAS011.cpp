#include "ZAS011.h"

#include "employeepicker.h"

#include "framework/datagrid.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace {

// Every user when the number field is empty.
const char *const PasswordSql
        = "SELECT EMP_NO, EMP_NAME, FN_ZA010MS_02(PASSWORD_CODE, 'RoTa') PASSWORD_CODE, "
          "U_EMP_NO, TO_CHAR(U_DATE, 'YYYY-MM-DD AMHH:MI:SS') U_DATE FROM ZA010MS "
          "WHERE (CAST(:P0 AS VARCHAR(10)) IS NULL OR EMP_NO = :P0) ORDER BY EMP_NO";

GridColumn readOnlyColumn(const char *field, const char *title, int width, Qt::Alignment alignment)
{
    GridColumn column;
    column.fieldName = QString::fromLatin1(field);
    column.title = QString::fromUtf8(title);
    column.width = width;
    column.alignment = alignment;
    column.readOnly = true;
    return column;
}

} // namespace

TfrmZAS011::TfrmZAS011(QWidget *parent)
    : TfrmZZS020(parent)
{
    setObjectName(QStringLiteral("frmZAS011"));
    setWindowTitle(QStringLiteral("사용자별 비밀번호 조회"));

    createEmployeePicker(this, *this, QStringLiteral("사용자"), [this] { bbtSearchClick(); });

    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    rgrGrid->addColumn(readOnlyColumn("EMP_NO", "사용자 번호", 86, left));
    rgrGrid->addColumn(readOnlyColumn("EMP_NAME", "사용자 이름", 131, left));
    rgrGrid->addColumn(readOnlyColumn("PASSWORD_CODE", "비밀번호", 125, left));
    rgrGrid->addColumn(readOnlyColumn("U_EMP_NO", "최근 변경자", 125, left));
    rgrGrid->addColumn(readOnlyColumn("U_DATE", "최근 변경 일시", 199, Qt::AlignCenter));

    for (QPushButton *button : {bbtPrint, bbtPreview, bbtExcel})
        button->hide();
}

void TfrmZAS011::FormCreate()
{
    TfrmZZS020::FormCreate();
    // The password inquiry is of no use to anyone but an administrator; it
    // stays locked when the test itself fails.
    bbtSearch->setEnabled(false);
    bbtSearch->setEnabled(picker->Start(false));
    setRefusalText(bbtSearch,
                   bbtSearch->isEnabled()
                           ? QString()
                           : QStringLiteral(
                                   "관리자만 조회할 수 있습니다. 관리자에게 문의하십시오."));
}

void TfrmZAS011::bbtSearchClick()
{
    bbtSearch->setFocus();
    picker->FillName();
    if (wlbEmpName->text().isEmpty())
        cedEmpNo->clear(); // no such user: every user is listed
    TfrmZZS020::bbtSearchClick();
    OpenQuery(QString::fromUtf8(PasswordSql), {cedEmpNo->text()});
    if (cedEmpNo->isEnabled()) {
        cedEmpNo->setFocus();
        cedEmpNo->selectAll();
    }
}
