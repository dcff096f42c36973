#pragma once

// A table of raw loopback clients around one TServer whose clocks the test
// steps itself: the dispatch tick and the one-second clock are called
// directly, and only socket I/O is waited for.

#include "gamewire.h"

#include "net/protocol.h"
#include "server/serverform.h"

#include <QHostAddress>
#include <QRandomGenerator>
#include <QSet>
#include <QTcpSocket>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTest>
#include <QTimer>

#include <memory>
#include <vector>

namespace zwonky::testing {

// Runs the event loop until the condition holds: socket events are handled
// as they come, without sleeping between looks.
template <typename Condition> bool waitUntil(Condition condition, int timeoutMs = 5000)
{
    QDeadlineTimer deadline(timeoutMs);
    QTimer wake; // lets the loop notice the deadline when nothing arrives
    wake.start(20);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// One peer that speaks the wire directly and keeps every byte it gets.
class RawClient
{
public:
    // hostOf: the server that keeps seat 1 for this client, as the host's
    // program does for its own client. from: the loopback address it comes
    // from (127.0.0.1 unless given).
    explicit RawClient(quint16 port, TServer *hostOf = nullptr,
                       const QHostAddress &from = QHostAddress())
    {
        QObject::connect(&socket, &QTcpSocket::readyRead,
                         [this] { received += socket.readAll(); });
        // Small messages leave at once instead of waiting for the peer's ack.
        QObject::connect(&socket, &QTcpSocket::connected,
                         [this] { socket.setSocketOption(QAbstractSocket::LowDelayOption, 1); });
        if (hostOf && socket.bind(QHostAddress::LocalHost, 0))
            hostOf->reserveHostSeat(socket.localPort());
        else if (!from.isNull())
            socket.bind(from, 0);
        socket.connectToHost(QHostAddress::LocalHost, port);
    }

    // From now on nothing more is read: the server's output to this client
    // piles up, first in the kernel, then at the server.
    void stopReading()
    {
        QObject::disconnect(&socket, &QTcpSocket::readyRead, nullptr, nullptr);
        socket.setReadBufferSize(1);
    }

    QByteArray take()
    {
        QByteArray bytes;
        bytes.swap(received);
        return bytes;
    }
    void write(const QByteArray &bytes)
    {
        socket.write(bytes);
        socket.flush();
    }
    bool isClosed() const { return socket.state() == QAbstractSocket::UnconnectedState; }

    QTcpSocket socket;
    QByteArray received;
    int seat = 0;
    QString name;
};

class Table
{
public:
    explicit Table(quint32 seed = 7) : random(seed)
    {
        server.setClockManual(true);
        server.setRandom(&random);
        server.setWordChecker([this](const QString &word) {
            return acceptAll ? !word.isEmpty() : words.contains(word);
        });
        server.startListening(QStringLiteral("0"));
    }

    // The first client is the host's own, unless the test has already kept
    // seat 1 for another one.
    RawClient *connectRaw(const QHostAddress &from = QHostAddress())
    {
        const bool host = clients.empty() && server.reservedHostPort() == 0;
        clients.push_back(std::make_unique<RawClient>(server.listeningPort(),
                                                      host ? &server : nullptr, from));
        return clients.back().get();
    }

    // Connects and waits for the seat offer, without logging in.
    RawClient *arrive(const QHostAddress &from = QHostAddress())
    {
        RawClient *c = connectRaw(from);
        if (!waitUntil([c] { return c->received.endsWith(T); }))
            return nullptr;
        const QByteArray offer = c->take();
        const QByteArray prefix("CMD_sendlogininfo+");
        if (!offer.startsWith(prefix))
            return nullptr;
        c->seat = offer.mid(prefix.size(), offer.size() - prefix.size() - 1).toInt();
        return c;
    }

    // Arrives, logs in and forgets what the login brought.
    RawClient *join(const QString &name, const QString &version = QStringLiteral("1.0.7"))
    {
        RawClient *c = arrive();
        if (!c)
            return nullptr;
        c->name = name;
        if (!send(c, protocol::loginInfo(c->seat, version, name)))
            return nullptr;
        if (!fence())
            return nullptr;
        for (auto &each : clients)
            each->take();
        return c;
    }

    // Writes the bytes as that client, waits until the server has queued
    // every message in them and handles the whole queue.
    bool send(RawClient *c, const QByteArray &bytes)
    {
        const std::size_t expected = server.pump().queued() + bytes.count(T);
        c->write(bytes);
        if (!waitUntil([&] { return server.pump().queued() >= expected; }))
            return false;
        drain();
        return true;
    }

    void drain()
    {
        while (server.pump().queued() > 0)
            server.socktimerTimer();
    }

    // A chat line through the server that every open seat receives: all that
    // the server sent before it has arrived when it has. The line itself is
    // removed again.
    bool fence()
    {
        RawClient *speaker = nullptr;
        for (auto &c : clients) {
            if (!c->isClosed() && c->seat >= 1 && c->seat <= 9
                && server.player(c->seat).connection && !c->name.isEmpty()) {
                speaker = c.get();
                break;
            }
        }
        if (!speaker)
            return false;
        const QString text = QStringLiteral("~fence~");
        const QByteArray relay =
            protocol::chatRelay(speaker->name, text + QStringLiteral("|clBlack"));
        if (!send(speaker, protocol::chat(speaker->seat, text, QStringLiteral("clBlack"))))
            return false;
        for (auto &c : clients) {
            if (!listening(c.get()))
                continue;
            if (!waitUntil([&] { return c->received.endsWith(relay); }))
                return false;
            c->received.chop(relay.size());
        }
        return true;
    }

    // A client whose seat the server holds for it.
    bool listening(const RawClient *c) const
    {
        return !c->isClosed() && c->seat >= 1 && c->seat <= 9 && server.player(c->seat).open;
    }

    // Starts a game as the host (client in seat 1).
    bool start(RawClient *host, const protocol::GameOptions &options)
    {
        return send(host, protocol::startGameRequest(host->seat, options));
    }

    // Runs the clock until the running turn is over and the next has begun
    // (or the game has stopped); returns the seconds the pause took.
    int nextTurn()
    {
        int guard = 0;
        while (server.engine().phase() == GameEngine::TurnRunning && ++guard < 1000)
            server.engine().Timer1Timer();
        int pause = 0;
        while (server.engine().phase() == GameEngine::Pausing && ++guard < 1000) {
            server.engine().Timer1Timer();
            ++pause;
        }
        return pause;
    }

    // The word the given dice spell from the seat's hand.
    QString spell(int seat, const QList<int> &dice) const
    {
        const QStringList &set = server.engine().seat(seat).newTiles ? server.engine().alternativeSet()
                                                             : server.engine().currentSet();
        QString word;
        for (int die : dice)
            word += set.value(die - 1);
        return word;
    }

    // Ends the turn of the given seat early.
    bool finishTurn(RawClient *c) { return send(c, protocol::finish(c->seat)); }

    TServer server;
    QRandomGenerator random;
    QSet<QString> words;
    bool acceptAll = false;
    std::vector<std::unique_ptr<RawClient>> clients;
};

inline protocol::GameOptions gameOptions(int playTo, bool fast = false, int timePerTurn = 60,
                                         int zwonkedAt = 2000)
{
    protocol::GameOptions o;
    o.playTo = playTo;
    o.timePerTurn = timePerTurn;
    o.zwonkedAt = zwonkedAt;
    o.fast = fast;
    return o;
}

// Waits until the client holds at least as many bytes as expected (or has
// been closed), then compares and consumes them.
#define EXPECT_WIRE(client, bytes)                                                             \
    do {                                                                                       \
        const QByteArray expected_ = (bytes);                                                  \
        RawClient *const client_ = (client);                                                   \
        zwonky::testing::waitUntil([&] {                                                       \
            return client_->received.size() >= expected_.size() || client_->isClosed();        \
        });                                                                                    \
        QCOMPARE(client_->take(), expected_);                                                  \
    } while (false)

} // namespace zwonky::testing
