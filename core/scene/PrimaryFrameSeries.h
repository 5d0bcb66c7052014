#pragma once
// The naming rule of the primary frame series: <prefix>0001<ext> to
// <prefix>0007<ext> and on, the extension ".bmp" or ".jpg" in whatever letter
// case the user's files have it.

#include <QList>
#include <QString>
#include <QStringList>

enum class SeriesNameCheck {
    Ok,
    NotBmpOrJpg,   // the file is not a .bmp or .jpg
    NoFrameNumber, // "0001" does not stand directly before the extension
};

struct SeriesName {
    SeriesNameCheck check = SeriesNameCheck::NotBmpOrJpg;
    QString prefix; // the path without its last 8 characters
    QString ext;    // the last 4 characters, as written
};

// Reads the prefix and extension from the path of a series' first frame.
SeriesName ParsePrimaryFrameName(const QString &firstFramePath);

// Frame `frame` of a series: the prefix, the number in four digits and the extension.
QString PrimaryFrameName(const QString &prefix, const QString &ext, int frame);

// Frame `frame` of the series stored in the scene state, as a file to open:
// the exact name when it exists, else a file of that name in another letter case.
QString PrimaryFramePath(int frame);

// Frames 0001 to 0007 must be present.
inline constexpr int RequiredPrimaryFrames = 7;

// Frames of the series that a layer takes, first to last.
struct PrimaryFrameRange {
    int first, last;
};
// The smile animation takes frames 0008 to 0021, the brow animation frames
// 0005 to 0013, when the scene has them.
inline constexpr PrimaryFrameRange SmileFrames{8, 21};
inline constexpr PrimaryFrameRange BrowFrames{5, 13};

// The series loader's texts.
inline const QString NotBmpOrJpgText = QStringLiteral("Error! Image must be a BMP or JPG Image.");
inline const QString NamingMessage =
    QStringLiteral("Naming convention failure! Image must have a '0001.bmp' or '0001.jpg' suffix.");
inline const QString NamingStatus = QStringLiteral("Error! Naming convention failure!");
inline QString MissingFrameMessage(const QString &path) { return "File " + path + " does not exist!"; }
inline QString MissingFrameStatus(const QString &path) { return "Can't Find: " + path; }

// The frames after 0007 that the smile and brow animations take, when the
// scene has them, in order and each once.
QList<int> LayerPrimaryFrames(bool smile, bool brow);
// The loader's message for the frames of `missing` (paths, in order) that the
// smile or brow animation takes and that are not there.
QString MissingLayerFramesMessage(bool smile, bool brow, const QStringList &missing);
