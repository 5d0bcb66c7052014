#include "app/Form2.h"

#include "app/Wizard1.h"

Form2::Form2()
{
    SetCaption(QStringLiteral("Canvas"));
}

void Form2::Form_Unload(bool &cancel)
{
    Q_UNUSED(cancel);
    ResetSceneWizard();
}
