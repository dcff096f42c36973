#include "tally/lzrw1.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <new>
#include <random>
#include <system_error>

namespace zwonky {

namespace {

// ---- error texts --------------------------------------------------------

[[noreturn]] void fail(const std::string &text)
{
    throw ELzrw1Exception(text);
}

[[noreturn]] void failNoMemory()
{
    fail("Lzrw1 (de)compression : Failed to get memory for I/O buffers !");
}

[[noreturn]] void failReading(const std::string &input)
{
    fail("Lzrw1 : Error reading from input file : " + input);
}

[[noreturn]] void failWriting(const std::string &output)
{
    fail("Lzrw1 : Error writing to output file : " + output);
}

[[noreturn]] void failSizes()
{
    fail("Lzrw1 (decompression LZRW1/KH) : Original and compressed sizes do not match !");
}

// ---- byte sources and sinks ---------------------------------------------

class ByteSource
{
public:
    virtual ~ByteSource() = default;
    // Reads up to count bytes; fewer only at the end or on error.
    virtual std::size_t read(std::uint8_t *to, std::size_t count) = 0;
    virtual bool failed() const = 0;
};

class ByteSink
{
public:
    virtual ~ByteSink() = default;
    virtual bool write(const std::uint8_t *from, std::size_t count) = 0;
};

class MemorySource final : public ByteSource
{
public:
    explicit MemorySource(std::span<const std::uint8_t> data) : m_data(data) {}
    std::size_t read(std::uint8_t *to, std::size_t count) override
    {
        const std::size_t n = std::min(count, m_data.size() - m_position);
        if (n > 0)
            std::memcpy(to, m_data.data() + m_position, n);
        m_position += n;
        return n;
    }
    bool failed() const override { return false; }

private:
    std::span<const std::uint8_t> m_data;
    std::size_t m_position = 0;
};

class MemorySink final : public ByteSink
{
public:
    bool write(const std::uint8_t *from, std::size_t count) override
    {
        m_data.insert(m_data.end(), from, from + count);
        return true;
    }
    std::vector<std::uint8_t> take() { return std::move(m_data); }

private:
    std::vector<std::uint8_t> m_data;
};

class FileSource final : public ByteSource
{
public:
    explicit FileSource(std::FILE *file) : m_file(file) {}
    ~FileSource() override { std::fclose(m_file); }
    FileSource(const FileSource &) = delete;
    FileSource &operator=(const FileSource &) = delete;

    std::size_t read(std::uint8_t *to, std::size_t count) override
    {
        return std::fread(to, 1, count, m_file);
    }
    bool failed() const override { return std::ferror(m_file) != 0; }

private:
    std::FILE *m_file;
};

// The output goes to a private file beside the target; only commit() puts
// it in the target's place. Until then, and on every failure, the target is
// untouched and the private file is removed.
class PendingOutput final : public ByteSink
{
public:
    explicit PendingOutput(const std::string &target) : m_target(target)
    {
        namespace fs = std::filesystem;
        const fs::path targetPath(target);
        if (targetPath.filename().empty())
            return;
        fs::path folder = targetPath.parent_path();
        std::random_device entropy;
        for (int attempt = 0; attempt < 16 && !m_file; ++attempt) {
            char suffix[32];
            std::snprintf(suffix, sizeof suffix, ".%08x.part", static_cast<unsigned>(entropy()));
            const fs::path candidate = folder / (targetPath.filename().string() + suffix);
            // "x": never reuse or clobber an existing file.
            m_file = std::fopen(candidate.c_str(), "wbx");
            if (m_file)
                m_temporary = candidate;
            else if (errno != EEXIST)
                break;
        }
    }
    ~PendingOutput() override
    {
        if (m_file)
            std::fclose(m_file);
        if (!m_temporary.empty()) {
            std::error_code ignored;
            std::filesystem::remove(m_temporary, ignored);
        }
    }
    PendingOutput(const PendingOutput &) = delete;
    PendingOutput &operator=(const PendingOutput &) = delete;

