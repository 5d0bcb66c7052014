#pragma once
// Numbered frame series that the user picks in a layer dialog: a frame file is
// base, a frame number, ext, and all frames of a series lie in one folder. The
// picked file is the first frame; its number is the two digits just before
// its extension, so "Walk01.bmp" (base "Walk") and "Walk-0001.bmp" (base
// "Walk-00") both start at 1, and "Walk-0016.bmp" at 16.

#include "core/base/Result.h"
#include "core/scene/PickedFile.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

struct AnimFrameSet;

// The frame number in a file name: "0" and the digit up to 9, the plain number from 10 on.
QString frameNumberText(int n);
QString frameFileName(const QString &base, int n, const QString &ext);

struct FrameSeriesName {
    QString digits; // the two digits as they stand in the name
    int16_t first = 0;
    QString base;
    QString ext; // with its dot
};

// Splits a picked file name by the numbering convention; nothing when the two
// characters before its extension are not two digits.
std::optional<FrameSeriesName> parseFrameSeriesName(const QString &name);

// first + count - 1, when it fits in 16 bits.
std::optional<int16_t> lastFrameOf(int first, int count);

// The number label beside a Frames box after its count changed: count + first
// - 1, or nothing when either text is not a 16-bit number or the sum does not fit.
std::optional<QString> lastFrameLabel(const QString &countText, const QString &firstText);

// True when the path names an existing file that is not a folder. A name that
// differs only in letter case counts, as Windows file names ignore case.
bool frameFileExists(const QString &path);

// The frames first to last of the series that the folder lacks, in order.
QStringList missingFrames(const QString &folder, const QString &base, const QString &ext, int first, int last);

// The messages that report missing frames: one per frame for the first few;
// the rest in one that says how many more are missing.
QStringList missingFramesMessages(const QStringList &missing);
// The report box's text for a missing frame.
QString cantFindText(const QString &name);

QString numberingMessage();
QString frameCountMessage();
// The filter of the picture choosers.
QString imageFilter();

// A frame series the user picked, checked and ready to record.
struct FrameSetPick {
    PickedFile file;
    FrameSeriesName series;
    int16_t last = 0;
    QStringList missing;
};

// The Frames box's text as a 16-bit count, refused below `minimumCount`
// (the reason is frameCountMessage()).
Result<int16_t> frameSetCount(const QString &countText, std::optional<int> minimumCount);
// `file` as the first of `count` frames: its numbering, its last frame and the
// frames its folder lacks. Refused when its name is not numbered or the last
// frame does not fit (the reason is numberingMessage()).
Result<FrameSetPick> frameSetPickOf(const PickedFile &file, int16_t count);

// Stores the whole pick: first frame's path, folder, base, extension, numbers.
void recordFrameSet(AnimFrameSet &set, const FrameSetPick &pick);
// Stores a pick's folder, base and extension, and its numbers.
void recordFrameNames(AnimFrameSet &set, const FrameSetPick &pick);
void recordFrameNumbers(AnimFrameSet &set, const FrameSetPick &pick, bool withCurrentFrame);

// The first picture of a full-background series: base is the name less its
// two digits and its extension; the extension, without its dot, is "bmp" or
// "jpg" in either letter case, kept as written. Nothing for a name without the
// two digits before its extension, or with another extension.
struct WholeFrameName {
    QString base;
    QString ext;
};
std::optional<WholeFrameName> parseWholeFrameName(const QString &name);
