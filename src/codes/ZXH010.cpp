#include "ZXH010.h"

#include "common/commonroutines.h"
#include "common/silentabort.h"
#include "db/database.h"
#include "db/sqlstatement.h"
#include "framework/datagrid.h"
#include "framework/firstshow.h"
#include "framework/messagetexts.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int ItemCount = 15;
constexpr int HeadLength = 5;
constexpr int NameSearchLength = 30;

// Ordered by the code, so that every packet of a long list reads the same order.
const char *const HeadSearchSql = "SELECT HEAD, DETAIL_NAME FROM ZX010MS "
                                  "WHERE DETAIL_NAME LIKE '%' || :P0 || '%' AND DETAIL = ' ' "
                                  "ORDER BY HEAD";
// DETAIL under the name HEAD, so that one grid column shows the code in both modes.
const char *const DetailListSql = "SELECT DETAIL HEAD, DETAIL_NAME FROM ZX010MS "
                                  "WHERE HEAD = :P0 AND DETAIL <> ' ' ORDER BY DETAIL";

QSqlDatabase defaultDatabase()
{
    return QSqlDatabase::database(Database::defaultConnectionName(), false);
}

QString itemsSql()
{
    QString sql = QStringLiteral("SELECT DETAIL_NAME");
    for (int i = 1; i <= ItemCount; ++i)
        sql += QStringLiteral(", ITEM%1").arg(i);
    return sql + QStringLiteral(" FROM ZX010MS WHERE HEAD = :P0 AND DETAIL = :P1");
}

} // namespace

TfrmZXH010::TfrmZXH010(QWidget *owner)
    : TfrmZZH020(owner)
{
    setObjectName(QStringLiteral("frmZXH010"));
    setWindowTitle(QStringLiteral("공통코드 Help"));

    lblDetailName = new QLabel(QStringLiteral("* 검색 조건"), panSearch);
    lblDetailName->setObjectName(QStringLiteral("lblDetailName"));
    edtDetailName = new QLineEdit(panSearch);
    edtDetailName->setObjectName(QStringLiteral("edtDetailName"));
    edtDetailName->setFixedWidth(200);
    edtDetailName->setMaxLength(50); // the calling routine sets the limit of its mode
    lblDetailName->setBuddy(edtDetailName);
    addSearchWidget(lblDetailName);
    addSearchWidget(edtDetailName);
    setSearchFields({edtDetailName});
    attachFocusColours({edtDetailName});

    rgrGrid->addColumn(QStringLiteral("HEAD"), QStringLiteral("코드"), 83);
    rgrGrid->addColumn(QStringLiteral("DETAIL_NAME"), QStringLiteral("코드명"), 386);
    setTabOrder(edtDetailName, bbtSearch);
    setTabOrder(bbtSearch, rgrGrid);

    // Once, on the first show: searching again whenever the dialog becomes
    // active would reopen the error box of a refused search after it closes.
    RunOnFirstShow(this, [this] {
        if (edtDetailName->isEnabled())
            edtDetailName->setFocus();
        if (!edtDetailName->text().isEmpty())
            bbtSearchClick();
    });
}

void TfrmZXH010::refuseSearchText()
{
    ShowErrorMessage(lblDetailName->text() + MessageText::enterCorrectly());
    edtDetailName->setFocus();
    Abort();
}

void TfrmZXH010::bbtSearchClick()
{
    const QString text = edtDetailName->text();
    if (mode() == HeadSearch) {
        if (text.trimmed().isEmpty())
            refuseSearchText();
    } else if (text.size() < edtDetailName->maxLength()) {
        refuseSearchText();
    }
    TfrmZZH020::bbtSearchClick();
    SearchQuery(QString::fromUtf8(mode() == HeadSearch ? HeadSearchSql : DetailListSql), {text});
}

bool ShowCodeHeadHelp(QString &Name, QString &Head)
{
    return ShowCodeHeadHelp(Name, Head, defaultDatabase());
}

bool ShowCodeHeadHelp(QString &Name, QString &Head, const QSqlDatabase &db)
{
    Head.clear();
    TfrmZXH010 dialog;
    dialog.setDatabase(db);
    dialog.edtDetailName->setText(Name);
    dialog.edtDetailName->setMaxLength(NameSearchLength);
    dialog.setMode(TfrmZXH010::HeadSearch);
    if (!dialog.showModal())
        return false;
    Head = dialog.chosenCode();
    Name = dialog.chosenName();
    return true;
}

bool ShowCodeDetailHelp(const QString &Head, QString &Name, QString &Code)
{
    return ShowCodeDetailHelp(Head, Name, Code, defaultDatabase());
}

bool ShowCodeDetailHelp(const QString &Head, QString &Name, QString &Code, const QSqlDatabase &db)
{
    Code.clear();
    TfrmZXH010 dialog;
    dialog.setDatabase(db);
    dialog.edtDetailName->setText(Head);
    dialog.edtDetailName->setMaxLength(HeadLength);
    if (Head.size() == HeadLength) {
        dialog.edtDetailName->setEnabled(false);
        dialog.lblDetailName->setEnabled(false);
    }
    dialog.setMode(TfrmZXH010::DetailList);
    if (!dialog.showModal())
        return false;
    Code = dialog.chosenCode();
    Name = dialog.chosenName();
    return true;
}

QString GetCodeItems(const QString &Head, const QString &Code, QStringList &Items)
{
    return GetCodeItems(Head, Code, Items, defaultDatabase());
}

QString GetCodeItems(const QString &Head,
                     const QString &Code,
                     QStringList &Items,
                     const QSqlDatabase &db)
{
    Items = QStringList(ItemCount, QString());
    // A statement of its own: a calculated grid column calls this while the
    // screen's statements are open.
    SqlStatement query(db, itemsSql());
    query.bind(QStringLiteral("P0"), Head);
    query.bind(QStringLiteral("P1"), Code);
    query.open();
    QString name;
    if (query.next()) {
        name = query.value(0).toString();
        for (int i = 0; i < ItemCount; ++i)
            Items[i] = query.value(i + 1).toString();
    }
    query.close();
    return name;
}

QString GetCodeName(const QString &Head, const QString &Code)
{
    return GetCodeName(Head, Code, defaultDatabase());
}

QString GetCodeName(const QString &Head, const QString &Code, const QSqlDatabase &db)
{
    QStringList items;
    return GetCodeItems(Head, Code, items, db);
}
