// Connections, login, relays, removal and watching, seen as bytes on the wire.

#include "serverharness.h"

#include "net/zwonkyerror.h"
#include "session/clientsession.h"

#include <QFile>
#include <QSignalSpy>
#include <QTcpServer>

using namespace zwonky;
using namespace zwonky::testing;

namespace {
// The process's resident anonymous memory (its heap and the like) as the
// system counts it, in KiB.
qint64 anonymousMemoryKiB()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("RssAnon:"))
            return line.mid(8).simplified().split(' ').value(0).toLongLong();
    }
    return -1;
}
} // namespace

class TestServerForm : public QObject
{
    Q_OBJECT
private slots:
    void seatsAreOfferedLowestFirst();
    void freedSeatIsReused();
    void tenthConnectionIsRefused();
    void loginAnnouncesAndIntroduces();
    void wrongVersionIsReportedButAdmitted();
    void nameMayContainPlus();
    void relaysReachEveryOpenSeat_data();
    void relaysReachEveryOpenSeat();
    void longNameAndLinesKeepEveryClient();
    void hostKicks();
    void kickFromSeat2IsIgnored();
    void forgedOrBadSeatsAreIgnored_data();
    void forgedOrBadSeatsAreIgnored();
    void watchRules();
    void hostDecidesWatchingForOthers();
    void newcomerCatchesUpDuringGame();
    void newcomerSeesTheLettersInPlay();
    void endlessMessageClosesConnection();
    void readerThatStopsReadingIsLetGo();
    void floodingConnectionIsLetGo();
    void departedConnectionsQueueIsDropped();
    void seatOneIsKeptForTheHost();
    void silentConnectionIsClosedAfterLoginTimeout();
    void fewLoginsMayWaitPerAddress();
    void connectionChurnLeavesNoMemoryBehind();
    void portInUseIsReported();
};

void TestServerForm::seatsAreOfferedLowestFirst()
{
    Table t;
    for (int expected = 1; expected <= 3; ++expected) {
        RawClient *c = t.connectRaw();
        EXPECT_WIRE(c, wire("CMD_sendlogininfo+" + QByteArray::number(expected)));
    }
    QCOMPARE(t.server.seatsInUse(), 3);
}

void TestServerForm::freedSeatIsReused()
{
    Table t;
    RawClient *ann = t.join("Ann");
    RawClient *bob = t.join("Bob");
    RawClient *cid = t.join("Cid");
    QVERIFY(ann && bob && cid);
    bob->socket.disconnectFromHost();
    EXPECT_WIRE(ann, wire("CMD_playerdisconnected+2+Bob"));
    EXPECT_WIRE(cid, wire("CMD_playerdisconnected+2+Bob"));
    QVERIFY(!t.server.player(2).open);
    QVERIFY(t.server.player(2).name.isEmpty());

    RawClient *dee = t.arrive();
    QVERIFY(dee);
    QCOMPARE(dee->seat, 2);
    QCOMPARE(t.server.seatsInUse(), 3);
}

void TestServerForm::tenthConnectionIsRefused()
{
    Table t;
    std::vector<RawClient *> nine;
    for (int i = 1; i <= 9; ++i) {
        RawClient *c = t.join(QStringLiteral("P%1").arg(i));
        QVERIFY(c);
        QCOMPARE(c->seat, i);
        nine.push_back(c);
    }
    RawClient *tenth = t.connectRaw();
    EXPECT_WIRE(tenth, wire("CMD_full+"));
    QTRY_VERIFY(tenth->isClosed());
    QCOMPARE(t.server.seatsInUse(), 9);

    // The nine are untouched: nothing reached them but the fence.
    QVERIFY(t.fence());
    for (RawClient *c : nine) {
        QVERIFY(!c->isClosed());
        QCOMPARE(c->take(), QByteArray());
    }
}

