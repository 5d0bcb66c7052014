#include "core/scene/SceneState.h"

static SceneState &record()
{
    static SceneState state;
    return state;
}

SceneState &scene() { return record(); }

void resetSceneState() { record() = SceneState(); }

void setWorkFolderToBase(SceneState &s)
{
    QString work = s.BaseFolder;
    if (!work.endsWith(u'/'))
        work += u'/';
    s.WorkFolder = work;
}
