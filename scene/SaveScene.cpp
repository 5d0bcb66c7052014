#include "scene/SaveScene.h"

#include "app/Wizard1.h"

SaveScene::SaveScene()
{
    SetCaption(QStringLiteral("Save Scene"));
}

void SaveScene::Form_Unload(bool &cancel)
{
    Q_UNUSED(cancel);
    ResetSceneWizard();
}
