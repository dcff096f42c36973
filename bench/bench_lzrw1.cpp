// Throughput of the tally codec (LZRW1/KH container, in memory) on 1 MiB of
// tally-like text and 1 MiB of random bytes, next to LZ4 on the same data.
// Reported as bytes per second of uncompressed data, with the ratio of
// compressed to uncompressed size as a counter.

#include "tally/lzrw1.h"

#include <benchmark/benchmark.h>

#ifdef ZWONKY_HAVE_LZ4
#include <lz4.h>
#endif

#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr std::size_t DataSize = 1 << 20;

// The text form of a large tally: sizes, then column by column the names
// and the counters, each line ended by CR LF.
std::vector<std::uint8_t> tallyText()
{
    const char *first[] = {"Ann", "Bob", "Carla", "Dieter", "Eve", "Frank", "Gwen", "Hugo"};
    std::mt19937 random(42);
    std::string text = "9\r\n30000\r\n0\r\n";
    for (int row = 1; text.size() < DataSize; ++row) {
        text += first[random() % 8];
        text += std::to_string(row % 97);
        text += "\r\n";
        text += std::to_string(random() % 400) + "\r\n";
    }
    text.resize(DataSize);
    return {text.begin(), text.end()};
}

std::vector<std::uint8_t> randomBytes()
{
    std::mt19937 random(7);
    std::vector<std::uint8_t> data(DataSize);
    for (auto &b : data)
        b = static_cast<std::uint8_t>(random());
    return data;
}

const std::vector<std::uint8_t> &data(int kind)
{
    static const std::vector<std::uint8_t> text = tallyText();
    static const std::vector<std::uint8_t> random = randomBytes();
    return kind == 0 ? text : random;
}

void setLabel(benchmark::State &state, int kind, std::size_t packed)
{
    state.SetLabel(kind == 0 ? "tally text" : "random bytes");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * DataSize));
    state.counters["ratio"] = static_cast<double>(packed) / DataSize;
}

void BM_Lzrw1Compress(benchmark::State &state)
{
    const int kind = static_cast<int>(state.range(0));
    zwonky::Tlzrw1 codec;
    std::size_t packed = 0;
    for (auto _ : state) {
        const auto out = codec.compressData(data(kind));
        packed = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    setLabel(state, kind, packed);
}

void BM_Lzrw1Decompress(benchmark::State &state)
{
    const int kind = static_cast<int>(state.range(0));
    zwonky::Tlzrw1 codec;
    const auto packed = codec.compressData(data(kind));
    for (auto _ : state) {
        const auto out = codec.decompressData(packed);
        if (out.size() != DataSize)
            throw std::runtime_error("round trip failed");
        benchmark::DoNotOptimize(out.data());
    }
    setLabel(state, kind, packed.size());
}

BENCHMARK(BM_Lzrw1Compress)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Lzrw1Decompress)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

#ifdef ZWONKY_HAVE_LZ4
void BM_Lz4Compress(benchmark::State &state)
{
    const int kind = static_cast<int>(state.range(0));
    const auto &in = data(kind);
    std::vector<char> out(static_cast<std::size_t>(LZ4_compressBound(DataSize)));
    int packed = 0;
    for (auto _ : state) {
        packed = LZ4_compress_default(reinterpret_cast<const char *>(in.data()), out.data(), DataSize,
                                      static_cast<int>(out.size()));
        benchmark::DoNotOptimize(out.data());
    }
    setLabel(state, kind, static_cast<std::size_t>(packed));
}

void BM_Lz4Decompress(benchmark::State &state)
{
    const int kind = static_cast<int>(state.range(0));
    const auto &in = data(kind);
    std::vector<char> packed(static_cast<std::size_t>(LZ4_compressBound(DataSize)));
    const int size = LZ4_compress_default(reinterpret_cast<const char *>(in.data()), packed.data(), DataSize,
                                          static_cast<int>(packed.size()));
    std::vector<char> out(DataSize);
    for (auto _ : state) {
        if (LZ4_decompress_safe(packed.data(), out.data(), size, DataSize) != static_cast<int>(DataSize))
            throw std::runtime_error("round trip failed");
        benchmark::DoNotOptimize(out.data());
    }
    setLabel(state, kind, static_cast<std::size_t>(size));
}

BENCHMARK(BM_Lz4Compress)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Lz4Decompress)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
#endif

} // namespace

BENCHMARK_MAIN();
