// The rules the scene document keeps by itself, with no window: the extra and
// trigger animations' frame counts follow their Frames boxes, the child
// animation's frame source has one writer, and the older editor's load gives
// all of them, the canvas's unit included, to a document that no dialog shows.

#include "core/base/Text1252.h"
#include "core/legacy/LegacySceneDocument.h"
#include "core/scene/SceneDocument.h"
#include "core/scene/SceneFrameFiles.h"

#include "tests/core/SceneBytes.h"
#include "tests/support/Printers.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace {

void load(SceneDocument &document, const QByteArray &bytes)
{
    applyLegacyScene(document, ParseLegacyScene(fromWindows1252(bytes)));
}

// The frames the save would export for the document's extra, trigger and
// full-background animations.
struct PlannedFrames {
    qsizetype extra, trigger, fullAnim;
};

PlannedFrames planned(const SceneDocument &document)
{
    const QString root = QStringLiteral("/base/");
    const SceneState &s = document.state();
    return {extraFramePlan(s, root, QStringLiteral("Sea")).frames.size(),
            triggerFramePlan(s, root, QStringLiteral("Sea")).frames.size(),
            fullAnimFramePlan(s, document.dialogs().fullAnim.frames, root, QStringLiteral("Sea")).frames.size()};
}

TEST(SceneDocumentRules, TheOlderEditorsLoadGivesTheCountsWithNoDialog)
{
    // The core's tests run without Qt Widgets: no dialog can exist.
    ASSERT_FALSE(QCoreApplication::instance()->inherits("QApplication"));

    SceneDocument document;
    int changes = 0;
    QObject::connect(&document, &SceneDocument::changed, [&changes] { ++changes; });
    load(document, fileOf({"SV=3;", "BG=bg.jpg;", "KM=m.jpg;", "KMh=1;", "KMw=2;", "KMx=3;", "KMy=4;", "MiscOn;",
                           "MP=Gull01.jpg;", "MPh=5;", "MPw=6;", "MPx=7;", "MPy=8;", "MF=12;", "EMA=Wave01.jpg;",
                           "EMAF=6;", "MainAnimName=Surf01.jpg;", "MainAnimF=8;", "TF=05;"}));
    EXPECT_EQ(changes, 1);

    const SceneState &s = document.state();
    EXPECT_EQ(s.ExtraFrameSet.FrameCount.kind(), Value::Kind::Integer);
    EXPECT_EQ(s.ExtraFrameSet.FrameCount.toText(), QStringLiteral("12"));
    // The trigger's count is the box's text as it stands.
    EXPECT_EQ(s.TriggerFrameSet.FrameCount.kind(), Value::Kind::Text);
    EXPECT_EQ(s.TriggerFrameSet.FrameCount.toText(), QStringLiteral("05"));
    EXPECT_EQ(document.dialogs().child.frames, QStringLiteral("6"));
    EXPECT_EQ(document.dialogs().fullAnim.frames, QStringLiteral("8"));
    const PlannedFrames frames = planned(document);
    EXPECT_EQ(frames.extra, 12);
    EXPECT_EQ(frames.trigger, 5);
    EXPECT_EQ(frames.fullAnim, 8);

    // Preloaded child frames: not cut, and automatic crop is not offered.
    const SceneDialogValues &d = document.dialogs();
    EXPECT_EQ(d.childBoxes.source, ChildFrameSource::Preloaded);
    EXPECT_FALSE(d.childBoxes.autoCropOffered);
    EXPECT_EQ(d.childBoxes.preloadBox, QStringLiteral("Wave01.jpg"));
    EXPECT_EQ(s.ChildAutoCropOn, FlagOff);
    EXPECT_EQ(s.ChildPreloadName.toText(), QStringLiteral("Wave01.jpg"));
    EXPECT_EQ(d.fullAnimNameBox, QStringLiteral("Surf01.jpg"));
    EXPECT_EQ(s.LegacyCanvasUnit, CanvasUnit::Twips);
}

