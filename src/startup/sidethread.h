#pragma once

#include <functional>
#include <pthread.h>

namespace zwonky {

// A thread for work beside the window thread that starts at once.
//
// A new thread waits in the queue of the core its maker runs on until the
// scheduler moves it, which takes milliseconds while the maker keeps that
// core busy, as the window thread does all through a start. When the other
// cores are idle, this one is offered only them, so it starts on one at
// once; its first step gives it every core back. When another program keeps
// them busy, it is an ordinary thread: held to a busy core, it would get half
// of that core while its maker waits for it on its own. On a machine with one
// core it is an ordinary thread too.
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
