#include "sharing/SharePackage.h"

#include "core/base/Files.h"
#include "core/base/NameList.h"
#include "core/base/Text1252.h"
#include "core/system/Services.h"
#include "core/sharing/ShareFolders.h"
#include "adapters/zip/cZip.h"

#include <QDir>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kDraws = 20;

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

bool endsWithAny(const QString &name, std::initializer_list<const char *> endings)
{
    for (const char *ending : endings)
        if (name.endsWith(QLatin1String(ending), Qt::CaseInsensitive))
            return true;
    return false;
}

// The lists of the scene in copy order: each index of a group visits its lists in turn.
struct ListGroup {
    int last;
    std::initializer_list<const QStringList SceneFileLists::*> lists;
};

const ListGroup kPictureGroups[] = {
    {7, {&SceneFileLists::MainMouthFrameFiles, &SceneFileLists::UserMouthFrameFiles}},
    {4, {&SceneFileLists::MainBlinkFrameFiles, &SceneFileLists::UserBlinkFrameFiles}},
    {14, {&SceneFileLists::SmileFrameFiles, &SceneFileLists::BrowFrameFiles}},
    {1000,
     {&SceneFileLists::ChildFrameFiles, &SceneFileLists::ExtraFrameFiles, &SceneFileLists::FullAnimFrameFiles,
      &SceneFileLists::TriggerFrameFiles}},
};

class Planner {
public:
    explicit Planner(const ShareInputs &in)
        : m_in(in)
        , m_images(joinPath(in.BaseFolder, QStringLiteral("Images/")))
        , m_staging(joinPath(in.BaseFolder, QStringLiteral("Data/Temp/ShareTemp/")))
    {
    }

    SharePlan plan()
    {
        SharePlan p;
        p.stagingRoot = m_staging.chopped(1);
        if (m_in.SelectSceneList == 0 || m_in.SelectScene.isEmpty()) {
            p.refusal = QStringLiteral("Load one of your scenes before uploading it.");
            return p;
        }
        if (!isBareName(m_in.SelectScene)) {
            p.refusal = QStringLiteral("The scene cannot be uploaded: its name \"%1\" is not a plain file name.")
                            .arg(m_in.SelectScene);
            return p;
        }
        if (m_in.MainPicFileName.isEmpty()) {
            p.refusal = QStringLiteral("The scene cannot be uploaded: it names no background picture.");
            return p;
        }
        if (!isSharePictureName(m_in.MainPicFileName)) {
            p.refusal = QStringLiteral("The scene cannot be uploaded: its background \"%1\" is not the name of a "
                                       "picture in the Images folder.")
                            .arg(m_in.MainPicFileName);
            return p;
        }

        p.background = source(m_images, m_in.MainPicFileName);
        addPicture(m_in.MainPicFileName);
        if (!m_in.NudyFilename.isEmpty())
            addPicture(m_in.NudyFilename);
        for (const ListGroup &group : kPictureGroups) {
            for (int i = 1; i <= group.last; ++i) {
                for (const QStringList SceneFileLists::*list : group.lists) {
                    const QStringList &names = m_in.Files.*list;
                    if (i < names.size() && !names[i].isEmpty())
                        addPicture(names[i]);
                }
            }
        }
        addSounds();

        p.installer = {installerSource(), m_staging + QStringLiteral("mediadrop.exe")};
        const QString sceneName = m_in.SelectScene + QStringLiteral(".scn");
        p.scene = {source(joinPath(m_in.BaseFolder, QStringLiteral("Scenes/")), sceneName),
                   m_staging + QStringLiteral("Files/Scenes/") + sceneName};
        for (const QString &path : {p.background, p.installer.source, p.scene.source})
            requireSource(path);
        if (!m_missing.isEmpty()) {
            p.refusal =
                QStringLiteral("The scene cannot be uploaded. These files are missing:\n") + nameListText(m_missing);
            return p;
        }

        const QString zips = joinPath(m_in.BaseFolder, QStringLiteral("Data/Temp/zips/"));
        p.UploadName = drawUploadName(m_in.SelectScene, zips);
        if (p.UploadName.isEmpty()) {
            p.refusal = QStringLiteral("The scene cannot be uploaded: no free upload name was found in %1.")
                            .arg(shown(zips));
            return p;
        }
        const QString u = zips + p.UploadName;
        p.pictures = m_copies;
        p.leftOut = m_leftOut;
        p.thumbnail = u + QStringLiteral(".jpg");
        p.secondPicture = {p.background, u + QStringLiteral("-2.jpg")};
        p.commentFile = {u + QStringLiteral("-cmnt.txt"), shareTextFileBytes(m_in.comment)};
        p.handleFile = {u + QStringLiteral(".txt"), shareTextFileBytes(m_in.handle)};
        p.zipFile = u + QStringLiteral(".zip");
        return p;
    }

private:
    static QString source(const QString &folder, const QString &name) { return findFileIgnoringCase(folder, name); }

