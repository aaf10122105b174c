#include "messageservice.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

MessageService *g_service = nullptr;
QString g_applicationTitle;

// Without windows a box can only be written down; nobody is there to answer.
void writeDown(const QString &title, const QString &text)
{
    std::fprintf(stderr,
                 "%s: %s\n",
                 qPrintable(title),
                 qPrintable(MessageService::displayText(text)));
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
    writeDown(applicationTitle(), text);
}

void MessageService::error(const QString &text)
{
    writeDown(applicationTitle(), text);
}

bool MessageService::askYesNo(const QString &text)
{
    writeDown(applicationTitle(), text);
    return false;
}

void MessageService::titledError(const QString &title, const QString &text)
{
    writeDown(title, text);
}

bool MessageService::titledYesNo(const QString &title, const QString &text)
{
    writeDown(title, text);
    return false;
}

void MessageService::plainMessage(const QString &text)
{
    writeDown(applicationTitle(), text);
}

bool MessageService::inputBox(const QString &caption, const QString &prompt, QString &)
{
    writeDown(caption, prompt);
    return false;
}

QString MessageService::openFileName(const QString &, const QString &, const QString &)
{
    return QString();
}

QString MessageService::saveFileName(const QString &, const QString &, const QString &)
{
    return QString();
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
