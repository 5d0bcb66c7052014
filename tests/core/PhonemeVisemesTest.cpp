// Phoneme names as espeak-ng gives them in IPA, and the mouth shape each shows.

#include "core/sound/PhonemeVisemes.h"

#include <gtest/gtest.h>

#include "tests/support/Printers.h"

TEST(PhonemeVisemes, EveryNameOfTheTableAndWhatIsLeftOfOthers)
{
    struct Case {
        const char *name;
        const char *phoneme;
        int viseme;
    };
    const Case cases[] = {
        {"pause", "", 0},
        {"pause mnemonic", "_", 0},
        {"only a length mark", "ː", 0},
        {"schwa", "ə", 1},
        {"open a", "a", 1},
        {"back a", "ɑ", 2},
        {"open o", "ɔ", 3},
        {"rounded back a", "ɒ", 3},
        {"diphthong ei whole", "eɪ", 4},
        {"near-close u", "ʊ", 4},
        {"r-coloured schwa", "ɚ", 5},
        {"long open-mid", "ɜː", 5},
        {"glide j", "j", 6},
        {"barred i", "ᵻ", 6},
        {"w", "w", 7},
        {"long u", "uː", 7},
        {"diphthong ou whole", "oʊ", 8},
        {"diphthong au", "aʊ", 9},
        {"diphthong oi", "ɔɪ", 10},
        {"diphthong ai", "aɪ", 11},
        {"h", "h", 12},
        {"approximant r", "ɹ", 13},
        {"tap", "ɾ", 13},
        {"dark l", "ɫ", 14},
        {"z", "z", 15},
        {"tsh whole", "tʃ", 16},
        {"tsh with a tie", "t͡ʃ", 16},
        {"dzh with a tie", "d͡ʒ", 16},
        {"theta", "θ", 17},
        {"v", "v", 18},
        {"glottal stop", "ʔ", 19},
        {"script g", "ɡ", 20},
        {"eng", "ŋ", 20},
        {"m", "m", 21},
        {"stressed long a", "ˈɑː", 2},
        {"back a with r: first vowel", "ɑːɹ", 2},
        {"long i: without its mark", "iː", 6},
        {"other vowel", "y", 1},
        {"nasal vowel: first vowel", "ɛ̃", 4},
        {"other consonant", "ç", 19},
        {"aspirated k: no vowel", "kʰ", 19},
    };
    for (const Case &c : cases)
        EXPECT_EQ(visemeForPhoneme(QString::fromUtf8(c.phoneme)), c.viseme) << c.name;
}

TEST(PhonemeVisemes, AnEventNameOfAllEightBytesIsReadWithoutATerminator)
{
    struct Event {
        char name[8];
        char after[8];
    };
    Event full{{'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'}, {'X', 'X', 'X', 'X', 'X', 'X', 'X', 'X'}};
    EXPECT_EQ(phonemeName(full.name), QStringLiteral("abcdefgh"));
    Event shortName{{'w', 0, 'z', 'z', 'z', 'z', 'z', 'z'}, {}};
    EXPECT_EQ(phonemeName(shortName.name), QStringLiteral("w"));
    Event twoBytes{"\xc9\x91\xcb\x90", {}}; // "ɑː"
    EXPECT_EQ(phonemeName(twoBytes.name), QString::fromUtf8("ɑː"));
}
