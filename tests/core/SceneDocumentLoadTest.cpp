// The older editor's load on a scene document, with no window: a file the
// set-up wrote reads back into a document that writes the same file, and a
// file of the older layout goes round through a document unchanged.

#include "core/base/Text1252.h"
#include "core/legacy/LegacySceneDocument.h"
#include "core/scene/SceneDocument.h"

#include "tests/core/SceneBytes.h"
#include "tests/support/Printers.h"

#include <gtest/gtest.h>

namespace {

QByteArray setUpFileOf(const SceneDocument &document, const QString &name)
{
    return sceneFileBytes(sceneText(sceneEntries(sceneSettings(document, name))));
}

QByteArray olderFileOf(const SceneDocument &document)
{
    return sceneFileBytes(sceneText(legacySceneEntries(legacySceneInput(document))));
}

// What the older editor's Load Scene gives a fresh document from the bytes.
void load(SceneDocument &document, const QByteArray &bytes)
{
    const LegacySceneRecord record = ParseLegacyScene(fromWindows1252(bytes));
    EXPECT_EQ(record.skipped, QStringList());
    applyLegacyScene(document, record);
}

TEST(SceneDocumentLoad, ASetUpSceneReadBackWritesTheSameFile)
{
    SceneDocument document;
    int changes = 0;
    QObject::connect(&document, &SceneDocument::changed, [&changes] { ++changes; });
    load(document, beachSceneBytes());
    EXPECT_EQ(changes, 1);
    const SceneState &s = document.state();
    EXPECT_TRUE(isFlagOn(s.SceneHasMainBlink) && isFlagOn(s.SceneHasUser) && isFlagOn(s.SceneHasExtraAnim));
    EXPECT_EQ(document.dialogs().sounds.sound2, QStringLiteral("Bird.wav"));
    EXPECT_EQ(setUpFileOf(document, QStringLiteral("Beach")), beachSceneBytes());
}

// Every group of the older layout, with values that differ from the dialogs'
// start values, twice through a document.
TEST(SceneDocumentLoad, TheOlderLayoutGoesRoundUnchanged)
{
    SceneDocument first;
    SceneState &s = first.state();
    const std::pair<Value SceneState::*, const char *> names[] = {
        {&SceneState::BackgroundFileName, "Beach.jpg"}, {&SceneState::MainMouthFileName, "Lips.jpg"},
        {&SceneState::MainBlinkFileName, "Eyes.jpg"},   {&SceneState::UserMouthFileName, "Her Lips.jpg"},
        {&SceneState::UserBlinkFileName, "Her Eyes.jpg"}, {&SceneState::ExtraFileName, "Gull01.jpg"},
        {&SceneState::ChildPreloadName, "Wave01.jpg"},  {&SceneState::FullAnimFirstFrameName, "Surf01.jpg"},
        {&SceneState::AltImageName, "Dusk.jpg"},
    };
    for (const auto &[member, name] : names)
        s.*member = QString::fromUtf8(name);
    s.SceneHasMainBlink = s.SceneHasUser = s.SceneHasUserBlink = s.SceneHasExtraAnim = FlagOn;
    s.SceneHasChildAnim = s.SceneHasFullAnim = s.SceneHasAltImage = s.ExtraDelayAtOn = FlagOn;
    // Whole, fractional and typed numbers.
    for (int i = 0; i < 5; ++i)
        s.LayerPlacements[i] = {Value::real(12.5 * i), Value::longValue(40 + i), QStringLiteral("%1").arg(30 + i),
                                Value::real(41.0137464091709 - i)};
    s.Sounds.Sound1File = QStringLiteral("Surf.wav");
    s.Sounds.Sound1Random = QStringLiteral("7");
    s.Sounds.Sound1Loop = FlagOn;
    s.Sounds.Sound1LoopDelay = QStringLiteral("5");
    s.Sounds.Sound3File = QStringLiteral("Gulls.wav");
    s.Sounds.Sound3Random = QStringLiteral("25");
    SceneDialogValues &d = first.dialogs();
    d.extra.frames = QStringLiteral("12");
    d.extra.speed = QStringLiteral("90");
    d.extra.delayFrame = QStringLiteral("4");
    d.extra.delayAtStart = true;
    d.extra.delayAtEnd = false;
    d.child.random = QStringLiteral("50");
    d.child.frames = QStringLiteral("6");
    d.child.atStart = false;
    d.child.atEnd = true;
    d.fullAnim.random = QStringLiteral("1");
    d.fullAnim.frames = QStringLiteral("8");
    d.fullAnim.delay = QStringLiteral("2");
    d.fullAnim.loop = false;
    d.fullAnim.pong = true;
    d.fullAnim.delayAtStart = true;
    d.fullAnim.delayAtEnd = false;
    d.fullAnim.pauseForTalk = true;

    for (const CanvasUnit unit : {CanvasUnit::Pixels, CanvasUnit::Twips}) {
        SCOPED_TRACE(unit == CanvasUnit::Twips ? "in twips" : "in pixels");
        s.LegacyCanvasUnit = unit;
        const QByteArray bytes = olderFileOf(first);
        ASSERT_TRUE(bytes.contains("\r\nMD=3;\r\nMDA=4;\r\nMS=90;\r\n")) << bytes.toStdString();
        EXPECT_EQ(bytes.startsWith("SV=3;\r\n"), unit == CanvasUnit::Twips);
        SceneDocument second;
        load(second, bytes);
        EXPECT_EQ(second.state().LegacyCanvasUnit, unit);
        EXPECT_EQ(olderFileOf(second), bytes);
        // Preloaded child frames are not cut along with the extra animation.
        EXPECT_EQ(second.state().ChildAutoCropOn, FlagOff);
        EXPECT_EQ(second.dialogs().child.atEnd, true);
        EXPECT_EQ(second.dialogs().fullAnim.pong, true);
    }
}

// A value the file does not give stays as the document held it; the sound
// loop delay the file leaves out is 0.
TEST(SceneDocumentLoad, AbsentValuesStayAndTheLoopDelayGoesToNought)
{
    SceneDocument document;
    document.dialogs().trigger.speed = QStringLiteral("55");
    document.dialogs().extra.speed = QStringLiteral("77");
    load(document, fileOf({"BG=bg.bmp;", "KM=m.bmp;", "KMh=1;", "KMw=2;", "KMx=3;", "KMy=4;", "TF=5;"}));
    EXPECT_EQ(document.dialogs().trigger.frames, QStringLiteral("5"));
    EXPECT_EQ(document.dialogs().trigger.speed, QStringLiteral("55"));
    EXPECT_EQ(document.dialogs().extra.speed, QStringLiteral("77"));
    EXPECT_EQ(document.dialogs().sounds.sound1LoopDelay, QStringLiteral("0"));
    EXPECT_EQ(document.state().MainMouthFileName.toText(), QStringLiteral("m.bmp"));
    EXPECT_EQ(document.state().SceneHasExtraAnim, FlagOff);
}

} // namespace
