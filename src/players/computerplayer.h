#pragma once

// A computer player: an ordinary client session driven by a plan instead of
// a person. On its own turn (every turn of a fast game) it finds the words
// its letters allow, chooses those its level notices, lays each one tile by
// tile at its level's pace so that watchers see the tiles move, submits it
// and waits for the host's verdict before the next. It buys new tiles when
// the game allows them and its letters are poor, presses Finish when it has
// nothing more to lay, and starts no word its clock cannot hold. It sends
// nothing outside its own turn but one short phrase when a game ends.

#include "players/playerlevel.h"
#include "server/wordrules.h"
#include "session/clientsession.h"

#include <QObject>
#include <QRandomGenerator>
#include <QStringList>
#include <QTimer>

namespace zwonky {

class WordFinder;

class ComputerPlayer : public QObject
{
    Q_OBJECT
public:
    // Letters whose best turn scores below this are worth the 300 points
    // that new tiles cost.
    static constexpr int PoorHandPoints = 600;

    ComputerPlayer(int level, quint32 seed, QObject *parent = nullptr);

    // The session it plays through: connect it, name it, read its state.
    ClientSession &session() { return m_session; }
    const ClientSession &session() const { return m_session; }
    const PlayerLevel &level() const { return m_level; }

    // "Ann (bot)": a name that shows it is a computer player, short enough
    // for the score table.
    static QString computerName(const QString &name);
    // A friendly name for the n-th computer player of a table (from 0).
    static QString defaultName(int index);

    // 1.0 plays at the level's pace; 0 lays every tile at the next turn of
    // the event loop (for tests).
    void setPaceScale(double scale) { m_paceScale = scale; }
    // While manual, no timer runs: the caller runs each due step.
    void setStepsManual(bool manual) { m_manual = manual; }
    bool hasPendingStep() const { return m_pending; }
    void runPendingStep();
    // The word list it searches (the built-in one unless set).
    void setWordFinder(const WordFinder *finder) { m_finder = finder; }

    // Words the host refused; a correct player never has any.
    int refusedWords() const { return m_refused; }
    int acceptedWords() const { return m_accepted; }

signals:
    // A word has gone to the host for judging.
    void wordSubmitted(const QString &word);

private:
    enum class Next { Nothing, BuyTiles, NextWord, NextTile, Submit, AwaitVerdict, AwaitDeal };

    void lettersDealt(int seat, DealKind kind);
    void planTurn(bool freshLetters);
    void step();
    void startNextWord();
    void layNextTile();
    void verdictArrived(bool accepted);
    void finishWhenDone();
    void stopTurn();
    void schedule(Next next, int levelMs);
    void sayGoodbye(const QString &winner);
    WordBoxes madeWords() const;
    bool zwonked() const;
    QString hand() const;

    ClientSession m_session;
    PlayerLevel m_level;
    QRandomGenerator m_random;
    const WordFinder *m_finder = nullptr;
    QTimer m_timer;
    double m_paceScale = 1.0;
    bool m_manual = false;
    bool m_pending = false;

    Next m_next = Next::Nothing;
    QStringList m_plan;
    qsizetype m_planIndex = 0;
    QString m_word;
    QList<int> m_dice;
    qsizetype m_tile = 0;
    bool m_boughtTiles = false;
    bool m_finished = false;
    bool m_spoke = false;
    int m_refused = 0;
    int m_accepted = 0;
};

} // namespace zwonky
