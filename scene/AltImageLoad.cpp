#include "scene/AltImageLoad.h"


AltImageLoad::AltImageLoad()
{
    SetCaption(QStringLiteral("Alternate Image Load"));
}
