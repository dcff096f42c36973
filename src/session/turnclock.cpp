#include "session/turnclock.h"

namespace zwonky {

TurnClock::TurnClock(QObject *parent) : QObject(parent)
{
    // In the object tree under its window's name, so that it can be found.
    m_timer.setParent(this);
    m_timer.setObjectName(QStringLiteral("Timer2"));
    m_timer.setInterval(IntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &TurnClock::tick);
}

void TurnClock::setManual(bool manual)
{
    m_manual = manual;
    if (manual)
        m_timer.stop();
    else if (m_running)
        m_timer.start();
}

void TurnClock::start(int seconds)
{
    m_secondsLeft = seconds;
    m_running = true;
    if (!m_manual)
        m_timer.start();
}

void TurnClock::stop()
{
    m_running = false;
    m_timer.stop();
}

void TurnClock::tick()
{
    if (!m_running)
        return;
    --m_secondsLeft;
    if (m_secondsLeft < 0) {
        stop();
        m_secondsLeft = 0;
        emit expired();
        return;
    }
    emit ticked(m_secondsLeft);
}

} // namespace zwonky
