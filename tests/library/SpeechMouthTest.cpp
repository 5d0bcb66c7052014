// Speech through both faces over the real espeak-ng, on a virtual clock,
// routed to the mouths: the engine set's mouth shapes show only the entries
// of the shape rules, visemes only talk mouths, and every utterance moves
// the mouth of the speaker it was spoken for.

#include "adapters/speech/SpeechVoice.h"
#include "core/preview/LipSyncRouter.h"

#include "tests/support/program/SpeechFixture.h"

#include <QSet>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include "tests/support/Printers.h"

namespace {

class SpeechMouthTest : public ::testing::Test {
protected:
    // Waits for the utterance's synthesis and plays it whole on the virtual clock.
    void playWhole()
    {
        QSignalSpy synthesized(&speechEngine(), &SpeechEngine::synthesized);
        ASSERT_TRUE(synthesized.wait(60000));
        output.clock = synthesized.takeFirst().at(1).toLongLong();
        speechEngine().scheduler().tick();
    }

    VirtualSpeechOutput output;
    SpeechOutputScope scope{&output};
};

} // namespace

TEST_F(SpeechMouthTest, TheEngineSetShowsOnlyTheEntriesOfTheShapeRules)
{
    TalkFrameEngines engines;
    ASSERT_TRUE(engines.SelectEngine(2));
    std::vector<MouthPick> picks;
    QObject::connect(&engines, &SpeechEngineSet::mouth, [&](const QString &who, qint16 jaw, qint16 lip) {
        picks.push_back(mouthShapeMouth(who, jaw, lip));
    });
    ASSERT_TRUE(engines.SpeakText(QStringLiteral("We are good friends."), QStringLiteral("User")));
    playWhole();
    ASSERT_GE(picks.size(), 6u);
    const QSet<int> rules{15, 10, 12, 6, 20, 22};
    QSet<int> shown;
    for (const MouthPick &pick : picks) {
        EXPECT_EQ(pick.box, MouthBox::UserMouth);
        EXPECT_TRUE(rules.contains(pick.entry)) << "entry " << pick.entry;
        shown.insert(pick.entry);
    }
    EXPECT_GE(shown.size(), 3);
    EXPECT_EQ(picks.back().entry, 22) << "at rest: frame 1";
}

TEST_F(SpeechMouthTest, AnUtteranceKeepsItsSpeakerWhateverIsSpokenOfLater)
{
    setSpeechVoiceList(QList<SpeechVoiceInfo>{{QStringLiteral("First"), "gmw/en-US"}});
    SpeechVoice voice;
    setSpeechVoiceList(std::nullopt);
    std::vector<MouthPick> picks;
    QObject::connect(&voice, &SpeechVoice::Viseme,
                     [&](const QString &who, int id) { picks.push_back(visemeMouth(who, id, false)); });
    ASSERT_TRUE(voice.SelectVoice(0));
    ASSERT_TRUE(voice.Speak(QStringLiteral("We are good friends."), QStringLiteral("Velm")));
    // Whatever WhoVoice says when the events arrive, they carry the speaker the utterance was spoken for.
    playWhole();
    ASSERT_FALSE(picks.empty());
    for (const MouthPick &pick : picks) {
        EXPECT_EQ(pick.box, MouthBox::VelmMouth);
        EXPECT_GE(pick.entry, 1);
        EXPECT_LE(pick.entry, 22);
    }
    EXPECT_EQ(picks.front().entry, 8) << "\"w\" is viseme 7";
    EXPECT_EQ(picks.back().entry, 1);
}

TEST_F(SpeechMouthTest, AVoiceFaceChoosesByPositionAndFailsWithoutAVoice)
{
    setSpeechVoiceList(QList<SpeechVoiceInfo>{{QStringLiteral("A"), "gmw/en-US"}, {QStringLiteral("B"), "gmw/en"},
                                              {QStringLiteral("C"), "roa/fr"}});
    SpeechVoice three;
    setSpeechVoiceList(QList<SpeechVoiceInfo>{});
    SpeechVoice none;
    setSpeechVoiceList(std::nullopt);
    EXPECT_EQ(three.GetVoices(), (QStringList{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}));
    EXPECT_TRUE(three.SelectVoice(2));
    EXPECT_FALSE(three.SelectVoice(3)) << "a stale index";
    EXPECT_FALSE(three.SelectVoice(-1));
    EXPECT_TRUE(none.GetVoices().isEmpty());
    EXPECT_FALSE(none.SelectVoice(0));
    EXPECT_FALSE(none.Speak(QStringLiteral("Hello."), QStringLiteral("Velm")));

    std::vector<int> ids;
    QObject::connect(&three, &SpeechVoice::Viseme, [&](const QString &, int id) { ids.push_back(id); });
    ASSERT_TRUE(three.Speak(QString(), QStringLiteral("Velm"))) << "empty text is spoken too";
    playWhole();
    ASSERT_FALSE(ids.empty());
    EXPECT_EQ(ids.back(), 0) << "the mouth ends at rest";
}

TEST(SpeechEngineSets, TheProgramOffersNone)
{
    QObject parent;
    SpeechEngineSet *set = createSpeechEngineSet(&parent);
    EXPECT_EQ(set->EngineCount(), 0);
    EXPECT_FALSE(set->EngineName(1).has_value());
    EXPECT_FALSE(set->SelectEngine(0)) << "an empty engine number";
    EXPECT_FALSE(set->SelectEngine(1));
    EXPECT_FALSE(set->SpeakText(QStringLiteral("Hello."), QStringLiteral("Velm")));

    setSpeechEngineSetMaker([](QObject *p) { return new TalkFrameEngines(p); });
    SpeechEngineSet *fake = createSpeechEngineSet(&parent);
    setSpeechEngineSetMaker(nullptr);
    EXPECT_EQ(fake->EngineCount(), 2);
    EXPECT_EQ(fake->EngineName(2), QStringLiteral("Talker Two"));
    EXPECT_FALSE(fake->SelectEngine(0)) << "an empty engine number";
    EXPECT_EQ(fake->parent(), &parent);
}
