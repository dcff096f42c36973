#pragma once

#include "server/wordrules.h"

#include <array>

namespace zwonky {

// Points for the number of accepted words of one length in one turn (the
// points are per count, not per word); 0 for no words or a length without
// boxes.
int scoreForCount(int length, int count);

// Bonus for pairs of neighbouring lengths whose five boxes are all filled
// (3+4, 4+5, 5+6, 6+7, 7+8); the pairs add up.
int bonusForFullLengths(const WordBoxes &boxes);

// Below this many word points a zwonked player loses points instead.
inline constexpr int ZwonkedFloor = 500;
inline constexpr int ZwonkedPenalty = 500;

struct TurnScore
{
    int wordPoints = 0;
    int bonus = 0;       // -500 when the zwonked penalty applies
    int wordCount = 0;
    int change = 0;      // what the turn adds to the score
};

// One player's turn: word points, bonus and count from his boxes; a zwonked
// player below 500 word points loses 500 instead and gets nothing else.
TurnScore scoreTurn(const WordBoxes &boxes, bool zwonked);

// One playing seat at a winner check.
struct Standing
{
    bool open = false;
    int score = 0;
    int partner = 0; // the seat sharing his score in a team game, else 0
};
using Standings = std::array<Standing, 7>; // seats 1-6, index 0 unused

// The seat that has won, or 0: the open seat with the highest score that is
// at least playTo (the lowest seat among equal scores), unless a seat outside
// its side, open or not, has exactly the same score.
int winningSeat(const Standings &seats, int playTo);

} // namespace zwonky
