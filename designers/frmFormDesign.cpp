#include "designers/frmFormDesign.h"

#include "app/Wizard1.h"

frmFormDesign::frmFormDesign()
{
    SetCaption(QStringLiteral("Velm Mouth"));
}

void frmFormDesign::Form_Unload(bool &cancel)
{
    Q_UNUSED(cancel);
    ResetSceneWizard();
}
