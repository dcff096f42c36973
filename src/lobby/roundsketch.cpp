#include "lobby/roundsketch.h"

#include <algorithm>

namespace zwonky::lobby {

namespace {

constexpr int HashesPerKey = 3;
constexpr qsizetype WordsPerRound = RoundSketch::BitsPerRound / 64;

// The key's bits in a filter: double hashing over its two halves.
template <typename Visit> void forEachBit(quint64 key, Visit visit)
{
    const quint32 first = quint32(key);
    const quint32 step = quint32(key >> 32) | 1u;
    for (int i = 0; i < HashesPerKey; ++i)
        visit((first + quint32(i) * step) % quint32(RoundSketch::BitsPerRound));
}

} // namespace

RoundSketch::RoundSketch() : m_bits(std::size_t(Filters * WordsPerRound), 0) {}

quint64 *RoundSketch::filter(qint64 round)
{
    return m_bits.data() + (round % Filters) * WordsPerRound;
}

bool RoundSketch::holds(const quint64 *filter, quint64 key)
{
    bool all = true;
    forEachBit(key, [&](quint32 bit) { all = all && (filter[bit / 64] >> (bit % 64) & 1u); });
    return all;
}

void RoundSketch::advanceTo(qint64 nowMs)
{
    const qint64 round = roundAt(nowMs);
    if (round <= m_round)
        return; // a clock going back keeps the current round
    // Each round entered starts empty; rounds skipped are emptied too.
    const qint64 fresh = std::min<qint64>(round - m_round, Filters);
    for (qint64 r = round - fresh + 1; r <= round; ++r)
        std::fill_n(filter(r), WordsPerRound, 0);
    m_round = round;
}

int RoundSketch::standing(quint64 key, qint64 nowMs)
{
    advanceTo(nowMs);
    int rounds = 0;
    for (qint64 r = m_round - Rounds; r < m_round; ++r) {
        if (r >= 0 && holds(filter(r), key))
            ++rounds;
    }
    return rounds;
}

void RoundSketch::heard(quint64 key, qint64 nowMs)
{
    advanceTo(nowMs);
    quint64 *current = filter(m_round);
    forEachBit(key, [&](quint32 bit) { current[bit / 64] |= quint64(1) << (bit % 64); });
}

} // namespace zwonky::lobby
