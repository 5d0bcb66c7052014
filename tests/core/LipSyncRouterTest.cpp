// Which mouth moves and which talk mouth it shows, for visemes and for the
// engine set's mouth shapes.

#include "core/preview/LipSyncRouter.h"

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

TEST(LipSyncRouter, EachVisemeShowsItsTalkMouthOfTheSpeakersList)
{
    for (int id = 0; id <= 21; ++id) {
        EXPECT_EQ(visemeMouth(QStringLiteral("Velm"), id, false), velm(id + 1)) << "viseme " << id;
        EXPECT_EQ(visemeMouth(QStringLiteral("Velm"), id, true), velm(id + 23)) << "viseme " << id << " smiling";
        EXPECT_EQ(visemeMouth(QStringLiteral("User"), id, true), user(id + 1)) << "viseme " << id << " user";
    }
    EXPECT_EQ(visemeMouth(QStringLiteral("Velm"), 14, true), velm(37));
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
