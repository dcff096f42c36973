#pragma once

#include "net/protocol.h"
#include "server/gameoutbox.h"
#include "server/letterdice.h"
#include "server/gameclock.h"
#include "server/wordrules.h"

#include <QList>
#include <QObject>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>

namespace zwonky {

// One playing seat's part in the game.
struct GameSeat
{
    int score = 0;
    bool watching = false;
    bool finished = false;   // fast game: pressed finish this turn
    bool zwonked = false;    // score reached the zwonked-at mark: 13 letters
    int partner = 0;         // team game: 1 and 3, 2 and 4; 0 for the others
    bool newTiles = false;   // holds the alternative set this turn
    WordBoxes words;         // accepted words of this turn
};

// The game: the options, the playing seats' scores and words, the letters,
// whose turn it is, the turn and pause clock, the judging of words and the
// scoring of turns. It never sees a connection: every request arrives with
// the seat of its sender (0 for a sender that is not believed, which every
// request ignores), every message leaves through the outbox, and the seat
// table is only looked at.
class GameEngine : public QObject
{
    Q_OBJECT
public:
    static constexpr int PlayingSeats = 6;   // seats that get turns and scores
    static constexpr int ExtraTurnSeconds = 4;
    static constexpr int NormalPauseSeconds = 5;
    static constexpr int TileCost = 300;
    using Phase = GameClock::Phase;
    static constexpr Phase NoPhase = GameClock::NoPhase;
    static constexpr Phase TurnRunning = GameClock::TurnRunning;
    static constexpr Phase Pausing = GameClock::Pausing;

    GameEngine(GameOutbox &outbox, const SeatDirectory &seats, QObject *parent = nullptr);
    ~GameEngine() override;

    // Null goes back to the engine's own generator, seeded from the clock.
    void setRandom(QRandomGenerator *generator);
    void setWordChecker(WordChecker isWord) { m_isWord = std::move(isWord); }
    // The real clock timer never runs; the caller steps Timer1Timer() itself.
    void setClockManual(bool manual) { m_clock.setManual(manual); }

    // ---- requests of the seated (serverform feeds them from the queue) ----
    // Only the host starts a game; options as read from "CMD_startgame".
    void startgame(int sender, bool fromHost, const protocol::GameOptions &options);
    // A word as die numbers in tray order ("CMD_done").
    void done(int sender, const QList<int> &dice);
    void newtiles(int sender);
    void oldtiles(int sender);
    void setdice(int sender, int position, int die);
    void clearthem(int sender);
    void finish(int sender);
    // Watching, once the server has checked who may ask it for the seat.
    void startWatching(int seat);
    void stopWatching(int seat);

    // ---- the seat table changes ----
    // A connection has left the seat (it is no longer open).
    void seatClosed(int seat);
    // A newcomer during a game gets the options, the scores and the letters.
    void catchUp(int seat);

    // One second of the turn and pause clock.
    void Timer1Timer();

    // ---- read-only views ----
    const GameSeat &seat(int number) const;
    bool gameRunning() const { return m_running; }
    bool fastGame() const { return m_options.fast; }
    bool teamGame() const { return m_options.team; }
    int currentSeat() const { return m_current; }
    int phase() const { return m_clock.phase(); }
    int turnCounter() const { return m_clock.counter(); }
    bool clockEnabled() const { return m_clock.enabled(); }
    const QStringList &currentSet() const { return m_letters.current(); }
    const QStringList &alternativeSet() const { return m_letters.alternative(); }
    const protocol::GameOptions &options() const { return m_options; }

signals:
    // An error ended one piece of work (a clock tick, a word lookup).
    void errorReported(const QString &text);

private:
    enum class Letters { Fresh, Alternative };
    void findplayer();
    void getletters(Letters mode);
    void startTurn();
    void endGame();
    void endTurn();
    bool checkforwin();
    void postscore(int seat);
    bool tilesAllowed(int sender) const;
    bool isPlaying(int sender) const { return sender >= 1 && sender <= PlayingSeats; }
    int openPlayingSeats() const;
    int handSize(int seat) const;
    bool lookUp(const QString &word);

    GameSeat &at(int number) { return m_seats[static_cast<std::size_t>(number)]; }
    const GameSeat &at(int number) const { return m_seats[static_cast<std::size_t>(number)]; }

    GameOutbox &m_outbox;
    const SeatDirectory &m_table;
    std::array<GameSeat, PlayingSeats + 1> m_seats; // index 0 unused

    bool m_running = false;
    protocol::GameOptions m_options; // as announced: team only with six seats
    int m_current = 0;
    LetterSets m_letters;
    GameClock m_clock;

    std::unique_ptr<QRandomGenerator> m_ownRandom;
    QRandomGenerator *m_random = nullptr;
    WordChecker m_isWord;
};

} // namespace zwonky
