#include "server/scoring.h"

#include <array>

namespace zwonky {

namespace {

// Rows: lengths 3 to 10; columns: 1 to 5 words of that length.
constexpr std::array<std::array<int, BoxesPerLength>, MaxWordLength - MinWordLength + 1>
    kPoints = {{
        {60, 70, 80, 90, 100},
        {120, 140, 160, 180, 200},
        {200, 250, 300, 350, 400},
        {300, 400, 500, 600, 700},
        {500, 650, 800, 950, 1100},
        {750, 1000, 1250, 1500, 1750},
        {1000, 1500, 2000, 2500, 3000},
        {1500, 3000, 5000, 5000, 5000},
    }};

struct PairBonus
{
    int shorter;
    int points;
};

// Each pair is (shorter, shorter + 1).
constexpr std::array<PairBonus, 5> kBonus = {{
    {3, 300},
    {4, 500},
    {5, 800},
    {6, 1200},
    {7, 1850},
}};

} // namespace

int scoreForCount(int length, int count)
{
    if (!WordBoxes::validLength(length) || count < 1 || count > BoxesPerLength)
        return 0;
    return kPoints[static_cast<std::size_t>(length - MinWordLength)]
                  [static_cast<std::size_t>(count - 1)];
}

int bonusForFullLengths(const WordBoxes &boxes)
{
    int bonus = 0;
    for (const PairBonus &pair : kBonus) {
        if (boxes.isFull(pair.shorter) && boxes.isFull(pair.shorter + 1))
            bonus += pair.points;
    }
    return bonus;
}

TurnScore scoreTurn(const WordBoxes &boxes, bool zwonked)
{
    TurnScore result;
    for (int length = MinWordLength; length <= MaxWordLength; ++length) {
        const int count = boxes.count(length);
        result.wordCount += count;
        result.wordPoints += scoreForCount(length, count);
    }
    result.bonus = bonusForFullLengths(boxes);
    if (zwonked && result.wordPoints < ZwonkedFloor) {
        result.bonus = -ZwonkedPenalty;
        result.change = -ZwonkedPenalty;
    } else {
        result.change = result.wordPoints + result.bonus;
    }
    return result;
}

int winningSeat(const Standings &seats, int playTo)
{
    const auto at = [&seats](int seat) { return seats[static_cast<std::size_t>(seat)]; };
    const int last = static_cast<int>(seats.size()) - 1;
    int best = 0;
    for (int i = 1; i <= last; ++i) {
        if (at(i).open && at(i).score >= playTo && (best == 0 || at(i).score > at(best).score))
            best = i;
    }
    if (best == 0)
        return 0;
    // A tie with anyone outside the winner's side keeps the game going.
    // Seats without a partner are sides of their own.
    const int partner = at(best).partner;
    for (int i = 1; i <= last; ++i) {
        if (i != best && i != partner && at(i).score == at(best).score)
            return 0;
    }
    return best;
}

} // namespace zwonky
