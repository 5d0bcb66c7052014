#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzTargets.h"

#include "core/base/Numbers.h"
#include "core/base/Text1252.h"
#include "core/preview/VoiceSettingsFile.h"

#include <cstring>

namespace {

const char *const kKeys[] = {"KVVer=", "KV4Num=", "KV5Num=", "UVVer=", "UV4Num=", "UV5Num="};

std::optional<int32_t> VoiceSettings::*const kFields[] = {
    &VoiceSettings::KSapiVers, &VoiceSettings::KSapi4Voice, &VoiceSettings::KSapi5Voice,
    &VoiceSettings::USapiVers, &VoiceSettings::USapi4Voice, &VoiceSettings::USapi5Voice,
};

} // namespace

void fuzzVoiceSettings(const uint8_t *data, size_t size)
{
    // Any file: a setting is set only when its key's value, up to the next
    // ";", is a 32-bit whole number.
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const VoiceSettings read = parseVoiceSettings(bytes);
    const QString text = fromWindows1252(bytes);
    for (size_t i = 0; i < std::size(kKeys); ++i) {
        const std::optional<int32_t> &value = read.*kFields[i];
        if (!value)
            continue;
        const QLatin1String key(kKeys[i]);
        const qsizetype from = text.indexOf(key) + key.size();
        FUZZ_CHECK(from >= key.size());
        const qsizetype end = text.indexOf(u';', from);
        FUZZ_CHECK(end >= from);
        FUZZ_CHECK(toInt32(text.mid(from, end - from)) == value);
    }

    // The first bytes as six settings, each present or not: what the writer
    // writes reads back the same, and the file ends as the writer's always do.
    VoiceSettings settings;
    for (size_t i = 0; i < std::size(kFields); ++i) {
        int32_t n = 0;
        const size_t at = i * 5;
        if (at + 5 > size || (data[at] & 1) == 0)
            continue;
        std::memcpy(&n, data + at + 1, sizeof n);
        settings.*kFields[i] = n;
    }
    const QByteArray written = voiceSettingsBytes(settings);
    FUZZ_CHECK(parseVoiceSettings(written) == settings);
    FUZZ_CHECK(written.endsWith(";\r\n\r\n"));
    FUZZ_CHECK(written.count('\n') == 7);
}
