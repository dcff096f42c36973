#include "lobby/lannetwork.h"

namespace zwonky::lobby {

QList<QNetworkInterface> lanInterfaces()
{
    QList<QNetworkInterface> found;
    const auto all = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &interface : all) {
        const auto flags = interface.flags();
        if (flags.testFlag(QNetworkInterface::IsUp) && flags.testFlag(QNetworkInterface::IsRunning)
            && flags.testFlag(QNetworkInterface::CanMulticast)
            && !flags.testFlag(QNetworkInterface::IsLoopBack))
            found << interface;
    }
    return found;
}

QList<AnnounceTarget> lanTargets(quint16 port)
{
    QList<AnnounceTarget> targets;
    targets.append({QHostAddress(QHostAddress::Broadcast), port});
    for (const QNetworkInterface &interface : lanInterfaces()) {
        bool hasV6 = false;
        for (const QNetworkAddressEntry &entry : interface.addressEntries()) {
            if (entry.ip().protocol() == QAbstractSocket::IPv6Protocol)
                hasV6 = true;
            const QHostAddress broadcast = entry.broadcast();
            if (!broadcast.isNull() && broadcast != QHostAddress(QHostAddress::Broadcast)) {
                const bool known = std::any_of(targets.cbegin(), targets.cend(),
                                               [&](const AnnounceTarget &t) { return t.address == broadcast; });
                if (!known)
                    targets.append({broadcast, port});
            }
        }
        if (hasV6) {
            QHostAddress group(QString::fromLatin1(MulticastGroup));
            group.setScopeId(interface.name());
            targets.append({group, port});
        }
    }
    return targets;
}

} // namespace zwonky::lobby
