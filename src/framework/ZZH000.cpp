#include "ZZH000.h"

#include "editcolour.h"
#include "inquirytexts.h"
#include "messagetexts.h"
#include "useraction.h"

#include "common/silentabort.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TfrmZZH000::TfrmZZH000(QWidget *owner)
    : QDialog(owner ? owner : mainWindow())
{
    setObjectName(QStringLiteral("frmZZH000"));
    setModal(true);
    QFont dialogFont(QStringLiteral("굴림"));
    dialogFont.setPixelSize(12);
    setFont(dialogFont);
    resize(414, 149);

    m_rootLayout = new QVBoxLayout(this);
    m_rootLayout->setContentsMargins(0, 0, 0, 0);
    m_rootLayout->setSpacing(0);

    panMain = new QWidget(this);
    panMain->setObjectName(QStringLiteral("panMain"));
    m_mainLayout = new QVBoxLayout(panMain);
    m_mainLayout->setContentsMargins(4, 4, 4, 4);
    m_rootLayout->addWidget(panMain, 1);

    panButtons = new QWidget(this);
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
    bbtOK = createButton(QStringLiteral("bbtOK"), MessageText::okCaption(), 0);
    bbtOK->setParent(panButtons);
    bbtOK->setDefault(true);
    bbtOK->setFocusPolicy(Qt::ClickFocus); // not a tab stop
    m_buttonLayout->addWidget(bbtOK);
    bbtClose = createButton(QStringLiteral("bbtClose"), MessageText::closeCaption(), 0);
    bbtClose->setParent(panButtons);
    m_buttonLayout->addWidget(bbtClose);
    m_rootLayout->addWidget(panButtons);

    popHotkey = new QMenu(this);
    popHotkey->setObjectName(QStringLiteral("popHotkey"));

    connectClick(bbtOK, [this] { bbtOKClick(); });
    connectClick(bbtClose, [this] { bbtCloseClick(); });
    popHotkeyOK = addHotkey(QStringLiteral("popHotkeyOK"), Qt::Key_F10, [this] { bbtOKClick(); });
    popHotkeyClose = addHotkey(QStringLiteral("popHotkeyClose"), Qt::Key_F12, [this] {
        bbtCloseClick();
    });
}

TfrmZZH000::~TfrmZZH000()
{
    for (QWidget *control : std::as_const(m_coloured))
        disconnect(control, nullptr, this, nullptr);
}

QWidget *TfrmZZH000::mainWindow()
{
    const QList<QWidget *> windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window->objectName() == QLatin1String("frmZ0Main"))
            return window;
    }
    return nullptr;
}

void TfrmZZH000::ensureCreated()
{
    if (m_created)
        return;
    m_created = true;
    RunUserAction([this] { FormCreate(); });
}

bool TfrmZZH000::event(QEvent *event)
{
    if (event->type() == QEvent::Polish)
        ensureCreated();
    return QDialog::event(event);
}

bool TfrmZZH000::showModal()
{
    ensureCreated();
    return exec() == QDialog::Accepted;
}

QString TfrmZZH000::programId() const
{
    return objectName().mid(3);
}

void TfrmZZH000::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    QRect frame = frameGeometry();
    const QWidget *owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (owner)
        frame.moveCenter(owner->frameGeometry().center());
    else if (const QScreen *screen = this->screen())
        frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

void TfrmZZH000::bbtOKClick()
{
    if (!bbtOK->isVisibleTo(this) || !bbtOK->isEnabled())
        Abort();
    accept();
}

void TfrmZZH000::bbtCloseClick()
{
    if (!bbtClose->isVisibleTo(this) || !bbtClose->isEnabled())
        Abort();
    reject();
}

void TfrmZZH000::keyPressEvent(QKeyEvent *event)
{
    // Escape is the close button's, with its check.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        RunUserAction([this] { bbtCloseClick(); });
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmZZH000::edtEnter(QWidget *control)
{
    EditColour::SetEditColor(control, EditColour::focus());
}

void TfrmZZH000::edtExit(QWidget *control)
{
    EditColour::SetEditColor(control, EditColour::normal());
}

void TfrmZZH000::attachFocusColours(const QList<QWidget *> &controls)
{
    for (QWidget *control : controls) {
        if (!control || m_coloured.contains(control))
            continue;
        m_coloured.insert(control);
        control->installEventFilter(this);
        connect(control, &QObject::destroyed, this, [this, control] { m_coloured.remove(control); });
    }
}

bool TfrmZZH000::eventFilter(QObject *watched, QEvent *event)
{
    if ((event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
        && m_coloured.contains(static_cast<QWidget *>(watched))) {
        auto *control = static_cast<QWidget *>(watched);
        if (event->type() == QEvent::FocusIn)
            edtEnter(control);
        else
            edtExit(control);
    }
    return QDialog::eventFilter(watched, event);
}

QAction *TfrmZZH000::addHotkey(const QString &objectName,
                               const QKeySequence &key,
                               const std::function<void()> &handler)
{
    auto *action = new QAction(this);
    action->setObjectName(objectName);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    popHotkey->addAction(action);
    addAction(action);
    connect(action, &QAction::triggered, this, [handler] { RunUserAction(handler); });
    return action;
}

void TfrmZZH000::connectClick(QAbstractButton *button, const std::function<void()> &handler)
{
    connect(button, &QAbstractButton::clicked, this, [handler] { RunUserAction(handler); });
}

QPushButton *TfrmZZH000::createButton(const QString &objectName, const QString &caption, int tag)
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(objectName);
    button->setFixedSize(80, 25);
    button->setProperty("tag", tag);
    button->setAutoDefault(false);
    return button;
}

void TfrmZZH000::addLeftBarButton(QWidget *button)
{
    button->setParent(panButtons);
    m_buttonLayout->insertWidget(m_leftButtons++, button);
}
