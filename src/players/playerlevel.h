#pragma once

// How strong and how quick a computer player is. The figures come from the
// strength table of bench/bench_word_finder.cpp: over many rolled hands a
// level's average turn score is measured against the best score the same
// hands allow, and each level's sight was set so that Beginner reaches about
// a fifth of it and Expert at least nine tenths, in roughly even steps.

#include <QString>

namespace zwonky {

inline constexpr int LowestLevel = 1;
inline constexpr int HighestLevel = 5;
inline constexpr int DefaultLevel = 3;
// A computer player starts no word with fewer seconds than this left on its
// clock, so its last word is judged before the host's clock ends the turn.
inline constexpr int StopMarginSeconds = 3;

struct PlayerLevel
{
    int number = DefaultLevel;
    const char *name = "";
    // The chance of noticing a word of n letters is sight^(n-2): short words
    // are seen readily, long ones rarely, unless sight is 1.
    double sight = 1.0;
    int thinkMs = 0;    // before each word
    int perTileMs = 0;  // between two tiles of a word
};

// Level 1-5; anything else is held to that range.
const PlayerLevel &playerLevel(int number);
// "Beginner", "Casual", "Average", "Strong", "Expert".
QString levelName(int number);
int clampLevel(int number);

} // namespace zwonky
