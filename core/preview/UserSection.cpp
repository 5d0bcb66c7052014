#include "core/preview/UserSection.h"

#include "core/scene/SceneDocument.h"
#include "core/preview/PreviewPlayer.h"

MouthLayer userMouthLayer(PreviewPlayer &player)
{
    return MouthLayer{QStringLiteral("UM"),  player.UserMouth,     &player.ImageList2,
                      &player.ImageList9,    QStringLiteral("UMT"), &sceneDocument().state().Files.UserMouthFrameFiles};
}

BlinkLayer userBlinkLayer(PreviewPlayer &player)
{
    return BlinkLayer{QStringLiteral("UB"),  player.UserBlink,     &player.ImageList4,
                      &player.ImageList11,   QStringLiteral("UBL"), &sceneDocument().state().Files.UserBlinkFrameFiles};
}

void LoadUserMouthLayer(PreviewLoad &load)
{
    load.player.HasUser = load.text.contains(QStringLiteral("UM="));
    loadMouthLayer(load, userMouthLayer(load.player));
}

void LoadUserBlinkLayer(PreviewLoad &load)
{
    loadBlinkLayer(load, userBlinkLayer(load.player));
}
