#pragma once

// What the lobby does with a game, without a window: starts it in its
// role, follows the game process it started, refuses a second start while
// that one runs, and announces a game it hosts while it runs.
//
//   Idle --start--> Running --the started game ends--> Idle
//
// Only the game this lobby started counts: a game started otherwise, or
// anything connected to the lobby link, changes nothing (the game itself
// refuses a second copy per user).

#include "lobby/announcement.h"

#include <QObject>
#include <QString>

namespace zwonky::lobby {

class Announcer;
class GameStarter;

class LobbyController : public QObject
{
    Q_OBJECT
public:
    enum class State { Idle, Running };
    enum class Role { None, Solo, Host, Join };

    LobbyController(GameStarter &starter, Announcer &announcer, QObject *parent = nullptr);

    // The id this lobby announces with (listeners skip their own).
    QString announcementId() const { return m_id; }
    void setVersionText(const QString &version) { m_version = version; }

    // Each returns false with a message for the player when nothing started.
    bool hostGame(const QString &playerName, QString *message);
    bool joinGame(const QString &playerName, const QString &hostAddress, QString *message);
    bool soloGame(QString *message);

    // Announcing a hosted game on the local network (on by default).
    void setAnnouncing(bool on);
    bool announcingAllowed() const { return m_announcingAllowed; }

    State state() const { return m_state; }
    Role role() const { return m_role; }
    bool gameRunning() const { return m_state != State::Idle; }

signals:
    void stateChanged(zwonky::lobby::LobbyController::State state);
    // Something the player should read ("The game has ended.").
    void notice(const QString &text);

private:
    bool launch(Role role, const QStringList &arguments, QString *message);
    void gameEnded(bool normally);
    void setState(State state);
    void updateAnnouncing();

    GameStarter &m_starter;
    Announcer &m_announcer;
    QString m_id;
    QString m_version;
    QString m_hostName;
    State m_state = State::Idle;
    Role m_role = Role::None;
    bool m_announcingAllowed = true;
};

// The name as the game's command line takes it: displayable, at most
// MaxNameLength characters; empty when nothing is left.
QString playerNameFor(const QString &typed);

} // namespace zwonky::lobby
