#pragma once

namespace zwonky {

// Ends the process with `exitCode` once the program's own objects are gone
// or hold nothing but memory (the settings, the tally, the working word list
// and the single-instance guard are dealt with by then). What would still
// run is the objects' destruction, Qt's teardown and the libraries' exit
// handlers, which only give memory back to a process about to end; it is
// skipped. It is kept when the game owns the clipboard or the selection:
// the desktop takes those over from it, so a text copied from the game
// stays pasteable. Returns `exitCode` in that case, for main() to return.
int endProcess(int exitCode);

} // namespace zwonky
