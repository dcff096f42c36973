#include "server/gameclock.h"

namespace zwonky {

GameClock::GameClock(QObject *parent) : QObject(parent)
{
    m_timer.setObjectName(QStringLiteral("Timer1"));
    m_timer.setInterval(IntervalMs);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_onTimeout)
            m_onTimeout();
    });
}

void GameClock::setManual(bool manual)
{
    m_manual = manual;
    if (manual)
        m_timer.stop();
    else if (m_enabled)
        m_timer.start();
}

void GameClock::enable(bool on)
{
    m_enabled = on;
    if (m_manual)
        return;
    if (on)
        m_timer.start();
    else
        m_timer.stop();
}

void GameClock::startTurn(int seconds)
{
    m_phase = TurnRunning;
    m_counter = seconds;
    enable(true);
}

void GameClock::startPause(int seconds)
{
    m_phase = Pausing;
    m_counter = seconds;
    enable(true);
}

void GameClock::stop()
{
    m_phase = NoPhase;
    enable(false);
}

GameClock::Expired GameClock::tick()
{
    if (!m_enabled)
        return Expired::Nothing;
    --m_counter;
    if (m_counter >= 1)
        return Expired::Nothing;
    if (m_phase == TurnRunning) {
        enable(false);
        return Expired::Turn;
    }
    if (m_phase == Pausing) {
        enable(false);
        return Expired::Pause;
    }
    return Expired::Nothing;
}

} // namespace zwonky
