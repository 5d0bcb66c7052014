// The scene file's bytes for a table of set-ups, and the number format of the
// layer boxes on a locale whose decimal point is a comma.

#include "core/scene/SceneChecks.h"
#include "core/scene/SceneFileText.h"

#include <QLocale>

#include <gtest/gtest.h>

#include "tests/support/Printers.h"

#include <clocale>
#include <functional>

namespace {

// The expected file: every line followed by CR LF, then one more CR LF.
QByteArray fileOf(std::initializer_list<const char *> lines)
{
    QByteArray out;
    for (const char *line : lines)
        out += QByteArray(line) + "\r\n";
    return out + "\r\n";
}

LayerPlacement box(Value x, Value y, Value width, Value height)
{
    return LayerPlacement{x, y, width, height};
}

// A scene as the road leaves it: the main mouth placed at (350, 250), its size
// from the cut picture's HIMETRIC size.
SceneSettings minimal()
{
    SceneSettings s;
    s.name = QStringLiteral("Beach");
    s.mainMouth = box(Value::longValue(350), Value::longValue(250), Value::real(1482 / 26.454545),
                      Value::real(1085 / 26.454545));
    return s;
}

// Every group on, the dialogs at their start values with a few changes.
SceneSettings everyGroup()
{
    SceneSettings s = minimal();
    s.isDesktop = s.hasSmile = s.hasMainBlink = s.hasBrow = s.hasUser = s.hasUserBlink = s.hasTrigger = true;
    s.hasExtraAnim = s.extraHasAlpha = s.hasChildAnim = s.childAutoCrop = s.hasFullAnim = s.hasAltImage = true;
    s.extraDelayAt = true;
    s.mainBlink = box(Value::longValue(330), Value::longValue(180), Value::real(56), Value::real(41));
    s.userMouth = box(Value::longValue(100), Value::longValue(200), Value::real(30), Value::real(20));
    s.userBlink = box(Value::longValue(101), Value::longValue(150), Value::real(31), Value::real(21));
    s.trigger = box(Value::longValue(5), Value::longValue(6), Value::real(70), Value::real(80));
    s.extra = box(Value::real(583.5), Value::longValue(7), Value::real(2540 / 26.454545), Value::real(40));
    s.triggerAnim = {QStringLiteral("3"), QStringLiteral("100")};
    s.extraAnim.random = QStringLiteral("100");
    s.extraAnim.frames = QStringLiteral("12");
    s.extraAnim.delayFrame = QStringLiteral("4");
    s.extraAnim.delay = QStringLiteral("3");
    s.extraAnim.speed = QStringLiteral("100");
    s.extraAnim.pong = true;
    s.extraAnim.delayAtStart = true;
    s.childAnim.preloadName = QStringLiteral("Kick01.bmp"); // ignored: automatic crop is on
    s.childAnim.frames = QStringLiteral("7");
    s.childAnim.random = QStringLiteral("100");
    s.childAnim.atEnd = true;
    auto &f = s.fullAnim;
    f.frames = QStringLiteral("7");
    f.speed = QStringLiteral("70");
    f.delay = QStringLiteral("3");
    f.random = QStringLiteral("0");
    f.delayAtStart = true;
    f.pong = true;
    f.talkAtStart = true;
    f.pauseForTalk = true;
    f.randomSpeed = true;
    f.speedChance = QStringLiteral("50");
    f.minSpeed = QStringLiteral("1");
    f.maxSpeed = QStringLiteral("100");
    auto &snd = s.sounds;
    snd.sound1 = QStringLiteral("Rain.wav");
    snd.sound1Chance = QStringLiteral("0");
    snd.sound1LoopDelay = QStringLiteral("1");
    snd.sound1Loop = true;
    snd.sound2 = QStringLiteral("Bird.wav");
    snd.sound2Chance = QStringLiteral("30");
    snd.sound3 = QStringLiteral("Wind.wav");
    snd.sound3Chance = QStringLiteral("30");
    return s;
}

struct GoldenCase {
    const char *name;
    std::function<SceneSettings()> settings;
    QByteArray bytes;
};

const char *const kMouth[] = {"BG=BeachBG.jpg;", "KM=BeachMouth01.jpg;", "KMh=41.0137464091709;",
                              "KMw=56.0206195192546;", "KMx=350;", "KMy=250;"};

void PrintTo(const GoldenCase &c, std::ostream *out)
{
    *out << c.name;
}

class SceneFileGolden : public ::testing::TestWithParam<GoldenCase> {};


TEST_P(SceneFileGolden, Bytes)
{
    const GoldenCase &c = GetParam();
    const QList<SceneEntry> entries = sceneEntries(c.settings());
    EXPECT_EQ(sceneFileBytes(sceneText(entries)), c.bytes) << c.name;
    EXPECT_TRUE(checkSceneFields(entries).error.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    SetUps, SceneFileGolden,
    ::testing::Values(
        GoldenCase{"minimal", minimal,
                   fileOf({kMouth[0], kMouth[1], kMouth[2], kMouth[3], kMouth[4], kMouth[5]})},
        GoldenCase{"every group", everyGroup,
                   fileOf({"BG=BeachBG.jpg;", "DesktopScene=True;", "KM=BeachMouth01.jpg;",
                           "KMh=41.0137464091709;", "KMw=56.0206195192546;", "KMx=350;", "KMy=250;",
                           "KS=BeachSmile01.jpg;", "KB=BeachBlink01.jpg;", "KBh=41;", "KBw=56;", "KBx=330;",
                           "KBy=180;", "KBr=BeachBrow01.jpg;", "KBrh=;", "KBrw=;", "KBrx=;", "KBry=;",
                           "UM=BeachUserMouth01.jpg;", "UMh=20;", "UMw=30;", "UMx=100;", "UMy=200;",
                           "UB=BeachUserBlink01.jpg;", "UBh=21;", "UBw=31;", "UBx=101;", "UBy=150;",
                           "TP=BeachTrigger01.jpg;", "TPh=80;", "TPw=70;", "TPx=5;", "TPy=6;", "TF=3;",
                           "TS=100;", "MP=BeachExtra01.jpg;", "MiscHasAlpha=True;", "MPABG=BeachAlphaBG.jpg;",
                           "MPh=40;", "MPw=96.0137473541881;", "MPx=583.5;", "MPy=7;", "MR=100;", "MF=12;",
                           "MD=3;", "MDA=4;", "MS=100;", "MPL=Pong;", "MPLT=Start;", "EMA=BeachChild01.jpg;",
                           "EMAF=7;", "EMAR=100;", "EMAFl=End;", "MainAnimName=BeachFullAnim01.jpg;",
                           "MainAnimF=7;", "MainAnimS=70;", "MainAnimD=3;", "MainAnimR=0;",
                           "MainAnimDS=Start;", "MainAnimLoop=Pong;", "MainAnimTalk=Start;",
                           "MainAnimMPause=Yes;", "MainAnimRS=50;", "MainAnimRSSMin=1;", "MainAnimRSSMax=100;",
                           "NI=BeachAlternate.jpg;", "Sound1=Rain.wav;", "Sound1R=0;", "Sound1LoopDelay=1;",
                           "Sound1Loop=True;", "Sound1PauseForTalk=False;", "Sound2=Bird.wav;", "Sound2R=30;",
                           "Sound3=Wind.wav;", "Sound3R=30;"})},
        GoldenCase{"empty extra and trigger boxes",
                   [] {
                       SceneSettings s = minimal();
                       s.hasExtraAnim = s.hasTrigger = true;
                       s.extraAnim.loop = s.extraAnim.delayAtEnd = true;
                       return s;
                   },
                   fileOf({kMouth[0], kMouth[1], kMouth[2], kMouth[3], kMouth[4], kMouth[5],
                           "TP=BeachTrigger01.jpg;", "TPh=;", "TPw=;", "TPx=;", "TPy=;", "MP=BeachExtra01.jpg;",
                           "MPh=;", "MPw=;", "MPx=;", "MPy=;", "MR=990;", "MD=5;", "MPL=Loop;", "MPLT=End;"})},
        GoldenCase{"full background with empty boxes",
                   [] {
                       SceneSettings s = minimal();
                       s.hasFullAnim = true;
                       s.fullAnim.delayAtEnd = s.fullAnim.loop = s.fullAnim.talkAtEnd = true;
                       return s;
                   },
                   fileOf({kMouth[0], kMouth[1], kMouth[2], kMouth[3], kMouth[4], kMouth[5],
                           "MainAnimName=BeachFullAnim01.jpg;", "MainAnimF=;", "MainAnimS=;", "MainAnimD=;",
                           "MainAnimR=;", "MainAnimDS=End;", "MainAnimLoop=Loop;", "MainAnimTalk=End;",
                           "MainAnimMPause=No;"})},
        GoldenCase{"brow with its empty box",
                   [] {
                       SceneSettings s = minimal();
                       s.hasBrow = true;
                       return s;
                   },
                   fileOf({kMouth[0], kMouth[1], kMouth[2], kMouth[3], kMouth[4], kMouth[5],
                           "KBr=BeachBrow01.jpg;", "KBrh=;", "KBrw=;", "KBrx=;", "KBry=;"})},
        GoldenCase{"child with a preloaded frame",
                   [] {
                       SceneSettings s = minimal();
                       s.hasChildAnim = true;
                       s.childAnim = {QStringLiteral("Kick01.bmp"), QStringLiteral("7"), QStringLiteral("100"),
                                      true, false};
                       return s;
                   },
                   fileOf({kMouth[0], kMouth[1], kMouth[2], kMouth[3], kMouth[4], kMouth[5], "EMA=Kick01.bmp;",
                           "EMAF=7;", "EMAR=100;", "EMAFl=Start;"})},
        GoldenCase{"child with neither a preloaded frame nor automatic crop",
                   [] {
                       SceneSettings s = minimal();
                       s.hasChildAnim = true;
                       s.childAnim.frames = QStringLiteral("4");
                       return s;
                   },
                   fileOf({kMouth[0], kMouth[1], kMouth[2], kMouth[3], kMouth[4], kMouth[5], "EMAF=4;"})},
        GoldenCase{"option pairs with none selected",
                   [] {
                       SceneSettings s = minimal();
                       s.hasExtraAnim = s.hasChildAnim = s.hasFullAnim = true;
                       s.extraAnim.random = s.extraAnim.delay = QStringLiteral("1");
                       return s;
                   },
                   fileOf({kMouth[0], kMouth[1], kMouth[2], kMouth[3], kMouth[4], kMouth[5],
                           "MP=BeachExtra01.jpg;", "MPh=;", "MPw=;", "MPx=;", "MPy=;", "MR=1;", "MD=1;",
                           "MainAnimName=BeachFullAnim01.jpg;", "MainAnimF=;", "MainAnimS=;", "MainAnimD=;",
                           "MainAnimR=;", "MainAnimMPause=No;"})},
        GoldenCase{"sound names: wav in any letter case, inside a name, or none",
                   [] {
                       SceneSettings s = minimal();
                       s.sounds.sound1 = QStringLiteral("song.mp3");
                       s.sounds.sound1Chance = QStringLiteral("5");
                       s.sounds.sound2 = QStringLiteral("Rain.WAV");
                       s.sounds.sound2Chance = QStringLiteral("30");
                       s.sounds.sound3 = QStringLiteral("wavy.mid");
                       s.sounds.sound3Chance = QStringLiteral("");
                       return s;
                   },
                   fileOf({kMouth[0], kMouth[1], kMouth[2], kMouth[3], kMouth[4], kMouth[5],
                           "Sound2=Rain.WAV;", "Sound2R=30;", "Sound3=wavy.mid;", "Sound3R=;"})},
        GoldenCase{"sound one with its loop and talk boxes",
                   [] {
                       SceneSettings s = minimal();
                       s.sounds.sound1 = QStringLiteral("Sea.wav");
                       s.sounds.sound1PauseForTalk = true;
                       return s;
                   },
                   fileOf({kMouth[0], kMouth[1], kMouth[2], kMouth[3], kMouth[4], kMouth[5], "Sound1=Sea.wav;",
                           "Sound1R=;", "Sound1LoopDelay=;", "Sound1Loop=False;", "Sound1PauseForTalk=True;"})}),
    [](const ::testing::TestParamInfo<GoldenCase> &info) { return testNameOf(info.param.name); });

TEST(SceneFileText, NameAndValuesInWindows1252)
{
    SceneSettings s = minimal();
    s.name = QStringLiteral("Caf\u00e9 \u20ac");
    s.sounds.sound2 = QStringLiteral("R\u00e9veil.wav");
    s.sounds.sound2Chance = QStringLiteral("3");
    const QByteArray bytes = sceneFileBytes(sceneText(sceneEntries(s)));
    EXPECT_TRUE(bytes.startsWith(QByteArray("BG=Caf\xe9 \x80" "BG.jpg;\r\nKM=Caf\xe9 \x80Mouth01.jpg;\r\n")));
    EXPECT_TRUE(bytes.endsWith(QByteArray("Sound2=R\xe9veil.wav;\r\nSound2R=3;\r\n\r\n")));
}

// Placements as the canvas leaves them: unset, whole, fractional Double and
// Single, written with "." whatever the locale says.
TEST(SceneFileText, PlacementNumbersOnACommaLocale)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const char *oldC = std::setlocale(LC_ALL, nullptr);
    const std::string restore = oldC ? oldC : "C";
    std::setlocale(LC_ALL, "de_DE.UTF-8"); // may be missing; Qt's default locale is set either way

    SceneSettings s = minimal();
    s.mainMouth = box(Value(), Value::longValue(250), Value::real(1482 / 26.454545), Value::single(12.25f));
    s.hasMainBlink = true;
    s.mainBlink = box(Value::real(-3.0), Value::integer(7), Value::real(0.5), Value::real(1e-3));
    const QByteArray bytes = sceneFileBytes(sceneText(sceneEntries(s)));

    std::setlocale(LC_ALL, restore.c_str());
    QLocale::setDefault(before);

    EXPECT_EQ(bytes, fileOf({"BG=BeachBG.jpg;", "KM=BeachMouth01.jpg;", "KMh=12.25;", "KMw=56.0206195192546;",
                             "KMx=;", "KMy=250;", "KB=BeachBlink01.jpg;", "KBh=0.001;", "KBw=0.5;", "KBx=-3;",
                             "KBy=7;"}));
}

} // namespace
