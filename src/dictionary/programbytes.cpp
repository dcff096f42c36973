#include "dictionary/programbytes.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <link.h>
#include <string>
#include <unistd.h>

namespace zwonky {

namespace {

struct Search
{
    uintptr_t begin = 0;
    uintptr_t end = 0;
    std::string file;       // empty until found
    off_t offset = 0;
    bool found = false;
};

// Finds the loaded object whose file-backed segment holds [begin, end).
int findSegment(dl_phdr_info *info, size_t, void *data)
{
    auto *search = static_cast<Search *>(data);
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr) &segment = info->dlpi_phdr[i];
        if (segment.p_type != PT_LOAD)
            continue;
        const uintptr_t start = info->dlpi_addr + segment.p_vaddr;
        // Only the part read from the file: the rest of a segment is zeros.
        if (search->begin < start || search->end > start + segment.p_filesz)
            continue;
        search->found = true;
        search->offset = off_t(segment.p_offset + (search->begin - start));
        // The program itself has no name here; its file is reached through
        // /proc even if it was replaced on disk while running.
        search->file = info->dlpi_name && *info->dlpi_name ? info->dlpi_name : "/proc/self/exe";
        return 1;
    }
    return 0;
}

// The file still holds the bytes where the mapping says: compares a few
// hundred bytes at both ends (a library replaced on disk since it was
// loaded would not).
bool holdsBytes(int in, off_t offset, const char *bytes, qsizetype size)
{
    constexpr qsizetype Probe = 256;
    char read[Probe];
    const qsizetype head = std::min(Probe, size);
    const qsizetype tailAt = size - head;
    return ::pread(in, read, size_t(head), offset) == head && std::memcmp(read, bytes, size_t(head)) == 0
        && ::pread(in, read, size_t(head), offset + tailAt) == head
        && std::memcmp(read, bytes + tailAt, size_t(head)) == 0;
}

} // namespace

bool copyProgramBytes(const char *bytes, qsizetype size, int out)
{
    if (!bytes || size <= 0 || out < 0)
        return false;
    Search search;
    search.begin = reinterpret_cast<uintptr_t>(bytes);
    search.end = search.begin + uintptr_t(size);
    if (!dl_iterate_phdr(findSegment, &search) || !search.found)
        return false;
    const int in = ::open(search.file.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return false;
    bool copied = holdsBytes(in, search.offset, bytes, size);
    loff_t from = search.offset;
    qsizetype left = copied ? size : 0;
    while (left > 0) {
        const ssize_t done = ::copy_file_range(in, &from, out, nullptr, size_t(left), 0);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0) {
            copied = false;
            break;
        }
        left -= done;
    }
    ::close(in);
    return copied;
}

} // namespace zwonky
