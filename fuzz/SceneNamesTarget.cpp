#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzTargets.h"

#include "core/base/Text1252.h"
#include "core/scene/SceneChecks.h"
#include "core/scene/SceneFileText.h"
#include "core/scene/SceneFrameFiles.h"

#include <QDir>
#include <QFile>

namespace {

const QString kRoot = QStringLiteral("/home/u/Documents/Velm5Pro/");

// The path is the file `name` right inside `folder` of the root, and no
// longer than a file name may be, with the temporary name it is written under.
bool rightInside(const QString &path, const QString &folder, const QString &name)
{
    const QString expected = kRoot + folder + u'/' + name;
    return path == expected && QDir::cleanPath(path) == path && !name.contains(u'/')
        && QFile::encodeName(name).size() + 7 <= 255;
}

} // namespace

void fuzzSceneNames(const uint8_t *data, size_t size)
{
    // The scene name, then the typed values, one after each zero byte.
    const QList<QByteArray> fields = fuzzFields(data, size);
    qsizetype next = 0;
    auto typed = [&] { return QString::fromUtf8(fields.value(next++)); };

    SceneSettings s;
    s.name = typed();
    s.hasTrigger = s.hasExtraAnim = s.hasChildAnim = s.hasFullAnim = s.hasAltImage = true;
    s.hasSmile = s.hasMainBlink = s.hasBrow = s.hasUser = s.hasUserBlink = s.extraDelayAt = true;
    s.triggerAnim = {typed(), typed()};
    auto &x = s.extraAnim;
    x.random = typed();
    x.frames = typed();
    x.delayFrame = typed();
    x.delay = typed();
    x.speed = typed();
    x.loop = x.delayAtEnd = true;
    s.childAnim = {typed(), typed(), typed(), true, false};
    auto &f = s.fullAnim;
    f.frames = typed();
    f.speed = typed();
    f.delay = typed();
    f.random = typed();
    f.pong = f.delayAtStart = f.talkAtEnd = f.randomSpeed = true;
    f.speedChance = typed();
    f.minSpeed = typed();
    f.maxSpeed = typed();
    auto &o = s.sounds;
    o.sound1 = typed();
    o.sound1Chance = typed();
    o.sound1LoopDelay = typed();
    o.sound2 = typed();
    o.sound2Chance = typed();
    o.sound3 = typed();
    o.sound3Chance = typed();

    const QString &name = s.name;
    if (name.isEmpty() || !checkSceneName(name).ok())
        return;

    // Every file of the scene lies right inside its folder.
    const QString root = saveRootFolder(kRoot);
    FUZZ_CHECK(root == kRoot);
    FUZZ_CHECK(rightInside(sceneFilePath(root, name), QStringLiteral("Scenes"), name + QStringLiteral(".scn")));
    for (const char *suffix : {"BG.jpg", "Alternate.jpg", "AlphaBG.jpg"})
        FUZZ_CHECK(rightInside(scenePicturePath(root, name, QLatin1String(suffix)), QStringLiteral("Images"),
                               name + QLatin1String(suffix)));
    for (const char *word : {"Mouth", "ExtraAlpha", "FullAnim", "Trigger"}) {
        for (int n : {1, 10, 32767})
            FUZZ_CHECK(rightInside(sceneFramePath(root, name, QLatin1String(word), n), QStringLiteral("Images"),
                                   name + QLatin1String(word) + frameNumberText(n) + QStringLiteral(".jpg")));
    }

    const QList<SceneEntry> entries = sceneEntries(s);
    if (!checkSceneFields(entries).ok())
        return;
    // The file holds one entry a line, each one key and one value, and a
    // reader that takes the first occurrence of a key gets that entry's value.
    const QString text = sceneText(entries);
    const QByteArray bytes = sceneFileBytes(text);
    FUZZ_CHECK(fromWindows1252(bytes) == text + QStringLiteral("\r\n"));
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    FUZZ_CHECK(lines.size() == entries.size() + 1 && lines.last().isEmpty());
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString &line = lines[i];
        FUZZ_CHECK(line.count(u'=') == 1 && line.count(u';') == 1 && line.endsWith(u';'));
        FUZZ_CHECK(!line.contains(u'\r') && !line.contains(u'\n'));
        const SceneEntry &entry = entries[i];
        const qsizetype at = text.indexOf(entry.key);
        FUZZ_CHECK(at >= 0);
        const qsizetype from = at + entry.key.size();
        FUZZ_CHECK(text.mid(from, text.indexOf(u';', from) - from) == entry.value);
    }
}
