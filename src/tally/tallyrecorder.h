#pragma once

#include <QString>
#include <QStringList>

namespace zwonky {

// What the main window's handlers need of the tally: the tally window
// implements it; tests use a recording fake.
class TallyRecorder
{
public:
    virtual ~TallyRecorder() = default;

    // One finished game; winner is "addtomine" when the player himself won,
    // else the winner's name.
    virtual void addgame(const QString &winner) = 0;
    // Sets an own score: column 3 = highest game score, 4 = highest turn score.
    virtual void addscore(int column, int value) = 0;
    virtual int highestGameScore() const = 0;
    virtual int highestTurnScore() const = 0;
    // Rebuilds "Players In Current Game" from the board: the captions of the
    // name labels of seats 1-6, the own seat left out ("<Waiting>" included
    // as shown; the tally skips it).
    virtual void loadchecklist(const QStringList &boardNames) = 0;
};

} // namespace zwonky
