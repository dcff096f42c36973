#include "lobby/announcelistener.h"

#include "lobby/lannetwork.h"

#include <QElapsedTimer>
#include <QNetworkDatagram>
#include <QUdpSocket>
#include <QVariant>

namespace zwonky::lobby {

AnnounceListener::AnnounceListener(QObject *parent) : QObject(parent)
{
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    m_clock = [started] { return started->elapsed(); };
    m_expiry.setInterval(ExpireIntervalMs);
    connect(&m_expiry, &QTimer::timeout, this, &AnnounceListener::expireTick);
}

AnnounceListener::~AnnounceListener() = default;

QUdpSocket *AnnounceListener::bindSocket(const QHostAddress &address, quint16 port, QString *error)
{
    auto *socket = new QUdpSocket(this);
    // Two lobbies on one machine both hear every broadcast.
    if (!socket->bind(address, port, QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint)) {
        if (error)
            *error = socket->errorString();
        delete socket;
        return nullptr;
    }
    connect(socket, &QUdpSocket::readyRead, this, &AnnounceListener::readPass);
    m_sockets << socket;
    m_expiry.start();
    return socket;
}

bool AnnounceListener::listenOn(const QList<QHostAddress> &addresses, quint16 port, QString *error)
{
    bool any = false;
    for (const QHostAddress &address : addresses) {
        if (bindSocket(address, port, error))
            any = true;
        // Port 0 picks a port for the first; the others follow it.
        if (port == 0 && !m_sockets.isEmpty())
            port = m_sockets.first()->localPort();
    }
    return any;
}

bool AnnounceListener::listenOnLan(quint16 port, QString *error)
{
    QString v4Error;
    QString v6Error;
    const bool v4 = bindSocket(QHostAddress(QHostAddress::AnyIPv4), port, &v4Error) != nullptr;
    QUdpSocket *v6 = bindSocket(QHostAddress(QHostAddress::AnyIPv6), port, &v6Error);
    if (v6) {
        const QHostAddress group(QString::fromLatin1(MulticastGroup));
        for (const QNetworkInterface &interface : lanInterfaces())
            v6->joinMulticastGroup(group, interface);
    }
    if (error) {
        QStringList problems;
        if (!v4)
            problems << QStringLiteral("IPv4: %1").arg(v4Error);
        if (!v6)
            problems << QStringLiteral("IPv6: %1").arg(v6Error);
        *error = problems.join(QStringLiteral("; "));
    }
    return v4 || v6;
}

quint16 AnnounceListener::port() const
{
    return m_sockets.isEmpty() ? 0 : m_sockets.first()->localPort();
}

bool AnnounceListener::hasWaitingDatagrams() const
{
    return std::any_of(m_sockets.cbegin(), m_sockets.cend(),
                       [](QUdpSocket *s) { return s->hasPendingDatagrams(); });
}

void AnnounceListener::schedulePass()
{
    if (m_passScheduled)
        return;
    m_passScheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_passScheduled = false;
        readPass();
    });
}

void AnnounceListener::readPass()
{
    int handled = 0;
    bool changed = false;
    for (QUdpSocket *socket : std::as_const(m_sockets)) {
        while (socket->hasPendingDatagrams() && handled < MaxPerPass) {
            changed = handleOne(socket) || changed;
            ++handled;
        }
    }
    if (hasWaitingDatagrams())
        schedulePass();
    if (changed)
        emit gamesChanged();
}

bool AnnounceListener::handleOne(QUdpSocket *socket)
{
    const qint64 size = socket->pendingDatagramSize();
    if (size < 0 || size > MaxDatagramSize) {
        // Read into nothing: the datagram goes without being copied.
        socket->readDatagram(nullptr, 0);
        ++m_dropped;
        return false;
    }
    const QNetworkDatagram datagram = socket->receiveDatagram(MaxDatagramSize);
    const qint64 now = m_clock();
    if (!m_limiter.allow(datagram.senderAddress(), now)) {
        ++m_dropped;
        return false;
    }
    const auto announcement = parseAnnouncement(datagram.data());
    if (!announcement) {
        ++m_dropped;
        return false;
    }
    if (announcement->id == m_ownId)
        return false;
    return m_games.heard(*announcement, datagram.senderAddress(), now);
}

void AnnounceListener::expireTick()
{
    // After a flood the platform's read notice has been seen to stay quiet
    // with datagrams waiting; the tick picks them up.
    if (hasWaitingDatagrams())
        schedulePass();
    if (m_games.expire(m_clock()))
        emit gamesChanged();
}

} // namespace zwonky::lobby
