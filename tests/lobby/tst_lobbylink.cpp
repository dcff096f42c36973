// The lobby and the real game program on the real lobby link port 9001:
// strangers linked there change nothing; the lobby follows the game it
// started through its process, and the game outlives the lobby. This is
// the one test that uses the real port 9001: the game knows no other.

#include "lobby/announcer.h"
#include "lobby/gamestarter.h"
#include "lobby/lobbycontroller.h"
#include "lobby/lobbylink.h"

#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>
#include <vector>

#include <sys/wait.h>

using namespace zwonky::lobby;

namespace {

// The game program copied into a folder of its own, so that the files it
// keeps beside itself go there; its single-instance guard goes there too.
struct GameCopy
{
    QTemporaryDir folder;
    QString program = folder.filePath(QStringLiteral("zwonky"));

    GameCopy()
    {
        if (QFile::copy(QStringLiteral(ZWONKY_BINARY), program))
            QFile::setPermissions(program, QFile::permissions(QStringLiteral(ZWONKY_BINARY)));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder.path()));
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
};

} // namespace

class TestLobbyLink : public QObject
{
    Q_OBJECT
private slots:
    void strangersOnTheLinkChangeNothing();
    void theGameOutlivesTheLobby();
    void theRealStarterRefusesAMissingGame();
};

void TestLobbyLink::strangersOnTheLinkChangeNothing()
{
    LobbyLinkListener link;
    QString error;
    if (!link.listen(LobbyLinkListener::DefaultPort, &error))
        QSKIP(qPrintable(QStringLiteral("port 9001 is taken on this machine: %1").arg(error)));
    // Silent strangers fill what used to be the lobby's link slots.
    std::vector<std::unique_ptr<QTcpSocket>> strangers;
    for (int i = 0; i < 8; ++i) {
        strangers.push_back(std::make_unique<QTcpSocket>());
        strangers.back()->connectToHost(QHostAddress::LocalHost, LobbyLinkListener::DefaultPort);
    }
    QTRY_COMPARE(link.openLinks(), 8);

    GameCopy copy;
    ProcessGameStarter starter(copy.program);
    Announcer announcer;
    announcer.setTargets({});
    LobbyController controller(starter, announcer);
    QSignalSpy notices(&controller, &LobbyController::notice);

    // A joiner's game: it listens on nothing, so it meets no other test.
    QString message;
    QVERIFY2(controller.joinGame(QStringLiteral("Linker"), QStringLiteral("::1"), &message),
             qPrintable(message));
    QCOMPARE(controller.state(), LobbyController::State::Running);
    QVERIFY(starter.gameRunning());
    // The game's own link is taken beside the strangers' (other games on
    // this machine may link too). Its single-instance guard says it is up,
    // and it handles SIGTERM from then on.
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(copy.folder.filePath(QStringLiteral("zwonky.socket"))), 30000);
    QTRY_VERIFY_WITH_TIMEOUT(link.openLinks() >= 9, 30000);
    QVERIFY(!controller.soloGame(&message));

    // Strangers going and coming change nothing either.
    const int others = link.openLinks() - 8;
    strangers.clear();
    QTRY_COMPARE(link.openLinks(), others);
    QTcpSocket late;
    late.connectToHost(QHostAddress::LocalHost, LobbyLinkListener::DefaultPort);
    QTRY_COMPARE(link.openLinks(), others + 1);
    QCOMPARE(controller.state(), LobbyController::State::Running);
    QVERIFY(notices.isEmpty());

    // The game ends the ordinary way: the lobby is back.
    QVERIFY(::kill(pid_t(starter.gameProcessId()), SIGTERM) == 0);
    QTRY_COMPARE_WITH_TIMEOUT(controller.state(), LobbyController::State::Idle, 30000);
    QCOMPARE(notices.count(), 1);
    QCOMPARE(notices.first().first().toString(), QStringLiteral("The game has ended."));
    QTRY_VERIFY_WITH_TIMEOUT(link.openLinks() <= others, 30000);
}

void TestLobbyLink::theGameOutlivesTheLobby()
{
    GameCopy copy;
    auto starter = std::make_unique<ProcessGameStarter>(copy.program);
    QString error;
    QVERIFY2(starter->startGame({"Stayer", "::1", "false"}, &error), qPrintable(error));
    const pid_t pid = pid_t(starter->gameProcessId());
    QVERIFY(pid > 0);
    starter.reset();
    int status = 0;
    QCOMPARE(::waitpid(pid, &status, WNOHANG), 0); // still running
    QVERIFY(::kill(pid, SIGTERM) == 0);
    bool ended = false;
    QTRY_VERIFY_WITH_TIMEOUT(ended = ended || ::waitpid(pid, &status, WNOHANG) == pid, 30000);
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
