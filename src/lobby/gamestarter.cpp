#include "lobby/gamestarter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace zwonky::lobby {

ProcessGameStarter::ProcessGameStarter(QString program) : m_program(std::move(program)) {}

QString ProcessGameStarter::besideLobby()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("zwonky"));
}

bool ProcessGameStarter::startGame(const QStringList &arguments, QString *error)
{
    const QFileInfo file(m_program);
    if (!file.isFile() || !file.isExecutable()) {
        if (error)
            *error = QStringLiteral("The game was not found at %1.").arg(m_program);
        return false;
    }
    QProcess process;
    process.setProgram(m_program);
    process.setArguments(arguments);
    // The game keeps its files beside its program; it starts there.
    process.setWorkingDirectory(file.absolutePath());
    if (!process.startDetached()) {
        if (error)
            *error = QStringLiteral("The game could not be started: %1").arg(process.errorString());
        return false;
    }
    return true;
}

} // namespace zwonky::lobby
