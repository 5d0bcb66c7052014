#include "scene/DesktopProps.h"


DesktopProps::DesktopProps()
{
    SetCaption(QStringLiteral("Form3"));
}
