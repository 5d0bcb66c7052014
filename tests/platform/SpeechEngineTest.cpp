// The speech engine over the real espeak-ng, its sound sent to a null sink
// with a virtual clock: the structure of what a sentence gives, every listed
// voice, text that looks like markup, purges and quitting mid-speech.

#include "adapters/speech/SpeechEngine.h"
#include "adapters/speech/SpeechVoice.h"

#include "tests/support/program/SpeechFixture.h"

#include <QSet>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "tests/support/Printers.h"

namespace {

constexpr int SynthesisTimeoutMs = 60000;

struct Fired {
    QString speaker;
    int id;
    qint64 position;
};

// Collects the visemes of the program's engine, played on a virtual clock.
class SpeechEngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(engine.isRunning()) << "espeak-ng did not start";
        QObject::connect(&engine, &SpeechEngine::viseme, &context,
                         [this](quint64 u, const QString &who, int id, qint64 position) {
                             if (u == utterance)
                                 fired.push_back({who, id, position});
                         });
    }

    // Speaks and waits until the synthesis has ended; false when it did not in time.
    bool speakAndSynthesize(const QByteArray &voice, const QString &text, bool *spoken = nullptr)
    {
        QSignalSpy synthesized(&engine, &SpeechEngine::synthesized);
        utterance = engine.speak(voice, text, QStringLiteral("Velm"));
        fired.clear();
        if (!synthesized.wait(SynthesisTimeoutMs))
            return false;
        const QList<QVariant> args = synthesized.takeFirst();
        total = args.at(1).toLongLong();
        if (spoken)
            *spoken = args.at(2).toBool();
        return args.at(0).toULongLong() == utterance;
    }
    // Lets the virtual device take every sample and runs the schedule.
    void playAll()
    {
        output.clock = total;
        engine.scheduler().tick();
    }
    QByteArray englishVoice() const
    {
        for (const SpeechVoiceInfo &voice : engine.voices())
            if (voice.identifier == "gmw/en-US")
                return voice.identifier;
        return {};
    }

    SpeechEngine &engine = speechEngine();
    VirtualSpeechOutput output;
    SpeechOutputScope scope{&output};
    QObject context;
    quint64 utterance = 0;
    qint64 total = 0;
    std::vector<Fired> fired;
};

} // namespace

TEST_F(SpeechEngineTest, ASentenceGivesVisemesInOrderFromItsFirstSoundToRest)
{
    const QByteArray voice = englishVoice();
    ASSERT_FALSE(voice.isEmpty()) << "no gmw/en-US voice listed";
    ASSERT_TRUE(speakAndSynthesize(voice, QStringLiteral("We are good friends.")));
    EXPECT_EQ(output.written(utterance), total);
    EXPECT_GT(total, SpeechOutput::SampleRate / 2) << "about a second of speech";
    EXPECT_TRUE(fired.empty()) << "nothing fires before the clock moves";

    playAll();
    ASSERT_GE(fired.size(), 6u);
    QSet<int> distinct;
    for (size_t i = 0; i < fired.size(); ++i) {
        EXPECT_GE(fired[i].id, 0) << "viseme " << i;
        EXPECT_LE(fired[i].id, 21) << "viseme " << i;
        EXPECT_EQ(fired[i].speaker, QStringLiteral("Velm")) << "viseme " << i;
        EXPECT_LE(fired[i].position, total) << "viseme " << i;
        if (i > 0) {
            EXPECT_GE(fired[i].position, fired[i - 1].position) << "viseme " << i;
        }
        distinct.insert(fired[i].id);
    }
    EXPECT_EQ(fired.front().id, 7) << "\"w\"";
    EXPECT_EQ(fired.back().id, 0);
    EXPECT_EQ(fired.back().position, total);
    EXPECT_GE(distinct.size(), 5);
}

