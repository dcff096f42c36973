#include "lobby/sourcelimiter.h"

namespace zwonky::lobby {

bool SourceLimiter::allow(const QHostAddress &sender, qint64 nowMs)
{
    if (!m_started || nowMs - m_windowStart >= WindowMs || nowMs < m_windowStart) {
        m_counts.clear();
        m_windowStart = nowMs;
        m_started = true;
    }
    auto it = m_counts.find(sender);
    if (it == m_counts.end()) {
        if (m_counts.size() >= MaxSources)
            return false;
        it = m_counts.insert(sender, 0);
    }
    if (*it >= PerSourcePerWindow)
        return false;
    ++*it;
    return true;
}

} // namespace zwonky::lobby
