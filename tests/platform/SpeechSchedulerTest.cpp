// The viseme schedule on a virtual clock: each viseme fires once the clock has
// passed its sample, in order, the final 0 when the utterance has played to
// its end; a purge or a new utterance drops what is pending, and nothing of a
// purged utterance arrives later.

#include "core/sound/SpeechScheduler.h"

#include "tests/support/program/SpeechFixture.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include "tests/support/Printers.h"

namespace {

struct Fired {
    quint64 utterance;
    QString speaker;
    int id;
    qint64 position;
    bool operator==(const Fired &) const = default;
};

void PrintTo(const Fired &f, std::ostream *os)
{
    *os << "{" << f.utterance << ", " << f.speaker.toStdString() << ", " << f.id << " @" << f.position << "}";
}

class SpeechSchedulerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QObject::connect(&scheduler, &SpeechScheduler::viseme, &scheduler,
                         [this](quint64 u, const QString &who, int id, qint64 position) {
                             fired.push_back({u, who, id, position});
                         });
    }
    // Moves the virtual clock and runs the scheduler's tick, as its timer does.
    std::vector<Fired> playTo(qint64 samples)
    {
        fired.clear();
        output.clock = samples;
        scheduler.tick();
        return fired;
    }

    VirtualSpeechOutput output;
    SpeechScheduler scheduler{&output};
    std::vector<Fired> fired;
};

} // namespace

TEST_F(SpeechSchedulerTest, VisemesFireWhenTheClockPassesThemAndZeroAtTheEnd)
{
    QSignalSpy finished(&scheduler, &SpeechScheduler::finished);
    scheduler.begin(1, QStringLiteral("Velm"));
    scheduler.add(1, {{0, 7}, {1000, 4}});
    scheduler.add(1, {{1000, 19}, {2500, 13}});
    const auto velm = [](int id, qint64 at) { return Fired{1, QStringLiteral("Velm"), id, at}; };

    struct Step {
        const char *name;
        qint64 clock;
        std::vector<Fired> expected;
    };
    const Step steps[] = {
        {"nothing handed to the device yet", 0, {}},
        {"first sample played", 1, {velm(7, 0)}},
        {"exactly at the next position", 1000, {}},
        {"past it: both visemes of that sample, in order", 1001, {velm(4, 1000), velm(19, 1000)}},
        {"the last viseme, synthesis not ended", 9000, {velm(13, 2500)}},
        {"still nothing more", 9500, {}},
    };
    for (const Step &step : steps)
        EXPECT_EQ(playTo(step.clock), step.expected) << step.name;
    EXPECT_EQ(finished.count(), 0);

    scheduler.end(1, 12000);
    EXPECT_EQ(playTo(11999), std::vector<Fired>{}) << "one sample before the end";
    EXPECT_EQ(playTo(12000), std::vector<Fired>{velm(0, 12000)}) << "played to its end";
    EXPECT_EQ(finished.count(), 1);
    EXPECT_FALSE(scheduler.isActive());
    EXPECT_EQ(playTo(50000), std::vector<Fired>{}) << "nothing after the end";
}

TEST_F(SpeechSchedulerTest, APurgeMidwayDropsTheRestAndLateDeliveriesOfThatUtterance)
{
    scheduler.begin(1, QStringLiteral("Velm"));
    scheduler.add(1, {{0, 7}, {500, 1}, {900, 21}});
    EXPECT_EQ(playTo(600).size(), 2u);

    scheduler.purge();
    EXPECT_EQ(output.stops, 1) << "the sound stops";
    scheduler.add(1, {{1000, 6}}); // the speech thread's last block, arriving late
    scheduler.end(1, 2000);
    EXPECT_EQ(playTo(100000), std::vector<Fired>{}) << "no pending viseme, no final 0";
    EXPECT_FALSE(scheduler.isActive());
}

TEST_F(SpeechSchedulerTest, ANewUtterancePurgesTheRunningOneAndKeepsItsOwnSpeaker)
{
    scheduler.begin(1, QStringLiteral("Velm"));
    scheduler.add(1, {{0, 7}, {800, 4}});
    EXPECT_EQ(playTo(10).size(), 1u);

    scheduler.begin(2, QStringLiteral("User"));
    EXPECT_EQ(output.stops, 1);
    scheduler.add(1, {{900, 9}}); // late visemes of the first utterance
    scheduler.end(1, 1000);
    scheduler.add(2, {{0, 21}});
    scheduler.end(2, 300);
    EXPECT_EQ(playTo(5000),
              (std::vector<Fired>{{2, QStringLiteral("User"), 21, 0}, {2, QStringLiteral("User"), 0, 300}}));
}

TEST_F(SpeechSchedulerTest, AHandlerThatSpeaksAgainStopsTheOldUtterancesEvents)
{
    scheduler.begin(1, QStringLiteral("Velm"));
    scheduler.add(1, {{0, 7}, {10, 4}, {20, 19}});
    QObject::connect(&scheduler, &SpeechScheduler::viseme, &scheduler, [this](quint64 u, const QString &, int id) {
        if (u == 1 && id == 7)
            scheduler.begin(2, QStringLiteral("User"));
    });
    EXPECT_EQ(playTo(1000), (std::vector<Fired>{{1, QStringLiteral("Velm"), 7, 0}}));
    EXPECT_EQ(scheduler.current(), 2u);
}

TEST_F(SpeechSchedulerTest, AnUtteranceWithoutVisemesStillEndsAtRest)
{
    scheduler.begin(3, QStringLiteral("Velm"));
    scheduler.end(3, 0);
    EXPECT_EQ(playTo(0), (std::vector<Fired>{{3, QStringLiteral("Velm"), 0, 0}}));
}