TEST_F(SpeechEngineTest, EveryListedVoiceSelectsAndSpeaks)
{
    ASSERT_FALSE(engine.voices().isEmpty());
    for (const SpeechVoiceInfo &voice : engine.voices()) {
        bool spoken = false;
        ASSERT_TRUE(speakAndSynthesize(voice.identifier, QStringLiteral("a"), &spoken)) << voice.identifier.constData();
        EXPECT_TRUE(spoken) << voice.name.toStdString() << " " << voice.identifier.constData();
        EXPECT_GT(total, 0) << voice.identifier.constData();
    }
}

TEST_F(SpeechEngineTest, AnUnknownVoiceSpeaksNothingAndEndsAtRest)
{
    bool spoken = true;
    ASSERT_TRUE(speakAndSynthesize("no/such-voice", QStringLiteral("Hello."), &spoken));
    EXPECT_FALSE(spoken);
    playAll();
    ASSERT_EQ(fired.size(), 1u);
    EXPECT_EQ(fired[0].id, 0);
}

// Selecting a voice answers only once the worker has set it, so a caller
// learns of a rejected voice before it speaks; a rejection ends the speech in
// progress and leaves no voice that a later speak would take for set.
TEST_F(SpeechEngineTest, SelectingAVoiceSaysWhetherTheSynthesizerTookIt)
{
    const QByteArray voice = englishVoice();
    ASSERT_FALSE(voice.isEmpty()) << "no gmw/en-US voice listed";
    EXPECT_TRUE(engine.selectVoice(voice));
    EXPECT_TRUE(engine.selectVoice(voice)) << "the voice already set";
    utterance = engine.speak(voice, QStringLiteral("We are good friends."), QStringLiteral("Velm"));
    ASSERT_TRUE(engine.scheduler().isActive());
    EXPECT_FALSE(engine.selectVoice("no/such-voice"));
    EXPECT_FALSE(engine.scheduler().isActive()) << "the speech in progress ended";
    bool spoken = false;
    ASSERT_TRUE(speakAndSynthesize(voice, QStringLiteral("a"), &spoken));
    EXPECT_TRUE(spoken) << "the voice is set again";
}

TEST_F(SpeechEngineTest, TextThatLooksLikeMarkupIsSpoken)
{
    struct Case {
        const char *name;
        const char *text;
    };
    const Case cases[] = {
        {"a tag", "<b>"},
        {"a lone less-than", "1 < 2"},
        {"phoneme brackets", "[[h@l'oU]]"},
        {"empty text", ""},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(speakAndSynthesize(englishVoice(), QString::fromUtf8(c.text))) << c.name;
        playAll();
        ASSERT_FALSE(fired.empty()) << c.name;
        EXPECT_EQ(fired.back().id, 0) << c.name << ": ends at rest";
        const bool speaks = std::any_of(fired.begin(), fired.end(), [](const Fired &f) { return f.id != 0; });
        EXPECT_EQ(speaks, *c.text != 0) << c.name;
    }
}

TEST_F(SpeechEngineTest, ASecondSpeechAbortsTheFirstsSynthesisAndDropsItsVisemes)
{
    QString longText;
    for (int i = 0; i < 400; ++i)
        longText += QStringLiteral("The quick brown fox jumps over the lazy dog. ");
    const quint64 first = engine.speak(englishVoice(), longText, QStringLiteral("Velm"));
    utterance = first;
    output.clock = std::numeric_limits<qint64>::max() / 2; // everything written so far has played
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            engine.scheduler().tick();
            return !fired.empty();
        },
        SynthesisTimeoutMs))
        << "the first speech is under way";

    ASSERT_TRUE(speakAndSynthesize(englishVoice(), QStringLiteral("Hi."))); // purges the first
    EXPECT_TRUE(output.finished(first));
    EXPECT_LT(output.written(first), 60 * SpeechOutput::SampleRate) << "its synthesis stopped early";
    EXPECT_GE(output.stops, 1);
    playAll();
    EXPECT_EQ(fired.back().id, 0);
    QSignalSpy late(&engine, &SpeechEngine::viseme);
    QCoreApplication::processEvents();
    engine.scheduler().tick();
    EXPECT_EQ(late.count(), 0) << "nothing after the end";
}

