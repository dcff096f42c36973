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
class SignalBridge : public QObject
{
    Q_OBJECT
public:
    explicit SignalBridge(QObject *parent = nullptr);
    ~SignalBridge() override;

    // Whether a termination signal has arrived, including one that came
    // while no event loop ran (so before anyone listened).
    bool requested();

signals:
    void terminationRequested(int signalNumber);

private:
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
    bool m_requested = false;
};

} // namespace zwonky
