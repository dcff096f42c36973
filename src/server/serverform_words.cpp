// Judging a submitted word and scoring a turn.

#include "net/zwonkyerror.h"
#include "server/scoring.h"
#include "server/serverform.h"

namespace zwonky {

void TServer::done(FieldCursor &args)
{
    const int n = takeSender(args);
    // A word longer than the largest hand is refused whatever follows, so
    // the rest of an over-long list is not read.
    QList<int> dice;
    while (!args.atEnd() && dice.size() <= DiceCount)
        dice.append(args.takeInt());
    if (n < 1 || n > PlayingSeats || !m_running || m_phase != TurnRunning
        || !(m_fast || n == m_current))
        return;

    tplayer &record = at(n);
    const QStringList &letters = record.newTiles ? m_alternativeSet : m_currentSet;
    QString word = wordFromDice(dice, letters);

    Verdict verdict;
    if (!diceFitHand(dice, handSize(n))) {
        // Letters he was not dealt, or one die used twice: never a word.
        // (At most a hand's worth of letters is echoed back.)
        word.truncate(DiceCount);
        verdict = Verdict{false, QString::fromLatin1(reason::Rejected)};
    } else {
        const WordChecker lookup = [this](const QString &candidate) {
            if (!m_isWord)
                return false;
            try {
                return m_isWord(candidate);
            } catch (const ZwonkyError &e) {
                // An unreadable word list refuses the word; the player is
                // still answered.
                report(e.text());
                return false;
            }
        };
        verdict = judgeWord(word, record.zwonked, record.words, lookup);
    }

    if (!verdict.accepted) {
        const QByteArray message = protocol::rejected(word, verdict.reason);
        if (m_fast)
            sendTo(n, message);
        else
            sendToAll(message);
        return;
    }

    const int length = static_cast<int>(word.size());
    record.words.store(word);
    if (m_fast) {
        sendTo(n, protocol::accepted(length, word));
        sendToAll(protocol::addAWord(n, length, word));
    } else {
        sendToAll(protocol::accepted(length, word));
    }
}

void TServer::postscore(int seatNumber)
{
    if (seatNumber < 1 || seatNumber > PlayingSeats)
        return;
    tplayer &record = at(seatNumber);
    const TurnScore turn = scoreTurn(record.words, record.zwonked);
    record.score = addClamped(record.score, turn.change);

    const int partner = m_team ? record.partner : 0;
    if (partner != 0)
        at(partner).score = record.score;
    sendToAll(protocol::scores(seatNumber, turn.wordPoints, turn.bonus, turn.wordCount,
                               record.score, partner, partner != 0 ? at(partner).score : 0));
    record.zwonked = record.score >= m_zwonkedAt;
}

} // namespace zwonky
