#include "lobby/announcer.h"

#include <QUdpSocket>
#include <QVariant>

namespace zwonky::lobby {

Announcer::Announcer(QObject *parent) : QObject(parent)
{
    m_timer.setInterval(IntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &Announcer::announceNow);
}

Announcer::~Announcer() = default;

void Announcer::setTargets(const QList<AnnounceTarget> &targets)
{
    m_targets = targets;
    m_fixedTargets = true;
}

void Announcer::start(const Announcement &announcement)
{
    const auto datagram = encodeAnnouncement(announcement);
    if (!datagram)
        return;
    m_datagram = *datagram;
    // Interfaces come and go (a cable, a VPN): look again at each game.
    if (!m_fixedTargets)
        m_targets = lanTargets();
    const bool was = m_announcing;
    m_announcing = true;
    m_timer.start();
    announceNow();
    if (!was)
        emit announcingChanged(true);
}

void Announcer::stop()
{
    m_timer.stop();
    if (!m_announcing)
        return;
    m_announcing = false;
    emit announcingChanged(false);
}

QUdpSocket *Announcer::socketFor(const QHostAddress &target)
{
    const bool v6 = target.protocol() == QAbstractSocket::IPv6Protocol;
    QUdpSocket *&socket = v6 ? m_v6 : m_v4;
    if (!socket) {
        socket = new QUdpSocket(this);
        const QHostAddress any(v6 ? QHostAddress::AnyIPv6 : QHostAddress::AnyIPv4);
        if (!socket->bind(any, 0)) {
            delete socket;
            socket = nullptr;
            return nullptr;
        }
        // Link-local: never past the first router.
        socket->setSocketOption(QAbstractSocket::MulticastTtlOption, QVariant(1));
    }
    return socket;
}

void Announcer::announceNow()
{
    if (!m_announcing)
        return;
    for (const AnnounceTarget &target : std::as_const(m_targets)) {
        QUdpSocket *socket = socketFor(target.address);
        // A target that cannot be reached now (an interface gone) is skipped.
        if (socket && socket->writeDatagram(m_datagram, target.address, target.port) == m_datagram.size())
            ++m_sent;
    }
}

} // namespace zwonky::lobby
