#pragma once

// The game protocol, in one place.
//
// Wire grammar (one TCP connection per client, text in the Western
// single-byte code page, Windows-1252):
//
//   message   = command "+" arguments terminator
//   command   = "CMD_" lower-case-word
//   arguments = fields separated by "+"; the last field may be "the rest",
//               which may itself contain "+"
//   terminator = byte 0xFF
//
// No escaping: a text containing "+" survives only where the receiver takes
// the rest for it; a text containing 0xFF is cut there. Numbers are decimal,
// option flags "t"/"f". Every builder below returns the whole message,
// terminator included, ready for one send, and never longer than
// MaxMessageLength before its terminator.

#include "net/fieldcursor.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace zwonky::protocol {

inline constexpr char Terminator = '\xFF';

// The longest message text, terminator not counted, that every receiver
// takes: past it a receiver closes the connection (see Framer). Every
// builder below keeps within it by cutting the end of its last text, so a
// long name and a long line relayed together never close anybody.
inline constexpr qsizetype MaxMessageLength = 64 * 1024;

// The version text compared at login; the about window shows it too.
inline constexpr char GameVersion[] = "1.0.7";
inline constexpr char GameBuild[] = "29";

// Default TCP port of the game.
inline constexpr quint16 GamePort = 7772;

namespace cmd {
// Client to server, in the server's dispatch order.
inline constexpr char LoginInfo[] = "CMD_logininfo";
inline constexpr char Chat[] = "CMD_chat";
inline constexpr char Action[] = "CMD_action";
inline constexpr char KickHim[] = "CMD_kickhim";
inline constexpr char StartGame[] = "CMD_startgame";
inline constexpr char JustWatch[] = "CMD_justwatch";
inline constexpr char SetDice[] = "CMD_setdice";
inline constexpr char Done[] = "CMD_done";
inline constexpr char ClearThem[] = "CMD_clearthem";
inline constexpr char NewTiles[] = "CMD_newtiles";
inline constexpr char OldTiles[] = "CMD_oldtiles";
inline constexpr char Finish[] = "CMD_finish";
inline constexpr char PlayASound[] = "CMD_playasound";
// Server to client only (Chat, Action, StartGame, SetDice, ClearThem,
// NewTiles, OldTiles and PlayASound are shared names).
inline constexpr char SendLoginInfo[] = "CMD_sendlogininfo";
inline constexpr char NewPlayerInfo[] = "CMD_newplayerinfo";
inline constexpr char HaveWrongVersion[] = "CMD_havewrongversion";
inline constexpr char WrongVersion[] = "CMD_wrongversion";
inline constexpr char ExistingPlayers[] = "CMD_existingplayers";
inline constexpr char PlayerDisconnected[] = "CMD_playerdisconnected";
inline constexpr char NextPlayer[] = "CMD_nextplayer";
inline constexpr char Winner[] = "CMD_winner";
inline constexpr char Full[] = "CMD_full";
inline constexpr char JustWatching[] = "CMD_justwatching";
inline constexpr char TheDice[] = "CMD_thedice";
inline constexpr char Accepted[] = "CMD_accepted";
inline constexpr char Rejected[] = "CMD_rejected";
inline constexpr char TurnEnd[] = "CMD_turnend";
inline constexpr char Scores[] = "CMD_scores";
inline constexpr char Stats[] = "CMD_stats";
inline constexpr char LoadScores[] = "CMD_loadscores";
inline constexpr char AddAWord[] = "CMD_addaword";
} // namespace cmd

// The receiving sides' vocabularies, in the order their dispatchers test them.
QStringList serverCommandOrder();  // 13 names
QStringList clientCommandOrder();  // 26 names

// Text <-> wire bytes in Windows-1252. Characters the code page lacks become "?".
QByteArray encodeText(const QString &text);
QString decodeText(const QByteArray &bytes);