void TestServerForm::loginAnnouncesAndIntroduces()
{
    Table t;
    RawClient *ann = t.join("Ann");
    RawClient *bob = t.join("Bob");
    RawClient *cid = t.arrive();
    QVERIFY(ann && bob && cid);
    QCOMPARE(cid->seat, 3);
    cid->name = "Cid";
    QVERIFY(t.send(cid, protocol::loginInfo(3, "1.0.7", "Cid")));
    EXPECT_WIRE(ann, wire("CMD_newplayerinfo+3+Cid"));
    EXPECT_WIRE(bob, wire("CMD_newplayerinfo+3+Cid"));
    EXPECT_WIRE(cid, wire("CMD_newplayerinfo+3+Cid") + wire("CMD_existingplayers+1+Ann")
                                    + wire("CMD_existingplayers+2+Bob"));
    QCOMPARE(t.server.player(3).name, QString("Cid"));
}

void TestServerForm::wrongVersionIsReportedButAdmitted()
{
    Table t;
    RawClient *ann = t.join("Ann");
    RawClient *bob = t.arrive();
    QVERIFY(ann && bob);
    bob->name = "Bob";
    QVERIFY(t.send(bob, protocol::loginInfo(2, "1.0.6", "Bob")));
    EXPECT_WIRE(ann, wire("CMD_newplayerinfo+2+Bob") + wire("CMD_havewrongversion+Bob"));
    EXPECT_WIRE(bob, wire("CMD_newplayerinfo+2+Bob") + wire("CMD_existingplayers+1+Ann")
                                    + wire("CMD_wrongversion+"));
    QVERIFY(t.server.player(2).open);
    QCOMPARE(t.server.player(2).name, QString("Bob"));
}

void TestServerForm::nameMayContainPlus()
{
    Table t;
    RawClient *ann = t.join("Ann");
    RawClient *ab = t.arrive();
    QVERIFY(ann && ab);
    QVERIFY(t.send(ab, QByteArray("CMD_logininfo+2+1.0.7+A+B") + T + T));
    EXPECT_WIRE(ann, wire("CMD_newplayerinfo+2+A+B"));
    QCOMPARE(t.server.player(2).name, QString("A+B"));
}

void TestServerForm::relaysReachEveryOpenSeat_data()
{
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QByteArray>("relayed");
    QTest::newRow("chat") << wire("CMD_chat+2+hello there|clBlack")
                          << wire("CMD_chat+Bob chats: hello there|clBlack");
    QTest::newRow("chat keeps plus signs") << wire("CMD_chat+2+1+1=2|$00FF0000")
                                           << wire("CMD_chat+Bob chats: 1+1=2|$00FF0000");
    QTest::newRow("action") << wire("CMD_action+2+waves|clRed")
                            << wire("CMD_action+Bob waves|clRed");
    QTest::newRow("phrase") << wire("CMD_action+2+says: Good game!|clBlue")
                            << wire("CMD_action+Bob says: Good game!|clBlue");
    QTest::newRow("sound") << wire("CMD_playasound+2+wave3+")
                           << wire("CMD_playasound+2+wave3+");
}

void TestServerForm::relaysReachEveryOpenSeat()
{
    QFETCH(QByteArray, sent);
    QFETCH(QByteArray, relayed);
    Table t;
    RawClient *ann = t.join("Ann");
    RawClient *bob = t.join("Bob");
    RawClient *watcher = t.join("Wes");
    RawClient *silent = t.arrive(); // accepted, not logged in: still open
    QVERIFY(ann && bob && watcher && silent);
    QVERIFY(t.send(bob, sent));
    for (RawClient *c : {ann, bob, watcher, silent})
        EXPECT_WIRE(c, relayed);
}

