#include "players/wordchoice.h"

#include <QSet>

#include <algorithm>
#include <cmath>

namespace zwonky {

namespace {

// Every word handed to the rules here came from the word list.
bool listWord(const QString &) { return true; }

// Beyond this many words a length scores nothing more (10 letters: 3).
int usefulCount(int length) { return length == MaxWordLength ? 3 : BoxesPerLength; }

} // namespace

bool rulesAllow(const QString &word, const WordBoxes &made, bool zwonked)
{
    return judgeWord(word, zwonked, made, listWord).accepted;
}

QList<int> diceForWord(const QString &word, const QStringList &hand)
{
    QList<int> dice;
    QList<bool> used(hand.size(), false);
    for (QChar c : word) {
        int die = 0;
        for (qsizetype i = 0; i < hand.size() && die == 0; ++i) {
            if (!used[i] && hand[i].size() == 1 && hand[i].at(0) == c)
                die = int(i) + 1;
        }
        if (die == 0)
            return {};
        used[die - 1] = true;
        dice.append(die);
    }
    return dice;
}

namespace {

QStringList greedyWords(const QStringList &found, const WordBoxes &made, bool zwonked)
{
    const QSet<QString> all(found.begin(), found.end());
    WordBoxes boxes = made;
    QStringList plan;
    for (int length = MaxWordLength; length >= MinWordLength; --length) {
        // A plural taken here shuts out its singular one length down; words
        // without a singular among the finds go first.
        QStringList free;
        QStringList blocking;
        for (const QString &word : found) {
            if (word.size() != length)
                continue;
            const bool hasSingular = word.endsWith(QLatin1Char('S')) && all.contains(word.chopped(1));
            (hasSingular ? blocking : free).append(word);
        }
        for (const QString &word : free + blocking) {
            if (boxes.count(length) >= usefulCount(length))
                break;
            if (rulesAllow(word, boxes, zwonked)) {
                boxes.store(word);
                plan.append(word);
            }
        }
    }
    return plan;
}

} // namespace

// The greedy choice takes a plural wherever one fits, which can cost more
// one length down (where its singular would have filled the row and earned
// a bonus) than it brings. So each plural that shuts out its singular is
// left out in turn; the one that gains most stays out, until leaving out
// none of them gains.
QStringList bestWords(const QStringList &found, const WordBoxes &made, bool zwonked)
{
    const QSet<QString> all(found.begin(), found.end());
    QStringList pool = found;
    QStringList plan = greedyWords(pool, made, zwonked);
    int points = planScore(plan, made, zwonked).change;
    while (true) {
        QStringList bestPool;
        QStringList bestPlan;
        int bestPoints = points;
        for (const QString &word : plan) {
            if (!word.endsWith(QLatin1Char('S')) || !all.contains(word.chopped(1)))
                continue;
            QStringList without = pool;
            without.removeAll(word);
            QStringList other = greedyWords(without, made, zwonked);
            const int otherPoints = planScore(other, made, zwonked).change;
            if (otherPoints > bestPoints) {
                bestPool = std::move(without);
                bestPlan = std::move(other);
                bestPoints = otherPoints;
            }
        }
        if (bestPoints == points)
            break;
        pool = std::move(bestPool);
        plan = std::move(bestPlan);
        points = bestPoints;
    }
    return plan;
}

QStringList levelWords(const QStringList &found, const WordBoxes &made, bool zwonked,
                       double sight, QRandomGenerator &random)
{
    QStringList noticed;
    for (const QString &word : found) {
        const double chance = std::pow(sight, double(word.size() - 2));
        if (random.generateDouble() < chance)
            noticed.append(word);
    }
    return bestWords(noticed, made, zwonked);
}

TurnScore planScore(const QStringList &words, const WordBoxes &made, bool zwonked)
{
    WordBoxes boxes = made;
    for (const QString &word : words)
        boxes.store(word);
    return scoreTurn(boxes, zwonked);
}

qint64 layingTimeMs(const QString &word, const PlayerLevel &level)
{
    return level.thinkMs + qint64(level.perTileMs) * word.size();
}

QStringList wordsWithin(const QStringList &words, const PlayerLevel &level, qint64 ms)
{
    QStringList fitting;
    qint64 spent = 0;
    for (const QString &word : words) {
        spent += layingTimeMs(word, level);
        if (spent > ms)
            break;
        fitting.append(word);
    }
    return fitting;
}

} // namespace zwonky
