#pragma once
// The talk table: the 22 talk mouths of a character, shown while a voice
// speaks. Talk mouth e (1..22) is shown for viseme e - 1 and is one of the
// seven mouth frames drawn over mouth frame 01. Both characters' talk lists
// follow it (core/preview/BoxLayer.h composes them), and the lip sync picks their
// entries.

#include <array>

inline constexpr int TalkMouthCount = 22;

// The mouth frame (1..7) of each talk mouth, talk mouth 1 first.
inline constexpr std::array<int, TalkMouthCount> TalkMouthFrames = {1, 5, 5, 4, 4, 3, 3, 7, 7, 5, 7,
                                                                    4, 4, 7, 6, 2, 7, 3, 2, 2, 3, 1};
