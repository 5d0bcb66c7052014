#include "scene/FullAnimProps.h"


FullAnimProps::FullAnimProps()
{
    SetCaption(QStringLiteral("Full BG Anim Properties"));
}
