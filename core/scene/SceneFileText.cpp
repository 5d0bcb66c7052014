#include "core/scene/SceneFileText.h"

#include "core/base/Text1252.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString boxField(const char *label, const char *window)
{
    return QStringLiteral("the %1 box of %2").arg(QLatin1String(label), QLatin1String(window));
}

class Entries {
public:
    // A value the program makes itself (a picture name, a number, a fixed text).
    void add(const char *key, const QString &value) { m_list.append({QLatin1String(key), value, QString()}); }
    // A value the user typed or picked, with the field it came from.
    void add(const char *key, const QString &value, const QString &field)
    {
        m_list.append({QLatin1String(key), value, field});
    }
    // The four numbers of a layer's box, in the file's order: height, width, x, y.
    void addBox(const char *prefix, const LayerPlacement &box)
    {
        const QString p = QLatin1String(prefix);
        m_list.append({p + QStringLiteral("h="), box.LayerHeight.toText(), QString()});
        m_list.append({p + QStringLiteral("w="), box.LayerWidth.toText(), QString()});
        m_list.append({p + QStringLiteral("x="), box.LayerX.toText(), QString()});
        m_list.append({p + QStringLiteral("y="), box.LayerY.toText(), QString()});
    }
    // A layer: its first frame's picture, then its box.
    void addLayer(const char *prefix, const QString &picture, const LayerPlacement &box)
    {
        m_list.append({QLatin1String(prefix) + u'=', picture, QString()});
        addBox(prefix, box);
    }
    // An option pair: each button is tested on its own, so a pair with none
    // selected writes nothing.
    void addOptions(const char *key, bool first, const char *firstText, bool second, const char *secondText)
    {
        if (first)
            add(key, QLatin1String(firstText));
        if (second)
            add(key, QLatin1String(secondText));
    }
    void append(const QList<SceneEntry> &entries) { m_list.append(entries); }
    QList<SceneEntry> take() { return std::move(m_list); }

private:
    QList<SceneEntry> m_list;
};

// A sound is written only when its name box names a wave file.
bool namesWave(const QString &box)
{
    return box.contains(QStringLiteral("wav"), Qt::CaseInsensitive);
}

} // namespace

QList<SceneEntry> extraTimingEntries(const SceneSettings::Extra &x, bool delayAt)
{
    const char *window = "Extra Anim Properties";
    Entries e;
    // Empty Random and Delay boxes stand for 990 and 5 seconds.
    e.add("MR=", x.random.isEmpty() ? QStringLiteral("990") : x.random, boxField("Random", window));
    if (!x.frames.isEmpty())
        e.add("MF=", x.frames, boxField("Frames", window));
    e.add("MD=", x.delay.isEmpty() ? QStringLiteral("5") : x.delay, boxField("Delay", window));
    if (delayAt)
        e.add("MDA=", x.delayFrame, boxField("Delay at frame number", window));
    if (!x.speed.isEmpty())
        e.add("MS=", x.speed, boxField("Speed", window));
    e.addOptions("MPL=", x.loop, "Loop", x.pong, "Pong");
    e.addOptions("MPLT=", x.delayAtStart, "Start", x.delayAtEnd, "End");
    return e.take();
}

