#include "players/wordfinder.h"

#include <QFile>

#include <algorithm>
#include <numeric>

// The word list lives in the core library's resources; naming its initialiser
// keeps the linker from dropping it. Q_INIT_RESOURCE must stand outside any
// namespace.
static void initWordListForFinder()
{
    Q_INIT_RESOURCE(wordlist);
}

namespace zwonky {

namespace {

constexpr int RecordSize = 15;
constexpr char RecordMark = 0x1E;

bool isUpperLetter(char c) { return c >= 'A' && c <= 'Z'; }

// The word in upper case when it is one the finder keeps, else empty.
QByteArray keptWord(QByteArray word)
{
    word = word.trimmed().toUpper();
    if (word.size() < WordFinder::ShortestWord || word.size() > WordFinder::LongestWord)
        return {};
    for (char c : word) {
        if (!isUpperLetter(c))
            return {};
    }
    return word;
}

} // namespace

LetterCounts countLetters(const QString &letters)
{
    LetterCounts counts{};
    for (QChar c : letters) {
        const char16_t u = c.toUpper().unicode();
        if (u >= u'A' && u <= u'Z' && counts[u - u'A'] < 255)
            ++counts[u - u'A'];
    }
    return counts;
}

WordFinder::WordFinder(const QStringList &words)
{
    std::vector<QByteArray> kept;
    kept.reserve(std::size_t(words.size()));
    for (const QString &word : words) {
        QByteArray w = keptWord(word.toLatin1());
        if (!w.isEmpty())
            kept.push_back(std::move(w));
    }
    build(std::move(kept));
}

WordFinder WordFinder::fromRecords(const QByteArray &records)
{
    std::vector<QByteArray> kept;
    kept.reserve(std::size_t(records.size() / RecordSize));
    for (qsizetype at = 0; at + RecordSize <= records.size(); at += RecordSize) {
        if (records.at(at) != RecordMark)
            continue;
        QByteArray w = keptWord(records.mid(at + 1, RecordSize - 1));
        if (!w.isEmpty())
            kept.push_back(std::move(w));
    }
    WordFinder finder;
    finder.build(std::move(kept));
    return finder;
}

const WordFinder &WordFinder::builtIn()
{
    static const WordFinder finder = [] {
        initWordListForFinder();
        QFile list(QStringLiteral(":/wordlist/english.dat"));
        QByteArray bytes;
        if (list.open(QIODevice::ReadOnly))
            bytes = list.readAll();
        return fromRecords(bytes);
    }();
    return finder;
}

void WordFinder::build(std::vector<QByteArray> words)
{
    std::sort(words.begin(), words.end());
    words.erase(std::unique(words.begin(), words.end()), words.end());

    m_offsets.assign(1, 0);
    m_text.clear();
    std::vector<QByteArray> keys;
    keys.reserve(words.size());
    for (const QByteArray &w : words) {
        m_text.insert(m_text.end(), w.begin(), w.end());
        m_offsets.push_back(std::uint32_t(m_text.size()));
        QByteArray key = w;
        std::sort(key.begin(), key.end());
        keys.push_back(std::move(key));
    }

    m_byKey.resize(words.size());
    std::iota(m_byKey.begin(), m_byKey.end(), 0u);
    std::stable_sort(m_byKey.begin(), m_byKey.end(),
                     [&keys](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });
    std::vector<QByteArray> sortedKeys;
    sortedKeys.reserve(keys.size());
    for (std::uint32_t i : m_byKey)
        sortedKeys.push_back(keys[i]);

    m_nodes.assign(1, Node{});
    buildNode(0, 0, std::uint32_t(sortedKeys.size()), 0, sortedKeys);
}

// Keys lo..hi share their first `depth` letters. The ones that end there come
// first (a prefix sorts before its extensions); the rest are grouped by their
// next letter, one child each, the children side by side.
void WordFinder::buildNode(std::uint32_t node, std::uint32_t lo, std::uint32_t hi, int depth,
                           const std::vector<QByteArray> &keys)
{
    std::uint32_t at = lo;
    while (at < hi && keys[at].size() == depth)
        ++at;
    m_nodes[node].wordsBegin = lo;
    m_nodes[node].wordsEnd = at;

    std::vector<std::pair<std::uint32_t, std::uint32_t>> groups;
    while (at < hi) {
        const char letter = keys[at].at(depth);
        std::uint32_t end = at;
        while (end < hi && keys[end].at(depth) == letter)
            ++end;
        groups.emplace_back(at, end);
        at = end;
    }
    const auto first = std::uint32_t(m_nodes.size());
    m_nodes[node].firstChild = first;
    m_nodes[node].childCount = std::uint8_t(groups.size());
    for (const auto &group : groups) {
        Node child;
        child.letter = std::uint8_t(keys[group.first].at(depth) - 'A');
        m_nodes.push_back(child);
    }
    for (std::size_t i = 0; i < groups.size(); ++i)
        buildNode(first + std::uint32_t(i), groups[i].first, groups[i].second, depth + 1, keys);
}

QString WordFinder::word(std::uint32_t index) const
{
    const std::uint32_t begin = m_offsets[index];
    return QString::fromLatin1(m_text.data() + begin, qsizetype(m_offsets[index + 1] - begin));
}

void WordFinder::find(const LetterCounts &hand, std::vector<std::uint32_t> &found) const
{
    LetterCounts left = hand;
    walk(0, left, found);
}

void WordFinder::walk(std::uint32_t node, LetterCounts &hand,
                      std::vector<std::uint32_t> &found) const
{
    const Node &n = m_nodes[node];
    for (std::uint32_t c = n.firstChild; c < n.firstChild + n.childCount; ++c) {
        const Node &child = m_nodes[c];
        if (hand[child.letter] == 0)
            continue;
        --hand[child.letter];
        for (std::uint32_t i = child.wordsBegin; i < child.wordsEnd; ++i)
            found.push_back(m_byKey[i]);
        if (child.childCount != 0)
            walk(c, hand, found);
        ++hand[child.letter];
    }
}

QStringList WordFinder::find(const QString &hand) const
{
    std::vector<std::uint32_t> found;
    find(countLetters(hand), found);
    std::sort(found.begin(), found.end(), [this](std::uint32_t a, std::uint32_t b) {
        return length(a) != length(b) ? length(a) > length(b) : a < b;
    });
    QStringList words;
    words.reserve(qsizetype(found.size()));
    for (std::uint32_t i : found)
        words.append(word(i));
    return words;
}

} // namespace zwonky
