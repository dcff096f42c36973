#include "lobby/sourcelimiter.h"

#include <QRandomGenerator>

#include <algorithm>

namespace zwonky::lobby {

SourceLimiter::SourceLimiter()
{
    for (size_t &seed : m_seeds)
        seed = size_t(QRandomGenerator::system()->generate64());
}

bool SourceLimiter::allow(const QHostAddress &sender, qint64 nowMs)
{
    if (!m_started || nowMs - m_windowStart >= WindowMs || nowMs < m_windowStart) {
        for (auto &row : m_counts)
            row.fill(0);
        m_windowStart = nowMs;
        m_started = true;
    }
    std::array<quint8 *, 2> counters{};
    int count = PerSourcePerWindow;
    for (size_t row = 0; row < m_counts.size(); ++row) {
        counters[row] = &m_counts[row][qHash(sender, m_seeds[row]) % CountersPerRow];
        count = std::min<int>(count, *counters[row]);
    }
    if (count >= PerSourcePerWindow)
        return false;
    for (quint8 *counter : counters) {
        if (*counter < PerSourcePerWindow)
            ++*counter;
    }
    return true;
}

} // namespace zwonky::lobby
