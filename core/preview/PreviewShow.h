#pragma once
// The one way a preview step shows a picture: entry `entry` of a picture list,
// composed over the list's keyed entry (ImageList::Overlay), in a preview box.
// Every timer step, the lip sync and the frame stepper draw through it, so a
// test that installs a recorder sees every picture the preview shows, in order.

#include <QString>

#include <functional>

class ImageList;
class PreviewBox;

struct ShownEntry {
    QString box;   // the box's objectName ("VelmMouth", "MainPic", ...)
    QString key;   // the keyed entry the picture was composed over
    int entry = 0; // 1-based entry of the list
    bool shown = false; // false: the list lacked the key or the entry, the box was left alone
    bool operator==(const ShownEntry &) const = default;
};

// Shows list.Overlay(key, entry) in `box`. When the list lacks the key or the
// entry (a scene without that layer, a step running on over a list the next
// scene emptied) the box keeps its picture and false comes back.
bool ShowListEntry(PreviewBox *box, const ImageList &list, const QString &key, int entry);

// Tests: every call of ShowListEntry is handed to the recorder, shown or not.
// An empty function removes it.
void setShowRecorder(std::function<void(const ShownEntry &)> recorder);
