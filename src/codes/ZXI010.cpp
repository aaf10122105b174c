#include "ZXI010.h"

#include "ZXH010.h"
#include "ZXI011.h"
#include "codescreen.h"

#include "common/commonroutines.h"
#include "common/loginvalues.h"
#include "common/silentabort.h"
#include "db/clientdataset.h"
#include "db/sqlstatement.h"
#include "framework/datagrid.h"
#include "framework/dbedit.h"
#include "framework/displaylabel.h"
#include "framework/enterkeys.h"
#include "framework/entryfields.h"
#include "framework/messagetexts.h"
#include "framework/useraction.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace {
constexpr int NameColumn = 1;
constexpr int FirstItemColumn = 2;
constexpr int ItemCount = 15;
} // namespace

TfrmZXI010::TfrmZXI010(QWidget *parent)
    : TfrmZZI020(parent)
{
    setObjectName(QStringLiteral("frmZXI010"));
    setWindowTitle(QStringLiteral("공통코드 등록"));

    lblHead = new QLabel(QStringLiteral("* 분  류"), panSearch);
    lblHead->setObjectName(QStringLiteral("lblHead"));
    edtHead = CodeScreen::createHeadField(panSearch);
    sbtHead = new QToolButton(panSearch);
    sbtHead->setObjectName(QStringLiteral("sbtHead"));
    sbtHead->setText(QStringLiteral("…"));
    sbtHead->setFixedSize(21, 21);
    sbtHead->setFocusPolicy(Qt::NoFocus);
    wlbHead = CreateDisplayLabel(QStringLiteral("wlbHead"), panSearch, 200);
    addSearchWidget(lblHead);
    addSearchWidget(edtHead);
    addSearchWidget(sbtHead);
    addSearchWidget(wlbHead);
    addSearchWidget(new QWidget(panSearch), 1);
    EnterKeys::run(edtHead, [this] { bbtSearchClick(); });
    connect(edtHead, &QLineEdit::textChanged, wlbHead, &QLabel::clear);
    edtHead->installEventFilter(this);
    connectClick(sbtHead, [this] { sbtHeadClick(); });

    cdsGrid->setSql(QStringLiteral("SELECT ") + CodeScreen::columnList()
                    + QStringLiteral(" FROM ZX010MS WHERE HEAD = :P0 AND DETAIL <> ' ' "
                                     "ORDER BY DETAIL"));
    rgrGrid->addColumn(QStringLiteral("DETAIL"), QStringLiteral("코드"), 63, Qt::AlignCenter);
    rgrGrid->addColumn(QStringLiteral("DETAIL_NAME"), QStringLiteral("코드 명"), 240);
    for (int n = 1; n <= 15; ++n) {
        GridColumn item;
        item.fieldName = QStringLiteral("ITEM%1").arg(n);
        item.title = QStringLiteral("속성%1").arg(n);
        item.width = 80;
        item.visible = false;
        rgrGrid->addColumn(item);
    }

    lblDetail = CreateFieldLabel(QStringLiteral("lblDetail"), QStringLiteral("* 코드"), panMain);
    lblDetail->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    dedDetail = CreateBoundEdit(QStringLiteral("dedDetail"),
                                cdsGrid,
                                QStringLiteral("DETAIL"),
                                10,
                                140,
                                panMain);
    CodeScreen::EntryPanel panel = CodeScreen::createEntryPanel(cdsGrid,
                                                                panMain,
                                                                lblDetail,
                                                                dedDetail,
                                                                QStringLiteral("* 코드 명"),
                                                                QString());
    lblDetailName = panel.lblDetailName;
    dedDetailName = panel.dedDetailName;
    lblDetailName->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // The attributes: each shown with its caption only when the head row names it.
    for (int n = 1; n <= 15; ++n) {
        lblItem[n - 1] = panel.lblItem[n - 1];
        dedItem[n - 1] = panel.dedItem[n - 1];
        lblItem[n - 1]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        lblItem[n - 1]->hide();
        dedItem[n - 1]->hide();
        EnterKeys::moveTo(dedItem[n - 1], [this, n] { return afterItem(n - 1); });
    }
    const QList<QWidget *> &entries = panel.entries;
    CodeScreen::placeBesideGrid(mainLayout(), rgrGrid, panel.layout);

    EnterKeys::moveToNext(dedDetail);
    EnterKeys::moveTo(dedDetailName, [this] { return afterItem(-1); });
    attachFocusColours(entries);
    setRowKeys(entries);

    setKeyField(QStringLiteral("DETAIL"), dedDetail);
    setRowFocusField(dedDetailName);
    setDuplicateCheckSql(
            QStringLiteral("SELECT COUNT(*) FROM ZX010MS WHERE HEAD = :P0 AND DETAIL = :P1"));
}

QWidget *TfrmZXI010::afterItem(int index) const
{
    for (int next = index + 1; next < 15; ++next) {
        if (!dedItem[next]->isHidden())
            return dedItem[next];
    }
    return dedDetail->isEditable() ? static_cast<QWidget *>(dedDetail) : dedDetailName;
}

