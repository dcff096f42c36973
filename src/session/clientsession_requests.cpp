// The session's requests to the host: each stamped with the own seat and
// sent only while connected. The tray's requests change the session's letter
// tray first and say so (tileMoved, trayCleared) as the host would.

#include "session/clientsession.h"

#include "net/protocol.h"

namespace zwonky {

void ClientSession::chat(const QString &text, const QString &colour)
{
    send(protocol::chat(m_state.ownSeat, text, colour));
}

bool ClientSession::phraseAction(const QString &text, const QString &colour)
{
    return m_link.send(protocol::action(m_state.ownSeat, text, colour));
}

void ClientSession::action(const QString &text, const QString &colour)
{
    send(protocol::action(m_state.ownSeat, text, colour));
}

bool ClientSession::putTile(int die)
{
    if (!isOwnTurn())
        return false;
    const int position = m_tray.putNext(die);
    if (position == 0)
        return false;
    send(protocol::setDiceRequest(m_state.ownSeat, position, die));
    emit soundRequested(SoundClip::PutTile);
    emit tileMoved(position, die);
    return true;
}

bool ClientSession::takeBackTile()
{
    if (!isOwnTurn())
        return false;
    const int die = m_tray.takeBackLast();
    if (die == 0)
        return false;
    send(protocol::setDiceRequest(m_state.ownSeat, 0, die));
    emit soundRequested(SoundClip::Clear);
    emit tileMoved(0, die);
    return true;
}

bool ClientSession::submitWord()
{
    if (!isOwnTurn() || m_tray.count() == 0)
        return false;
    send(protocol::done(m_state.ownSeat, m_tray.dice()));
    clearTiles();
    return true;
}

void ClientSession::clearTray()
{
    if (!isOwnTurn())
        return;
    clearTiles();
    send(protocol::clearThemRequest(m_state.ownSeat));
    emit soundRequested(SoundClip::Clear);
}

void ClientSession::buyNewTiles()
{
    // Whether new tiles are allowed is the host's decision.
    if (!isOwnTurn())
        return;
    clearTiles();
    send(protocol::newTilesRequest(m_state.ownSeat));
}

void ClientSession::buyOldTiles()
{
    if (!isOwnTurn())
        return;
    clearTiles();
    send(protocol::oldTilesRequest(m_state.ownSeat));
}

void ClientSession::finishTurn()
{
    if (isOwnTurn())
        send(protocol::finish(m_state.ownSeat));
}

void ClientSession::toggleWatching()
{
    const int own = m_state.ownSeat;
    if (!m_state.connected || own < 1 || own >= 5)
        return;
    send(protocol::justWatch(own, m_players.row(own).watching ? protocol::WatchStop
                                                              : protocol::WatchStart));
}

void ClientSession::setSeatWatching(int seat, bool watching)
{
    if (seat < 5)
        send(protocol::justWatch(seat, watching ? protocol::WatchStart : protocol::WatchStop));
}

void ClientSession::startGame(const protocol::GameOptions &options)
{
    send(protocol::startGameRequest(m_state.ownSeat, options));
}

void ClientSession::kick(int seat)
{
    if (m_state.hosting)
        send(protocol::kickHim(m_state.ownSeat, seat));
}

void ClientSession::playSound(int sound)
{
    send(protocol::playASoundRequest(m_state.ownSeat, sound));
}

} // namespace zwonky
