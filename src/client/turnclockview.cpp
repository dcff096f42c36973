#include "client/turnclockview.h"

#include "client/lettertiles.h"
#include "session/clientsession.h"
#include "widgets/scaledtree.h"

#include <QLabel>

#include <algorithm>

namespace zwonky {

namespace {

constexpr int TileSide = LetterImages::TileSize;

} // namespace

TurnClockView::TurnClockView(ClientSession &session, QWidget *board, QObject *parent)
    : QObject(parent)
{
    m_timeLabel = new QLabel(QStringLiteral("Time: 0:00"), board);
    m_timeLabel->setObjectName(QStringLiteral("label_time"));
    m_timeLabel->setGeometry(TileSide + 9, ClockTop - 3, ClockBarLeft - TileSide - 14, 18);
    m_timeLabel->setToolTip(QStringLiteral("Time left in this turn"));
    // White on the cloth, as the rest of the board's lettering.
    QPalette clockColours = m_timeLabel->palette();
    clockColours.setColor(QPalette::WindowText, Qt::white);
    m_timeLabel->setPalette(clockColours);
    QFont clockFont = m_timeLabel->font();
    clockFont.setBold(true);
    m_timeLabel->setFont(clockFont);

    m_timerBar = new QLabel(board);
    m_timerBar->setObjectName(QStringLiteral("image_timer"));
    m_timerBar->setGeometry(ClockBarLeft, ClockTop, 0, 12);
    setTimerBarWidth(0);

    connect(&session, &ClientSession::clockTicked, this, &TurnClockView::show);
    connect(&session, &ClientSession::clockRanOut, this, [this] { show(0); });
}

void TurnClockView::show(int secondsLeft)
{
    setTimerBarWidth(secondsLeft);
    showTime(secondsLeft);
}

void TurnClockView::setTimerBarWidth(int seconds)
{
    // One logical pixel a second, as far as the board reaches.
    const int room = m_timerBar->parentWidget()
        ? std::max(0, scaled::geometry(m_timerBar->parentWidget()).width() - ClockBarLeft)
        : 0;
    scaled::resize(m_timerBar, {std::clamp(seconds, 0, room), scaled::geometry(m_timerBar).height()});
    // The bar warms from green to red as the turn runs out.
    const char *colour = seconds > 20 ? "#3d9a3d" : seconds > 10 ? "#e0a020" : "#d03a2a";
    const QString style = QStringLiteral("background:%1;border-radius:3px;").arg(QLatin1String(colour));
    if (m_timerBar->styleSheet() != style)
        m_timerBar->setStyleSheet(style);
}

void TurnClockView::showTime(int secondsLeft)
{
    const int seconds = qMax(0, secondsLeft);
    const int remainder = seconds % 60;
    m_timeLabel->setText(QStringLiteral("Time: %1:%2%3")
                             .arg(seconds / 60)
                             .arg(remainder < 10 ? QStringLiteral("0") : QString())
                             .arg(remainder));
}

} // namespace zwonky
