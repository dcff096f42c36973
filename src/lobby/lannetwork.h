#pragma once

// Where lobbies meet on the local network: UDP port 7772, IPv4 broadcast
// and one IPv6 link-local multicast group, joined and sent to on every
// interface that is up and can multicast.

#include <QHostAddress>
#include <QList>
#include <QNetworkInterface>

namespace zwonky::lobby {

inline constexpr quint16 AnnouncePort = 7772;
// Link-local scope (ff02), a group id of our own.
inline constexpr char MulticastGroup[] = "ff02::5a77:6f6e";

struct AnnounceTarget
{
    QHostAddress address; // an IPv6 group carries the interface as its scope
    quint16 port = AnnouncePort;
};

// The interfaces that are up, not loopback, and can multicast.
QList<QNetworkInterface> lanInterfaces();

// Every place one announcement goes: the limited broadcast, each
// interface's subnet broadcast, and the multicast group on each interface.
QList<AnnounceTarget> lanTargets(quint16 port = AnnouncePort);

} // namespace zwonky::lobby
