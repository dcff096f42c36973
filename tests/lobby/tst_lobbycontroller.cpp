// What the lobby starts and when: the exact launch parameters (a recording
// starter), the game followed until the started game ends, a second start
// refused while one runs, announcing only a hosted game that runs, and
// links held without meaning.

#include "lobby/announcelistener.h"
#include "lobby/announcer.h"
#include "lobby/lobbycontroller.h"
#include "lobby/lobbylink.h"
#include "recordingfakes.h"

#include <QSignalSpy>
#include <QTcpSocket>
#include <QtTest>

#include <memory>

using namespace zwonky::lobby;
using zwonky::testing::RecordingGameStarter;

namespace {

struct Rig
{
    RecordingGameStarter starter;
    Announcer announcer;
    LobbyController controller{starter, announcer};
    AnnounceListener listener; // another lobby on loopback
    QString message;

    Rig()
    {
        QString error;
        listener.listenOn({QHostAddress(QHostAddress::LocalHost)}, 0, &error);
        announcer.setTargets({{QHostAddress(QHostAddress::LocalHost), listener.port()}});
    }
};

QStringList params(std::initializer_list<const char *> list)
{
    QStringList out;
    for (const char *p : list)
        out << QString::fromUtf8(p);
    return out;
}

} // namespace

class TestLobbyController : public QObject
{
    Q_OBJECT
private slots:
    void startsTheGameWithExactParameters_data();
    void startsTheGameWithExactParameters();
    void refusesWhatCannotBeStarted();
    void followsTheGameItStarted();
    void aSecondStartIsRefusedWhileOneRuns();
    void announcesOnlyAHostedGameWhileItRuns();
    void announcingCanBeTurnedOff();
    void linksAreHeldOldestGoingFirst();
};

void TestLobbyController::startsTheGameWithExactParameters_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("host") << "host" << "Ann" << "" << params({"Ann", "127.0.0.1", "true"});
    QTest::newRow("host, name trimmed") << "host" << "  Big  Bo " << "" << params({"Big Bo", "127.0.0.1", "true"});
    QTest::newRow("host, wire bytes left out") << "host" << "A+n\u00FFn\u4E00" << "" << params({"Ann", "127.0.0.1", "true"});
    QTest::newRow("join ipv4") << "join" << "Bo" << " 192.168.1.20 " << params({"Bo", "192.168.1.20", "false"});
    QTest::newRow("join name") << "join" << "Bo" << "Kitchen-PC" << params({"Bo", "kitchen-pc", "false"});
    QTest::newRow("join ipv6") << "join" << "Bo" << "[2001:db8::7]" << params({"Bo", "2001:db8::7", "false"});
    QTest::newRow("join ipv6 zone") << "join" << "Bo" << "fe80::1%eth0" << params({"Bo", "fe80::1%eth0", "false"});
    QTest::newRow("solo") << "solo" << "" << "" << QStringList();
}

void TestLobbyController::startsTheGameWithExactParameters()
{
    QFETCH(QString, action);
    QFETCH(QString, name);
    QFETCH(QString, address);
    QFETCH(QStringList, expected);
    Rig rig;
    bool started = false;
    if (action == QLatin1String("host"))
        started = rig.controller.hostGame(name, &rig.message);
    else if (action == QLatin1String("join"))
        started = rig.controller.joinGame(name, address, &rig.message);
    else
        started = rig.controller.soloGame(&rig.message);
    QVERIFY2(started, qPrintable(rig.message));
    QCOMPARE(rig.starter.starts.size(), 1);
    QCOMPARE(rig.starter.starts.first(), expected);
}

void TestLobbyController::refusesWhatCannotBeStarted()
{
    Rig rig;
    QVERIFY(!rig.controller.hostGame(QStringLiteral("  "), &rig.message));
    QCOMPARE(rig.message, QStringLiteral("Type your name first."));
    QVERIFY(!rig.controller.joinGame(QStringLiteral("Bo"), QStringLiteral(""), &rig.message));
    QVERIFY(!rig.controller.joinGame(QStringLiteral("Bo"), QStringLiteral("a b; c"), &rig.message));
    QCOMPARE(rig.message, QStringLiteral("That is not a host name or an address."));
    QVERIFY(rig.starter.starts.isEmpty());

    rig.starter.succeeds = false;
    QVERIFY(!rig.controller.hostGame(QStringLiteral("Ann"), &rig.message));
    QCOMPARE(rig.message, rig.starter.failure);
    QCOMPARE(rig.controller.state(), LobbyController::State::Idle);
}

