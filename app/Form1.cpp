#include "app/Form1.h"


Form1::Form1()
{
    SetCaption(QStringLiteral("Form1"));
}
