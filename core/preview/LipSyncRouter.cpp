#include "core/preview/LipSyncRouter.h"

namespace {

constexpr int TalkMouths = 22;

MouthPick pickFor(const QString &speaker, int entry)
{
    if (speaker == QLatin1String("Velm"))
        return {MouthBox::VelmMouth, QStringLiteral("KMT"), entry};
    if (speaker == QLatin1String("User"))
        return {MouthBox::UserMouth, QStringLiteral("UMT"), entry};
    return {};
}

} // namespace

MouthPick visemeMouth(const QString &speaker, int visemeId, bool velmSmileOn)
{
    const int n = visemeId + 1;
    if (speaker == QLatin1String("Velm") && velmSmileOn)
        return pickFor(speaker, n + TalkMouths);
    return pickFor(speaker, n);
}

std::optional<int> mouthShapeEntry(int16_t jaw, int16_t lipTension)
{
    if (lipTension > 100)
        return 15;
    if (jaw > 229)
        return 10;
    if (jaw > 175)
        return 12;
    if (jaw > 117)
        return 6;
    if (jaw > 58)
        return 20;
    if (jaw >= 0)
        return 22;
    return std::nullopt;
}

MouthPick mouthShapeMouth(const QString &speaker, int16_t jaw, int16_t lipTension)
{
    const std::optional<int> entry = mouthShapeEntry(jaw, lipTension);
    if (!entry)
        return {};
    return pickFor(speaker, *entry);
}