void TestLobbyController::followsTheGameItStarted()
{
    Rig rig;
    QSignalSpy notices(&rig.controller, &LobbyController::notice);
    QVERIFY(rig.controller.joinGame(QStringLiteral("Bo"), QStringLiteral("::1"), &rig.message));
    QCOMPARE(rig.controller.state(), LobbyController::State::Running);
    QCOMPARE(rig.controller.role(), LobbyController::Role::Join);

    rig.starter.endGame();
    QCOMPARE(rig.controller.state(), LobbyController::State::Idle);
    QCOMPARE(notices.count(), 1);
    QCOMPARE(notices.first().first().toString(), QStringLiteral("The game has ended."));
    // The lobby is ready for the next game; a solo game is followed too.
    QVERIFY(rig.controller.soloGame(&rig.message));
    QCOMPARE(rig.controller.state(), LobbyController::State::Running);
    rig.starter.endGame(false);
    QCOMPARE(rig.controller.state(), LobbyController::State::Idle);
    QCOMPARE(notices.last().first().toString(), QStringLiteral("The game has ended with an error."));
}

void TestLobbyController::aSecondStartIsRefusedWhileOneRuns()
{
    Rig rig;
    QVERIFY(rig.controller.hostGame(QStringLiteral("Ann"), &rig.message));
    QVERIFY(!rig.controller.soloGame(&rig.message));
    QCOMPARE(rig.message, QStringLiteral("A game is already running. Close it before you start another."));
    QVERIFY(!rig.controller.joinGame(QStringLiteral("Ann"), QStringLiteral("10.0.0.1"), &rig.message));
    QVERIFY(!rig.controller.hostGame(QStringLiteral("Ann"), &rig.message));
    QCOMPARE(rig.starter.starts.size(), 1);
}

void TestLobbyController::announcesOnlyAHostedGameWhileItRuns()
{
    Rig rig;
    QVERIFY(rig.controller.hostGame(QStringLiteral("Ann"), &rig.message));
    QVERIFY(rig.announcer.isAnnouncing());
    QTRY_COMPARE(rig.listener.games().games().size(), 1);
    const FoundGame heard = rig.listener.games().games().first();
    QCOMPARE(heard.name, QStringLiteral("Ann"));
    QCOMPARE(heard.version, QStringLiteral("1.0.7"));
    QCOMPARE(heard.id, rig.controller.announcementId());

    rig.starter.endGame();
    QVERIFY(!rig.announcer.isAnnouncing());

    // A joined game is never announced.
    QVERIFY(rig.controller.joinGame(QStringLiteral("Ann"), QStringLiteral("10.0.0.1"), &rig.message));
    QCOMPARE(rig.controller.state(), LobbyController::State::Running);
    QVERIFY(!rig.announcer.isAnnouncing());
}

void TestLobbyController::announcingCanBeTurnedOff()
{
    Rig rig;
    rig.controller.setAnnouncing(false);
    QVERIFY(rig.controller.hostGame(QStringLiteral("Ann"), &rig.message));
    QCOMPARE(rig.controller.state(), LobbyController::State::Running);
    QVERIFY(!rig.announcer.isAnnouncing());
    QCOMPARE(rig.announcer.sentCount(), 0);
    // Turned on while the game runs: announced from now on; off again: stops.
    rig.controller.setAnnouncing(true);
    QVERIFY(rig.announcer.isAnnouncing());
    rig.controller.setAnnouncing(false);
    QVERIFY(!rig.announcer.isAnnouncing());
}

void TestLobbyController::linksAreHeldOldestGoingFirst()
{
    LobbyLinkListener link;
    QString error;
    QVERIFY(link.listen(0, &error));
    std::vector<std::unique_ptr<QTcpSocket>> links;
    for (int i = 0; i < LobbyLinkListener::MaxLinks + 3; ++i) {
        links.push_back(std::make_unique<QTcpSocket>());
        links.back()->connectToHost(QHostAddress::LocalHost, link.port());
        QTRY_COMPARE(link.openLinks(), std::min(i + 1, LobbyLinkListener::MaxLinks));
    }
    // Nobody is kept out: the three oldest made room, the newest are held.
    for (int i = 0; i < 3; ++i)
        QTRY_COMPARE(links.at(i)->state(), QAbstractSocket::UnconnectedState);
    QCOMPARE(links.back()->state(), QAbstractSocket::ConnectedState);
    // A link that closes frees its place.
    links.back()->disconnectFromHost();
    QTRY_COMPARE(link.openLinks(), LobbyLinkListener::MaxLinks - 1);
}

QTEST_GUILESS_MAIN(TestLobbyController)
#include "tst_lobbycontroller.moc"
