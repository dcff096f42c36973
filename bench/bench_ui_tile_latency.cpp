// How long a watcher waits to see a tile move: from the mouse click on a
// tile in the active player's window to the same tile standing at its new
// place on each watcher's board. Six windows play a normal game against the
// host's server on loopback, all in one process and on one thread, as the
// host's own process would run them. Every sample is one watcher's wait;
// the counters give the median and the 99th percentile in milliseconds.
//
// BM_TileToWatchers runs the server and the windows on their own timers (the
// server's 10 ms dispatch tick included). BM_TileToWatchersNoTick steps the
// server's dispatch as soon as a message is queued, which leaves the cost of
// the sockets, the framing and the windows' handlers.

#include "client/chatform.h"
#include "client/tilewidget.h"
#include "net/protocol.h"
#include "server/serverform.h"
#include "widgets/gamelook.h"
#include "windows/gamestart.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QLabel>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QMouseEvent>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int Seats = 6;

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(p * static_cast<double>(values.size() - 1))];
}

class Table
{
public:
    explicit Table(bool steppedServer) : m_stepped(steppedServer)
    {
        m_server.setRandom(&m_random);
        m_server.setWordChecker([](const QString &) { return true; });
        if (m_stepped)
            m_server.setClockManual(true);
        m_server.startListening(QStringLiteral("0"));
    }

    // Seats six windows and starts a normal game; seat 1 has the turn.
    bool open()
    {
        for (int seat = 1; seat <= Seats; ++seat) {
            auto window = std::make_unique<zwonky::Tchat>();
            window->setMessageBox([](const QString &) {});
            window->setSettingsFolder(m_settings.path());
            window->setRandom(&m_random);
            if (seat == 1) {
                zwonky::CompanionWindows companions;
                companions.gameStart = &m_startForm;
                window->setCompanions(companions);
            }
            window->setGamePort(QString::number(m_server.listeningPort()));
            window->setParameters({QStringLiteral("P%1").arg(seat), QStringLiteral("127.0.0.1"),
                                   seat == 1 ? QStringLiteral("true") : QStringLiteral("false")});
            window->processparams();
            m_windows.push_back(std::move(window));
            if (!waitUntil([&] { return m_windows.back()->ownSeat() == seat; }))
                return false;
        }
        if (!waitUntil([&] {
                return m_windows.front()->findChild<QLabel *>(QStringLiteral("label_playername6"))->text()
                       == QStringLiteral("P6");
            }))
            return false;
        // A normal game: every other window watches seat 1's tray.
        m_startForm.ensureBuilt();
        m_startForm.findChild<QCheckBox *>(QStringLiteral("fast"))->setChecked(false);
        m_startForm.findChild<QSpinBox *>(QStringLiteral("timeperturn"))->setValue(120);
        m_startForm.button_startClick();
        return waitUntil([&] {
            return std::all_of(m_windows.begin(), m_windows.end(), [](const auto &window) {
                return window->currentTurnSeat() == 1 && window->tile(1)->letter() != QStringLiteral("*");
            });
        });
    }

    template <typename Condition> bool waitUntil(Condition condition, int timeoutMs = 10000)
    {
        QDeadlineTimer deadline(timeoutMs);
        while (!condition()) {
            if (deadline.hasExpired())
                return false;
            if (m_stepped && m_server.pump().queued() > 0) {
                while (m_server.pump().queued() > 0)
                    m_server.socktimerTimer();
                continue;
            }
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        return true;
    }

    zwonky::Tchat &window(int seat) { return *m_windows[std::size_t(seat - 1)]; }

private:
    bool m_stepped;
    QRandomGenerator m_random{7};
    QTemporaryDir m_settings;
    zwonky::TServer m_server;
    zwonky::Tgamestartform m_startForm;
    std::vector<std::unique_ptr<zwonky::Tchat>> m_windows;
};

void runTileLatency(benchmark::State &state, bool steppedServer)
{
    Table table(steppedServer);
    if (!table.open()) {
        state.SkipWithError("the table could not be seated");
        return;
    }
    // A keep-alive so that a blocking wait for events always returns.
    QTimer wake;
    wake.start(50);

    std::vector<double> samples;
    int die = 1;
    for (auto _ : state) {
        zwonky::TileWidget *active = table.window(1).tile(die);
        const bool putDown = active->trayPosition() == 0;
        const QPoint target = putDown ? QPoint(41 * (table.window(1).trayCount() + 1) + 69, 8)
                                      : QPoint(41 * die + 9, 61);
        std::vector<bool> seen(Seats + 1, false);
        int waiting = Seats - 1;
        const auto clicked = Clock::now();
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(20, 20), active->mapToGlobal(QPointF(20, 20)),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(active, &press);
        const bool arrived = table.waitUntil([&] {
            for (int seat = 2; seat <= Seats; ++seat) {
                if (!seen[std::size_t(seat)] && table.window(seat).tile(die)->pos() == target) {
                    seen[std::size_t(seat)] = true;
                    --waiting;
                    samples.push_back(
                        std::chrono::duration<double, std::milli>(Clock::now() - clicked).count());
                }
            }
            return waiting == 0;
        });
        if (!arrived) {
            state.SkipWithError("a watcher never saw the tile");
            return;
        }
        // Down and back up again, then the next die: the tray never fills.
        if (!putDown)
            die = die % 10 + 1;
    }
    state.counters["p50_ms"] = percentile(samples, 0.50);
    state.counters["p99_ms"] = percentile(samples, 0.99);
    state.counters["samples"] = double(samples.size());
}

void BM_TileToWatchers(benchmark::State &state) { runTileLatency(state, false); }
void BM_TileToWatchersNoTick(benchmark::State &state) { runTileLatency(state, true); }

} // namespace

BENCHMARK(BM_TileToWatchers)->Iterations(300)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TileToWatchersNoTick)->Iterations(300)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_AUDIO_BACKEND", "none");
    QApplication app(argc, argv);
    // Drawn as the program draws them.
    zwonky::applyGameLook();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
