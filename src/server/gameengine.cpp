// The game engine: start, hand-over, letters, tiles, the clock, words,
// scores and the winner.

#include "server/gameengine.h"

#include "net/zwonkyerror.h"
#include "server/letterdice.h"
#include "server/scoring.h"

#include <QDateTime>

#include <algorithm>
#include <limits>

namespace zwonky {

namespace {
// Far beyond any turn the start window offers; keeps the clock arithmetic sane.
constexpr int kLongestTurn = 24 * 60 * 60;

protocol::DealKind handFlag(int count)
{
    return count == ZwonkedHand ? protocol::DealKind::Thirteen : protocol::DealKind::Ten;
}

int addClamped(int score, qint64 change)
{
    const qint64 sum = static_cast<qint64>(score) + change;
    return static_cast<int>(std::clamp<qint64>(sum, std::numeric_limits<int>::min(),
                                               std::numeric_limits<int>::max()));
}
} // namespace

GameEngine::GameEngine(GameOutbox &outbox, const SeatDirectory &seats, QObject *parent)
    : QObject(parent), m_outbox(outbox), m_table(seats)
{
    setObjectName(QStringLiteral("GameEngine"));
    // Partners are fixed for the life of the table.
    at(1).partner = 3;
    at(3).partner = 1;
    at(2).partner = 4;
    at(4).partner = 2;

    m_ownRandom = std::make_unique<QRandomGenerator>(
        static_cast<quint32>(QDateTime::currentMSecsSinceEpoch()));
    m_random = m_ownRandom.get();

    // The clock's ticks come from the event loop: nothing may escape them.
    m_clock.setOnTimeout([this] {
        runGuarded([this] { Timer1Timer(); },
                   [this](const QString &text) { emit errorReported(text); });
    });
}

GameEngine::~GameEngine() { m_clock.setOnTimeout(nullptr); }

void GameEngine::setRandom(QRandomGenerator *generator)
{
    m_random = generator ? generator : m_ownRandom.get();
}

const GameSeat &GameEngine::seat(int number) const
{
    static const GameSeat none;
    if (!isPlaying(number))
        return none;
    return at(number);
}

int GameEngine::openPlayingSeats() const
{
    int open = 0;
    for (int i = 1; i <= PlayingSeats; ++i)
        open += m_table.isOpen(i) ? 1 : 0;
    return open;
}

int GameEngine::handSize(int number) const
{
    return seat(number).zwonked ? ZwonkedHand : NormalHand;
}

// ---- start and hand-over ----

void GameEngine::startgame(int sender, bool fromHost, const protocol::GameOptions &options)
{
    if (sender != 1 || !fromHost)
        return;
    m_running = true;
    // A team game needs all six seats taken.
    m_options = options;
    m_options.team = options.team && openPlayingSeats() == PlayingSeats;

    m_outbox.sendToAll(protocol::startGameAnnounce(m_table.nameAt(sender), m_options));
    for (int i = 1; i <= PlayingSeats; ++i) {
        at(i).score = 0;
        at(i).watching = false;
        at(i).zwonked = false;
    }
    m_clock.stop();
    m_current = 0;
    findplayer();
}

void GameEngine::findplayer()
{
    m_letters.rollAlternative(*m_random);
    for (int i = 1; i <= PlayingSeats; ++i) {
        at(i).newTiles = false;
        at(i).finished = false;
        at(i).words.clear();
    }

    if (m_options.fast) {
        if (checkforwin())
            return;
        if (openPlayingSeats() == 0) {
            endGame();
            return;
        }
        // Every seat in use plays its own turn, spectators included in the
        // announcement so that they follow the game.
        for (int i = 1; i <= m_table.seatsInUse(); ++i) {
            if (m_table.isOpen(i))
                m_outbox.sendTo(i, protocol::nextPlayer(i));
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
        if (m_table.isOpen(m_current) && !at(m_current).watching) {
            m_outbox.sendToAll(protocol::nextPlayer(m_current));
            getletters(Letters::Fresh);
            startTurn();
            return;
        }
    }
    endGame();
}

void GameEngine::startTurn()
{
    m_clock.startTurn(std::clamp(m_options.timePerTurn, 0, kLongestTurn) + ExtraTurnSeconds);
}

void GameEngine::endGame()
{
    m_running = false;
    m_clock.stop();
}

void GameEngine::seatClosed(int number)
{
    if (!isPlaying(number))
        return;
    at(number).watching = false;
    if (m_running && number == m_current && number != 1 && !m_options.fast)
        findplayer(); // the interrupted turn is not scored
}

void GameEngine::catchUp(int n)
{
    int shown = m_options.fast ? n : m_current;
    if (!isPlaying(shown))
        shown = 1;
    // The letters the shown seat's words are judged by: the alternative set
    // while it holds new tiles, else the current set.
    const int count = handSize(shown);
    const QStringList &set = m_letters.held(at(shown).newTiles);

    m_outbox.sendTo(n, protocol::stats(shown, m_options));

    QByteArray scores;
    for (int i = 1; i <= PlayingSeats; ++i)
        scores += protocol::loadScores(i, at(i).score);
    m_outbox.sendTo(n, scores);
    m_outbox.sendTo(n, protocol::theDice(shown, handFlag(count), LetterSets::hand(set, count)));
}

// ---- letters and tiles ----

void GameEngine::getletters(Letters mode)
{
    if (m_options.fast) {
        // Everyone gets the same roll; a zwonked seat sees all 13 letters.
        m_letters.rollCurrent(*m_random);
        for (int i = 1; i <= PlayingSeats; ++i) {
            const int count = handSize(i);
            m_outbox.sendTo(i, protocol::theDice(i, handFlag(count),
                                                 LetterSets::hand(m_letters.current(), count)));
        }
        return;
    }
    const int count = handSize(m_current);
    protocol::DealKind flag = protocol::DealKind::New;
    QStringList letters;
    if (mode == Letters::Fresh) {
        m_letters.rollCurrentHand(count, *m_random);
        letters = LetterSets::hand(m_letters.current(), count);
        flag = handFlag(count);
    } else {
        letters = LetterSets::hand(m_letters.alternative(), count);
    }
    m_outbox.sendToAll(protocol::theDice(m_current, flag, letters));
}

bool GameEngine::tilesAllowed(int sender) const
{
    // Tiles bought in the pause would be gone at the hand-over: only while a
    // turn runs.
    return isPlaying(sender) && m_running && m_clock.turnRunning() && m_options.newTiles
           && (m_options.fast || sender == m_current);
}

void GameEngine::newtiles(int sender)
{
    if (!tilesAllowed(sender) || at(sender).newTiles)
        return;
    GameSeat &record = at(sender);
    record.newTiles = true;
    record.score = addClamped(record.score, -TileCost);
    m_outbox.sendToAll(protocol::newTilesNotice(sender, record.score));
    if (m_options.fast)
        m_outbox.sendTo(sender,
                        protocol::theDice(sender, protocol::DealKind::New,
                                          LetterSets::hand(m_letters.alternative(), handSize(sender))));
    else
        getletters(Letters::Alternative);
}

void GameEngine::oldtiles(int sender)
{
    if (!tilesAllowed(sender) || !at(sender).newTiles)
        return;
    GameSeat &record = at(sender);
    record.newTiles = false;
    record.score = addClamped(record.score, -TileCost);
    m_outbox.sendToAll(protocol::oldTilesNotice(sender, record.score));
    const QByteArray deal = protocol::theDice(sender, protocol::DealKind::Old,
                                              LetterSets::hand(m_letters.current(), handSize(sender)));
    // In a normal game everyone watches the buyer's tiles, as with new tiles:
    // the old letters go to all, or the watchers would keep seeing the new set.
    if (m_options.fast)
        m_outbox.sendTo(sender, deal);
    else
        m_outbox.sendToAll(deal);
}

void GameEngine::setdice(int sender, int position, int die)
{
    if (!isPlaying(sender) || !m_running || !(m_options.fast || sender == m_current))
        return;
    // Only a real tray place (or 0, taken back) and a real die are passed on.
    if (position < 0 || position > MaxWordLength || die < 1 || die > DiceCount)
        return;
    if (!m_options.fast)
        m_outbox.sendToOthers(sender, protocol::setDiceRelay(position, die));
}

void GameEngine::clearthem(int sender)
{
    if (sender < 1 || !m_running || m_options.fast || sender != m_current)
        return;
    m_outbox.sendToOthers(sender, protocol::clearThemRelay());
}

// ---- the turn's end ----

void GameEngine::finish(int sender)
{
    if (!isPlaying(sender) || !m_running || !m_clock.turnRunning())
        return;
    if (!m_options.fast) {
        if (sender == m_current)
            m_clock.endTurnSoon();
        return;
    }
    at(sender).finished = true;
    for (int i = 1; i <= PlayingSeats; ++i) {
        if (m_table.isOpen(i) && !at(i).finished)
            return;
    }
    m_clock.endTurnSoon();
}

void GameEngine::startWatching(int target)
{
    if (!isPlaying(target))
        return;
    bool someoneElsePlays = false;
    for (int i = 1; i <= 4; ++i) {
        if (i != target && m_table.isOpen(i) && !at(i).watching)
            someoneElsePlays = true;
    }
    if (!someoneElsePlays)
        return;
    at(target).watching = true;
    m_outbox.sendToAll(protocol::justWatching(target, protocol::WatchStart));
    if (m_running && !m_options.fast && target == m_current && m_clock.turnRunning())
        m_clock.endTurnSoon(); // his turn ends at the next second
}

void GameEngine::stopWatching(int target)
{
    if (!isPlaying(target))
        return;
    at(target).watching = false;
    m_outbox.sendToAll(protocol::justWatching(target, protocol::WatchStop));
}

void GameEngine::Timer1Timer()
{
    switch (m_clock.tick()) {
    case GameClock::Expired::Turn:
        endTurn();
        break;
    case GameClock::Expired::Pause:
        findplayer();
        break;
    case GameClock::Expired::Nothing:
        break;
    }
}

void GameEngine::endTurn()
{
    if (m_options.fast) {
        for (int i = 1; i <= PlayingSeats; ++i) {
            if (m_table.isOpen(i))
                postscore(i);
        }
    } else {
        postscore(m_current);
    }
    m_outbox.sendToAll(protocol::turnEnd());
    if (m_options.fast) {
        static constexpr int kPause[] = {30, 10, 15, 20, 25};
        const int open = openPlayingSeats();
        m_clock.startPause((open >= 1 && open <= 4) ? kPause[open] : kPause[0]);
    } else {
        m_clock.startPause(NormalPauseSeconds);
    }
}

bool GameEngine::checkforwin()
{
    Standings standings;
    for (int i = 1; i <= PlayingSeats; ++i)
        standings[static_cast<std::size_t>(i)] = {m_table.isOpen(i), at(i).score,
                                                  m_options.team ? at(i).partner : 0};
    const int best = winningSeat(standings, m_options.playTo);
    if (best == 0)
        return false;
    // In a team game the pair wins together; seats 5 and 6 have no partner.
    QString text = m_table.nameAt(best);
    if (m_options.team && at(best).partner != 0)
        text = protocol::teamWinnerText(text, m_table.nameAt(at(best).partner));
    m_outbox.sendToAll(protocol::winner(text));
    endGame();
    return true;
}

// ---- words and scores ----

bool GameEngine::lookUp(const QString &word)
{
    if (!m_isWord)
        return false;
    try {
        return m_isWord(word);
    } catch (const ZwonkyError &e) {
        // An unreadable word list refuses the word; the player is still
        // answered.
        emit errorReported(e.text());
        return false;
    }
}

void GameEngine::done(int n, const QList<int> &dice)
{
    if (!isPlaying(n) || !m_running || !m_clock.turnRunning() || !(m_options.fast || n == m_current))
        return;

    GameSeat &record = at(n);
    const auto [word, verdict] =
        judgeDice(dice, m_letters.held(record.newTiles), handSize(n), record.zwonked,
                  record.words, [this](const QString &candidate) { return lookUp(candidate); });

    if (!verdict.accepted) {
        const QByteArray message = protocol::rejected(word, verdict.reason);
        if (m_options.fast)
            m_outbox.sendTo(n, message);
        else
            m_outbox.sendToAll(message);
        return;
    }

    const int length = static_cast<int>(word.size());
    record.words.store(word);
    if (m_options.fast) {
        m_outbox.sendTo(n, protocol::accepted(length, word));
        m_outbox.sendToAll(protocol::addAWord(n, length, word));
    } else {
        m_outbox.sendToAll(protocol::accepted(length, word));
    }
}

void GameEngine::postscore(int number)
{
    if (!isPlaying(number))
        return;
    GameSeat &record = at(number);
    const TurnScore turn = scoreTurn(record.words, record.zwonked);
    record.score = addClamped(record.score, turn.change);

    const int partner = m_options.team ? record.partner : 0;
    if (partner != 0)
        at(partner).score = record.score;
    m_outbox.sendToAll(protocol::scores(number, turn.wordPoints, turn.bonus, turn.wordCount,
                                        record.score, partner,
                                        partner != 0 ? at(partner).score : 0));
    record.zwonked = record.score >= m_options.zwonkedAt;
}

} // namespace zwonky
