// Names of the exported pictures and the source frames of every export.

#include "core/scene/SceneFrameFiles.h"

#include <gtest/gtest.h>

namespace {

const QString kRoot = QStringLiteral("/d/Velm5Pro/");
const QString kImages = QStringLiteral("/d/Velm5Pro/Images/");

AnimFrameSet pickedSet(const char *folder, const char *base, const char *ext, int first, int last, Value count)
{
    AnimFrameSet set;
    set.FrameFolder = QString::fromLatin1(folder);
    set.FrameBaseName = QString::fromLatin1(base);
    set.FrameExt = QString::fromLatin1(ext);
    set.FirstFrame = Value::integer(int16_t(first));
    set.LastFrame = Value::integer(int16_t(last));
    set.FrameCount = count;
    return set;
}

QStringList sources(const FramePlan &plan)
{
    QStringList out;
    for (const FrameCopy &f : plan.frames)
        out << f.source;
    return out;
}

QStringList targets(const FramePlan &plan)
{
    QStringList out;
    for (const FrameCopy &f : plan.frames)
        out << f.target.mid(kImages.size());
    return out;
}

TEST(SceneFrameFiles, Numbers)
{
    EXPECT_EQ(frameNumberText(0), QStringLiteral("00"));
    EXPECT_EQ(frameNumberText(1), QStringLiteral("01"));
    EXPECT_EQ(frameNumberText(9), QStringLiteral("09"));
    EXPECT_EQ(frameNumberText(10), QStringLiteral("10"));
    EXPECT_EQ(frameNumberText(100), QStringLiteral("100"));
}

TEST(SceneFrameFiles, Paths)
{
    EXPECT_EQ(saveRootFolder(QStringLiteral("/d/Velm5Pro")), kRoot);
    EXPECT_EQ(saveRootFolder(kRoot), kRoot);
    EXPECT_EQ(sceneFilePath(kRoot, QStringLiteral("Beach")), QStringLiteral("/d/Velm5Pro/Scenes/Beach.scn"));
    EXPECT_EQ(scenePicturePath(kRoot, QStringLiteral("Beach"), QStringLiteral("BG.jpg")), kImages + "BeachBG.jpg");
    EXPECT_EQ(heldFrameTargets(kRoot, QStringLiteral("Beach"), QStringLiteral("Blink"), 4),
              QStringList({kImages + "BeachBlink01.jpg", kImages + "BeachBlink02.jpg", kImages + "BeachBlink03.jpg",
                           kImages + "BeachBlink04.jpg"}));
}

TEST(SceneFrameFiles, WholeNumbers)
{
    EXPECT_EQ(wholeNumber16(Value()), int16_t(0));
    EXPECT_EQ(wholeNumber16(Value(" 12 ")), int16_t(12));
    EXPECT_EQ(wholeNumber16(Value("2.5")), int16_t(2));
    EXPECT_EQ(wholeNumber16(Value::real(3.5)), int16_t(4));
    EXPECT_FALSE(wholeNumber16(Value("")));
    EXPECT_FALSE(wholeNumber16(Value("seven")));
    EXPECT_FALSE(wholeNumber16(Value("40000")));
    EXPECT_FALSE(wholeNumber16(Value::longValue(-40000)));
    // Beyond every range: refused, never converted out of range.
    for (const char *text : {"1e300", "1e400", "nan", "inf", "&HFFFFFFFFFFFFFFFFF"})
        EXPECT_FALSE(wholeNumber16(Value(QString::fromUtf8(text)))) << text;
    for (double v : {1e300, -1e300, qInf(), qQNaN()})
        EXPECT_FALSE(wholeNumber16(Value::real(v))) << v;
}

TEST(SceneFrameFiles, ExtraFromItsFirstFrame)
{
    SceneState s;
    s.ExtraFrameSet = pickedSet("/art/", "Fish", ".bmp", 5, 7, Value::integer(3));
    const FramePlan plan = extraFramePlan(s, kRoot, QStringLiteral("Beach"));
    EXPECT_EQ(sources(plan), QStringList({"/art/Fish05.bmp", "/art/Fish06.bmp", "/art/Fish07.bmp"}));
    EXPECT_EQ(targets(plan), QStringList({"BeachExtra01.jpg", "BeachExtra02.jpg", "BeachExtra03.jpg"}));

    s.ExtraFrameSet = pickedSet("C:\\art\\", "Fish", ".bmp", 1, 12, Value::integer(12));
    const FramePlan twelve = extraFramePlan(s, kRoot, QStringLiteral("Beach"));
    ASSERT_EQ(twelve.frames.size(), 12);
    EXPECT_EQ(twelve.frames[8].source, QStringLiteral("C:/art/Fish09.bmp"));
    EXPECT_EQ(twelve.frames[9].source, QStringLiteral("C:/art/Fish10.bmp"));
    EXPECT_EQ(targets(twelve)[9], QStringLiteral("BeachExtra10.jpg"));

    // Alpha frames: the extra set's numbers, the alpha set's files.
    s.AlphaFrameSet.FrameFolder = QStringLiteral("/alpha/");
    s.AlphaFrameSet.FrameBaseName = QStringLiteral("A-00");
    s.AlphaFrameSet.FrameExt = QStringLiteral(".jpg");
    const FramePlan alpha = alphaFramePlan(s, kRoot, QStringLiteral("Beach"));
    ASSERT_EQ(alpha.frames.size(), 12);
    EXPECT_EQ(alpha.frames[0].source, QStringLiteral("/alpha/A-0001.jpg"));
    EXPECT_EQ(targets(alpha)[11], QStringLiteral("BeachExtraAlpha12.jpg"));
}

TEST(SceneFrameFiles, TriggerFromItsRecordedFirstFrame)
{
    SceneState s;
    s.TriggerFrameSet = pickedSet("/t/", "Trig", ".bmp", 5, 7, Value("3"));
    const FramePlan plan = triggerFramePlan(s, kRoot, QStringLiteral("Beach"));
    EXPECT_EQ(sources(plan), QStringList({"/t/Trig05.bmp", "/t/Trig06.bmp", "/t/Trig07.bmp"}));
    EXPECT_EQ(targets(plan), QStringList({"BeachTrigger01.jpg", "BeachTrigger02.jpg", "BeachTrigger03.jpg"}));

    s.TriggerFrameSet.FrameCount = Value("three");
    EXPECT_TRUE(triggerFramePlan(s, kRoot, QStringLiteral("Beach")).frames.isEmpty());
    EXPECT_FALSE(triggerFramePlan(s, kRoot, QStringLiteral("Beach")).error.isEmpty());
}

TEST(SceneFrameFiles, SmileAndBrowFromTheSeries)
{
    SceneState s;
    s.PrimaryFramePrefix = QStringLiteral("/f/Girl");
    s.PrimaryFrameExt = QStringLiteral(".jpg");
    const FramePlan smile = smileFramePlan(s, kRoot, QStringLiteral("B"));
    ASSERT_EQ(smile.frames.size(), 14);
    EXPECT_EQ(smile.frames.first().source, QStringLiteral("/f/Girl0008.jpg"));
    EXPECT_EQ(smile.frames.last().source, QStringLiteral("/f/Girl0021.jpg"));
    EXPECT_EQ(targets(smile).last(), QStringLiteral("BSmile14.jpg"));
    const FramePlan brow = browFramePlan(s, kRoot, QStringLiteral("B"));
    ASSERT_EQ(brow.frames.size(), 9);
    EXPECT_EQ(brow.frames.first().source, QStringLiteral("/f/Girl0005.jpg"));
    EXPECT_EQ(brow.frames.last().source, QStringLiteral("/f/Girl0013.jpg"));
    EXPECT_EQ(targets(brow).first(), QStringLiteral("BBrow01.jpg"));
}

TEST(SceneFrameFiles, Child)
{
    SceneState s;
    s.ChildFrameSet = pickedSet("/k/", "Kid", ".bmp", 0, 2, Value());
    const FramePlan plan = childFramePlan(s, kRoot, QStringLiteral("B"));
    EXPECT_EQ(sources(plan), QStringList({"/k/Kid00.bmp", "/k/Kid01.bmp", "/k/Kid02.bmp"}));
    EXPECT_EQ(targets(plan), QStringList({"BChild01.jpg", "BChild02.jpg", "BChild03.jpg"}));

    // A set no loader filled: one frame named "00".
    SceneState empty;
    EXPECT_EQ(sources(childFramePlan(empty, kRoot, QStringLiteral("B"))), QStringList({"00"}));

    s.ChildFrameSet.FirstFrame = Value::integer(-32768);
    s.ChildFrameSet.LastFrame = Value::integer(32767);
    EXPECT_FALSE(childFramePlan(s, kRoot, QStringLiteral("B")).error.isEmpty());
}

TEST(SceneFrameFiles, FullAnimFromFrameOne)
{
    SceneState s;
    s.FullAnimFrameSet.FrameFolder = QStringLiteral("/art/");
    s.FullAnimFrameSet.FrameBaseName = QStringLiteral("Picture-00");
    s.FullAnimFrameSet.FrameExt = QStringLiteral("bmp");
    const FramePlan plan = fullAnimFramePlan(s, QStringLiteral("7"), kRoot, QStringLiteral("B"));
    ASSERT_EQ(plan.frames.size(), 7);
    EXPECT_EQ(plan.frames.first().source, QStringLiteral("/art/Picture-0001.bmp"));
    EXPECT_EQ(plan.frames.last().source, QStringLiteral("/art/Picture-0007.bmp"));
    EXPECT_EQ(targets(plan).last(), QStringLiteral("BFullAnim07.jpg"));

    EXPECT_FALSE(fullAnimFramePlan(s, QString(), kRoot, QStringLiteral("B")).error.isEmpty());
    const FramePlan none = fullAnimFramePlan(s, QStringLiteral("0"), kRoot, QStringLiteral("B"));
    EXPECT_TRUE(none.frames.isEmpty());
    EXPECT_TRUE(none.error.isEmpty());
}

} // namespace
