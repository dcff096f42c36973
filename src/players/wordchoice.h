#pragma once

// Which words a computer player makes in a turn. The host's own rules
// (judgeWord) decide what may follow what, so a plan never holds a word the
// host would refuse: not one already made, not the plural or singular of one
// of the turn's words, not a sixth of a length, no 3-letter word once
// zwonked.

#include "players/playerlevel.h"
#include "server/scoring.h"
#include "server/wordrules.h"

#include <QList>
#include <QRandomGenerator>
#include <QStringList>

namespace zwonky {

// Whether the host would take this list word after the words already made.
bool rulesAllow(const QString &word, const WordBoxes &made, bool zwonked);

// The dice (1-based numbers into hand) that spell the word, each die once,
// the lowest free die for each letter; empty when the hand cannot spell it.
QList<int> diceForWord(const QString &word, const QStringList &hand);

// The best words the found words allow after those already made: lengths
// from the longest down, up to five of each (three of length 10, where more
// add nothing), preferring words that leave their singular free. In the
// order they should be played: the most valuable first.
QStringList bestWords(const QStringList &found, const WordBoxes &made, bool zwonked);

// A level's words: each found word of n letters is noticed with the chance
// sight^(n-2), and the best of the noticed ones are played.
QStringList levelWords(const QStringList &found, const WordBoxes &made, bool zwonked,
                       double sight, QRandomGenerator &random);

// What the turn would score with these words added to those already made.
TurnScore planScore(const QStringList &words, const WordBoxes &made, bool zwonked);

// The first words of the plan that a player of this pace lays within the
// time given (thinking before each word, then one tile after another).
QStringList wordsWithin(const QStringList &words, const PlayerLevel &level, qint64 ms);
qint64 layingTimeMs(const QString &word, const PlayerLevel &level);

} // namespace zwonky
