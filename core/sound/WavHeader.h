#pragma once
// A sound file's bytes checked before they are decoded. A RIFF WAVE file says
// how long it is and how long each of its chunks is; a decoder reserves what
// a chunk claims before it reads it, so a file of a hundred bytes that claims
// two gigabytes of sound would cost two gigabytes. Such a file is refused, as
// a missing sound is. Bytes of any other kind pass to the decoder as they are.

#include "core/base/Result.h"

#include <QByteArray>
#include <QString>

// Refuses a RIFF WAVE file whose RIFF length, or the length of any chunk up to
// the end of the RIFF data, reaches past the end of the bytes; the reason
// says which.
Result<> checkSoundBytes(const QByteArray &bytes);
