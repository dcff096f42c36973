#pragma once

// How many datagrams each sender may have looked at per second. A lobby
// announces every few seconds; anything much faster is a flood, and its
// datagrams are dropped before they are parsed.
//
// Senders are counted in two fixed rows of counters, each indexed by its
// own hash of the address, and the smaller of a sender's two counts is
// taken (a count-min sketch). There is no table of senders to fill: a
// newcomer is never refused, and the work per datagram is the same however
// many senders there are. The hashes are seeded at random per run, so
// nobody can aim at another sender's counters; a sender shares both of its
// counters with a flooder only by chance (about one in 250 with 2,000
// flooders), and then loses the rest of that second.

#include <QHostAddress>

#include <array>

namespace zwonky::lobby {

class SourceLimiter
{
public:
    static constexpr int PerSourcePerWindow = 8;
    static constexpr qint64 WindowMs = 1000;
    static constexpr int CountersPerRow = 1 << 15;

    SourceLimiter();

    // Whether one more datagram from this sender may be looked at now.
    bool allow(const QHostAddress &sender, qint64 nowMs);

private:
    std::array<std::array<quint8, CountersPerRow>, 2> m_counts{};
    std::array<size_t, 2> m_seeds{};
    qint64 m_windowStart = 0;
    bool m_started = false;
};

} // namespace zwonky::lobby
