#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

namespace zwonky {

// The one-second turn and pause clock (`Timer1`): a phase and a counter of
// seconds. tick() is an ordinary method, called by the timer or stepped by a
// test; in manual mode the timer never runs and only the enabled flag moves.
class GameClock : public QObject
{
    Q_OBJECT
public:
    static constexpr int IntervalMs = 1000;
    enum Phase { NoPhase = 0, TurnRunning = 1, Pausing = 2 };
    enum class Expired { Nothing, Turn, Pause };

    explicit GameClock(QObject *parent = nullptr);

    void setManual(bool manual);
    // The timer's ticks go here (wrapped by the owner against exceptions).
    void setOnTimeout(std::function<void()> handler) { m_onTimeout = std::move(handler); }

    void startTurn(int seconds);
    void startPause(int seconds);
    // No turn and no pause: the clock is off.
    void stop();
    // The running turn ends at the next tick.
    void endTurnSoon() { m_counter = 1; }
    // One second: counts down and tells which phase ran out; the clock is
    // off afterwards when one did.
    Expired tick();

    Phase phase() const { return m_phase; }
    int counter() const { return m_counter; }
    bool enabled() const { return m_enabled; }
    bool turnRunning() const { return m_phase == TurnRunning; }

private:
    void enable(bool on);

    QTimer m_timer;
    std::function<void()> m_onTimeout;
    Phase m_phase = NoPhase;
    int m_counter = 0;
    bool m_enabled = false;
    bool m_manual = false;
};

} // namespace zwonky
