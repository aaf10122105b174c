#include "widgetmessageservice.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLayout>
#include <QMessageBox>

namespace {

QWidget *dialogParent()
{
    return QApplication::activeWindow();
}

QString caption()
{
    return MessageService::applicationTitle();
}

// A box is answered, not minimised or maximised. Its window flags already ask
// for a close button only (the motif hints say so), but Openbox takes the
// minimise button from the window type alone: only a menu or a toolbar loses
// it; and only a window of fixed size loses maximise. So the box names itself
// a toolbar first and a dialog second (the type a window manager without that
// rule reads). Qt sets the type on the native window only.
void closeButtonOnly(QDialog &box)
{
    box.winId();
    box.setAttribute(Qt::WA_X11NetWmWindowTypeToolBar);
}

int showBox(QMessageBox::Icon icon,
            const QString &title,
            const QString &text,
            QMessageBox::StandardButtons buttons)
{
    // A message box has a fixed size of its own.
    QMessageBox box(icon, title, MessageService::displayText(text), buttons, dialogParent());
    closeButtonOnly(box);
    if (buttons.testFlag(QMessageBox::Yes))
        box.setDefaultButton(QMessageBox::Yes);
    return box.exec();
}

} // namespace

void WidgetMessageService::info(const QString &text)
{
    showBox(QMessageBox::Information, caption(), text, QMessageBox::Ok);
}

void WidgetMessageService::error(const QString &text)
{
    showBox(QMessageBox::Critical, caption(), text, QMessageBox::Ok);
}

bool WidgetMessageService::askYesNo(const QString &text)
{
    return showBox(QMessageBox::Question, caption(), text, QMessageBox::Yes | QMessageBox::No)
           == QMessageBox::Yes;
}

void WidgetMessageService::titledError(const QString &title, const QString &text)
{
    showBox(QMessageBox::Critical, title, text, QMessageBox::Ok);
}

bool WidgetMessageService::titledYesNo(const QString &title, const QString &text)
{
    return showBox(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No)
           == QMessageBox::Yes;
}

void WidgetMessageService::plainMessage(const QString &text)
{
    showBox(QMessageBox::NoIcon, caption(), text, QMessageBox::Ok);
}

bool WidgetMessageService::inputBox(const QString &caption, const QString &prompt, QString &value)
{
    QInputDialog box(dialogParent());
    box.setWindowTitle(caption);
    box.setLabelText(displayText(prompt));
    box.setTextValue(value);
    // The box takes the size its prompt and entry need, and keeps it.
    box.sizeHint(); // builds the layout
    if (QLayout *layout = box.layout())
        layout->setSizeConstraint(QLayout::SetFixedSize);
    closeButtonOnly(box);
    if (box.exec() != QDialog::Accepted)
        return false;
    value = box.textValue();
    return true;
}

QString WidgetMessageService::openFileName(const QString &caption,
                                           const QString &dir,
                                           const QString &filter)
{
    return QFileDialog::getOpenFileName(dialogParent(), caption, dir, filter);
}

QString WidgetMessageService::saveFileName(const QString &caption,
                                           const QString &proposedPath,
                                           const QString &filter)
{
    // The callers ask their own overwrite question.
    return QFileDialog::getSaveFileName(dialogParent(),
                                        caption,
                                        proposedPath,
                                        filter,
                                        nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}
