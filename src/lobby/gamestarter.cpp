#include "lobby/gamestarter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace zwonky::lobby {

ProcessGameStarter::ProcessGameStarter(QString program, QObject *parent)
    : GameStarter(parent), m_program(std::move(program))
{
    connect(&m_game, &GameProcess::finished, this, &GameStarter::gameEnded);
}

QString ProcessGameStarter::besideLobby()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("zwonky"));
}

bool ProcessGameStarter::startGame(const QStringList &arguments, QString *error)
{
    const QFileInfo file(m_program);
    if (!file.isFile() || !file.isExecutable()) {
        *error = QStringLiteral("The game was not found at %1.").arg(m_program);
        return false;
    }
    // The game keeps its files beside its program; it starts there.
    return m_game.start(file.absoluteFilePath(), arguments, file.absolutePath(), error);
}

} // namespace zwonky::lobby
