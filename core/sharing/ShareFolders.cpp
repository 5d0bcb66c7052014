#include "core/sharing/ShareFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const char *const kStagedFolders[] = {
    "Data/Temp/ShareTemp/Files/Scenes",
    "Data/Temp/ShareTemp/Files/Images",
    "Data/Temp/ShareTemp/Files/Sounds",
};

FileResult failed(const QString &error)
{
    return FileResult::failure(error);
}

// The staging root and every folder below it are emptied through, so none of
// them may lead elsewhere.
bool isStagingFolder(const QString &folder)
{
    return folder == QLatin1String("Data/Temp/ShareTemp") || folder.startsWith(QLatin1String("Data/Temp/ShareTemp/"));
}

} // namespace

QStringList shareFolders()
{
    return {
        QStringLiteral("Data/Temp"),
        QStringLiteral("Data/Temp/zips"),
        QStringLiteral("Data/Temp/ShareTemp"),
        QStringLiteral("Data/Temp/ShareTemp/Files"),
        QStringLiteral("Data/Temp/ShareTemp/Files/Scenes"),
        QStringLiteral("Data/Temp/ShareTemp/Files/Images"),
        QStringLiteral("Data/Temp/ShareTemp/Files/Sounds"),
    };
}

bool PathExists(const QString &path)
{
    QString p = joinPath(path, QString());
    if (p.size() > 1 && p.endsWith(u'/'))
        p.chop(1);
    if (p.isEmpty())
        return false;
    const QFileInfo info(p);
    return info.exists() || info.isSymLink();
}

bool FolderHasOnlyStandardEntries(const QString &folder)
{
    const QStringList entries =
        QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QString &name : entries) {
        if (name != QLatin1String("Files") && name != QLatin1String("Scenes") && name != QLatin1String("Images"))
            return false;
    }
    return true;
}

FileResult PrepareShareFolders(const QString &baseFolder)
{
    for (const QString &folder : shareFolders()) {
        const QString path = joinPath(baseFolder, folder);
        if (isStagingFolder(folder) && QFileInfo(path).isSymLink())
            return failed(QStringLiteral("Could not use the folder %1: it is a link to another place, and no file is "
                                         "deleted through a link. Put a plain folder in its place.")
                              .arg(QDir::toNativeSeparators(path)));
    }
    for (const QString &folder : shareFolders()) {
        const QString path = joinPath(baseFolder, folder);
        if (!PathExists(path)) {
            if (!QDir().mkpath(path))
                return failed(QStringLiteral("Could not make the folder %1.").arg(QDir::toNativeSeparators(path)));
        } else if (!QFileInfo(path).isDir()) {
            return failed(QStringLiteral("Could not use the folder %1: a file of that name is in its place.")
                              .arg(QDir::toNativeSeparators(path)));
        }
    }
    for (const char *folder : kStagedFolders) {
        const QString path = joinPath(baseFolder, QLatin1String(folder));
        if (FolderHasOnlyStandardEntries(path))
            continue;
        const QFileInfoList entries =
            QDir(path).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
        for (const QFileInfo &entry : entries) {
            if (entry.isDir() && !entry.isSymLink())
                continue;
            QFile file(entry.filePath());
            if (!file.remove())
                return failed(QStringLiteral("Could not remove %1: %2")
                                  .arg(QDir::toNativeSeparators(entry.filePath()), file.errorString()));
        }
    }
    return FileResult::success();
}
