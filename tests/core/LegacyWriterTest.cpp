// The older layout's bytes for a table of scenes: markers, gating, defaults of
// empty boxes and the number format of the placements.

#include "core/legacy/LegacySceneWriter.h"
#include "core/scene/SceneChecks.h"
#include "tests/core/SceneBytes.h"
#include "tests/support/Printers.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

LegacySceneInput plain()
{
    LegacySceneInput in;
    in.backgroundName = QStringLiteral("bg.jpg");
    in.mainMouthName = QStringLiteral("velmmouth.jpg");
    in.mainMouth = {Value::real(350), Value::real(250), Value::real(60), Value::real(30)};
    return in;
}

const char *const kPlain[] = {"BG=bg.jpg;", "KM=velmmouth.jpg;", "KMh=30;", "KMw=60;", "KMx=350;", "KMy=250;"};

struct GoldenCase {
    const char *name;
    std::function<LegacySceneInput()> input;
    QByteArray bytes;
};

void PrintTo(const GoldenCase &c, std::ostream *out)
{
    *out << c.name;
}

class LegacyGolden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(LegacyGolden, Bytes)
{
    const GoldenCase &c = GetParam();
    const QList<SceneEntry> entries = legacySceneEntries(c.input());
    EXPECT_EQ(sceneFileBytes(sceneText(entries)), c.bytes) << c.name;
    EXPECT_EQ(checkSceneFields(entries).error, QString()) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Scenes, LegacyGolden,
    ::testing::Values(
        GoldenCase{"every flag clear", plain,
                   fileOf({kPlain[0], kPlain[1], kPlain[2], kPlain[3], kPlain[4], kPlain[5]})},
        GoldenCase{"every flag clear on a canvas in twips",
                   [] {
                       LegacySceneInput in = plain();
                       in.twips = true;
                       return in;
                   },
                   fileOf({"SV=3;", kPlain[0], kPlain[1], kPlain[2], kPlain[3], kPlain[4], kPlain[5]})},
        GoldenCase{"nothing ever set",
                   [] { return LegacySceneInput(); },
                   fileOf({"BG=;", "KM=;", "KMh=;", "KMw=;", "KMx=;", "KMy=;"})},
        GoldenCase{"the three markers with their layers",
                   [] {
                       LegacySceneInput in = plain();
                       in.hasMainBlink = in.hasUser = in.hasUserBlink = in.hasExtraAnim = true;
                       in.mainBlinkName = QStringLiteral("velmblink.jpg");
                       in.mainBlink = {Value::real(330), Value::real(180), Value::real(100), Value::real(24)};
                       in.userMouthName = QStringLiteral("usermouth.jpg");
                       in.userMouth = {Value(QStringLiteral("100")), Value(QStringLiteral("200")),
                                       Value(QStringLiteral("50")), Value(QStringLiteral("26"))};
                       in.userBlinkName = QStringLiteral("userblink.jpg");
                       in.extraName = QStringLiteral("miscpart.jpg");
                       in.extraAnim.random = QStringLiteral("100");
                       in.extraAnim.frames = QStringLiteral("12");
                       in.extraAnim.delay = QStringLiteral("3");
                       in.extraAnim.speed = QStringLiteral("70");
                       in.extraAnim.pong = in.extraAnim.delayAtStart = true;
                       return in;
                   },
                   fileOf({kPlain[0], kPlain[1], kPlain[2], kPlain[3], kPlain[4], kPlain[5], "KB=velmblink.jpg;",
                           "KBh=24;", "KBw=100;", "KBx=330;", "KBy=180;", "UserMouthOn;", "UM=usermouth.jpg;",
                           "UMh=26;", "UMw=50;", "UMx=100;", "UMy=200;", "UserBlinkOn;", "UB=userblink.jpg;",
                           "UBh=;", "UBw=;", "UBx=;", "UBy=;", "MiscOn;", "MP=miscpart.jpg;", "MPh=;", "MPw=;",
                           "MPx=;", "MPy=;", "MR=100;", "MF=12;", "MD=3;", "MS=70;", "MPL=Pong;",
                           "MPLT=Start;"})},
        GoldenCase{"the user blink on its own, without the user character",
                   [] {
                       LegacySceneInput in = plain();
                       in.hasUserBlink = true;
                       in.userBlinkName = QStringLiteral("userblink.jpg");
                       return in;
                   },
                   fileOf({kPlain[0], kPlain[1], kPlain[2], kPlain[3], kPlain[4], kPlain[5], "UserBlinkOn;",
                           "UB=userblink.jpg;", "UBh=;", "UBw=;", "UBx=;", "UBy=;"})},
        GoldenCase{"extra with empty boxes",
                   [] {
                       LegacySceneInput in = plain();
                       in.hasExtraAnim = true;
                       in.extraName = QStringLiteral("miscpart.jpg");
                       in.extraAnim.delayFrame = QStringLiteral("4"); // not written: the delay-at choice is off
                       in.extraAnim.loop = in.extraAnim.delayAtEnd = true;
                       return in;
                   },
                   fileOf({kPlain[0], kPlain[1], kPlain[2], kPlain[3], kPlain[4], kPlain[5], "MiscOn;",
                           "MP=miscpart.jpg;", "MPh=;", "MPw=;", "MPx=;", "MPy=;", "MR=990;", "MD=5;",
                           "MPL=Loop;", "MPLT=End;"})},
        GoldenCase{"extra with the delay at a frame",
                   [] {
                       LegacySceneInput in = plain();
                       in.hasExtraAnim = in.extraDelayAt = true;
                       in.extraName = QStringLiteral("miscpart.jpg");
                       return in;
                   },
                   fileOf({kPlain[0], kPlain[1], kPlain[2], kPlain[3], kPlain[4], kPlain[5], "MiscOn;",
                           "MP=miscpart.jpg;", "MPh=;", "MPw=;", "MPx=;", "MPy=;", "MR=990;", "MD=5;", "MDA=;"})},
        GoldenCase{"a child without a preloaded frame",
                   [] {
                       LegacySceneInput in = plain();
                       in.hasChildAnim = true;
                       in.childAnim.frames = QStringLiteral("7");
                       in.childAnim.random = QStringLiteral("100");
                       in.childAnim.atEnd = true;
                       return in;
                   },
                   fileOf({kPlain[0], kPlain[1], kPlain[2], kPlain[3], kPlain[4], kPlain[5], "EMAF=7;",
                           "EMAR=100;", "EMAFl=End;"})},
        GoldenCase{"full background without a child",
                   [] {
                       LegacySceneInput in = plain();
                       in.hasFullAnim = true;
                       in.fullAnimFirstFrameName = QStringLiteral("Sea01.jpg");
                       in.fullAnim.frames = QStringLiteral("7");
                       in.fullAnim.pauseForTalk = true;
                       return in;
                   },
                   fileOf({kPlain[0], kPlain[1], kPlain[2], kPlain[3], kPlain[4], kPlain[5]})},
        GoldenCase{"full background inside the child",
                   [] {
                       LegacySceneInput in = plain();
                       in.hasChildAnim = in.hasFullAnim = true;
                       in.childAnim.preloadName = QStringLiteral("Kick01.jpg");
                       in.childAnim.atStart = true;
                       in.fullAnimFirstFrameName = QStringLiteral("Sea01.jpg");
                       in.fullAnim.frames = QStringLiteral("7");
                       in.fullAnim.random = QStringLiteral("10");
                       in.fullAnim.delayAtStart = in.fullAnim.pong = in.fullAnim.talkAtEnd = true;
                       in.fullAnim.pauseForTalk = true;
                       return in;
                   },
                   fileOf({kPlain[0], kPlain[1], kPlain[2], kPlain[3], kPlain[4], kPlain[5], "EMA=Kick01.jpg;",
                           "EMAFl=Start;", "MainAnimName=Sea01.jpg;", "MainAnimF=7;", "MainAnimS=;",
                           "MainAnimD=;", "MainAnimR=10;", "MainAnimDS=Start;", "MainAnimLoop=Pong;",
                           "MainAnimTalk=End;", "MainAnimMPause=Yes;"})},
        GoldenCase{"sound 2 without sound 1, and sound 3",
                   [] {
                       LegacySceneInput in = plain();
                       in.sounds.Sound1Random = QStringLiteral("5"); // no name: no sound-1 entries
                       in.sounds.Sound1Loop = FlagOn;
                       in.sounds.Sound2File = QStringLiteral("Bird.wav");
                       in.sounds.Sound2Random = QStringLiteral("30");
                       in.sounds.Sound3File = QStringLiteral("Wind.mp3"); // any name counts here
                       return in;
                   },
                   fileOf({kPlain[0], kPlain[1], kPlain[2], kPlain[3], kPlain[4], kPlain[5], "Sound2=Bird.wav;",
                           "Sound2R=30;", "Sound3=Wind.mp3;", "Sound3R=;"})},
        GoldenCase{"sound 1 and the alternate picture",
                   [] {
                       LegacySceneInput in = plain();
                       in.hasAltImage = true;
                       in.altImageName = QStringLiteral("Night.jpg");
                       in.sounds.Sound1File = QStringLiteral("Rain.wav");
                       in.sounds.Sound1Random = Value::integer(5);
                       in.sounds.Sound1Loop = FlagOn;
                       in.sounds.Sound1LoopDelay = QStringLiteral("2");
                       return in;
                   },
                   fileOf({kPlain[0], kPlain[1], kPlain[2], kPlain[3], kPlain[4], kPlain[5], "NI=Night.jpg;",
                           "Sound1=Rain.wav;", "Sound1R=5;", "Sound1Loop=True;", "Sound1LoopDelay=2;"})},
        GoldenCase{"a fractional placement, height before width",
                   [] {
                       LegacySceneInput in = plain();
                       in.mainMouth = {Value::real(350.5), Value::real(0.25), Value::real(1482 / 26.454545),
                                       Value::real(41.5)};
                       return in;
                   },
                   fileOf({kPlain[0], kPlain[1], "KMh=41.5;", "KMw=56.0206195192546;", "KMx=350.5;",
                           "KMy=0.25;"})}),
    [](const ::testing::TestParamInfo<GoldenCase> &info) { return testNameOf(info.param.name); });

