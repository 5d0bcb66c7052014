// Window timers: enabling one that runs does not restart it, 0 never ticks,
// a bad interval is refused; and the virtual clock that runs them in tests.

#include "core/system/Timer.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace {

// Records the virtual times at which each timer ticked.
struct Ticks {
    QList<qint64> at;
    void watch(Timer &timer, const VirtualClock &clock)
    {
        QObject::connect(&timer, &Timer::Tick, &timer, [this, &clock] { at << clock.Now(); });
    }
};

TEST(Timer, ReEnablingARunningTimerDoesNotRestartIt)
{
    VirtualClock clock;
    QObject owner;
    Timer timer(&owner, 1000, true);
    Ticks ticks;
    ticks.watch(timer, clock);
    for (int i = 0; i < 15; ++i) {
        clock.Advance(100);
        timer.SetEnabled(true);
    }
    EXPECT_EQ(ticks.at, (QList<qint64>{1000}));

    // Disabled and enabled again, it counts from then.
    timer.SetEnabled(false);
    timer.SetEnabled(true);
    clock.Advance(2500);
    EXPECT_EQ(ticks.at, (QList<qint64>{1000, 2500, 3500}));
}

TEST(Timer, IntervalRules)
{
    VirtualClock clock;
    QObject owner;
    Timer timer(&owner, 0, true);
    Ticks ticks;
    ticks.watch(timer, clock);
    clock.Advance(10000);
    EXPECT_TRUE(timer.Enabled()); // an interval of 0 reads enabled
    EXPECT_TRUE(ticks.at.isEmpty()); // and never ticks

    ASSERT_TRUE(timer.SetInterval(300)); // counts from now
    clock.Advance(700);
    EXPECT_EQ(ticks.at, (QList<qint64>{10300, 10600}));

    const struct {
        const char *label;
        const char *text;
    } bad[] = {{"negative", "-1"}, {"above 65535", "65536"}, {"not a number", "fast"}, {"empty", ""},
               {"nan", "nan"}, {"beyond a double", "1e400"}};
    for (const auto &row : bad) {
        EXPECT_FALSE(timer.SetIntervalText(QString::fromUtf8(row.text))) << row.label;
        EXPECT_EQ(timer.Interval(), 300) << row.label;
    }
    clock.Advance(200); // the old interval kept running: 10900
    EXPECT_EQ(ticks.at.last(), 10900);

    // A new interval restarts the count; the same one does not.
    clock.Advance(100); // 11000
    ASSERT_TRUE(timer.SetInterval(300));
    clock.Advance(200); // 11200: the tick due at 11200 comes
    EXPECT_EQ(ticks.at.last(), 11200);
    ASSERT_TRUE(timer.SetIntervalText(QStringLiteral("250,4"))); // 250, from 11200
    clock.Advance(300);
    EXPECT_EQ(ticks.at.last(), 11450);
    EXPECT_EQ(timer.Interval(), 250);
    EXPECT_TRUE(timer.SetInterval(65535));
}

TEST(Timer, TheVirtualClockFiresDueTicksInOrder)
{
    VirtualClock clock;
    QObject owner;
    Timer fast(&owner, 30, true), slow(&owner, 50, true), starter(&owner, 100, true), started(&owner, 20, false);
    QStringList order;
    QObject::connect(&fast, &Timer::Tick, &owner, [&] { order << QStringLiteral("fast@%1").arg(clock.Now()); });
    QObject::connect(&slow, &Timer::Tick, &owner, [&] { order << QStringLiteral("slow@%1").arg(clock.Now()); });
    QObject::connect(&started, &Timer::Tick, &owner, [&] {
        order << QStringLiteral("started@%1").arg(clock.Now());
        started.SetEnabled(false); // runs once, as a stepper that ends its run
    });
    QObject::connect(&starter, &Timer::Tick, &owner, [&] {
        order << QStringLiteral("starter@%1").arg(clock.Now());
        started.SetEnabled(true);
        fast.SetEnabled(false);
    });
    clock.Advance(150);
    // At 100 the starter, due since 0, goes before slow, rescheduled at 50.
    EXPECT_EQ(order, (QStringList{"fast@30", "slow@50", "fast@60", "fast@90", "starter@100", "slow@100",
                                  "started@120", "slow@150"}));
    EXPECT_EQ(clock.Now(), 150);
}

TEST(Timer, RealTimerKeepsItsIdWhenEnabledAgain)
{
    ASSERT_EQ(VirtualClock::current(), nullptr);
    QObject owner;
    Timer timer(&owner, 1000, true);
    const int id = timer.TimerId();
    EXPECT_NE(id, 0);
    timer.SetEnabled(true);
    EXPECT_EQ(timer.TimerId(), id);
    timer.SetEnabled(false);
    EXPECT_EQ(timer.TimerId(), 0);

    Timer never(&owner, 0, true);
    EXPECT_TRUE(never.Enabled());
    EXPECT_EQ(never.TimerId(), 0);
}

} // namespace
