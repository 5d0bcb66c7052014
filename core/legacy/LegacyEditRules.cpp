#include "core/legacy/LegacyEditRules.h"

#include "core/base/Files.h"

bool MoveLegacyLayer(SceneState &s, std::optional<CanvasLayer> current, const LegacyMove &move)
{
    if (!current || *current > move.lastLayer)
        return false;
    MoveLayerByArrow(s.LayerPlacements[*current], move.arrow, move.step);
    return true;
}

const std::array<LegacyTemplate, 7> LegacyTemplates = {{
    {"bg.jpg", std::nullopt, &SceneState::BackgroundFileName},
    {"velmmouth.jpg", LayerMainMouth, &SceneState::MainMouthFileName},
    {"velmblink.jpg", LayerMainBlink, &SceneState::MainBlinkFileName},
    {"usermouth.jpg", LayerUserMouth, &SceneState::UserMouthFileName},
    {"userblink.jpg", LayerUserBlink, &SceneState::UserBlinkFileName},
    {"miscpart.jpg", LayerExtraAnim, &SceneState::ExtraFileName},
    {"trigger.jpg", LayerTriggerAnim, nullptr},
}};

QString LegacyHelpPath(const QString &workFolder)
{
    return joinPath(workFolder, QStringLiteral("Docs/Scenara.htm"));
}
