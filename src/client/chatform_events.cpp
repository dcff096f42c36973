// The main window's answers to its session: every message of the host is
// handled by the session, which then says what changed; here the start
// picture, the tally, the spy list and the closing of the window follow.

#include "client/chatform.h"
#include "client/mainmenus.h"

#include "client/chatpane.h"
#include "client/connectionnotice.h"
#include "client/playertableview.h"
#include "tally/tallyrecorder.h"
#include "session/clientsession.h"
#include "windows/spylistform.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <climits>

namespace zwonky {

void Tchat::wireSession()
{
    ClientSession *s = m_session;
    connect(s, &ClientSession::ownLoginConfirmed, this, [this] { loadinifile(); });
    connect(s, &ClientSession::notice, this, &Tchat::addlinetochat);
    connect(s, &ClientSession::soundRequested, this, &Tchat::playsounds);
    connect(s, &ClientSession::chatReceived, m_chatPane, &ChatPane::addRelayed);
    connect(s, &ClientSession::chatterSoundRequested, this, [this](int seat, const QString &sound) {
        // Seat 0: the message's seat was no number; a seat off the table names nobody.
        std::optional<QString> player;
        if (isPlayingSeat(seat))
            player = m_session->players().shownName(seat);
        m_chatPane->chatterSound(sound, player);
    });
    connect(s, &ClientSession::spectatorsChanged, this, [this] {
        auto *spies = qobject_cast<Tspylist *>(m_windows.spyList);
        if (!spies)
            return;
        QStringList now;
        for (const Spectator &spy : m_session->players().spectators())
            now << spy.entry();
        for (const QString &entry : std::as_const(m_listedSpies))
            if (!now.contains(entry))
                spies->removeEntry(entry);
        for (const QString &entry : std::as_const(now))
            if (!m_listedSpies.contains(entry))
                spies->addEntry(entry);
        m_listedSpies = now;
    });
    connect(s, &ClientSession::watchingChanged, this, [this](int seat, bool watching) {
        if (seat == ownSeat())
            m_menus->justWatch()->setChecked(watching);
    });
    connect(s, &ClientSession::gameStarted, this, &Tchat::onGameStarted);
    connect(s, &ClientSession::turnScored, this, &Tchat::onTurnScored);
    connect(s, &ClientSession::gameOver, this, &Tchat::onGameOver);
    connect(s, &ClientSession::gameFull, this,
            [this] { showMessage(QStringLiteral("Game is full"), [this] { close(); }); });
    connect(s, &ClientSession::connectionClosed, this, [this] {
        // What the host said before it closed ("CMD_full") was read first.
        m_closeWhenSettled = true;
        closeWhenSettled();
    });
    connect(s, &ClientSession::connectionError, this, [this] { onConnectionError(); });
    connect(s, &ClientSession::errorOccurred, this, &Tchat::reportError);
}

void Tchat::onConnectionError()
{
    // A failed connect is said in the chat instead of leaving the window silent.
    if (!isConnected())
        addlinetochat(connectFailureNotice(m_session->hostName(), m_session->connectFailure(),
                                           m_session->connectFailureDetail()),
                      ClientSession::NoticeBlue);
}

// ---------------------------------------------------------------- game phases

// The options panel and the status lines follow the session by themselves.
void Tchat::onGameStarted(const QString &, const GameSettings &)
{
    m_startButton->hide();
}

void Tchat::onGameOver(const QString &text)
{
    if (isHosting())
        m_startButton->show();
    // A team's win goes on nobody's tally.
    if (protocol::isTeamWinner(text))
        return;
    if (!isPlayingSeat(ownSeat()) || !m_tally)
        return;
    m_tally->addgame(text == m_playerName ? QStringLiteral("addtomine") : text);
    const PlayerRow &own = m_session->players().row(ownSeat());
    if (own.scoreIsNumber && own.score > m_tally->highestGameScore())
        m_tally->addscore(3, own.score);
}

// ---------------------------------------------------------------- letters and scores

void Tchat::onTurnScored(int seat, const TurnResult &result)
{
    if (seat == ownSeat() && m_tally) {
        const int turnScore = int(std::clamp<qint64>(result.points(), INT_MIN, INT_MAX));
        if (m_tally->highestTurnScore() < turnScore)
            m_tally->addscore(4, turnScore);
    }
}

} // namespace zwonky
