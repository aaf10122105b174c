#include "layoutfile.h"

#include <cstdio>
#include <QFile>
#include <QTemporaryFile>

bool LayoutFile::replace(const QString &path,
                         const std::function<bool(const QString &copyPath)> &write)
{
    QTemporaryFile copy(path + QStringLiteral(".XXXXXX"));
    if (!copy.open())
        return false;
    QFile old(path);
    if (old.exists()) {
        if (!old.open(QIODevice::ReadOnly))
            return false;
        const QByteArray bytes = old.readAll();
        if (copy.write(bytes) != bytes.size() || !copy.flush())
            return false;
    }
    copy.close();
    if (!write(copy.fileName()))
        return false;
    // rename() puts the new file in place in one step, over the old one.
    if (std::rename(QFile::encodeName(copy.fileName()).constData(),
                    QFile::encodeName(path).constData())
        != 0)
        return false;
    copy.setAutoRemove(false);
    return true;
}
