#include "lobby/foundgames.h"

namespace zwonky::lobby {

namespace {

// IPv4 senders reach a dual-stack socket as ::ffff:a.b.c.d.
QHostAddress plain(const QHostAddress &address)
{
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4);
    return isV4 ? QHostAddress(v4) : address;
}

bool isV4(const QHostAddress &address)
{
    return address.protocol() == QAbstractSocket::IPv4Protocol;
}

} // namespace

QString FoundGame::addressText() const
{
    return address().toString();
}

qsizetype FoundGames::findSlot(const QString &id, const QHostAddress &from) const
{
    for (qsizetype i = 0; i < m_games.size(); ++i) {
        const FoundGame &game = m_games.at(i);
        if (game.id != id)
            continue;
        const QHostAddress &slot = isV4(from) ? game.ipv4 : game.ipv6;
        if (slot.isNull() || slot == from)
            return i;
    }
    return -1;
}

void FoundGames::makeRoom()
{
    while (m_games.size() >= MaxGames) {
        qsizetype oldest = 0;
        for (qsizetype i = 1; i < m_games.size(); ++i) {
            if (m_games.at(i).lastHeardMs < m_games.at(oldest).lastHeardMs)
                oldest = i;
        }
        m_games.removeAt(oldest);
    }
}

bool FoundGames::heard(const Announcement &announcement, const QHostAddress &sender, qint64 nowMs)
{
    const QHostAddress from = plain(sender);
    if (from.isNull())
        return false;
    const qsizetype index = findSlot(announcement.id, from);
    if (index < 0) {
        makeRoom();
        FoundGame game;
        game.id = announcement.id;
        game.name = announcement.name;
        game.version = announcement.version;
        (isV4(from) ? game.ipv4 : game.ipv6) = from;
        game.firstHeardMs = nowMs;
        game.lastHeardMs = nowMs;
        m_games.append(game);
        return true;
    }
    FoundGame &game = m_games[index];
    QHostAddress &slot = isV4(from) ? game.ipv4 : game.ipv6;
    const bool changed = slot.isNull() || game.name != announcement.name
                         || game.version != announcement.version;
    slot = from;
    game.name = announcement.name;
    game.version = announcement.version;
    game.lastHeardMs = nowMs;
    return changed;
}

bool FoundGames::expire(qint64 nowMs)
{
    return m_games.removeIf([nowMs](const FoundGame &game) {
               return nowMs - game.lastHeardMs >= ForgetAfterMs;
           }) > 0;
}

} // namespace zwonky::lobby
