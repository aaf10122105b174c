#pragma once

#include "framework/screenhost.h"

#include <QList>
#include <QPair>

/// A host for embedded screens in tests: records the requests and installs
/// itself while it lives.
class RecordingHost : public ScreenHost
{
public:
    RecordingHost() { setCurrent(this); }
    ~RecordingHost() override { setCurrent(nullptr); }

    void closeActiveTab() override { ++closes; }
    bool openProgram(const QString &caption, const QString &programId) override
    {
        opened.append({caption, programId});
        return true;
    }

    int closes = 0;
    QList<QPair<QString, QString>> opened;
};
