#include "legacy/LegacySceneCommands.h"

#include "app/Form2.h"
#include "core/pictures/ImageWorkspace.h"
#include "core/scene/SceneDocument.h"
#include "platform/PictureBox.h"

FileResult LoadLegacyPicture(PictureBox &store, const QString &folder, const QString &name)
{
    const Result<QImage> picture = LoadPicture(findFileIgnoringCase(folder, name));
    if (!picture)
        return FileResult::failure(picture.error);
    store.SetPicture(picture.value);
    return FileResult::success();
}

void ShowCanvasUnit(Form2 &canvas)
{
    const int mode = sceneDocument().state().LegacyCanvasUnit == CanvasUnit::Twips ? 1 : 3;
    for (PictureBox *box : {canvas.PicBox, canvas.picBackground, canvas.picImage, canvas.picImage2, canvas.picImage3,
                            canvas.picImage4, canvas.picImage5})
        box->SetScaleMode(mode);
}
