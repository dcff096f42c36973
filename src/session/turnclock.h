#pragma once

#include <QObject>
#include <QTimer>

namespace zwonky {

// The local turn clock: seconds left in the running turn, one step a second.
// Its step is an ordinary method; tests (and anything that keeps its own
// time) switch the timer off with setManual(true) and call tick() themselves.
class TurnClock : public QObject
{
    Q_OBJECT
public:
    static constexpr int IntervalMs = 1000;

    explicit TurnClock(QObject *parent = nullptr);

    void setManual(bool manual);
    void start(int seconds);
    void stop();
    bool isRunning() const { return m_running; }
    int secondsLeft() const { return m_secondsLeft; }

    // One second: counts down and reports ticked(); below 0 the clock stops
    // at 0 and reports expired() instead. Does nothing while stopped.
    void tick();

signals:
    void ticked(int secondsLeft);
    void expired();

private:
    QTimer m_timer;
    bool m_manual = false;
    bool m_running = false;
    int m_secondsLeft = 0;
};

} // namespace zwonky
