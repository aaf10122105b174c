#include "programdir.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

QString programDirectory()
{
    // Before the application object exists Qt cannot tell the program file;
    // the kernel can.
    const QString directory = QCoreApplication::instance()
                                      ? QCoreApplication::applicationDirPath()
                                      : QFileInfo(QFile::symLinkTarget(
                                                          QStringLiteral("/proc/self/exe")))
                                                .absolutePath();
    return withTrailingSeparator(directory);
}

QString withTrailingSeparator(const QString &directory)
{
    if (directory.endsWith(QLatin1Char('/')))
        return directory;
    return directory + QLatin1Char('/');
}
