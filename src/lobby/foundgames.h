#pragma once

// The games heard on the local network, as the lobby lists them. Plain data
// with the time passed in, so that ageing is tested by stepping a number.
//
// A game is one lobby's id heard from one address per address family: a
// host heard by IPv4 broadcast and by IPv6 multicast is one entry with two
// addresses. An id heard from a second address of the same family is
// another entry, so nobody can move a listed game to his own address by
// repeating its id. The list never holds more than MaxGames; the one heard
// longest ago makes room.

#include "lobby/announcement.h"

#include <QHostAddress>
#include <QList>

namespace zwonky::lobby {

struct FoundGame
{
    QString id;
    QString name;
    QString version;
    QHostAddress ipv4;
    QHostAddress ipv6;
    qint64 firstHeardMs = 0;
    qint64 lastHeardMs = 0;

    // The address to join: IPv4 when the game was heard that way.
    QHostAddress address() const { return ipv4.isNull() ? ipv6 : ipv4; }
    // The address as the game's command line and the address field take it.
    QString addressText() const;
};

class FoundGames
{
public:
    static constexpr qsizetype MaxGames = 64;
    static constexpr qint64 ForgetAfterMs = 15000;

    // Takes an announcement heard from an address; returns whether the list
    // as shown changed (a new game, a new name, a new address).
    bool heard(const Announcement &announcement, const QHostAddress &from, qint64 nowMs);
    // Drops every game not heard for ForgetAfterMs; returns whether any went.
    bool expire(qint64 nowMs);
    void clear() { m_games.clear(); }

    const QList<FoundGame> &games() const { return m_games; }

private:
    qsizetype findSlot(const QString &id, const QHostAddress &from) const;
    void makeRoom();

    QList<FoundGame> m_games;
};

} // namespace zwonky::lobby
