#include "designers/frmFormDesignD.h"

#include "app/Wizard1.h"

frmFormDesignD::frmFormDesignD()
{
    SetCaption(QStringLiteral("User Blink"));
}

void frmFormDesignD::Form_Unload(bool &cancel)
{
    Q_UNUSED(cancel);
    ResetSceneWizard();
}
