// Which mouth moves and which talk mouth it shows, for visemes and for the
// engine set's mouth shapes.

#include "core/preview/LipSyncRouter.h"
#include "core/preview/TalkTable.h"

#include <gtest/gtest.h>

#include "tests/support/Printers.h"

void PrintTo(const MouthPick &p, std::ostream *os)
{
    *os << "{box " << int(p.box) << ", " << p.key.toStdString() << ", entry " << p.entry << "}";
}

namespace {

MouthPick velm(int entry)
{
    return {MouthBox::VelmMouth, QStringLiteral("KMT"), entry};
}

MouthPick user(int entry)
{
    return {MouthBox::UserMouth, QStringLiteral("UMT"), entry};
}

} // namespace

// Every viseme's talk mouth, written out from the talk table and the smile's
// talk table: the entry shown while not smiling, the mouth frame drawn there,
// and the entry shown while a smile shows. The user's list has no smile.
TEST(LipSyncRouter, EachVisemeShowsItsTalkMouthOfTheSpeakersList)
{
    struct Case {
        int viseme, entry, frame, smiling;
    };
    const Case cases[] = {
        {0, 1, 1, 23},   {1, 2, 5, 24},   {2, 3, 5, 25},   {3, 4, 4, 26},   {4, 5, 4, 27},   {5, 6, 3, 28},
        {6, 7, 3, 29},   {7, 8, 7, 30},   {8, 9, 7, 31},   {9, 10, 5, 32},  {10, 11, 7, 33}, {11, 12, 4, 34},
        {12, 13, 4, 35}, {13, 14, 7, 36}, {14, 15, 6, 37}, {15, 16, 2, 38}, {16, 17, 7, 39}, {17, 18, 3, 40},
        {18, 19, 2, 41}, {19, 20, 2, 42}, {20, 21, 3, 43}, {21, 22, 1, 44},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(::testing::Message() << "viseme " << c.viseme);
        EXPECT_EQ(visemeMouth(QStringLiteral("Velm"), c.viseme, false), velm(c.entry));
        EXPECT_EQ(TalkMouthFrames[c.entry - 1], c.frame);
        EXPECT_EQ(visemeMouth(QStringLiteral("Velm"), c.viseme, true), velm(c.smiling));
        EXPECT_EQ(visemeMouth(QStringLiteral("User"), c.viseme, false), user(c.entry));
        EXPECT_EQ(visemeMouth(QStringLiteral("User"), c.viseme, true), user(c.entry));
    }
}

TEST(LipSyncRouter, OnlyTheTwoSpeakersMoveAMouth)
{
    for (const char *speaker : {"", "velm", "USER", "Velm ", "Other"}) {
        EXPECT_EQ(visemeMouth(QString::fromUtf8(speaker), 3, false), MouthPick{}) << '"' << speaker << '"';
        EXPECT_EQ(mouthShapeMouth(QString::fromUtf8(speaker), 200, 0), MouthPick{}) << '"' << speaker << '"';
    }
}

TEST(LipSyncRouter, MouthShapesByTheFirstMatchingRule)
{
    struct Case {
        const char *name;
        int16_t jaw, lip;
        std::optional<int> entry;
    };
    const Case cases[] = {
        {"lip tension 101, any jaw", -5, 101, 15},
        {"lip tension 101, wide jaw", 255, 101, 15},
        {"lip tension 100, jaw 230", 230, 100, 10},
        {"jaw 229", 229, 0, 12},
        {"jaw 176", 176, 0, 12},
        {"jaw 175", 175, 0, 6},
        {"jaw 118", 118, 0, 6},
        {"jaw 117", 117, 0, 20},
        {"jaw 59", 59, 0, 20},
        {"jaw 58", 58, 0, 22},
        {"jaw 0", 0, 0, 22},
        {"negative jaw", -1, 100, std::nullopt},
        {"most negative jaw", -32768, -32768, std::nullopt},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(mouthShapeEntry(c.jaw, c.lip), c.entry) << c.name;
        EXPECT_EQ(mouthShapeMouth(QStringLiteral("Velm"), c.jaw, c.lip), c.entry ? velm(*c.entry) : MouthPick{})
            << c.name;
        EXPECT_EQ(mouthShapeMouth(QStringLiteral("User"), c.jaw, c.lip), c.entry ? user(*c.entry) : MouthPick{})
            << c.name << " (user)";
    }
}