// Opened with a head handed over by the code list screen: show its codes. Only
// on the first show: a later show (a tab switch) must not change the head of
// rows being edited.
void TfrmZXI010::FormFirstShow()
{
    QList<QPair<QString, int>> &requests = login().openRequests;
    for (qsizetype i = 0; i < requests.size(); ++i) {
        if (requests.at(i).second != TfrmZXI011::OpenRequestTag)
            continue;
        const QString head = requests.takeAt(i).first;
        edtHead->setText(head);
        showHeadName();
        bbtSearchClick();
        // A head without codes opens on a new row whose code field has the
        // focus: typing goes there. Otherwise the grid takes it.
        if (cdsGrid->state() == ClientDataSet::State::Insert && dedDetail->isEnabled())
            dedDetail->setFocus();
        else if (rgrGrid->isEnabled())
            rgrGrid->setFocus();
        return;
    }
}

bool TfrmZXI010::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == edtHead) {
        if (event->type() == QEvent::KeyPress
            && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F1) {
            RunUserAction([this] { sbtHeadClick(); });
            return true;
        }
        if (event->type() == QEvent::FocusOut)
            RunUserAction([this] { showHeadName(); });
    }
    return TfrmZZI020::eventFilter(watched, event);
}

void TfrmZXI010::showHeadName()
{
    if (edtHead->text().size() == 5)
        wlbHead->setText(GetCodeName(edtHead->text(), QStringLiteral(" "), database()));
}

void TfrmZXI010::sbtHeadClick()
{
    if (!sbtHead->isEnabled())
        return;
    QString name;
    QString head;
    ShowCodeHeadHelp(name, head, database());
    edtHead->setText(head);
    if (head.isEmpty()) {
        edtHead->setFocus();
        return;
    }
    wlbHead->setText(name);
    bbtSearchClick();
}

void TfrmZXI010::bbtSearchClick()
{
    if (bbtSearch->isEnabled())
        bbtSearch->setFocus();
    TfrmZZI020::bbtSearchClick();
}

void TfrmZXI010::CheckSearchCriteria()
{
    // Four characters pass: one less than the field takes.
    if (edtHead->text().size() >= edtHead->maxLength() - 1)
        return;
    ShowErrorMessage(CodeScreen::captionWithoutBlanks(lblHead) + MessageText::enterCorrectly());
    edtHead->setFocus();
    Abort();
}

void TfrmZXI010::LoadData()
{
    SqlStatement &headRow = qryQuery();
    headRow.close();
    headRow.setSql(QStringLiteral("SELECT ") + CodeScreen::columnList()
                   + QStringLiteral(" FROM ZX010MS WHERE HEAD = :P0 AND DETAIL = ' '"));
    headRow.bind(QStringLiteral("P0"), edtHead->text());
    headRow.open();
    if (!headRow.next() || headRow.value(0).isNull()) {
        headRow.close();
        ShowErrorMessage(QStringLiteral("등록되지 않은 공통코드 입니다.\r[공통코드 목록 등록]에서 "
                                        "먼저 등록하십시오."));
        bbtCancelClick();
        return;
    }
    // DETAIL_NAME captions the name column; every named ITEMn turns attribute n on.
    for (int position = 2; position <= 17; ++position) {
        const QString caption = headRow.value(position).toString();
        const bool shown = !caption.isEmpty();
        const int column = position == 2 ? NameColumn : FirstItemColumn + position - 3;
        GridColumn gridColumn = rgrGrid->gridColumn(column);
        gridColumn.visible = shown;
        if (shown)
            gridColumn.title = caption;
        rgrGrid->setGridColumn(column, gridColumn);
        if (position == 2) {
            if (shown)
                lblDetailName->setText(caption);
            continue;
        }
        QLabel *label = lblItem[position - 3];
        label->setVisible(shown);
        dedItem[position - 3]->setVisible(shown);
        if (shown)
            label->setText(caption);
    }
    headRow.close();
    TfrmZZI020::LoadData();
    // An attribute takes the width its values need (an address is longer than 80 pixels).
    for (int item = 0; item < ItemCount; ++item) {
        if (rgrGrid->isColumnVisible(FirstItemColumn + item))
            rgrGrid->fitColumnToContents(FirstItemColumn + item, 80, 320);
    }
}

void TfrmZXI010::SetGridParams()
{
    cdsGrid->setParam(QStringLiteral("P0"), edtHead->text());
}

void TfrmZXI010::CheckRowFields()
{
    CheckRequired(dedDetail, lblDetail);
    CheckRequired(dedDetailName, lblDetailName);
}

QVariantList TfrmZXI010::DuplicateCheckParams() const
{
    return {edtHead->text(), dedDetail->text()};
}

QString TfrmZXI010::KeyListText() const
{
    return edtHead->text().rightJustified(5) + dedDetail->text().rightJustified(8);
}

void TfrmZXI010::FillRowFields()
{
    cdsGrid->setValue(QStringLiteral("HEAD"), edtHead->text());
}
