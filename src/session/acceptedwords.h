#pragma once

#include "session/sessionstate.h"

#include <QString>
#include <QStringList>

#include <array>

namespace zwonky {

// The words the host accepted this turn, per playing seat and word length
// (3-10), in arrival order. Emptied at every hand-over.
class AcceptedWords
{
public:
    static constexpr int ShortestWord = 3;
    static constexpr int LongestWord = 10;

    static bool validLength(int length)
    {
        return length >= ShortestWord && length <= LongestWord;
    }

    // Files the word under that seat and length; false (nothing filed) for a
    // seat without a row or a length without a column.
    bool add(int seat, int length, const QString &word);
    QStringList words(int seat, int length) const;
    // All the seat's words, longest first, in arrival order within a length.
    QStringList words(int seat) const;
    int count(int seat, int length) const { return int(words(seat, length).size()); }
    int count(int seat) const { return int(words(seat).size()); }
    void clear();

private:
    using Columns = std::array<QStringList, LongestWord + 1>; // index = length
    std::array<Columns, LastPlayingSeat + 1> m_words{};       // index = seat
};

} // namespace zwonky
