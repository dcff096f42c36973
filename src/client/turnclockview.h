#pragma once

// The turn clock under the rack: "Time: m:ss" (`label_time`) and a bar one
// pixel a second long (`image_timer`) that warms from green to red. It shows
// the session's clock; the clock itself (`Timer2`) is the session's.

#include <QObject>

class QLabel;
class QWidget;

namespace zwonky {

class ClientSession;

class TurnClockView : public QObject
{
    Q_OBJECT
public:
    // Where the clock sits on the board, under the rack.
    static constexpr int ClockTop = 152;
    static constexpr int ClockBarLeft = 150;

    // The label and the bar are made on `board`.
    TurnClockView(ClientSession &session, QWidget *board, QObject *parent = nullptr);

    QLabel *timeLabel() const { return m_timeLabel; }
    QLabel *timerBar() const { return m_timerBar; }
    // Shows `secondsLeft` on both; a negative time shows as 0:00.
    void show(int secondsLeft);

private:
    void setTimerBarWidth(int seconds);
    void showTime(int secondsLeft);

    QLabel *m_timerBar = nullptr;  // `image_timer`
    QLabel *m_timeLabel = nullptr; // `label_time`
};

} // namespace zwonky
