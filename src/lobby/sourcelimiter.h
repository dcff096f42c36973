#pragma once

// How many datagrams each sender may have looked at per second. A lobby
// announces every few seconds; anything much faster is a flood, and its
// datagrams are dropped before they are parsed. The table of senders is
// bounded too: in a window that already counts MaxSources senders, new
// senders are dropped until the window turns.

#include <QHash>
#include <QHostAddress>

namespace zwonky::lobby {

class SourceLimiter
{
public:
    static constexpr int PerSourcePerWindow = 8;
    static constexpr qsizetype MaxSources = 256;
    static constexpr qint64 WindowMs = 1000;

    // Whether one more datagram from this sender may be looked at now.
    bool allow(const QHostAddress &sender, qint64 nowMs);

private:
    QHash<QHostAddress, int> m_counts;
    qint64 m_windowStart = 0;
    bool m_started = false;
};

} // namespace zwonky::lobby
