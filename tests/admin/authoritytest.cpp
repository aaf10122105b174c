#include "authoritytest.h"

#include "testdatabase.h"

#include <QProcess>

QString menuText(const TestDatabase &tdb, const QString &projectId, const QString &empNo)
{
    QProcess tool;
    tool.start(qEnvironmentVariable("KESA_BIN_DIR") + QStringLiteral("/kesa-db"),
               {QStringLiteral("menu"), tdb.alias(), projectId, empNo});
    if (!tool.waitForFinished(60000) || tool.exitStatus() != QProcess::NormalExit
        || tool.exitCode() != 0)
        return QStringLiteral("kesa-db failed: ") + QString::fromUtf8(tool.readAllStandardError());
    return QString::fromUtf8(tool.readAllStandardOutput());
}