    void requireSource(const QString &path)
    {
        if (!fileExists(path) && !m_missing.contains(shown(path)))
            m_missing << shown(path);
    }

    void leaveOut(const QString &name)
    {
        if (!m_leftOut.contains(name))
            m_leftOut << name;
    }

    void addCopy(const QString &from, const QString &to)
    {
        for (const ShareCopy &c : std::as_const(m_copies))
            if (c.destination == to)
                return;
        m_copies.append({from, to});
    }

    void addPicture(const QString &name)
    {
        if (!isSharePictureName(name)) {
            leaveOut(name);
            return;
        }
        const QString from = source(m_images, name);
        requireSource(from);
        addCopy(from, m_staging + QStringLiteral("Files/Images/") + name);
    }

    // Sounds 1 to 3 come from Sounds; one that is not there is left out quietly.
    void addSounds()
    {
        const QString sounds = joinPath(m_in.BaseFolder, QStringLiteral("Sounds/"));
        for (int i = 1; i <= 3 && i < m_in.Files.SoundFiles.size(); ++i) {
            const QString &name = m_in.Files.SoundFiles[i];
            if (name.isEmpty())
                continue;
            if (!isShareSoundName(name)) {
                leaveOut(name);
                continue;
            }
            const QString from = source(sounds, name);
            if (fileExists(from))
                addCopy(from, m_staging + QStringLiteral("Files/Sounds/") + name);
        }
    }

    QString installerSource() const
    {
        const QString folder = m_in.programFolder + u'/';
        const QString plain = joinPath(folder, QStringLiteral("mediadrop"));
        if (fileExists(plain))
            return plain;
        const QString exe = joinPath(folder, QStringLiteral("mediadrop.exe"));
        return fileExists(exe) ? exe : plain;
    }

    const ShareInputs &m_in;
    const QString m_images;
    const QString m_staging;
    QList<ShareCopy> m_copies;
    QStringList m_leftOut;
    QStringList m_missing;
};

} // namespace

QStringList sharePackagePatterns()
{
    // Every picture name the package stages ends in one of the first three, in any letter case.
    return {QStringLiteral("*.jpg"), QStringLiteral("*.jpeg"), QStringLiteral("*.bmp"),
            QStringLiteral("*.scn"), QStringLiteral("*.exe"),  QStringLiteral("*.wav")};
}

bool isSharePictureName(const QString &name)
{
    return isBareName(name) && endsWithAny(name, {".jpg", ".jpeg", ".bmp"});
}

bool isShareSoundName(const QString &name)
{
    return isBareName(name) && endsWithAny(name, {".wav"});
}

SharePlan planSharePackage(const ShareInputs &inputs)
{
    return Planner(inputs).plan();
}

QString leftOutMessage(const QStringList &names)
{
    return QStringLiteral("These names in the scene are not pictures or sounds of its folders, so they are left "
                          "out of the upload:\n") +
           nameListText(names);
}

QByteArray shareTextFileBytes(const QString &text)
{
    return toWindows1252(text) + QByteArray("\r\n");
}

double RandomInRange(qint32 high, qint32 low)
{
    const double r = services().random->next();
    const qint64 span = qint64(high) - qint64(low) + 1;
    const double value = double(low) + std::floor(r * double(span));
    return std::clamp(value, double(std::min(low, high)), double(std::max(low, high)));
}

QString drawUploadName(const QString &scene, const QString &zipsFolder)
{
    static const char *const kEndings[] = {".zip", ".jpg", "-2.jpg", ".txt", "-cmnt.txt"};
    for (int draw = 0; draw < kDraws; ++draw) {
        const QString name = scene + QString::number(qint64(RandomInRange(999999999, 100000000)));
        bool taken = false;
        for (const char *ending : kEndings)
            taken = taken || PathExists(joinPath(zipsFolder + u'/', name + QLatin1String(ending)));
        if (!taken)
            return name;
    }
    return QString();
}

QString DestinationUrl(const QString &host, bool approved)
{
    return QStringLiteral("http://") + host +
           (approved ? QStringLiteral("/VSH/post_dump.php") : QStringLiteral("/VSH-APRV/post_dump.php"));
}

void zipSharePackage(cZip &zip, const QString &baseFolder, const QString &name)
{
    zip.setZipFile(joinPath(baseFolder, QStringLiteral("Data/Temp/zips/")) + name + QStringLiteral(".zip"));
    zip.setEncrypt(false);
    zip.setAddComment(false);
    zip.setBasePath(joinPath(baseFolder, QStringLiteral("Data/Temp/ShareTemp")));
    zip.ClearFileSpecs();
    for (const QString &pattern : sharePackagePatterns())
        zip.AddFileSpec(pattern);
    zip.setStoreFolderNames(true);
    zip.setRecurseSubDirs(true);
    zip.Zip();
}
