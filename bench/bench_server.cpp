// How long a submitted word waits for its verdict: from the "CMD_done" leaving
// the server's queue to the verdict handed to the six seats' sockets, and on
// to its arrival at all six peers over loopback. Six seats play a normal game
// with the built-in word list; the words are random tiles of the hand, so most
// are refused by the dictionary and some are accepted.

#include "net/protocol.h"
#include "server/serverform.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QHostAddress>
#include <QRandomGenerator>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

template <typename Condition> bool waitUntil(Condition condition, int timeoutMs = 5000)
{
    QDeadlineTimer deadline(timeoutMs);
    QTimer wake;
    wake.start(20);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

struct Peer
{
    QTcpSocket socket;
    QByteArray received;
    int terminators = 0;
};

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1));
    return values[index];
}

void BM_DoneVerdict(benchmark::State &state)
{
    zwonky::TServer server;
    QRandomGenerator dice(42);
    server.setClockManual(true);
    server.setRandom(&dice);
    server.startListening(QStringLiteral("0"));

    std::vector<std::unique_ptr<Peer>> peers;
    for (int seat = 1; seat <= 6; ++seat) {
        auto peer = std::make_unique<Peer>();
        Peer *p = peer.get();
        QObject::connect(&p->socket, &QTcpSocket::readyRead, [p] {
            const QByteArray bytes = p->socket.readAll();
            p->terminators += static_cast<int>(bytes.count('\xFF'));
            p->received += bytes;
        });
        p->socket.connectToHost(QHostAddress::LocalHost, server.listeningPort());
        if (!waitUntil([p] { return p->terminators >= 1; })) {
            state.SkipWithError("no seat offered");
            return;
        }
        p->socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        p->socket.write(zwonky::protocol::loginInfo(seat, QStringLiteral("1.0.7"),
                                                    QStringLiteral("P%1").arg(seat)));
        p->socket.flush();
        peers.push_back(std::move(peer));
        // The login and the empty entry after it.
        if (!waitUntil([&] { return server.pump().queued() >= 2; })) {
            state.SkipWithError("no login");
            return;
        }
        while (server.pump().queued() > 0)
            server.socktimerTimer();
    }
    zwonky::protocol::GameOptions options;
    options.playTo = 1000000;
    options.timePerTurn = 60;
    options.zwonkedAt = 1000000;
    server.pump().enqueue(zwonky::protocol::startGameRequest(1, options).chopped(1), 1);
    while (server.pump().queued() > 0)
        server.socktimerTimer();
    if (!server.engine().gameRunning() || server.engine().currentSeat() != 1) {
        state.SkipWithError("game did not start");
        return;
    }

    QRandomGenerator tiles(7);
    std::vector<double> handled;
    std::vector<double> delivered;
    int accepted = 0;
    for (auto _ : state) {
        // A word of 3 to 7 distinct tiles from the hand of ten.
        QList<int> hand{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
        std::shuffle(hand.begin(), hand.end(), tiles);
        const QList<int> word = hand.mid(0, 3 + static_cast<int>(tiles.bounded(5)));
        const QByteArray message = zwonky::protocol::done(1, word).chopped(1);
        std::vector<int> before;
        for (const auto &p : peers)
            before.push_back(p->terminators);
        server.pump().enqueue(message, 1);

        const auto start = Clock::now();
        server.socktimerTimer();
        const auto written = Clock::now();
        bool all = waitUntil([&] {
            for (std::size_t i = 0; i < peers.size(); ++i) {
                if (peers[i]->terminators <= before[i])
                    return false;
            }
            return true;
        });
        const auto arrived = Clock::now();
        if (!all) {
            state.SkipWithError("verdict did not arrive");
            break;
        }
        if (peers[1]->received.contains("CMD_accepted"))
            ++accepted;
        for (const auto &p : peers)
            p->received.clear();

        const double handlerUs = std::chrono::duration<double, std::micro>(written - start).count();
        handled.push_back(handlerUs);
        delivered.push_back(std::chrono::duration<double, std::micro>(arrived - start).count());
        state.SetIterationTime(handlerUs / 1e6);
    }
    state.counters["written_p50_us"] = percentile(handled, 0.50);
    state.counters["written_p99_us"] = percentile(handled, 0.99);
    state.counters["arrived_p50_us"] = percentile(delivered, 0.50);
    state.counters["arrived_p99_us"] = percentile(delivered, 0.99);
    state.counters["accepted"] = accepted;
}

BENCHMARK(BM_DoneVerdict)->UseManualTime()->Iterations(2000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
