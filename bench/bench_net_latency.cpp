// What a player waits for, measured between whole processes on loopback as
// the game is really played: a host process (the server and the host's own
// session, seat 1, as the game's host runs them) and five guest processes,
// each driving its widget-free session.
//
//  - tile move: the active player lays or takes back a tile (the session's
//    request, as a tile click makes it) until each watcher's session has
//    applied the move (its tileMoved signal), one sample per watcher;
//  - Done to verdict: the active player's word submitted until the verdict
//    reaches his own session (wordAccepted or wordRejected).
//
// Both are measured on the host's own turn and on a guest's turn. The
// reference is a bare TCP round trip between two processes over loopback,
// measured in the same run: a tile move crosses loopback twice (to the host
// and on to the watcher), a verdict too (to the host and back).
//
// The executable plays every role; the parent (no arguments) starts the
// others and collects their reports.

#include "benchtable.h"
#include "processbench.h"

#include "net/protocol.h"
#include "server/serverform.h"
#include "session/clientsession.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

using processbench::nowNs;
using processbench::report;

constexpr int Seats = 6;
constexpr int RoundTrips = 500;
constexpr int MovesPerTurn = 200;   // lays and take-backs, before the words
constexpr int WordsPerTurn = 150;   // each laid tile by tile, then Done
constexpr int ActiveSeats[] = {1, 2};

// ---------------------------------------------------------------- children

// A bare echo over TCP: the reference round trip's far end.
int runEcho()
{
    QTcpServer listener;
    if (!listener.listen(QHostAddress::LocalHost, 0))
        return 1;
    QObject::connect(&listener, &QTcpServer::newConnection, [&listener] {
        while (QTcpSocket *socket = listener.nextPendingConnection()) {
            socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
            QObject::connect(socket, &QTcpSocket::readyRead,
                             [socket] { socket->write(socket->readAll()); });
        }
    });
    processbench::CommandLines commands([](const QByteArray &) {});
    report("@port %d", int(listener.serverPort()));
    return QCoreApplication::exec();
}

// One seat at the table: reports what the parent measures and obeys its
// commands. Seat 1 starts the game once all six seats are taken.
class BenchPlayer
{
public:
    explicit BenchPlayer(const QString &name)
        : m_commands([this](const QByteArray &line) { command(line); })
    {
        m_session.setPlayerName(name);
        ClientSession &s = m_session;
        QObject::connect(&s, &zwonky::ClientSession::loggedIn,
                         [](int seat) { report("@seat %d", seat); });
        QObject::connect(&s, &zwonky::ClientSession::playerChanged, [this](int) { startWhenFull(); });
        QObject::connect(&s, &zwonky::ClientSession::lettersDealt, [this](int seat, zwonky::DealKind) {
            if (seat == m_session.ownSeat() && m_session.isOwnTurn())
                report("@ready %d", seat);
        });
        QObject::connect(&s, &zwonky::ClientSession::tileMoved, [this](int, int) {
            if (!m_session.isOwnTurn())
                report("@seen %lld", nowNs());
        });
        QObject::connect(&s, &zwonky::ClientSession::wordAccepted,
                         [this](int, int, const QString &) { verdict(); });
        QObject::connect(&s, &zwonky::ClientSession::wordRejected,
                         [this](const QString &, const QString &) { verdict(); });
        QObject::connect(&s, &zwonky::ClientSession::errorOccurred, [](const QString &text) {
            report("@error %s", qPrintable(text));
        });
    }

    zwonky::ClientSession &session() { return m_session; }

private:
    using ClientSession = zwonky::ClientSession;

    void startWhenFull()
    {
        if (m_started || m_session.ownSeat() != 1)
            return;
        for (int seat = 1; seat <= Seats; ++seat) {
            if (!m_session.players().row(seat).seated)
                return;
        }
        m_started = true;
        zwonky::protocol::GameOptions options;
        options.playTo = 1000000;
        options.zwonkedAt = 1000000;
        options.timePerTurn = 3600;
        options.newTiles = false;
        m_session.startGame(options);
    }

