#pragma once

// One player's session with the game server, without a screen: the
// connection, the dispatch of the server's messages as they arrive, the state
// of the table and the game as typed data, and every request the player can
// make. Views (the main window's parts), tests and computer players drive a
// session and listen to its signals; none of them reads state from a widget.

#include "audio/soundclip.h"
#include "net/protocol.h"
#include "session/acceptedwords.h"
#include "session/lettertray.h"
#include "session/playertable.h"
#include "session/sessionconnection.h"
#include "session/sessionstate.h"
#include "session/turnclock.h"

#include <QObject>
#include <QString>

namespace zwonky {

class ClientSession : public QObject
{
    Q_OBJECT
public:
    // Colours of the notices, in the 0x00BBGGRR order of the chat's colour texts.
    static constexpr quint32 NoticeBlue = 0xFF0000;
    static constexpr quint32 LeftNavy = 0x800000;
    static constexpr quint32 WatchGrey = 0x78989C;

    explicit ClientSession(QObject *parent = nullptr);

    // ---- set-up ----
    void setPlayerName(const QString &name) { m_playerName = name; }
    QString playerName() const { return m_playerName; }
    void setHosting(bool hosting) { m_state.hosting = hosting; }
    bool isHosting() const { return m_state.hosting; }
    // Binds the game connection to a free local port before it is opened and
    // returns that port (the host's server keeps seat 1 for it).
    quint16 bindLocal() { return m_link.bindLocal(); }
    // Why the last connect failed, for the player's notice.
    TSock::Failure connectFailure() const { return m_link.lastFailure(); }
    QString connectFailureDetail() const { return m_link.failureDetail(); }
    QString hostName() const { return m_link.hostName(); }
    // Work at every tick of the 1 ms dispatch timer, and a reason to keep it
    // ticking; wakeDispatch() when that reason turns true.
    void setAfterTick(std::function<void()> work) { m_link.setAfterTick(std::move(work)); }
    void setKeepTicking(std::function<bool()> predicate) { m_link.setKeepTicking(std::move(predicate)); }
    void wakeDispatch() { m_link.wake(); }
    // The player's turn-sound choice: "turnnew" instead of "turn".
    void setNewTurnSound(bool on) { m_newTurnSound = on; }
    // Opens the game connection (non-blocking); errors come as connectionError().
    void connectToHost(const QString &host, const QString &port) { m_link.open(host, port); }
    // Manual modes for tests: no message is handled and no timer ticks, or
    // the turn clock stays off, and the caller steps tick() or tickClock().
    void setDispatchManual(bool manual) { m_link.setManual(manual); }
    void setClockManual(bool manual) { m_clock.setManual(manual); }

    // ---- state ----
    const SessionState &state() const { return m_state; }
    int ownSeat() const { return m_state.ownSeat; }
    bool isConnected() const { return m_state.connected; }
    int currentSeat() const { return m_state.currentSeat; }
    bool isOwnTurn() const { return m_state.isOwnTurn(); }
    SessionPhase phase() const { return m_state.phase; }
    const GameSettings &settings() const { return m_state.settings; }
    const PlayerTable &players() const { return m_players; }
    const LetterTray &tray() const { return m_tray; }
    const AcceptedWords &words() const { return m_words; }
    int secondsLeft() const { return m_clock.secondsLeft(); }
    bool clockRunning() const { return m_clock.isRunning(); }
    bool isClosed() const { return m_link.isClosed(); }
    bool closeQueued() const { return m_link.closeQueued(); }
    // The dispatch table's commands, in the order they are tested.
    QStringList commandNames() const;

    // ---- receiving ----
    // Bytes from the connection: complete messages join the queue.
    void receive(const QByteArray &bytes) { m_link.receive(bytes); }
    std::size_t queued() const { return m_link.queued(); }
    // One dispatch tick: at most one message is handled.
    void tick() { m_link.tick(); }
    // One second of the turn clock.
    void tickClock() { m_clock.tick(); }

