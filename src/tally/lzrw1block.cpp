#include "tally/lzrw1.h"

// The LZRW1/KH block coder (TLZR): one chunk to one block body and back.
// The container around the blocks is in lzrw1.cpp.

#include <algorithm>
#include <cstring>
#include <new>

namespace zwonky {

namespace {

constexpr std::uint16_t EmptySlot = 0xFFFF;
constexpr std::size_t HashSize = 4096;
constexpr std::size_t MaxDistance = 4095;
constexpr std::size_t MaxCopy = 18;
constexpr std::size_t MinRun = 16;
constexpr std::size_t MaxRun = 4095;
constexpr std::uint8_t FlagCompressed = 0x40;
constexpr std::uint8_t FlagStored = 0x80;

} // namespace

TLZR::TLZR()
{
    try {
        m_hashTable.resize(HashSize);
    } catch (const std::bad_alloc &) {
        throw ELzrw1KHCompressor("LZRW1KH : no memory for HASH table");
    }
}

std::size_t TLZR::GetMatch(const std::uint8_t *source, std::size_t x, std::size_t n, std::size_t *position)
{
    // The hash looks two bytes ahead; past the chunk those count as 0. They
    // only steer which earlier position is tried.
    const auto at = [&](std::size_t i) -> std::uint32_t { return i < n ? source[i] : 0; };
    std::uint32_t h = ((at(x) << 4) ^ at(x + 1)) << 4 ^ at(x + 2);
    h = ((h * 40543u) >> 4) & 0xFFF;
    const std::uint16_t previous = m_hashTable[h];
    m_hashTable[h] = static_cast<std::uint16_t>(x);
    if (previous == EmptySlot || x - previous > MaxDistance)
        return 0;
    std::size_t length = 0;
    while (length < MaxCopy && x + length < n && source[x + length] == source[previous + length])
        ++length;
    *position = previous;
    return length;
}

std::size_t TLZR::CompressBlock(const std::uint8_t *source, std::size_t n, std::uint8_t *destination)
{
    n = std::min(n, lzrw1::ChunkSize);
    std::fill(m_hashTable.begin(), m_hashTable.end(), EmptySlot);
    destination[0] = FlagCompressed;
    std::size_t x = 0;  // input position
    std::size_t y = 3;  // output position
    std::size_t z = 1;  // where the current control word goes
    std::size_t items = 0;
    std::uint16_t control = 0;
    while (x < n && y <= n) {
        if (items > 15) {
            destination[z] = static_cast<std::uint8_t>(control >> 8);
            destination[z + 1] = static_cast<std::uint8_t>(control);
            z = y;
            y += 2;
            items = 0;
        }
        std::size_t run = 1;
        while (run < MaxRun && x + run < n && source[x + run] == source[x])
            ++run;
        if (run >= MinRun) {
            const std::size_t coded = run - MinRun;
            destination[y++] = 0x00;
            destination[y++] = static_cast<std::uint8_t>(coded >> 8);
            destination[y++] = static_cast<std::uint8_t>(coded);
            destination[y++] = source[x];
            x += run;
            control = static_cast<std::uint16_t>((control << 1) + 1);
        } else {
            std::size_t position = 0;
            const std::size_t length = GetMatch(source, x, n, &position);
            if (length >= 3) {
                const std::size_t value = ((x - position) << 4) + (length - 3);
                destination[y++] = static_cast<std::uint8_t>(value >> 8);
                destination[y++] = static_cast<std::uint8_t>(value);
                x += length;
                control = static_cast<std::uint16_t>((control << 1) + 1);
            } else {
                destination[y++] = source[x++];
                control = static_cast<std::uint16_t>(control << 1);
            }
        }
        ++items;
    }
    control = static_cast<std::uint16_t>(static_cast<unsigned>(control) << (16 - items));
    destination[z] = static_cast<std::uint8_t>(control >> 8);
    destination[z + 1] = static_cast<std::uint8_t>(control);
    if (y > n) {
        // Coding did not pay: store the chunk as it is.
        destination[0] = FlagStored;
        if (n > 0)
            std::memmove(destination + 1, source, n);
        return n + 1;
    }
    return y;
}

std::size_t TLZR::DecompressBlock(const std::uint8_t *body, std::size_t length, std::uint8_t *destination,
                                  std::size_t capacity) const
{
    if (length < 2)
        return 0;
    if (body[0] == FlagStored) {
        const std::size_t n = length - 1;
        if (n > capacity)
            throw Lzrw1DamagedBlock("stored block larger than a chunk");
        std::memcpy(destination, body + 1, n);
        return n;
    }
    if (length < 3)
        return 0;  // a flag and half a control word: no items
    std::size_t x = 3;
    std::uint16_t control = static_cast<std::uint16_t>(body[1] << 8 | body[2]);
    int bitsLeft = 16;
    std::size_t y = 0;
    while (x < length) {
        if (bitsLeft == 0) {
            // Every control word is followed by at least one item.
            if (x + 2 >= length)
                throw Lzrw1DamagedBlock("control word at the end of the body");
            control = static_cast<std::uint16_t>(body[x] << 8 | body[x + 1]);
            x += 2;
            bitsLeft = 16;
        }
        if ((control & 0x8000) == 0) {
            if (y >= capacity)
                throw Lzrw1DamagedBlock("literal past the end of the chunk");
            destination[y++] = body[x++];
        } else {
            if (x + 1 >= length)
                throw Lzrw1DamagedBlock("copy item past the end of the body");
            const std::size_t distance = std::size_t(body[x]) << 4 | body[x + 1] >> 4;
            if (distance == 0) {
                if (x + 3 >= length)
                    throw Lzrw1DamagedBlock("run item past the end of the body");
                const std::size_t count = (std::size_t(body[x + 1]) << 8 | body[x + 2]) + MinRun;
                if (count > capacity - y)
                    throw Lzrw1DamagedBlock("run past the end of the chunk");
                std::memset(destination + y, body[x + 3], count);
                y += count;
                x += 4;
            } else {
                const std::size_t count = (body[x + 1] & 0x0F) + 3u;
                if (distance > y)
                    throw Lzrw1DamagedBlock("copy from before the start of the chunk");
                if (count > capacity - y)
                    throw Lzrw1DamagedBlock("copy past the end of the chunk");
                // Byte by byte: a copy may overlap its own output.
                for (std::size_t i = 0; i < count; ++i, ++y)
                    destination[y] = destination[y - distance];
                x += 2;
            }
        }
        control = static_cast<std::uint16_t>(control << 1);
        --bitsLeft;
    }
    return y;
}

} // namespace zwonky
