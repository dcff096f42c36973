#pragma once

#include "startup/sidethread.h"

#include <latch>
#include <optional>

namespace zwonky {

// Loads the system's font configuration (fontconfig's configuration files
// and font caches, some milliseconds) on a side thread from the first line
// of the program on, while the QApplication is made: without it the load is
// the first part of filling Qt's font database, which starts only once the
// QApplication exists, and the first window to measure a text waits for it.
//
// Nothing may use fontconfig before wait() has returned: a second user
// would load a configuration of its own meanwhile and throw one away. Qt's
// font database is its only user in this program, so wait() comes before
// the first font is asked for.
class FontConfigLoad
{
public:
    // Starts the load; on a machine that has no thread to spare, the font
    // database loads the configuration itself, as without this.
    FontConfigLoad();
    // Waits for the load.
    ~FontConfigLoad();

    FontConfigLoad(const FontConfigLoad &) = delete;
    FontConfigLoad &operator=(const FontConfigLoad &) = delete;

    // Returns once the configuration is loaded (or will never be); from any
    // thread, any number of times.
    void wait();

private:
    std::latch m_loaded{1};
    std::optional<SideThread> m_thread;
};

} // namespace zwonky