TEST_F(SpeechEngineTest, AVoiceFacePurgesItsSpeechWhenItGoes)
{
    setSpeechVoiceList(QList<SpeechVoiceInfo>{{QStringLiteral("Plain"), englishVoice()}});
    auto *voice = new SpeechVoice;
    setSpeechVoiceList(std::nullopt);
    std::vector<int> ids;
    QObject::connect(voice, &SpeechVoice::Viseme, &context, [&](const QString &, int id) { ids.push_back(id); });
    ASSERT_TRUE(voice->Speak(QStringLiteral("We are good friends."), QStringLiteral("User")));
    utterance = engine.scheduler().current();
    ASSERT_NE(utterance, 0u);
    delete voice;
    EXPECT_FALSE(engine.scheduler().isActive());
    QSignalSpy anything(&engine, &SpeechEngine::viseme);
    output.clock = SpeechOutput::SampleRate * 10;
    QCoreApplication::processEvents();
    engine.scheduler().tick();
    EXPECT_EQ(anything.count(), 0);
    EXPECT_TRUE(ids.empty());
}

TEST(SpeechEngineQuit, QuittingMidSpeechEndsAtOnce)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            VirtualSpeechOutput output;
            speechEngine().setOutput(&output);
            QString longText;
            for (int i = 0; i < 2000; ++i)
                longText += QStringLiteral("The quick brown fox jumps over the lazy dog. ");
            const quint64 u = speechEngine().speak("gmw/en-US", longText, QStringLiteral("Velm"));
            if (!QTest::qWaitFor([&] { return output.written(u) > 0; }, SynthesisTimeoutMs))
                _exit(2);
            endSpeechEngine();
            // Twenty thousand words would be well over an hour of speech.
            _exit(output.finished(u) && output.written(u) < 600 * SpeechOutput::SampleRate ? 0 : 3);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(SpeechOnTheDevice, TheMouthMovesWhileALongTextIsStillBeingSynthesized)
{
    // The program's own output: SDL's dummy device takes the samples as a sound card would.
    SpeechEngine &engine = speechEngine();
    ASSERT_TRUE(audioOutput().isOpen());
    ASSERT_EQ(engine.output(), audioOutput().speech());
    QString longText;
    for (int i = 0; i < 200; ++i)
        longText += QStringLiteral("We are good friends, and the quick brown fox jumps over the lazy dog. ");
    std::vector<int> ids;
    bool synthesisEnded = false;
    int visemesBeforeTheEnd = 0;
    QObject context;
    QObject::connect(&engine, &SpeechEngine::viseme, &context, [&](quint64, const QString &, int id) {
        ids.push_back(id);
        if (!synthesisEnded)
            ++visemesBeforeTheEnd;
    });
    QObject::connect(&engine, &SpeechEngine::synthesized, &context, [&] { synthesisEnded = true; });
    const quint64 u = engine.speak("gmw/en-US", longText, QStringLiteral("Velm"));
    ASSERT_NE(u, 0u);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ids.size() >= 3; }, 60000));
    EXPECT_EQ(ids.front(), 7) << "\"w\"";
    EXPECT_GT(visemesBeforeTheEnd, 0) << "the sound began before the whole text was made";
    engine.purge();
    const size_t heard = ids.size();
    QCoreApplication::processEvents();
    engine.scheduler().tick();
    EXPECT_EQ(ids.size(), heard) << "nothing after the purge";

    // A short sentence plays to its end and leaves the mouth at rest.
    QSignalSpy finished(&engine, &SpeechEngine::finished);
    ids.clear();
    const quint64 sentence = engine.speak("gmw/en-US", QStringLiteral("We are good friends."), QStringLiteral("Velm"));
    ASSERT_TRUE(finished.wait(60000));
    EXPECT_EQ(finished.takeFirst().at(0).toULongLong(), sentence);
    ASSERT_GE(ids.size(), 6u);
    EXPECT_EQ(ids.front(), 7);
    EXPECT_EQ(ids.back(), 0);
}