    void command(const QByteArray &line)
    {
        const QList<QByteArray> words = line.split(' ');
        if (words[0] == "move") {
            const qint64 start = nowNs();
            const bool moved = m_session.tray().count() == 0 ? m_session.putTile(nextDie())
                                                            : m_session.takeBackTile();
            report(moved ? "@moved %lld" : "@error move refused %lld", start);
        } else if (words[0] == "lay" && words.size() == 2) {
            // Distinct dice of the hand of ten, in a random order.
            std::array<int, 10> hand{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
            std::shuffle(hand.begin(), hand.end(), m_random);
            const int count = std::clamp(words[1].toInt(), 1, 10);
            for (int i = 0; i < count; ++i) {
                const qint64 start = nowNs();
                const bool moved = m_session.putTile(hand[std::size_t(i)]);
                report(moved ? "@moved %lld" : "@error lay refused %lld", start);
            }
        } else if (words[0] == "done") {
            m_doneAt = nowNs();
            if (!m_session.submitWord())
                report("@error done refused");
        } else if (words[0] == "finish") {
            m_session.finishTurn();
        }
    }

    void verdict()
    {
        if (m_doneAt == 0 || !m_session.isOwnTurn())
            return;
        report("@verdict %lld", nowNs() - m_doneAt);
        m_doneAt = 0;
    }

    int nextDie()
    {
        m_die = m_die % 10 + 1;
        return m_die;
    }

    ClientSession m_session;
    processbench::CommandLines m_commands;
    QRandomGenerator m_random{11};
    bool m_started = false;
    qint64 m_doneAt = 0;
    int m_die = 0;
};

// The host's process: the server, and the host's own session in seat 1.
int runHost()
{
    zwonky::TServer server;
    BenchPlayer host(QStringLiteral("P1"));
    host.session().setHosting(true);
    server.reserveHostSeat(host.session().bindLocal());
    server.startListening(QStringLiteral("0"));
    report("@port %d", int(server.listeningPort()));
    host.session().connectToHost(QStringLiteral("127.0.0.1"), QString::number(server.listeningPort()));
    return QCoreApplication::exec();
}

int runGuest()
{
    BenchPlayer guest(processbench::argument(QStringLiteral("name")));
    guest.session().connectToHost(QStringLiteral("127.0.0.1"), processbench::argument(QStringLiteral("port")));
    return QCoreApplication::exec();
}

// ---------------------------------------------------------------- parent

bool measureRoundTrips(std::vector<double> &samples)
{
    int port = 0;
    processbench::Child echo({QStringLiteral("--role=echo")}, [&port](const QList<QByteArray> &w) {
        if (w[0] == "@port" && w.size() == 2)
            port = w[1].toInt();
    });
    if (!processbench::runUntil([&] { return port != 0; }, 10000))
        return false;
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, quint16(port));
    if (!socket.waitForConnected(5000))
        return false;
    socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    // About the size of a tile move on the wire.
    const QByteArray ping("CMD_setdice+2+3+7+\xFF", 19);
    qint64 received = 0;
    QObject::connect(&socket, &QTcpSocket::readyRead, [&] { received += socket.readAll().size(); });
    for (int i = 0; i < RoundTrips; ++i) {
        const qint64 expected = received + ping.size();
        const qint64 start = nowNs();
        socket.write(ping);
        if (!processbench::runUntil([&] { return received >= expected; }, 5000))
            return false;
        samples.push_back(double(nowNs() - start) / 1e6);
    }
    return true;
}

struct Table
{
    std::unique_ptr<processbench::Child> host;
    std::vector<std::unique_ptr<processbench::Child>> guests;
    processbench::Child *bySeat[Seats + 1] = {};
    // Per watching seat: when each move it should see was made, and when it saw it.
    std::vector<qint64> movesFor[Seats + 1];
    std::vector<qint64> seenBy[Seats + 1];
    std::vector<double> verdicts;
    int seatOf[Seats + 1] = {}; // by the order the children were started
    int lastSeat = 0;
    int readySeat = 0;
    int movesReported = 0;
    bool failed = false;

    processbench::Child::LineHandler handler(int *seat)
    {
        return [this, seat](const QList<QByteArray> &w) {
            if (w[0] == "@seat" && w.size() == 2) {
                *seat = w[1].toInt();
                lastSeat = *seat;
            } else if (w[0] == "@ready" && w.size() == 2) {
                readySeat = w[1].toInt();
            } else if (w[0] == "@moved" && w.size() == 2) {
                for (int s = 1; s <= Seats; ++s) {
                    if (s != *seat)
                        movesFor[s].push_back(w[1].toLongLong());
                }
                ++movesReported;
            } else if (w[0] == "@seen" && w.size() == 2 && *seat >= 1 && *seat <= Seats) {
                seenBy[*seat].push_back(w[1].toLongLong());
            } else if (w[0] == "@verdict" && w.size() == 2) {
                verdicts.push_back(double(w[1].toLongLong()) / 1e6);
            } else if (w[0] == "@error") {
                std::fprintf(stderr, "seat %d: %s\n", *seat, w.join(' ').constData());
                failed = true;
            }
        };
    }

    bool allSeen(int movesSent) const
    {
        if (movesReported < movesSent)
            return false;
        for (int s = 1; s <= Seats; ++s) {
            if (seenBy[s].size() < movesFor[s].size())
                return false;
        }
        return true;
    }
};

