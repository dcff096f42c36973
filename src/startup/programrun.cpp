#include "startup/programrun.h"

#include "startup/application.h"
#include "startup/fontconfigload.h"
#include "startup/previnst.h"
#include "startup/processend.h"
#include "startup/signalbridge.h"
#include "startup/startupworker.h"
#include "widgets/gamelook.h"
#include "widgets/tiledbackground.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>

namespace zwonky {

int runProgram(const ProgramRun &run)
{
    // Before anything else: from here on a stop closes the program the
    // ordinary way, which releases the guard and removes the word list.
    SignalBridge terminationSignals;
    QApplication::setApplicationName(QStringLiteral("Zwonky"));
    // No display name: the platform would append it to every window's
    // caption, and each window already carries its whole caption.
    // Only the main window's close ends the program; the others only hide.
    QApplication::setQuitOnLastWindowClosed(false);

    // Before any window.
    applyGameLook();

    PrevInstance guard(run.guardFolder.isEmpty() ? PrevInstance::defaultFolder() : run.guardFolder);
    if (!guard.claim()) {
        guard.raiseFirst();
        return 0;
    }
    // What needs no window is done beside the making of the windows; a solo
    // start shows the download window at once.
    const QStringList parameters = run.parameters.mid(0, 4);
    StartupWorker sideWork(run.fontConfig, parameters.isEmpty());

    if (terminationSignals.requested())
        return 0;

    // While the font configuration may still be loading, what needs no font:
    // the cloth behind the windows and the main window's first controls. No
    // control that measures text is made before that load is done.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        TiledBackground::prepareCloth(screen->devicePixelRatio());
    ZwonkyApplication::Options options{parameters, run.gamePort, run.dataFolder,
                                       sideWork.wordList(), sideWork.takeLobbyPicture()};
    if (FontConfigLoad *fontConfig = run.fontConfig)
        options.beforeText = [fontConfig] { fontConfig->wait(); };
    ZwonkyApplication game(std::move(options));
    guard.setRaiseHandler([&game] { game.raiseMainWindow(); });
    QObject::connect(&terminationSignals, &SignalBridge::terminationRequested, &game,
                     &ZwonkyApplication::stopFromSignal);
    QObject::connect(&game, &ZwonkyApplication::finished, qApp, &QApplication::quit);
    // Stopped while the windows were being made: end as an ordinary exit
    // would, without showing the main window first.
    if (terminationSignals.requested()) {
        game.stopFromSignal();
        return 0;
    }

    game.start();
    if (run.started)
        run.started(game);
    // A stop that came while start() showed a message asked the main loop
    // to quit before it ran; ask again from inside it.
    QTimer::singleShot(0, qApp, [&terminationSignals, &game] {
        if (!terminationSignals.requested())
            return;
        game.stopFromSignal();
        QApplication::quit();
    });
    // The windows run: a stop by signal now ends the process in time,
    // whatever it finds under way.
    terminationSignals.holdStopsToDeadline();
    const int exitCode = QApplication::exec();
    if (game.settleForExit() && run.endWhenSettled) {
        // Nothing left but memory: the kernel gives it back faster than
        // the windows' destructors would.
        guard.release();
        endProcess(exitCode);
    }
    return exitCode;
}

} // namespace zwonky
