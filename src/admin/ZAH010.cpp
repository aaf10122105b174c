#include "ZAH010.h"

#include "bytelimit.h"

#include "db/database.h"
#include "db/sqlstatement.h"
#include "framework/datagrid.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Ordered by number so that every packet of a long list reads the same order.
const char *const UserSql
        = "SELECT EMP_NO, EMP_NAME, CASE WHEN USE_YN = 'N' THEN '사용중지' END USE_YN "
          "FROM ZA010MS WHERE EMP_NAME LIKE COALESCE(CAST(:P0 AS VARCHAR(30)), '') || '%' "
          "ORDER BY EMP_NO";

QSqlDatabase defaultDatabase()
{
    return QSqlDatabase::database(Database::defaultConnectionName(), false);
}

} // namespace

TfrmZAH010::TfrmZAH010(QWidget *owner)
    : TfrmZZH020(owner)
{
    setObjectName(QStringLiteral("frmZAH010"));
    setWindowTitle(QStringLiteral("사용자 Help"));

    lblEmpName = new QLabel(QStringLiteral("사용자"), panSearch);
    lblEmpName->setObjectName(QStringLiteral("lblEmpName"));
    edtEmpName = new QLineEdit(panSearch);
    edtEmpName->setObjectName(QStringLiteral("edtEmpName"));
    edtEmpName->setFixedWidth(160);
    LimitTextBytes(edtEmpName, 30);
    lblEmpName->setBuddy(edtEmpName);
    addSearchWidget(lblEmpName);
    addSearchWidget(edtEmpName);
    setSearchFields({edtEmpName});
    attachFocusColours({edtEmpName});

    rgrGrid->addColumn(QStringLiteral("EMP_NO"), QStringLiteral("사용자 번호"), 84);
    rgrGrid->addColumn(QStringLiteral("EMP_NAME"), QStringLiteral("사용자 명"), 217);
    rgrGrid->addColumn(QStringLiteral("USE_YN"), QStringLiteral("사용여부"), 64);
    setTabOrder(bbtSearch, rgrGrid);
}

void TfrmZAH010::showEvent(QShowEvent *event)
{
    TfrmZZH020::showEvent(event);
    edtEmpName->setFocus(); // the dialog opens on its search field
}

void TfrmZAH010::bbtSearchClick()
{
    TfrmZZH020::bbtSearchClick();
    SearchQuery(QString::fromUtf8(UserSql), {edtEmpName->text()});
}

bool ShowUserHelp(QString &Name, QString &EmpNo)
{
    return ShowUserHelp(Name, EmpNo, defaultDatabase());
}

bool ShowUserHelp(QString &Name, QString &EmpNo, const QSqlDatabase &db)
{
    EmpNo.clear();
    TfrmZAH010 dialog;
    dialog.setDatabase(db);
    if (!dialog.showModal())
        return false;
    EmpNo = dialog.chosenCode();
    Name = dialog.chosenName();
    return true;
}

QString GetEmpName(const QString &EmpNo)
{
    return GetEmpName(EmpNo, defaultDatabase());
}

QString GetEmpName(const QString &EmpNo, const QSqlDatabase &db)
{
    SqlStatement query(db, QStringLiteral("SELECT EMP_NAME FROM ZA010MS WHERE EMP_NO = :P0"));
    query.bind(QStringLiteral("P0"), EmpNo);
    query.open();
    const QString name = query.next() ? query.value(0).toString() : QString();
    query.close();
    return name;
}
