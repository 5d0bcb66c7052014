#include "core/legacy/LegacySceneDocument.h"

#include "core/scene/SceneDocument.h"

namespace {

// A value the file gave replaces the one held.
void take(QString &value, const std::optional<QString> &given)
{
    if (given)
        value = *given;
}

// One option of a pair chosen: the first when `first`, the second otherwise.
void choose(const std::optional<bool> &first, bool &firstOption, bool &secondOption)
{
    if (!first)
        return;
    firstOption = *first;
    secondOption = !*first;
}

// A layer group: its picture's name and its place on the canvas.
void layer(SceneState &s, const std::optional<LegacyLayer> &group, CanvasLayer layer, Value SceneState::*fileName)
{
    if (!group)
        return;
    s.*fileName = group->name;
    LayerPlacement &p = s.LayerPlacements[layer];
    p.LayerHeight = group->height;
    p.LayerWidth = group->width;
    p.LayerX = group->x;
    p.LayerY = group->y;
}

} // namespace

void applyLegacyScene(SceneDocument &document, const LegacySceneRecord &r)
{
    SceneState &s = document.state();
    SceneDialogValues &d = document.dialogs();

    s.LegacyCanvasUnit = r.twips ? CanvasUnit::Twips : CanvasUnit::Pixels;
    if (r.background)
        s.BackgroundFileName = *r.background;
    s.SceneHasAltImage = toFlag(r.altImage.has_value());
    if (r.altImage) {
        s.AltImageName = *r.altImage;
        s.AltImagePath = s.BaseFolder + *r.altImage;
    }

    layer(s, r.mainMouth, LayerMainMouth, &SceneState::MainMouthFileName);
    s.SceneHasUser = toFlag(r.userMouth.has_value());
    layer(s, r.userMouth, LayerUserMouth, &SceneState::UserMouthFileName);
    s.SceneHasMainBlink = toFlag(r.mainBlink.has_value());
    layer(s, r.mainBlink, LayerMainBlink, &SceneState::MainBlinkFileName);
    s.SceneHasUserBlink = toFlag(r.userBlink.has_value());
    layer(s, r.userBlink, LayerUserBlink, &SceneState::UserBlinkFileName);

    SceneSettings::Extra &extra = d.extra;
    s.SceneHasExtraAnim = toFlag(r.extra.has_value());
    if (r.extra) {
        take(extra.random, r.extraBoxes.random);
        take(extra.frames, r.extraBoxes.frames);
        take(extra.delay, r.extraBoxes.delay);
        take(extra.speed, r.extraBoxes.speed);
        // The writer gives "MDA=" only while the delay at a frame is on.
        take(extra.delayFrame, r.extraBoxes.delayAt);
        s.ExtraDelayAtOn = toFlag(r.extraBoxes.delayAt.has_value());
    }
    layer(s, r.extra, LayerExtraAnim, &SceneState::ExtraFileName);
    choose(r.extraPingPong, extra.pong, extra.loop);
    choose(r.extraDelayAtStart, extra.delayAtStart, extra.delayAtEnd);

    SceneSettings::Child &child = d.child;
    s.SceneHasChildAnim = toFlag(r.childPreload.has_value());
    if (r.childPreload) {
        // Preloaded frames, and automatic crop is not offered for them.
        applyChildFrameSource(s, d, ChildFrameSource::Preloaded);
        d.childBoxes.autoCropOffered = false;
        s.ChildPreloadName = *r.childPreload;
        d.childBoxes.preloadBox = *r.childPreload;
    }
    take(child.frames, r.childFrames);
    take(child.random, r.childRandom);
    choose(r.childAtStart, child.atStart, child.atEnd);
    // A second pass over the child's keys by the line rule; its values stay.
    if (r.childPreloadLine)
        s.ChildPreloadName = *r.childPreloadLine;
    take(child.frames, r.childFramesLine);
    take(child.random, r.childRandomLine);
    if (r.childStartLiteral)
        choose(true, child.atStart, child.atEnd);
    if (r.childEndLiteral)
        choose(false, child.atStart, child.atEnd);

    SceneSettings::FullAnim &full = d.fullAnim;
    // The full-background group is kept for a later save only when the file has it.
    s.SceneHasFullAnim = toFlag(r.fullAnimName.has_value());
    if (r.fullAnimName) {
        s.FullAnimFirstFrameName = *r.fullAnimName;
        d.fullAnimNameBox = *r.fullAnimName;
    }
    take(full.frames, r.fullFrames);
    take(full.speed, r.fullSpeed);
    take(full.delay, r.fullDelay);
    take(full.random, r.fullRandom);
    // Each literal the file holds chooses its option, in this order.
    const struct {
        bool present;
        bool *option, *partner;
    } literals[] = {
        {r.fullDelayStart, &full.delayAtStart, &full.delayAtEnd}, {r.fullDelayEnd, &full.delayAtEnd, &full.delayAtStart},
        {r.fullLoop, &full.loop, &full.pong},                     {r.fullPong, &full.pong, &full.loop},
        {r.fullTalkStart, &full.talkAtStart, &full.talkAtEnd},    {r.fullTalkEnd, &full.talkAtEnd, &full.talkAtStart},
    };
    for (const auto &literal : literals)
        if (literal.present)
            choose(true, *literal.option, *literal.partner);
    if (r.fullPauseNo)
        full.pauseForTalk = false;
    if (r.fullPauseYes)
        full.pauseForTalk = true;
    if (r.fullSpeedChance) {
        full.speedChance = *r.fullSpeedChance;
        full.randomSpeed = true;
    }
    take(full.minSpeed, r.fullMinSpeed);
    take(full.maxSpeed, r.fullMaxSpeed);

    LayerPlacement &trigger = s.LayerPlacements[LayerTriggerAnim];
    const std::pair<const std::optional<QString> &, Value &> triggerBox[] = {
        {r.triggerHeight, trigger.LayerHeight}, {r.triggerWidth, trigger.LayerWidth},
        {r.triggerX, trigger.LayerX},           {r.triggerY, trigger.LayerY},
    };
    for (const auto &[value, field] : triggerBox)
        if (value)
            field = *value;
    take(d.trigger.frames, r.triggerFrames);
    take(d.trigger.speed, r.triggerSpeed);

    // A sound setting goes into the shared state and into the dialog's values.
    SceneSoundSettings &snd = s.Sounds;
    SceneSettings::Sounds &sounds = d.sounds;
    auto setting = [](const std::optional<QString> &value, Value &state, QString &box) {
        if (!value)
            return;
        state = *value;
        box = *value;
    };
    setting(r.sound1, snd.Sound1File, sounds.sound1);
    setting(r.sound1Random, snd.Sound1Random, sounds.sound1Chance);
    if (r.sound1Loop) {
        snd.Sound1Loop = toFlag(*r.sound1Loop);
        if (*r.sound1Loop)
            sounds.sound1Loop = true;
    }
    setting(r.sound1LoopDelay, snd.Sound1LoopDelay, sounds.sound1LoopDelay);
    if (!r.sound1LoopDelay)
        sounds.sound1LoopDelay = QStringLiteral("0");
    sounds.sound1PauseForTalk = r.sound1PauseForTalk;
    setting(r.sound2, snd.Sound2File, sounds.sound2);
    setting(r.sound2Random, snd.Sound2Random, sounds.sound2Chance);
    setting(r.sound3, snd.Sound3File, sounds.sound3);
    setting(r.sound3Random, snd.Sound3Random, sounds.sound3Chance);

    document.noteChanged();
}

