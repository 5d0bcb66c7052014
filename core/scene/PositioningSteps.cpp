#include "core/scene/PositioningSteps.h"

namespace {
QString caption(const char *what)
{
    return QStringLiteral("Please position the %1 over the Background. Use these buttons for single-pixel "
                          "increments. Use Show/Hide to make sure the image is exactly on there.")
        .arg(QLatin1String(what));
}

bool sceneHasLayer(const SceneState &s, CanvasLayer layer)
{
    switch (layer) {
    case LayerMainBlink: return isFlagOn(s.SceneHasMainBlink);
    case LayerUserMouth: return isFlagOn(s.SceneHasUser);
    case LayerUserBlink: return s.userBlinkOn();
    case LayerExtraAnim: return isFlagOn(s.SceneHasExtraAnim);
    case LayerTriggerAnim: return isFlagOn(s.SceneHasTrigger);
    default: return false;
    }
}
}

QString MouthPlacementCaption() { return caption("MOUTH"); }

const std::array<PositioningStep, 5> &PositioningSteps()
{
    static const std::array<PositioningStep, 5> steps = {{
        {LayerMainBlink, &SceneState::MainBlinkPlaced,
         QStringLiteral("We will now position the Main Character Blink frames."), caption("MAIN CHARACTER BLINK")},
        {LayerUserMouth, &SceneState::UserMouthPlaced,
         QStringLiteral("We will now position the User Character Mouth frames."), caption("USER CHARACTER MOUTH")},
        {LayerUserBlink, &SceneState::UserBlinkPlaced,
         QStringLiteral("We will now position the User Character Blink frames."), caption("USER CHARACTER BLINK")},
        {LayerExtraAnim, &SceneState::ExtraPlaced, QStringLiteral("We will now position the EXTRA ANIMATION frames."),
         caption("EXTRA ANIMATION")},
        {LayerTriggerAnim, &SceneState::TriggerPlaced,
         QStringLiteral("We will now position the TRIGGER ANIMATION frames."), caption("TRIGGER ANIMATION")},
    }};
    return steps;
}

bool PositioningStepDue(const SceneState &s, const PositioningStep &step)
{
    return sceneHasLayer(s, step.layer) && !isFlagOn(s.*step.placed);
}

const PositioningStep *NextPositioningStep(const SceneState &s)
{
    const bool anyLayer = isFlagOn(s.SceneHasMainBlink) || isFlagOn(s.SceneHasUser) || isFlagOn(s.SceneHasExtraAnim) ||
                          isFlagOn(s.SceneHasTrigger) || isFlagOn(s.SceneHasAltImage) || isFlagOn(s.SceneHasFullAnim) ||
                          isFlagOn(s.SceneHasSmile);
    if (!anyLayer)
        return nullptr;
    for (const PositioningStep &step : PositioningSteps())
        if (PositioningStepDue(s, step))
            return &step;
    return nullptr;
}
