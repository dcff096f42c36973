#include "server/wordrules.h"

#include <QSet>

namespace zwonky {

namespace {

int boxRow(int length) { return length - MinWordLength; }

// The one pair that looks like singular and plural but is not.
bool isNeedlesPair(const QString &shorter, const QString &longer)
{
    return shorter == QLatin1String("NEEDLES") && longer == QLatin1String("NEEDLESS");
}

} // namespace

QString reason::boxFull(int length)
{
    return QStringLiteral("+ %1 letter box full!").arg(length);
}

int WordBoxes::count(int length) const
{
    if (!validLength(length))
        return 0;
    int filled = 0;
    for (const QString &box : m_boxes[boxRow(length)])
        filled += box.isEmpty() ? 0 : 1;
    return filled;
}

bool WordBoxes::holds(int length, const QString &word) const
{
    if (!validLength(length))
        return false;
    for (const QString &box : m_boxes[boxRow(length)]) {
        if (!box.isEmpty() && box == word)
            return true;
    }
    return false;
}

QStringList WordBoxes::words(int length) const
{
    QStringList list;
    if (!validLength(length))
        return list;
    for (const QString &box : m_boxes[boxRow(length)]) {
        if (!box.isEmpty())
            list.append(box);
    }
    return list;
}

bool WordBoxes::store(const QString &word)
{
    const int length = static_cast<int>(word.size());
    if (!validLength(length))
        return false;
    for (QString &box : m_boxes[boxRow(length)]) {
        if (box.isEmpty()) {
            box = word;
            return true;
        }
    }
    return false;
}

void WordBoxes::clear()
{
    for (auto &row : m_boxes) {
        for (QString &box : row)
            box.clear();
    }
}

QString wordFromDice(const QList<int> &dice, const QStringList &letters)
{
    QString word;
    for (int die : dice) {
        if (die >= 1 && die <= letters.size())
            word += letters.at(die - 1);
    }
    return word;
}

bool diceFitHand(const QList<int> &dice, int handSize)
{
    QSet<int> seen;
    for (int die : dice) {
        if (die < 1 || die > handSize || seen.contains(die))
            return false;
        seen.insert(die);
    }
    return true;
}

Verdict judgeWord(const QString &word, bool zwonked, const WordBoxes &boxes,
                  const WordChecker &isWord)
{
    const auto refuse = [](const QString &text) { return Verdict{false, text}; };
    const int length = static_cast<int>(word.size());

    if (length < MinWordLength || length > MaxWordLength) // a (and no boxes above 10)
        return refuse(QString::fromLatin1(reason::Rejected));
    if (zwonked && length == MinWordLength) // b
        return refuse(QString::fromLatin1(reason::Rejected));
    if (!isWord || !isWord(word)) // c
        return refuse(QString::fromLatin1(reason::Rejected));
    if (boxes.holds(length, word)) // d
        return refuse(QString::fromLatin1(reason::WordExists));
    if (length < MaxWordLength) { // e
        const QString plural = word + QLatin1Char('S');
        if (!isNeedlesPair(word, plural) && boxes.holds(length + 1, plural))
            return refuse(QString::fromLatin1(reason::PluralExists));
    }
    if (length > MinWordLength) { // f
        for (const QString &shorter : boxes.words(length - 1)) {
            if (shorter + QLatin1Char('S') == word && !isNeedlesPair(shorter, word))
                return refuse(QString::fromLatin1(reason::SingularExists));
        }
    }
    if (boxes.isFull(length)) // g
        return refuse(reason::boxFull(length));
    return Verdict{true, QString()};
}

Submission judgeDice(const QList<int> &dice, const QStringList &letters, int handSize,
                     bool zwonked, const WordBoxes &boxes, const WordChecker &isWord)
{
    Submission submission{wordFromDice(dice, letters), Verdict{}};
    if (!diceFitHand(dice, handSize)) {
        submission.word.truncate(DiceCount);
        submission.verdict = Verdict{false, QString::fromLatin1(reason::Rejected)};
    } else {
        submission.verdict = judgeWord(submission.word, zwonked, boxes, isWord);
    }
    return submission;
}

} // namespace zwonky
