#include "core/preview/VoiceSettingsFile.h"

#include "core/base/Numbers.h"
#include "core/base/Text1252.h"
#include "core/system/Services.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Far more than six short lines; a larger file is not a settings file.
constexpr qint64 MaxSettingsFileSize = 64 * 1024;

struct Key {
    const char *name;
    std::optional<int32_t> VoiceSettings::*value;
};

constexpr Key Keys[] = {
    {"KVVer=", &VoiceSettings::KSapiVers},   {"KV4Num=", &VoiceSettings::KSapi4Voice},
    {"KV5Num=", &VoiceSettings::KSapi5Voice}, {"UVVer=", &VoiceSettings::USapiVers},
    {"UV4Num=", &VoiceSettings::USapi4Voice}, {"UV5Num=", &VoiceSettings::USapi5Voice},
};

} // namespace

QString voiceSettingsPath()
{
    return joinPath(services().environment->configFolder(), QStringLiteral("/Setts.dat"));
}

QByteArray voiceSettingsBytes(const VoiceSettings &settings)
{
    QString text;
    for (const Key &key : Keys) {
        const std::optional<int32_t> &value = settings.*key.value;
        text += QLatin1String(key.name) + (value ? QString::number(*value) : QString()) + QStringLiteral(";\r\n");
    }
    text += QStringLiteral("\r\n");
    return toWindows1252(text);
}

VoiceSettings parseVoiceSettings(const QByteArray &bytes)
{
    const QString text = fromWindows1252(bytes);
    VoiceSettings settings;
    for (const Key &key : Keys) {
        const QLatin1String name(key.name);
        const qsizetype at = text.indexOf(name);
        if (at < 0)
            continue;
        const qsizetype start = at + name.size();
        const qsizetype end = text.indexOf(u';', start);
        if (end < 0)
            continue;
        settings.*key.value = toInt32(text.mid(start, end - start));
    }
    return settings;
}

VoiceSettings loadVoiceSettings(const QString &path)
{
    if (!QFileInfo::exists(path))
        return {};
    const FileRead read = readFile(path, MaxSettingsFileSize);
    if (!read)
        return {};
    return parseVoiceSettings(read.value);
}

FileResult saveVoiceSettings(const QString &path, const VoiceSettings &settings)
{
    // A folder that cannot be made fails the write below, whose sentence names the file.
    (void)QDir().mkpath(QFileInfo(path).absolutePath());
    return writeFileAtomically(path, voiceSettingsBytes(settings));
}
