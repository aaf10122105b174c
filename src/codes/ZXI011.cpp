#include "ZXI011.h"

#include "codescreen.h"

#include "common/commonroutines.h"
#include "common/loginvalues.h"
#include "common/silentabort.h"
#include "db/clientdataset.h"
#include "framework/boundfield.h"
#include "framework/datagrid.h"
#include "framework/dbedit.h"
#include "framework/enterkeys.h"
#include "framework/entryfields.h"
#include "framework/messagetexts.h"
#include "framework/useraction.h"

#include <QEvent>

#include <algorithm>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TfrmZXI011::TfrmZXI011(QWidget *parent)
    : TfrmZZI020(parent)
{
    setObjectName(QStringLiteral("frmZXI011"));
    setWindowTitle(QStringLiteral("공통코드 목록 등록"));

    lblHead = new QLabel(QStringLiteral("* 분  류"), panSearch);
    lblHead->setObjectName(QStringLiteral("lblHead"));
    edtHead = CodeScreen::createHeadField(panSearch);
    addSearchWidget(lblHead);
    addSearchWidget(edtHead);
    addSearchWidget(new QWidget(panSearch), 1);
    EnterKeys::run(edtHead, [this] { bbtSearchClick(); });

    cdsGrid->setSql(QStringLiteral("SELECT ") + CodeScreen::columnList()
                    + QStringLiteral(" FROM ZX010MS WHERE HEAD LIKE :P0 || '%' AND DETAIL = ' ' "
                                     "ORDER BY HEAD"));
    rgrGrid->addColumn(QStringLiteral("HEAD"), QStringLiteral("분류"), 120, Qt::AlignCenter);
    rgrGrid->addColumn(QStringLiteral("DETAIL_NAME"), QStringLiteral("분류 명"), 300);
    rgrGrid->setEnterMovesLikeTab(true);

    lblDetail = CreateFieldLabel(QStringLiteral("lblDetail"),
                                 QStringLiteral("* 분        류"),
                                 panMain);
    dedHead = CreateBoundEdit(QStringLiteral("dedHead"),
                              cdsGrid,
                              QStringLiteral("HEAD"),
                              5,
                              60,
                              panMain,
                              DbEdit::InputMode::Latin);
    dedHead->setUpperCase(true);
    CodeScreen::EntryPanel panel = CodeScreen::createEntryPanel(cdsGrid,
                                                                panMain,
                                                                lblDetail,
                                                                dedHead,
                                                                QStringLiteral("* 분   류   명"),
                                                                QStringLiteral("속성 제목 %1"));
    lblDetailName = panel.lblDetailName;
    dedDetailName = panel.dedDetailName;
    std::copy(std::begin(panel.lblItem), std::end(panel.lblItem), lblItem);
    std::copy(std::begin(panel.dedItem), std::end(panel.dedItem), dedItem);
    const QList<QWidget *> &entries = panel.entries;
    CodeScreen::placeBesideGrid(mainLayout(), rgrGrid, panel.layout);

    for (QWidget *entry : entries)
        EnterKeys::moveToNext(entry);
    EnterKeys::moveTo(dedItem[14], [this]() -> QWidget * {
        return dedHead->isEditable() ? static_cast<QWidget *>(dedHead) : dedDetailName;
    });
    attachFocusColours(entries);
    setRowKeys(entries);
    connect(dedHead, &QLineEdit::textEdited, this, [this](const QString &text) {
        RunUserAction([this, text] { dedHeadEdited(text); });
    });
    dedHead->installEventFilter(this);
    connect(rgrGrid, &QAbstractItemView::doubleClicked, this, [this] {
        RunUserAction([this] { rgrGridDblClick(); });
    });

    setKeyField(QStringLiteral("HEAD"), dedHead);
    setRowFocusField(dedDetailName);
    setDuplicateCheckSql(
            QStringLiteral("SELECT COUNT(*) FROM ZX010MS WHERE HEAD = :P0 AND DETAIL = ' '"));
}

void TfrmZXI011::bbtSearchClick()
{
    bbtSearch->setFocus();
    TfrmZZI020::bbtSearchClick();
}

void TfrmZXI011::CheckSearchCriteria()
{
    if (!edtHead->text().trimmed().isEmpty())
        return;
    ShowErrorMessage(CodeScreen::captionWithoutBlanks(lblHead) + MessageText::enterCorrectly());
    edtHead->setFocus();
    Abort();
}

void TfrmZXI011::SetGridParams()
{
    cdsGrid->setParam(QStringLiteral("P0"), edtHead->text());
}

// Every head entered under a search begins with the searched prefix.
void TfrmZXI011::dedHeadEdited(const QString &text)
{
    const QString prefix = edtHead->text();
    if (text.size() < prefix.size() || text.startsWith(prefix))
        return;
    ShowStatusMessage(prefix + QStringLiteral("로 시작하는 문자를 입력하십시오."));
    ClearBoundField(dedHead);
}

bool TfrmZXI011::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == dedHead && event->type() == QEvent::FocusOut && dedHead->text().size() < 5)
        ShowStatusMessage(QStringLiteral("입력한 내용이 너무 짧습니다."));
    return TfrmZZI020::eventFilter(watched, event);
}

void TfrmZXI011::CheckRowFields()
{
    CheckRequired(dedHead->text().size() >= 5, lblHead, dedHead);
    CheckRequired(dedDetailName, lblDetailName);
}

void TfrmZXI011::FillRowFields()
{
    cdsGrid->setValue(QStringLiteral("DETAIL"), QStringLiteral(" ")); // marks the head row
}

void TfrmZXI011::rgrGridDblClick()
{
    const QString head = dedHead->text();
    if (head.trimmed().isEmpty())
        return; // a new row has no head to show yet
    QList<QPair<QString, int>> &requests = login().openRequests;
    for (qsizetype i = requests.size() - 1; i >= 0; --i) {
        if (requests.at(i).first == head)
            requests.removeAt(i);
    }
    requests.append({head, OpenRequestTag});
    RequestOpenProgram(QStringLiteral("공통코드 등록"), QStringLiteral("ZXI010"));
}
