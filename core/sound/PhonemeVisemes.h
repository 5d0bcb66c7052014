#pragma once
// The mouth shape (viseme 0..21) of a phoneme that espeak-ng names in IPA.
// The speech layer turns every phoneme event into a viseme with this, so the
// lip sync sees the same 22 shapes whatever the voice.

#include <QString>

// The viseme of an IPA phoneme name. The name is looked up whole, then
// without stress, length marks and ties, then by its first vowel:
//  0 pause or empty    1 æ ə ʌ ɐ a   2 ɑ   3 ɔ ɒ   4 e eɪ ɛ ʊ   5 ɜ ɝ ɚ   6 j i ɪ ᵻ
//  7 w u   8 o oʊ əʊ   9 aʊ   10 ɔɪ   11 aɪ   12 h   13 ɹ r ɾ   14 l ɫ   15 s z
//  16 ʃ ʒ tʃ dʒ   17 θ ð   18 f v   19 t d n ʔ   20 k ɡ g ŋ x   21 p b m
// Any other vowel gives 1, any other consonant 19.
int visemeForPhoneme(const QString &ipaName);

// The phoneme name of an event's 8-byte field, which holds UTF-8 ended by a
// zero byte unless the name takes all 8 bytes.
QString phonemeName(const char (&field)[8]);
