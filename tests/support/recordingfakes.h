#pragma once

// The recording fakes of the client's outside services: what the window
// played and what it put into the tally, for the tests to read.

#include "audio/soundplayer.h"
#include "lobby/gamestarter.h"
#include "tally/tallyrecorder.h"

#include <QList>
#include <QPair>
#include <QStringList>

namespace zwonky::testing {

class RecordingSound : public SoundPlayer
{
public:
    void play(SoundClip clip) override { clips << clipName(clip).toLower(); }
    void stop() override {}
    QString lastClip() const { return clips.isEmpty() ? QString() : clips.last(); }
    QStringList clips; // file names in lower case ("puttile", "wave3")
};

class RecordingTally : public TallyRecorder
{
public:
    void addgame(const QString &winner) override { games << winner; }
    void addscore(int column, int value) override
    {
        scores << qMakePair(column, value);
        if (column == 3)
            highestGame = value;
        if (column == 4)
            highestTurn = value;
    }
    int highestGameScore() const override { return highestGame; }
    int highestTurnScore() const override { return highestTurn; }
    void loadchecklist(const QStringList &names) override { checklist = names; }

    QStringList games;
    QList<QPair<int, int>> scores;
    QStringList checklist;
    int highestGame = 0;
    int highestTurn = 0;
};

// The lobby's game starter: records the parameters of every start; the
// recorded game runs until the test ends it.
class RecordingGameStarter : public lobby::GameStarter
{
public:
    bool startGame(const QStringList &arguments, QString *error) override
    {
        starts << arguments;
        if (!succeeds && error)
            *error = failure;
        running = succeeds;
        return succeeds;
    }
    bool gameRunning() const override { return running; }
    void endGame(bool normally = true)
    {
        running = false;
        emit gameEnded(normally);
    }
    QList<QStringList> starts;
    bool running = false;
    bool succeeds = true;
    QString failure = QStringLiteral("The game was not found.");
};

} // namespace zwonky::testing
