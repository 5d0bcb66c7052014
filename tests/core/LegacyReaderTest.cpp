// The older reader's rules without any window: the semicolon rule, the line
// rule and the presence tests, and the records it makes of files written by
// both writers.

#include "core/legacy/LegacySceneReader.h"
#include "core/legacy/LegacySceneWriter.h"
#include "core/scene/SceneFileText.h"
#include "tests/support/Printers.h"

#include <gtest/gtest.h>

namespace {

std::string shown(const std::optional<QString> &v)
{
    return v ? '"' + v->toStdString() + '"' : std::string("absent");
}

TEST(LegacyReaderRules, SemicolonRule)
{
    struct Case {
        const char *name;
        const char *text;
        const char *key;
        std::optional<QString> value;
        bool skipped;
    } cases[] = {
        {"value up to the semicolon", "BG=Beach.jpg;\r\n", "BG=", QStringLiteral("Beach.jpg"), false},
        {"first occurrence", "KM=a.jpg;\r\nKM=b.jpg;\r\n", "KM=", QStringLiteral("a.jpg"), false},
        {"letter case counts", "km=a.jpg;\r\n", "KM=", std::nullopt, false},
        {"cut at the first semicolon", "BG=a;b.jpg;\r\n", "BG=", QStringLiteral("a"), false},
        {"semicolon on a later line", "MR=\r\nMD=5;\r\n", "MR=", QStringLiteral("\r\nMD=5"), false},
        {"empty value", "KMh=;\r\n", "KMh=", QString(), false},
        {"inside a longer key", "MPABG=x.jpg;\r\nBG=y.jpg;", "BG=", QStringLiteral("x.jpg"), false},
        {"no semicolon after the key", "BG=a.jpg\r\nKM=b.jpg\r\n", "BG=", std::nullopt, true},
        {"absent", "KM=a.jpg;", "BG=", std::nullopt, false},
        {"empty text", "", "BG=", std::nullopt, false},
    };
    for (const Case &c : cases) {
        QStringList skipped;
        const auto value = semicolonValue(QString::fromUtf8(c.text), QString::fromUtf8(c.key), &skipped);
        EXPECT_EQ(shown(value), shown(c.value)) << c.name;
        EXPECT_EQ(!skipped.isEmpty(), c.skipped) << c.name;
    }
}

TEST(LegacyReaderRules, LineRule)
{
    struct Case {
        const char *name;
        const char *text;
        const char *key;
        std::optional<QString> value;
    } cases[] = {
        {"well-formed line", "EMAF=7;\r\nEMAR=100;\r\n", "EMAF=", QStringLiteral("7")},
        {"any letter case", "emaf=7;\r\n", "EMAF=", QStringLiteral("7")},
        {"first occurrence", "EMAF=1;\r\nEMAF=2;\r\n", "EMAF=", QStringLiteral("1")},
        {"last character dropped without the semicolon", "EMAF=7\r\nEMAR=1;\r\n", "EMAF=", QString()},
        {"two digits without the semicolon", "EMAF=12\r\n", "EMAF=", QStringLiteral("1")},
        {"a semicolon inside is kept", "MainAnimName=a;b.jpg;\r\n", "MainAnimName=", QStringLiteral("a;b.jpg")},
        {"last line without a line end", "BG=x;\r\nTF=12;", "TF=", QStringLiteral("12")},
        {"line feeds only", "TF=12;\nTS=70;\n", "TF=", QStringLiteral("12")},
        {"a carriage return alone stays in the value", "TF=1;\r2;\r\n", "TF=", QStringLiteral("1;\r2")},
        {"nothing after the key", "TF=\r\nTS=70;\r\n", "TF=", QString()},
        {"one character after the key", "TF=;\r\n", "TF=", QString()},
        {"the key ends the text", "TS=70;\r\nTF=", "TF=", QString()},
        {"absent", "TS=70;\r\n", "TF=", std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(shown(lineValue(QString::fromUtf8(c.text), QString::fromUtf8(c.key))), shown(c.value)) << c.name;
}

TEST(LegacyReaderRules, PresenceAndTruthValues)
{
    EXPECT_TRUE(ParseLegacyScene(QStringLiteral("SV=3;\r\n")).twips);
    EXPECT_FALSE(ParseLegacyScene(QStringLiteral("sv=3;\r\n")).twips);
    EXPECT_FALSE(ParseLegacyScene(QStringLiteral("BG=a.jpg;\r\n")).twips);
    const LegacySceneRecord r =
        ParseLegacyScene(QStringLiteral("mainanimmpause=no;\r\nMAINANIMMPAUSE=YES;\r\nsound1pausefortalk=true;\r\n"));
    EXPECT_TRUE(r.fullPauseNo);
    EXPECT_TRUE(r.fullPauseYes);
    EXPECT_TRUE(r.sound1PauseForTalk);

    struct Case {
        const char *text;
        std::optional<bool> value;
    } truths[] = {
        {"True", true}, {"FALSE", false}, {"true", true}, {" False ", false}, {"1", true},      {"0", false},
        {"-1", true},   {"2.5", true},    {"0.0", false}, {"Yes", std::nullopt}, {"", std::nullopt},
        {"1x", std::nullopt},
    };
    for (const Case &c : truths) {
        const auto v = legacyTruthValue(QString::fromUtf8(c.text));
        EXPECT_EQ(v.has_value(), c.value.has_value()) << c.text;
        if (v && c.value) {
            EXPECT_EQ(*v, *c.value) << c.text;
        }
    }
}

TEST(LegacyReaderRules, DefaultsOfAbsentKeys)
{
    const LegacySceneRecord empty = ParseLegacyScene(QString());
    EXPECT_FALSE(empty.twips);
    EXPECT_FALSE(empty.background || empty.altImage || empty.mainMouth || empty.userMouth || empty.mainBlink ||
                 empty.userBlink || empty.extra || empty.childPreload || empty.fullAnimName || empty.trigger ||
                 empty.sound1 || empty.sound1Loop || empty.sound1LoopDelay);
    EXPECT_EQ(empty.extraPingPong, std::optional<bool>(true)) << "no MPL= gives Ping Pong";
    EXPECT_EQ(empty.extraDelayAtStart, std::nullopt) << "no MPLT= leaves the choice";
    EXPECT_TRUE(empty.skipped.isEmpty());

    // The numbers of a layer are read only with its name; an absent one is empty.
    const LegacySceneRecord r = ParseLegacyScene(
        QStringLiteral("KMh=41;\r\nKMw=56;\r\nKMx=350;\r\nKMy=250;\r\nUM=u.jpg;\r\nUMx=7;\r\nMPL=Other;\r\n"
                       "MPLT=End;\r\nMR=5;\r\n"));
    EXPECT_FALSE(r.mainMouth) << "no KM= leaves the mouth";
    ASSERT_TRUE(r.userMouth);
    EXPECT_EQ(r.userMouth->height, QString());
    EXPECT_EQ(r.userMouth->x, QStringLiteral("7"));
    EXPECT_EQ(r.extraPingPong, std::nullopt) << "any other MPL= value";
    EXPECT_EQ(r.extraDelayAtStart, std::optional<bool>(false));
    EXPECT_FALSE(r.extraBoxes.random) << "MR= is read only with MP=";

    const LegacySceneRecord mouth =
        ParseLegacyScene(QStringLiteral("KM=m.jpg;\r\nKMw=56;\r\nKMx=350;\r\nKMy=250;\r\n"));
    ASSERT_TRUE(mouth.mainMouth);
    EXPECT_EQ(QStringList({mouth.mainMouth->height, mouth.mainMouth->width, mouth.mainMouth->x, mouth.mainMouth->y}),
              QStringList({"", "56", "350", "250"}))
        << "KM= without KMh= empties the height";
}

TEST(LegacyReaderRules, WhatCannotBeUsedIsSkippedAndNamed)
{
    const LegacySceneRecord r = ParseLegacyScene(
        QStringLiteral("BG=../x.jpg;\r\nKM=Sub/m.jpg;\r\nKMx=5;\r\nTP=..\\t.jpg;\r\nSound1=C:x.wav;\r\n"
                       "Sound1Loop=Often;\r\nSound2=;\r\nEMA=/etc/passwd;\r\nKB=k.jpg\r\nKBx=1;\r\nUB=u.jpg"));
    EXPECT_FALSE(r.background);
    EXPECT_FALSE(r.mainMouth);
    EXPECT_FALSE(r.userBlink);
    EXPECT_FALSE(r.mainBlink) << "the semicolon rule reads on to the next line's \";\"";
    EXPECT_FALSE(r.trigger);
    EXPECT_FALSE(r.sound1);
    EXPECT_FALSE(r.sound1Loop);
    EXPECT_FALSE(r.sound2) << "an empty name counts as absent";
    EXPECT_FALSE(r.childPreload);
    EXPECT_FALSE(r.childPreloadLine);
    const QString all = r.skipped.join(u'\n');
    for (const char *named : {"BG=../x.jpg", "KM=Sub/m.jpg", "UB= (no \";\"", "KB=k.jpg...", "TP=..\\t.jpg", "Sound1=C:x.wav",
                              "Sound1Loop=Often", "EMA=/etc/passwd"})
        EXPECT_TRUE(all.contains(QString::fromUtf8(named))) << named << " in\n" << all.toStdString();
    EXPECT_FALSE(all.contains(QStringLiteral("Sound2"))) << all.toStdString();
    EXPECT_EQ(r.skipped.count(QStringLiteral("EMA=/etc/passwd (a name with a folder in it)")), 1);

    // Each skipped part is one line of the message, also a value with a lone CR in it.
    EXPECT_EQ(ParseLegacyScene(QStringLiteral("Sound1Loop=Often\rNever;\r\n")).skipped,
              QStringList{QStringLiteral("Sound1Loop=Often... (not True or False)")});
}

// A scene with every layer the two layouts share, written by the set-up's writer.
TEST(LegacyReaderLayouts, SetUpLayout)
{
    SceneSettings s;
    s.name = QStringLiteral("Beach");
    s.hasMainBlink = s.hasUser = s.hasUserBlink = s.hasExtraAnim = s.hasChildAnim = s.hasFullAnim = true;
    s.hasAltImage = s.hasTrigger = s.hasSmile = s.isDesktop = true;
    s.mainMouth = {Value::real(350), Value::real(250), Value::real(56.5), Value::real(41)};
    s.mainBlink = {Value::real(330), Value::real(180), Value::real(56), Value::real(20)};
    s.userMouth = {Value::real(100), Value::real(200), Value::real(30), Value::real(20)};
    s.userBlink = {Value::real(101), Value::real(150), Value::real(31), Value::real(21)};
    s.extra = {Value::real(583.5), Value::real(7), Value::real(96), Value::real(40)};
    s.trigger = {Value::real(5), Value::real(6), Value::real(70), Value::real(80)};
    s.triggerAnim = {QStringLiteral("3"), QStringLiteral("100")};
    s.extraAnim = {QStringLiteral("100"), QStringLiteral("12"), QString(), QStringLiteral("3"), QStringLiteral("90"),
                   true, false, false, true};
    s.childAnim = {QStringLiteral("Kick01.jpg"), QStringLiteral("7"), QStringLiteral("50"), false, true};
    s.fullAnim.frames = QStringLiteral("8");
    s.fullAnim.speed = QStringLiteral("70");
    s.fullAnim.delayAtEnd = s.fullAnim.pong = s.fullAnim.talkAtStart = s.fullAnim.randomSpeed = true;
    s.fullAnim.speedChance = QStringLiteral("50");
    s.fullAnim.minSpeed = QStringLiteral("1");
    s.fullAnim.maxSpeed = QStringLiteral("9");
    s.sounds.sound1 = QStringLiteral("Rain.wav");
    s.sounds.sound1Chance = QStringLiteral("4");
    s.sounds.sound1LoopDelay = QStringLiteral("2");
    s.sounds.sound1Loop = true;
    s.sounds.sound1PauseForTalk = true;
    s.sounds.sound3 = QStringLiteral("Wind.wav");
    s.sounds.sound3Chance = QStringLiteral("30");

    const LegacySceneRecord r = ParseLegacyScene(sceneText(sceneEntries(s)));
    EXPECT_TRUE(r.skipped.isEmpty()) << r.skipped.join(u'\n').toStdString();
    EXPECT_FALSE(r.twips);
    EXPECT_EQ(r.background, QStringLiteral("BeachBG.jpg"));
    EXPECT_EQ(r.altImage, QStringLiteral("BeachAlternate.jpg"));
    struct Layer {
        const char *name;
        const std::optional<LegacyLayer> &got;
        LegacyLayer want;
    } layers[] = {
        {"main mouth", r.mainMouth, {"BeachMouth01.jpg", "41", "56.5", "350", "250"}},
        {"main blink", r.mainBlink, {"BeachBlink01.jpg", "20", "56", "330", "180"}},
        {"user mouth", r.userMouth, {"BeachUserMouth01.jpg", "20", "30", "100", "200"}},
        {"user blink", r.userBlink, {"BeachUserBlink01.jpg", "21", "31", "101", "150"}},
        {"extra", r.extra, {"BeachExtra01.jpg", "40", "96", "583.5", "7"}},
    };
    for (const Layer &l : layers) {
        ASSERT_TRUE(l.got) << l.name;
        EXPECT_EQ(QStringList({l.got->name, l.got->height, l.got->width, l.got->x, l.got->y}),
                  QStringList({l.want.name, l.want.height, l.want.width, l.want.x, l.want.y}))
            << l.name;
    }
    EXPECT_EQ(r.extraBoxes.random, QStringLiteral("100"));
    EXPECT_EQ(r.extraBoxes.frames, QStringLiteral("12"));
    EXPECT_EQ(r.extraBoxes.delay, QStringLiteral("3"));
    EXPECT_EQ(r.extraBoxes.speed, QStringLiteral("90"));
    EXPECT_EQ(r.extraPingPong, std::optional<bool>(false));
    EXPECT_EQ(r.extraDelayAtStart, std::optional<bool>(false));
    EXPECT_EQ(r.childPreload, QStringLiteral("Kick01.jpg"));
    EXPECT_EQ(r.childPreloadLine, QStringLiteral("Kick01.jpg"));
    EXPECT_EQ(r.childFrames, QStringLiteral("7"));
    EXPECT_EQ(r.childRandomLine, QStringLiteral("50"));
    EXPECT_EQ(r.childAtStart, std::optional<bool>(false));
    EXPECT_TRUE(r.childEndLiteral && !r.childStartLiteral);
    EXPECT_EQ(r.fullAnimName, QStringLiteral("BeachFullAnim01.jpg"));
    EXPECT_EQ(r.fullFrames, QStringLiteral("8"));
    EXPECT_EQ(r.fullSpeed, QStringLiteral("70"));
    EXPECT_EQ(r.fullDelay, QString());
    EXPECT_TRUE(r.fullDelayEnd && r.fullPong && r.fullTalkStart && r.fullPauseNo);
    EXPECT_FALSE(r.fullDelayStart || r.fullLoop || r.fullTalkEnd || r.fullPauseYes);
    EXPECT_EQ(r.fullSpeedChance, QStringLiteral("50"));
    EXPECT_EQ(r.fullMaxSpeed, QStringLiteral("9"));
    EXPECT_EQ(r.trigger, QStringLiteral("BeachTrigger01.jpg"));
    EXPECT_EQ(QStringList({*r.triggerHeight, *r.triggerWidth, *r.triggerX, *r.triggerY}),
              QStringList({"80", "70", "5", "6"}));
    EXPECT_EQ(r.triggerFrames, QStringLiteral("3"));
    EXPECT_EQ(r.triggerSpeed, QStringLiteral("100"));
    EXPECT_EQ(r.sound1, QStringLiteral("Rain.wav"));
    EXPECT_EQ(r.sound1Random, QStringLiteral("4"));
    EXPECT_EQ(r.sound1Loop, std::optional<bool>(true));
    EXPECT_EQ(r.sound1LoopDelay, QStringLiteral("2"));
    EXPECT_TRUE(r.sound1PauseForTalk);
    EXPECT_FALSE(r.sound2);
    EXPECT_EQ(r.sound3, QStringLiteral("Wind.wav"));
    EXPECT_EQ(r.sound3Random, QStringLiteral("30"));
}

TEST(LegacyReaderLayouts, OlderLayoutInTwips)
{
    LegacySceneInput in;
    in.twips = true;
    in.backgroundName = QStringLiteral("bg.jpg");
    in.mainMouthName = QStringLiteral("velmmouth.jpg");
    in.mainMouth = {Value::real(1500), Value::real(750), Value::real(900), Value::real(450)};
    in.hasUserBlink = in.hasExtraAnim = true;
    in.userBlinkName = QStringLiteral("userblink.jpg");
    in.extraName = QStringLiteral("miscpart.jpg");
    in.extraAnim.loop = true;
    in.sounds.Sound1File = QStringLiteral("Rain.wav");
    in.sounds.Sound1Loop = FlagOff;

    const LegacySceneRecord r = ParseLegacyScene(sceneText(legacySceneEntries(in)));
    EXPECT_TRUE(r.skipped.isEmpty()) << r.skipped.join(u'\n').toStdString();
    EXPECT_TRUE(r.twips);
    ASSERT_TRUE(r.mainMouth);
    EXPECT_EQ(r.mainMouth->x, QStringLiteral("1500"));
    EXPECT_EQ(r.mainMouth->height, QStringLiteral("450"));
    EXPECT_FALSE(r.userMouth);
    ASSERT_TRUE(r.userBlink);
    EXPECT_EQ(r.userBlink->x, QString());
    ASSERT_TRUE(r.extra);
    EXPECT_EQ(r.extraBoxes.random, QStringLiteral("990"));
    EXPECT_EQ(r.extraBoxes.delay, QStringLiteral("5"));
    EXPECT_FALSE(r.extraBoxes.frames);
    EXPECT_EQ(r.extraPingPong, std::optional<bool>(false));
    EXPECT_EQ(r.sound1, QStringLiteral("Rain.wav"));
    EXPECT_EQ(r.sound1Random, QString());
    EXPECT_EQ(r.sound1Loop, std::optional<bool>(false));
    EXPECT_EQ(r.sound1LoopDelay, QString());
}

} // namespace
