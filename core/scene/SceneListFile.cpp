#include "core/scene/SceneListFile.h"

#include "core/base/Files.h"
#include "core/base/Text1252.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

QString sceneListPath(const QString &baseFolder)
{
    return joinPath(baseFolder, QStringLiteral("/Data/myscenes.dat"));
}

QStringList readSceneList(const QByteArray &contents)
{
    return fromWindows1252(contents).split(QRegularExpression(QStringLiteral("[\r\n]+")), Qt::SkipEmptyParts);
}

QStringList sceneFileNames(const QString &scenesFolder)
{
    QStringList names;
    const QFileInfoList entries = QDir(scenesFolder).entryInfoList(QDir::Files | QDir::Hidden);
    for (const QFileInfo &entry : entries) {
        const QString file = entry.fileName();
        if (!entry.isFile() || !file.endsWith(QStringLiteral(".scn"), Qt::CaseInsensitive))
            continue;
        const QString name = file.chopped(4);
        if (isBareName(name))
            names << name;
    }
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

bool sceneListContains(const QByteArray &contents, const QString &name)
{
    const QStringList entries = readSceneList(contents);
    for (const QString &entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QByteArray appendSceneListEntry(const QByteArray &contents, const QString &name)
{
    static const QByteArray kEntryEnd("\n\r\r\n");
    // A list whose last name has no line end (written by hand or by another
    // program) gets one first, so that the new name is not glued onto it.
    const bool open = !contents.isEmpty() && !contents.endsWith('\n') && !contents.endsWith('\r');
    return contents + (open ? kEntryEnd : QByteArray()) + toWindows1252(name) + kEntryEnd;
}

Result<std::optional<QByteArray>> sceneListWithName(const QString &listPath, const QString &name)
{
    using Listed = Result<std::optional<QByteArray>>;
    QByteArray contents;
    if (QFileInfo::exists(listPath)) {
        FileRead read = readFile(listPath, MaxSceneListSize);
        if (!read)
            return Listed::failure(read.error);
        contents = std::move(read.value);
    }
    if (sceneListContains(contents, name))
        return Listed::success(std::nullopt);
    return Listed::success(appendSceneListEntry(contents, name));
}

FileResult addSceneToList(const QString &listPath, const QString &name, bool *added)
{
    if (added)
        *added = false;
    const auto listed = sceneListWithName(listPath, name);
    if (!listed)
        return FileResult::failure(listed.error);
    if (!listed.value)
        return FileResult::success();
    const QString folder = QFileInfo(listPath).absolutePath();
    if (!QDir().mkpath(folder))
        return FileResult::failure(QStringLiteral("Could not write %1: the folder %2 could not be created")
                                       .arg(QDir::toNativeSeparators(listPath), QDir::toNativeSeparators(folder)));
    const FileResult written = writeFileAtomically(listPath, *listed.value);
    if (written && added)
        *added = true;
    return written;
}
