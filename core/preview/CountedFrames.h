#pragma once
// The counted frame sets of the preview (extra, child, full background,
// trigger): their numbers as the loader reads them once, their frame names
// and their picture lists. A list holds frame 01 as entry 1 under the list's
// key and frame n as entry n + 1, so entries 1 and 2 share one picture, and a
// frame that cannot be loaded shares the picture of the frame before it. The
// frames after 01 are held as their files' bytes and decoded when shown
// (core/preview/CountedList.h loads them).

#include "core/preview/PreviewFrames.h"
#include "core/preview/PreviewScene.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

class Timer;

// A frame count: a whole number, halves to even; a text that is no number and
// a negative count give 0, and a count above MaxCountedFrames gives that.
int frameCountOf(const QString &text);
// A pause length in seconds: as a frame count, but up to 32767.
int pauseLengthOf(const QString &text);
// A pause length in seconds as the scene gives it, fractions kept: a real
// number up to 32767; a text that is no number and a negative length give 0.
double pauseDelayOf(const QString &text);
// The length of a counted set as its frames are saved: as a frame count, but
// up to 32767; the preview shows the first MaxCountedFrames of them.
int savedFrameCountOf(const QString &text);
// A frame number that may be negative: a whole number of 16 bits (a value
// beyond is clamped), 0 for a text that is no number.
int frameNumberOf(const QString &text);
// A random factor: a real number, 0 for a text that is no number.
double factorOf(const QString &text);
// Sets a timer's interval from a scene text of milliseconds taken as a 16-bit
// whole number; a text that does not convert, or a negative one, keeps the
// old interval.
void setSceneInterval(Timer &timer, const QString &text);

// The bare names of frames 01..count (at least frame 01) of a counted set
// whose key value is `value`.
QStringList countedFrameNames(PreviewLocals &locals, const QString &value, int count);
// Writes names 1..count of a frame file list (entries up to MaxCountedFrames).
void recordFrameNames(QStringList &files, const QStringList &names);
