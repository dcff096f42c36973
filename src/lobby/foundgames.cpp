#include "lobby/foundgames.h"

#include <QRandomGenerator>

#include <algorithm>
#include <numeric>
#include <vector>

namespace zwonky::lobby {

namespace {

// IPv4 senders reach a dual-stack socket as ::ffff:a.b.c.d.
QHostAddress plain(const QHostAddress &address)
{
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4);
    return isV4 ? QHostAddress(v4) : address;
}

bool isV4(const QHostAddress &address)
{
    return address.protocol() == QAbstractSocket::IPv4Protocol;
}

// Which of two games goes first when places are few: the one of higher
// standing, then the one heard first earlier.
bool ranksAbove(const FoundGame &a, const FoundGame &b)
{
    if (a.standing != b.standing)
        return a.standing > b.standing;
    return a.firstHeardMs < b.firstHeardMs;
}

} // namespace

QString FoundGame::addressText() const
{
    return address().toString();
}

FoundGames::FoundGames() : m_seed(size_t(QRandomGenerator::system()->generate64())) {}

void FoundGames::clear()
{
    m_tracked.clear();
    m_shownStale = true;
}

quint64 FoundGames::keyOf(const QString &id, const QHostAddress &from) const
{
    return quint64(qHash(id, m_seed)) * 0x9E3779B97F4A7C15ull ^ quint64(qHash(from, m_seed));
}

int FoundGames::standingOf(const FoundGame &game, qint64 nowMs)
{
    int standing = 0;
    for (const QHostAddress *address : {&game.ipv4, &game.ipv6}) {
        if (!address->isNull())
            standing = std::max(standing, m_rounds.standing(keyOf(game.id, *address), nowMs));
    }
    return standing;
}

bool FoundGames::turnRound(qint64 nowMs)
{
    const qint64 round = RoundSketch::roundAt(nowMs);
    if (round == m_round)
        return false;
    m_round = round;
    for (FoundGame &game : m_tracked)
        game.standing = standingOf(game, nowMs);
    m_shownStale = true;
    return !m_tracked.isEmpty();
}

qsizetype FoundGames::findSlot(const QString &id, const QHostAddress &from) const
{
    for (qsizetype i = 0; i < m_tracked.size(); ++i) {
        const FoundGame &game = m_tracked.at(i);
        if (game.id != id)
            continue;
        const QHostAddress &slot = isV4(from) ? game.ipv4 : game.ipv6;
        if (slot.isNull() || slot == from)
            return i;
    }
    return -1;
}

bool FoundGames::makeRoom(int standing)
{
    if (m_tracked.size() < MaxTracked)
        return true;
    qsizetype weakest = 0;
    for (qsizetype i = 1; i < m_tracked.size(); ++i) {
        if (ranksAbove(m_tracked.at(weakest), m_tracked.at(i)))
            weakest = i;
    }
    // A newcomer is heard first last of all: it ranks below its equals.
    if (m_tracked.at(weakest).standing >= standing)
        return false;
    m_tracked.removeAt(weakest);
    return true;
}

bool FoundGames::heard(const Announcement &announcement, const QHostAddress &sender, qint64 nowMs)
{
    const QHostAddress from = plain(sender);
    if (from.isNull())
        return false;
    turnRound(nowMs);
    const quint64 key = keyOf(announcement.id, from);
    m_rounds.heard(key, nowMs);
    const int standing = m_rounds.standing(key, nowMs);
    const qsizetype index = findSlot(announcement.id, from);
    if (index < 0) {
        if (!makeRoom(standing))
            return false;
        FoundGame game;
        game.id = announcement.id;
        game.name = announcement.name;
        game.version = announcement.version;
        (isV4(from) ? game.ipv4 : game.ipv6) = from;
        game.firstHeardMs = nowMs;
        game.lastHeardMs = nowMs;
        game.standing = standing;
        m_tracked.append(game);
        m_shownStale = true;
        return true;
    }
    FoundGame &game = m_tracked[index];
    QHostAddress &slot = isV4(from) ? game.ipv4 : game.ipv6;
    const bool changed = slot.isNull() || game.name != announcement.name
                         || game.version != announcement.version || game.standing < standing;
    slot = from;
    game.name = announcement.name;
    game.version = announcement.version;
    game.lastHeardMs = nowMs;
    // Heard by its other family it may stand higher; never lower.
    game.standing = std::max(game.standing, standing);
    m_shownStale = m_shownStale || changed;
    return changed;
}

bool FoundGames::expire(qint64 nowMs)
{
    const bool any = m_tracked.removeIf([nowMs](const FoundGame &game) {
                         return nowMs - game.lastHeardMs >= ForgetAfterMs;
                     }) > 0;
    m_shownStale = m_shownStale || any;
    return turnRound(nowMs) || any;
}

const QList<FoundGame> &FoundGames::games() const
{
    if (!m_shownStale)
        return m_shown;
    m_shownStale = false;
    m_shown.clear();
    // The tracked games are in the order first heard: the best MaxGames
    // of them are shown in that order.
    std::vector<qsizetype> order(std::size_t(m_tracked.size()));
    std::iota(order.begin(), order.end(), 0);
    if (order.size() > std::size_t(MaxGames)) {
        std::nth_element(order.begin(), order.begin() + MaxGames - 1, order.end(),
                         [this](qsizetype a, qsizetype b) {
                             return ranksAbove(m_tracked.at(a), m_tracked.at(b));
                         });
        order.resize(std::size_t(MaxGames));
        std::sort(order.begin(), order.end());
    }
    for (const qsizetype i : order)
        m_shown.append(m_tracked.at(i));
    return m_shown;
}

} // namespace zwonky::lobby
