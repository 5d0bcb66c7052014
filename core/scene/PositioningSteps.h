#pragma once
// The positioning steps behind the canvas's NEXT: after the main mouth, each
// layer that the scene has and that is not placed yet is placed in turn.

#include "core/scene/SceneState.h"

#include <QString>

#include <array>

struct PositioningStep {
    CanvasLayer layer;
    Flag SceneState::*placed;
    QString message; // shown before the layer appears
    QString caption; // the canvas's instruction while it is placed
};

// The canvas's instruction while the main mouth is placed.
QString MouthPlacementCaption();

// The five steps in their fixed order: main blink, user mouth, user blink,
// extra animation, trigger animation.
const std::array<PositioningStep, 5> &PositioningSteps();

// True when the scene has the step's layer and it is not placed yet. The user
// blink counts only with the user character.
bool PositioningStepDue(const SceneState &s, const PositioningStep &step);

// The first step due, or nullptr when the positioning ends. It ends at once
// when the scene has none of main blink, user character, extra, trigger,
// alternate image, full-background animation and smile.
const PositioningStep *NextPositioningStep(const SceneState &s);

// Where every layer starts on the canvas, in canvas pixels.
inline constexpr double LayerStartX = 350, LayerStartY = 250;
