#include "app/ProgramAdapters.h"

#include "adapters/jpeg/JpegEncoder.h"
#include "adapters/jpeg/PictureCut.h"
#include "adapters/sound/MixerSoundBackend.h"

void useProgramAdapters()
{
    useLibJpegEncoder();
    useLibJpegPictureCutter();
    useMixerSound();
}
