// Picks in the voice boxes (two engines before three voices), the bytes the
// settings file gets after each, and what a speak button does with the
// stored choice.

#include "core/preview/VoiceChoice.h"

#include <gtest/gtest.h>

#include "tests/support/Printers.h"

void PrintTo(const SpeechRequest &r, std::ostream *os)
{
    *os << "{kind " << int(r.kind) << ", number " << r.number << "}";
}

TEST(VoiceChoice, PicksByPositionKeepTheOtherInterfacesNumber)
{
    VoiceSettings settings;
    pickVoice(settings, VoiceCharacter::Velm, 2, 2);
    EXPECT_EQ(voiceSettingsBytes(settings),
              QByteArray("KVVer=5;\r\nKV4Num=;\r\nKV5Num=0;\r\nUVVer=;\r\nUV4Num=;\r\nUV5Num=;\r\n\r\n"));
    pickVoice(settings, VoiceCharacter::Velm, 1, 2);
    EXPECT_EQ(voiceSettingsBytes(settings),
              QByteArray("KVVer=4;\r\nKV4Num=2;\r\nKV5Num=0;\r\nUVVer=;\r\nUV4Num=;\r\nUV5Num=;\r\n\r\n"));
    pickVoice(settings, VoiceCharacter::User, 4, 2);
    EXPECT_EQ(voiceSettingsBytes(settings),
              QByteArray("KVVer=4;\r\nKV4Num=2;\r\nKV5Num=0;\r\nUVVer=5;\r\nUV4Num=;\r\nUV5Num=2;\r\n\r\n"));
    pickVoice(settings, VoiceCharacter::User, 0, 0);
    EXPECT_EQ(settings.USapi5Voice, 0) << "without engines every position is a voice";
}

TEST(VoiceChoice, WhatASpeakButtonDoes)
{
    struct Case {
        const char *name;
        QByteArray file;
        VoiceCharacter who;
        SpeechRequest expected;
    };
    const Case cases[] = {
        {"no settings", "", VoiceCharacter::Velm, {}},
        {"engine 1 from a one-line file", "KVVer=4;KV4Num=1;", VoiceCharacter::Velm, {SpeechRequest::Engine, 1}},
        {"the user stays empty", "KVVer=4;KV4Num=1;", VoiceCharacter::User, {}},
        {"a voice index, stale or not", "KVVer=5;KV5Num=9;", VoiceCharacter::Velm, {SpeechRequest::Voice, 9}},
        {"version 5, empty index: the first voice", "KVVer=5;KV5Num=;", VoiceCharacter::Velm,
         {SpeechRequest::Voice, 0}},
        {"version 4, empty engine: engine 0, which no set has", "KVVer=4;", VoiceCharacter::Velm,
         {SpeechRequest::Engine, 0}},
        {"another version", "KVVer=3;KV5Num=1;", VoiceCharacter::Velm, {}},
        {"the user's own choice", "KVVer=4;KV4Num=1;UVVer=5;UV5Num=2;", VoiceCharacter::User,
         {SpeechRequest::Voice, 2}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(speechRequest(parseVoiceSettings(c.file), c.who), c.expected) << c.name;
}
