#pragma once

// The main window: the client of one player. Its parts live in their own
// files, each section below names the file that implements it:
//   chatform.cpp          construction, layout, start-up roles (host/join/solo)
//   boardfit.h            the board panel at the window's size (one factor)
//   chatform_session.cpp  start-up roles, the requests of the menus
//   mainmenus.h           the menu bar and its actions (MainMenus)
//   gameoptionsview.h     the game options panel (GameOptionsView)
//   turnstatusview.h      whose turn, status line, announcements, winner
//   chatform_events.cpp   the window's answers to the session's signals
//   playertableview.cpp   the player rows, the turn marker and the host's pop-up
//   trayview.h            dice tiles, word tray, typing, turn buttons and clock
//                         (TrayView, TurnButtons, TurnClockView), made in chatform.cpp
//   wordboard.cpp         word columns and their shading, points preview,
//                         word-list panel (WordBoard)
//   chatpane.h            the chat pane (its own class), made in chatform.cpp
//   chatform_settings.cpp the settings file, window placement
// The game connection, its dispatch and the state of the table and the game
// are the session's (ClientSession); the window shows them. Every named
// control carries its name as objectName so tests can find it.

#include "client/windowbounds.h"
#include "session/sessionstate.h"
#include "audio/soundclip.h"

#include <QColor>
#include <QMainWindow>
#include <QPointer>
#include <QRect>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QRandomGenerator;
class QWidget;

namespace zwonky {

namespace protocol {
struct GameOptions;
}
class ErrorReport;
struct ClientSettings;
class SoundPlayer;
class ChatPane;
class TallyRecorder;
class TSock;
class LinkPointer;
class TileWidget;
class WordBoard;
class ClientSession;
class ComputerSeats;
class PlayerTableView;
class TrayView;
class GameOptionsView;
class MainMenus;
class TurnStatusView;
class Announcer;
class BoardFit;
class BoardScale;

// The other windows the main window opens; the start-up creates them and
// hands them over. Any may be null (tests), then the action does nothing.
struct CompanionWindows
{
    QWidget *tally = nullptr;       // Ttallylist
    QWidget *gameStart = nullptr;   // Tgamestartform
    QWidget *spyList = nullptr;     // Tspylist
    QWidget *phrases = nullptr;     // Tphrases
    QWidget *help = nullptr;        // Thelp
    QWidget *about = nullptr;       // Tabout
    QWidget *download = nullptr;    // Tdownload

    QList<QWidget *> all() const { return {tally, gameStart, spyList, phrases, help, about, download}; }
};

class Tchat : public QMainWindow
{
    Q_OBJECT
public:
    // `beforeText`, when given, is called once the controls that measure no
    // text are made, before the first that does: the start lets the font
    // configuration finish loading there.
    explicit Tchat(QWidget *parent = nullptr, const std::function<void()> &beforeText = {});
    ~Tchat() override;

    // ---- wiring by the start-up (chatform.cpp) ----
    void setRandom(QRandomGenerator *generator);
    void setSoundPlayer(SoundPlayer *player);
    void setTally(TallyRecorder *tally);
    void setCompanions(const CompanionWindows &windows);
    // Switches the in-process server's listener on; throws ZwonkyError when
    // the port cannot be bound. Set only in a process that can host.
    void setHostStarter(std::function<void()> startListening);
    // Binds the game connection to a free local port before it is opened and
    // returns that port, so that the in-process server can keep seat 1 for it.
    quint16 bindOwnConnection();
    // Port the client connects to (7772; tests use the server's free port).
    void setGamePort(const QString &port);
    // Launch parameters (command line without the program name).
    void setParameters(const QStringList &parameters);
    // Folder that holds the settings file (the program's folder by default).
    void setSettingsFolder(const QString &folder);
    // Message boxes ("Game is full", socket errors) are shown through this
    // function; tests replace it so that nothing waits for a click. The box
    // counts as dismissed as soon as the function returns.
    void setMessageBox(std::function<void(const QString &)> show);
    // The standard error report of the process, one box at a time; the
    // start-up shows the server's errors through it too.
    ErrorReport &errorReport() { return *m_report; }

    // ---- session values (chatform_session.cpp) ----
    // The game connection and the table's state; tests feed it the host's messages.
    ClientSession &session() { return *m_session; }
    // The host's computer players (chatform_computers.cpp).
    ComputerSeats &computerSeats() { return *m_computers; }
    int ownSeat() const;
    bool isConnected() const;
    bool isHosting() const;
    int currentTurnSeat() const;
    QString playerName() const { return m_playerName; }
    PlayerTableView &playerTable() { return *m_playerTable; }
    // What is said to assistive technology as the game goes on.
    Announcer &announcer() { return *m_announcer; }

    // start-up and roles
    void processparams();
    void hostpress();
    void joinpress();

    // operations offered to other windows
    void kicking(int seat);
    void startgame();          // called by the start-game window

    // the host's start picture and "Start Game"
    void button_startClick();

    // ---- the letter tray (trayview.h), made by chatform.cpp ----
    TrayView &tray() { return *m_tray; }
    // Forwards of the tray for the whole-game tests and benchmarks.
    TileWidget *tile(int die) const;
    int trayCount() const;

