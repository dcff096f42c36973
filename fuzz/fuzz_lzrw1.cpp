// libFuzzer target for the LZRW1/KH decoder: the container reader, the block
// decoder on its own, and a compress/decompress round trip that must give the
// input back. Every buffer is allocated at its exact size so that
// AddressSanitizer sees any step outside it.

#include "tally/lzrw1.h"

#include <cstdlib>
#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t mode = data[0] % 3;
    const std::size_t restSize = size - 1;
    // An exact-size copy: the fuzzer's own buffer may have slack after it.
    std::unique_ptr<std::uint8_t[]> rest(new std::uint8_t[restSize ? restSize : 1]);
    if (restSize)
        std::memcpy(rest.get(), data + 1, restSize);

    zwonky::Tlzrw1 codec;
    if (mode == 0) {
        try {
            codec.decompressData({rest.get(), restSize}, "fuzz");
        } catch (const zwonky::ELzrw1Exception &) {
        }
    } else if (mode == 1) {
        zwonky::TLZR coder;
        std::unique_ptr<std::uint8_t[]> chunk(new std::uint8_t[zwonky::lzrw1::ChunkSize]);
        try {
            const std::size_t n = coder.DecompressBlock(rest.get(), restSize, chunk.get());
            if (n > zwonky::lzrw1::ChunkSize)
                std::abort();
        } catch (const zwonky::Lzrw1DamagedBlock &) {
        }
    } else {
        // One block straight through the coder, in buffers of the documented
        // sizes only: the source exactly n bytes, the body n + 16.
        const std::size_t n = restSize < zwonky::lzrw1::ChunkSize ? restSize : zwonky::lzrw1::ChunkSize;
        zwonky::TLZR coder;
        std::unique_ptr<std::uint8_t[]> body(new std::uint8_t[n + 16]);
        const std::size_t length = coder.CompressBlock(rest.get(), n, body.get());
        if (length < 1 || length > n + 1)
            std::abort();
        std::unique_ptr<std::uint8_t[]> chunk(new std::uint8_t[zwonky::lzrw1::ChunkSize]);
        if (coder.DecompressBlock(body.get(), length, chunk.get()) != n
            || (n && std::memcmp(chunk.get(), rest.get(), n) != 0))
            std::abort();

        const std::vector<std::uint8_t> packed = codec.compressData({rest.get(), restSize});
        const std::vector<std::uint8_t> restored = codec.decompressData(packed);
        if (restored.size() != restSize
            || (restSize && std::memcmp(restored.data(), rest.get(), restSize) != 0))
            std::abort();
    }
    return 0;
}
