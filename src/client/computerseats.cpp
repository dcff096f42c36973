#include "client/computerseats.h"

#include "players/computerplayer.h"
#include "players/playerlevel.h"
#include "session/sessionstate.h"

#include <QDateTime>
#include <QTimer>

#include <algorithm>

namespace zwonky {

ComputerSeats::ComputerSeats(QObject *parent) : QObject(parent) {}

ComputerSeats::~ComputerSeats() = default;

void ComputerSeats::add(int level)
{
    const quint32 seed = quint32(QDateTime::currentMSecsSinceEpoch()) + quint32(m_added);
    auto player = std::make_unique<ComputerPlayer>(level, seed);
    player->setPaceScale(m_paceScale);
    ClientSession &session = player->session();
    session.setPlayerName(ComputerPlayer::defaultName(m_added++));
    ComputerPlayer *raw = player.get();
    connect(&session, &ClientSession::loggedIn, this, [this, raw](int seat) {
        if (!isPlayingSeat(seat))
            drop(raw, QStringLiteral("Every playing seat is taken: no computer player added."));
    });
    connect(&session, &ClientSession::playerChanged, this, &ComputerSeats::checkSeated);
    connect(&session, &ClientSession::gameFull, this, [this, raw] {
        drop(raw, QStringLiteral("The game is full: no computer player added."));
    });
    connect(&session, &ClientSession::connectionError, this, [this, raw](const QString &text) {
        drop(raw, QStringLiteral("A computer player could not join: ") + text);
    });
    connect(&session, &ClientSession::connectionClosed, this,
            [this, raw] { drop(raw, QString()); });
    m_players.push_back(std::move(player));
    m_unconnected.push_back(raw);
    connectNext();
    emit changed();
}

void ComputerSeats::connectNext()
{
    if (m_connecting && !isSeated(m_connecting))
        return;
    m_connecting = nullptr;
    if (m_unconnected.empty())
        return;
    m_connecting = m_unconnected.front();
    m_unconnected.pop_front();
    m_connecting->session().connectToHost(QStringLiteral("127.0.0.1"), m_port);
}

bool ComputerSeats::isSeated(const ComputerPlayer *player) const
{
    const ClientSession &s = player->session();
    return s.isConnected() && s.players().row(s.ownSeat()).seated;
}

void ComputerSeats::drop(ComputerPlayer *player, const QString &why)
{
    const auto found = std::find_if(m_players.begin(), m_players.end(),
                                    [player](const auto &p) { return p.get() == player; });
    if (found == m_players.end())
        return;
    std::erase(m_unconnected, player);
    if (m_connecting == player)
        m_connecting = nullptr;
    // Not deleted inside its own signal: handed to the event loop.
    found->release()->deleteLater();
    m_players.erase(found);
    if (!why.isEmpty())
        emit notice(why);
    emit changed();
    checkSeated();
}

void ComputerSeats::removeAll()
{
    // Called from the menu, never from a player's own signal: each goes at
    // once, and its connection closes with it.
    auto players = std::move(m_players);
    m_players.clear();
    m_unconnected.clear();
    m_connecting = nullptr;
    players.clear();
    emit changed();
    checkSeated();
}

int ComputerSeats::joining() const
{
    return int(std::count_if(m_players.begin(), m_players.end(),
                             [this](const auto &p) { return !isSeated(p.get()); }));
}

void ComputerSeats::whenSeated(std::function<void()> work)
{
    m_waiting.push_back(std::move(work));
    checkSeated();
}

void ComputerSeats::checkSeated()
{
    connectNext();
    if (joining() != 0 || m_waiting.empty())
        return;
    auto waiting = std::move(m_waiting);
    m_waiting.clear();
    for (auto &work : waiting)
        work();
}

} // namespace zwonky