    // The factor the board is shown at (1 at the default size and smaller).
    const BoardScale &boardScale() const;

    // ---- word columns and word-list panel (wordboard.h), made in chatform.cpp ----
    WordBoard &wordBoard() { return *m_wordBoard; }

    // ---- the chat pane (chatpane.h), made by chatform.cpp ----
    ChatPane &chatPane() { return *m_chatPane; }
    const ChatPane &chatPane() const { return *m_chatPane; }
    // Lines and event sounds of the session's handlers, shown by the pane.
    void addlinetochat(const QString &line, quint32 colour);
    void playsounds(SoundClip clip);

    // ---- settings (chatform_settings.cpp) ----
    void loadinifile();
    void saveinifile();
    // The settings file's full path: the settings folder, or the per-user
    // data folder when that folder cannot be written.
    QString settingsPath() const;
    bool settingsLoaded() const { return m_settingsLoaded; }
    // The bounds last read from the file (before the window was held to the
    // screen) or saved; all 0 before the first load.
    WindowBounds rememberedBounds() const { return m_rememberedBounds; }
    // Closing the window: saves when it was moved or resized since the
    // settings were last loaded or saved. closeEvent calls it.
    void FormClose();
    void ResetScreenLocation1Click();
    // Writes "Phrase1" .. "Phrase9" and nothing else.
    void storePhrases(const QStringList &phrases);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // construction, one per part
    void buildLayout();          // chatform.cpp
    void buildMenus();           // chatform_session.cpp
    void setupComputerSeats();   // chatform_computers.cpp
    void updateComputerItems();  // chatform_computers.cpp
    void fillComputerSeats(int count, int level);
    void wireSession();          // chatform_events.cpp
    void setupLobbyLink();       // chatform_session.cpp
    void openLobbyLink();
    void JustWatch1Click();
    void New1Click(QAction *item);
    void ViewTally1Click();
    void showCompanion(QWidget *window);
    // The logo opens the maker's web page, as the about window's link does.
    void image_logoClick();
    void updateCompanionActions();
    QString rowName(int seat) const;
    // answers to the session (chatform_events.cpp)
    void onConnectionError();
    void onGameStarted(const QString &starter, const GameSettings &settings);
    void onTurnScored(int seat, const TurnResult &result);
    void onGameOver(const QString &text);
    void endturn();
    // Shows a notice box; `afterwards` runs once it is dismissed.
    void showMessage(const QString &text, std::function<void()> afterwards = {});
    // Closes the window once the messages that came before the connection's
    // close are handled and no box is waiting for the player.
    void closeWhenSettled();
    // The window's guard at the event-loop boundary: errors go to reportError.
    bool runGuarded(const std::function<void()> &work);
    void focusChat();
    // Errors at the event-loop boundary end up here (one place).
    void reportError(const QString &text);

    // -- session --
    ClientSession *m_session = nullptr;
    ComputerSeats *m_computers = nullptr;
    PlayerTableView *m_playerTable = nullptr;
    QString m_playerName;
    QString m_hostAddress;
    QString m_gamePort = QStringLiteral("7772");
    QStringList m_parameters;
    bool m_paramsProcessed = false;
    std::function<void()> m_startListening;
    ErrorReport *m_report = nullptr;
    bool m_closeWhenSettled = false;   // the game connection has closed
    QStringList m_listedSpies;         // the entries this window put on the spy list

    TSock *m_lobbyLink = nullptr; // `Sock11`

    TallyRecorder *m_tally = nullptr;
    CompanionWindows m_windows;
    QString m_settingsFolder;

    // -- controls shared across parts (created by buildLayout / build*) --
    QWidget *m_mainPanel = nullptr;       // `panel_board1`, holds everything
    BoardFit *m_boardFit = nullptr;       // grows the panel with the window
    QWidget *m_logo = nullptr;            // `image_logo`
    QWidget *m_boardPanel = nullptr;      // `panel_board`
    QWidget *m_columnsPanel = nullptr;
    QWidget *m_chatPanel = nullptr;
    QPushButton *m_startButton = nullptr;  // `button_start`
    GameOptionsView *m_gameOptions = nullptr; // `panel_options`
    TurnStatusView *m_turnStatus = nullptr;   // `label_turn`, `label_status`, ...
    Announcer *m_announcer = nullptr;         // `label_announce`

    // the menu bar; its actions are connected by buildMenus
    MainMenus *m_menus = nullptr;

    // ---- the letter tray (chatform.cpp wires it) ----
    TrayView *m_tray = nullptr;

    // ---- word columns and word-list panel ----
    WordBoard *m_wordBoard = nullptr;

    // ---- the chat pane (chatform.cpp wires it) ----
    void buildChatPane();
    ChatPane *m_chatPane = nullptr;

    // ---- settings state (chatform_settings.cpp; its owner adds members here) ----
    void writeSettings(const WindowBounds &bounds);
    ClientSettings collectSettings(const WindowBounds &bounds) const;
    void applyMinimumSize();
    WindowBounds currentBounds() const;
    bool m_settingsLoaded = false;
    WindowBounds m_rememberedBounds;
    bool m_newTurnSound = false;           // the turn sound chosen is "New"
    void chooseTurnSound(bool newSound);
};

} // namespace zwonky
