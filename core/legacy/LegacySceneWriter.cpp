#include "core/legacy/LegacySceneWriter.h"

namespace {

class Entries {
public:
    void add(const char *key, const QString &value, const QString &field)
    {
        m_list.append({QLatin1String(key), value, field});
    }
    // A line that is its key alone: a marker, or a key with its fixed value.
    void line(const char *literal) { m_list.append({QLatin1String(literal), QString(), QString()}); }
    // An option pair: each button is tested on its own, so a pair with none
    // selected writes nothing.
    void options(bool first, const char *firstLine, bool second, const char *secondLine)
    {
        if (first)
            line(firstLine);
        if (second)
            line(secondLine);
    }
    // A layer: its picture's name, then height, width, x and y.
    void layer(const char *prefix, const Value &name, const LayerPlacement &box, const QString &what)
    {
        const QString p = QLatin1String(prefix);
        m_list.append({p + u'=', name.toText(), QStringLiteral("the picture name of %1").arg(what)});
        m_list.append({p + QStringLiteral("h="), box.LayerHeight.toText(), QStringLiteral("the height of %1").arg(what)});
        m_list.append({p + QStringLiteral("w="), box.LayerWidth.toText(), QStringLiteral("the width of %1").arg(what)});
        m_list.append({p + QStringLiteral("x="), box.LayerX.toText(), QStringLiteral("the left of %1").arg(what)});
        m_list.append({p + QStringLiteral("y="), box.LayerY.toText(), QStringLiteral("the top of %1").arg(what)});
    }
    void append(const QList<SceneEntry> &entries) { m_list.append(entries); }
    QList<SceneEntry> take() { return std::move(m_list); }

private:
    QList<SceneEntry> m_list;
};

QString boxField(const char *label, const char *window)
{
    return QStringLiteral("the %1 box of %2").arg(QLatin1String(label), QLatin1String(window));
}

} // namespace

QList<SceneEntry> legacySceneEntries(const LegacySceneInput &in)
{
    Entries e;
    if (in.twips)
        e.line("SV=3");
    e.add("BG=", in.backgroundName.toText(), QStringLiteral("the background picture's name"));
    e.layer("KM", in.mainMouthName, in.mainMouth, QStringLiteral("the main mouth layer"));
    if (in.hasMainBlink)
        e.layer("KB", in.mainBlinkName, in.mainBlink, QStringLiteral("the main blink layer"));
    if (in.hasUser) {
        e.line("UserMouthOn");
        e.layer("UM", in.userMouthName, in.userMouth, QStringLiteral("the user mouth layer"));
    }
    if (in.hasUserBlink) {
        e.line("UserBlinkOn");
        e.layer("UB", in.userBlinkName, in.userBlink, QStringLiteral("the user blink layer"));
    }

    if (in.hasExtraAnim) {
        e.line("MiscOn");
        e.layer("MP", in.extraName, in.extra, QStringLiteral("the extra animation layer"));
        e.append(extraTimingEntries(in.extraAnim, in.extraDelayAt));
    }

    if (in.hasChildAnim) {
        const auto &c = in.childAnim;
        const char *window = "Child Animation Properties";
        if (!c.preloadName.isEmpty())
            e.add("EMA=", c.preloadName, QStringLiteral("the preloaded first child frame's name"));
        if (!c.frames.isEmpty())
            e.add("EMAF=", c.frames, boxField("Frames", window));
        if (!c.random.isEmpty())
            e.add("EMAR=", c.random, boxField("Random", window));
        e.options(c.atStart, "EMAFl=Start", c.atEnd, "EMAFl=End");

        // The full-background group lives inside the child group in this layout.
        if (in.hasFullAnim) {
            const auto &f = in.fullAnim;
            const char *full = "Full BG Anim Properties";
            e.add("MainAnimName=", in.fullAnimFirstFrameName.toText(),
                  QStringLiteral("the first full background frame's name"));
            e.add("MainAnimF=", f.frames, boxField("Frames", full));
            e.add("MainAnimS=", f.speed, boxField("Speed", full));
            e.add("MainAnimD=", f.delay, boxField("Delay", full));
            e.add("MainAnimR=", f.random, boxField("Random", full));
            e.options(f.delayAtStart, "MainAnimDS=Start", f.delayAtEnd, "MainAnimDS=End");
            e.options(f.loop, "MainAnimLoop=Loop", f.pong, "MainAnimLoop=Pong");
            e.options(f.talkAtStart, "MainAnimTalk=Start", f.talkAtEnd, "MainAnimTalk=End");
            e.line(f.pauseForTalk ? "MainAnimMPause=Yes" : "MainAnimMPause=No");
        }
    }

    if (in.hasAltImage)
        e.add("NI=", in.altImageName.toText(), QStringLiteral("the alternate picture's name"));

    const SceneSoundSettings &snd = in.sounds;
    if (!snd.Sound1File.toText().isEmpty()) {
        e.add("Sound1=", snd.Sound1File.toText(), QStringLiteral("the name of sound one"));
        e.add("Sound1R=", snd.Sound1Random.toText(), QStringLiteral("the chance of sound one"));
        e.line(isFlagSet(snd.Sound1Loop) ? "Sound1Loop=True" : "Sound1Loop=False");
        e.add("Sound1LoopDelay=", snd.Sound1LoopDelay.toText(), QStringLiteral("the loop delay of sound one"));
    }
    if (!snd.Sound2File.toText().isEmpty()) {
        e.add("Sound2=", snd.Sound2File.toText(), QStringLiteral("the name of sound two"));
        e.add("Sound2R=", snd.Sound2Random.toText(), QStringLiteral("the chance of sound two"));
    }
    if (!snd.Sound3File.toText().isEmpty()) {
        e.add("Sound3=", snd.Sound3File.toText(), QStringLiteral("the name of sound three"));
        e.add("Sound3R=", snd.Sound3Random.toText(), QStringLiteral("the chance of sound three"));
    }
    return e.take();
}
