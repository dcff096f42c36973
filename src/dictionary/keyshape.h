#pragma once

#include <cstdint>
#include <cstring>

namespace zwonky::keyshape {

// The width of a word record's text field (the record's bytes 1 to 14).
inline constexpr int FieldWidth = 14;

// Whether a field is already in the shape of a lookup key: no leading blank,
// no NUL, no ASCII lower case. Such a field compares to a key byte by byte;
// any other is reshaped first. Every probe of a lookup asks, so the 14 bytes
// are tested as two overlapping 8-byte words (bytes 0-7 and 6-13), a few
// operations each instead of a loop over the bytes.
inline bool inKeyShape(const char *field)
{
    constexpr std::uint64_t ones = 0x0101010101010101ULL;
    constexpr std::uint64_t highs = ones * 0x80;
    constexpr std::uint64_t lows = ones * 0x7F;
    // Non-zero when a byte of `word` is NUL or 'a' to 'z'. Per byte, with
    // its top bit cleared to y (no carry or borrow crosses bytes):
    // 250 - y has its top bit set when y < 'z' + 1, y + 31 when y > 'a' - 1,
    // and a byte whose own top bit is set is never a lower-case letter.
    const auto nulOrLower = [](std::uint64_t word) {
        const std::uint64_t y = word & lows;
        const std::uint64_t nul = (word - ones) & ~word & highs;
        const std::uint64_t lower =
            (ones * (127 + 'z' + 1) - y) & ~word & (y + ones * (127 - ('a' - 1))) & highs;
        return nul | lower;
    };
    std::uint64_t head = 0;
    std::uint64_t tail = 0;
    std::memcpy(&head, field, sizeof head);
    std::memcpy(&tail, field + FieldWidth - sizeof tail, sizeof tail);
    return field[0] != ' ' && (nulOrLower(head) | nulOrLower(tail)) == 0;
}

} // namespace zwonky::keyshape
