#pragma once
// Which mouth a speech event moves and which talk mouth it shows. Both
// characters' display lists hold the 22 talk mouths in the same order: entry
// e is shown for viseme e - 1, entry 1 keyed "KMT" in the main character's
// list (ImageList8, shown in VelmMouth) and "UMT" in the user character's
// (ImageList9, shown in UserMouth). Entries 23..44 of the main list are the
// same mouths while smiling.
//
// The library window's two lip-sync handlers call these with the speaker the
// utterance carries (the WhoVoice it was spoken for, "Velm" or "User") and
// hand the pick to the player (core/preview/PreviewPlayer.h):
//
//   void VelmNShare::Voice_Viseme(const QString &speaker, int CurrentVisemeId)
//   { Player->showMouth(visemeMouth(speaker, CurrentVisemeId, Player->Smile.VelmSmileOn)); }
//   void VelmNShare::DirectSS1_Mouth(const QString &speaker, qint16 jaw, qint16 lipTension)
//   { Player->showMouth(mouthShapeMouth(speaker, jaw, lipTension)); }
//
// where showMouth sets the box's picture to list.Overlay(pick.key, pick.entry)
// when that entry exists, and leaves the box alone otherwise (a pick with no
// box, or speech before any scene was loaded).

#include <QString>

#include <cstdint>
#include <optional>

enum class MouthBox { None, VelmMouth, UserMouth };

struct MouthPick {
    MouthBox box = MouthBox::None;
    QString key;   // the display list's key: "KMT" or "UMT"
    int entry = 0; // 1-based entry of the display list
    bool operator==(const MouthPick &) const = default;
};

// The talk mouth of a viseme (0..21): entry id + 1, or id + 23 for the main
// character while a smile shows. A speaker other than "Velm" or "User"
// (case-sensitive) moves nothing.
MouthPick visemeMouth(const QString &speaker, int visemeId, bool velmSmileOn);

// The entry a mouth shape of the engine-set interface shows (jaw opening and
// lip tension 0..255), by the first matching rule: lip tension > 100 shows 15,
// jaw > 229 10, jaw > 175 12, jaw > 117 6, jaw > 58 20, jaw 0..58 22; a
// negative jaw shows nothing new.
std::optional<int> mouthShapeEntry(int16_t jaw, int16_t lipTension);

// The same shape for a speaker. The smile's talk mouths are never used here.
MouthPick mouthShapeMouth(const QString &speaker, int16_t jaw, int16_t lipTension);
