#include "core/scene/SceneState.h"

void setWorkFolderToBase(SceneState &s)
{
    QString work = s.BaseFolder;
    if (!work.endsWith(u'/'))
        work += u'/';
    s.WorkFolder = work;
}