void TestServerForm::longNameAndLinesKeepEveryClient()
{
    Table t;
    RawClient *host = t.join("Host");
    ClientSession ann; // a real client: it closes at a message it cannot take
    ann.setPlayerName("Ann");
    QSignalSpy lines(&ann, &ClientSession::chatReceived);
    ann.connectToHost("127.0.0.1", QString::number(t.server.listeningPort()));
    QVERIFY(waitUntil([&] { t.drain(); return t.server.player(2).loggedIn; }, 20000));
    // The longest name and lines one message may carry, relayed together.
    RawClient *mal = t.join(QString(60000, 'N'));
    QVERIFY(host && mal && waitUntil([&] { return lines.size() == 1; })); // the join's fence
    for (int round = 0; round < 3; ++round) {
        QVERIFY(t.send(mal, protocol::chat(mal->seat, QString(60000, 'x'), "clRed")));
        QVERIFY(t.send(mal, protocol::action(mal->seat, QString(60000, 'y'), "clRed")));
    }
    QVERIFY(waitUntil([&] { return lines.size() == 7 || ann.isClosed(); }, 20000));
    QVERIFY(!ann.isClosed() && !host->isClosed() && !mal->isClosed());
    QVERIFY(lines.at(1).at(0).toString().startsWith(QString(60000, 'N') + " chats: xxx"));
    for (const QByteArray &message : split(host->received))
        QVERIFY(message.size() <= protocol::MaxMessageLength);
}

void TestServerForm::hostKicks()
{
    Table t;
    RawClient *ann = t.join("Ann");
    RawClient *bob = t.join("Bob");
    RawClient *cid = t.join("Cid");
    QVERIFY(ann && bob && cid);
    QVERIFY(t.send(ann, protocol::kickHim(1, 2)));
    QTRY_VERIFY(bob->isClosed());
    EXPECT_WIRE(ann, wire("CMD_playerdisconnected+2+Bob"));
    EXPECT_WIRE(cid, wire("CMD_playerdisconnected+2+Bob"));
    QVERIFY(!t.server.player(2).open);
}

void TestServerForm::kickFromSeat2IsIgnored()
{
    Table t;
    RawClient *ann = t.join("Ann");
    RawClient *bob = t.join("Bob");
    RawClient *cid = t.join("Cid");
    QVERIFY(ann && bob && cid);
    QVERIFY(t.send(bob, protocol::kickHim(2, 3)));
    QVERIFY(t.send(bob, protocol::kickHim(2, 1)));
    QVERIFY(t.fence());
    for (RawClient *c : {ann, bob, cid}) {
        QVERIFY(!c->isClosed());
        QCOMPARE(c->take(), QByteArray());
    }
    QVERIFY(t.server.player(1).open && t.server.player(3).open);
}

void TestServerForm::forgedOrBadSeatsAreIgnored_data()
{
    QTest::addColumn<QByteArray>("sent"); // sent by Bob, who sits in seat 2
    QTest::newRow("chat as the host") << wire("CMD_chat+1+I am Ann|clBlack");
    QTest::newRow("action as seat 3") << wire("CMD_action+3+dances|clBlack");
    QTest::newRow("sound as the host") << wire("CMD_playasound+1+wave2+");
    QTest::newRow("kick as the host") << wire("CMD_kickhim+1+3+");
    QTest::newRow("start as the host") << wire("CMD_startgame+1+f+5000+60+2000+t+f+f+");
    QTest::newRow("start from seat 2") << wire("CMD_startgame+2+f+5000+60+2000+t+f+f+");
    QTest::newRow("make the host watch") << wire("CMD_justwatch+1+1");
    QTest::newRow("make seat 3 watch") << wire("CMD_justwatch+3+1");
    QTest::newRow("seat above the table") << wire("CMD_chat+12+hi|clBlack");
    QTest::newRow("seat zero") << wire("CMD_chat+0+hi|clBlack");
    QTest::newRow("negative seat") << wire("CMD_chat+-1+hi|clBlack");
    QTest::newRow("seat not a number") << wire("CMD_chat+two+hi|clBlack");
    QTest::newRow("huge seat") << wire("CMD_chat+99999999999999+hi|clBlack");
    QTest::newRow("login for another seat") << wire("CMD_logininfo+3+1.0.7+Mallory");
    QTest::newRow("no arguments") << wire("CMD_chat+");
    QTest::newRow("no plus at all") << wire("CMD_chat");
    QTest::newRow("unknown command") << wire("CMD_CHAT+2+hi|clBlack");
    QTest::newRow("watch state not a number") << wire("CMD_justwatch+2+x");
    QTest::newRow("done without a game") << wire("CMD_done+2+1+2+3");
}

