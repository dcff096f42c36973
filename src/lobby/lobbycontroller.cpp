#include "lobby/lobbycontroller.h"

#include "lobby/announcer.h"
#include "lobby/gamestarter.h"
#include "lobby/lobbylink.h"
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

LobbyController::LobbyController(GameStarter &starter, LobbyLinkListener &link,
                                 Announcer &announcer, QObject *parent)
    : QObject(parent),
      m_starter(starter),
      m_link(link),
      m_announcer(announcer),
      m_id(newAnnouncementId()),
      m_version(QString::fromLatin1(protocol::GameVersion))
{
    m_startTimer.setSingleShot(true);
    m_startTimer.setInterval(StartTimeoutMs);
    connect(&m_startTimer, &QTimer::timeout, this, &LobbyController::startTimedOut);
    connect(&m_link, &LobbyLinkListener::gameConnectedChanged, this, &LobbyController::linkChanged);
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
    if (gameRunning()) {
        *message = QString::fromLatin1(AlreadyRunning);
        return false;
    }
    QString error;
    if (!m_starter.startGame(arguments, &error)) {
        *message = error;
        return false;
    }
    m_role = role;
    if (role == Role::Solo || !m_link.isListening()) {
        *message = QStringLiteral("The game has been started.");
        return true;
    }
    *message = QStringLiteral("Starting the game...");
    m_startTimer.start();
    setState(State::Starting);
    return true;
}

void LobbyController::startTimedOut()
{
    m_startTimer.stop();
    if (m_state != State::Starting)
        return;
    setState(State::Idle);
    emit notice(QStringLiteral("The game did not start."));
}

void LobbyController::linkChanged(bool connected)
{
    if (connected) {
        m_startTimer.stop();
        // A game this lobby did not start counts as running too: the game
        // allows one copy per user, so a start would be refused anyway.
        if (m_state != State::Starting)
            m_role = Role::None;
        setState(State::Running);
        return;
    }
    if (m_state == State::Running) {
        setState(State::Idle);
        emit notice(QStringLiteral("The game has ended."));
    }
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
