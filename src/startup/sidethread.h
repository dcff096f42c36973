#pragma once

#include <functional>
#include <pthread.h>

namespace zwonky {

// A thread for work beside the window thread that starts at once.
//
// A new thread waits in the queue of the core its maker runs on until the
// scheduler moves it, which takes milliseconds while the maker keeps that
// core busy, as the window thread does all through a start. This one is
// offered only the other cores the process may use, so it starts on an idle
// one at once; its first step gives it every core back. On a machine with
// one core it is an ordinary thread.
class SideThread
{
public:
    // Throws std::system_error when no thread can be made. As on any
    // thread, an exception leaving `work` ends the program.
    explicit SideThread(std::function<void()> work);
    // Waits for the work to end.
    ~SideThread();

    SideThread(const SideThread &) = delete;
    SideThread &operator=(const SideThread &) = delete;

private:
    static void *run(void *self);

    std::function<void()> m_work;
    cpu_set_t m_everyCore;
    bool m_placed = false;
    pthread_t m_thread;
};

} // namespace zwonky
