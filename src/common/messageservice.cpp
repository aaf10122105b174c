#include "messageservice.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {

MessageService *g_service = nullptr;
QString g_applicationTitle;

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
    // A box is answered, not minimised or maximised.
    box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                       | Qt::WindowCloseButtonHint);
    if (buttons.testFlag(QMessageBox::Yes))
        box.setDefaultButton(QMessageBox::Yes);
    return box.exec();
}

} // namespace

QString MessageService::applicationTitle()
{
    return g_applicationTitle.isEmpty() ? QCoreApplication::applicationName() : g_applicationTitle;
}

void MessageService::setApplicationTitle(const QString &title)
{
    g_applicationTitle = title;
}

QString MessageService::displayText(const QString &text)
{
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

void MessageService::info(const QString &text)
{
    showBox(QMessageBox::Information, caption(), text, QMessageBox::Ok);
}

void MessageService::error(const QString &text)
{
    showBox(QMessageBox::Critical, caption(), text, QMessageBox::Ok);
}

bool MessageService::askYesNo(const QString &text)
{
    return showBox(QMessageBox::Question, caption(), text, QMessageBox::Yes | QMessageBox::No)
           == QMessageBox::Yes;
}

void MessageService::titledError(const QString &title, const QString &text)
{
    showBox(QMessageBox::Critical, title, text, QMessageBox::Ok);
}

bool MessageService::titledYesNo(const QString &title, const QString &text)
{
    return showBox(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No)
           == QMessageBox::Yes;
}

void MessageService::plainMessage(const QString &text)
{
    showBox(QMessageBox::NoIcon, caption(), text, QMessageBox::Ok);
}

bool MessageService::inputBox(const QString &caption, const QString &prompt, QString &value)
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

QString MessageService::openFileName(const QString &caption,
                                     const QString &dir,
                                     const QString &filter)
{
    return QFileDialog::getOpenFileName(dialogParent(), caption, dir, filter);
}

QString MessageService::saveFileName(const QString &caption,
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

MessageService &MessageService::instance()
{
    static MessageService defaultService;
    return g_service ? *g_service : defaultService;
}

void MessageService::setInstance(MessageService *service)
{
    g_service = service;
}
