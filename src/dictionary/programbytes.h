#pragma once

#include <QtGlobal>

namespace zwonky {

// Copies `size` bytes that lie in the running program's own read-only data
// (a built-in resource) to the file open as `out`, from the program's file
// to that file inside the kernel: the bytes are never read through this
// process's memory. Returns false where that cannot be done - the bytes
// are not in a part of a program file mapped as it is, that file cannot be
// opened or no longer holds them, or the kernel cannot copy between the two
// files; `out` may then hold part of the bytes, and the caller writes them
// its own way from the start.
bool copyProgramBytes(const char *bytes, qsizetype size, int out);

} // namespace zwonky