TEST(LegacyWriter, AValueThatWouldBreakTheFileIsFoundByItsField)
{
    struct Case {
        const char *name;
        std::function<void(LegacySceneInput &)> change;
        const char *field;
    } cases[] = {
        {"semicolon in a picture name", [](LegacySceneInput &in) { in.mainMouthName = QStringLiteral("a;b.jpg"); },
         "the picture name of the main mouth layer"},
        {"line break in a placement read as text",
         [](LegacySceneInput &in) { in.mainMouth.LayerX = QStringLiteral("1\r\n2"); }, "the left of the main mouth layer"},
        {"equals sign in a sound's chance",
         [](LegacySceneInput &in) {
             in.sounds.Sound2File = QStringLiteral("Bird.wav");
             in.sounds.Sound2Random = QStringLiteral("a=b");
         },
         "the chance of sound two"},
        {"character outside the code page in a box",
         [](LegacySceneInput &in) {
             in.hasExtraAnim = true;
             in.extraAnim.speed = QStringLiteral("\u4e00");
         },
         "the Speed box of Extra Anim Properties"},
        {"folder in a sound's name",
         [](LegacySceneInput &in) { in.sounds.Sound1File = QStringLiteral("../Rain.wav"); },
         "the name of sound one"},
    };
    for (const Case &c : cases) {
        LegacySceneInput in = plain();
        c.change(in);
        const QString problem = checkSceneFields(legacySceneEntries(in)).error;
        EXPECT_TRUE(problem.contains(QString::fromUtf8(c.field))) << c.name << ": " << problem.toStdString();
    }
}

} // namespace
