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
    LobbyController controller(starter, link, announcer);
    listener.setOwnId(controller.announcementId());

    QString linkError;
    const bool linked = link.listen(LobbyLinkListener::DefaultPort, &linkError);
    QString lanError;
    const bool listening = listener.listenOnLan(AnnouncePort, &lanError);

    LobbyWindow window(controller, listener, LobbySettingsFile(LobbySettingsFile::pathIn({})));
    QStringList problems;
    if (!linked)
        problems << QStringLiteral(
                        "Port 9001 on this computer is taken by another program (%1), so the lobby "
                        "cannot see when a game runs. You can still start games, but games you "
                        "host are not shown on your network.")
                        .arg(linkError);
    if (!listening)
        problems << QStringLiteral("Games on your network cannot be listed: UDP port 7772 (%1).")
                        .arg(lanError);
    window.setProblem(problems.join(QLatin1Char('\n')));
    window.show();
    return QApplication::exec();
}
