#include "ZZS020.h"

#include "resultquery.h"
#include "waitcursor.h"

#include "datagrid.h"
#include "inquirytexts.h"
#include "messagetexts.h"
#include "spreadsheetexport.h"
#include "useraction.h"

#include "common/commonroutines.h"
#include "common/silentabort.h"
#include "db/clientdataset.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

TfrmZZS020::TfrmZZS020(QWidget *parent)
    : TfrmZZS010(parent)
{
    setObjectName(QStringLiteral("frmZZS020"));

    cdsQuery = createDataSetGrid(this, *this, QStringLiteral("cdsQuery"));
    rgrGrid->setColumnsMovable(true);
    rgrGrid->setEnterMovesLikeTab(true);
    rgrGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(rgrGrid, &QWidget::customContextMenuRequested, this, &TfrmZZS020::showGridMenu);

    splSplitter = new QFrame(panMain);
    splSplitter->setObjectName(QStringLiteral("splSplitter"));
    splSplitter->setFixedWidth(7);
    splSplitter->setCursor(Qt::SplitHCursor);
    splSplitter->installEventFilter(this);
    splSplitter->hide();
    panInfo = new QFrame(panMain);
    panInfo->setObjectName(QStringLiteral("panInfo"));
    panInfo->setFixedWidth(10);
    panInfo->hide();

    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(rgrGrid, 1);
    row->addWidget(splSplitter);
    row->addWidget(panInfo);
    mainLayout()->addLayout(row, 1);
    setMainInsertIndex(0);

    popGrid = new QMenu(this);
    popGrid->setObjectName(QStringLiteral("popGrid"));

    bbtExcel = createButton(QStringLiteral("bbtExcel"), MessageText::excelCaption(), 268435456);
    insertBarButton(bbtExcel, bbtPrint);
    setTabChain({bbtExcel, bbtPrint, bbtPreview, bbtClose});

    connectClick(bbtExcel, [this] { bbtExcelClick(); });
    popHotkeyExcel = addHotkey(QStringLiteral("popHotkeyExcel"),
                               QKeySequence(Qt::CTRL | Qt::Key_F11),
                               [this] { bbtExcelClick(); });
}

void TfrmZZS020::bbtSearchClick()
{
    TfrmZZS010::bbtSearchClick();
    RebuildColumnChooser();
}

bool TfrmZZS020::OpenQuery(const QString &sql, const QVariantList &params)
{
    if (!OpenResult(cdsQuery, database(), sql, params)) {
        ShowStatusMessage(MessageText::nothingToShow());
        return false;
    }
    return true;
}

void TfrmZZS020::RebuildColumnChooser()
{
    popGrid->clear();
    for (int column : rgrGrid->displayOrder()) {
        QString caption = rgrGrid->gridColumn(column).title;
        // A title is shown as it is: no '&' may turn into an accelerator.
        QAction *item = popGrid->addAction(caption.replace(QLatin1Char('&'), QStringLiteral("&&")));
        item->setCheckable(true);
        item->setChecked(rgrGrid->isColumnVisible(column));
        item->setData(column);
        connect(item, &QAction::triggered, this, [this, item] {
            RunUserAction([this, item] { popGridClick(item); });
        });
    }
}

void TfrmZZS020::popGridPopup()
{
    if (rgrGrid->hasGroupedHeaders())
        Abort();
}

void TfrmZZS020::popGridClick(QAction *item)
{
    // A checkable item has already toggled its mark when it was triggered.
    rgrGrid->setColumnVisible(item->data().toInt(), item->isChecked());
}

void TfrmZZS020::showGridMenu(const QPoint &position)
{
    RunUserAction([&] {
        popGridPopup();
        popGrid->popup(rgrGrid->viewport()->mapToGlobal(position));
    });
}

QString TfrmZZS020::SaveToSpreadsheet()
{
    SpreadsheetExport exporter(cdsQuery, rgrGrid);
    exporter.setTitle(windowTitle());
    exporter.setProposedName(statusPanel(0)->text());
    exporter.setStatusMessage([this](const QString &text) { ShowStatusMessage(text); });
    return exporter.run();
}

void TfrmZZS020::bbtExcelClick()
{
    ButtonGuard(bbtExcel);
    const WaitCursor wait;
    const QString path = SaveToSpreadsheet();
    if (path.isEmpty())
        return;
    const bool open = withNormalCursor([&] {
        return AskYesNo(MessageText::openSavedFileQuestion(QFileInfo(path).fileName()));
    });
    if (open)
        OpenWithDesktop(path);
}

void TfrmZZS020::OpenWithDesktop(const QString &path)
{
    // A desktop without an application for the type reports nothing.
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool TfrmZZS020::eventFilter(QObject *watched, QEvent *event)
{
    // The splitter sets the side panel's width by dragging. Only mouse events
    // are mouse events: the splitter also gets polish, show, paint …
    const QEvent::Type type = event->type();
    const bool mouseEvent = type == QEvent::MouseButtonPress || type == QEvent::MouseMove
                            || type == QEvent::MouseButtonRelease;
    if (watched == splSplitter && mouseEvent) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        switch (type) {
        case QEvent::MouseButtonPress:
            m_dragStart = int(mouse->globalPosition().x());
            m_dragWidth = panInfo->width();
            return true;
        case QEvent::MouseMove:
            if (m_dragStart >= 0) {
                const int width = m_dragWidth + m_dragStart - int(mouse->globalPosition().x());
                panInfo->setFixedWidth(std::clamp(width, 0, std::max(0, panMain->width() - 40)));
            }
            return true;
        case QEvent::MouseButtonRelease:
            m_dragStart = -1;
            return true;
        default:
            break;
        }
    }
    return TfrmZZS010::eventFilter(watched, event);
}
