#include "players/computerplayer.h"

#include "players/wordchoice.h"
#include "players/wordfinder.h"

#include <array>
#include <cmath>

namespace zwonky {

namespace {

const std::array<const char *, 6> FriendlyNames{"Ann", "Bo", "Cy", "Di", "Ed", "Flo"};
constexpr char ChatColour[] = "clBlack";

} // namespace

ComputerPlayer::ComputerPlayer(int level, quint32 seed, QObject *parent)
    : QObject(parent)
    , m_level(playerLevel(level))
    , m_random(seed)
{
    m_session.setParent(this);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &ComputerPlayer::runPendingStep);

    connect(&m_session, &ClientSession::lettersDealt, this, &ComputerPlayer::lettersDealt);
    connect(&m_session, &ClientSession::wordAccepted, this, [this](int seat, int, const QString &) {
        if (seat == m_session.ownSeat())
            verdictArrived(true);
    });
    connect(&m_session, &ClientSession::wordRejected, this,
            [this](const QString &, const QString &) { verdictArrived(false); });
    // Whatever ends the turn on this side ends the plan.
    connect(&m_session, &ClientSession::turnHandedOver, this, &ComputerPlayer::stopTurn);
    connect(&m_session, &ClientSession::turnEnded, this, &ComputerPlayer::stopTurn);
    connect(&m_session, &ClientSession::clockRanOut, this, &ComputerPlayer::stopTurn);
    connect(&m_session, &ClientSession::connectionClosed, this, &ComputerPlayer::stopTurn);
    connect(&m_session, &ClientSession::gameStarted, this, [this] { m_spoke = false; });
    connect(&m_session, &ClientSession::gameOver, this, &ComputerPlayer::sayGoodbye);
}

QString ComputerPlayer::computerName(const QString &name)
{
    return name + QStringLiteral(" (bot)");
}

QString ComputerPlayer::defaultName(int index)
{
    const auto at = std::size_t(index < 0 ? 0 : index) % FriendlyNames.size();
    return computerName(QString::fromLatin1(FriendlyNames[at]));
}

bool ComputerPlayer::zwonked() const
{
    return m_session.tray().handSize() == LetterTray::ZwonkedHand;
}

QString ComputerPlayer::hand() const
{
    return m_session.tray().letters().join(QString());
}

WordBoxes ComputerPlayer::madeWords() const
{
    WordBoxes boxes;
    const int own = m_session.ownSeat();
    for (int length = MinWordLength; length <= MaxWordLength; ++length) {
        for (const QString &word : m_session.words().words(own, length))
            boxes.store(word);
    }
    return boxes;
}

void ComputerPlayer::lettersDealt(int seat, DealKind kind)
{
    if (seat != m_session.ownSeat() || !m_session.isOwnTurn())
        return;
    const bool fresh = kind == DealKind::Ten || kind == DealKind::Thirteen;
    if (fresh) {
        m_boughtTiles = false;
        m_finished = false;
    }
    planTurn(fresh);
}

void ComputerPlayer::planTurn(bool freshLetters)
{
    if (!m_finder)
        m_finder = &WordFinder::builtIn();
    const QStringList found = m_finder->find(hand());
    const WordBoxes made = madeWords();
    if (freshLetters && m_session.settings().newTiles && !m_boughtTiles) {
        const int best = planScore(bestWords(found, made, zwonked()), made, zwonked()).change;
        if (best < PoorHandPoints) {
            m_boughtTiles = true;
            schedule(Next::BuyTiles, m_level.thinkMs);
            return;
        }
    }
    m_plan = levelWords(found, made, zwonked(), m_level.sight, m_random);
    m_planIndex = 0;
    schedule(Next::NextWord, m_level.thinkMs);
}

void ComputerPlayer::schedule(Next next, int levelMs)
{
    m_next = next;
    m_pending = true;
    if (!m_manual)
        m_timer.start(int(std::lround(levelMs * m_paceScale)));
}

void ComputerPlayer::runPendingStep()
{
    if (!m_pending)
        return;
    m_pending = false;
    m_timer.stop();
    step();
}

void ComputerPlayer::step()
{
    // Never a request outside the own turn, whatever was planned.
    if (!m_session.isOwnTurn()) {
        stopTurn();
        return;
    }
    switch (m_next) {
    case Next::BuyTiles:
        m_next = Next::AwaitDeal;
        m_session.buyNewTiles();
        break;
    case Next::NextWord:
        startNextWord();
        break;
    case Next::NextTile:
        layNextTile();
        break;
    case Next::Submit:
        m_next = Next::AwaitVerdict;
        if (m_session.submitWord())
            emit wordSubmitted(m_word);
        else
            verdictArrived(false);
        break;
    default:
        break;
    }
}

void ComputerPlayer::startNextWord()
{
    const WordBoxes made = madeWords();
    const QStringList letters = m_session.tray().letters();
    while (m_planIndex < m_plan.size()) {
        const QString word = m_plan.at(m_planIndex++);
        // The clock: the word must be laid and judged with a margin to spare.
        const double seconds = layingTimeMs(word, m_level) * m_paceScale / 1000.0;
        if (m_session.secondsLeft() - StopMarginSeconds < seconds)
            break;
        const QList<int> dice = diceForWord(word, letters);
        if (dice.isEmpty() || !rulesAllow(word, made, zwonked()))
            continue;
        m_word = word;
        m_dice = dice;
        m_tile = 0;
        layNextTile();
        return;
    }
    finishWhenDone();
}

void ComputerPlayer::layNextTile()
{
    if (m_session.tray().count() != m_tile || !m_session.putTile(m_dice.at(m_tile))) {
        // The tray is not as laid (a deal came between): start the word over.
        m_session.clearTray();
        --m_planIndex;
        schedule(Next::NextWord, m_level.thinkMs);
        return;
    }
    ++m_tile;
    schedule(m_tile < m_dice.size() ? Next::NextTile : Next::Submit, m_level.perTileMs);
}

void ComputerPlayer::verdictArrived(bool accepted)
{
    if (m_next != Next::AwaitVerdict)
        return;
    (accepted ? m_accepted : m_refused)++;
    schedule(Next::NextWord, m_level.thinkMs);
}

void ComputerPlayer::finishWhenDone()
{
    m_next = Next::Nothing;
    if (m_finished)
        return;
    m_finished = true;
    m_session.finishTurn();
}

void ComputerPlayer::stopTurn()
{
    m_timer.stop();
    m_pending = false;
    m_next = Next::Nothing;
    m_plan.clear();
}

void ComputerPlayer::sayGoodbye(const QString &winner)
{
    stopTurn();
    if (m_spoke || !isPlayingSeat(m_session.ownSeat()))
        return;
    m_spoke = true;
    const QString text = winner == m_session.playerName()
        ? QStringLiteral("Good game, everyone!")
        : QStringLiteral("Well played, %1!").arg(winner);
    m_session.chat(text, QString::fromLatin1(ChatColour));
}

} // namespace zwonky
