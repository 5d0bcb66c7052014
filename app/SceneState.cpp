#include "app/SceneState.h"

static SceneState &record()
{
    static SceneState state;
    return state;
}

SceneState &scene() { return record(); }

void resetSceneState() { record() = SceneState(); }
