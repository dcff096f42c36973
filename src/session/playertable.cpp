#include "session/playertable.h"

namespace zwonky {

QString PlayerRow::shownName() const
{
    return seated ? name : PlayerTable::EmptySeat;
}

const PlayerRow &PlayerTable::row(int seat) const
{
    static const PlayerRow none;
    return isPlayingSeat(seat) ? m_rows[std::size_t(seat)] : none;
}

QString PlayerTable::shownName(int seat) const
{
    return isPlayingSeat(seat) ? row(seat).shownName() : QString();
}

PlayerRow *PlayerTable::editable(int seat)
{
    return isPlayingSeat(seat) ? &m_rows[std::size_t(seat)] : nullptr;
}

bool PlayerTable::seat(int seat, const QString &name)
{
    PlayerRow *r = editable(seat);
    if (!r)
        return false;
    r->name = name;
    r->seated = true;
    return true;
}

bool PlayerTable::vacate(int seat)
{
    PlayerRow *r = editable(seat);
    if (!r)
        return false;
    r->name.clear();
    r->seated = false;
    r->watching = false;
    return true;
}

bool PlayerTable::setWatching(int seat, bool watching)
{
    PlayerRow *r = editable(seat);
    if (!r)
        return false;
    r->watching = watching;
    return true;
}

bool PlayerTable::setScore(int seat, int score)
{
    return setScoreText(seat, QString::number(score));
}

bool PlayerTable::setScoreText(int seat, const QString &text)
{
    PlayerRow *r = editable(seat);
    if (!r)
        return false;
    bool ok = false;
    const int value = text.toInt(&ok);
    r->score = ok ? value : 0;
    r->scoreIsNumber = ok;
    r->scoreText = text;
    return true;
}

bool PlayerTable::setResult(int seat, const TurnResult &result)
{
    PlayerRow *r = editable(seat);
    if (!r)
        return false;
    r->result = result;
    return true;
}

bool PlayerTable::setBoughtTiles(int seat, bool bought)
{
    PlayerRow *r = editable(seat);
    if (!r)
        return false;
    r->boughtTiles = bought;
    return true;
}

void PlayerTable::clearResults()
{
    for (PlayerRow &r : m_rows)
        r.result.reset();
}

void PlayerTable::clearBoughtTiles()
{
    for (PlayerRow &r : m_rows)
        r.boughtTiles = false;
}

void PlayerTable::resetForGame()
{
    for (PlayerRow &r : m_rows) {
        r.score = 0;
        r.scoreText = QStringLiteral("0");
        r.scoreIsNumber = true;
        r.result.reset();
        r.watching = false;
        r.boughtTiles = false;
    }
}

bool PlayerTable::hasSpectator(int seat, const QString &name) const
{
    return m_spectators.contains(Spectator{seat, name});
}

void PlayerTable::addSpectator(int seat, const QString &name)
{
    if (isSpectatorSeat(seat))
        m_spectators.append(Spectator{seat, name});
}

bool PlayerTable::removeSpectator(int seat, const QString &name)
{
    return m_spectators.removeOne(Spectator{seat, name});
}

} // namespace zwonky
