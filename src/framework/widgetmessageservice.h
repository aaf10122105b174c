#pragma once

#include "common/messageservice.h"

/// The message service of the program's windows: Qt's message boxes, input box
/// and file dialogs, captioned with the application title ("\r" is a line
/// break). Installed at start-up.
class WidgetMessageService : public MessageService
{
public:
    void info(const QString &text) override;
    void error(const QString &text) override;
    bool askYesNo(const QString &text) override;
    void titledError(const QString &title, const QString &text) override;
    bool titledYesNo(const QString &title, const QString &text) override;
    void plainMessage(const QString &text) override;
    bool inputBox(const QString &caption, const QString &prompt, QString &value) override;
    QString openFileName(const QString &caption, const QString &dir, const QString &filter) override;
    QString saveFileName(const QString &caption,
                         const QString &proposedPath,
                         const QString &filter) override;
};
