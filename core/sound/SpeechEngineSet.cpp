#include "core/sound/SpeechEngineSet.h"

namespace {
std::function<SpeechEngineSet *(QObject *)> engineSetMaker;
} // namespace

SpeechEngineSet *createSpeechEngineSet(QObject *parent)
{
    if (engineSetMaker)
        return engineSetMaker(parent);
    return new NoSpeechEngines(parent);
}

void setSpeechEngineSetMaker(std::function<SpeechEngineSet *(QObject *parent)> maker)
{
    engineSetMaker = std::move(maker);
}