void TestServerForm::forgedOrBadSeatsAreIgnored()
{
    QFETCH(QByteArray, sent);
    Table t;
    RawClient *ann = t.join("Ann");
    RawClient *bob = t.join("Bob");
    RawClient *cid = t.join("Cid");
    QVERIFY(ann && bob && cid);
    QVERIFY(t.send(bob, sent));
    QVERIFY(t.fence());
    for (RawClient *c : {ann, bob, cid}) {
        QVERIFY(!c->isClosed());
        QCOMPARE(c->take(), QByteArray());
    }
    QVERIFY(!t.server.engine().gameRunning());
    QCOMPARE(t.server.player(3).name, QString("Cid"));
    QVERIFY(!t.server.engine().seat(1).watching && !t.server.engine().seat(3).watching);

    // The same request from the connection it names goes through.
    QVERIFY(t.send(bob, wire("CMD_chat+2+still here|clBlack")));
    EXPECT_WIRE(ann, wire("CMD_chat+Bob chats: still here|clBlack"));
}

void TestServerForm::watchRules()
{
    Table t;
    RawClient *ann = t.join("Ann");
    QVERIFY(ann);
    // The only player among seats 1-4 cannot sit out.
    QVERIFY(t.send(ann, protocol::justWatch(1, 1)));
    QVERIFY(t.fence());
    QCOMPARE(ann->take(), QByteArray());
    QVERIFY(!t.server.engine().seat(1).watching);
    RawClient *bob = t.join("Bob");
    QVERIFY(bob);

    QVERIFY(t.send(bob, protocol::justWatch(2, 1)));
    EXPECT_WIRE(ann, wire("CMD_justwatching+2+1"));
    EXPECT_WIRE(bob, wire("CMD_justwatching+2+1"));
    QVERIFY(t.server.engine().seat(2).watching);

    // Now Ann is the only one left playing.
    QVERIFY(t.send(ann, protocol::justWatch(1, 1)));
    QVERIFY(t.fence());
    QCOMPARE(ann->take(), QByteArray());

    QVERIFY(t.send(bob, protocol::justWatch(2, 2)));
    EXPECT_WIRE(ann, wire("CMD_justwatching+2+2"));
    EXPECT_WIRE(bob, wire("CMD_justwatching+2+2"));
    QVERIFY(!t.server.engine().seat(2).watching);

    // Seats above 6 only watch anyway.
    RawClient *seats[5];
    for (int i = 0; i < 5; ++i) {
        seats[i] = t.join(QStringLiteral("S%1").arg(i + 3));
        QVERIFY(seats[i]);
    }
    RawClient *seven = seats[4];
    QCOMPARE(seven->seat, 7);
    QVERIFY(t.send(seven, protocol::justWatch(7, 1)));
    QVERIFY(t.fence());
    QCOMPARE(ann->take(), QByteArray());

    // A watcher who leaves is not watching when his seat is reused.
    QVERIFY(t.send(bob, protocol::justWatch(2, 1)));
    QVERIFY(t.server.engine().seat(2).watching);
    bob->socket.disconnectFromHost();
    QTRY_VERIFY(!t.server.player(2).open);
    QVERIFY(!t.server.engine().seat(2).watching);
}

