#include "dictionary/busfaultguard.h"

#include <pthread.h>

namespace zwonky {

namespace {

// How SIGBUS was handled before ours, put back when a fault is not ours.
// Written once, before our handler is installed, and only read afterwards.
struct sigaction g_previous = {};

} // namespace

// A plain pointer with no constructor: reading it in a signal handler needs
// no initialisation of the thread's storage.
thread_local BusFaultGuard::Frame *BusFaultGuard::s_active = nullptr;

bool BusFaultGuard::install()
{
    static const bool installed = [] {
        if (::sigaction(SIGBUS, nullptr, &g_previous) != 0)
            return false;
        struct sigaction action = {};
        action.sa_sigaction = &BusFaultGuard::onBusFault;
        sigemptyset(&action.sa_mask);
        // SIGBUS stays blocked while the handler runs; the jump back out
        // keeps it blocked, and recover() unblocks it.
        action.sa_flags = SA_SIGINFO | SA_ONSTACK;
        return ::sigaction(SIGBUS, &action, nullptr) == 0;
    }();
    return installed;
}

void BusFaultGuard::enter(Frame &frame, const void *begin, std::size_t length)
{
    frame.begin = static_cast<const char *>(begin);
    frame.end = frame.begin + length;
    frame.outer = s_active;
    s_active = &frame;
}

void BusFaultGuard::leave(Frame &frame)
{
    s_active = frame.outer;
}

void BusFaultGuard::recover(Frame &frame)
{
    s_active = frame.outer;
    sigset_t busOnly;
    sigemptyset(&busOnly);
    sigaddset(&busOnly, SIGBUS);
    pthread_sigmask(SIG_UNBLOCK, &busOnly, nullptr);
}

void BusFaultGuard::onBusFault(int signal, siginfo_t *info, void *)
{
    // Only a fault the kernel raised (a positive code) at an address one of
    // this thread's guards covers is ours; a signal sent by kill or queued
    // by another process never is, whatever address it claims.
    if (info && info->si_code > 0) {
        const char *address = static_cast<const char *>(info->si_addr);
        for (Frame *frame = s_active; frame; frame = frame->outer) {
            if (address >= frame->begin && address < frame->end)
                siglongjmp(frame->resume, 1);
        }
    }
    // Not ours: handled as if we had never been here. A fault returns to
    // the instruction that caused it, which faults again under the old
    // handling; a sent signal has to be sent again (it stays pending until
    // this handler returns).
    ::sigaction(signal, &g_previous, nullptr);
    if (!info || info->si_code <= 0)
        ::raise(signal);
}

} // namespace zwonky
