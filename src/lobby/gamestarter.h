#pragma once

// Starts the game program with its launch parameters and follows the game
// it started until it ends. The lobby talks to this interface, so that
// tests can record what would be started.

#include "lobby/gameprocess.h"

#include <QObject>
#include <QString>
#include <QStringList>

namespace zwonky::lobby {

class GameStarter : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    // Starts the game with these parameters; false with the reason when it
    // could not be started.
    virtual bool startGame(const QStringList &arguments, QString *error) = 0;
    // Whether the game started last still runs.
    virtual bool gameRunning() const = 0;

signals:
    // The game started last has ended; `normally` is false when it failed.
    void gameEnded(bool normally);
};

// The real game: the program "zwonky" in the lobby's own folder, started
// as a child of the lobby that outlives it.
class ProcessGameStarter : public GameStarter
{
    Q_OBJECT
public:
    explicit ProcessGameStarter(QString program = besideLobby(), QObject *parent = nullptr);
    bool startGame(const QStringList &arguments, QString *error) override;
    bool gameRunning() const override { return m_game.isRunning(); }
    QString program() const { return m_program; }
    // The running game's process id; 0 when none runs.
    qint64 gameProcessId() const { return m_game.processId(); }

    static QString besideLobby();

private:
    QString m_program;
    GameProcess m_game;
};

} // namespace zwonky::lobby