void TestServerForm::hostDecidesWatchingForOthers()
{
    Table t;
    RawClient *ann = t.join("Ann");
    RawClient *bob = t.join("Bob");
    RawClient *cid = t.join("Cid");
    QVERIFY(ann && bob && cid);
    QVERIFY(t.send(ann, protocol::justWatch(3, 1)));
    for (RawClient *c : {ann, bob, cid})
        EXPECT_WIRE(c, wire("CMD_justwatching+3+1"));
    QVERIFY(t.server.engine().seat(3).watching);
    QVERIFY(t.send(ann, protocol::justWatch(3, 2)));
    for (RawClient *c : {ann, bob, cid})
        EXPECT_WIRE(c, wire("CMD_justwatching+3+2"));
}

void TestServerForm::newcomerCatchesUpDuringGame()
{
    Table t;
    RawClient *ann = t.join("Ann");
    RawClient *bob = t.join("Bob");
    QVERIFY(ann && bob);
    QVERIFY(t.start(ann, gameOptions(5000, false, 90, 2500)));
    t.nextTurn(); // Ann's turn passes without words; Bob's begins
    QCOMPARE(t.server.engine().currentSeat(), 2);
    QVERIFY(t.fence());
    ann->take();
    bob->take();

    RawClient *cid = t.connectRaw();
    EXPECT_WIRE(cid, wire("CMD_sendlogininfo+3"));
    cid->seat = 3;
    cid->name = "Cid";
    QVERIFY(t.send(cid, protocol::loginInfo(3, "1.0.7", "Cid")));

    QByteArray expected = wire("CMD_newplayerinfo+3+Cid") + wire("CMD_existingplayers+1+Ann")
                          + wire("CMD_existingplayers+2+Bob")
                          + wire("CMD_stats+2+f+5000+90+2500+t+f+f+");
    for (int seat = 1; seat <= 6; ++seat)
        expected += wire("CMD_loadscores+" + QByteArray::number(seat) + "+0");
    expected += protocol::theDice(2, "false", t.server.engine().currentSet().mid(0, 10));
    EXPECT_WIRE(cid, expected);
    EXPECT_WIRE(ann, wire("CMD_newplayerinfo+3+Cid"));
}

void TestServerForm::newcomerSeesTheLettersInPlay()
{
    // Normal game: the current player bought new tiles, so those are shown.
    {
        Table t;
        RawClient *ann = t.join("Ann");
        RawClient *bob = t.join("Bob");
        QVERIFY(ann && bob);
        QVERIFY(t.start(ann, gameOptions(5000)));
        QVERIFY(t.send(ann, protocol::newTilesRequest(1)));
        RawClient *cid = t.arrive();
        QVERIFY(cid);
        QVERIFY(t.send(cid, protocol::loginInfo(3, "1.0.7", "Cid")));
        QVERIFY(t.fence());
        const QByteArray got = cid->take();
        QVERIFY(got.contains(wire("CMD_loadscores+1+-300")));
        QVERIFY(got.endsWith(protocol::theDice(1, "false", t.server.engine().alternativeSet().mid(0, 10))));
    }
    // Fast game: the newcomer is shown his own seat, or seat 1 from a
    // watching seat above 6.
    {
        Table t;
        std::vector<RawClient *> p;
        for (int i = 1; i <= 6; ++i) {
            p.push_back(t.join(QStringLiteral("P%1").arg(i)));
            QVERIFY(p.back());
        }
        QVERIFY(t.start(p[0], gameOptions(5000, true)));
        RawClient *seven = t.arrive();
        QVERIFY(seven);
        QCOMPARE(seven->seat, 7);
        QVERIFY(t.send(seven, protocol::loginInfo(7, "1.0.7", "Sam")));
        QVERIFY(t.fence());
        const QByteArray got = seven->take();
        QVERIFY(got.contains(wire("CMD_stats+1+f+5000+60+2000+t+f+t+")));
        QVERIFY(got.endsWith(protocol::theDice(1, "false", t.server.engine().currentSet().mid(0, 10))));

        p[2]->socket.disconnectFromHost(); // seat 3 frees up mid-turn
        QVERIFY(waitUntil([&] { return !t.server.player(3).open; }));
        RawClient *three = t.arrive();
        QVERIFY(three);
        QCOMPARE(three->seat, 3);
        QVERIFY(t.send(three, protocol::loginInfo(3, "1.0.7", "Tia")));
        QVERIFY(t.fence());
        const QByteArray tia = three->take();
        QVERIFY(tia.contains(wire("CMD_stats+3+f+5000+60+2000+t+f+t+")));
        QVERIFY(tia.endsWith(protocol::theDice(3, "false", t.server.engine().currentSet().mid(0, 10))));
    }
}

