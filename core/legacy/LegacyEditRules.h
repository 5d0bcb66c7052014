#pragma once
// The older editor's rules that need no window: its move steps, its template
// pictures and where its help page lies.

#include "core/scene/CanvasRules.h"

#include <array>
#include <optional>

// A move step: which way, how far in canvas units, and the last layer (in
// CanvasLayer order) that it moves.
struct LegacyMove {
    CanvasArrow arrow;
    double step;
    CanvasLayer lastLayer;
};

// The arrow pad moves the layers up to the trigger layer by one unit.
inline constexpr LegacyMove LegacyPadRight{CanvasArrow::Right, 1, LayerTriggerAnim};
inline constexpr LegacyMove LegacyPadLeft{CanvasArrow::Left, 1, LayerTriggerAnim};
inline constexpr LegacyMove LegacyPadUp{CanvasArrow::Up, 1, LayerTriggerAnim};
inline constexpr LegacyMove LegacyPadDown{CanvasArrow::Down, 1, LayerTriggerAnim};
// The coarse steps move the layers up to the extra animation; left and right
// are uneven.
inline constexpr LegacyMove LegacyCoarseUp{CanvasArrow::Up, 1, LayerExtraAnim};
inline constexpr LegacyMove LegacyCoarseDown{CanvasArrow::Down, 1, LayerExtraAnim};
inline constexpr LegacyMove LegacyCoarseLeft{CanvasArrow::Left, 20, LayerExtraAnim};
inline constexpr LegacyMove LegacyCoarseRight{CanvasArrow::Right, 10, LayerExtraAnim};

// Moves the current layer when the step moves it; left and up stop at 0.
// Returns whether a layer moved.
bool MoveLegacyLayer(SceneState &s, std::optional<CanvasLayer> current, const LegacyMove &move);

// The layers a drag of the older editor moves: the mouth to the trigger
// layer, bounded only by 0.
inline constexpr CanvasLayer LegacyLastDragLayer = LayerTriggerAnim;

// A template picture of New Scene, in the program's Images folder: the store
// it goes into (none: the background store) and the name it is recorded under
// (none for the trigger template).
struct LegacyTemplate {
    const char *file;
    std::optional<CanvasLayer> layer;
    Value SceneState::*fileName;
};
extern const std::array<LegacyTemplate, 7> LegacyTemplates;

// The editor's help page under a folder ending in a separator.
QString LegacyHelpPath(const QString &workFolder);
