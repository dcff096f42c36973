#pragma once

// Which games were heard in each of the last few rounds, in fixed memory:
// one Bloom filter of the keys heard per round of RoundMs. A game's
// standing is the number of the Rounds rounds before the current one it
// was heard in. It changes only when a round turns, so a game heard every
// few seconds stands as high all through a round as one heard every
// second. The sketch outlasts a game's place in a full list, so a game
// heard again and again rises above senders heard once, however many of
// those pass in between.
//
// A filter may take a key for heard that was not (other keys set all its
// bits): that gives a one-shot sender a round too many, for each earlier
// round about once in 25,000 with 12,000 keys a round, once in 65 with
// 100,000 (a sender is let through at most 8 times a second).

#include <QtGlobal>

#include <vector>

namespace zwonky::lobby {

class RoundSketch
{
public:
    static constexpr int Rounds = 4;
    // A little longer than a lobby's interval (5 s), so that each round
    // holds at least one of its announcements.
    static constexpr qint64 RoundMs = 6000;
    static constexpr int BitsPerRound = 1 << 20;

    RoundSketch();

    static qint64 roundAt(qint64 nowMs) { return qMax<qint64>(nowMs, 0) / RoundMs; }

    // Notes the key as heard at the time.
    void heard(quint64 key, qint64 nowMs);
    // The key's standing at the time, 0..Rounds.
    int standing(quint64 key, qint64 nowMs);

private:
    static constexpr int Filters = Rounds + 1; // the current round's too

    void advanceTo(qint64 nowMs);
    quint64 *filter(qint64 round);
    static bool holds(const quint64 *filter, quint64 key);

    std::vector<quint64> m_bits; // Rounds filters, one after another
    qint64 m_round = 0;
};

} // namespace zwonky::lobby
