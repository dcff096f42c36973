#pragma once

#include "net/protocol.h"

#include <QByteArray>
#include <QList>

namespace zwonky {

// Cuts one connection's byte stream into messages at the terminator 0xFF.
// Keeps the text after the last terminator until the rest arrives; a message
// is never handed on in part. The pending remainder is bounded so that a peer
// that never sends a terminator cannot make the receiver grow without limit:
// past the bound the remainder is dropped and overflowed() turns true, and the
// owner closes that connection.
class Framer
{
public:
    static constexpr char Terminator = protocol::Terminator;
    // The longest message the protocol's builders make, so that no genuine
    // message is ever refused.
    static constexpr qsizetype MaxPending = protocol::MaxMessageLength;

    // Appends newly received bytes and returns every message completed by
    // them, in order, without terminators (empty messages included).
    QList<QByteArray> feed(const QByteArray &bytes);

    const QByteArray &pending() const { return m_pending; }
    bool overflowed() const { return m_overflowed; }
    void reset()
    {
        m_pending.clear();
        m_overflowed = false;
    }

private:
    QByteArray m_pending;
    bool m_overflowed = false;
};

} // namespace zwonky
