#include "screenframe.h"

#include "useraction.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

ScreenFrame::ScreenFrame(QWidget *window)
    : m_window(window)
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

void ScreenFrame::addLeftBarButton(QWidget *button)
{
    button->setParent(panButtons);
    m_buttonLayout->insertWidget(m_leftButtons++, button);
}

void ScreenFrame::connectClick(QAbstractButton *button, const std::function<void()> &handler) const
{
    QObject::connect(button, &QAbstractButton::clicked, m_window, [handler] {
        RunUserAction(handler);
    });
}

QAction *ScreenFrame::addHotkey(const QString &objectName,
                                const QKeySequence &key,
                                Qt::ShortcutContext context,
                                const std::function<void()> &handler) const
{
    auto *action = new QAction(m_window);
    action->setObjectName(objectName);
    action->setShortcut(key);
    action->setShortcutContext(context);
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

void ScreenFrame::showStatusMessage(const QString &text)
{
    QLabel *panel = statusPanel(1);
    if (!panel || panel->text() == text)
        return;
    panel->setText(text);
    stbMessage->repaint();
}

QString ScreenFrame::statusMessage() const
{
    const QLabel *panel = statusPanel(1);
    return panel ? panel->text() : QString();
}
