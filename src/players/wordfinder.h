#pragma once

// Every word of a list that a handful of letters can spell.
//
// The words are grouped by their letters sorted alphabetically (ANTS and
// TANS share "ANST"), and those sorted spellings form a tree, one letter per
// level, held in flat arrays. A search walks the tree taking only letters the
// hand still holds, so it visits each sub-bag of the hand that begins some
// word at most once: a few thousand steps for 13 letters, however long the
// list is.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <vector>

namespace zwonky {

// How many of each letter A-Z; anything else is not counted.
using LetterCounts = std::array<std::uint8_t, 26>;
LetterCounts countLetters(const QString &letters);

class WordFinder
{
public:
    static constexpr int ShortestWord = 3;
    static constexpr int LongestWord = 10;

    // The words given (upper or lower case); words outside 3-10 letters or
    // with anything but A-Z are left out, as are repeats.
    explicit WordFinder(const QStringList &words);
    // The records of the game's word list: 0x1E and the word padded to 14
    // bytes with blanks. Records that are cut short are ignored.
    static WordFinder fromRecords(const QByteArray &records);
    // The program's built-in list, read once on first use and kept.
    static const WordFinder &builtIn();

    int size() const { return int(m_offsets.size()) - 1; }
    // Word number i (0 <= i < size()), upper case.
    QString word(std::uint32_t index) const;
    int length(std::uint32_t index) const { return int(m_offsets[index + 1] - m_offsets[index]); }

    // Appends the numbers of every word the letters can spell (each letter
    // of the hand used at most once per word) to found.
    void find(const LetterCounts &hand, std::vector<std::uint32_t> &found) const;
    // The same, as words: longest first, then alphabetical.
    QStringList find(const QString &hand) const;

private:
    WordFinder() = default;
    void build(std::vector<QByteArray> words);
    void buildNode(std::uint32_t node, std::uint32_t lo, std::uint32_t hi, int depth,
                   const std::vector<QByteArray> &keys);
    void walk(std::uint32_t node, LetterCounts &hand, std::vector<std::uint32_t> &found) const;

    struct Node
    {
        std::uint32_t firstChild = 0;
        std::uint32_t wordsBegin = 0; // words whose sorted letters end here
        std::uint32_t wordsEnd = 0;
        std::uint8_t childCount = 0;
        std::uint8_t letter = 0;      // 0-25
    };
    std::vector<Node> m_nodes;
    std::vector<std::uint32_t> m_byKey;   // word numbers, grouped by sorted letters
    std::vector<char> m_text;             // all words, back to back
    std::vector<std::uint32_t> m_offsets; // word i is m_text[offsets[i], offsets[i+1])
};

} // namespace zwonky
