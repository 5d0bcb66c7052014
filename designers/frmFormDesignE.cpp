#include "designers/frmFormDesignE.h"

#include "app/Wizard1.h"

frmFormDesignE::frmFormDesignE()
{
    SetCaption(QStringLiteral("Extra Animation"));
}

void frmFormDesignE::Form_Unload(bool &cancel)
{
    Q_UNUSED(cancel);
    ResetSceneWizard();
}
