#pragma once

#include <csetjmp>
#include <csignal>
#include <cstddef>

namespace zwonky {

// Reads from a file mapping that survive the file being cut short.
//
// Touching a mapped page that lies past the end of a file cut since it was
// mapped raises SIGBUS, which kills the process by default. Asking the file
// for its size before every read would cost a system call per read; instead,
// run() marks the mapping as guarded for the length of one piece of work on
// this thread, and a SIGBUS handler installed once per process jumps back
// out of that work when the faulting address lies in the guarded mapping.
// Any other SIGBUS (another address, another thread, no guard active, a
// signal sent by kill) puts back whatever handled SIGBUS before and raises
// it again, so it ends the process as it would have without us.
//
// The work is abandoned with siglongjmp: it must not own anything that needs
// destroying (no objects with destructors, no locks, no allocation) and must
// not throw. Reading mapped bytes into plain locals is what it is for.
class BusFaultGuard
{
public:
    // Installs the handler the first time it is asked for; false when the
    // system refused it, and then mappings must not be read through run().
    static bool install();

    // Runs work() with [begin, begin + length) guarded. True when it
    // completed; false when a bus fault in that range cut it short, in which
    // case none of its result may be used.
    template <typename Work>
    static bool run(const void *begin, std::size_t length, Work &&work);

private:
    struct Frame
    {
        const char *begin;
        const char *end;
        sigjmp_buf resume;
        Frame *outer;   // a guard already active on this thread, if any
    };

    static void enter(Frame &frame, const void *begin, std::size_t length);
    static void leave(Frame &frame);
    static void recover(Frame &frame);
    static void onBusFault(int signal, siginfo_t *info, void *context);

    // The innermost guard active on this thread. A signal handler reaches
    // no object, so this is how it finds where to jump back to.
    static thread_local Frame *s_active;
};

template <typename Work>
bool BusFaultGuard::run(const void *begin, std::size_t length, Work &&work)
{
    Frame frame;
    enter(frame, begin, length);
    // No signal mask is saved here: saving it would cost a system call on
    // every run. The mask is mended on the rare way back from a fault.
    if (sigsetjmp(frame.resume, 0) != 0) {
        recover(frame);
        return false;
    }
    work();
    leave(frame);
    return true;
}

} // namespace zwonky
