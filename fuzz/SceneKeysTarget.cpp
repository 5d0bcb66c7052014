#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzTargets.h"

#include "core/base/Files.h"
#include "core/base/Text1252.h"
#include "core/preview/CountedFrames.h"
#include "core/preview/PreviewScene.h"
#include "core/preview/SceneSounds.h"
#include "core/scene/SaveTargets.h"

#include <algorithm>

namespace {

// Every key the preview reads a file name from.
const char *const kNameKeys[] = {"BG=", "NI=", "KM=", "KS=", "KB=", "KBr=", "UM=", "UB=", "MP=",
                                 "EMA=", "MainAnimName=", "TP=", "Sound1=", "Sound2=", "Sound3="};

// The counted sets: the key naming frame 01 and the key of the frame count.
const struct {
    const char *name, *count;
} kCountedSets[] = {{"MP=", "MF="}, {"EMA=", "EMAF="}, {"MainAnimName=", "MainAnimF="}, {"TP=", "TF="}};

// A value found is the text between the key's first occurrence and the next
// ";"; a key that occurs with a ";" after it is found.
void checkKeyValue(const QString &text, const QString &key)
{
    const KeyValue v = SceneKeyValue(text, key);
    const qsizetype at = key.isEmpty() ? -1 : text.indexOf(key);
    FUZZ_CHECK(v.present == (at >= 0 && text.indexOf(u';', at + key.size()) >= 0));
    if (!v.present) {
        FUZZ_CHECK(v.value.isEmpty());
        return;
    }
    FUZZ_CHECK(!v.value.contains(u';'));
    FUZZ_CHECK(text.indexOf(key + v.value + u';') == at);
}

// The frame names of a key that names frame 01 as the writer does ("...01.jpg").
bool namesFirstFrame(const QString &value)
{
    const qsizetype at = value.lastIndexOf(QStringLiteral("01"));
    const QStringView tail = QStringView(value).mid(at + 2);
    return at >= 0 && (tail == u".jpg" || tail == u".bmp");
}

} // namespace

void fuzzSceneKeys(const uint8_t *data, size_t size)
{
    // The scene file's bytes, and after the first zero byte a key to look up.
    const QList<QByteArray> fields = fuzzFields(data, size);
    const QByteArray bytes = fields.value(0);
    const QString text = fromWindows1252(bytes);
    checkKeyValue(text, fromWindows1252(fields.value(1)));

    // A name value the preview uses as a file is a bare name, else absent.
    for (const char *key : kNameKeys) {
        const QString k = QLatin1String(key);
        checkKeyValue(text, k);
        const KeyValue name = SceneNameValue(text, k);
        const KeyValue raw = SceneKeyValue(text, k);
        FUZZ_CHECK(name.present == (raw.present && isBareName(raw.value)));
        FUZZ_CHECK(!name.present || name.value == raw.value);
    }
    const SceneSoundKeys sounds = readSceneSoundKeys(text);
    for (const KeyValue *sound : {&sounds.sound1, &sounds.sound2, &sounds.sound3})
        FUZZ_CHECK(!sound->present || isBareName(sound->value));
    for (const char *prefix : {"KM", "UM", "KB", "UB", "MP", "TP"}) {
        const LayerKeys keys = readLayerKeys(text, QLatin1String(prefix));
        FUZZ_CHECK(!keys.name.present || isBareName(keys.name.value));
        FUZZ_CHECK(!keys.x.value.contains(u';') && !keys.y.value.contains(u';'));
    }

    // The pictures the preview loads for a scene, the save's check of other
    // scenes' pictures knows as that scene's: a save never replaces them.
    const QList<NamedPictures> named = picturesNamedBy(bytes);
    auto isNamed = [&](const QString &file) {
        return std::any_of(named.begin(), named.end(), [&](const NamedPictures &p) { return namesPicture(p, file); });
    };
    const BackgroundKeys background = readBackgroundKeys(text);
    if (background.background.present) {
        const QString file = backgroundPictureName(background.background.value) + QStringLiteral(".jpg");
        FUZZ_CHECK(!file.contains(u'/') && !file.contains(u'\\'));
        FUZZ_CHECK(isNamed(file));
    }
    for (const auto &set : kCountedSets) {
        const KeyValue name = SceneNameValue(text, QLatin1String(set.name));
        const KeyValue count = SceneKeyValue(text, QLatin1String(set.count));
        const int frames = count.present ? frameCountOf(count.value) : 0;
        FUZZ_CHECK(frames >= 0 && frames <= MaxCountedFrames);
        if (!name.present)
            continue;
        PreviewLocals locals;
        const QStringList files = countedFrameNames(locals, name.value, frames);
        FUZZ_CHECK(files.size() == std::max(frames, 1));
        for (const QString &file : files)
            FUZZ_CHECK(isBareName(file));
        if (!namesFirstFrame(name.value))
            continue;
        FUZZ_CHECK(files.first() == name.value);
        for (const QString &file : files)
            FUZZ_CHECK(isNamed(file));
    }
}
