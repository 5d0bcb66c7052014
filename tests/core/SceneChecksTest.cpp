// Names and values the scene writer refuses before it writes anything.

#include "core/scene/SceneChecks.h"

#include <gtest/gtest.h>

namespace {

TEST(SceneChecks, Names)
{
    struct Case {
        const char *name;
        bool refused;
    } cases[] = {
        {"Beach", false},
        {"   ", false}, // a name of blanks is used as it stands
        {"My Scene 2", false},
        {"Caf\xc3\xa9", false},
        {"a/b", true},
        {"a\\b", true},
        {"..", true},
        {"up..", true},
        {"a;b", true},
        {"KM=x", true},
        {"Beach.jpg", true},
        {"Shot.BMP2", true},
        {"what?", true},
        {"tab\there", true},
        {"line\nbreak", true},
        {"\xe2\x98\x83", true}, // outside the code page
    };
    for (const Case &c : cases)
        EXPECT_EQ(!checkSceneName(QString::fromUtf8(c.name)).error.isEmpty(), c.refused) << c.name;

    // A file name holds 255 bytes; the longest picture name and its temporary
    // file add 26 to the scene name.
    EXPECT_TRUE(checkSceneName(QString(229, u'a')).error.isEmpty());
    EXPECT_FALSE(checkSceneName(QString(230, u'a')).error.isEmpty());
    EXPECT_FALSE(checkSceneName(QString(115, QChar(0xe9))).error.isEmpty()); // two bytes each on disk
}

TEST(SceneChecks, FramesAndPicturesThatWereNeverChosen)
{
    SceneState s;
    EXPECT_TRUE(checkSourcesChosen(s).error.isEmpty());

    s.SceneHasChildAnim = s.ChildAutoCropOn = FlagOn;
    EXPECT_TRUE(checkSourcesChosen(s).error.contains(QStringLiteral("no child frames were loaded")));
    s.ChildFrameSet.FrameFolder = QStringLiteral("/art/");
    EXPECT_TRUE(checkSourcesChosen(s).error.isEmpty());
    s.ChildFrameSet.FrameFolder = Value();
    s.ChildAutoCropOn = FlagOff; // a preloaded child frame needs no series
    EXPECT_TRUE(checkSourcesChosen(s).error.isEmpty());

    s.SceneHasAltImage = FlagOn;
    EXPECT_TRUE(checkSourcesChosen(s).error.contains(QStringLiteral("no picture was chosen")));
    s.AltImagePath = QStringLiteral("/pics/Night.jpg");
    EXPECT_TRUE(checkSourcesChosen(s).error.isEmpty());
}

TEST(SceneChecks, FieldsAreNamedAndOnlyTypedValuesCount)
{
    SceneSettings s;
    s.name = QStringLiteral("Beach");
    s.hasExtraAnim = true;
    s.extraAnim.speed = QStringLiteral("10;0");
    QString problem = checkSceneFields(sceneEntries(s)).error;
    EXPECT_TRUE(problem.contains(QStringLiteral("the Speed box of Extra Anim Properties"))) << problem.toStdString();

    s.extraAnim.speed = QStringLiteral("100");
    s.sounds.sound2 = QStringLiteral("a=b.wav");
    problem = checkSceneFields(sceneEntries(s)).error;
    EXPECT_TRUE(problem.contains(QStringLiteral("sound two"))) << problem.toStdString();

    // Sound names are names in the Sounds folder: a folder in front would lead out of it.
    for (const char *typed : {"../x.wav", "sub/x.wav", "..\\..\\x.wav"}) {
        s.sounds.sound2 = QString::fromUtf8(typed);
        problem = checkSceneFields(sceneEntries(s)).error;
        EXPECT_TRUE(problem.contains(QStringLiteral("sound two"))) << typed;
        EXPECT_TRUE(problem.contains(QStringLiteral("without a folder"))) << typed;
    }

    s.sounds.sound2 = QStringLiteral("song.mp3"); // not written, so not checked
    s.hasFullAnim = true;
    s.fullAnim.frames = QStringLiteral("7\r\n");
    problem = checkSceneFields(sceneEntries(s)).error;
    EXPECT_TRUE(problem.contains(QStringLiteral("the Frames box of Full BG Anim Properties")))
        << problem.toStdString();

    s.fullAnim.frames = QStringLiteral("7");
    EXPECT_TRUE(checkSceneFields(sceneEntries(s)).error.isEmpty());

    // A group that is off is not written and so not checked.
    s.hasTrigger = false;
    s.triggerAnim.frames = QStringLiteral(";");
    EXPECT_TRUE(checkSceneFields(sceneEntries(s)).error.isEmpty());
}

// Sound and child frame names travel to the companion on Windows, which cannot
// open a name with a drive, a stream or a control character in it.
TEST(SceneChecks, SoundAndChildNamesThatWindowsCannotOpen)
{
    struct Case {
        const char *label;
        const char *typed;
        bool refused;
    } cases[] = {
        {"plain", "Rain.wav", false},
        {"blanks and accents", "R\xc3\xa9gen 2.WAV", false},
        {"drive", "C:x.wav", true},
        {"stream", "x.wav:stream", true},
        {"tab", "x\tx.wav", true},
        {"control character", "x\x01.wav", true},
        {"question mark", "what?.wav", true},
        {"star", "*.wav", true},
        {"quote", "\"x\".wav", true},
        {"pipe", "a|b.wav", true},
        {"angle brackets", "<x>.wav", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        SceneSettings s;
        s.name = QStringLiteral("Beach");
        s.sounds.sound1 = QString::fromUtf8(c.typed);
        const QString soundProblem = checkSceneFields(sceneEntries(s)).error;
        EXPECT_EQ(!soundProblem.isEmpty(), c.refused) << soundProblem.toStdString();
        if (c.refused) {
            EXPECT_TRUE(soundProblem.contains(QStringLiteral("sound one"))) << soundProblem.toStdString();
        }

        SceneSettings child;
        child.name = QStringLiteral("Beach");
        child.hasExtraAnim = child.hasChildAnim = true;
        child.childAnim.preloadName = QString::fromUtf8(c.typed);
        EXPECT_EQ(!checkSceneFields(sceneEntries(child)).error.isEmpty(), c.refused);
    }
}

} // namespace
