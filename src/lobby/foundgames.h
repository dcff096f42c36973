#pragma once

// The games heard on the local network, as the lobby lists them. Plain data
// with the time passed in, so that ageing is tested by stepping a number.
//
// A game is one lobby's id heard from one address per address family: a
// host heard by IPv4 broadcast and by IPv6 multicast is one entry with two
// addresses. An id heard from a second address of the same family is
// another entry, so nobody can move a listed game to his own address by
// repeating its id.
//
// Anyone on the network can announce, so the list ranks games by their
// standing: the number of recent rounds they were heard in (RoundSketch).
// It holds at most MaxTracked games; a newcomer takes the place of the
// weakest, the one of lowest standing and, among equals, the one heard
// first latest, so that a flood of senders heard once can neither push out
// a game heard again and again nor a game listed before it. At most
// MaxGames are shown: those of highest standing, in the order first heard.

#include "lobby/announcement.h"
#include "lobby/roundsketch.h"

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
    // The rounds before the current one it was heard in, 0..RoundSketch::Rounds.
    int standing = 0;

    // The address to join: IPv4 when the game was heard that way.
    QHostAddress address() const { return ipv4.isNull() ? ipv6 : ipv4; }
    // The address as the game's command line and the address field take it.
    QString addressText() const;
};

class FoundGames
{
public:
    static constexpr qsizetype MaxGames = 64;
    static constexpr qsizetype MaxTracked = 256;
    static constexpr qint64 ForgetAfterMs = 15000;

    FoundGames();

    // Takes an announcement heard from an address; returns whether the list
    // as shown may have changed (a game new or gone, renamed, at a new
    // address, or of another standing).
    bool heard(const Announcement &announcement, const QHostAddress &from, qint64 nowMs);
    // Drops every game not heard for ForgetAfterMs, and ranks the games
    // again when a round has turned; returns whether the list as shown may
    // have changed.
    bool expire(qint64 nowMs);
    void clear();

    // The games shown: at most MaxGames, in the order first heard.
    const QList<FoundGame> &games() const;

private:
    qsizetype findSlot(const QString &id, const QHostAddress &from) const;
    // Frees a place for a newcomer of this standing; false when every game
    // held stands above it or as high.
    bool makeRoom(int standing);
    quint64 keyOf(const QString &id, const QHostAddress &from) const;
    int standingOf(const FoundGame &game, qint64 nowMs);
    // Standings change when a round turns: each game held takes its new
    // one. Returns whether a round turned over games held.
    bool turnRound(qint64 nowMs);

    QList<FoundGame> m_tracked;
    RoundSketch m_rounds;
    size_t m_seed = 0;
    qint64 m_round = 0;
    mutable QList<FoundGame> m_shown;
    mutable bool m_shownStale = false;
};

} // namespace zwonky::lobby
