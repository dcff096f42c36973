#pragma once

#include "session/sessionstate.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace zwonky {

// One playing seat's row as every client shows it.
struct PlayerRow
{
    QString name;            // meaningful only while seated
    bool seated = false;
    int score = 0;
    // The score as the row shows it: the host's own text when it sent one
    // that is not a number ("CMD_loadscores" and the purchases pass it on).
    QString scoreText = QStringLiteral("0");
    bool scoreIsNumber = true;
    std::optional<TurnResult> result; // the last scored turn; none after a reset
    bool watching = false;   // "Just Watch": skipped by the host's hand-over
    bool boughtTiles = false; // fast game: bought new or old tiles this turn

    // The name shown in the row: the player's, or the empty-seat marker.
    QString shownName() const;
};

// A spectator (seat 7-9), listed in arrival order.
struct Spectator
{
    int seat = 0;
    QString name;
    // The spy list's entry, for example "7: Ann".
    QString entry() const { return QString::number(seat) + QStringLiteral(": ") + name; }
    bool operator==(const Spectator &) const = default;
};

// The six playing rows and the spectators of one table. Seats outside the
// rows are ignored by every method, so a hostile seat number never reaches
// an array.
class PlayerTable
{
public:
    static inline const QString EmptySeat = QStringLiteral("<Waiting>");

    const PlayerRow &row(int seat) const;
    // The shown name of a playing seat; empty for any other seat.
    QString shownName(int seat) const;
    const QList<Spectator> &spectators() const { return m_spectators; }
    bool hasSpectator(int seat, const QString &name) const;

    // false when the seat has no row.
    bool seat(int seat, const QString &name);
    // Empties a row: name and watching marker go; score and result stay.
    bool vacate(int seat);
    bool setWatching(int seat, bool watching);
    bool setScore(int seat, int score);
    // A score as the host wrote it; a text that is no number counts as 0.
    bool setScoreText(int seat, const QString &text);
    bool setResult(int seat, const TurnResult &result);
    bool setBoughtTiles(int seat, bool bought);
    void clearResults();
    void clearBoughtTiles();
    // A new game: scores 0, results, watching and tile markers cleared; names stay.
    void resetForGame();

    void addSpectator(int seat, const QString &name);
    bool removeSpectator(int seat, const QString &name);

private:
    PlayerRow *editable(int seat);

    std::array<PlayerRow, LastPlayingSeat + 1> m_rows{}; // index 0 unused
    QList<Spectator> m_spectators;
};

} // namespace zwonky
