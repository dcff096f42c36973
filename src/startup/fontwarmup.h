#pragma once

#include <thread>

namespace zwonky {

// Reads the system's font configuration and fills Qt's font database on a
// thread of its own while the windows are being made. It is the longest
// single step of a start, and the first text a window measures would
// otherwise wait for all of it on the one thread that builds the windows.
// Qt's font database may be used from any thread: a window that wants a
// font before the filling is done waits on the database's own lock, and
// gets the same fonts it would have got without this.
//
// Needs the QGuiApplication to exist for its whole life.
class FontWarmup
{
public:
    FontWarmup();
    ~FontWarmup();

    FontWarmup(const FontWarmup &) = delete;
    FontWarmup &operator=(const FontWarmup &) = delete;

private:
    std::thread m_thread;
};

} // namespace zwonky
