#pragma once

// Starts the game program with its launch parameters. The lobby talks to
// this interface, so that tests can record what would be started.

#include <QString>
#include <QStringList>

namespace zwonky::lobby {

class GameStarter
{
public:
    virtual ~GameStarter() = default;
    // Starts the game with these parameters; false with the reason when it
    // could not be started.
    virtual bool startGame(const QStringList &arguments, QString *error) = 0;
};

// The real game: the program "zwonky" in the lobby's own folder, started
// detached so that it outlives the lobby.
class ProcessGameStarter : public GameStarter
{
public:
    explicit ProcessGameStarter(QString program = besideLobby());
    bool startGame(const QStringList &arguments, QString *error) override;
    QString program() const { return m_program; }

    static QString besideLobby();

private:
    QString m_program;
};

} // namespace zwonky::lobby
