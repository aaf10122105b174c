#include "ZZH020.h"

#include "resultquery.h"

#include "datagrid.h"
#include "messagetexts.h"
#include "screenframe.h"
#include "useraction.h"

#include "common/silentabort.h"
#include "db/clientdataset.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

TfrmZZH020::TfrmZZH020(QWidget *owner)
    : TfrmZZH010(owner)
{
    setObjectName(QStringLiteral("frmZZH020"));
    resize(519, 294);
    bbtOK->setDefault(false); // Enter in the grid selects the row instead

    cdsQuery = createDataSetGrid(this, *this, QStringLiteral("cdsQuery"));
    rgrGrid->installEventFilter(this);
    mainLayout()->addWidget(rgrGrid, 1);
    connect(rgrGrid, &QAbstractItemView::doubleClicked, this, [this] {
        RunUserAction([this] { rgrGridDblClick(); });
    });

    addStatusBar({Qt::AlignCenter, Qt::AlignLeft | Qt::AlignVCenter}, 1);
    statusPanel(0)->setFixedWidth(120);
    // The message panel is 650 pixels at most and ends with the dialog, as a
    // panel wider than its bar is cut: it never widens the dialog (519 × 294),
    // whatever message it shows.
    statusPanel(1)->setMinimumWidth(1);
    statusPanel(1)->setMaximumWidth(650);
}

void TfrmZZH020::resizeEvent(QResizeEvent *event)
{
    TfrmZZH010::resizeEvent(event);
    // The message panel ends where the first one begins from the bar's left
    // edge, so that its frame (and the bar's around it) is not cut at the
    // dialog's right edge; the bar would otherwise hand it its trailing room.
    const QRect first = statusPanel(0)->geometry();
    const int gap = stbMessage->layout() ? stbMessage->layout()->spacing() : 6;
    const int room = width() - first.right() - 1 - gap - std::max(first.left(), 2) - 2;
    statusPanel(1)->setMaximumWidth(std::clamp(room, 1, 650));
}

void TfrmZZH020::FormCreate()
{
    TfrmZZH010::FormCreate();
    statusPanel(0)->setText(programId());
}

void TfrmZZH020::bbtSearchClick()
{
    ShowStatusMessage(QString());
    TfrmZZH010::bbtSearchClick();
}

bool TfrmZZH020::SearchQuery(const QString &sql, const QVariantList &params)
{
    if (!OpenResult(cdsQuery, database(), sql, params)) {
        ShowStatusMessage(MessageText::nothingToShow());
        return false;
    }
    rgrGrid->setFocus();
    return true;
}

bool TfrmZZH020::hasChoice() const
{
    return cdsQuery->isActive() && cdsQuery->currentRow() >= 0
           && !cdsQuery->value(cdsQuery->currentRow(), 0).isNull();
}

void TfrmZZH020::KeepChoice()
{
    const int row = cdsQuery->currentRow();
    setChoice(ClientDataSet::displayText(cdsQuery->value(row, 0)),
              cdsQuery->fieldCount() > 1 ? ClientDataSet::displayText(cdsQuery->value(row, 1))
                                         : QString());
}

void TfrmZZH020::setChoice(const QString &code, const QString &name)
{
    m_chosenCode = code;
    m_chosenName = name;
}

void TfrmZZH020::bbtOKClick()
{
    ShowStatusMessage(QString());
    if (!hasChoice())
        Abort();
    KeepChoice();
    TfrmZZH010::bbtOKClick();
}

void TfrmZZH020::bbtCloseClick()
{
    ShowStatusMessage(QString());
    TfrmZZH010::bbtCloseClick();
}

void TfrmZZH020::rgrGridDblClick()
{
    if (hasChoice())
        bbtOK->click();
}

bool TfrmZZH020::rgrGridKeyPress(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    RunUserAction([this] { rgrGridDblClick(); });
    return true;
}

bool TfrmZZH020::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == rgrGrid && event->type() == QEvent::KeyPress
        && rgrGridKeyPress(static_cast<QKeyEvent *>(event)))
        return true;
    return TfrmZZH010::eventFilter(watched, event);
}
