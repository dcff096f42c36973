// Start-up of a solo game to the first shown main window, and the peak
// memory of the process, next to a bare Qt Widgets window built the same
// way. Each measurement runs in a fresh child process (this program started
// again with a role argument), so peak memory is that of one start alone.

#include "client/chatform.h"
#include "startup/application.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <QWindow>

#include <sys/resource.h>

#include <cstdio>
#include <cstring>

namespace {

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Child: build, show, wait until the window is on screen, print "ms kB".
int runChild(int argc, char **argv, bool zwonky)
{
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    QTemporaryDir data;
    std::unique_ptr<zwonky::ZwonkyApplication> game;
    std::unique_ptr<QMainWindow> bare;
    QWidget *shown = nullptr;
    if (zwonky) {
        // A solo game, on any free port so runs never collide.
        game = std::make_unique<zwonky::ZwonkyApplication>(
            zwonky::ZwonkyApplication::Options{{}, QStringLiteral("0"), data.path()});
        game->start();
        shown = &game->chat();
    } else {
        bare = std::make_unique<QMainWindow>();
        bare->resize(795, 568);
        bare->show();
        shown = bare.get();
    }
    while (!shown->isVisible() || !shown->windowHandle() || !shown->windowHandle()->isExposed())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    QApplication::processEvents();
    std::printf("%lld %ld\n", static_cast<long long>(clock.nsecsElapsed() / 1000), peakKilobytes());
    std::fflush(stdout);
    return 0;
}

void startOnce(benchmark::State &state, const QString &self, const char *role)
{
    long peak = 0;
    for (auto _ : state) {
        QProcess child;
        child.start(self, {QString::fromLatin1(role)});
        child.waitForFinished(60000);
        const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
        if (fields.size() != 2) {
            state.SkipWithError("child did not report");
            return;
        }
        state.SetIterationTime(fields[0].toDouble() / 1e6);
        peak = std::max(peak, fields[1].toLong());
    }
    state.counters["peak_MiB"] = static_cast<double>(peak) / 1024.0;
}


} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--child-zwonky") == 0)
        return runChild(argc, argv, true);
    if (argc > 1 && std::strcmp(argv[1], "--child-bare") == 0)
        return runChild(argc, argv, false);
    const QString self = QString::fromLocal8Bit(argv[0]);
    for (const char *role : {"--child-zwonky", "--child-bare"}) {
        const char *name = std::strcmp(role, "--child-zwonky") == 0 ? "BM_SoloGameToShownWindow"
                                                                      : "BM_BareWidgetsWindow";
        benchmark::RegisterBenchmark(name, [self, role](benchmark::State &state) {
            startOnce(state, self, role);
        })->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
