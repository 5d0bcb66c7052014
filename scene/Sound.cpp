#include "scene/Sound.h"


Sound::Sound()
{
    SetCaption(QStringLiteral("Sound FX"));
}
