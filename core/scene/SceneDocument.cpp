#include "core/scene/SceneDocument.h"

#include "core/base/Numbers.h"

SceneSettings::Trigger startingTriggerValues()
{
    SceneSettings::Trigger t;
    t.frames = QStringLiteral("1");
    t.speed = QStringLiteral("100");
    return t;
}

SceneSettings::Extra startingExtraValues()
{
    SceneSettings::Extra e;
    e.random = QStringLiteral("100");
    e.frames = QStringLiteral("1");
    e.delayFrame = QStringLiteral("1");
    e.delay = QStringLiteral("3");
    e.speed = QStringLiteral("100");
    e.loop = true;
    e.delayAtEnd = true;
    return e;
}

SceneSettings::Child startingChildValues()
{
    SceneSettings::Child c;
    c.frames = QStringLiteral("7");
    c.random = QStringLiteral("100");
    c.atStart = true;
    return c;
}

SceneSettings::FullAnim startingFullAnimValues()
{
    SceneSettings::FullAnim a;
    a.frames = QStringLiteral("7");
    a.speed = QStringLiteral("70");
    a.delay = QStringLiteral("3");
    a.random = QStringLiteral("0");
    a.delayAtEnd = true;
    a.loop = true;
    a.talkAtEnd = true;
    a.speedChance = QStringLiteral("50");
    a.minSpeed = QStringLiteral("1");
    a.maxSpeed = QStringLiteral("100");
    return a;
}

SceneSettings::Sounds startingSoundValues()
{
    SceneSettings::Sounds s;
    s.sound1Chance = QStringLiteral("0");
    s.sound1LoopDelay = QStringLiteral("1");
    s.sound2Chance = QStringLiteral("30");
    s.sound3Chance = QStringLiteral("30");
    return s;
}

QRectF startingCropTwips(CanvasLayer layer)
{
    switch (layer) {
    case LayerMainMouth: return {5130, 6690, 855, 615};
    case LayerMainBlink: return {4995, 6735, 855, 615};
    case LayerUserMouth: return {5115, 6795, 855, 615};
    case LayerUserBlink: return {4950, 6750, 855, 615};
    case LayerExtraAnim: return {3720, 3165, 1035, 705};
    case LayerTriggerAnim: return {3900, 3255, 855, 615};
    case LayerBrowAnim: return {0, 3135, 855, 615};
    }
    return {};
}

namespace {

SceneDialogValues startingDialogs()
{
    SceneDialogValues d;
    d.trigger = startingTriggerValues();
    d.extra = startingExtraValues();
    d.child = startingChildValues();
    d.fullAnim = startingFullAnimValues();
    d.sounds = startingSoundValues();
    return d;
}

} // namespace

void applyChildFrameSource(SceneState &state, SceneDialogValues &dialogs, ChildFrameSource source)
{
    dialogs.childBoxes.source = source;
    if (source == ChildFrameSource::Unchosen)
        return;
    state.ChildAutoCropOn = toFlag(source == ChildFrameSource::AutoCrop);
    if (source == ChildFrameSource::AutoCrop)
        state.ChildPreloadName = QString();
}

SceneDocument::SceneDocument() : m_dialogs(startingDialogs())
{
    for (int layer = 0; layer < CanvasLayerCount; ++layer)
        m_crops[layer] = startingCropTwips(CanvasLayer(layer));
    markFramesCounted();
}

void SceneDocument::setCropTwips(CanvasLayer layer, const QRectF &twips)
{
    if (m_crops[layer] == twips)
        return;
    m_crops[layer] = twips;
    noteChanged();
}

void SceneDocument::setCutFrames(CanvasLayer layer, const QList<QImage> &frames)
{
    m_cutFrames[layer] = frames;
    noteChanged();
}

void SceneDocument::forgetDesigner(CanvasLayer layer)
{
    m_crops[layer] = startingCropTwips(layer);
    m_cutFrames[layer].clear();
    noteChanged();
}

void SceneDocument::restartTriggerValues()
{
    m_dialogs.trigger = startingTriggerValues();
    markFramesCounted();
}

void SceneDocument::restartExtraValues()
{
    m_dialogs.extra = startingExtraValues();
    markFramesCounted();
}

void SceneDocument::restartChildValues()
{
    m_dialogs.child = startingChildValues();
    m_dialogs.childBoxes = ChildDialogBoxes();
    noteChanged();
}

void SceneDocument::restartFullAnimValues()
{
    m_dialogs.fullAnim = startingFullAnimValues();
    m_dialogs.fullAnimNameBox.clear();
}

