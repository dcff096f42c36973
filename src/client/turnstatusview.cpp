#include "client/turnstatusview.h"

#include "client/colortext.h"
#include "net/protocol.h"
#include "session/clientsession.h"
#include "widgets/fittinglabel.h"
#include "widgets/pilllabel.h"
#include "widgets/textcolour.h"
#include "widgets/plaintext.h"

#include <QLabel>

namespace zwonky {

namespace {

// Green and red, each as dark as it needs to be to read on the cream pill.
constexpr quint32 StatusGreen = 0x007A00;
constexpr quint32 StatusRed = 0x0000D0;

void setTextColour(QWidget *widget, quint32 value)
{
    const QColor colour = colorFromValue(value);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

} // namespace

TurnStatusView::TurnStatusView(ClientSession &session, QWidget *parent)
    : QObject(parent), m_session(session)
{
    QFont bold = parent->font();
    bold.setBold(true);

    m_turnLabel = new QLabel(parent);
    plaintext::keep(m_turnLabel);
    m_turnLabel->setObjectName(QStringLiteral("label_turn"));
    m_turnLabel->setGeometry(4, 300, 250, 24);
    QFont turnFont = bold;
    turnFont.setPixelSize(16);
    m_turnLabel->setFont(turnFont);
    setTextColour(m_turnLabel, QColor(0xff, 0xe7, 0xa3));

    m_status = new PillLabel(parent);
    plaintext::keep(m_status);
    m_status->setObjectName(QStringLiteral("label_status"));
    m_status->setGeometry(190, 204, 595, 21);
    QFont statusFont = bold;
    statusFont.setPixelSize(14);
    m_status->setFont(statusFont);

    m_winnerPanel = new QLabel(parent);
    plaintext::keep(m_winnerPanel);
    m_winnerPanel->setObjectName(QStringLiteral("panel_winner"));
    m_winnerPanel->setGeometry(214, 232, 547, 94);
    m_winnerPanel->setAlignment(Qt::AlignCenter);
    m_winnerPanel->setWordWrap(true);
    QFont winnerFont = bold;
    winnerFont.setPixelSize(24);
    m_winnerPanel->setFont(winnerFont);
    m_winnerPanel->setStyleSheet(QStringLiteral(
        "QLabel { color: #7a1500; border: 3px solid #e87a1e; border-radius: 14px;"
        " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fff6d6, stop:1 #ffd98a); }"));
    m_winnerPanel->hide();

    // A long turn result (a long name, big numbers) is set smaller, not cut.
    m_ending = new FittingLabel(QStringLiteral("Welcome to Zwonky!"), parent);
    m_ending->setObjectName(QStringLiteral("memo_ending"));
    m_ending->setGeometry(262, 338, 523, 24);
    m_ending->setIndent(8);
    m_ending->setStyleSheet(QStringLiteral(
        "QLabel { color: #1e1e1e; background: #ffe7a3; border: 1px solid #c8962e;"
        " border-radius: 6px; }"));

    ClientSession *s = &m_session;
    connect(s, &ClientSession::gameStarted, m_winnerPanel, &QWidget::hide);
    connect(s, &ClientSession::caughtUp, this,
            [this](int, const GameSettings &settings) { onCaughtUp(settings); });
    connect(s, &ClientSession::turnHandedOver, m_status, &QLabel::clear);
    connect(s, &ClientSession::turnStarted, this, &TurnStatusView::onTurnStarted);
    connect(s, &ClientSession::wordAccepted, this,
            [this](int, int, const QString &word) { onWordAccepted(word); });
    connect(s, &ClientSession::wordRejected, this, &TurnStatusView::onWordRejected);
    connect(s, &ClientSession::announcement, m_ending, &QLabel::setText);
    connect(s, &ClientSession::turnEnded, this, &TurnStatusView::onTurnEnded);
    connect(s, &ClientSession::gameOver, this, &TurnStatusView::onGameOver);
}

void TurnStatusView::showOwnTurn() { m_turnLabel->setText(QStringLiteral("Your Turn.")); }

void TurnStatusView::onTurnStarted(int seat)
{
    if (seat == m_session.ownSeat()) {
        showOwnTurn();
        return;
    }
    m_turnLabel->setText(m_session.players().shownName(seat) + QStringLiteral("'s turn."));
}

// A late comer to a fast game sees his own turn as it stands.
void TurnStatusView::onCaughtUp(const GameSettings &settings)
{
    if (settings.fast && m_session.isOwnTurn())
        showOwnTurn();
}

void TurnStatusView::onWordAccepted(const QString &word)
{
    m_status->setText(word + QStringLiteral(" ACCEPTED"));
    setTextColour(m_status, StatusGreen);
}

void TurnStatusView::onWordRejected(const QString &word, const QString &reason)
{
    m_status->setText(word + reason);
    setTextColour(m_status, StatusRed);
}

void TurnStatusView::onTurnEnded()
{
    m_status->setText(QStringLiteral("Posting Scores.. One Moment Please!"));
    setTextColour(m_status, StatusRed);
    // Nobody's turn during the pause: a stale "Your Turn." would mislead.
    m_turnLabel->clear();
}

void TurnStatusView::onGameOver(const QString &winnerText)
{
    m_status->setText(QStringLiteral("Game Over!"));
    const bool team = protocol::isTeamWinner(winnerText);
    m_winnerPanel->setText(winnerText + (team ? QStringLiteral(" have Won the Game!")
                                              : QStringLiteral(" has Won the Game!")));
    m_winnerPanel->show();
    m_winnerPanel->raise();
}

} // namespace zwonky
