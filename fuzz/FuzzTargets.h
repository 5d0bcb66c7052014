#pragma once
// One fuzz target for every reader of input that comes from outside the
// program. Each takes any bytes, runs the real code on them and demands what
// must hold for every input (FUZZ_CHECK); the sanitizers add that nothing
// overflows, leaks or reads out of bounds. `make fuzz` runs them under
// libFuzzer; the corpus replay test runs every file of fuzz/corpus/<name>/
// through the same functions.

#include <cstddef>
#include <cstdint>

// A picture file's bytes through the picture loader: whatever it accepts, a
// shorter part of the same bytes is refused or gives the same pixels.
void fuzzPictureLoad(const uint8_t *data, size_t size);
// Scene list contents: every name the library lists, the writer's duplicate
// test finds, and a name the writer adds is found at once.
void fuzzSceneList(const uint8_t *data, size_t size);
// A scene name and typed values: when the save's checks pass them, every path
// stays in its folder and the scene file gives each key back its own value.
void fuzzSceneNames(const uint8_t *data, size_t size);
// Number texts and doubles: no conversion overflows, every number's text
// reads back as that number.
void fuzzNumbers(const uint8_t *data, size_t size);
// A scene file as the library's preview reads it: a key's value is the text
// up to the next ";", every name it opens is a bare name, and every picture it
// loads the save's check of other scenes knows as that scene's.
void fuzzSceneKeys(const uint8_t *data, size_t size);
// The voice settings file: any bytes give settings that are empty or the
// number their key's value reads as, and what the writer writes reads back.
void fuzzVoiceSettings(const uint8_t *data, size_t size);
// Settings files of the INI kind: every name and value is one line, and a
// value written in a well-formed section reads back by its names in any case.
void fuzzIniFile(const uint8_t *data, size_t size);
// The upload's address: its parts put back together give it again, and a host
// the sharing settings accept is the server and port the upload connects to.
void fuzzUploadUrl(const uint8_t *data, size_t size);
// The start of the service's reply to an upload: only its first line counts,
// what the upload reads of it until its status is known says what the whole
// says, and what a message shows of it is one printable line.
void fuzzUploadReply(const uint8_t *data, size_t size);
// A scene file as the older editor reads it: names are bare, values end where
// their rule says, and what its own save writes reads back.
void fuzzLegacyScene(const uint8_t *data, size_t size);
// A journal of saved files as the start reads it after a crash: every file it
// names lies in the folders it is read for, under the names of its unit, and
// what its writer writes reads back, whole or cut.
void fuzzSaveJournal(const uint8_t *data, size_t size);

// A whole scene through the library window, offscreen: a scene file and a few
// picture and sound files in a fresh base folder, a click on the scene and two
// seconds of the preview's timers on the virtual clock. No message, and the
// pictures the preview holds stay within the load's frame bound and budget.
void fuzzSceneLoad(const uint8_t *data, size_t size);

struct FuzzTarget {
    const char *name; // also the folder of its seed corpus
    void (*run)(const uint8_t *data, size_t size);
};

inline constexpr FuzzTarget kFuzzTargets[] = {
    {"picture_load", fuzzPictureLoad},
    {"scene_list", fuzzSceneList},
    {"scene_names", fuzzSceneNames},
    {"numbers", fuzzNumbers},
    {"scene_keys", fuzzSceneKeys},
    {"voice_settings", fuzzVoiceSettings},
    {"ini_file", fuzzIniFile},
    {"upload_url", fuzzUploadUrl},
    {"upload_reply", fuzzUploadReply},
    {"legacy_scene", fuzzLegacyScene},
    {"scene_load", fuzzSceneLoad},
    {"save_journal", fuzzSaveJournal},
};
