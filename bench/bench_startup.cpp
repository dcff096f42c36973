// Start-up and exit of a solo game as a whole process, next to a bare Qt
// Widgets window built the same way (same compiler, flags and Qt): both go
// start -> main window shown and painted -> closed the way File > Exit
// closes it -> process end. Each run is a fresh child process (this program
// started again with a role argument), spawned and reaped here, so its time
// covers loading the libraries, the exit and everything between, and its
// peak memory (ru_maxrss of the reaped child) is that of one start alone.
// The two roles run in turn, pair by pair, so a machine whose speed drifts
// moves both alike: the time row's ratio is the median of the pairs' own
// ratios, which a burst of load on one run of a pair cannot carry; the
// medians of the times go beside it.
//
// Usage: bench_startup [--pairs N]
//        bench_startup --child-zwonky | --child-bare   (one run, as a command)

#include "benchtable.h"
#include "client/chatform.h"
#include "startup/application.h"
#include "startup/fontconfigload.h"
#include "startup/processend.h"
#include "startup/programrun.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

constexpr char ZwonkyRole[] = "--child-zwonky";
constexpr char BareRole[] = "--child-bare";
// A child that never gets painted ends with this code instead of hanging.
constexpr int NeverPaintedExit = 3;
constexpr int PaintDeadlineMs = 30000;

// Runs `then` once, right after the first paint of `window` has finished.
class FirstPaint : public QObject
{
public:
    FirstPaint(QWidget *window, std::function<void()> then)
        : QObject(window), m_then(std::move(then))
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            // Queued: the paint and its flush to the screen end first.
            QTimer::singleShot(0, watched, m_then);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_then;
    bool m_seen = false;
};

void armDeadline()
{
    QTimer::singleShot(PaintDeadlineMs, qApp, [] {
        std::fprintf(stderr, "the window was never painted\n");
        std::_Exit(NeverPaintedExit);
    });
}

// The program's own path to its main loop, in the current folder: the guard,
// the settings and tally, and the working word list all land there.
int runZwonky(zwonky::FontConfigLoad &fontConfig)
{
    const QString here = QDir::currentPath();
    zwonky::ProgramRun run;
    run.guardFolder = here;
    run.dataFolder = here;
    run.gamePort = QStringLiteral("0"); // any free port: never meets a real game
    run.endWhenSettled = true;            // as main() ends it
    run.fontConfig = &fontConfig;         // started as main() starts it
    run.started = [](zwonky::ZwonkyApplication &game) {
        new FirstPaint(&game.chat(), [&game] { game.closeMainWindow(); });
        armDeadline();
    };
    return zwonky::runProgram(run);
}

int runBare()
{
    QMainWindow window;
    window.resize(795, 568);
    new FirstPaint(&window, [&window] { window.close(); });
    window.show();
    armDeadline();
    return QApplication::exec();
}

struct Run
{
    double ms = 0;
    double peakMb = 0;
    bool ok = false;
};

double nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Spawns this program in `role` inside `folder`, waits for it and reports
// its wall time from spawn to reaping and its peak resident memory.
Run spawnChild(const char *self, const char *role, const char *folder)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder);
    // The children's own output (Qt's warnings) would only clutter the table;
    // a child that fails says so by its exit status.
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    char *argv[] = {const_cast<char *>(self), const_cast<char *>(role), nullptr};

    Run run;
    const double start = nowMs();
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, self, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
        std::fprintf(stderr, "cannot start %s: %s\n", self, std::strerror(failed));
        return run;
    }
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    run.ms = nowMs() - start;
    run.peakMb = usage.ru_maxrss / 1024.0;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!run.ok)
        std::fprintf(stderr, "%s ended with status %d\n", role, status);
    return run;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

void printSpread(const char *name, std::vector<double> values, const char *unit)
{
    std::sort(values.begin(), values.end());
    std::printf("  %-28s min %7.2f  median %7.2f  max %7.2f %s\n", name, values.front(),
                median(values), values.back(), unit);
}

int runParent(const char *self, int pairs)
{
    // Without a display the children draw off screen.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);

    QTemporaryDir folder;
    if (!folder.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    const std::string where = QFile::encodeName(folder.path()).toStdString();

    std::vector<double> gameMs, bareMs, gameMb, bareMb, pairRatios;
    // One pair first that is not counted: the first start of a solo game
    // finds no settings or tally yet, and the caches are cold.
    for (int i = -1; i < pairs; ++i) {
        const Run game = spawnChild(self, ZwonkyRole, where.c_str());
        const Run bare = spawnChild(self, BareRole, where.c_str());
        if (!game.ok || !bare.ok)
            return 1;
        if (i < 0)
            continue;
        gameMs.push_back(game.ms);
        bareMs.push_back(bare.ms);
        pairRatios.push_back(game.ms / bare.ms);
        gameMb.push_back(game.peakMb);
        bareMb.push_back(bare.peakMb);
    }

    std::printf("start to exit, %d pairs, whole processes:\n", pairs);
    printSpread("solo game", gameMs, "ms");
    printSpread("bare window", bareMs, "ms");
    printSpread("pair by pair, game / bare", pairRatios, "");
    printSpread("solo game peak", gameMb, "MB");
    printSpread("bare window peak", bareMb, "MB");

    benchtable::Row time{"solo game start to exit", median(gameMs), median(bareMs), "ms",
                         "ratio <= 2"};
    time.ratio = median(pairRatios);
    time.met = time.ratio <= 2;
    benchtable::Row memory{"solo game peak memory", median(gameMb), median(bareMb), "MB",
                           "ratio <= 1.5"};
    memory.met = memory.value <= 1.5 * memory.reference;
    benchtable::printTableRow(time);
    benchtable::printTableRow(memory);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && (std::strcmp(argv[1], ZwonkyRole) == 0 || std::strcmp(argv[1], BareRole) == 0)) {
        const bool zwonky = std::strcmp(argv[1], ZwonkyRole) == 0;
        // Each starts and ends as its own kind of program does.
        std::optional<zwonky::FontConfigLoad> fontConfig;
        if (zwonky)
            fontConfig.emplace();
        QApplication app(argc, argv);
        return zwonky ? zwonky::endProcess(runZwonky(*fontConfig)) : runBare();
    }
    int pairs = 40;
    if (argc > 2 && std::strcmp(argv[1], "--pairs") == 0)
        pairs = std::max(1, std::atoi(argv[2]));
    // The children are this very file, found the way the kernel found it.
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        return 1;
    self[length] = '\0';
    return runParent(self, pairs);
}
