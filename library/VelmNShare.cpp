#include "library/VelmNShare.h"

VelmNShare::VelmNShare()
{
    SetCaption(QString());
    resize(1193, 1002);
}

void VelmNShare::Form_Load() {}
