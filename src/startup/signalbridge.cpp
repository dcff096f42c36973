#include "startup/signalbridge.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>

#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zwonky {

namespace {
// The write end and the deadline must be reachable from the async-signal
// handler, which can carry no context; they are the process-wide values
// here, touched there only with write(2) and timer_settime(2), which are
// async-signal-safe.
int g_signalWriteFd = -1;
int g_signalReadFd = -1;
timer_t g_stopDeadline{};
volatile sig_atomic_t g_deadlineHeld = 0;
volatile sig_atomic_t g_stopSignal = 0;

void startStopDeadline()
{
    itimerspec deadline{};
    deadline.it_value.tv_sec = SignalBridge::StopDeadlineMs / 1000;
    deadline.it_value.tv_nsec = long(SignalBridge::StopDeadlineMs % 1000) * 1000000;
    ::timer_settime(g_stopDeadline, 0, &deadline, nullptr);
}

void onSignal(int number)
{
    if (g_stopSignal == 0) {
        g_stopSignal = number;
        if (g_deadlineHeld)
            startStopDeadline();
    }
    const unsigned char byte = static_cast<unsigned char>(number);
    if (g_signalWriteFd >= 0)
        [[maybe_unused]] auto written = ::write(g_signalWriteFd, &byte, 1);
}

void onStopOverdue(int)
{
    static const char text[] = "zwonky: the stop took too long; ending at once\n";
    [[maybe_unused]] auto written = ::write(STDERR_FILENO, text, sizeof text - 1);
    ::_exit(128 + g_stopSignal);
}
} // namespace

SignalBridge::SignalBridge(QObject *parent) : QObject(parent)
{
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, fds) != 0)
        return;
    ::fcntl(fds[0], F_SETFL, O_NONBLOCK);
    ::fcntl(fds[1], F_SETFL, O_NONBLOCK);
    g_signalWriteFd = fds[0];
    g_signalReadFd = fds[1];
    m_notifier = new QSocketNotifier(g_signalReadFd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalBridge::readSignal);

    // The deadline's timer is made now: a signal handler may only set it.
    sigevent overdue{};
    overdue.sigev_notify = SIGEV_SIGNAL;
    overdue.sigev_signo = SIGALRM;
    m_deadlineMade = ::timer_create(CLOCK_MONOTONIC, &overdue, &g_stopDeadline) == 0;
    g_stopSignal = 0;
    g_deadlineHeld = 0;
    struct sigaction action = {};
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    if (m_deadlineMade) {
        action.sa_handler = onStopOverdue;
        ::sigaction(SIGALRM, &action, nullptr);
    }
    action.sa_handler = onSignal;
    for (int number : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(number, &action, nullptr);
}

SignalBridge::~SignalBridge()
{
    for (int number : {SIGTERM, SIGINT, SIGHUP})
        std::signal(number, SIG_DFL);
    g_deadlineHeld = 0;
    if (m_deadlineMade) {
        ::timer_delete(g_stopDeadline);
        std::signal(SIGALRM, SIG_DFL);
    }
    if (m_notifier)
        m_notifier->setEnabled(false);
    if (g_signalWriteFd >= 0)
        ::close(g_signalWriteFd);
    if (g_signalReadFd >= 0)
        ::close(g_signalReadFd);
    g_signalWriteFd = g_signalReadFd = -1;
}

void SignalBridge::holdStopsToDeadline()
{
    if (!m_deadlineMade)
        return;
    // A stop that came before starts the deadline here. One that comes
    // in between may start it twice, which only sets the same timer again.
    g_deadlineHeld = 1;
    if (g_stopSignal != 0)
        startStopDeadline();
}

bool SignalBridge::requested()
{
    readSignal();
    return m_requested;
}

void SignalBridge::readSignal()
{
    if (g_signalReadFd < 0)
        return;
    unsigned char byte = 0;
    while (::read(g_signalReadFd, &byte, 1) == 1) {
        m_requested = true;
        // Modal boxes first: each runs its own event loop, which would keep
        // the program from ever getting back to the main one.
        QWidget *previous = nullptr;
        while (QWidget *box = QApplication::activeModalWidget()) {
            if (box == previous)
                break; // it refused to close
            box->close();
            previous = box;
        }
        emit terminationRequested(byte);
    }
}

} // namespace zwonky
