#pragma once

#include "common/messageservice.h"

#include <QList>
#include <QStringList>

/// A message service for tests: records every box shown and answers questions
/// from a queue (Yes when the queue is empty). Installs itself while it lives.
class RecordingMessageService : public MessageService
{
public:
    enum Kind { Info, Error, Question, Input, OpenFile, SaveFile, Plain };
    struct Entry
    {
        Kind kind;
        QString text;
        /// The box's title: the application title unless the caller gave one.
        QString title = MessageService::applicationTitle();
    };

    RecordingMessageService();
    ~RecordingMessageService() override;

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

    QList<Entry> entries;
    QList<bool> answers;     ///< answers of askYesNo, taken from the front
    QStringList inputs;      ///< values of inputBox (an empty queue cancels)
    QStringList fileNames;   ///< results of the file dialogs (an empty queue cancels)
    QStringList dialogPaths; ///< where each file dialog opened (its folder or proposed file)
    /// Each box keeps an event loop running this long, as a modal box does
    /// (what arrives meanwhile is handled inside it); 0 returns at once.
    int modalMs = 0;

    QStringList texts(Kind kind) const;
    QStringList allTexts() const;
    void clear() { entries.clear(); }

private:
    void record(Kind kind, const QString &text, const QString &title = applicationTitle());

    MessageService *m_previous = nullptr;
};
