// libFuzzer target for the lobby's discovery: datagrams as they arrive from
// the local network, each parsed as an announcement and, when it is one,
// taken into the list of found games. The input is a run of records:
//   sender (1 byte), time step (1 byte), length (2 bytes, low first), datagram
// The sender picks one of a few IPv4, IPv6 and IPv4-mapped addresses; the
// time step advances the clock by that many 100 ms, and 255 also expires the
// list. Checked: a datagram that parses is exactly what encoding its
// announcement gives, a shown name stays as it is when cleaned again, and the
// list keeps its bounds.

#include "lobby/announcement.h"
#include "lobby/foundgames.h"

#include <QHostAddress>
#include <QStringDecoder>

#include <algorithm>
#include <cstdlib>

namespace {

using namespace zwonky::lobby;

QHostAddress sender(std::uint8_t pick)
{
    const quint32 host = 0x0A000001u + (pick & 7u); // 10.0.0.1-8
    switch ((pick >> 3) % 3) {
    case 0:
        return QHostAddress(host);
    case 1: {
        Q_IPV6ADDR v6{};
        v6[0] = 0xfe;
        v6[1] = 0x80;
        v6[15] = quint8(1 + (pick & 7));
        return QHostAddress(v6);
    }
    default:
        return QHostAddress(QStringLiteral("::ffff:%1").arg(QHostAddress(host).toString()));
    }
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void checkName(const QByteArray &bytes)
{
    const QString shown = displayName(QString::fromUtf8(bytes));
    check(shown.size() <= MaxNameLength);
    check(displayName(shown) == shown);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FoundGames games;
    qint64 nowMs = 1000;
    std::size_t at = 0;
    while (at + 4 <= size) {
        const std::uint8_t pick = data[at];
        const std::uint8_t step = data[at + 1];
        const std::size_t length =
            std::min<std::size_t>(data[at + 2] | std::size_t(data[at + 3]) << 8, size - at - 4);
        const QByteArray datagram(reinterpret_cast<const char *>(data + at + 4), qsizetype(length));
        at += 4 + length;

        nowMs += qint64(step) * 100;
        if (step == 255)
            games.expire(nowMs);
        checkName(datagram);
        const std::optional<Announcement> heard = parseAnnouncement(datagram);
        if (!heard)
            continue;
        check(encodeAnnouncement(*heard) == datagram);
        games.heard(*heard, sender(pick), nowMs);

        check(games.games().size() <= FoundGames::MaxGames);
        for (const FoundGame &game : games.games()) {
            check(!game.address().isNull());
            check(game.ipv4.isNull() || game.ipv4.protocol() == QAbstractSocket::IPv4Protocol);
            check(game.ipv6.isNull() || game.ipv6.protocol() == QAbstractSocket::IPv6Protocol);
            check(game.firstHeardMs <= game.lastHeardMs && game.lastHeardMs <= nowMs);
        }
    }
    return 0;
}
