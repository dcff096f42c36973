// zwonky-player: a computer player without a window, for any host.
//
//   zwonky-player [--level N] [--name NAME] HOST
//
// Joins the game at HOST (port 7772) as a computer player and plays until
// the host ends the game or removes it. Exit codes: 0 when the host closes
// the connection outside a running turn (the game ended normally), 1 for a
// wrong command line, 2 when the host cannot be reached, 3 when the game is
// full, 4 when the connection is lost during a game.

#include "net/protocol.h"
#include "players/computerplayer.h"
#include "players/playerlevel.h"
#include "session/sessiontexts.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QTextStream>

using namespace zwonky;

namespace {

void say(const QString &text)
{
    QTextStream(stderr) << "zwonky-player: " << text << Qt::endl;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zwonky-player"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(protocol::GameVersion));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Joins a Zwonky host as a computer player."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption levelOption(
        QStringLiteral("level"),
        QStringLiteral("Strength 1-5: Beginner, Casual, Average, Strong, Expert (default 3)."),
        QStringLiteral("N"), QString::number(DefaultLevel));
    const QCommandLineOption nameOption(QStringLiteral("name"),
                                        QStringLiteral("The name shown at the table."),
                                        QStringLiteral("NAME"));
    parser.addOption(levelOption);
    parser.addOption(nameOption);
    parser.addPositionalArgument(QStringLiteral("HOST"), QStringLiteral("The host's address."));
    parser.process(app);

    const QStringList hosts = parser.positionalArguments();
    bool levelOk = false;
    const int level = parser.value(levelOption).toInt(&levelOk);
    if (hosts.size() != 1 || !levelOk || level < LowestLevel || level > HighestLevel) {
        say(QStringLiteral("usage: zwonky-player [--level 1-5] [--name NAME] HOST"));
        return 1;
    }
    const QString host = hosts.first();
    const QString name = parser.isSet(nameOption)
        ? ComputerPlayer::computerName(parser.value(nameOption).left(20))
        : ComputerPlayer::defaultName(0);

    ComputerPlayer player(level, quint32(QDateTime::currentMSecsSinceEpoch()));
    ClientSession &session = player.session();
    session.setPlayerName(name);

    int exitCode = 0;
    bool full = false;
    QObject::connect(&session, &ClientSession::connectionError, &app, [&](const QString &text) {
        say(QStringLiteral("cannot reach the host %1 on port %2: %3")
                .arg(host).arg(protocol::GamePort).arg(text));
        QCoreApplication::exit(2);
    });
    QObject::connect(&session, &ClientSession::gameFull, &app, [&] {
        full = true;
        say(QStringLiteral("the game at %1 is full; no seat is free").arg(host));
        QCoreApplication::exit(3);
    });
    QObject::connect(&session, &ClientSession::notice, &app, [&](const QString &text, quint32) {
        if (text == sessiontext::ownVersionDiffers())
            say(QStringLiteral("the host runs another version of the game than %1; playing on")
                    .arg(QString::fromLatin1(protocol::GameVersion)));
    });
    QObject::connect(&session, &ClientSession::loggedIn, &app, [&](int seat) {
        say(QStringLiteral("joined %1 in seat %2 as %3 (%4)")
                .arg(host).arg(seat).arg(name, levelName(level)));
        if (!isPlayingSeat(seat))
            say(QStringLiteral("every playing seat is taken; watching only"));
    });
    QObject::connect(&session, &ClientSession::connectionClosed, &app, [&] {
        if (full)
            return;
        if (session.phase() == SessionPhase::TurnRunning) {
            say(QStringLiteral("the connection to the host was lost during a turn"));
            exitCode = 4;
        } else {
            say(QStringLiteral("the host ended the game"));
        }
        QCoreApplication::exit(exitCode);
    });

    session.connectToHost(host, QString::number(protocol::GamePort));
    return app.exec();
}
