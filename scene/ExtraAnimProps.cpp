#include "scene/ExtraAnimProps.h"


ExtraAnimProps::ExtraAnimProps()
{
    SetCaption(QStringLiteral("Extra Anim Properties"));
}
