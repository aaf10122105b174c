#include "programdir.h"

#include <QFileInfo>

QString programDirectory()
{
    // The real path of the running program file, as the kernel knows it: a
    // symbolic link on the PATH (/usr/bin/kesa_z) still leads to the folder
    // that holds the INI files and the splash resource beside the program.
    // Needs no application object.
    const QFileInfo program(QStringLiteral("/proc/self/exe"));
    return withTrailingSeparator(QFileInfo(program.canonicalFilePath()).absolutePath());
}

QString withTrailingSeparator(const QString &directory)
{
    if (directory.endsWith(QLatin1Char('/')))
        return directory;
    return directory + QLatin1Char('/');
}
