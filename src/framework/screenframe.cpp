#include "screenframe.h"

#include "editcolour.h"
#include "useraction.h"

#include <QAction>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

class FocusColourFilter : public QObject
{
public:
    explicit FocusColourFilter(ScreenFrame *frame)
        : m_frame(frame)
    {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn)
            m_frame->edtEnter(static_cast<QWidget *>(watched));
        else if (event->type() == QEvent::FocusOut)
            m_frame->edtExit(static_cast<QWidget *>(watched));
        return false;
    }

private:
    ScreenFrame *m_frame;
};

} // namespace

ScreenFrame::ScreenFrame(QWidget *window, Qt::ShortcutContext hotkeyContext)
    : m_window(window)
    , m_hotkeyContext(hotkeyContext)
{
    QFont font(QStringLiteral("굴림"));
    font.setPixelSize(12);
    window->setFont(font);

    m_rootLayout = new QVBoxLayout(window);
    m_rootLayout->setContentsMargins(0, 0, 0, 0);
    m_rootLayout->setSpacing(0);

    panMain = new QWidget(window);
    panMain->setObjectName(QStringLiteral("panMain"));
    m_mainLayout = new QVBoxLayout(panMain);
    m_mainLayout->setContentsMargins(4, 4, 4, 4);
    m_rootLayout->addWidget(panMain, 1);

    panButtons = new QWidget(window);
    panButtons->setObjectName(QStringLiteral("panButtons"));
    panButtons->setFixedHeight(40);
    auto *barColumn = new QVBoxLayout(panButtons);
    barColumn->setContentsMargins(0, 0, 0, 0);
    barColumn->setSpacing(0);
    bvlButtons = new QFrame(panButtons);
    bvlButtons->setObjectName(QStringLiteral("bvlButtons"));
    bvlButtons->setFrameShape(QFrame::HLine);
    bvlButtons->setFrameShadow(QFrame::Sunken);
    barColumn->addWidget(bvlButtons);
    m_buttonLayout = new QHBoxLayout;
    m_buttonLayout->setContentsMargins(6, 0, 6, 0);
    m_buttonLayout->setSpacing(4);
    barColumn->addLayout(m_buttonLayout, 1);
    m_buttonLayout->addStretch(1);
    m_rootLayout->addWidget(panButtons);

    popHotkey = new QMenu(window);
    popHotkey->setObjectName(QStringLiteral("popHotkey"));
}

ScreenFrame::~ScreenFrame() = default;

QPushButton *ScreenFrame::createButton(const QString &objectName,
                                       const QString &caption,
                                       int tag) const
{
    auto *button = new QPushButton(caption, m_window);
    button->setObjectName(objectName);
    button->setFixedSize(80, 25);
    button->setProperty("tag", tag);
    button->setAutoDefault(false);
    return button;
}

void ScreenFrame::addBarButton(QWidget *button)
{
    button->setParent(panButtons);
    m_buttonLayout->addWidget(button);
}

void ScreenFrame::insertBarButton(QWidget *button, QWidget *before)
{
    button->setParent(panButtons);
    const int at = m_buttonLayout->indexOf(before);
    m_buttonLayout->insertWidget(at < 0 ? m_buttonLayout->count() : at, button);
}

void ScreenFrame::addLeftBarButton(QWidget *button)
{
    button->setParent(panButtons);
    m_buttonLayout->insertWidget(m_leftButtons++, button);
}

QLabel *ScreenFrame::addBarComment(const QString &text, const QColor &colour)
{
    auto *comment = new QLabel(text, panButtons);
    comment->setObjectName(QStringLiteral("lblComment"));
    if (colour.isValid()) {
        QPalette palette = comment->palette();
        palette.setColor(QPalette::WindowText, colour);
        comment->setPalette(palette);
    }
    addLeftBarButton(comment);
    return comment;
}

void ScreenFrame::connectClick(QAbstractButton *button, const std::function<void()> &handler) const
{
    QObject::connect(button, &QAbstractButton::clicked, m_window, [handler] {
        RunUserAction(handler);
    });
}

QAction *ScreenFrame::addHotkey(const QString &objectName,
                                const QKeySequence &key,
                                const std::function<void()> &handler) const
{
    auto *action = new QAction(m_window);
    action->setObjectName(objectName);
    action->setShortcut(key);
    action->setShortcutContext(m_hotkeyContext);
    // popHotkey is never shown; the shortcut works because the action belongs to the window.
    popHotkey->addAction(action);
    m_window->addAction(action);
    QObject::connect(action, &QAction::triggered, m_window, [handler] { RunUserAction(handler); });
    return action;
}

bool ScreenFrame::isUsable(const QAbstractButton *button) const
{
    return button && button->isVisibleTo(m_window) && button->isEnabled();
}

void ScreenFrame::addStatusBar(const QList<Qt::Alignment> &alignments, int stretchingPanel)
{
    stbMessage = new QStatusBar(m_window);
    stbMessage->setObjectName(QStringLiteral("stbMessage"));
    stbMessage->setSizeGripEnabled(false);
    for (qsizetype i = 0; i < alignments.size(); ++i) {
        auto *panel = new QLabel(stbMessage);
        panel->setObjectName(QStringLiteral("stbMessagePanel%1").arg(i));
        panel->setAlignment(alignments.at(i));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        m_panels.append(panel);
        stbMessage->addWidget(panel, i == stretchingPanel ? 1 : 0);
    }
    m_rootLayout->addWidget(stbMessage);
}

QLabel *ScreenFrame::statusPanel(int index) const
{
    return index >= 0 && index < m_panels.size() ? m_panels.at(index) : nullptr;
}

void ScreenFrame::ShowStatusMessage(const QString &text)
{
    QLabel *panel = statusPanel(1);
    if (!panel || panel->text() == text)
        return;
    panel->setText(text);
    // A message longer than the panel is cut at its end: the tip shows it whole.
    panel->setToolTip(text);
    stbMessage->repaint();
}

QString ScreenFrame::statusMessage() const
{
    const QLabel *panel = statusPanel(1);
    return panel ? panel->text() : QString();
}

void ScreenFrame::edtEnter(QWidget *control)
{
    EditColour::SetEditColor(control, EditColour::focus());
}

void ScreenFrame::edtExit(QWidget *control)
{
    EditColour::SetEditColor(control, EditColour::normal());
}

void ScreenFrame::attachFocusColours(const QList<QWidget *> &controls)
{
    if (!m_focusFilter)
        m_focusFilter = std::make_unique<FocusColourFilter>(this);
    // Installed again, a filter is not doubled.
    for (QWidget *control : controls) {
        if (control)
            control->installEventFilter(m_focusFilter.get());
    }
}
