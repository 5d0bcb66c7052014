#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzTargets.h"

#include "core/base/Files.h"
#include "core/base/Text1252.h"
#include "core/legacy/LegacySceneDocument.h"
#include "core/scene/SceneChecks.h"
#include "core/scene/SceneDocument.h"

namespace {

void checkName(const std::optional<QString> &name)
{
    FUZZ_CHECK(!name || isBareName(*name));
}

void checkSemicolonValue(const std::optional<QString> &value)
{
    FUZZ_CHECK(!value || !value->contains(u';'));
}

void checkLineValue(const std::optional<QString> &value)
{
    FUZZ_CHECK(!value || !value->contains(u'\n'));
}

void checkLayer(const std::optional<LegacyLayer> &layer)
{
    if (!layer)
        return;
    FUZZ_CHECK(isBareName(layer->name));
    for (const QString *number : {&layer->height, &layer->width, &layer->x, &layer->y})
        FUZZ_CHECK(!number->contains(u';'));
}

// Any bytes as a scene file: every name the editor would open is a bare name,
// every value ends where its rule says, and what is skipped is listed one line
// each.
void checkAnyFile(const QByteArray &bytes)
{
    const LegacySceneRecord r = ParseLegacyScene(fromWindows1252(bytes));
    for (const auto *name : {&r.background, &r.altImage, &r.childPreload, &r.childPreloadLine, &r.fullAnimName,
                             &r.trigger, &r.sound1, &r.sound2, &r.sound3})
        checkName(*name);
    for (const auto *layer : {&r.mainMouth, &r.userMouth, &r.mainBlink, &r.userBlink, &r.extra})
        checkLayer(*layer);
    for (const auto *value : {&r.background, &r.altImage, &r.extraBoxes.random, &r.extraBoxes.frames,
                              &r.extraBoxes.delay, &r.extraBoxes.speed, &r.childPreload, &r.childFrames,
                              &r.childRandom})
        checkSemicolonValue(*value);
    for (const auto *value : {&r.childPreloadLine, &r.childFramesLine, &r.childRandomLine, &r.fullFrames, &r.fullSpeed,
                              &r.fullDelay, &r.fullRandom, &r.fullSpeedChance, &r.fullMinSpeed, &r.fullMaxSpeed,
                              &r.triggerHeight, &r.triggerWidth, &r.triggerX, &r.triggerY, &r.triggerFrames,
                              &r.triggerSpeed, &r.sound1Random, &r.sound1LoopDelay, &r.sound2Random, &r.sound3Random})
        checkLineValue(*value);
    for (const QString &line : r.skipped)
        FUZZ_CHECK(!line.contains(u'\n') && !line.contains(u'\r'));

    // What the file gives a document, written again in the older layout when
    // its values pass the save's checks and loaded again into the same
    // document, leaves a document that writes the same. The same document: a
    // box the file left empty is not written, and a value the file does not
    // give stays as it was, so a fresh document would show its own default.
    SceneDocument loaded;
    applyLegacyScene(loaded, r);
    const QList<SceneEntry> entries = legacySceneEntries(legacySceneInput(loaded));
    if (!checkSceneFields(entries).ok())
        return;
    const QByteArray written = sceneFileBytes(sceneText(entries));
    applyLegacyScene(loaded, ParseLegacyScene(fromWindows1252(written)));
    FUZZ_CHECK(sceneFileBytes(sceneText(legacySceneEntries(legacySceneInput(loaded)))) == written);
}

} // namespace

void fuzzLegacyScene(const uint8_t *data, size_t size)
{
    const QList<QByteArray> fields = fuzzFields(data, size);
    checkAnyFile(fields.value(0));

    // The fields after the first zero byte as what the editor's own save
    // writes: when the save's checks pass them, the file reads back the same.
    qsizetype next = 1;
    auto typed = [&] { return fromWindows1252(fields.value(next++)); };
    LegacySceneInput in;
    in.hasExtraAnim = in.hasChildAnim = in.hasFullAnim = in.hasAltImage = true;
    in.backgroundName = typed();
    in.mainMouthName = typed();
    in.mainMouth = {typed(), typed(), typed(), typed()};
    in.extraName = typed();
    in.childAnim.preloadName = typed();
    in.childAnim.frames = typed();
    in.childAnim.random = typed();
    in.fullAnimFirstFrameName = typed();
    in.fullAnim.frames = typed();
    in.altImageName = typed();
    in.sounds.Sound1File = typed();
    in.sounds.Sound1Random = typed();
    in.sounds.Sound1LoopDelay = typed();
    in.sounds.Sound2File = typed();
    const QList<SceneEntry> entries = legacySceneEntries(in);
    if (!checkSceneFields(entries).ok())
        return;
    const QByteArray file = sceneFileBytes(sceneText(entries));
    checkAnyFile(file);
    const LegacySceneRecord r = ParseLegacyScene(fromWindows1252(file));

    // A name reads back when it is a bare name, and is skipped otherwise.
    auto name = [](const QString &written) {
        return isBareName(written) ? std::optional<QString>(written) : std::nullopt;
    };
    FUZZ_CHECK(r.background == name(in.backgroundName.toText()));
    FUZZ_CHECK(r.mainMouth.has_value() == isBareName(in.mainMouthName.toText()));
    if (r.mainMouth) {
        const LegacyLayer &m = *r.mainMouth;
        FUZZ_CHECK(m.name == in.mainMouthName.toText());
        FUZZ_CHECK(m.x == in.mainMouth.LayerX.toText() && m.y == in.mainMouth.LayerY.toText());
        FUZZ_CHECK(m.width == in.mainMouth.LayerWidth.toText() && m.height == in.mainMouth.LayerHeight.toText());
    }
    FUZZ_CHECK(r.extra.has_value() == isBareName(in.extraName.toText()));
    const QString preload = in.childAnim.preloadName;
    FUZZ_CHECK(r.childPreload == (preload.isEmpty() ? std::nullopt : name(preload)));
    FUZZ_CHECK(r.childPreloadLine == r.childPreload);
    FUZZ_CHECK(r.fullAnimName == name(in.fullAnimFirstFrameName.toText()));
    FUZZ_CHECK(r.altImage == name(in.altImageName.toText()));
    if (!in.sounds.Sound1File.toText().isEmpty()) {
        FUZZ_CHECK(r.sound1 == name(in.sounds.Sound1File.toText()));
        FUZZ_CHECK(r.sound1Random == in.sounds.Sound1Random.toText());
        FUZZ_CHECK(r.sound1LoopDelay == in.sounds.Sound1LoopDelay.toText());
        FUZZ_CHECK(r.sound1Loop == false);
    }
    if (!in.sounds.Sound2File.toText().isEmpty())
        FUZZ_CHECK(r.sound2 == name(in.sounds.Sound2File.toText()));
}
