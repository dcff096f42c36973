// The lobby link seen from the lobby's side for the life of a real game:
// the game program, started with launch parameters, connects to
// 127.0.0.1:9001 and the lobby sees it running until it ends. This is the
// one test that uses the real port 9001: the game knows no other.

#include "lobby/announcer.h"
#include "lobby/gamestarter.h"
#include "lobby/lobbycontroller.h"
#include "lobby/lobbylink.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace zwonky::lobby;

class TestLobbyLink : public QObject
{
    Q_OBJECT
private slots:
    void theLinkLastsAsLongAsTheGame();
    void theRealStarterRefusesAMissingGame();
};

void TestLobbyLink::theLinkLastsAsLongAsTheGame()
{
    LobbyLinkListener link;
    QString error;
    if (!link.listen(LobbyLinkListener::DefaultPort, &error))
        QSKIP(qPrintable(QStringLiteral("port 9001 is taken on this machine: %1").arg(error)));
    QSignalSpy changes(&link, &LobbyLinkListener::gameConnectedChanged);

    // A joiner's game: it listens on nothing, so it meets no other test.
    // Its single-instance guard lives in a folder of its own.
    QTemporaryDir runtime;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess game;
    game.setProcessEnvironment(environment);
    game.setWorkingDirectory(runtime.path());
    game.start(QStringLiteral(ZWONKY_BINARY), {"Linker", "::1", "false"});
    QVERIFY(game.waitForStarted());

    // Other games on this machine (windows of other tests among them) may
    // link too, so the link alone does not say that ours is up: its
    // single-instance guard does, and the guard is made after the game
    // handles SIGTERM, before it opens its link.
    const QString guard = QDir(runtime.path()).filePath(QStringLiteral("zwonky.socket"));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(guard), 30000);
    QTRY_VERIFY_WITH_TIMEOUT(link.gameConnected(), 30000);
    QCOMPARE(game.state(), QProcess::Running);
    QVERIFY(changes.count() >= 1);
    QCOMPARE(changes.at(0).first().toBool(), true);
    QTRY_VERIFY_WITH_TIMEOUT(link.openLinks() >= 1, 30000);

    // The game ends the ordinary way; its link goes with it, and the lobby
    // sees no game once no other one is linked.
    game.terminate();
    QTRY_COMPARE_WITH_TIMEOUT(game.state(), QProcess::NotRunning, 30000);
    QCOMPARE(game.exitStatus(), QProcess::NormalExit);
    QTRY_VERIFY_WITH_TIMEOUT(!link.gameConnected(), 60000);
    QCOMPARE(changes.last().first().toBool(), false);
}

void TestLobbyLink::theRealStarterRefusesAMissingGame()
{
    QTemporaryDir folder;
    ProcessGameStarter starter(folder.filePath(QStringLiteral("zwonky")));
    QString error;
    QVERIFY(!starter.startGame({}, &error));
    QVERIFY(error.contains(folder.path()));
}

QTEST_GUILESS_MAIN(TestLobbyLink)
#include "tst_lobbylink.moc"
