#include "app/ProgramAdapters.h"

#include "adapters/jpeg/JpegEncoder.h"
#include "adapters/jpeg/PictureCut.h"
#include "adapters/sound/MixerSoundBackend.h"
#include "platform/WindowServices.h"

void useProgramAdapters()
{
    useWindowServices();
    useLibJpegEncoder();
    useLibJpegPictureCutter();
    useMixerSound();
}
