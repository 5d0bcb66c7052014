#include "designers/frmFormDesignC.h"

#include "app/Wizard1.h"

frmFormDesignC::frmFormDesignC()
{
    SetCaption(QStringLiteral("User Mouth"));
}

void frmFormDesignC::Form_Unload(bool &cancel)
{
    Q_UNUSED(cancel);
    ResetSceneWizard();
}
