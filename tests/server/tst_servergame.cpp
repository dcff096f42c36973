// The game engine as the server feeds it over loopback: the start request
// of the host, and the hand-over when a connection leaves. The game's rules
// are tested on the engine alone (tst_gameengine.cpp).

#include "serverharness.h"

using namespace zwonky;
using namespace zwonky::testing;

namespace {

QByteArray diceWire(const Table &t, int seat, const char *flag, int count)
{
    return protocol::theDice(seat, QString::fromLatin1(flag),
                             t.server.engine().currentSet().mid(0, count));
}

} // namespace

class TestServerGame : public QObject
{
    Q_OBJECT
private slots:
    void startAnnouncesAndDealsToSeat1();
    void turnHandedOnWhenCurrentLeaves();
    void nobodyLeftToPlayEndsGame();
};

void TestServerGame::startAnnouncesAndDealsToSeat1()
{
    Table t;
    RawClient *ann = t.join("Ann");
    RawClient *bob = t.join("Bob");
    QVERIFY(ann && bob);
    QVERIFY(t.start(ann, gameOptions(5000, false, 60, 2000)));
    const QByteArray expected = wire("CMD_startgame+Ann+f+5000+60+2000+t+f+f+")
                                + wire("CMD_nextplayer+1") + diceWire(t, 1, "false", 10);
    EXPECT_WIRE(ann, expected);
    EXPECT_WIRE(bob, expected);
    QVERIFY(t.server.engine().gameRunning());
    QCOMPARE(t.server.engine().phase(), int(GameEngine::TurnRunning));
    QCOMPARE(t.server.engine().turnCounter(), 64);
    QVERIFY(t.server.engine().clockEnabled());
}

void TestServerGame::turnHandedOnWhenCurrentLeaves()
{
    Table t;
    t.acceptAll = true;
    RawClient *ann = t.join("Ann");
    RawClient *bob = t.join("Bob");
    RawClient *cid = t.join("Cid");
    QVERIFY(ann && bob && cid);
    QVERIFY(t.start(ann, gameOptions(5000)));
    t.nextTurn();
    QCOMPARE(t.server.engine().currentSeat(), 2);
    QVERIFY(t.send(bob, protocol::done(2, {1, 2, 3})));
    QVERIFY(t.fence());
    ann->take();
    cid->take();

    bob->socket.disconnectFromHost();
    QVERIFY(waitUntil([&] { return t.server.engine().currentSeat() == 3; }));
    // Not scored: straight to the next player with fresh letters.
    const QByteArray expected = wire("CMD_playerdisconnected+2+Bob") + wire("CMD_nextplayer+3")
                                + diceWire(t, 3, "false", 10);
    EXPECT_WIRE(ann, expected);
    EXPECT_WIRE(cid, expected);
    QCOMPARE(t.server.engine().seat(2).score, 0);
    QCOMPARE(t.server.engine().turnCounter(), 64);
}

void TestServerGame::nobodyLeftToPlayEndsGame()
{
    Table t;
    RawClient *ann = t.join("Ann");
    RawClient *bob = t.join("Bob");
    QVERIFY(ann && bob);
    QVERIFY(t.start(ann, gameOptions(5000)));
    QVERIFY(t.send(ann, protocol::justWatch(1, 1))); // ends her turn at the next second
    QCOMPARE(t.server.engine().turnCounter(), 1);
    t.nextTurn();
    QCOMPARE(t.server.engine().currentSeat(), 2);
    QVERIFY(t.fence());
    ann->take();

    bob->socket.disconnectFromHost();
    QVERIFY(waitUntil([&] { return !t.server.player(2).open; }));
    QVERIFY(!t.server.engine().gameRunning());
    QVERIFY(!t.server.engine().clockEnabled());
    for (int i = 0; i < 10; ++i)
        t.server.engine().Timer1Timer();
    QVERIFY(t.fence());
    QCOMPARE(ann->take(), wire("CMD_playerdisconnected+2+Bob"));

    // A new start works as usual.
    RawClient *cid = t.join("Cid");
    QVERIFY(cid);
    QVERIFY(t.start(ann, gameOptions(5000)));
    QVERIFY(t.server.engine().gameRunning());
    QCOMPARE(t.server.engine().currentSeat(), 1);
}

QTEST_GUILESS_MAIN(TestServerGame)
#include "tst_servergame.moc"
