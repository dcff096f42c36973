#pragma once

// What the lobby does with a game, without a window: starts it in its
// role, follows it through the lobby link, refuses a second start while one
// runs, and announces a game it hosts while it runs.
//
//   Idle --start--> Starting --link opens--> Running --link closes--> Idle
//                      \--StartTimeoutMs without a link--> Idle
//
// A solo game opens no link, and without a link listener nothing can be
// followed: such a start leaves the lobby Idle (the game itself refuses a
// second copy).

#include "lobby/announcement.h"

#include <QObject>
#include <QString>
#include <QTimer>

namespace zwonky::lobby {

class Announcer;
class GameStarter;
class LobbyLinkListener;

class LobbyController : public QObject
{
    Q_OBJECT
public:
    enum class State { Idle, Starting, Running };
    enum class Role { None, Solo, Host, Join };

    static constexpr int StartTimeoutMs = 60000;

    LobbyController(GameStarter &starter, LobbyLinkListener &link, Announcer &announcer,
                    QObject *parent = nullptr);

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

    // The start timer's tick: a game that never linked is given up on.
    void startTimedOut();

signals:
    void stateChanged(zwonky::lobby::LobbyController::State state);
    // Something the player should read ("The game has ended.").
    void notice(const QString &text);

private:
    bool launch(Role role, const QStringList &arguments, QString *message);
    void linkChanged(bool connected);
    void setState(State state);
    void updateAnnouncing();

    GameStarter &m_starter;
    LobbyLinkListener &m_link;
    Announcer &m_announcer;
    QString m_id;
    QString m_version;
    QString m_hostName;
    State m_state = State::Idle;
    Role m_role = Role::None;
    bool m_announcingAllowed = true;
    QTimer m_startTimer;
};

// The name as the game's command line takes it: displayable, at most
// MaxNameLength characters; empty when nothing is left.
QString playerNameFor(const QString &typed);

} // namespace zwonky::lobby
