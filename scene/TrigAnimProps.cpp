#include "scene/TrigAnimProps.h"


TrigAnimProps::TrigAnimProps()
{
    SetCaption(QStringLiteral("Trigger Anim Properties"));
}