QList<SceneEntry> sceneEntries(const SceneSettings &s)
{
    const QString &scene = s.name;
    Entries e;

    // "BG=" comes first: its text also stands inside "MPABG=".
    e.add("BG=", scene + QStringLiteral("BG.jpg"));
    if (s.isDesktop)
        e.add("DesktopScene=", QStringLiteral("True"));
    e.addLayer("KM", scene + QStringLiteral("Mouth01.jpg"), s.mainMouth);
    if (s.hasSmile)
        e.add("KS=", scene + QStringLiteral("Smile01.jpg"));
    if (s.hasMainBlink)
        e.addLayer("KB", scene + QStringLiteral("Blink01.jpg"), s.mainBlink);
    if (s.hasBrow)
        e.addLayer("KBr", scene + QStringLiteral("Brow01.jpg"), s.brow);
    if (s.hasUser)
        e.addLayer("UM", scene + QStringLiteral("UserMouth01.jpg"), s.userMouth);
    if (s.hasUserBlink)
        e.addLayer("UB", scene + QStringLiteral("UserBlink01.jpg"), s.userBlink);

    if (s.hasTrigger) {
        const auto &t = s.triggerAnim;
        e.addLayer("TP", scene + QStringLiteral("Trigger01.jpg"), s.trigger);
        if (!t.frames.isEmpty())
            e.add("TF=", t.frames, boxField("Frames", "Trigger Anim Properties"));
        if (!t.speed.isEmpty())
            e.add("TS=", t.speed, boxField("Speed", "Trigger Anim Properties"));
    }

    if (s.hasExtraAnim) {
        e.add("MP=", scene + QStringLiteral("Extra01.jpg"));
        if (s.extraHasAlpha)
            e.add("MiscHasAlpha=", QStringLiteral("True"));
        if (s.extraHasAlpha && s.isDesktop)
            e.add("MPABG=", scene + QStringLiteral("AlphaBG.jpg"));
        e.addBox("MP", s.extra);
        e.append(extraTimingEntries(s.extraAnim, s.extraDelayAt));
    }

    if (s.hasChildAnim) {
        const auto &c = s.childAnim;
        const char *window = "Child Animation Properties";
        if (!c.preloadName.isEmpty() && !s.childAutoCrop)
            e.add("EMA=", c.preloadName, QStringLiteral("the preloaded first child frame's name"));
        if (s.childAutoCrop)
            e.add("EMA=", scene + QStringLiteral("Child01.jpg"));
        if (!c.frames.isEmpty())
            e.add("EMAF=", c.frames, boxField("Frames", window));
        if (!c.random.isEmpty())
            e.add("EMAR=", c.random, boxField("Random", window));
        e.addOptions("EMAFl=", c.atStart, "Start", c.atEnd, "End");
    }

    if (s.hasFullAnim) {
        const auto &f = s.fullAnim;
        const char *window = "Full BG Anim Properties";
        e.add("MainAnimName=", scene + QStringLiteral("FullAnim01.jpg"));
        // Written also when the boxes are empty.
        e.add("MainAnimF=", f.frames, boxField("Frames", window));
        e.add("MainAnimS=", f.speed, boxField("Speed", window));
        e.add("MainAnimD=", f.delay, boxField("Delay", window));
        e.add("MainAnimR=", f.random, boxField("Random", window));
        e.addOptions("MainAnimDS=", f.delayAtStart, "Start", f.delayAtEnd, "End");
        e.addOptions("MainAnimLoop=", f.loop, "Loop", f.pong, "Pong");
        e.addOptions("MainAnimTalk=", f.talkAtStart, "Start", f.talkAtEnd, "End");
        e.add("MainAnimMPause=", f.pauseForTalk ? QStringLiteral("Yes") : QStringLiteral("No"));
        if (f.randomSpeed) {
            e.add("MainAnimRS=", f.speedChance, boxField("Probability Change", window));
            e.add("MainAnimRSSMin=", f.minSpeed, boxField("Minimum Speed", window));
            e.add("MainAnimRSSMax=", f.maxSpeed, boxField("Maximum Speed", window));
        }
    }

    if (s.hasAltImage)
        e.add("NI=", scene + QStringLiteral("Alternate.jpg"));

    const auto &snd = s.sounds;
    const char *window = "Sound FX";
    if (!snd.sound1.isEmpty() && namesWave(snd.sound1)) {
        e.add("Sound1=", snd.sound1, QStringLiteral("the name of sound one in Sound FX"));
        e.add("Sound1R=", snd.sound1Chance, boxField("Random Probability (sound one)", window));
        e.add("Sound1LoopDelay=", snd.sound1LoopDelay, boxField("Loop Delay in Seconds", window));
        e.add("Sound1Loop=", snd.sound1Loop ? QStringLiteral("True") : QStringLiteral("False"));
        e.add("Sound1PauseForTalk=", snd.sound1PauseForTalk ? QStringLiteral("True") : QStringLiteral("False"));
    }
    if (!snd.sound2.isEmpty() && namesWave(snd.sound2)) {
        e.add("Sound2=", snd.sound2, QStringLiteral("the name of sound two in Sound FX"));
        e.add("Sound2R=", snd.sound2Chance, boxField("Random Probability (sound two)", window));
    }
    if (!snd.sound3.isEmpty() && namesWave(snd.sound3)) {
        e.add("Sound3=", snd.sound3, QStringLiteral("the name of sound three in Sound FX"));
        e.add("Sound3R=", snd.sound3Chance, boxField("Random Probability (sound three)", window));
    }
    return e.take();
}

QString sceneText(const QList<SceneEntry> &entries)
{
    QString text;
    for (const SceneEntry &entry : entries)
        text += entry.key + entry.value + u';' + kCrLf;
    return text;
}

QByteArray sceneFileBytes(const QString &sceneText)
{
    return toWindows1252(sceneText + kCrLf);
}
