#include "net/framer.h"

namespace zwonky {

QList<QByteArray> Framer::feed(const QByteArray &bytes)
{
    QList<QByteArray> messages;
    m_pending.append(bytes);
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = m_pending.indexOf(Terminator, start);
        if (end < 0)
            break;
        messages.append(m_pending.mid(start, end - start));
        start = end + 1;
    }
    m_pending.remove(0, start);
    if (m_pending.size() > MaxPending) {
        m_discarded += m_pending.size();
        m_pending.clear();
    }
    return messages;
}

} // namespace zwonky
