#include "core/legacy/LegacySceneReader.h"

#include "core/base/Files.h"
#include "core/preview/PreviewScene.h"

#include <QRegularExpression>

namespace {

QString keyText(const char *key) { return QLatin1String(key); }

// A value as a message shows it: up to its first line break.
QString firstLine(const QString &value)
{
    const qsizetype end = value.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    return end < 0 ? value : value.left(end) + QStringLiteral("...");
}

class Reader {
public:
    explicit Reader(const QString &text, QStringList &skipped) : m_text(text), m_skipped(skipped) {}

    std::optional<QString> semicolon(const char *key) const { return semicolonValue(m_text, keyText(key), &m_skipped); }
    std::optional<QString> line(const char *key) const { return lineValue(m_text, keyText(key)); }
    bool literal(const char *text) const { return hasLiteral(m_text, keyText(text)); }

    // A name counts only when it is the bare name of a file in its folder.
    std::optional<QString> bare(const char *key, const std::optional<QString> &value) const
    {
        return bare(keyText(key), value);
    }
    std::optional<QString> bare(const QString &key, const std::optional<QString> &value) const
    {
        if (!value)
            return std::nullopt;
        if (isBareName(*value))
            return value;
        if (!value->isEmpty())
            m_skipped << QStringLiteral("%1%2 (a name with a folder in it)").arg(key, firstLine(*value));
        return std::nullopt;
    }

    // A layer group by the semicolon rule: present when its name is.
    std::optional<LegacyLayer> layer(const char *prefix) const
    {
        const QString p = QLatin1String(prefix);
        const QString nameKey = p + u'=';
        const auto name = bare(nameKey, semicolonValue(m_text, nameKey, &m_skipped));
        if (!name)
            return std::nullopt;
        auto number = [&](const char *suffix) {
            return semicolonValue(m_text, p + QLatin1String(suffix), &m_skipped).value_or(QString());
        };
        return LegacyLayer{*name, number("h="), number("w="), number("x="), number("y=")};
    }

private:
    const QString &m_text;
    QStringList &m_skipped;
};

// "Start" / "End" of an option pair: true, false, or nothing for any other value.
std::optional<bool> startOrEnd(const std::optional<QString> &value)
{
    if (value == QStringLiteral("Start"))
        return true;
    if (value == QStringLiteral("End"))
        return false;
    return std::nullopt;
}

} // namespace

std::optional<QString> semicolonValue(const QString &text, const QString &key, QStringList *skipped)
{
    // The library's preview reads its keys by the same rule.
    const KeyValue value = SceneKeyValue(text, key);
    if (value.present)
        return value.value;
    if (skipped && !key.isEmpty() && text.contains(key))
        *skipped << QStringLiteral("%1 (no \";\" after it)").arg(key);
    return std::nullopt;
}

std::optional<QString> lineValue(const QString &text, const QString &key)
{
    const qsizetype at = text.indexOf(key, 0, Qt::CaseInsensitive);
    if (at < 0)
        return std::nullopt;
    const qsizetype from = at + key.size();
    qsizetype end = text.indexOf(u'\n', from);
    if (end < 0)
        end = text.size();
    else if (end > from && text[end - 1] == u'\r')
        --end;
    // The last character before the line end is the entry's ";".
    const qsizetype length = end - from - 1;
    return length > 0 ? text.mid(from, length) : QString();
}

bool hasLiteral(const QString &text, const QString &literal, Qt::CaseSensitivity cs)
{
    return text.contains(literal, cs);
}

