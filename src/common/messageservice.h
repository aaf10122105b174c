#pragma once

#include <QString>
#include <QStringList>

/// Every message box, input box and file dialog of the program goes through the
/// current service. The program installs the framework's WidgetMessageService
/// (Qt dialogs captioned with the application title); tests install their own.
/// With none installed, as in programs without windows, boxes are written to
/// standard error, questions are answered No and inputs and dialogs cancelled.
class MessageService
{
public:
    virtual ~MessageService() = default;

    virtual void info(const QString &text);
    virtual void error(const QString &text);
    /// Yes is the default button; true only when the user chose Yes.
    virtual bool askYesNo(const QString &text);
    /// Error box titled with the given text (a screen's caption).
    virtual void titledError(const QString &title, const QString &text);
    /// Yes/No question titled with the given text; Yes is the default button.
    virtual bool titledYesNo(const QString &title, const QString &text);
    /// Plain box without an icon, captioned with the application title, one OK button.
    virtual void plainMessage(const QString &text);
    /// One-line input box; false when cancelled.
    virtual bool inputBox(const QString &caption, const QString &prompt, QString &value);
    /// Empty text when cancelled.
    virtual QString openFileName(const QString &caption, const QString &dir, const QString &filter);
    virtual QString saveFileName(const QString &caption,
                                 const QString &proposedPath,
                                 const QString &filter);

    static MessageService &instance();
    /// Installs a service (not owned); nullptr restores the default.
    static void setInstance(MessageService *service);
    /// Converts the program's "\r" line breaks for display.
    static QString displayText(const QString &text);
    /// The application title every box carries unless given another; the
    /// application's name until start-up sets it. Kept apart from Qt's display
    /// name, which Qt would append to every window title.
    static QString applicationTitle();
    static void setApplicationTitle(const QString &title);
};
