#pragma once
// The rules the preview loader reads a scene file by, shared by every layer
// section: finding a key's value, naming a layer's frame files, the preview's
// scale and a layer box's place. No widget here; the loader (LoadScenePreview)
// and the sections apply what these give.
//
// A layer section reads its keys once, in its own order, into a record
// (LayerKeys for the layers with a box of their own) and converts each number
// once with core/base/Numbers.h.

#include "core/scene/FrameSetFiles.h" // frameNumberText: "01".."09", then "10", "11", ...

#include <QPointF>
#include <QSize>
#include <QString>

#include <optional>

// The counted frame sets (extra, child, full background, trigger) stop here,
// the last entry of their file lists.
inline constexpr int MaxCountedFrames = 1000;

// A key's value in the scene text.
struct KeyValue {
    bool present = false; // the key occurs and a ";" ends its value
    QString value;
};

// The value of key K (ending in "=", case-sensitive): the text after K's first
// occurrence up to the next ";". K is also found inside a longer key that ends
// in it ("BG=" in "MPABG="); the writer puts the short key first. A key with no
// ";" after it has no value and counts as absent: the local it would set keeps
// what it held.
KeyValue SceneKeyValue(const QString &sceneText, const QString &key);
// The same for a key whose value names a file: a value that is no bare name
// ("../x01.jpg", "/etc/passwd") counts as absent.
KeyValue SceneNameValue(const QString &sceneText, const QString &key);

// The loader's locals, shared by the sections during one load; all empty at
// its start.
struct PreviewLocals {
    QString baseName;          // frame base name of the last layer key read
    QString extension;         // ".jpg" or ".bmp", of the last layer key that had one
    QString xText, yText;      // values of the last x and y keys read
    int backgroundWidth = 0;   // the background's own pixel width; 0 without one
    QSize firstFrame;          // W1 x H1: own size of the last layer's frame 01
    // What turns a frame's HIMETRIC size into the screen's pixels, over 26.4444.
    double xFactor = 1, yFactor = 1;
};

// The keys of a layer with a box of its own: the frame 01 name key and the
// place keys, for prefix "KM": "KM=", "KMx=", "KMy=".
struct LayerKeys {
    KeyValue name, x, y;
};
LayerKeys readLayerKeys(const QString &sceneText, const QString &prefix);
// A layer's place keys that are present become the x and y texts.
void takeLayerPlace(PreviewLocals &locals, const LayerKeys &keys);

// The scene's background (BG) and alternate image (NI).
struct BackgroundKeys {
    KeyValue background, alternate;
};
BackgroundKeys readBackgroundKeys(const QString &sceneText);
// The background's name without its extension: the value with every ".jpg" removed.
QString backgroundPictureName(const QString &value);

// The file name of frame k of a layer whose key value is `value`: the base
// name before the last "01" and the extension ".jpg" or ".bmp", each kept from
// the last layer key that had one when this value has none. When the text
// after the last "01" is exactly ".jpg" or ".bmp" that is the extension;
// otherwise ".bmp" wins over ".jpg" anywhere in the value.
QString PreviewFrameName(PreviewLocals &locals, const QString &value, const QString &k);

// Display pixels per pixel of the scene's own background; nothing without a
// background, and then every statement that needs it is skipped.
std::optional<double> PreviewRatio(double mainPicWidth, int backgroundWidth);

// A layer box's place and size in window pixels; each part is missing when its
// statement fails (no ratio, a place text that is not a number, a result that
// does not fit a single-precision number or a negative size) and then the box
// keeps its own.
struct BoxPlace {
    std::optional<float> left, top, width, height;
};
// From frame 01's size in HIMETRIC units as loaded, the x and y texts and
// MainPic's corner: size = HIMETRIC / 26.4444 / factor * ratio - 1, place =
// text * ratio + corner.
BoxPlace PlacePreviewLayer(QSize firstHimetric, const PreviewLocals &locals, std::optional<double> ratio,
                           QPointF mainPicCorner);

// The size every frame of a layer is resized to: W1 x H1 times the ratio,
// halves to even. Nothing (the frames keep their own size) without a ratio or
// when a side comes to less than one pixel; a size too large to hold is given
// as it is, for the resize to refuse.
std::optional<QSize> previewFrameSize(QSize first, std::optional<double> ratio);
