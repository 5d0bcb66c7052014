#pragma once
// The older editor's scene file layout, as its "Save Scene..." writes it: its
// own key set and order, the marker lines "UserMouthOn", "UserBlinkOn" and
// "MiscOn", an "SV=3" line for a canvas that measures in twips, and the
// full-background group only inside the child group. The entries go through
// sceneText and sceneFileBytes like the set-up's file.

#include "core/scene/SceneFileText.h"
#include "core/scene/SceneState.h"

struct LegacySceneInput {
    bool twips = false; // the canvas measures in twips

    bool hasMainBlink = false, hasUser = false, hasUserBlink = false, hasExtraAnim = false;
    bool hasChildAnim = false, hasFullAnim = false, hasAltImage = false, extraDelayAt = false;

    Value backgroundName, mainMouthName, mainBlinkName, userMouthName, userBlinkName, extraName;
    LayerPlacement mainMouth, mainBlink, userMouth, userBlink, extra;

    SceneSettings::Extra extraAnim;
    SceneSettings::Child childAnim; // preloadName: the preloaded first child frame
    SceneSettings::FullAnim fullAnim;
    Value fullAnimFirstFrameName;
    Value altImageName;
    SceneSoundSettings sounds;
};

// Every entry of the older layout, in its order, each under its condition.
// Every value names its field, so that checkSceneFields checks it.
QList<SceneEntry> legacySceneEntries(const LegacySceneInput &input);
