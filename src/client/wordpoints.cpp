#include "client/wordpoints.h"

#include <array>

namespace zwonky {

namespace {
constexpr std::array<std::array<int, 5>, 8> PreviewTable{{
    {60, 70, 80, 90, 100},          // 3 letters
    {120, 140, 160, 180, 200},      // 4
    {200, 250, 300, 350, 400},      // 5
    {300, 400, 500, 600, 700},      // 6
    {500, 650, 800, 950, 1100},     // 7
    {750, 1000, 1250, 1500, 1750},  // 8
    {1000, 1500, 2000, 2500, 3000}, // 9
    {1500, 3000, 5000, 5500, 5000}, // 10
}};
} // namespace

int previewPoints(int length, int wordCount)
{
    if (length < 3 || length > 10 || wordCount < 1 || wordCount > 5)
        return 0;
    return PreviewTable[std::size_t(length - 3)][std::size_t(wordCount - 1)];
}

} // namespace zwonky
