#include "ZZS010.h"

#include "inquirytexts.h"
#include "messagetexts.h"
#include "useraction.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr char SearchFieldMark[] = "kesaSearchField";
} // namespace

TfrmZZS010::TfrmZZS010(QWidget *parent)
    : TfrmZZI000(parent)
{
    setObjectName(QStringLiteral("frmZZS010"));

    panSearch = new QFrame(this);
    panSearch->setObjectName(QStringLiteral("panSearch"));
    panSearch->setFixedHeight(40);
    panSearch->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_searchLayout = new QHBoxLayout(panSearch);
    m_searchLayout->setContentsMargins(8, 0, 8, 0);
    m_searchLayout->setSpacing(6);
    m_searchLayout->addStretch(1);
    bbtSearch = createButton(QStringLiteral("bbtSearch"), MessageText::searchCaption(), 1);
    bbtSearch->setParent(panSearch);
    m_searchLayout->addWidget(bbtSearch);
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
    widget->setParent(panSearch);
    m_searchLayout->insertWidget(m_searchInsert++, widget, stretch);
    if (widget->focusPolicy() != Qt::NoFocus)
        setTabOrder(widget, bbtSearch);
}

void TfrmZZS010::setSearchFields(const QList<QWidget *> &fields)
{
    for (QWidget *field : fields) {
        if (!field || field->property(SearchFieldMark).toBool())
            continue;
        // A mark on the field rather than a list: nothing to keep when it dies.
        field->setProperty(SearchFieldMark, true);
        field->installEventFilter(this);
    }
}

bool TfrmZZS010::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched->property(SearchFieldMark).toBool()) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            RunUserAction([this] { bbtSearchClick(); });
            return true;
        }
    }
    return TfrmZZI000::eventFilter(watched, event);
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
