#pragma once

#include <QRandomGenerator>
#include <QStringList>

namespace zwonky {

// The 13 letter dice; die k supplies the k-th letter of every set.
// Faces of die k (1-13), six upper-case letters.
const char *dieFaces(int die);

// One face of die k, chosen uniformly among its six.
QString rollDie(int die, QRandomGenerator &random);

// All 13 dice rolled once: a whole letter set, die 1 first.
QStringList rollAllDice(QRandomGenerator &random);

// The game's two letter sets: the current set a turn is played with, and
// the alternative set a player may take instead ("new tiles"). Letter k of a
// set is die k's face; a hand is the first 10 or 13 letters of a set.
class LetterSets
{
public:
    LetterSets();

    void rollAlternative(QRandomGenerator &random) { m_alternative = rollAllDice(random); }
    void rollCurrent(QRandomGenerator &random) { m_current = rollAllDice(random); }
    // Rolls the first `count` dice of the current set; the others keep theirs.
    void rollCurrentHand(int count, QRandomGenerator &random);

    const QStringList &current() const { return m_current; }
    const QStringList &alternative() const { return m_alternative; }
    // The set a player's words are spelled from.
    const QStringList &held(bool newTiles) const { return newTiles ? m_alternative : m_current; }
    static QStringList hand(const QStringList &set, int count) { return set.mid(0, count); }

private:
    QStringList m_current;
    QStringList m_alternative;
};

} // namespace zwonky
