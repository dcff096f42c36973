#include "lobby/lobbycontroller.h"

#include "lobby/announcer.h"
#include "lobby/gamestarter.h"
#include "net/hostaddress.h"
#include "net/protocol.h"

namespace zwonky::lobby {

namespace {
const char *const AlreadyRunning = "A game is already running. Close it before you start another.";
}

QString playerNameFor(const QString &typed)
{
    QString name = displayName(typed);
    // The game's wire is single-byte, ends each message with 0xFF and
    // separates fields with "+": what it cannot carry is left out here.
    name.removeIf([](QChar c) {
        return c.unicode() >= 0xFF || c == QLatin1Char('+');
    });
    return name.trimmed();
}

LobbyController::LobbyController(GameStarter &starter, Announcer &announcer, QObject *parent)
    : QObject(parent),
      m_starter(starter),
      m_announcer(announcer),
      m_id(newAnnouncementId()),
      m_version(QString::fromLatin1(protocol::GameVersion))
{
    connect(&m_starter, &GameStarter::gameEnded, this, &LobbyController::gameEnded);
}

bool LobbyController::hostGame(const QString &playerName, QString *message)
{
    const QString name = playerNameFor(playerName);
    if (name.isEmpty()) {
        *message = QStringLiteral("Type your name first.");
        return false;
    }
    m_hostName = name;
    return launch(Role::Host, {name, QStringLiteral("127.0.0.1"), QStringLiteral("true")}, message);
}

bool LobbyController::joinGame(const QString &playerName, const QString &hostAddress,
                               QString *message)
{
    const QString name = playerNameFor(playerName);
    if (name.isEmpty()) {
        *message = QStringLiteral("Type your name first.");
        return false;
    }
    if (hostAddress.trimmed().isEmpty()) {
        *message = QStringLiteral("Type the host's address, or pick a game from the list.");
        return false;
    }
    const auto host = normalisedHost(hostAddress);
    if (!host) {
        *message = QStringLiteral("That is not a host name or an address.");
        return false;
    }
    return launch(Role::Join, {name, *host, QStringLiteral("false")}, message);
}

bool LobbyController::soloGame(QString *message)
{
    return launch(Role::Solo, {}, message);
}

bool LobbyController::launch(Role role, const QStringList &arguments, QString *message)
{
    if (gameRunning() || m_starter.gameRunning()) {
        *message = QString::fromLatin1(AlreadyRunning);
        return false;
    }
    QString error;
    if (!m_starter.startGame(arguments, &error)) {
        *message = error;
        return false;
    }
    m_role = role;
    *message = QStringLiteral("The game has been started.");
    setState(State::Running);
    return true;
}

void LobbyController::gameEnded(bool normally)
{
    if (m_state != State::Running)
        return;
    setState(State::Idle);
    emit notice(normally ? QStringLiteral("The game has ended.")
                         : QStringLiteral("The game has ended with an error."));
}

void LobbyController::setAnnouncing(bool on)
{
    m_announcingAllowed = on;
    updateAnnouncing();
}

void LobbyController::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    if (state == State::Idle)
        m_role = Role::None;
    updateAnnouncing();
    emit stateChanged(state);
}

void LobbyController::updateAnnouncing()
{
    const bool wanted = m_announcingAllowed && m_state == State::Running && m_role == Role::Host;
    if (wanted && !m_announcer.isAnnouncing())
        m_announcer.start({m_id, m_hostName, m_version});
    else if (!wanted)
        m_announcer.stop();
}

} // namespace zwonky::lobby