// The seven game options of "CMD_startgame" and "CMD_stats", typed. On the
// wire they travel in a fixed order: team, play-to score, time per turn,
// zwonked-at score, new tiles, typing, fast; numbers as decimal text, flags
// "t"/"f". A received flag counts as on only as "t", except new tiles, which
// are allowed unless the flag is "f".
struct GameOptions
{
    bool team = false;
    int playTo = 5000;
    int timePerTurn = 60;
    int zwonkedAt = 2000;
    bool newTiles = true;
    bool typing = false;
    bool fast = false;
    bool operator==(const GameOptions &) const = default;
};
// Reads the options in their wire order; throws ZwonkyError on a number
// field that is not a number.
GameOptions takeGameOptions(FieldCursor &args);
// The options as sent: each of the seven fields followed by "+".
QString gameOptionsText(const GameOptions &options);

// How "CMD_thedice" deals: a 10-letter ("false") or 13-letter ("true") hand
// at a turn's start, the alternative set after a purchase ("new"), or back
// to the current one ("old"). Any other text is Other.
enum class DealKind { Ten, Thirteen, New, Old, Other };
DealKind dealKindFromWire(const QString &flag);
QString dealKindText(DealKind kind); // Other is sent as ""

// A team's win names both partners: "Ann and Bo".
QString teamWinnerText(const QString &name, const QString &partner);
bool isTeamWinner(const QString &winnerText);

// Watch states of "CMD_justwatch" / "CMD_justwatching".
inline constexpr int WatchStart = 1;
inline constexpr int WatchStop = 2;

// ---- client to server ----
// The login name ends in 0xFF in the original client, so the reply ends in
// two terminators; the empty message between them is dropped by the server.
QByteArray loginInfo(int seat, const QString &version, const QString &playerName);
QByteArray chat(int seat, const QString &text, const QString &colour);
QByteArray action(int seat, const QString &text, const QString &colour);
QByteArray kickHim(int seat, int target);
QByteArray startGameRequest(int seat, const GameOptions &options);
QByteArray justWatch(int seat, int state);
QByteArray setDiceRequest(int seat, int position, int die);
QByteArray done(int seat, const QList<int> &dice);
QByteArray clearThemRequest(int seat);
QByteArray newTilesRequest(int seat);
QByteArray oldTilesRequest(int seat);
QByteArray finish(int seat);
QByteArray playASoundRequest(int seat, int sound);

// ---- server to clients ----
QByteArray sendLoginInfo(int seat);
QByteArray full();
QByteArray newPlayerInfo(int seat, const QString &name);
QByteArray existingPlayers(int seat, const QString &name);
QByteArray haveWrongVersion(const QString &name);
QByteArray wrongVersion();
QByteArray stats(int seat, const GameOptions &options);
QByteArray loadScores(int seat, int score);
// Letters one per entry. The text form sends any flag as given (tests send
// what a hostile server might).
QByteArray theDice(int seat, DealKind kind, const QStringList &letters);
QByteArray theDice(int seat, const QString &flag, const QStringList &letters);
QByteArray playerDisconnected(int seat, const QString &name);
// rest: the client's text + "|" + colour, passed on unchanged.
QByteArray chatRelay(const QString &senderName, const QString &rest);
QByteArray actionRelay(const QString &senderName, const QString &rest);
QByteArray playASoundRelay(int seat, const QString &rest);
QByteArray justWatching(int seat, int state);
QByteArray startGameAnnounce(const QString &starterName, const GameOptions &options);
QByteArray nextPlayer(int seat);
QByteArray setDiceRelay(int position, int die);
QByteArray clearThemRelay();
QByteArray newTilesNotice(int seat, int score);
QByteArray oldTilesNotice(int seat, int score);
QByteArray accepted(int length, const QString &word);
QByteArray addAWord(int seat, int length, const QString &word);
// reason begins with "+", e.g. "+ Rejected. Word Exists".
QByteArray rejected(const QString &word, const QString &reason);
QByteArray turnEnd();
QByteArray scores(int seat, int wordPoints, int bonus, int wordCount, int total,
                  int partnerSeat, int partnerTotal);
QByteArray winner(const QString &text);

} // namespace zwonky::protocol
