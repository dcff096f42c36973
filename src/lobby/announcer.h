#pragma once

// Tells the local network about the game this lobby hosts: one datagram to
// every target at once, then one every IntervalMs while it runs.

#include "lobby/announcement.h"
#include "lobby/lannetwork.h"

#include <QObject>
#include <QTimer>

class QUdpSocket;

namespace zwonky::lobby {

class Announcer : public QObject
{
    Q_OBJECT
public:
    // Listeners forget a game after 15 s: three chances to be heard.
    static constexpr int IntervalMs = 5000;

    explicit Announcer(QObject *parent = nullptr);
    ~Announcer() override;

    // Where announcements go (default: lanTargets(), read at each start).
    void setTargets(const QList<AnnounceTarget> &targets);

    void start(const Announcement &announcement);
    void stop();
    bool isAnnouncing() const { return m_announcing; }
    // Datagrams handed to the network so far.
    qint64 sentCount() const { return m_sent; }

    // Sends one round now (the interval timer's tick).
    void announceNow();

signals:
    void announcingChanged(bool announcing);

private:
    QUdpSocket *socketFor(const QHostAddress &target);

    QList<AnnounceTarget> m_targets;
    bool m_fixedTargets = false;
    QByteArray m_datagram;
    QUdpSocket *m_v4 = nullptr;
    QUdpSocket *m_v6 = nullptr;
    QTimer m_timer;
    bool m_announcing = false;
    qint64 m_sent = 0;
};

} // namespace zwonky::lobby
