#pragma once

// The game's messages as bytes on the wire, for tests that compare what a
// seat was sent.

#include <QByteArray>
#include <QList>
#include <QString>

namespace zwonky::testing {

inline constexpr char T = '\xFF';

// Bytes as they travel: text, then the terminator.
inline QByteArray wire(const QByteArray &text) { return text + T; }

// The message texts in a stretch of bytes, terminators removed.
inline QList<QByteArray> split(const QByteArray &bytes)
{
    QList<QByteArray> list = bytes.split(T);
    if (!list.isEmpty() && list.last().isEmpty())
        list.removeLast();
    return list;
}

inline QList<QByteArray> withPrefix(const QByteArray &bytes, const QByteArray &prefix)
{
    QList<QByteArray> found;
    for (const QByteArray &m : split(bytes)) {
        if (m.startsWith(prefix))
            found.append(m);
    }
    return found;
}

inline QByteArray acceptedWire(const QString &word)
{
    return wire("CMD_accepted+" + QByteArray::number(word.size()) + "+" + word.toLatin1());
}

inline QByteArray rejectedWire(const QString &word, const QByteArray &reason)
{
    return wire("CMD_rejected+" + word.toLatin1() + reason);
}

inline QByteArray scoresWire(int seat, int points, int bonus, int words, int total,
                             int partner = 0, int partnerTotal = 0)
{
    return wire(QStringLiteral("CMD_scores+%1+%2+%3+%4+%5+%6+%7+")
                    .arg(seat)
                    .arg(points)
                    .arg(bonus)
                    .arg(words)
                    .arg(total)
                    .arg(partner)
                    .arg(partnerTotal)
                    .toLatin1());
}

} // namespace zwonky::testing
