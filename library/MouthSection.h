#pragma once
// The mouth layers of the preview: a character's seven mouth frames into the
// loader's scratch list, and its 22 talk mouths (library/TalkTable.h) into the
// display list the lip sync shows. The main character's mouth is the second
// section of the loader; the user character's mouth loads the same way with
// its own keys, box and lists.

#include "library/PreviewSection.h"

#include <QString>
#include <QStringList>

class ImageList;
class PictureBox;

struct MouthLayer {
    QString keyPrefix;   // "KM": keys "KM=", "KMx=", "KMy="
    PictureBox *box;     // shows the mouth over MainPic
    ImageList *frames;   // the seven frames, entry 1 under listKey
    ImageList *talk;     // the talk mouths, entry 1 under listKey
    QString listKey;     // "KMT"
    QStringList *files;  // the frame file names, entries 1..7
};

inline constexpr int MouthFrameCount = 7;

// The main character's mouth: "KM", VelmMouth, ImageList2, ImageList8, "KMT",
// MainMouthFrameFiles.
MouthLayer mainMouthLayer(VelmNShare &window);

// Loads a mouth layer. Without its name key nothing changes: the box stays
// hidden and the lists keep what they held. With it, both lists are emptied
// and the frame names recorded; when frame 01 loads the lists are filled and
// the box placed and shown, else the layer stays hidden with empty lists.
void loadMouthLayer(PreviewLoad &load, const MouthLayer &layer);

class MainMouthSection : public PreviewSection {
public:
    int order() const override { return 2; }
    void load(PreviewLoad &load) override;
};
