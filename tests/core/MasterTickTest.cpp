// The preview's master tick: which timers each tick starts and which draws it
// takes, in order, from a strict scripted source that fails on a draw it was
// not given.

#include "core/preview/MasterTick.h"
#include "tests/core/PlayerFixture.h"
#include "tests/support/FakeSoundBackend.h"

namespace {

// Hands out exactly the values given; a draw beyond them fails the test.
class StrictRandom : public RandomService {
public:
    QQueue<float> values;
    float next() override
    {
        if (values.isEmpty()) {
            ADD_FAILURE() << "a draw that was not scripted";
            return 0.5f;
        }
        return values.dequeue();
    }
};

struct TickRow {
    const char *name;
    MasterTickState state;
    QList<float> draws;
    bool mainBlink, userBlink, extra, child;
};

MasterTickState shown(bool main, bool user, bool extra)
{
    MasterTickState s;
    s.mainBlinkShown = main;
    s.userBlinkShown = user;
    s.extraShown = extra;
    return s;
}

template <class F>
MasterTickState with(MasterTickState s, F change)
{
    change(s);
    return s;
}

// E, M and MD as the scene's texts.
MasterTickState factors(const char *e, const char *m, const char *md)
{
    return with(shown(false, false, true), [&](MasterTickState &s) {
        s.ExtraMiscARandom = QString::fromUtf8(e);
        s.MiscRandom = QString::fromUtf8(m);
        s.MiscDelay = QString::fromUtf8(md);
    });
}

TEST(MasterTick, StartsAndDraws)
{
    const MasterTickState main = shown(true, false, false);
    const MasterTickState user = shown(false, true, false);
    const TickRow rows[] = {
        {"nothing shown: no draw", shown(false, false, false), {}, false, false, false, false},
        {"blink at 0.9757", main, {0.9757f}, true, false, false, false},
        {"no blink at 0.9753", main, {0.9753f}, false, false, false, false},
        {"no blink during a brow movement, the draw is taken",
         with(main, [](auto &s) { s.browRunning = true; }), {0.999f}, false, false, false, false},
        {"no blink during a blink", with(main, [](auto &s) { s.mainBlinkRunning = true; }), {0.999f}, false, false,
         false, false},
        {"user blink at 0.9651", user, {0.9651f}, false, true, false, false},
        {"no user blink at 0.9649", user, {0.9649f}, false, false, false, false},
        {"no user blink while one runs", with(user, [](auto &s) { s.userBlinkRunning = true; }), {0.99f}, false,
         false, false, false},
        {"both blinks, main first", shown(true, true, false), {0.98f, 0.97f}, true, true, false, false},
        {"E 10: child below 1/30", factors("10", "5", "0"), {0.0333f}, false, false, false, false},
        {"E 10: child at 1/30", factors("10", "5", "0"), {0.03334f}, false, false, false, true},
        {"E 10: child below 2/30", factors("10", "5", "0"), {0.0666f}, false, false, false, true},
        {"E 10: no child at 2/30", factors("10", "5", "0"), {0.06667f}, false, false, false, false},
        {"E empty: never a child", factors("", "5", "0"), {0.9f}, false, false, false, false},
        {"E not a number counts as 0", factors("abc", "5", "0"), {0.5f}, false, false, false, false},
        {"MD 0, MR 990: no extra, no extra draw", factors("0", "990", "0"), {0.5f}, false, false, false, false},
        {"MD 0, MR 0: extra every tick", factors("0", "0", "0"), {0.5f}, false, false, true, false},
        {"MD 5, MR 990: extra for r below 1/990", factors("0", "990", "5"), {0.5f, 0.001f}, false, false, true,
         false},
        {"MD 5, MR 990: no extra from 1/990", factors("0", "990", "5"), {0.5f, 0.00102f}, false, false, false,
         false},
        {"MD 5, MR 0: extra", factors("0", "0", "5"), {0.5f, 0.99f}, false, false, true, false},
        {"MD 5, MR 990, Timer5 on: no draw m", with(factors("0", "990", "5"), [](auto &s) { s.extraRunning = true; }),
         {0.5f}, false, false, false, false},
        {"MR 0, Timer6 on: nothing starts", with(factors("0", "0", "5"), [](auto &s) { s.extraPausing = true; }),
         {0.5f}, false, false, false, false},
        {"the child is armed while the extra runs",
         with(factors("10", "0", "0"), [](auto &s) { s.extraRunning = true; }), {0.05f}, false, false, false, true},
        {"MR and MD not numbers count as 0", factors("0", "x", "y"), {0.5f}, false, false, true, false},
        {"every layer: draws b, user, c, m in this order", with(shown(true, true, true), [](auto &s) {
             s.ExtraMiscARandom = QStringLiteral("10");
             s.MiscRandom = QStringLiteral("2");
             s.MiscDelay = QStringLiteral("1");
         }),
         {0.98f, 0.1f, 0.05f, 0.4f}, true, false, true, true},
    };
    for (const TickRow &row : rows) {
        SCOPED_TRACE(row.name);
        StrictRandom random;
        for (float r : row.draws)
            random.values.enqueue(r);
        const MasterTickStarts got = masterTickStarts(row.state, random);
        EXPECT_TRUE(random.values.isEmpty()) << random.values.size() << " draws not taken";
        EXPECT_EQ(got.startMainBlink, row.mainBlink);
        EXPECT_EQ(got.startUserBlink, row.userBlink);
        EXPECT_EQ(got.startExtra, row.extra);
        EXPECT_EQ(got.requestChild, row.child);
        EXPECT_EQ(got.blinkrndB.has_value(), row.state.userBlinkShown);
    }
}

class MasterTickPlayerTest : public PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        services().random = &strict;
    }
    void TearDown() override
    {
        EXPECT_TRUE(strict.values.isEmpty());
        PlayerTest::TearDown();
    }
    FakeSoundDevice sounds;
    StrictRandom strict;
};