void TestServerForm::endlessMessageClosesConnection()
{
    Table t;
    RawClient *ann = t.join("Ann");
    RawClient *bob = t.join("Bob");
    QVERIFY(ann && bob);
    bob->write(QByteArray(70 * 1024, 'x'));
    QTRY_VERIFY(bob->isClosed());
    EXPECT_WIRE(ann, wire("CMD_playerdisconnected+2+Bob"));
    QCOMPARE(t.server.pump().queued(), std::size_t(0));
}

void TestServerForm::readerThatStopsReadingIsLetGo()
{
    Table t;
    RawClient *ann = t.join("Ann");
    RawClient *bob = t.join("Bob");
    RawClient *cid = t.join("Cid");
    QVERIFY(ann && bob && cid);
    bob->stopReading();

    // Ann talks, one long line at a time; Ann and Cid take each relay before
    // the next line, Bob takes nothing, so only his output waits.
    const QString text(30000, QLatin1Char('w'));
    const QByteArray relay = protocol::chatRelay("Ann", text + "|clBlack");
    qsizetype lines = 0;
    while (t.server.player(2).open && lines < 1000) {
        QVERIFY(t.send(ann, protocol::chat(1, text, "clBlack")));
        ++lines;
        for (RawClient *reader : {ann, cid})
            QVERIFY(waitUntil([&] { return reader->received.size() >= lines * relay.size(); }));
    }
    QVERIFY2(!t.server.player(2).open, "the reader that stopped was never let go");
    QVERIFY(t.server.player(2).name.isEmpty());

    // The others play on and got every line, then the departure.
    QByteArray expected;
    for (qsizetype i = 0; i < lines; ++i)
        expected += relay;
    expected += wire("CMD_playerdisconnected+2+Bob");
    EXPECT_WIRE(ann, expected);
    EXPECT_WIRE(cid, expected);
    QVERIFY(t.fence());
    QVERIFY(t.server.player(1).open && t.server.player(3).open);
    // The seat is free for the next one.
    RawClient *dee = t.arrive();
    QVERIFY(dee);
    QCOMPARE(dee->seat, 2);
}

void TestServerForm::floodingConnectionIsLetGo()
{
    Table t;
    RawClient *ann = t.join("Ann");
    RawClient *bob = t.join("Bob");
    RawClient *cid = t.arrive();
    QVERIFY(ann && bob && cid);

    // Bob sends far more than his share at once while Cid logs in; the
    // queue is not drained meanwhile.
    QByteArray flood;
    for (std::size_t i = 0; i < 2 * TServer::MaxQueuedPerConnection; ++i)
        flood += protocol::chat(2, "spam", "clBlack");
    const QByteArray login = protocol::loginInfo(3, "1.0.7", "Cid");
    const auto loginEntries = std::size_t(login.count(T));
    bob->write(flood);
    cid->write(login);
    QVERIFY(waitUntil([&] {
        return !t.server.player(2).open && t.server.pump().queued() >= loginEntries;
    }));
    QTRY_VERIFY(bob->isClosed());
    QCOMPARE(t.server.pump().queued(), loginEntries); // only Cid's login is left
    t.drain();

    EXPECT_WIRE(ann, wire("CMD_playerdisconnected+2+Bob") + wire("CMD_newplayerinfo+3+Cid"));
    EXPECT_WIRE(cid, wire("CMD_playerdisconnected+2+Bob") + wire("CMD_newplayerinfo+3+Cid")
                         + wire("CMD_existingplayers+1+Ann"));
    QCOMPARE(t.server.player(3).name, QString("Cid"));
}

