#include "core/scene/SaveTargets.h"

#include "core/base/Files.h"
#include "core/base/Text1252.h"
#include "core/preview/CountedFrames.h"
#include "core/preview/PreviewScene.h"
#include "core/scene/FrameSetFiles.h"
#include "core/scene/SceneFileText.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <algorithm>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

// A frame count from its key, read as the preview reads it, at least 1 (the
// first frame is named by its key all the same).
int countFrom(const QString &text, const char *key)
{
    const KeyValue value = SceneKeyValue(text, QLatin1String(key));
    return value.present ? std::max(1, savedFrameCountOf(value.value)) : 1;
}

// Frame k of a series as the export numbers it: "0" and the digit up to 9,
// the plain number from 10 on.
bool isFrameNumber(QStringView text, int count)
{
    if (text.size() < 2 || (text.size() > 2 && text[0] == u'0'))
        return false;
    int k = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9' || k > 32767)
            return false;
        k = k * 10 + (c.unicode() - u'0');
    }
    return k >= 1 && k <= count && frameNumberText(k) == text;
}

} // namespace

QList<NamedPictures> picturesNamedBy(const QByteArray &sceneFile)
{
    const QString text = fromWindows1252(sceneFile);
    QList<NamedPictures> named;
    auto add = [&](const char *key, int count) {
        const KeyValue value = SceneKeyValue(text, QLatin1String(key));
        if (!value.value.isEmpty())
            named.append({value.value, count});
    };
    // The background's ".jpg" is taken off and put back on, as the preview does.
    if (const KeyValue bg = SceneKeyValue(text, QStringLiteral("BG=")); !bg.value.isEmpty())
        named.append({backgroundPictureName(bg.value) + QStringLiteral(".jpg"), 1});
    add("NI=", 1);
    add("MPABG=", 1);
    add("KM=", 7);
    add("KS=", 14);
    add("KB=", 4);
    add("KBr=", 9);
    add("UM=", 7);
    add("UB=", 4);
    add("MP=", countFrom(text, "MF="));
    add("TP=", countFrom(text, "TF="));
    add("EMA=", countFrom(text, "EMAF="));
    add("MainAnimName=", countFrom(text, "MainAnimF="));
    return named;
}

bool namesPicture(const NamedPictures &pictures, const QString &fileName)
{
    if (fileName == pictures.first)
        return true;
    if (pictures.count < 2)
        return false;
    // The frames after the first: its name with the last "01" replaced by the frame's number.
    const qsizetype at = pictures.first.lastIndexOf(QStringLiteral("01"));
    if (at < 0)
        return false;
    const QString base = pictures.first.left(at), suffix = pictures.first.mid(at + 2);
    if (fileName.size() < base.size() + suffix.size() + 2 || !fileName.startsWith(base) || !fileName.endsWith(suffix))
        return false;
    const QStringView number = QStringView(fileName).mid(base.size(), fileName.size() - base.size() - suffix.size());
    return isFrameNumber(number, pictures.count);
}

Result<> checkPictureCollisions(const QString &scenesFolder, const QString &scene, const QStringList &pictureNames)
{
    const QString ownFile = scene + QStringLiteral(".scn");
    const QDir folder(scenesFolder);
    QStringList mine = pictureNames;
    // What the scene's own file names, the scene may replace.
    if (const FileRead own = readFile(folder.filePath(ownFile), SceneFileMaxSize); own.ok()) {
        const QList<NamedPictures> owned = picturesNamedBy(own.value);
        mine.removeIf([&](const QString &name) {
            return std::any_of(owned.begin(), owned.end(),
                               [&](const NamedPictures &p) { return namesPicture(p, name); });
        });
    }
    if (mine.isEmpty())
        return Result<>::success();
    // The pattern matches ".scn" in any letter case.
    const QStringList others = folder.entryList({QStringLiteral("*.scn")}, QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString &file : others) {
        if (file == ownFile)
            continue;
        const FileRead read = readFile(folder.filePath(file), SceneFileMaxSize);
        if (!read.ok())
            continue;
        for (const NamedPictures &theirs : picturesNamedBy(read.value)) {
            for (const QString &name : std::as_const(mine)) {
                if (!namesPicture(theirs, name))
                    continue;
                const QString other = file.chopped(4);
                return Result<>::failure(
                    QStringLiteral("The scene was not saved: saving it as \"%1\" would replace the picture %2 of "
                                   "the scene \"%3\". Please choose a name other than \"%1\".")
                        .arg(scene, name, other));
            }
        }
    }
    return Result<>::success();
}

namespace {

// The names of the links in a folder, read from its listing: one pass over the
// folder however many files are to be written into it.
QSet<QByteArray> linksIn(const QByteArray &folder)
{
    QSet<QByteArray> links;
    DIR *dir = ::opendir(folder.isEmpty() ? "." : folder.constData());
    if (!dir)
        return links;
    while (const dirent *entry = ::readdir(dir)) {
        bool link = entry->d_type == DT_LNK;
        if (entry->d_type == DT_UNKNOWN) {
            struct stat st {};
            link = ::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode);
        }
        if (link)
            links.insert(QByteArray(entry->d_name));
    }
    ::closedir(dir);
    return links;
}

} // namespace

Result<> checkNoLinkedFiles(const QStringList &paths)
{
    // Most paths share their folder with the one before.
    QString folder;
    QSet<QByteArray> links;
    for (const QString &path : paths) {
        const qsizetype slash = path.lastIndexOf(u'/');
        if (QStringView(path).left(slash + 1) != folder) {
            folder = path.left(slash + 1);
            links = linksIn(QFile::encodeName(folder));
        }
        if (!links.isEmpty() && links.contains(QFile::encodeName(path.mid(slash + 1))))
            return Result<>::failure(
                QStringLiteral("The scene was not saved: %1 is a link to another file, and the save does not write "
                               "through links. Please remove the link and save again.")
                    .arg(QDir::toNativeSeparators(path)));
    }
    return Result<>::success();
}
