#include "widgetmessageservice.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
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

int showBox(QMessageBox::Icon icon,
            const QString &title,
            const QString &text,
            QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, title, MessageService::displayText(text), buttons, dialogParent());
    // A box is answered, not minimised or maximised. Its window flags already
    // ask for a close button only (the motif hints say so), but Openbox takes
    // the minimise button from the window type alone: only a menu or a toolbar
    // loses it, and a fixed-size window loses maximise too. So the box names
    // itself a toolbar first and a dialog second (the type a window manager
    // without that rule reads). Qt sets the type on the native window only.
    box.winId();
    box.setAttribute(Qt::WA_X11NetWmWindowTypeToolBar);
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
    bool ok = false;
    const QString text = QInputDialog::getText(dialogParent(),
                                               caption,
                                               displayText(prompt),
                                               QLineEdit::Normal,
                                               value,
                                               &ok);
    if (ok)
        value = text;
    return ok;
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
