#pragma once

#include "net/fieldcursor.h"
#include "net/framer.h"
#include "net/messagepump.h"
#include "net/protocol.h"
#include "net/tsock.h"
#include "server/wordrules.h"

#include <QObject>
#include <QPointer>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <array>
#include <memory>

namespace zwonky {

class TDictn;

// One seat of the player table.
struct tplayer
{
    QString name;            // empty while free or not yet logged in
    bool open = false;       // from the accept until the connection's close
    QPointer<TSock> connection;
    int score = 0;
    bool watching = false;
    bool finished = false;   // fast game: pressed finish this turn
    bool zwonked = false;    // score reached the zwonked-at mark: 13 letters
    int partner = 0;         // team game: 1 and 3, 2 and 4; 0 for the others
    bool newTiles = false;   // holds the alternative set this turn
    WordBoxes words;         // accepted words of this turn
    Framer framer;           // the connection's pending remainder
    quint64 serial = 0;      // the connection's number, never reused; 0 while free
    bool loggedIn = false;   // the connection has answered the seat offer
    int loginWait = 0;       // seconds the connection has been silent since its offer
};

// The game server: the player table, login, relays, the game engine and
// the judging of words. It never touches a widget, so it runs without a
// screen. Every message it handles comes from the one shared queue, drained
// one per tick of `socktimer`; every message it sends is built by the
// protocol module.
//
// A message is believed only for the seat of the connection that carried it:
// its seat field must name that seat, and the host's requests (kick, start,
// making another seat watch) are taken only from the connection in seat 1.
// A queued message whose connection has since left its seat is dropped.
//
// No peer can take more than its share: output waiting for a connection,
// messages waiting from it in the queue and the time it may stay silent
// after the seat offer are bounded, and a connection past a bound is closed
// as on any close. Seat 1 can be kept for the host's own client, which tells
// the server beforehand from which local port it will connect.
class TServer : public QObject
{
    Q_OBJECT
public:
    static constexpr int TableSize = 11;     // seats 1-11
    static constexpr int MaxSeats = 9;       // seats a connection may hold
    static constexpr int SpareSeat = 10;     // takes a surplus connection to refuse it
    static constexpr int PlayingSeats = 6;   // seats that get turns and scores
    static constexpr int DispatchIntervalMs = 10;
    static constexpr int ClockIntervalMs = 1000;
    static constexpr int ExtraTurnSeconds = 4;
    static constexpr int NormalPauseSeconds = 5;
    static constexpr int TileCost = 300;
    // A closed connection is destroyed after this delay, so that whatever it
    // still had to send ("CMD_full+") leaves first.
    static constexpr int ClosedConnectionGraceMs = 10000;
    // Output that may wait for one connection that does not read.
    static constexpr qint64 MaxPendingOutput = 1024 * 1024;
    // Messages and bytes that may wait in the queue from one connection.
    static constexpr std::size_t MaxQueuedPerConnection = 256;
    static constexpr qsizetype MaxQueuedBytesPerConnection = 512 * 1024;
    // A connection that has not logged in by then is closed.
    static constexpr int LoginTimeoutSeconds = 30;
    static constexpr int LoginTimerIntervalMs = 1000;

    enum Phase { NoPhase = 0, TurnRunning = 1, Pausing = 2 };

    explicit TServer(QObject *parent = nullptr);
    ~TServer() override;

    // Switches the listener on; throws ZwonkyError("Listen - Error Binding
    // Socket") when the port is taken.
    void startListening(const QString &port = QStringLiteral("7772"));
    quint16 listeningPort() const;
    void setRandom(QRandomGenerator *generator);
    void setWordChecker(WordChecker isWord);
    QString dictionaryError() const;
    // Stops the real dispatch and clock timers for good; the caller steps
    // socktimerTimer() and Timer1Timer() itself.
    void setClockManual(bool manual);
    // Keeps seat 1 for the connection from 127.0.0.1 at this local port (the
    // host's own client); no other connection is ever given seat 1. Without
    // it, seat 1 goes to the first connection, as for a bare server in tests.
    void reserveHostSeat(quint16 hostClientPort) { m_hostClientPort = hostClientPort; }
    quint16 reservedHostPort() const { return m_hostClientPort; }

    void socktimerTimer();   // one dispatch tick
    void Timer1Timer();      // one second of the turn and pause clock
    void logintimerTimer();  // one second of the wait for logins
    MessagePump &pump() { return m_pump; }

