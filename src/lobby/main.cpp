#include "lobby/announcelistener.h"
#include "lobby/announcer.h"
#include "lobby/gamestarter.h"
#include "lobby/lannetwork.h"
#include "lobby/lobbycontroller.h"
#include "lobby/lobbylink.h"
#include "lobby/lobbysettings.h"
#include "lobby/lobbywindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    using namespace zwonky::lobby;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zwonky"));

    ProcessGameStarter starter;
    LobbyLinkListener link;
    Announcer announcer;
    AnnounceListener listener;
    LobbyController controller(starter, announcer);
    listener.setOwnId(controller.announcementId());

    // The game opens its silent link here; the lobby follows the game it
    // started through its process, so a port taken by another program
    // costs nothing.
    link.listen(LobbyLinkListener::DefaultPort, nullptr);
    QString lanError;
    const bool listening = listener.listenOnLan(AnnouncePort, &lanError);

    LobbyWindow window(controller, listener, LobbySettingsFile(LobbySettingsFile::pathIn({})));
    if (!listening)
        window.setProblem(QStringLiteral("Games on your network cannot be listed: UDP port 7772 (%1).")
                              .arg(lanError));
    window.show();
    return QApplication::exec();
}
