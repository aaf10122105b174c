#include "ZZH000.h"

#include "editcolour.h"
#include "inquirytexts.h"
#include "messagetexts.h"
#include "screenframe.h"
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
    , m_frame(std::make_unique<ScreenFrame>(this))
{
    setObjectName(QStringLiteral("frmZZH000"));
    setModal(true);
    resize(414, 149);

    panMain = m_frame->panMain;
    panButtons = m_frame->panButtons;
    bvlButtons = m_frame->bvlButtons;
    popHotkey = m_frame->popHotkey;
    bbtOK = createButton(QStringLiteral("bbtOK"), MessageText::okCaption(), 0);
    bbtOK->setDefault(true);
    bbtOK->setFocusPolicy(Qt::ClickFocus); // not a tab stop
    m_frame->addBarButton(bbtOK);
    bbtClose = createButton(QStringLiteral("bbtClose"), MessageText::closeCaption(), 0);
    m_frame->addBarButton(bbtClose);

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
    if (!m_frame->isUsable(bbtOK))
        Abort();
    accept();
}

void TfrmZZH000::bbtCloseClick()
{
    if (!m_frame->isUsable(bbtClose))
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
    return m_frame->addHotkey(objectName, key, Qt::WindowShortcut, handler);
}

void TfrmZZH000::connectClick(QAbstractButton *button, const std::function<void()> &handler)
{
    m_frame->connectClick(button, handler);
}

QPushButton *TfrmZZH000::createButton(const QString &objectName, const QString &caption, int tag)
{
    return m_frame->createButton(objectName, caption, tag);
}

void TfrmZZH000::addLeftBarButton(QWidget *button)
{
    m_frame->addLeftBarButton(button);
}

QVBoxLayout *TfrmZZH000::rootLayout() const
{
    return m_frame->rootLayout();
}

QVBoxLayout *TfrmZZH000::mainLayout() const
{
    return m_frame->mainLayout();
}

QHBoxLayout *TfrmZZH000::buttonLayout() const
{
    return m_frame->buttonLayout();
}