    // ---- requests (each sent only while connected) ----
    void chat(const QString &text, const QString &colour);
    void action(const QString &text, const QString &colour);
    // A phrase button's action: sent whether or not the login is through; a
    // connection that is not open reports the failed send.
    // false when it could not be sent.
    bool phraseAction(const QString &text, const QString &colour);
    // Own turn only: lays the die on the next tray place; false when it cannot.
    bool putTile(int die);
    // Own turn only: takes the last laid die back.
    bool takeBackTile();
    // Own turn only: submits the word on the tray and empties the tray.
    bool submitWord();
    void clearTray();
    void buyNewTiles();
    void buyOldTiles();
    void finishTurn();
    // "Just Watch" for the own seat (seats 1-4 only), toggling the row's state.
    void toggleWatching();
    // The host sets (or unsets) another seat's watching (seats below 5).
    void setSeatWatching(int seat, bool watching);
    void startGame(const protocol::GameOptions &options);
    void kick(int seat);
    void playSound(int sound);

signals:
    void loggedIn(int seat);
    void ownLoginConfirmed();
    void playerChanged(int seat);
    void spectatorsChanged();
    void watchingChanged(int seat, bool watching);
    // A system line for the chat pane (colour as NoticeBlue and friends).
    void notice(const QString &text, quint32 colour);
    // A relayed chat or action line; colourText is what followed the "|"
    // (empty when there was none).
    void chatReceived(const QString &text, const QString &colourText);
    void soundRequested(zwonky::SoundClip clip);
    void chatterSoundRequested(int seat, const QString &sound);
    void gameStarted(const QString &starter, const zwonky::GameSettings &settings);
    void caughtUp(int currentSeat, const zwonky::GameSettings &settings);
    void phaseChanged(zwonky::SessionPhase phase);
    // "CMD_nextplayer" arrived: the tray, the words and the purchase markers
    // of the last turn are cleared (even when no seat follows).
    void turnHandedOver();
    void turnStarted(int seat);
    void lettersDealt(int seat, zwonky::DealKind kind);
    void tileMoved(int position, int die);
    void trayCleared();
    // length: the message's own length field (the column it is filed in).
    void wordAccepted(int seat, int length, const QString &word);
    void wordRejected(const QString &word, const QString &reason);
    void wordAdded(int seat, const QString &word);
    void tilesBought(int seat, bool newTiles);
    // The announcement bar's text (a purchase, a turn's result).
    void announcement(const QString &text);
    void turnScored(int seat, const zwonky::TurnResult &result);
    void scoresChanged();
    void clockTicked(int secondsLeft);
    // The turn clock went below 0 and stopped at 0 (before any turn end).
    void clockRanOut();
    // byHost: "CMD_turnend"; otherwise the local clock ran out on the own turn.
    void turnEnded(bool byHost);
    void gameOver(const QString &winnerText);
    void gameFull();
    void connectionClosed();
    void connectionError(const QString &text);
    // A message that could not be read, or a request that could not be sent.
    void errorOccurred(const QString &text);

private:
    void registerHandlers();
    void send(const QByteArray &message);
    void setPhase(SessionPhase phase);
    void clearTiles();
    void endOwnTurn();
    void clockExpired();
    void clockTicks(int secondsLeft);

    // Handlers of the server's messages.
    void sendloginfo(FieldCursor &args);
    void chatrecieved(FieldCursor &args);
    void newplayerinfo(FieldCursor &args);
    void playerdisconnected(FieldCursor &args);
    void startthegame(FieldCursor &args);
    void getnextplayer(FieldCursor &args);
    void winner(FieldCursor &args);
    void justwatching(FieldCursor &args);
    void thedice(FieldCursor &args);
    void setdice(FieldCursor &args);
    void accepted(FieldCursor &args);
    void rejected(FieldCursor &args);
    void turnend(FieldCursor &args);
    void scores(FieldCursor &args);
    void stats(FieldCursor &args);
    void loadscores(FieldCursor &args);
    void purchase(FieldCursor &args, bool newTiles);
    void addaword(FieldCursor &args);
    void playasound(FieldCursor &args);

    SessionState m_state;
    PlayerTable m_players;
    LetterTray m_tray;
    AcceptedWords m_words;
    TurnClock m_clock;
    QString m_playerName;
    bool m_newTurnSound = false;

    QStringList m_commandNames;
    // Last, so that it goes first: no message reaches a half-destroyed session.
    SessionConnection m_link;
};

} // namespace zwonky

Q_DECLARE_METATYPE(zwonky::GameSettings)
Q_DECLARE_METATYPE(zwonky::TurnResult)
Q_DECLARE_METATYPE(zwonky::DealKind)
Q_DECLARE_METATYPE(zwonky::SessionPhase)
Q_DECLARE_METATYPE(zwonky::SoundClip)
