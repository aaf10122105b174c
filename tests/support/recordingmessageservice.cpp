#include "recordingmessageservice.h"

#include <QEventLoop>
#include <QTimer>

RecordingMessageService::RecordingMessageService()
    : m_previous(&MessageService::instance())
{
    MessageService::setInstance(this);
}

RecordingMessageService::~RecordingMessageService()
{
    MessageService::setInstance(nullptr);
}

void RecordingMessageService::record(Kind kind, const QString &text, const QString &title)
{
    entries.append({kind, text, title});
    if (modalMs > 0) {
        QEventLoop loop;
        QTimer::singleShot(modalMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

void RecordingMessageService::info(const QString &text)
{
    record(Info, text);
}

void RecordingMessageService::error(const QString &text)
{
    record(Error, text);
}

bool RecordingMessageService::askYesNo(const QString &text)
{
    record(Question, text);
    return answers.isEmpty() ? true : answers.takeFirst();
}

void RecordingMessageService::titledError(const QString &title, const QString &text)
{
    record(Error, text, title);
}

bool RecordingMessageService::titledYesNo(const QString &title, const QString &text)
{
    record(Question, text, title);
    return answers.isEmpty() ? true : answers.takeFirst();
}

void RecordingMessageService::plainMessage(const QString &text)
{
    record(Plain, text);
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
                                              const QString &dir,
                                              const QString &)
{
    entries.append({OpenFile, caption});
    dialogPaths.append(dir);
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}

QString RecordingMessageService::saveFileName(const QString &caption,
                                              const QString &proposedPath,
                                              const QString &)
{
    entries.append({SaveFile, caption});
    dialogPaths.append(proposedPath);
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