void TestServerForm::departedConnectionsQueueIsDropped()
{
    Table t;
    RawClient *ann = t.join("Ann");
    RawClient *bob = t.join("Bob");
    QVERIFY(ann && bob);
    // Bob's last messages are still waiting when he leaves, and Dee takes
    // his seat before they come up.
    bob->write(protocol::chat(2, "last words", "clBlack") + protocol::justWatch(2, 1)
               + protocol::playASoundRequest(2, 3));
    QVERIFY(waitUntil([&] { return t.server.pump().queued() >= 3; }));
    bob->socket.disconnectFromHost();
    QVERIFY(waitUntil([&] { return !t.server.player(2).open; }));
    RawClient *dee = t.arrive();
    QVERIFY(dee);
    QCOMPARE(dee->seat, 2);
    t.drain();
    dee->name = "Dee";
    QVERIFY(t.send(dee, protocol::loginInfo(2, "1.0.7", "Dee")));

    // Nothing of Bob's was relayed or done for Dee.
    QVERIFY(t.fence());
    QCOMPARE(ann->take(), wire("CMD_playerdisconnected+2+Bob") + wire("CMD_newplayerinfo+2+Dee"));
    QCOMPARE(dee->take(), wire("CMD_newplayerinfo+2+Dee") + wire("CMD_existingplayers+1+Ann"));
    QVERIFY(!t.server.engine().seat(2).watching);
}

void TestServerForm::seatOneIsKeptForTheHost()
{
    Table t;
    // The host's own client knows its port before anything can connect.
    QByteArray offer;
    QTcpSocket own;
    QVERIFY(own.bind(QHostAddress::LocalHost, 0));
    t.server.reserveHostSeat(own.localPort());

    // A connect loop gets in first: seat 1 is not for it.
    RawClient *eve = t.arrive();
    RawClient *mal = t.arrive();
    QVERIFY(eve && mal);
    QCOMPARE(eve->seat, 2);
    QCOMPARE(mal->seat, 3);
    eve->socket.disconnectFromHost();
    QVERIFY(waitUntil([&] { return !t.server.player(2).open; }));
    RawClient *again = t.arrive();
    QVERIFY(again);
    QCOMPARE(again->seat, 2);
    QVERIFY(!t.server.player(1).open);

    // The host's client arrives last and still gets seat 1, with its powers.
    QObject::connect(&own, &QTcpSocket::readyRead, [&] { offer += own.readAll(); });
    own.connectToHost(QHostAddress::LocalHost, t.server.listeningPort());
    QVERIFY(waitUntil([&] { return offer.endsWith(T); }));
    QCOMPARE(offer, wire("CMD_sendlogininfo+1"));
    QVERIFY(t.server.player(1).open);
    own.write(protocol::loginInfo(1, "1.0.7", "Ann") + protocol::kickHim(1, 3));
    own.flush();
    QVERIFY(waitUntil([&] { return t.server.pump().queued() >= 2; }));
    t.drain();
    QTRY_VERIFY(mal->isClosed());
    QVERIFY(!t.server.player(3).open);
}

