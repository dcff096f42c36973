#pragma once

#include "net/fieldcursor.h"
#include "net/framer.h"
#include "net/messagepump.h"
#include "net/protocol.h"
#include "net/tsock.h"
#include "server/gameengine.h"
#include "server/gameoutbox.h"
#include "server/wordrules.h"

#include <QObject>
#include <QPointer>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <array>
#include <utility>
#include <vector>

namespace zwonky {

class TDictn;
class WorkingFileAhead;

// One seat of the player table.
struct tplayer
{
    QString name;            // empty while free or not yet logged in
    bool open = false;       // from the accept until the connection's close
    QPointer<TSock> connection;
    Framer framer;           // the connection's pending remainder
    quint64 serial = 0;      // the connection's number, never reused; 0 while free
    bool loggedIn = false;   // the connection has answered the seat offer
    int loginWait = 0;       // seconds the connection has been silent since its offer
};

// The game server: the player table, login, relays, removal and watching,
// the receive queue and the bounds on each peer. The game itself is the
// GameEngine, which the server feeds: a game message's sender is the seat of
// the connection that carried it, and the engine's messages go out through
// the server as its outbox. It never touches a widget, so it runs without a
// screen. Every message it handles comes from the one shared queue
// (`socktimer`), handled one at a time in arrival order as soon as it comes;
// every message it sends is built by the protocol module.
//
// A message is believed only for the seat of the connection that carried it:
// its seat field must name that seat, and the host's requests (kick, start,
// making another seat watch) are taken only from the connection in seat 1.
// A queued message whose connection has since left its seat is dropped.
//
// No peer can take more than its share: output waiting for a connection,
// messages waiting from it in the queue and the time it may stay silent
// after the seat offer are bounded, and a connection past a bound is closed
// as on any close; so is the connection that would be a third one from its
// address to wait for its login. Seat 1 can be kept for the host's own client, which tells
// the server beforehand from which local port it will connect.
class TServer : public QObject, private GameOutbox, private SeatDirectory
{
    Q_OBJECT
public:
    static constexpr int TableSize = 11;     // seats 1-11
    static constexpr int MaxSeats = 9;       // seats a connection may hold
    static constexpr int SpareSeat = 10;     // takes a surplus connection to refuse it
    static constexpr int PlayingSeats = GameEngine::PlayingSeats;
    // The pump's tick; the server counts nothing in ticks, so it never runs.
    static constexpr int DispatchIntervalMs = 10;
    // A closed connection is destroyed once whatever it still had to send
    // ("CMD_full+") has left, at the latest after this delay.
    static constexpr int ClosedConnectionGraceMs = 10000;
    // Output that may wait for one connection that does not read.
    static constexpr qint64 MaxPendingOutput = 1024 * 1024;
    // Messages and bytes that may wait in the queue from one connection.
    static constexpr std::size_t MaxQueuedPerConnection = 256;
    static constexpr qsizetype MaxQueuedBytesPerConnection = 512 * 1024;
    // A connection that has not logged in by then is closed.
    static constexpr int LoginTimeoutSeconds = 30;
    // Connections from one address that may wait for their login at a time;
    // one more is closed at once. The host's own client is never counted.
    static constexpr int MaxWaitingPerAddress = 2;
    static constexpr int LoginTimerIntervalMs = 1000;

    // `wordList`: the word list's working file provided ahead by the start,
    // or null for the dictionary to provide it itself.
    explicit TServer(QObject *parent = nullptr, WorkingFileAhead *wordList = nullptr);
    ~TServer() override;

    // Switches the listener on; throws ZwonkyError("Listen - Error Binding
    // Socket") when the port is taken.
    void startListening(const QString &port = QStringLiteral("7772"));
    quint16 listeningPort() const;
    void setRandom(QRandomGenerator *generator);
    void setWordChecker(WordChecker isWord);
    QString dictionaryError() const;
    // The end of the run: the working word list is closed and removed, and
    // every word is refused from then on. Destruction does it too.
    void closeWordList();
    // Stops the real dispatch and clock timers for good; the caller steps
    // socktimerTimer() and engine().Timer1Timer() itself.
    void setClockManual(bool manual);
    // Keeps seat 1 for the connection from 127.0.0.1 at this local port (the
    // host's own client); no other connection is ever given seat 1. Without
    // it, seat 1 goes to the first connection, as for a bare server in tests.
    void reserveHostSeat(quint16 hostClientPort) { m_hostClientPort = hostClientPort; }
    quint16 reservedHostPort() const { return m_hostClientPort; }

    void socktimerTimer();   // one dispatch step (manual clock)
    void logintimerTimer();  // one second of the wait for logins
    MessagePump &pump() { return m_pump; }
    // The game; its Timer1Timer() is the one-second turn and pause clock.
    GameEngine &engine() { return m_engine; }
    const GameEngine &engine() const { return m_engine; }

    // Read-only views.
    const tplayer &player(int seat) const;
    int seatsInUse() const override { return m_seatsInUse; }

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
    int waitingFrom(const QString &address) const;
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
    void addGameCommands(std::vector<std::pair<const char *, CommandTable::Handler>> &handlers);

    // The seat table as the engine sees it.
    bool isOpen(int seat) const override;
    QString nameAt(int seat) const override;

    // Shared helpers.
    tplayer &at(int number) { return m_players[static_cast<std::size_t>(number)]; }
    const tplayer &at(int number) const { return m_players[static_cast<std::size_t>(number)]; }
    // The sender named by a message's first field, or 0 when that is not the
    // seat of the connection that carried the message.
    int takeSender(FieldCursor &args) const;
    bool fromHost() const { return m_pump.currentOrigin() == 1; }
    // The outbox of the engine and of the server's own messages.
    void sendTo(int seatNumber, const QByteArray &message) override;
    void sendToAll(const QByteArray &message) override;
    void sendToOthers(int except, const QByteArray &message) override;
    void report(const QString &text);
    template <typename Work> void guarded(Work &&work);

    std::array<tplayer, TableSize + 1> m_players; // index 0 unused
    int m_seatsInUse = 0;
    // Declared after the table it looks at, so that it goes first.
    GameEngine m_engine;
    bool m_manualClock = false;
    quint16 m_hostClientPort = 0;
    quint64 m_lastSerial = 0;

    TDictn *spell = nullptr;

    MessagePump m_pump;
    QTimer m_logintimer;
    // Declared last so that its connections go before the table they name.
    TSock m_tempsock;
    TSock m_sock1;
};

} // namespace zwonky
