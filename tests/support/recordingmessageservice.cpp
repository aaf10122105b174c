#include "recordingmessageservice.h"

RecordingMessageService::RecordingMessageService()
    : m_previous(&MessageService::instance())
{
    MessageService::setInstance(this);
}

RecordingMessageService::~RecordingMessageService()
{
    MessageService::setInstance(nullptr);
}

void RecordingMessageService::info(const QString &text)
{
    entries.append({Info, text});
}

void RecordingMessageService::error(const QString &text)
{
    entries.append({Error, text});
}

bool RecordingMessageService::askYesNo(const QString &text)
{
    entries.append({Question, text});
    return answers.isEmpty() ? true : answers.takeFirst();
}

bool RecordingMessageService::inputBox(const QString &, const QString &prompt, QString &value)
{
    entries.append({Input, prompt});
    if (inputs.isEmpty())
        return false;
    value = inputs.takeFirst();
    return true;
}

QString RecordingMessageService::openFileName(const QString &caption,
                                              const QString &,
                                              const QString &)
{
    entries.append({OpenFile, caption});
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}

QString RecordingMessageService::saveFileName(const QString &caption,
                                              const QString &,
                                              const QString &)
{
    entries.append({SaveFile, caption});
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}

QStringList RecordingMessageService::texts(Kind kind) const
{
    QStringList result;
    for (const Entry &e : entries) {
        if (e.kind == kind)
            result.append(e.text);
    }
    return result;
}

QStringList RecordingMessageService::allTexts() const
{
    QStringList result;
    for (const Entry &e : entries)
        result.append(e.text);
    return result;
}
