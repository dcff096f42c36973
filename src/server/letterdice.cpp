#include "server/letterdice.h"

#include "server/wordrules.h"

#include <algorithm>
#include <array>

namespace zwonky {

namespace {
constexpr std::array<const char *, DiceCount> kFaces = {
    "WMPOOO", "AEEAEA", "KRTIBH", "EEAAAE", "NPFTUI", "YWOBOL", "RFIUSH",
    "ORLTDN", "RSUMGI", "VZJXQE", "QSSWYV", "JCDMKG", "BFNLPH",
};
constexpr int kFacesPerDie = 6;
} // namespace

const char *dieFaces(int die)
{
    if (die < 1 || die > DiceCount)
        return "";
    return kFaces[static_cast<std::size_t>(die - 1)];
}

QString rollDie(int die, QRandomGenerator &random)
{
    const char *faces = dieFaces(die);
    if (!*faces)
        return QString();
    return QString(QLatin1Char(faces[random.bounded(kFacesPerDie)]));
}

QStringList rollAllDice(QRandomGenerator &random)
{
    QStringList letters;
    letters.reserve(DiceCount);
    for (int die = 1; die <= DiceCount; ++die)
        letters.append(rollDie(die, random));
    return letters;
}

LetterSets::LetterSets()
{
    for (int k = 0; k < DiceCount; ++k) {
        m_current.append(QString());
        m_alternative.append(QString());
    }
}

void LetterSets::rollCurrentHand(int count, QRandomGenerator &random)
{
    for (int die = 1; die <= std::min(count, DiceCount); ++die)
        m_current[die - 1] = rollDie(die, random);
}

} // namespace zwonky
