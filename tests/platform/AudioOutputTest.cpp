// Speech on its way to the device: converted from 22050 Hz mono to the
// device's format, added to what the mixer's channels put in the buffer, and
// counted by the playback clock; a stop silences it at once.

#include "adapters/sound/AudioOutput.h"

#include <SDL.h>

#include <gtest/gtest.h>

#include "tests/support/Printers.h"

namespace {

std::vector<qint16> constantSpeech(int count, qint16 value)
{
    return std::vector<qint16>(size_t(count), value);
}

} // namespace

TEST(SpeechMixStream, StereoAtTwiceTheRateAddsToTheChannelsAndCountsSpeechSamples)
{
    SpeechMixStream stream(44100, AUDIO_S16SYS, 2);
    ASSERT_TRUE(stream.isValid());
    stream.start(1);
    const auto speech = constantSpeech(2205, 1000); // 0.1 s
    stream.write(1, speech.data(), int(speech.size()));
    EXPECT_EQ(stream.played(), 0) << "nothing handed to the device yet";

    std::vector<qint16> buffer(1024 * 2, 50); // what the channels mixed: 50 everywhere
    stream.mix(reinterpret_cast<unsigned char *>(buffer.data()), int(buffer.size() * sizeof(qint16)));
    EXPECT_EQ(stream.played(), 512) << "1024 device frames are 512 speech samples";
    // Past the resampler's first frames the constant comes through at its level (within 1%), in both channels, over the 50.
    for (size_t frame = 64; frame < 1024; frame += 97) {
        EXPECT_NEAR(buffer[2 * frame], 1050, 10) << "frame " << frame;
        EXPECT_NEAR(buffer[2 * frame + 1], 1050, 10) << "frame " << frame;
    }

    stream.finish(1);
    for (int i = 0; i < 8; ++i) {
        std::vector<qint16> more(1024 * 2, 0);
        stream.mix(reinterpret_cast<unsigned char *>(more.data()), int(more.size() * sizeof(qint16)));
    }
    EXPECT_EQ(stream.played(), 2205) << "played out: every sample";
}

TEST(SpeechMixStream, FloatDeviceFormatAndAStopThatSilencesAtOnce)
{
    SpeechMixStream stream(48000, AUDIO_F32SYS, 1);
    ASSERT_TRUE(stream.isValid());
    stream.start(7);
    const auto speech = constantSpeech(22050, 16384); // half of full scale, 1 s
    stream.write(7, speech.data(), int(speech.size()));
    std::vector<float> buffer(4800, 0.0f);
    stream.mix(reinterpret_cast<unsigned char *>(buffer.data()), int(buffer.size() * sizeof(float)));
    EXPECT_NEAR(buffer[2400], 0.5f, 0.01f);
    EXPECT_EQ(stream.played(), 4800 * 22050 / 48000);

    stream.stop();
    std::vector<float> after(4800, 0.0f);
    stream.mix(reinterpret_cast<unsigned char *>(after.data()), int(after.size() * sizeof(float)));
    EXPECT_EQ(after, std::vector<float>(4800, 0.0f)) << "nothing of the stopped speech";
    stream.write(7, speech.data(), int(speech.size())); // a late block of the stopped utterance
    stream.mix(reinterpret_cast<unsigned char *>(after.data()), int(after.size() * sizeof(float)));
    EXPECT_EQ(after, std::vector<float>(4800, 0.0f)) << "nor of its late blocks";
}

TEST(SpeechMixStream, ANewUtteranceDropsWhatTheOldOneHadNotPlayed)
{
    SpeechMixStream stream(22050, AUDIO_S16SYS, 1);
    stream.start(1);
    const auto first = constantSpeech(10000, 3000);
    stream.write(1, first.data(), int(first.size()));
    stream.start(2);
    const auto second = constantSpeech(100, -200);
    stream.write(2, second.data(), int(second.size()));
    stream.write(1, first.data(), int(first.size())); // late, of the first
    stream.finish(2);
    std::vector<qint16> buffer(1000, 0);
    stream.mix(reinterpret_cast<unsigned char *>(buffer.data()), int(buffer.size() * sizeof(qint16)));
    EXPECT_EQ(buffer[50], -200);
    EXPECT_EQ(buffer[500], 0);
    EXPECT_EQ(stream.played(), 100);
}

TEST(AudioOutput, TheDummyDeviceOpensAndTakesSpeech)
{
    // The tests run on SDL's silent dummy driver.
    EXPECT_TRUE(audioOutput().isOpen());
    EXPECT_NE(dynamic_cast<SpeechMixStream *>(audioOutput().speech()), nullptr);
}

TEST(AudioOutputWithoutDevice, SpeechRunsSilentOnTheWallClock)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            qputenv("SDL_AUDIODRIVER", "no-such-driver");
            AudioOutput output;
            SpeechOutput *speech = output.speech();
            const bool silent = !output.isOpen() && dynamic_cast<SpeechMixStream *>(speech) == nullptr;
            speech->start(1);
            const bool waits = speech->played() == 0; // the clock starts with the first samples
            const auto samples = constantSpeech(100, 1);
            speech->write(1, samples.data(), int(samples.size()));
            const bool bounded = speech->played() <= 100;
            _exit(silent && waits && bounded ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