    bool isOpen() const { return m_file != nullptr; }

    bool write(const std::uint8_t *from, std::size_t count) override
    {
        return std::fwrite(from, 1, count, m_file) == count;
    }

    void commit()
    {
        const bool closed = std::fclose(m_file) == 0;
        m_file = nullptr;
        if (!closed)
            failWriting(m_target);
        std::error_code error;
        std::filesystem::rename(m_temporary, m_target, error);
        if (error)
            failWriting(m_target);
        m_temporary.clear();
    }

private:
    std::string m_target;
    std::filesystem::path m_temporary;
    std::FILE *m_file = nullptr;
};

// ---- container ----------------------------------------------------------

void putLe32(std::uint8_t *to, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        to[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t getLe32(const std::uint8_t *from)
{
    return std::uint32_t(from[0]) | std::uint32_t(from[1]) << 8 | std::uint32_t(from[2]) << 16
        | std::uint32_t(from[3]) << 24;
}

std::size_t readFully(ByteSource &source, std::uint8_t *to, std::size_t count)
{
    std::size_t total = 0;
    while (total < count) {
        const std::size_t got = source.read(to + total, count - total);
        if (got == 0)
            break;
        total += got;
    }
    return total;
}

struct Buffers
{
    std::vector<std::uint8_t> in;
    std::vector<std::uint8_t> out;
};

Buffers getBuffers()
{
    try {
        return Buffers{std::vector<std::uint8_t>(lzrw1::BufferSize), std::vector<std::uint8_t>(lzrw1::BufferSize)};
    } catch (const std::bad_alloc &) {
        failNoMemory();
    }
}

std::int64_t compressContainer(ByteSource &source, std::int64_t size, ByteSink &sink,
                               const std::string &input, const std::string &output,
                               const std::function<void()> &betweenBlocks)
{
    Buffers buffers = getBuffers();
    TLZR coder;
    std::uint8_t header[lzrw1::HeaderSize];
    putLe32(header, lzrw1::IdentifierFast);
    putLe32(header + 4, static_cast<std::uint32_t>(size));
    if (!sink.write(header, sizeof header))
        failWriting(output);
    std::int64_t written = sizeof header;
    std::int64_t consumed = 0;
    for (;;) {
        const std::size_t got = readFully(source, buffers.in.data(), lzrw1::ChunkSize);
        consumed += static_cast<std::int64_t>(got);
        // A file that changes under us would give a header that lies.
        if (source.failed() || consumed > size)
            failReading(input + " (LZRW1/KH)");
        const std::size_t length = coder.CompressBlock(buffers.in.data(), got, buffers.out.data());
        const std::uint8_t prefix[2] = {static_cast<std::uint8_t>(length & 0xFF),
                                        static_cast<std::uint8_t>(length >> 8)};
        if (!sink.write(prefix, 2) || !sink.write(buffers.out.data(), length))
            failWriting(output);
        written += static_cast<std::int64_t>(2 + length);
        if (betweenBlocks)
            betweenBlocks();
        if (got < lzrw1::ChunkSize)
            break;
    }
    if (consumed != size)
        failReading(input + " (LZRW1/KH)");
    return written;
}

std::int64_t decompressContainer(ByteSource &source, ByteSink &sink, const std::string &input,
                                 const std::string &output, const std::function<void()> &betweenBlocks)
{
    Buffers buffers = getBuffers();
    const TLZR coder;
    std::uint8_t field[4];
    if (readFully(source, field, 4) != 4)
        failReading(input);
    // The LZH-coded kind (0x4C5A4821) is never written by this program and
    // is refused like any other foreign file.
    if (getLe32(field) != lzrw1::IdentifierFast)
        fail(input + " : Lzrw1 decompression : this file has no valid header !");
    if (readFully(source, field, 4) != 4)
        failReading(input);
    const std::int64_t size = static_cast<std::int32_t>(getLe32(field));
    std::int64_t written = 0;
    for (;;) {
        if (readFully(source, field, 2) != 2)
            failReading(input);
        const std::size_t length = std::size_t(field[0]) | std::size_t(field[1]) << 8;
        if (length > lzrw1::MaxBodyLength)
            fail("Lzrw1 (decompression LZRW1/KH) : Damaged block in : " + input);
        if (readFully(source, buffers.in.data(), length) != length)
            failReading(input);
        std::size_t chunk = 0;
        try {
            chunk = coder.DecompressBlock(buffers.in.data(), length, buffers.out.data(), lzrw1::ChunkSize);
        } catch (const Lzrw1DamagedBlock &) {
            fail("Lzrw1 (decompression LZRW1/KH) : Damaged block in : " + input);
        }
        if (!sink.write(buffers.out.data(), chunk))
            failWriting(output);
        written += static_cast<std::int64_t>(chunk);
        // Stop a damaged or hostile file from producing more than it claims.
        if (written > size)
            failSizes();
        if (betweenBlocks)
            betweenBlocks();
        if (chunk != lzrw1::ChunkSize)
            break;
    }
    if (written != size)
        failSizes();
    return written;
}

std::FILE *openInput(const std::string &name)
{
    std::FILE *file = std::fopen(name.c_str(), "rb");
    if (!file)
        fail("Lzrw1 (de)compression : Failed to open input file : " + name);
    return file;
}

// Writing over the input would change it; refuse as an unusable output.
void refuseSameFile(const std::string &input, const std::string &output)
{
    std::error_code error;
    if (std::filesystem::equivalent(input, output, error) && !error)
        fail("Lzrw1 (de)compression : Failed to open output file : " + output);
}

} // namespace

// ---- file to file -------------------------------------------------------

std::int64_t Tlzrw1::Compress()
{
    getBuffers();  // fail early, before any file is touched
    std::error_code error;
    const auto size = std::filesystem::file_size(InputFile, error);
    if (error || size > static_cast<std::uintmax_t>(std::numeric_limits<std::int32_t>::max()))
        fail("Lzrw1 compression : Failed to obtain the size of : " + InputFile);
    FileSource source(openInput(InputFile));
    refuseSameFile(InputFile, OutputFile);
    PendingOutput output(OutputFile);
    if (!output.isOpen())
        fail("Lzrw1 (de)compression : Failed to open output file : " + OutputFile);
    const std::int64_t written = compressContainer(source, static_cast<std::int64_t>(size), output, InputFile,
                                                   OutputFile, m_betweenBlocks);
    output.commit();
    return written;
}

std::int64_t Tlzrw1::Decompress()
{
    getBuffers();
    FileSource source(openInput(InputFile));
    refuseSameFile(InputFile, OutputFile);
    PendingOutput output(OutputFile);
    if (!output.isOpen())
        fail("Lzrw1 (de)compression : Failed to open output file : " + OutputFile);
    const std::int64_t written = decompressContainer(source, output, InputFile, OutputFile, m_betweenBlocks);
    output.commit();
    return written;
}

std::vector<std::uint8_t> Tlzrw1::compressData(std::span<const std::uint8_t> data, const std::string &name)
{
    if (data.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        fail("Lzrw1 compression : Failed to obtain the size of : " + name);
    MemorySource source(data);
    MemorySink sink;
    compressContainer(source, static_cast<std::int64_t>(data.size()), sink, name, name, m_betweenBlocks);
    return sink.take();
}

std::vector<std::uint8_t> Tlzrw1::decompressData(std::span<const std::uint8_t> container, const std::string &name)
{
    MemorySource source(container);
    MemorySink sink;
    decompressContainer(source, sink, name, name, m_betweenBlocks);
    return sink.take();
}

} // namespace zwonky