bool playTable(Table &table, const QString &folder)
{
    int port = 0;
    auto hostLines = table.handler(&table.seatOf[1]);
    table.host = std::make_unique<processbench::Child>(
        QStringList{QStringLiteral("--role=host")},
        [&port, hostLines](const QList<QByteArray> &w) {
            if (w[0] == "@port" && w.size() == 2)
                port = w[1].toInt();
            else
                hostLines(w);
        },
        folder);
    if (!processbench::runUntil([&] { return port != 0 && table.lastSeat == 1; }, 20000))
        return false;
    table.bySeat[1] = table.host.get();
    // Guests one after the other, so that each takes the next seat.
    for (int seat = 2; seat <= Seats; ++seat) {
        table.guests.push_back(std::make_unique<processbench::Child>(
            QStringList{QStringLiteral("--role=guest"), QStringLiteral("--port=%1").arg(port),
                        QStringLiteral("--name=P%1").arg(seat)},
            table.handler(&table.seatOf[seat])));
        if (!processbench::runUntil([&] { return table.lastSeat == seat; }, 10000))
            return false;
        table.bySeat[seat] = table.guests.back().get();
    }

    int movesSent = 0;
    for (const int active : ActiveSeats) {
        // The turn before hands over at the next second and after the pause.
        if (!processbench::runUntil([&] { return table.readySeat == active; }, 20000))
            return false;
        processbench::Child &player = *table.bySeat[active];
        for (int i = 0; i < MovesPerTurn && !table.failed; ++i) {
            player.command("move");
            ++movesSent;
            if (!processbench::runUntil([&] { return table.allSeen(movesSent); }, 5000))
                return false;
        }
        for (int i = 0; i < WordsPerTurn && !table.failed; ++i) {
            const int letters = 3 + i % 5;
            player.command("lay " + QByteArray::number(letters));
            movesSent += letters;
            if (!processbench::runUntil([&] { return table.allSeen(movesSent); }, 5000))
                return false;
            const std::size_t verdicts = table.verdicts.size();
            player.command("done");
            if (!processbench::runUntil([&] { return table.verdicts.size() > verdicts; }, 5000))
                return false;
        }
        if (table.failed)
            return false;
        player.command("finish");
    }
    return true;
}

void printRows(const char *what, const std::vector<double> &samples, const std::vector<double> &reference)
{
    const double p50 = processbench::percentile(samples, 0.50);
    const double p99 = processbench::percentile(samples, 0.99);
    const double ref50 = processbench::percentile(reference, 0.50);
    const double ref99 = processbench::percentile(reference, 0.99);
    std::printf("%s: %zu samples, p50 %.3f ms, p99 %.3f ms, max %.3f ms\n", what, samples.size(), p50,
                p99, processbench::percentile(samples, 1.0));
    benchtable::printTableRow({std::string(what) + ", p50 (vs loopback TCP round trip p50)", p50,
                               ref50, "ms", "<= 2 ms", p50 <= 2.0});
    benchtable::printTableRow({std::string(what) + ", p99 (vs loopback TCP round trip p99)", p99,
                               ref99, "ms", "<= 5 ms", p99 <= 5.0});
}

int runParent()
{
    std::vector<double> roundTrips;
    if (!measureRoundTrips(roundTrips)) {
        std::fprintf(stderr, "the loopback round trip could not be measured\n");
        return 1;
    }
    std::printf("bare loopback TCP round trip, 2 processes: %zu samples, p50 %.3f ms, p99 %.3f ms\n",
                roundTrips.size(), processbench::percentile(roundTrips, 0.5),
                processbench::percentile(roundTrips, 0.99));

    QTemporaryDir folder; // the host's working word list goes here
    Table table;
    if (!folder.isValid() || !playTable(table, folder.path())) {
        std::fprintf(stderr, "the six-process table did not play through (last seat %d, ready %d)\n",
                     table.lastSeat, table.readySeat);
        return 1;
    }
    std::vector<double> moves;
    for (int s = 1; s <= Seats; ++s) {
        for (std::size_t i = 0; i < table.seenBy[s].size() && i < table.movesFor[s].size(); ++i)
            moves.push_back(double(table.seenBy[s][i] - table.movesFor[s][i]) / 1e6);
    }
    printRows("tile move to each watcher's session, 6 processes", moves, roundTrips);
    printRows("Done to verdict at the client, 6 processes", table.verdicts, roundTrips);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString role = processbench::argument(QStringLiteral("role"));
    if (role == QLatin1String("echo"))
        return runEcho();
    if (role == QLatin1String("host"))
        return runHost();
    if (role == QLatin1String("guest"))
        return runGuest();
    return runParent();
}
