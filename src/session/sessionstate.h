#pragma once

// The plain values a client session keeps: its own seat and flags, the phase
// of the game and the options the host announced. No widgets, no sockets.

#include "net/protocol.h"

#include <QString>

namespace zwonky {

// Seats as the server hands them out: 1-6 play, 7-9 only watch (spies).
inline constexpr int FirstSeat = 1;
inline constexpr int LastPlayingSeat = 6;
inline constexpr int LastSeat = 9;

inline bool isPlayingSeat(int seat) { return seat >= FirstSeat && seat <= LastPlayingSeat; }
inline bool isSpectatorSeat(int seat) { return seat > LastPlayingSeat && seat <= LastSeat; }

// Where the game stands as this client sees it.
enum class SessionPhase {
    NoGame,       // seated, no game announced yet
    TurnRunning,  // somebody's turn (every seated player's in a fast game)
    Pause,        // a game runs, between turns (also right after the start)
    GameOver,     // a winner was declared
};

// The options of the running game, typed. Before any game they hold the
// start window's defaults.
// The options the host announced ("CMD_startgame", "CMD_stats"), as the
// protocol reads them; before any announcement, the window's first captions.
using GameSettings = protocol::GameOptions;

// How a "CMD_thedice" deals; the protocol reads the flag.
using protocol::DealKind;
using protocol::dealKindFromWire;

// One player's result of the last scored turn.
struct TurnResult
{
    int wordPoints = 0;
    int bonus = 0;      // -500: the zwonked player lost 500 points
    int wordCount = 0;
    bool lostPoints() const { return bonus == -500; }
    // Worked in 64 bits: the host's numbers may be anything.
    qint64 points() const { return qint64(wordPoints) + bonus; }
    bool operator==(const TurnResult &) const = default;
};

// The session's own values; the player table, the letters and the words
// are kept by their own classes.
struct SessionState
{
    int ownSeat = 0;          // 0 until "CMD_sendlogininfo"
    bool connected = false;   // set by "CMD_sendlogininfo", never reset
    bool hosting = false;
    int currentSeat = 0;      // whose turn it is; 0 = nobody
    // The seat whose words "CMD_accepted" files: the turn's seat, kept
    // after the local clock ran out (the host may still judge a late word).
    int wordSeat = 0;
    SessionPhase phase = SessionPhase::NoGame;
    bool gameAnnounced = false;
    GameSettings settings{.team = false, .playTo = 5000, .timePerTurn = 90, .zwonkedAt = 2000,
                          .newTiles = true, .typing = false, .fast = false};
    QString winner;           // the text of "CMD_winner"; empty before
    bool ownHoldsNewTiles = false; // bought new tiles this turn: may go back

    bool isOwnTurn() const { return currentSeat != 0 && currentSeat == ownSeat; }
};

} // namespace zwonky