void SceneDocument::chooseChildFrames(ChildFrameSource source)
{
    if (m_dialogs.childBoxes.source == source)
        return;
    applyChildFrameSource(m_state, m_dialogs, source);
    noteChanged();
}

void SceneDocument::offerChildAutoCrop()
{
    if (m_dialogs.childBoxes.autoCropOffered)
        return;
    m_dialogs.childBoxes.autoCropOffered = true;
    noteChanged();
}

void SceneDocument::resetWizard()
{
    SceneState &s = m_state;
    s.SceneHasMainBlink = s.SceneHasUser = s.SceneHasExtraAnim = s.SceneHasAltImage = s.SceneHasFullAnim = FlagOff;
    s.clearPlacedFlags();
    noteChanged();
}

void SceneDocument::reset()
{
    m_state = SceneState();
    m_dialogs = startingDialogs();
    for (int layer = 0; layer < CanvasLayerCount; ++layer) {
        m_crops[layer] = startingCropTwips(CanvasLayer(layer));
        m_cutFrames[layer].clear();
    }
    markFramesCounted();
    noteChanged();
}

void SceneDocument::noteChanged()
{
    countFrames();
    emit changed();
}

void SceneDocument::countFrames()
{
    // A box emptied or holding no count leaves the count as it was.
    if (m_dialogs.extra.frames != m_countedExtraFrames) {
        m_countedExtraFrames = m_dialogs.extra.frames;
        if (const auto count = toInt16(m_countedExtraFrames))
            m_state.ExtraFrameSet.FrameCount = Value::integer(*count);
    }
    if (m_dialogs.trigger.frames != m_countedTriggerFrames) {
        m_countedTriggerFrames = m_dialogs.trigger.frames;
        if (toInt16(m_countedTriggerFrames))
            m_state.TriggerFrameSet.FrameCount = m_countedTriggerFrames;
    }
}

void SceneDocument::markFramesCounted()
{
    m_countedExtraFrames = m_dialogs.extra.frames;
    m_countedTriggerFrames = m_dialogs.trigger.frames;
}

SceneDocument &sceneDocument()
{
    static SceneDocument document;
    return document;
}

SceneState &scene() { return sceneDocument().state(); }

void resetSceneState() { sceneDocument().reset(); }

SceneSettings sceneSettings(const SceneDocument &document, const QString &name)
{
    const SceneState &s = document.state();
    const SceneDialogValues &d = document.dialogs();
    SceneSettings out;
    out.name = name;
    out.isDesktop = isFlagOn(s.SceneIsDesktop);
    out.hasSmile = isFlagOn(s.SceneHasSmile);
    out.hasMainBlink = isFlagOn(s.SceneHasMainBlink);
    out.hasBrow = isFlagOn(s.SceneHasBrow);
    out.hasUser = isFlagOn(s.SceneHasUser);
    out.hasUserBlink = s.userBlinkOn();
    out.hasTrigger = isFlagOn(s.SceneHasTrigger);
    out.hasExtraAnim = isFlagOn(s.SceneHasExtraAnim);
    out.extraHasAlpha = isFlagOn(s.ExtraHasAlpha);
    out.hasChildAnim = isFlagOn(s.SceneHasChildAnim);
    out.childAutoCrop = isFlagOn(s.ChildAutoCropOn);
    out.hasFullAnim = isFlagOn(s.SceneHasFullAnim);
    out.hasAltImage = isFlagOn(s.SceneHasAltImage);
    out.extraDelayAt = isFlagOn(s.ExtraDelayAtOn);

    const auto &p = s.LayerPlacements;
    out.mainMouth = p[LayerMainMouth];
    out.mainBlink = p[LayerMainBlink];
    out.brow = p[LayerBrowAnim];
    out.userMouth = p[LayerUserMouth];
    out.userBlink = p[LayerUserBlink];
    out.trigger = p[LayerTriggerAnim];
    out.extra = p[LayerExtraAnim];

    // A group's values are given only when the group is written.
    if (out.hasTrigger)
        out.triggerAnim = d.trigger;
    if (out.hasExtraAnim)
        out.extraAnim = d.extra;
    if (out.hasChildAnim) {
        out.childAnim = d.child;
        out.childAnim.preloadName = s.ChildPreloadName.toText();
    }
    if (out.hasFullAnim)
        out.fullAnim = d.fullAnim;
    out.sounds = d.sounds;
    return out;
}
