#include "startup/signalbridge.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zwonky {

namespace {
// The write end must be reachable from the async-signal handler, which can
// carry no context; it is the one process-wide value here and is only ever
// written to with write(2), which is async-signal-safe.
int g_signalWriteFd = -1;
int g_signalReadFd = -1;

void onSignal(int number)
{
    const unsigned char byte = static_cast<unsigned char>(number);
    if (g_signalWriteFd >= 0)
        [[maybe_unused]] auto written = ::write(g_signalWriteFd, &byte, 1);
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

    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(number, &action, nullptr);
}

SignalBridge::~SignalBridge()
{
    for (int number : {SIGTERM, SIGINT, SIGHUP})
        std::signal(number, SIG_DFL);
    if (m_notifier)
        m_notifier->setEnabled(false);
    if (g_signalWriteFd >= 0)
        ::close(g_signalWriteFd);
    if (g_signalReadFd >= 0)
        ::close(g_signalReadFd);
    g_signalWriteFd = g_signalReadFd = -1;
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
