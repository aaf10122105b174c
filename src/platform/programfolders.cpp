#include "programfolders.h"

#include "inifile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// The program's name, which its folders carry; the old ones carried the main
// window's class.
const char *const ProgramName = "kesa_z";
const char *const OldName = "TfrmZ0Main";
const char *const DialogSection = "Files";
const char *const DialogKey = "Folder";

struct Folders
{
    QString dataOverride;
    QString cacheOverride;
    // A folder that could not be moved stays in use under its old name.
    bool dataKeptOld = false;
    bool cacheKeptOld = false;
    QString report;
};

Folders &folders()
{
    static Folders f;
    return f;
}

QString inBase(QStandardPaths::StandardLocation base, const char *name)
{
    return QStandardPaths::writableLocation(base) + QLatin1Char('/') + QString::fromLatin1(name);
}

// Moves `from` to `to`: at once when `to` does not exist, else entry by entry
// (what `to` already holds is not overwritten, and stays in `from`). True when
// `from` is gone afterwards.
bool moveFolder(const QString &from, const QString &to)
{
    QDir dir;
    if (!QFileInfo::exists(to))
        return dir.rename(from, to);
    if (!QFileInfo(to).isDir())
        return false;
    QDir source(from);
    bool all = true;
    const QStringList entries = source.entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                                 | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        const QString target = to + QLatin1Char('/') + entry;
        if (QFileInfo::exists(target) || !dir.rename(source.filePath(entry), target))
            all = false;
    }
    return all && dir.rmdir(from);
}

// True when the old folder has to stay in use: it exists and could not be moved.
// What the new folder already held stays behind; a cache's leftovers are
// dropped, a data folder's are set aside under a name of their own and told
// once, so that no later start finds the old folder again.
bool keepsOld(QStandardPaths::StandardLocation base, QString &report)
{
    const QString oldPath = inBase(base, OldName);
    const QString newPath = inBase(base, ProgramName);
    if (!QFileInfo(oldPath).isDir())
        return false;
    if (moveFolder(oldPath, newPath))
        return false;
    if (!QFileInfo(newPath).isDir()) {
        report += QStringLiteral("%1 폴더를 %2(으)로 옮기지 못해 %1을(를) 그대로 사용합니다.\r")
                          .arg(QDir::toNativeSeparators(oldPath), QDir::toNativeSeparators(newPath));
        return true;
    }
    if (base == QStandardPaths::GenericCacheLocation) {
        QDir(oldPath).removeRecursively();
        return false;
    }
    const QString asidePath = oldPath + QStringLiteral(".old");
    if (!QFileInfo::exists(asidePath) && QDir().rename(oldPath, asidePath)) {
        report += QStringLiteral("%1 폴더의 파일 중 %2에 이미 있는 것은 옮기지 않았습니다. "
                                 "옮기지 않은 파일은 %3에 있습니다.\r")
                          .arg(QDir::toNativeSeparators(oldPath),
                               QDir::toNativeSeparators(newPath),
                               QDir::toNativeSeparators(asidePath));
        return false;
    }
    report += QStringLiteral("%1 폴더의 일부를 %2(으)로 옮기지 못했습니다. 남은 파일은 %1에 "
                             "있습니다.\r")
                      .arg(QDir::toNativeSeparators(oldPath), QDir::toNativeSeparators(newPath));
    return false;
}

} // namespace

namespace ProgramFolders {

QString prepare()
{
    Folders &f = folders();
    f.report.clear();
    f.dataKeptOld = f.cacheKeptOld = false;
    if (f.dataOverride.isEmpty())
        f.dataKeptOld = keepsOld(QStandardPaths::GenericDataLocation, f.report);
    if (f.cacheOverride.isEmpty())
        f.cacheKeptOld = keepsOld(QStandardPaths::GenericCacheLocation, f.report);
    if (f.report.endsWith(QLatin1Char('\r')))
        f.report.chop(1);
    return f.report;
}

QString data()
{
    const Folders &f = folders();
    if (!f.dataOverride.isEmpty())
        return f.dataOverride;
    return inBase(QStandardPaths::GenericDataLocation, f.dataKeptOld ? OldName : ProgramName);
}

QString cache()
{
    const Folders &f = folders();
    if (!f.cacheOverride.isEmpty())
        return f.cacheOverride;
    return inBase(QStandardPaths::GenericCacheLocation, f.cacheKeptOld ? OldName : ProgramName);
}

QString screenSettings(const QString &screenId)
{
    return data() + QLatin1Char('/') + screenId + QStringLiteral(".ini");
}

QString dialogFolder(const QString &screenId)
{
    const QString kept = IniFile(screenSettings(screenId))
                                 .readString(QString::fromLatin1(DialogSection),
                                             QString::fromLatin1(DialogKey));
    if (!kept.isEmpty() && QFileInfo(kept).isDir())
        return kept;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

bool rememberDialogFile(const QString &screenId, const QString &filePath)
{
    if (filePath.isEmpty())
        return true;
    const QString path = screenSettings(screenId);
    QDir().mkpath(QFileInfo(path).path());
    IniFile settings(path);
    return settings.writeString(QString::fromLatin1(DialogSection),
                                QString::fromLatin1(DialogKey),
                                QFileInfo(filePath).absolutePath());
}

void setDataFolder(const QString &folder)
{
    folders().dataOverride = folder;
}

void setCacheFolder(const QString &folder)
{
    folders().cacheOverride = folder;
}

} // namespace ProgramFolders
