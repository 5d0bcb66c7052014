#include "designers/frmFormDesignB.h"

#include "app/Wizard1.h"

frmFormDesignB::frmFormDesignB()
{
    SetCaption(QStringLiteral("Velm Blink"));
}

void frmFormDesignB::Form_Unload(bool &cancel)
{
    Q_UNUSED(cancel);
    ResetSceneWizard();
}
