#pragma once

// The lobby's window, in the game's look: the player's name, the games
// heard on the local network, a host address typed by hand with the hosts
// joined last, and the buttons "Host a Game", "Join" and "Solo Game". All
// it does goes through the LobbyController; it keeps the settings.

#include "lobby/lobbycontroller.h"
#include "lobby/lobbysettings.h"
#include "widgets/tiledbackground.h"

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace zwonky {
class PillLabel;
}

namespace zwonky::lobby {

class AnnounceListener;
class FoundGamesView;

class LobbyWindow : public TiledBackground
{
    Q_OBJECT
public:
    LobbyWindow(LobbyController &controller, AnnounceListener &listener,
                LobbySettingsFile settingsFile, QWidget *parent = nullptr);

    // A lasting problem shown under the status (the lobby link's port).
    void setProblem(const QString &text);
    QString statusText() const;

    void button_hostClick();
    void button_joinClick();
    void button_soloClick();

private:
    void buildLayout();
    void showState();
    void showStatus(const QString &text);
    void saveSettings();
    void fillRecent();
    LobbySettings currentSettings() const;

    LobbyController &m_controller;
    AnnounceListener &m_listener;
    LobbySettingsFile m_file;
    LobbySettings m_settings;

    QLineEdit *m_name = nullptr;
    QCheckBox *m_announce = nullptr;
    FoundGamesView *m_games = nullptr;
    QLineEdit *m_address = nullptr;
    QListWidget *m_recent = nullptr;
    QPushButton *m_host = nullptr;
    QPushButton *m_join = nullptr;
    QPushButton *m_solo = nullptr;
    PillLabel *m_status = nullptr;
    // The host of the game joined last, named in the status while it runs.
    QString m_joinedHost;
    PillLabel *m_problem = nullptr;
};

} // namespace zwonky::lobby
