// The game engine: start, hand-over, letters, the clock, tiles and the winner.

#include "server/letterdice.h"
#include "server/serverform.h"

#include <algorithm>

namespace zwonky {

namespace {
// Far beyond any turn the start window offers; keeps the clock arithmetic sane.
constexpr int kLongestTurn = 24 * 60 * 60;

QString flagText(bool on) { return on ? QStringLiteral("t") : QStringLiteral("f"); }
} // namespace

int TServer::openPlayingSeats() const
{
    int open = 0;
    for (int i = 1; i <= PlayingSeats; ++i)
        open += at(i).open ? 1 : 0;
    return open;
}

void TServer::enableClock(bool on)
{
    m_clockOn = on;
    if (m_manualClock)
        return;
    if (on)
        m_timer1.start();
    else
        m_timer1.stop();
}

void TServer::startgame(FieldCursor &args)
{
    const int sender = takeSender(args);
    if (sender != 1 || !fromHost())
        return;
    const protocol::GameOptions options = protocol::takeGameOptions(args);

    m_running = true;
    m_fast = options.fast == QLatin1String("t");
    m_team = options.team == QLatin1String("t") && openPlayingSeats() == PlayingSeats;
    m_playTo = options.playTo;
    m_timePerTurn = options.timePerTurn;
    m_zwonkedAt = options.zwonkedAt;
    m_allowNewTiles = options.newTiles != QLatin1String("f");
    m_options.team = flagText(m_team);
    m_options.playTo = QString::number(options.playTo);
    m_options.timePerTurn = QString::number(options.timePerTurn);
    m_options.zwonkedAt = QString::number(options.zwonkedAt);
    m_options.newTiles = options.newTiles;
    m_options.typing = options.typing;
    m_options.fast = flagText(m_fast);

    sendToAll(protocol::startGameAnnounce(at(sender).name, m_options));
    for (int i = 1; i <= PlayingSeats; ++i) {
        at(i).score = 0;
        at(i).watching = false;
        at(i).zwonked = false;
    }
    enableClock(false);
    m_current = 0;
    findplayer();
}

void TServer::findplayer()
{
    m_alternativeSet = rollAllDice(*m_random);
    for (int i = 1; i <= PlayingSeats; ++i) {
        at(i).newTiles = false;
        at(i).finished = false;
        at(i).words.clear();
    }

    if (m_fast) {
        if (checkforwin())
            return;
        if (openPlayingSeats() == 0) {
            endGame();
            return;
        }
        for (int i = 1; i <= m_seatsInUse; ++i) {
            if (at(i).open)
                sendTo(i, protocol::nextPlayer(i));
        }
        getletters(Letters::Fresh);
        startTurn();
        return;
    }

    // One full round at most: when nobody can play, the game ends rather
    // than looking for a player for ever.
    for (int step = 0; step < PlayingSeats; ++step) {
        m_current = (m_current >= 1 && m_current < PlayingSeats) ? m_current + 1 : 1;
        if (m_current == 1 && checkforwin())
            return;
        const tplayer &candidate = at(m_current);
        if (candidate.open && !candidate.watching) {
            sendToAll(protocol::nextPlayer(m_current));
            getletters(Letters::Fresh);
            startTurn();
            return;
        }
    }
    endGame();
}

void TServer::startTurn()
{
    m_phase = TurnRunning;
    m_counter = std::clamp(m_timePerTurn, 0, kLongestTurn) + ExtraTurnSeconds;
    enableClock(true);
}

void TServer::endGame()
{
    m_running = false;
    m_phase = NoPhase;
    enableClock(false);
}

void TServer::getletters(Letters mode)
{
    if (m_fast) {
        // Everyone gets the same roll; a zwonked seat sees all 13 letters.
        m_currentSet = rollAllDice(*m_random);
        for (int i = 1; i <= PlayingSeats; ++i) {
            const int count = handSize(i);
            sendTo(i, protocol::theDice(i,
                                        count == ZwonkedHand ? QStringLiteral("true")
                                                             : QStringLiteral("false"),
                                        firstLetters(m_currentSet, count)));
        }
        return;
    }
    const int count = handSize(m_current);
    QString flag;
    QStringList letters;
    if (mode == Letters::Fresh) {
        for (int die = 1; die <= count; ++die)
            m_currentSet[die - 1] = rollDie(die, *m_random);
        letters = firstLetters(m_currentSet, count);
        flag = count == ZwonkedHand ? QStringLiteral("true") : QStringLiteral("false");
    } else {
        letters = firstLetters(m_alternativeSet, count);
        flag = QStringLiteral("new");
    }
    sendToAll(protocol::theDice(m_current, flag, letters));
}

bool TServer::tilesAllowed(int sender) const
{
    // Tiles bought in the pause would be gone at the hand-over: only while a
    // turn runs.
    return sender >= 1 && sender <= PlayingSeats && m_running && m_phase == TurnRunning
           && m_allowNewTiles && (m_fast || sender == m_current);
}

void TServer::newtiles(FieldCursor &args)
{
    const int sender = takeSender(args);
    if (!tilesAllowed(sender) || at(sender).newTiles)
        return;
    tplayer &record = at(sender);
    record.newTiles = true;
    record.score = addClamped(record.score, -TileCost);
    sendToAll(protocol::newTilesNotice(sender, record.score));
    if (m_fast)
        sendTo(sender, protocol::theDice(sender, QStringLiteral("new"),
                                         firstLetters(m_alternativeSet, handSize(sender))));
    else
        getletters(Letters::Alternative);
}

void TServer::oldtiles(FieldCursor &args)
{
    const int sender = takeSender(args);
    if (!tilesAllowed(sender) || !at(sender).newTiles)
        return;
    tplayer &record = at(sender);
    record.newTiles = false;
    record.score = addClamped(record.score, -TileCost);
    sendToAll(protocol::oldTilesNotice(sender, record.score));
    const QByteArray deal = protocol::theDice(sender, QStringLiteral("old"),
                                              firstLetters(m_currentSet, handSize(sender)));
    // In a normal game everyone watches the buyer's tiles, as with new tiles:
    // the old letters go to all, or the watchers would keep seeing the new set.
    if (m_fast)
        sendTo(sender, deal);
    else
        sendToAll(deal);
}

void TServer::setdice(FieldCursor &args)
{
    const int sender = takeSender(args);
    const int position = args.takeInt();
    const int die = args.takeInt();
    if (sender < 1 || sender > PlayingSeats || !m_running || !(m_fast || sender == m_current))
        return;
    // Only a real tray place (or 0, taken back) and a real die are passed on.
    if (position < 0 || position > MaxWordLength || die < 1 || die > DiceCount)
        return;
    if (!m_fast)
        sendToOthers(sender, protocol::setDiceRelay(position, die));
}

void TServer::clearthem(FieldCursor &args)
{
    const int sender = takeSender(args);
    if (sender < 1 || !m_running || m_fast || sender != m_current)
        return;
    sendToOthers(sender, protocol::clearThemRelay());
}

void TServer::finish(FieldCursor &args)
{
    const int sender = takeSender(args);
    if (sender < 1 || sender > PlayingSeats || !m_running || m_phase != TurnRunning)
        return;
    if (!m_fast) {
        if (sender == m_current)
            m_counter = 1;
        return;
    }
    at(sender).finished = true;
    for (int i = 1; i <= PlayingSeats; ++i) {
        if (at(i).open && !at(i).finished)
            return;
    }
    m_counter = 1;
}

void TServer::Timer1Timer()
{
    if (!m_clockOn)
        return;
    --m_counter;
    if (m_phase == TurnRunning && m_counter < 1) {
        enableClock(false);
        if (m_fast) {
            for (int i = 1; i <= PlayingSeats; ++i) {
                if (at(i).open)
                    postscore(i);
            }
        } else {
            postscore(m_current);
        }
        sendToAll(protocol::turnEnd());
        m_phase = Pausing;
        if (m_fast) {
            static constexpr int kPause[] = {30, 10, 15, 20, 25};
            const int open = openPlayingSeats();
            m_counter = (open >= 1 && open <= 4) ? kPause[open] : kPause[0];
        } else {
            m_counter = NormalPauseSeconds;
        }
        enableClock(true);
    } else if (m_phase == Pausing && m_counter < 1) {
        enableClock(false);
        findplayer();
    }
}

bool TServer::checkforwin()
{
    int best = 0;
    for (int i = 1; i <= PlayingSeats; ++i) {
        const tplayer &record = at(i);
        if (record.open && record.score >= m_playTo && (best == 0 || record.score > at(best).score))
            best = i;
    }
    if (best == 0)
        return false;

    // A tie with anyone outside the winner's side keeps the game going. In a
    // team game the partner shares the score and is on the same side; seats
    // 5 and 6 have no partner and are sides of their own.
    const int partner = m_team ? at(best).partner : 0;
    for (int i = 1; i <= PlayingSeats; ++i) {
        if (i != best && i != partner && at(i).score == at(best).score)
            return false;
    }

    QString text = at(best).name;
    if (partner != 0)
        text += QStringLiteral(" and ") + at(partner).name;
    sendToAll(protocol::winner(text));
    m_running = false;
    m_phase = NoPhase;
    enableClock(false);
    return true;
}

} // namespace zwonky
