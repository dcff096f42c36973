#pragma once

#include <QObject>

class QSocketNotifier;

namespace zwonky {

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal on the UI thread, so that
// stopping the program from a terminal or logging out closes the main window
// exactly as File > Exit does (and saves what an ordinary exit saves).
//
// Made first thing at start, so that no stop can catch the program with its
// default handlers in place. A message box open when the signal comes (one
// shown while the windows are still being made) is closed, so that nothing
// waits for a click on the way out.
//
// Once the program runs (holdStopsToDeadline), a stop asked for by a signal
// is also held to a deadline: should the ordinary way out not have ended
// the process StopDeadlineMs after the first signal (a thread kept busy, a
// wait that nothing ends), the process ends there and then, with the exit
// status 128 + the signal's number, as a process ended by that signal.
// Before, a stop waits for the start's own work, which always ends.
class SignalBridge : public QObject
{
    Q_OBJECT
public:
    static constexpr int StopDeadlineMs = 1800;

    explicit SignalBridge(QObject *parent = nullptr);
    ~SignalBridge() override;

    // Whether a termination signal has arrived, including one that came
    // while no event loop ran (so before anyone listened).
    bool requested();
    // From now on a stop by signal ends the process within StopDeadlineMs.
    void holdStopsToDeadline();

signals:
    void terminationRequested(int signalNumber);

private:
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
    bool m_deadlineMade = false;
    bool m_requested = false;
};

} // namespace zwonky
