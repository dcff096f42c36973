#include "session/lettertray.h"

#include <algorithm>

namespace zwonky {

void LetterTray::deal(DealKind kind, const QStringList &letters)
{
    if (kind == DealKind::Ten)
        m_handSize = NormalHand;
    else if (kind == DealKind::Thirteen)
        m_handSize = ZwonkedHand;
    m_dealt = std::min(int(letters.size()), int(DiceCount));
    for (int die = 1; die <= DiceCount; ++die) {
        const QString field = letters.value(die - 1);
        m_letters[std::size_t(die)] = field.left(1);
    }
    clear();
}

void LetterTray::blank()
{
    for (QString &letter : m_letters)
        letter.clear();
    clear();
}

QString LetterTray::letter(int die) const
{
    return die >= 1 && die <= DiceCount ? m_letters[std::size_t(die)] : QString();
}

QStringList LetterTray::letters() const
{
    QStringList hand;
    for (int die = 1; die <= m_handSize; ++die)
        hand.append(m_letters[std::size_t(die)]);
    return hand;
}

int LetterTray::slot(int position) const
{
    return position >= 1 && position <= TrayPlaces ? m_slots[std::size_t(position)] : 0;
}

int LetterTray::positionOf(int die) const
{
    if (die < 1)
        return 0;
    for (int position = 1; position <= TrayPlaces; ++position)
        if (m_slots[std::size_t(position)] == die)
            return position;
    return 0;
}

QList<int> LetterTray::dice() const
{
    QList<int> laid;
    for (int position = 1; position <= TrayPlaces; ++position)
        if (m_slots[std::size_t(position)] != 0)
            laid.append(m_slots[std::size_t(position)]);
    return laid;
}

QString LetterTray::word() const
{
    QString text;
    for (int die : dice())
        text += letter(die);
    return text;
}

int LetterTray::putNext(int die)
{
    if (!inHand(die) || isFull() || positionOf(die) != 0)
        return 0;
    ++m_count;
    m_slots[std::size_t(m_count)] = die;
    return m_count;
}

int LetterTray::takeBackLast()
{
    if (m_count < 1)
        return 0;
    const int die = m_slots[std::size_t(m_count)];
    m_slots[std::size_t(m_count)] = 0;
    recount();
    return die;
}

bool LetterTray::place(int position, int die)
{
    if (die < 1 || die > DiceCount || position < 0 || position > TrayPlaces)
        return false;
    if (const int old = positionOf(die))
        m_slots[std::size_t(old)] = 0;
    if (position > 0)
        m_slots[std::size_t(position)] = die;
    recount();
    return true;
}

void LetterTray::clear()
{
    m_slots.fill(0);
    m_count = 0;
}

void LetterTray::recount()
{
    m_count = 0;
    for (int position = TrayPlaces; position >= 1; --position) {
        if (m_slots[std::size_t(position)] != 0) {
            m_count = position;
            break;
        }
    }
}

} // namespace zwonky