    // Read-only views.
    const tplayer &player(int seat) const;
    int seatsInUse() const { return m_seatsInUse; }
    bool gameRunning() const { return m_running; }
    bool fastGame() const { return m_fast; }
    bool teamGame() const { return m_team; }
    int currentSeat() const { return m_current; }
    int phase() const { return m_phase; }
    int turnCounter() const { return m_counter; }
    bool clockEnabled() const { return m_clockOn; }
    const QStringList &currentSet() const { return m_currentSet; }
    const QStringList &alternativeSet() const { return m_alternativeSet; }
    const protocol::GameOptionFields &options() const { return m_options; }

signals:
    // An error ended the handling of one message or event; the start-up
    // shows it as the standard error report.
    void errorReported(const QString &text);

private:
    // Connections, login, relays (serverform.cpp).
    void Sock1Accept(TSock *listener);
    void Sock1Read(TSock *connection);
    void tempsockDisconnect(TSock *connection);
    void tempsockInfo(TSock *connection, int code, const QString &text);
    int chooseSeat(const TSock *connection) const;
    bool isHostClient(const TSock *connection) const;
    bool holdsSeat(int seat, const TSock *connection) const;
    bool stillHolds(int seat, quint64 serial) const;
    void takeSeat(int seat, TSock *connection);
    void startLoginTimer();
    void retire(TSock *connection);
    void receivedlogininfo(FieldCursor &args);
    void chat(FieldCursor &args);
    void action(FieldCursor &args);
    void playasound(FieldCursor &args);
    void kickhim(FieldCursor &args);
    void disconnectsock(int seat);
    void justwatch(FieldCursor &args);
    void catchUp(int seat);

    // Game flow (serverform_game.cpp).
    enum class Letters { Fresh, Alternative };
    void startgame(FieldCursor &args);
    void findplayer();
    void getletters(Letters mode);
    void startTurn();
    void endGame();
    void newtiles(FieldCursor &args);
    void oldtiles(FieldCursor &args);
    void setdice(FieldCursor &args);
    void clearthem(FieldCursor &args);
    void finish(FieldCursor &args);
    bool checkforwin();
    bool tilesAllowed(int sender) const;
    void enableClock(bool on);
    int openPlayingSeats() const;

    // Words and scores (serverform_words.cpp).
    void done(FieldCursor &args);
    void postscore(int seat);

    // Shared helpers.
    tplayer &at(int number) { return m_players[static_cast<std::size_t>(number)]; }
    const tplayer &at(int number) const { return m_players[static_cast<std::size_t>(number)]; }
    // The sender named by a message's first field, or 0 when that is not the
    // seat of the connection that carried the message.
    int takeSender(FieldCursor &args) const;
    bool fromHost() const { return m_pump.currentOrigin() == 1; }
    int handSize(int seatNumber) const;
    static QStringList firstLetters(const QStringList &set, int count);
    static int addClamped(int score, qint64 change);
    void sendTo(int seatNumber, const QByteArray &message);
    void sendToAll(const QByteArray &message);
    void sendToOthers(int except, const QByteArray &message);
    void report(const QString &text);
    template <typename Work> void guarded(Work &&work);

    std::array<tplayer, TableSize + 1> m_players; // index 0 unused
    int m_seatsInUse = 0;

    bool m_running = false;
    bool m_fast = false;
    bool m_team = false;
    protocol::GameOptionFields m_options;
    int m_playTo = 0;
    int m_timePerTurn = 0;
    int m_zwonkedAt = 0;
    bool m_allowNewTiles = true;
    int m_current = 0;
    QStringList m_currentSet;
    QStringList m_alternativeSet;
    int m_counter = 0;
    int m_phase = NoPhase;
    bool m_clockOn = false;
    bool m_manualClock = false;
    quint16 m_hostClientPort = 0;
    quint64 m_lastSerial = 0;

    std::unique_ptr<QRandomGenerator> m_ownRandom;
    QRandomGenerator *m_random = nullptr;
    TDictn *spell = nullptr;
    WordChecker m_isWord;

    MessagePump m_pump;
    QTimer m_timer1;
    QTimer m_logintimer;
    // Declared last so that its connections go before the table they name.
    TSock m_tempsock;
    TSock m_sock1;
};

} // namespace zwonky
