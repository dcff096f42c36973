#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

namespace zwonky {

inline constexpr int MinWordLength = 3;
inline constexpr int MaxWordLength = 10;
inline constexpr int BoxesPerLength = 5;
// A hand is the first 10 dice, or all 13 once the player is zwonked.
inline constexpr int DiceCount = 13;
inline constexpr int NormalHand = 10;
inline constexpr int ZwonkedHand = 13;

// Reason texts of "CMD_rejected"; each begins with "+" because it follows
// the word directly.
namespace reason {
inline constexpr char Rejected[] = "+ Rejected";
inline constexpr char WordExists[] = "+ Rejected. Word Exists";
inline constexpr char PluralExists[] = "+ Rejected. Plural form exists";
inline constexpr char SingularExists[] = "+ Rejected. Singular form exists";
// "+ 6 letter box full!"
QString boxFull(int length);
} // namespace reason

// One player's accepted words of the running turn: five boxes for each
// length 3 to 10, filled from the first empty box.
class WordBoxes
{
public:
    static bool validLength(int length)
    {
        return length >= MinWordLength && length <= MaxWordLength;
    }

    // Number of filled boxes of that length (0 for a length without boxes).
    int count(int length) const;
    bool isFull(int length) const { return count(length) == BoxesPerLength; }
    bool holds(int length, const QString &word) const;
    // The words of one length in box order, empty boxes left out.
    QStringList words(int length) const;
    // Stores the word in the first empty box of its length; false when the
    // length has no boxes or they are all filled.
    bool store(const QString &word);
    void clear();

private:
    std::array<std::array<QString, BoxesPerLength>, MaxWordLength - MinWordLength + 1> m_boxes;
};

struct Verdict
{
    bool accepted = false;
    QString reason; // empty when accepted
};

using WordChecker = std::function<bool(const QString &)>;

// The word a player spelled: the letter of each die, in tray order, taken
// from the set he holds (die k is letter k). Dice outside 1-13 add nothing.
QString wordFromDice(const QList<int> &dice, const QStringList &letters);

// Whether every die lies in the player's hand (1 to handSize) and none is
// named twice. A modified client could otherwise spell words from letters it
// was never dealt.
bool diceFitHand(const QList<int> &dice, int handSize);

// The adjudication rules, in order; the first that fails decides:
//  a. at least 3 letters; b. not 3 letters when zwonked; c. a dictionary
//  word; d. not already made; e. its plural not already made; f. its
//  singular not already made; g. a free box of its length.
// NEEDLES and NEEDLESS are a pair of distinct words, not singular and
// plural, so rules e and f let either follow the other. A word longer than
// 10 letters has no boxes and is refused with "+ Rejected".
Verdict judgeWord(const QString &word, bool zwonked, const WordBoxes &boxes,
                  const WordChecker &isWord);

// A submission as the player sent it: die numbers in tray order, spelled
// from the letters he holds and judged. Dice outside his hand, or one die
// named twice, are refused with "+ Rejected" without a lookup, and at most a
// hand's worth of letters is echoed back.
struct Submission
{
    QString word;
    Verdict verdict;
};
Submission judgeDice(const QList<int> &dice, const QStringList &letters, int handSize,
                     bool zwonked, const WordBoxes &boxes, const WordChecker &isWord);

} // namespace zwonky
