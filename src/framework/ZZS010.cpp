#include "ZZS010.h"

#include "inquirytexts.h"
#include "messagetexts.h"
#include "searchpanel.h"
#include "useraction.h"

#include <QAction>
#include <QFrame>
#include <QPushButton>
#include <QVBoxLayout>

TfrmZZS010::TfrmZZS010(QWidget *parent)
    : TfrmZZI000(parent)
{
    setObjectName(QStringLiteral("frmZZS010"));

    m_searchPanel = new SearchPanel(this, [this] { bbtSearchClick(); });
    panSearch = m_searchPanel;
    bbtSearch = createButton(QStringLiteral("bbtSearch"), MessageText::searchCaption(), 1);
    m_searchPanel->setSearchButton(bbtSearch);
    rootLayout()->insertWidget(0, panSearch);

    bbtPrint = createButton(QStringLiteral("bbtPrint"), MessageText::printCaption(), 1048576);
    bbtPreview = createButton(QStringLiteral("bbtPreview"), MessageText::previewCaption(), 16777216);
    insertBarButton(bbtPrint, bbtClose);
    insertBarButton(bbtPreview, bbtClose);
    setTabChain({bbtPrint, bbtPreview, bbtClose});

    connectClick(bbtSearch, [this] { bbtSearchClick(); });
    connectClick(bbtPrint, [this] { bbtPrintClick(); });
    connectClick(bbtPreview, [this] { bbtPreviewClick(); });
    popHotkeySearch = addHotkey(QStringLiteral("popHotkeySearch"), Qt::Key_F3, [this] {
        bbtSearchClick();
    });
    popHotkeyPrint = addHotkey(QStringLiteral("popHotkeyPrint"), Qt::Key_F11, [this] {
        bbtPrintClick();
    });
    popHotkeyPreview = addHotkey(QStringLiteral("popHotkeyPreview"),
                                 QKeySequence(Qt::SHIFT | Qt::Key_F11),
                                 [this] { bbtPreviewClick(); });
}

void TfrmZZS010::addSearchWidget(QWidget *widget, int stretch)
{
    m_searchPanel->addSearchWidget(widget, stretch);
}

void TfrmZZS010::setSearchFields(const QList<QWidget *> &fields)
{
    m_searchPanel->setSearchFields(fields);
}

void TfrmZZS010::bbtSearchClick()
{
    ButtonGuard(bbtSearch);
}

void TfrmZZS010::bbtPrintClick()
{
    ButtonGuard(bbtPrint);
}

void TfrmZZS010::bbtPreviewClick()
{
    ButtonGuard(bbtPreview);
}
