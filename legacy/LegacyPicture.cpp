#include "legacy/LegacySceneCommands.h"

#include "core/pictures/ImageWorkspace.h"
#include "platform/PictureBox.h"

FileResult LoadLegacyPicture(PictureBox &store, const QString &folder, const QString &name)
{
    const Result<QImage> picture = LoadPicture(findFileIgnoringCase(folder, name));
    if (!picture)
        return FileResult::failure(picture.error);
    store.SetPicture(picture.value);
    return FileResult::success();
}
