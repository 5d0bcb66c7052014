#pragma once
// The voice settings file "Setts.dat" in the user's config folder: which
// speech interface and which voice of it each character speaks with. Seven
// lines in Windows-1252, each ending CR LF:
//   KVVer=<main version>;  KV4Num=<main engine>;  KV5Num=<main voice>;
//   UVVer=<user version>;  UV4Num=<user engine>;  UV5Num=<user voice>;
// and an empty line. A value never chosen is written as empty text.
//
// The library window reads it at its load (loadVoiceSettings) into its six
// voice variables, and writes all six back (saveVoiceSettings) whenever either
// voice box is picked; a failed write shows FileResult::error.

#include "core/base/Files.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

struct VoiceSettings {
    // 4 or 5: the speech interface; anything else speaks nothing.
    std::optional<int32_t> KSapiVers;
    std::optional<int32_t> KSapi4Voice; // engine number, 1 = first engine
    std::optional<int32_t> KSapi5Voice; // voice index, 0 = first voice
    std::optional<int32_t> USapiVers;
    std::optional<int32_t> USapi4Voice;
    std::optional<int32_t> USapi5Voice;
    bool operator==(const VoiceSettings &) const = default;
};

// The file's place: "Setts.dat" in services().environment->configFolder().
QString voiceSettingsPath();

// The file's bytes for these settings.
QByteArray voiceSettingsBytes(const VoiceSettings &settings);

// Reads the six settings from the file's bytes. Each key's first occurrence
// counts; its value runs to the next ";" and is converted to a 32-bit whole
// number. An absent key, a value without ";" after it, empty or not a number
// leaves that setting empty.
VoiceSettings parseVoiceSettings(const QByteArray &bytes);

// The settings stored at `path`; all empty when the file is missing or cannot be read.
VoiceSettings loadVoiceSettings(const QString &path);

// Replaces the file whole (through a temporary file beside it), making its folder when needed.
[[nodiscard]] FileResult saveVoiceSettings(const QString &path, const VoiceSettings &settings);
