#pragma once

// LZRW1/KH block coder and its container file, in plain C++ (no Qt), so
// that the fuzzer and the benchmark can build it on its own.
//
// Container (all integers little-endian):
//   4 bytes  identifier 0x4C5A5257 ("WRZL")
//   4 bytes  uncompressed size, signed
//   blocks:  2-byte body length L (1..32769), then L body bytes
// The data is cut into 32768-byte chunks, one block each; the last chunk is
// shorter (possibly empty), so a multiple of 32768 ends with an empty block.
//
// Block body: flag byte 0x80 = stored (the chunk follows as is), anything
// else = compressed: 16-bit control words (high byte first, one bit per
// item, most significant first; 0 literal, 1 copy or run) each followed by
// up to 16 items:
//   literal  1 byte
//   copy     2 bytes: distance (12 bits, 1..4095) << 4 | (length - 3)
//   run      4 bytes: 0x00, (N - 16) as 16 bits high byte first, the byte
// A run is told from a copy by its zero distance.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace zwonky {

namespace lzrw1 {
inline constexpr std::size_t ChunkSize = 32768;
// Room for one chunk and what the coder may write beyond it before it
// notices that coding does not pay (a control word and one run item).
inline constexpr std::size_t BufferSize = 32784;
inline constexpr std::size_t MaxBodyLength = ChunkSize + 1;
inline constexpr std::uint32_t IdentifierFast = 0x4C5A5257;  // written and read
inline constexpr std::uint32_t IdentifierGood = 0x4C5A4821;  // LZH bodies: refused
inline constexpr std::size_t HeaderSize = 8;
} // namespace lzrw1

// Every failure of Tlzrw1's Compress/Decompress, with its user-facing text.
class ELzrw1Exception : public std::runtime_error
{
public:
    explicit ELzrw1Exception(const std::string &text) : std::runtime_error(text) {}
};

// The coder could not get its hash table.
class ELzrw1KHCompressor : public std::runtime_error
{
public:
    explicit ELzrw1KHCompressor(const std::string &text) : std::runtime_error(text) {}
};

// A block body that would make the decoder step outside its buffers. The
// container reader turns it into an ELzrw1Exception naming the file.
class Lzrw1DamagedBlock : public std::runtime_error
{
public:
    explicit Lzrw1DamagedBlock(const std::string &text) : std::runtime_error(text) {}
};

// The LZRW1/KH block coder: one chunk in, one block body out, and back.
class TLZR
{
public:
    TLZR();

    // Codes source[0..n) (n <= ChunkSize) into destination, which must have
    // room for n + 16 bytes. Returns the body length (1..n+1). Bytes beyond n
    // are never read.
    std::size_t CompressBlock(const std::uint8_t *source, std::size_t n, std::uint8_t *destination);

    // Decodes body[0..length) into destination (room for capacity bytes,
    // normally ChunkSize) and returns the chunk length. Every body is taken
    // as hostile: a copy from before the start of the output, output past
    // capacity, or an item running past the body throws Lzrw1DamagedBlock.
    std::size_t DecompressBlock(const std::uint8_t *body, std::size_t length, std::uint8_t *destination,
                                std::size_t capacity = lzrw1::ChunkSize) const;

private:
    // Hash probe at position x: returns the match length (0 when there is
    // none worth a copy) and the earlier position in *position. Always
    // records x in the table.
    std::size_t GetMatch(const std::uint8_t *source, std::size_t x, std::size_t n, std::size_t *position);

    std::vector<std::uint16_t> m_hashTable;
};

// The file-to-file compressor. Output is written to a private file in the
// target's folder and renamed over the target only when complete, so a
// failure leaves no partial output (and an older target intact); the input
// is only ever read.
class Tlzrw1
{
public:
    Tlzrw1() = default;

    std::string InputFile;
    std::string OutputFile;

    // Called after every block read or written, so a caller with a user
    // interface can let it process pending events during long runs.
    void setBetweenBlocks(std::function<void()> callback) { m_betweenBlocks = std::move(callback); }

    // Return the number of bytes written (Compress: header included).
    // Both throw ELzrw1Exception with the user-facing text.
    std::int64_t Compress();
    std::int64_t Decompress();

    // The same container coding on memory, for callers that keep no scratch
    // file. name stands for the file name in error texts.
    std::vector<std::uint8_t> compressData(std::span<const std::uint8_t> data, const std::string &name = {});
    std::vector<std::uint8_t> decompressData(std::span<const std::uint8_t> container,
                                             const std::string &name = {});

private:
    std::function<void()> m_betweenBlocks;
};

} // namespace zwonky