// Each load into the same document changes the Frames boxes; a count follows a
// box only when its new text is a count.
TEST(SceneDocumentRules, TheCountsFollowTheirBoxesWhenTheyHoldACount)
{
    const struct {
        const char *extraBox, *triggerBox; // as the file gives them
        const char *extraCount, *triggerCount;
    } steps[] = {
        {"12", "05", "12", "05"},
        {"abc", "x", "12", "05"},     // no count: the one before stays
        {"", "", "12", "05"},         // emptied
        {"40000", "40000", "12", "05"}, // beyond 16 bits
        {"-3", " 7", "-3", " 7"},
        {"-3", "7", "-3", "7"},       // only the trigger's text changed
    };
    SceneDocument document;
    EXPECT_TRUE(document.state().ExtraFrameSet.FrameCount.isUnset()) << "the start values count nothing";
    EXPECT_TRUE(document.state().TriggerFrameSet.FrameCount.isUnset());
    for (const auto &step : steps) {
        SCOPED_TRACE(step.extraBox);
        const QByteArray mp = QByteArray("MF=") + step.extraBox + ';';
        const QByteArray tf = QByteArray("TF=") + step.triggerBox + ';';
        load(document, fileOf({"MP=Gull01.jpg;", mp.constData(), tf.constData()}));
        EXPECT_EQ(document.dialogs().extra.frames, QString::fromUtf8(step.extraBox));
        EXPECT_EQ(document.state().ExtraFrameSet.FrameCount.toText(), QString::fromUtf8(step.extraCount));
        EXPECT_EQ(document.state().TriggerFrameSet.FrameCount.toText(), QString::fromUtf8(step.triggerCount));
    }

    // A dialog that went starts its boxes again and leaves the counts; the
    // next text typed counts.
    document.restartExtraValues();
    document.restartTriggerValues();
    document.noteChanged();
    EXPECT_EQ(document.state().ExtraFrameSet.FrameCount.toText(), QStringLiteral("-3"));
    EXPECT_EQ(document.state().TriggerFrameSet.FrameCount.toText(), QStringLiteral("7"));
    document.dialogs().extra.frames = QStringLiteral("9");
    document.noteChanged();
    EXPECT_EQ(document.state().ExtraFrameSet.FrameCount.toText(), QStringLiteral("9"));

    document.reset();
    EXPECT_TRUE(document.state().ExtraFrameSet.FrameCount.isUnset());
    EXPECT_TRUE(document.state().TriggerFrameSet.FrameCount.isUnset());
}

// Whoever chooses the child's frame source, the flag the save reads and the
// preloaded name follow from it; a choice made again says nothing.
TEST(SceneDocumentRules, TheChildFrameSourceHasOneWriter)
{
    const struct {
        ChildFrameSource source;
        Flag autoCrop;
        const char *preloadName;
        int changes;
    } steps[] = {
        {ChildFrameSource::Preloaded, FlagOff, "Wave01.jpg", 1},
        {ChildFrameSource::Preloaded, FlagOff, "Wave01.jpg", 0},
        {ChildFrameSource::AutoCrop, FlagOn, "", 1}, // the preloaded name goes
        {ChildFrameSource::Preloaded, FlagOff, "", 1},
    };
    SceneDocument document;
    document.state().ChildPreloadName = QStringLiteral("Wave01.jpg");
    int changes = 0;
    QObject::connect(&document, &SceneDocument::changed, [&changes] { ++changes; });
    for (const auto &step : steps) {
        SCOPED_TRACE(step.preloadName);
        changes = 0;
        document.chooseChildFrames(step.source);
        EXPECT_EQ(document.dialogs().childBoxes.source, step.source);
        EXPECT_EQ(document.state().ChildAutoCropOn, step.autoCrop);
        EXPECT_EQ(document.state().ChildPreloadName.toText(), QString::fromUtf8(step.preloadName));
        EXPECT_EQ(changes, step.changes);
    }

    // The dialog went: its boxes start unchosen, the flag stays for the save.
    document.chooseChildFrames(ChildFrameSource::AutoCrop);
    document.restartChildValues();
    EXPECT_EQ(document.dialogs().childBoxes.source, ChildFrameSource::Unchosen);
    EXPECT_EQ(document.state().ChildAutoCropOn, FlagOn);

    // A load with preloaded frames takes automatic crop away until a new scene.
    load(document, fileOf({"EMA=Kick01.jpg;"}));
    EXPECT_EQ(document.state().ChildAutoCropOn, FlagOff);
    EXPECT_FALSE(document.dialogs().childBoxes.autoCropOffered);
    changes = 0;
    document.offerChildAutoCrop();
    EXPECT_TRUE(document.dialogs().childBoxes.autoCropOffered);
    EXPECT_EQ(changes, 1);
}

} // namespace
