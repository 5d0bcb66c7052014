#include "library/UserSection.h"

#include "core/scene/SceneState.h"
#include "library/VelmNShare.h"

MouthLayer userMouthLayer(VelmNShare &window)
{
    return MouthLayer{QStringLiteral("UM"),  window.UserMouth,     &window.ImageList2,
                      &window.ImageList9,    QStringLiteral("UMT"), &scene().Files.UserMouthFrameFiles};
}

BlinkLayer userBlinkLayer(VelmNShare &window)
{
    return BlinkLayer{QStringLiteral("UB"),  window.UserBlink,     &window.ImageList4,
                      &window.ImageList11,   QStringLiteral("UBL"), &scene().Files.UserBlinkFrameFiles};
}

void LoadUserMouthLayer(PreviewLoad &load)
{
    load.window.HasUser = load.text.contains(QStringLiteral("UM="));
    loadMouthLayer(load, userMouthLayer(load.window));
}

void LoadUserBlinkLayer(PreviewLoad &load)
{
    loadBlinkLayer(load, userBlinkLayer(load.window));
}
