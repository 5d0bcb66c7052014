#include "designers/frmFormDesignF.h"

#include "app/Wizard1.h"

frmFormDesignF::frmFormDesignF()
{
    SetCaption(QStringLiteral("Trigger Animation"));
}

void frmFormDesignF::Form_Unload(bool &cancel)
{
    Q_UNUSED(cancel);
    ResetSceneWizard();
}
