#include "startup/application.h"
#include "startup/previnst.h"
#include "startup/signalbridge.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zwonky"));
    // No display name: the platform would append it to every window's
    // caption, and each window already carries its whole caption.
    // Only the main window's close ends the program; the others only hide.
    QApplication::setQuitOnLastWindowClosed(false);

    zwonky::PrevInstance guard(zwonky::PrevInstance::defaultKey());
    if (!guard.claim()) {
        guard.raiseFirst();
        return 0;
    }

    QStringList parameters = QApplication::arguments();
    parameters.removeFirst();

    zwonky::ZwonkyApplication game({parameters.mid(0, 4)});
    guard.setRaiseHandler([&game] { game.raiseMainWindow(); });
    zwonky::SignalBridge terminationSignals;
    QObject::connect(&terminationSignals, &zwonky::SignalBridge::terminationRequested, &game,
                     &zwonky::ZwonkyApplication::closeMainWindow);
    QObject::connect(&game, &zwonky::ZwonkyApplication::finished, &app, &QApplication::quit);

    game.start();
    return QApplication::exec();
}
