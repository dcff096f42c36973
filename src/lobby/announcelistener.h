#pragma once

// Listens for the announcements of other lobbies and keeps the list of
// games found. Every datagram is hostile: the oversized are thrown away
// unread, each sender is limited to a few per second (SourceLimiter), the
// rest parsed strictly, and the list is bounded and keeps games heard again
// and again ahead of senders heard once (FoundGames). A flood never holds the
// event loop: at most MaxPerPass datagrams are handled before the loop gets
// its turn back, and the rest wait for the next pass.

#include "lobby/foundgames.h"
#include "lobby/sourcelimiter.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class QUdpSocket;

namespace zwonky::lobby {

class AnnounceListener : public QObject
{
    Q_OBJECT
public:
    using Clock = std::function<qint64()>;

    static constexpr int MaxPerPass = 64;
    static constexpr int ExpireIntervalMs = 1000;

    explicit AnnounceListener(QObject *parent = nullptr);
    ~AnnounceListener() override;

    // The time in milliseconds (default: a monotonic clock).
    void setClock(Clock clock) { m_clock = std::move(clock); }
    qint64 now() const { return m_clock(); }
    // Announcements carrying this id are our own and are not listed.
    void setOwnId(const QString &id) { m_ownId = id; }

    // Listens on the local network: IPv4 (broadcast) and IPv6 (the group,
    // joined on every LAN interface) on the port. True when at least one of
    // the two could be had; *error says what could not.
    bool listenOnLan(quint16 port, QString *error);
    // Listens on exactly these addresses and port (tests: 127.0.0.1, 0).
    bool listenOn(const QList<QHostAddress> &addresses, quint16 port, QString *error);
    quint16 port() const;

    const FoundGames &games() const { return m_games; }
    // Datagrams dropped so far (too large, too fast, malformed).
    qint64 droppedCount() const { return m_dropped; }

    // Whether datagrams wait to be read.
    bool hasWaitingDatagrams() const;

    // One pass over the waiting datagrams (the sockets' readyRead).
    void readPass();
    // Forgets games not heard for a while, and reads what waits unnoticed
    // (the one-second timer).
    void expireTick();

signals:
    void gamesChanged();

private:
    QUdpSocket *bindSocket(const QHostAddress &address, quint16 port, QString *error);
    bool handleOne(QUdpSocket *socket);
    void schedulePass();

    QList<QUdpSocket *> m_sockets;
    FoundGames m_games;
    SourceLimiter m_limiter;
    Clock m_clock;
    QString m_ownId;
    QTimer m_expiry;
    qint64 m_dropped = 0;
    bool m_passScheduled = false;
};

} // namespace zwonky::lobby
