#include "ZZS010.h"

#include "inquirytexts.h"
#include "messagetexts.h"
#include "useraction.h"

#include <QAction>
#include <QFrame>
#include <QPushButton>
#include <QVBoxLayout>

TfrmZZS010::TfrmZZS010(QWidget *parent)
    : TfrmZZI000(parent)
{
    setObjectName(QStringLiteral("frmZZS010"));

    createSearchArea(*this, [this] { bbtSearchClick(); });

    bbtPrint = createButton(QStringLiteral("bbtPrint"), MessageText::printCaption(), 1048576);
    bbtPreview = createButton(QStringLiteral("bbtPreview"), MessageText::previewCaption(), 16777216);
    insertBarButton(bbtPrint, bbtClose);
    insertBarButton(bbtPreview, bbtClose);
    setTabChain({bbtPrint, bbtPreview, bbtClose});

    connectClick(bbtPrint, [this] { bbtPrintClick(); });
    connectClick(bbtPreview, [this] { bbtPreviewClick(); });
    popHotkeyPrint = addHotkey(QStringLiteral("popHotkeyPrint"), Qt::Key_F11, [this] {
        bbtPrintClick();
    });
    popHotkeyPreview = addHotkey(QStringLiteral("popHotkeyPreview"),
                                 QKeySequence(Qt::SHIFT | Qt::Key_F11),
                                 [this] { bbtPreviewClick(); });
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
