#include "startup/application.h"
#include "startup/previnst.h"
#include "startup/signalbridge.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Before anything else: from here on a stop closes the program the
    // ordinary way, which releases the guard and removes the word list.
    zwonky::SignalBridge terminationSignals;
    QApplication::setApplicationName(QStringLiteral("Zwonky"));
    // No display name: the platform would append it to every window's
    // caption, and each window already carries its whole caption.
    // Only the main window's close ends the program; the others only hide.
    QApplication::setQuitOnLastWindowClosed(false);

    zwonky::PrevInstance guard(zwonky::PrevInstance::defaultFolder());
    if (!guard.claim()) {
        guard.raiseFirst();
        return 0;
    }

    if (terminationSignals.requested())
        return 0;

    QStringList parameters = QApplication::arguments();
    parameters.removeFirst();

    zwonky::ZwonkyApplication game({parameters.mid(0, 4)});
    guard.setRaiseHandler([&game] { game.raiseMainWindow(); });
    QObject::connect(&terminationSignals, &zwonky::SignalBridge::terminationRequested, &game,
                     &zwonky::ZwonkyApplication::closeMainWindow);
    QObject::connect(&game, &zwonky::ZwonkyApplication::finished, &app, &QApplication::quit);
    // Stopped while the windows were being made: end as an ordinary exit
    // would, without showing the main window first.
    if (terminationSignals.requested())
        return 0;

    game.start();
    // A stop that came while start() showed a message asked the main loop
    // to quit before it ran; ask again from inside it.
    QTimer::singleShot(0, &app, [&terminationSignals, &game] {
        if (!terminationSignals.requested())
            return;
        game.closeMainWindow();
        QApplication::quit();
    });
    return QApplication::exec();
}
