#include "core/install/PackageInstall.h"

#include "core/base/Files.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace installer {

const char *const MediaFolders[5] = {"Scenes", "Images", "Sounds", "Skins", "Personalities"};

namespace {

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// A folder's path without trailing separators ("/" stays "/").
QString withoutTrailingSeparator(const QString &folder)
{
    QString f = folder;
    while (f.size() > 1 && f.endsWith(u'/'))
        f.chop(1);
    return f;
}

QString inFolder(const QString &folder, const QString &name)
{
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

// One media folder: its files copied in name order, stopping at the first copy that fails.
void installMediaFolder(const QString &programFolder, const QString &installFolder, const QString &media,
                        InstallOutcome &outcome)
{
    const QString source = inFolder(packageFolder(programFolder), media);
    const QString target = inFolder(withoutTrailingSeparator(installFolder), media);
    const QFileInfo sourceInfo(source);
    if (!sourceInfo.exists() && !sourceInfo.isSymLink())
        return;
    // Compared whole: a sibling such as FilesX/<F> reached through a link is not inside.
    const QString expected =
        inFolder(QFileInfo(programFolder).canonicalFilePath(), QStringLiteral("Files/") + media);
    if (sourceInfo.canonicalFilePath() != expected) {
        outcome.refused << QStringLiteral("%1: the folder leads outside the package").arg(shown(source));
        return;
    }
    if (!sourceInfo.isDir())
        return;

    QFileInfoList entries = QDir(source).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::NoSort);
    std::sort(entries.begin(), entries.end(),
              [](const QFileInfo &a, const QFileInfo &b) { return a.fileName() < b.fileName(); });
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        const QString from = inFolder(source, name);
        if (name.startsWith(u'.'))
            continue;
        if (entry.isSymLink()) {
            outcome.refused << QStringLiteral("%1: it is a link").arg(shown(from));
            continue;
        }
        if (!entry.isFile())
            continue;
        if (!isBareName(name)) {
            outcome.refused << QStringLiteral("%1: its name could lead outside its folder").arg(shown(from));
            continue;
        }
        const QString to = inFolder(target, name);
        const QFileInfo toInfo(to);
        if (toInfo.isSymLink()) {
            outcome.refused << QStringLiteral("%1: the target %2 is a link").arg(shown(from), shown(to));
            continue;
        }
        if (toInfo.exists() && !toInfo.isFile()) {
            outcome.refused << QStringLiteral("%1: the target %2 is a folder or no regular file").arg(shown(from), shown(to));
            continue;
        }
        const FileResult copied = copyFileAtomically(from, to);
        if (!copied) {
            outcome.failure = copied.error;
            return;
        }
        outcome.log << name + QStringLiteral(" ....... ") + to;
    }
}

} // namespace

QString packageFolder(const QString &programFolder)
{
    return inFolder(withoutTrailingSeparator(programFolder), QStringLiteral("Files"));
}

QString nothingToInstallText(const QString &programFolder)
{
    return QStringLiteral("Nothing was installed: there are no files to install in %1 "
                          "(its Scenes, Images, Sounds, Skins and Personalities folders).")
        .arg(shown(packageFolder(programFolder)));
}

Result<> checkInstallFolder(const QString &installFolder)
{
    if (installFolder.isEmpty() || installFolder == QStringLiteral("Error"))
        return Result<>::failure(
            QStringLiteral("The Velm 5 installation directory is not known, so nothing was installed. "
                           "Please install manually by copying files to Velm 5 default directory."));
    if (!QDir::isAbsolutePath(installFolder))
        return Result<>::failure(
            QStringLiteral("The Velm 5 installation directory \"%1\" is not a full path, so nothing was installed.")
                .arg(installFolder));
    if (!QFileInfo(installFolder).isDir())
        return Result<>::failure(
            QStringLiteral("The Velm 5 installation directory %1 does not exist, so nothing was installed.")
                .arg(shown(installFolder)));
    return Result<>::success();
}

InstallOutcome installPackage(const QString &programFolder, const QString &installFolder)
{
    InstallOutcome outcome;
    for (const char *media : MediaFolders) {
        installMediaFolder(programFolder, installFolder, QString::fromLatin1(media), outcome);
        if (!outcome.failure.isEmpty())
            break;
    }
    return outcome;
}

} // namespace installer
