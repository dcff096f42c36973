#include "session/acceptedwords.h"

namespace zwonky {

bool AcceptedWords::add(int seat, int length, const QString &word)
{
    if (!isPlayingSeat(seat) || !validLength(length))
        return false;
    m_words[std::size_t(seat)][std::size_t(length)].append(word);
    return true;
}

QStringList AcceptedWords::words(int seat, int length) const
{
    if (!isPlayingSeat(seat) || !validLength(length))
        return {};
    return m_words[std::size_t(seat)][std::size_t(length)];
}

QStringList AcceptedWords::words(int seat) const
{
    QStringList all;
    for (int length = LongestWord; length >= ShortestWord; --length)
        all += words(seat, length);
    return all;
}

void AcceptedWords::clear()
{
    for (Columns &columns : m_words)
        for (QStringList &list : columns)
            list.clear();
}

} // namespace zwonky
