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
    , ScreenFrame(this, Qt::WindowShortcut)
{
    setObjectName(QStringLiteral("frmZZH000"));
    setModal(true);
    resize(414, 149);

    bbtOK = createButton(QStringLiteral("bbtOK"), MessageText::okCaption(), 0);
    bbtOK->setDefault(true);
    bbtOK->setFocusPolicy(Qt::ClickFocus); // not a tab stop
    addBarButton(bbtOK);
    bbtClose = createButton(QStringLiteral("bbtClose"), MessageText::closeCaption(), 0);
    addBarButton(bbtClose);

    connectClick(bbtOK, [this] { bbtOKClick(); });
    connectClick(bbtClose, [this] { bbtCloseClick(); });
    popHotkeyOK = addHotkey(QStringLiteral("popHotkeyOK"), Qt::Key_F10, [this] { bbtOKClick(); });
    popHotkeyClose = addHotkey(QStringLiteral("popHotkeyClose"), Qt::Key_F12, [this] {
        bbtCloseClick();
    });
}

TfrmZZH000::~TfrmZZH000() = default;

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
    if (!isUsable(bbtOK))
        Abort();
    accept();
}

void TfrmZZH000::bbtCloseClick()
{
    if (!isUsable(bbtClose))
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
