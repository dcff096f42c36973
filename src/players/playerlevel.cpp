#include "players/playerlevel.h"

#include <array>

namespace zwonky {

namespace {

// The pace is what a person of that level manages: a pause over each word,
// then one tile after another. The sight was then found by
// `bench_word_finder --calibrate` for the shares 0.2, 0.4, 0.6, 0.8 and 0.95
// of the best turn score over 500 rolled 10-letter hands in 60-second turns.
const std::array<PlayerLevel, 5> Levels{{
    {1, "Beginner", 0.477, 3000, 600},
    {2, "Casual", 0.714, 2200, 450},
    {3, "Average", 0.786, 1500, 350},
    {4, "Strong", 0.866, 1000, 250},
    {5, "Expert", 0.966, 500, 150},
}};

} // namespace

int clampLevel(int number)
{
    return number < LowestLevel ? LowestLevel : (number > HighestLevel ? HighestLevel : number);
}

const PlayerLevel &playerLevel(int number)
{
    return Levels[std::size_t(clampLevel(number) - LowestLevel)];
}

QString levelName(int number)
{
    return QString::fromLatin1(playerLevel(number).name);
}

} // namespace zwonky