void TestServerForm::silentConnectionIsClosedAfterLoginTimeout()
{
    Table t;
    const auto seconds = [&t](int count) {
        for (int i = 0; i < count; ++i)
            t.server.logintimerTimer();
    };
    const int timeout = TServer::LoginTimeoutSeconds;
    RawClient *ann = t.join("Ann");
    RawClient *quiet = t.arrive();
    RawClient *slow = t.arrive();
    QVERIFY(ann && quiet && slow);
    seconds(timeout - 10);
    // Seat 4, ten seconds after the others, from another address: two
    // already wait from theirs.
    RawClient *late = t.arrive(QHostAddress(QStringLiteral("127.0.0.2")));
    QVERIFY(late);
    QCOMPARE(late->seat, 4);
    seconds(9);
    // A login in the last second is in time.
    slow->name = "Sly";
    QVERIFY(t.send(slow, protocol::loginInfo(3, "1.0.7", "Sly")));
    QVERIFY(!quiet->isClosed());

    seconds(1); // the time is up for seat 2
    QTRY_VERIFY(quiet->isClosed());
    QVERIFY(!t.server.player(2).open);
    QVERIFY(t.server.player(3).open && t.server.player(4).open);
    EXPECT_WIRE(ann, wire("CMD_newplayerinfo+3+Sly") + wire("CMD_playerdisconnected+2+"));

    // The later one has its own time; the logged-in ones stay for good.
    seconds(timeout - 11);
    QVERIFY(t.server.player(4).open);
    seconds(1);
    QTRY_VERIFY(late->isClosed());
    seconds(2 * timeout);
    QVERIFY(t.fence());
    QVERIFY(!ann->isClosed() && !slow->isClosed());
    QVERIFY(t.server.player(1).open && t.server.player(3).open);
}

void TestServerForm::fewLoginsMayWaitPerAddress()
{
    Table t;
    RawClient *ann = t.join("Ann");
    RawClient *first = t.arrive();
    RawClient *second = t.arrive();
    RawClient *third = t.connectRaw(); // a third silent one goes at once, offered nothing
    QTRY_VERIFY(third->isClosed());
    QVERIFY(ann && first && second && third->received.isEmpty());
    // Another address has its own share; a login or a close frees a place.
    RawClient *elsewhere = t.arrive(QHostAddress("127.0.0.2"));
    QVERIFY(t.send(first, protocol::loginInfo(first->seat, "1.0.7", "Fay")));
    RawClient *fourth = t.arrive();
    second->socket.disconnectFromHost();
    QVERIFY(waitUntil([&] { return !t.server.player(3).open; }));
    RawClient *fifth = t.arrive();
    QVERIFY(elsewhere && fourth && fifth);
    QCOMPARE(QList<int>({elsewhere->seat, fourth->seat, fifth->seat}), QList<int>({4, 5, 3}));
}

void TestServerForm::connectionChurnLeavesNoMemoryBehind()
{
    // Thousands come and go, every third logging in and chatting. A closed
    // connection kept until a timer let it go grew this by about 20 MiB.
    Table t;
    const auto visit = [&t](int number) {
        RawClient *c = t.arrive();
        if (!c || (number % 3 == 0 && !t.send(c, protocol::loginInfo(c->seat, "1.0.7", "V")
                                                     + protocol::chat(c->seat, "hi", "clRed"))))
            return false;
        const int seat = c->seat;
        c->socket.disconnectFromHost();
        t.clients.pop_back();
        return waitUntil([&] { return !t.server.player(seat).open; });
    };
    for (int i = 0; i < 300; ++i) // the network layer's and the heap's first allocations stay
        QVERIFY(visit(i));
    const qint64 before = anonymousMemoryKiB();
    for (int i = 0; i < 2500; ++i)
        QVERIFY(visit(i));
    const qint64 grown = anonymousMemoryKiB() - before;
    QVERIFY2(before > 0 && grown < 4096, qPrintable(QString("grew by %1 KiB").arg(grown)));
}

void TestServerForm::portInUseIsReported()
{
    QTcpServer occupant;
    QVERIFY(occupant.listen(QHostAddress::Any, 0));
    TServer server;
    server.setClockManual(true);
    try {
        server.startListening(QString::number(occupant.serverPort()));
        QFAIL("listening on a taken port succeeded");
    } catch (const ZwonkyError &e) {
        QCOMPARE(e.text(), QString("Listen - Error Binding Socket"));
    }
}

QTEST_GUILESS_MAIN(TestServerForm)
#include "tst_serverform.moc"