std::optional<bool> legacyTruthValue(const QString &text)
{
    const QString t = text.trimmed();
    if (t.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double number = t.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return number != 0;
}

LegacySceneRecord ParseLegacyScene(const QString &text)
{
    LegacySceneRecord r;
    const Reader read(text, r.skipped);

    r.twips = hasLiteral(text, QStringLiteral("SV=3"), Qt::CaseSensitive);
    r.background = read.bare("BG=", read.semicolon("BG="));
    r.altImage = read.bare("NI=", read.semicolon("NI="));
    r.mainMouth = read.layer("KM");
    r.userMouth = read.layer("UM");
    r.mainBlink = read.layer("KB");
    r.userBlink = read.layer("UB");

    r.extra = read.layer("MP");
    if (r.extra) {
        r.extraBoxes.random = read.semicolon("MR=");
        r.extraBoxes.frames = read.semicolon("MF=");
        r.extraBoxes.delay = read.semicolon("MD=");
        r.extraBoxes.speed = read.semicolon("MS=");
        r.extraBoxes.delayAt = read.semicolon("MDA=");
    }
    // Without "MPL=" the extra animation ping-pongs.
    if (!hasLiteral(text, QStringLiteral("MPL="), Qt::CaseSensitive))
        r.extraPingPong = true;
    else if (const auto loop = read.semicolon("MPL="); loop == QStringLiteral("Pong"))
        r.extraPingPong = true;
    else if (loop == QStringLiteral("Loop"))
        r.extraPingPong = false;
    r.extraDelayAtStart = startOrEnd(read.semicolon("MPLT="));

    r.childPreload = read.bare("EMA=", read.semicolon("EMA="));
    r.childFrames = read.semicolon("EMAF=");
    r.childRandom = read.semicolon("EMAR=");
    r.childAtStart = startOrEnd(read.semicolon("EMAFl="));
    r.childPreloadLine = read.bare("EMA=", read.line("EMA="));
    r.childFramesLine = read.line("EMAF=");
    r.childRandomLine = read.line("EMAR=");
    r.childStartLiteral = read.literal("EMAFl=Start");
    r.childEndLiteral = read.literal("EMAFl=End");

    r.fullAnimName = read.bare("MainAnimName=", read.line("MainAnimName="));
    r.fullFrames = read.line("MainAnimF=");
    r.fullSpeed = read.line("MainAnimS=");
    r.fullDelay = read.line("MainAnimD=");
    r.fullRandom = read.line("MainAnimR=");
    r.fullDelayStart = read.literal("MainAnimDS=Start");
    r.fullDelayEnd = read.literal("MainAnimDS=End");
    r.fullLoop = read.literal("MainAnimLoop=Loop");
    r.fullPong = read.literal("MainAnimLoop=Pong");
    r.fullTalkStart = read.literal("MainAnimTalk=Start");
    r.fullTalkEnd = read.literal("MainAnimTalk=End");
    r.fullPauseNo = read.literal("MainAnimMPause=No");
    r.fullPauseYes = read.literal("MainAnimMPause=Yes");
    r.fullSpeedChance = read.line("MainAnimRS=");
    r.fullMinSpeed = read.line("MainAnimRSSMin=");
    r.fullMaxSpeed = read.line("MainAnimRSSMax=");

    r.trigger = read.bare("TP=", read.line("TP="));
    r.triggerHeight = read.line("TPh=");
    r.triggerWidth = read.line("TPw=");
    r.triggerX = read.line("TPx=");
    r.triggerY = read.line("TPy=");
    r.triggerFrames = read.line("TF=");
    r.triggerSpeed = read.line("TS=");

    r.sound1 = read.bare("Sound1=", read.line("Sound1="));
    r.sound1Random = read.line("Sound1R=");
    if (const auto loopText = read.line("Sound1Loop=")) {
        r.sound1Loop = legacyTruthValue(*loopText);
        if (!r.sound1Loop)
            r.skipped << QStringLiteral("Sound1Loop=%1 (not True or False)").arg(firstLine(*loopText));
    }
    r.sound1LoopDelay = read.line("Sound1LoopDelay=");
    r.sound1PauseForTalk = read.literal("Sound1PauseForTalk=True");
    r.sound2 = read.bare("Sound2=", read.line("Sound2="));
    r.sound2Random = read.line("Sound2R=");
    r.sound3 = read.bare("Sound3=", read.line("Sound3="));
    r.sound3Random = read.line("Sound3R=");
    // The child's name is looked at by both rules.
    r.skipped.removeDuplicates();
    return r;
}
