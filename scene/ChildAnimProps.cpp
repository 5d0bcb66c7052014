#include "scene/ChildAnimProps.h"

#include <QCheckBox>

ChildAnimProps::ChildAnimProps()
{
    SetCaption(QStringLiteral("Child Animation Properties"));
    Check2 = new QCheckBox(QStringLiteral("AUTOMATICALLY CROP "), this);
    nameControl(Check2, QStringLiteral("Check2"), QStringLiteral("Automatically Crop along with Extra Anim?"));
}