TEST_F(MasterTickPlayerTest, WithNoSceneLoadedAThousandTicksStartNothingAndDrawNothing)
{
    PreviewPlayer &w = *player;
    // The smile starter runs from the player's creation and draws on its own
    // timer; stopped here, every draw left is the master tick's.
    w.SmileTimer2->SetEnabled(false);
    clock->Advance(100000);
    for (Timer *t : {w.Timer2, w.Timer4, w.Timer5, w.Timer15})
        EXPECT_FALSE(t->Enabled());
    EXPECT_TRUE(sounds.log.isEmpty());
}

TEST_F(MasterTickPlayerTest, TheTickEnablesTheTimersOfTheBoxesShown)
{
    writeBeach();
    PreviewPlayer &w = *player;
    load(QStringLiteral("Beach"));
    // The mouth alone draws nothing.
    clock->Advance(1000);

    w.VelmBlink->show();
    w.BrowTimer1->SetEnabled(true);
    strict.values.enqueue(0.999f);
    w.Timer1_Timer();
    EXPECT_FALSE(w.Timer2->Enabled()) << "no blink during a brow movement";
    w.BrowTimer1->SetEnabled(false);
    strict.values.enqueue(0.9757f);
    w.Timer1_Timer();
    EXPECT_TRUE(w.Timer2->Enabled());
    w.VelmBlink->hide();

    w.UserBlink->show();
    strict.values.enqueue(0.9651f);
    w.Timer1_Timer();
    EXPECT_TRUE(w.Timer4->Enabled());
    w.UserBlink->hide();

    // The extra's factors are 0 after a load: it starts at the first tick.
    w.MiscPic->show();
    strict.values.enqueue(0.5f);
    w.Timer1_Timer();
    EXPECT_TRUE(w.Timer5->Enabled());
    w.Timer5->SetEnabled(false);
    w.Timer6->SetEnabled(true);
    strict.values.enqueue(0.5f);
    w.Timer1_Timer();
    EXPECT_FALSE(w.Timer5->Enabled()) << "a pause is never cut short";
    w.MiscPic->hide();
    w.Timer6->SetEnabled(false);
}

} // namespace