LegacySceneInput legacySceneInput(const SceneDocument &document)
{
    const SceneState &s = document.state();
    LegacySceneInput in;
    in.twips = s.LegacyCanvasUnit == CanvasUnit::Twips;
    in.hasMainBlink = isFlagSet(s.SceneHasMainBlink);
    in.hasUser = isFlagSet(s.SceneHasUser);
    in.hasUserBlink = isFlagSet(s.SceneHasUserBlink); // on its own in this layout
    in.hasExtraAnim = isFlagSet(s.SceneHasExtraAnim);
    in.hasChildAnim = isFlagSet(s.SceneHasChildAnim);
    in.hasFullAnim = isFlagSet(s.SceneHasFullAnim);
    in.hasAltImage = isFlagSet(s.SceneHasAltImage);
    in.extraDelayAt = isFlagSet(s.ExtraDelayAtOn);

    in.backgroundName = s.BackgroundFileName;
    in.mainMouthName = s.MainMouthFileName;
    in.mainBlinkName = s.MainBlinkFileName;
    in.userMouthName = s.UserMouthFileName;
    in.userBlinkName = s.UserBlinkFileName;
    in.extraName = s.ExtraFileName;
    const auto &p = s.LayerPlacements;
    in.mainMouth = p[LayerMainMouth];
    in.mainBlink = p[LayerMainBlink];
    in.userMouth = p[LayerUserMouth];
    in.userBlink = p[LayerUserBlink];
    in.extra = p[LayerExtraAnim];

    const SceneSettings values = sceneSettings(document, QString());
    in.extraAnim = values.extraAnim;
    in.childAnim = values.childAnim;
    in.fullAnim = values.fullAnim;
    in.fullAnimFirstFrameName = s.FullAnimFirstFrameName;
    in.altImageName = s.AltImageName;
    in.sounds = s.Sounds;
    return in;
}
