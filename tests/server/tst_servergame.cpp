// The game engine over loopback: the clock is stepped by calling its tick,
// the dice come from a seeded generator, the word list is a test set.

#include "serverharness.h"

using namespace zwonky;
using namespace zwonky::testing;

namespace {

QList<QByteArray> split(const QByteArray &bytes)
{
    QList<QByteArray> list = bytes.split(T);
    if (!list.isEmpty() && list.last().isEmpty())
        list.removeLast();
    return list;
}

QList<QByteArray> withPrefix(const QByteArray &bytes, const QByteArray &prefix)
{
    QList<QByteArray> found;
    for (const QByteArray &m : split(bytes)) {
        if (m.startsWith(prefix))
            found.append(m);
    }
    return found;
}

QByteArray acceptedWire(const QString &word)
{
    return wire("CMD_accepted+" + QByteArray::number(word.size()) + "+" + word.toLatin1());
}

QByteArray rejectedWire(const QString &word, const QByteArray &reason)
{
    return wire("CMD_rejected+" + word.toLatin1() + reason);
}

QByteArray scoresWire(int seat, int points, int bonus, int words, int total, int partner = 0,
                      int partnerTotal = 0)
{
    return wire(QStringLiteral("CMD_scores+%1+%2+%3+%4+%5+%6+%7+")
                    .arg(seat)
                    .arg(points)
                    .arg(bonus)
                    .arg(words)
                    .arg(total)
                    .arg(partner)
                    .arg(partnerTotal)
                    .toLatin1());
}

QByteArray diceWire(const Table &t, int seat, const char *flag, int count, bool alternative = false)
{
    const QStringList &set = alternative ? t.server.engine().alternativeSet() : t.server.engine().currentSet();
    return protocol::theDice(seat, QString::fromLatin1(flag), set.mid(0, count));
}

// Dice spelling `count` different words of `length` letters from the seat's
// hand, none the plural of another or of a word already chosen.
QList<QList<int>> distinctWords(const Table &t, int seat, int length, int count, int hand,
                                QStringList &chosen)
{
    QList<QList<int>> result;
    QList<int> dice;
    std::function<void(int)> pick = [&](int from) {
        if (result.size() == count)
            return;
        if (dice.size() == length) {
            const QString w = t.spell(seat, dice);
            for (const QString &c : chosen) {
                if (c == w || c + "S" == w || w + "S" == c)
                    return;
            }
            chosen.append(w);
            result.append(dice);
            return;
        }
        for (int die = from; die <= hand; ++die) {
            dice.append(die);
            pick(die + 1);
            dice.removeLast();
        }
    };
    pick(1);
    return result;
}

} // namespace

class TestServerGame : public QObject
{
    Q_OBJECT
private slots:
    void startAnnouncesAndDealsToSeat1();
    void turnOrderSkipsWatcher();
    void tieAbovePlayToGoesOn();
    void turnAndPauseLengths_data();
    void turnAndPauseLengths();
    void newThenOldTilesCost600();
    void newTilesOffIsIgnored();
    void zwonkedSeatGetsThirteenInFastGame();
    void refusals_data();
    void refusals();
    void sixthWordOfALengthIsRefused();
    void pluralAndSingularOfOwnWords();
    void zwonkedPlayer();
    void turnHandedOnWhenCurrentLeaves();
    void nobodyLeftToPlayEndsGame();
    void teamGame();
    void tileMovesReachTheOthers();
    void fastFinishWaitsForEveryone();
    void requestsOutsideTheTurnAreIgnored();
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

void TestServerGame::turnOrderSkipsWatcher()
{
    Table t;
    t.acceptAll = true;
    RawClient *ann = t.join("Ann");
    RawClient *bob = t.join("Bob");
    RawClient *cid = t.join("Cid");
    RawClient *dee = t.join("Dee");
    QVERIFY(ann && bob && cid && dee);
    QVERIFY(t.start(ann, gameOptions(50)));
    QVERIFY(t.send(cid, protocol::justWatch(3, 1)));

    QList<int> order{t.server.engine().currentSeat()};
    t.nextTurn();
    order.append(t.server.engine().currentSeat());
    // Bob passes the play-to score in his turn ...
    QVERIFY(t.send(bob, protocol::done(2, {1, 2, 3})));
    t.nextTurn();
    order.append(t.server.engine().currentSeat());
    QVERIFY(t.server.engine().gameRunning()); // ... but the check waits for seat 1
    QCOMPARE(order, QList<int>({1, 2, 4}));
    QVERIFY(t.fence());
    QCOMPARE(withPrefix(cid->take(), "CMD_nextplayer"),
             QList<QByteArray>({"CMD_nextplayer+1", "CMD_nextplayer+2", "CMD_nextplayer+4"}));
    for (RawClient *c : {ann, bob, dee})
        c->take();

    t.nextTurn(); // Dee's turn ends; the turn comes back to seat 1
    QVERIFY(!t.server.engine().gameRunning());
    QVERIFY(!t.server.engine().clockEnabled());
    for (RawClient *c : {ann, bob, cid, dee})
        EXPECT_WIRE(c, scoresWire(4, 0, 0, 0, 0) + wire("CMD_turnend+") + wire("CMD_winner+Bob"));
}

void TestServerGame::tieAbovePlayToGoesOn()
{
    Table t;
    t.acceptAll = true;
    RawClient *ann = t.join("Ann");
    RawClient *bob = t.join("Bob");
    QVERIFY(ann && bob);
    QVERIFY(t.start(ann, gameOptions(50)));
    QVERIFY(t.send(ann, protocol::done(1, {1, 2, 3})));
    t.nextTurn();
    const QString bobsWord = t.spell(2, {1, 2, 3});
    QVERIFY(t.send(bob, protocol::done(2, {1, 2, 3})));
    t.nextTurn();
    // 60 each, both above 50: no winner, Ann plays again.
    QVERIFY(t.server.engine().gameRunning());
    QCOMPARE(t.server.engine().currentSeat(), 1);
    QVERIFY(t.fence());
    QVERIFY(bob->take().endsWith(acceptedWire(bobsWord) + scoresWire(2, 60, 0, 1, 60)
                                 + wire("CMD_turnend+") + wire("CMD_nextplayer+1")
                                 + diceWire(t, 1, "false", 10)));
    ann->take();

    QVERIFY(t.send(ann, protocol::done(1, {1, 2, 3, 4})));
    t.nextTurn();
    t.nextTurn();
    QVERIFY(!t.server.engine().gameRunning());
    QVERIFY(t.fence());
    for (RawClient *c : {ann, bob}) {
        QVERIFY(c->take().endsWith(scoresWire(2, 0, 0, 0, 60) + wire("CMD_turnend+")
                                   + wire("CMD_winner+Ann")));
    }
}

void TestServerGame::turnAndPauseLengths_data()
{
    QTest::addColumn<bool>("fast");
    QTest::addColumn<int>("players");
    QTest::addColumn<int>("timePerTurn");
    QTest::addColumn<int>("pause");
    QTest::newRow("normal game") << false << 2 << 60 << 5;
    QTest::newRow("normal game, long turns") << false << 3 << 120 << 5;
    QTest::newRow("fast, one seat") << true << 1 << 60 << 10;
    QTest::newRow("fast, two seats") << true << 2 << 90 << 15;
    QTest::newRow("fast, three seats") << true << 3 << 60 << 20;
    QTest::newRow("fast, four seats") << true << 4 << 60 << 25;
    QTest::newRow("fast, five seats") << true << 5 << 60 << 30;
}

void TestServerGame::turnAndPauseLengths()
{
    QFETCH(bool, fast);
    QFETCH(int, players);
    QFETCH(int, timePerTurn);
    QFETCH(int, pause);
    Table t;
    std::vector<RawClient *> seats;
    for (int i = 0; i < players; ++i) {
        seats.push_back(t.join(QStringLiteral("P%1").arg(i + 1)));
        QVERIFY(seats.back());
    }
    QVERIFY(t.start(seats[0], gameOptions(5000, fast, timePerTurn)));
    int turn = 0;
    while (t.server.engine().phase() == GameEngine::TurnRunning && turn < 1000) {
        t.server.engine().Timer1Timer();
        ++turn;
    }
    QCOMPARE(turn, timePerTurn + 4);
    QCOMPARE(t.server.engine().phase(), int(GameEngine::Pausing));
    QCOMPARE(t.nextTurn(), pause);
    QCOMPARE(t.server.engine().phase(), int(GameEngine::TurnRunning));
}

void TestServerGame::newThenOldTilesCost600()
{
    Table t;
    t.acceptAll = true;
    RawClient *ann = t.join("Ann");
    RawClient *bob = t.join("Bob");
    QVERIFY(ann && bob);
    QVERIFY(t.start(ann, gameOptions(5000)));
    QVERIFY(t.fence());
    ann->take();
    bob->take();

    QVERIFY(t.send(ann, protocol::newTilesRequest(1)));
    QVERIFY(t.send(ann, protocol::newTilesRequest(1))); // already holds new tiles
    QVERIFY(t.send(bob, protocol::newTilesRequest(2))); // not his turn
    const QByteArray newTiles = wire("CMD_newtiles+1+-300") + diceWire(t, 1, "new", 10, true);
    EXPECT_WIRE(ann, newTiles);
    EXPECT_WIRE(bob, newTiles);
    // Words are spelled from the new letters now.
    const QString onNew = t.spell(1, {1, 2, 3});
    QCOMPARE(onNew, t.server.engine().alternativeSet().mid(0, 3).join(""));
    QVERIFY(t.send(ann, protocol::done(1, {1, 2, 3})));
    EXPECT_WIRE(ann, acceptedWire(onNew));
    EXPECT_WIRE(bob, acceptedWire(onNew));

    QVERIFY(t.send(ann, protocol::oldTilesRequest(1)));
    QVERIFY(t.send(ann, protocol::oldTilesRequest(1))); // already back
    EXPECT_WIRE(ann, wire("CMD_oldtiles+1+-600") + diceWire(t, 1, "old", 10));
    // The watcher is shown the old letters too, or his board would keep the new ones.
    EXPECT_WIRE(bob, wire("CMD_oldtiles+1+-600") + diceWire(t, 1, "old", 10));

    QVERIFY(t.send(ann, protocol::newTilesRequest(1)));
    EXPECT_WIRE(ann, wire("CMD_newtiles+1+-900") + diceWire(t, 1, "new", 10, true));
    QCOMPARE(t.server.engine().seat(1).score, -900);
    QCOMPARE(t.server.engine().seat(2).score, 0);
}

void TestServerGame::newTilesOffIsIgnored()
{
    Table t;
    RawClient *ann = t.join("Ann");
    RawClient *bob = t.join("Bob");
    QVERIFY(ann && bob);
    protocol::GameOptionFields options = gameOptions(5000);
    options.newTiles = "f";
    QVERIFY(t.start(ann, options));
    QVERIFY(t.fence());
    ann->take();
    QVERIFY(t.send(ann, protocol::newTilesRequest(1)));
    QVERIFY(t.fence());
    QCOMPARE(ann->take(), QByteArray());
    QCOMPARE(t.server.engine().seat(1).score, 0);
}

void TestServerGame::zwonkedSeatGetsThirteenInFastGame()
{
    Table t;
    t.acceptAll = true;
    RawClient *ann = t.join("Ann");
    RawClient *bob = t.join("Bob");
    QVERIFY(ann && bob);
    QVERIFY(t.start(ann, gameOptions(5000, true, 60, 60)));
    QVERIFY(t.fence());
    ann->take();
    bob->take();

    const QString word = t.spell(1, {1, 2, 3});
    QVERIFY(t.send(ann, protocol::done(1, {1, 2, 3})));
    QVERIFY(t.send(ann, protocol::finish(1)));
    QCOMPARE(t.server.engine().turnCounter(), 64); // Bob plays on
    QVERIFY(t.send(bob, protocol::finish(2)));
    QCOMPARE(t.server.engine().turnCounter(), 1);
    QCOMPARE(t.nextTurn(), 15);

    const QByteArray addWord = wire("CMD_addaword+1+3+" + word.toLatin1());
    const QByteArray turnEnd = scoresWire(1, 60, 0, 1, 60) + scoresWire(2, 0, 0, 0, 0)
                               + wire("CMD_turnend+");
    EXPECT_WIRE(ann, acceptedWire(word) + addWord + turnEnd + wire("CMD_nextplayer+1")
                         + diceWire(t, 1, "true", 13));
    EXPECT_WIRE(bob, addWord + turnEnd + wire("CMD_nextplayer+2") + diceWire(t, 2, "false", 10));
    QVERIFY(t.server.engine().seat(1).zwonked);
    QVERIFY(!t.server.engine().seat(2).zwonked);
}

void TestServerGame::refusals_data()
{
    QTest::addColumn<QList<QList<int>>>("before");
    QTest::addColumn<QList<int>>("dice");
    QTest::addColumn<bool>("inList");
    QTest::addColumn<QByteArray>("reason");
    const QList<QList<int>> none;
    QTest::newRow("two letters") << none << QList<int>{1, 2} << true << QByteArray("+ Rejected");
    QTest::newRow("no letters") << none << QList<int>{} << true << QByteArray("+ Rejected");
    QTest::newRow("not in the list") << none << QList<int>{1, 2, 3} << false
                                     << QByteArray("+ Rejected");
    QTest::newRow("made already") << QList<QList<int>>{{4, 5, 6}} << QList<int>{4, 5, 6} << true
                                  << QByteArray("+ Rejected. Word Exists");
    QTest::newRow("die named twice") << none << QList<int>{1, 1, 2} << true
                                     << QByteArray("+ Rejected");
    QTest::newRow("die beyond a hand of ten") << none << QList<int>{1, 2, 11} << true
                                              << QByteArray("+ Rejected");
    QTest::newRow("die zero") << none << QList<int>{0, 1, 2} << true << QByteArray("+ Rejected");
    QTest::newRow("die fourteen") << none << QList<int>{1, 2, 14} << true
                                  << QByteArray("+ Rejected");
    QTest::newRow("eleven tiles") << none << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 1} << true
                                  << QByteArray("+ Rejected");
}

void TestServerGame::refusals()
{
    QFETCH(QList<QList<int>>, before);
    QFETCH(QList<int>, dice);
    QFETCH(bool, inList);
    QFETCH(QByteArray, reason);
    Table t;
    t.acceptAll = inList;
    RawClient *ann = t.join("Ann");
    RawClient *bob = t.join("Bob");
    QVERIFY(ann && bob);
    QVERIFY(t.start(ann, gameOptions(5000)));
    for (const QList<int> &earlier : before)
        QVERIFY(t.send(ann, protocol::done(1, earlier)));
    QVERIFY(t.fence());
    ann->take();
    bob->take();

    QVERIFY(t.send(ann, protocol::done(1, dice)));
    const QByteArray expected = rejectedWire(t.spell(1, dice), reason);
    EXPECT_WIRE(ann, expected);
    EXPECT_WIRE(bob, expected);
}

void TestServerGame::sixthWordOfALengthIsRefused()
{
    Table t;
    t.acceptAll = true;
    RawClient *ann = t.join("Ann");
    RawClient *bob = t.join("Bob");
    QVERIFY(ann && bob);
    QVERIFY(t.start(ann, gameOptions(5000)));
    QVERIFY(t.fence());
    ann->take();
    bob->take();
    QStringList chosen;
    const QList<QList<int>> six = distinctWords(t, 1, 4, 6, 10, chosen);
    QCOMPARE(six.size(), 6);
    QByteArray expected;
    for (int i = 0; i < 5; ++i) {
        QVERIFY(t.send(ann, protocol::done(1, six[i])));
        expected += acceptedWire(chosen[i]);
    }
    QVERIFY(t.send(ann, protocol::done(1, six[5])));
    expected += rejectedWire(chosen[5], "+ 4 letter box full!");
    EXPECT_WIRE(bob, expected);
    QCOMPARE(t.server.engine().seat(1).words.words(4), chosen.mid(0, 5));
}

void TestServerGame::pluralAndSingularOfOwnWords()
{
    Table t;
    t.acceptAll = true;
    RawClient *ann = t.join("Ann");
    RawClient *bob = t.join("Bob");
    QVERIFY(ann && bob);
    QVERIFY(t.start(ann, gameOptions(1000000)));
    // Play on until Ann is dealt an S.
    int sDie = 0;
    for (int round = 0; round < 60 && sDie == 0; ++round) {
        if (round > 0) {
            t.nextTurn();
            t.nextTurn();
        }
        sDie = int(t.server.engine().currentSet().mid(0, 10).indexOf("S")) + 1;
    }
    QVERIFY(sDie > 0);
    QList<int> others;
    for (int die = 1; die <= 10; ++die) {
        if (die != sDie)
            others.append(die);
    }
    QVERIFY(t.fence());
    bob->take();

    const QList<int> single{others[0], others[1], others[2]};
    const QList<int> plural = single + QList<int>{sDie};
    const QList<int> single2{others[3], others[4], others[5]};
    const QList<int> plural2 = single2 + QList<int>{sDie};
    const QString w = t.spell(1, single), w2 = t.spell(1, single2);
    QVERIFY(w != w2);
    QVERIFY(t.send(ann, protocol::done(1, single)));
    QVERIFY(t.send(ann, protocol::done(1, plural)));
    QVERIFY(t.send(ann, protocol::done(1, plural2)));
    QVERIFY(t.send(ann, protocol::done(1, single2)));
    EXPECT_WIRE(bob, acceptedWire(w) + rejectedWire(w + "S", "+ Rejected. Singular form exists")
                         + acceptedWire(w2 + "S")
                         + rejectedWire(w2, "+ Rejected. Plural form exists"));
}

void TestServerGame::zwonkedPlayer()
{
    Table t;
    t.acceptAll = true;
    RawClient *ann = t.join("Ann");
    RawClient *bob = t.join("Bob");
    QVERIFY(ann && bob);
    // Zwonked at 0: every seat is zwonked after its first scoring.
    QVERIFY(t.start(ann, gameOptions(100000, false, 60, 0)));
    t.nextTurn();
    t.nextTurn();
    QCOMPARE(t.server.engine().currentSeat(), 1);
    QVERIFY(t.server.engine().seat(1).zwonked);
    QVERIFY(t.fence());
    QCOMPARE(split(ann->take()).last(), split(diceWire(t, 1, "true", 13)).first());
    bob->take();

    // No three-letter words; dice 11-13 are in the hand now.
    QVERIFY(t.send(ann, protocol::done(1, {11, 12, 13})));
    EXPECT_WIRE(bob, rejectedWire(t.spell(1, {11, 12, 13}), "+ Rejected"));

    // Five four-letter and two five-letter words: 200 + 250 = 450 points.
    QStringList chosen{t.spell(1, {10, 11, 12, 13})};
    QList<QList<int>> words{{10, 11, 12, 13}};
    words += distinctWords(t, 1, 4, 4, 13, chosen);
    words += distinctWords(t, 1, 5, 2, 13, chosen);
    QCOMPARE(words.size(), 7);
    QByteArray expected;
    for (int i = 0; i < 7; ++i) {
        QVERIFY(t.send(ann, protocol::done(1, words[i])));
        expected += acceptedWire(chosen[i]);
    }
    EXPECT_WIRE(bob, expected);
    t.nextTurn();
    QVERIFY(t.fence());
    const QList<QByteArray> got = split(bob->take());
    QCOMPARE(got.first(), split(scoresWire(1, 450, -500, 7, -500)).first());
    // Below the mark again: back to ten letters.
    QVERIFY(!t.server.engine().seat(1).zwonked);
    t.nextTurn();
    QCOMPARE(t.server.engine().currentSeat(), 1);
    QVERIFY(t.fence());
    QCOMPARE(split(ann->take()).last(), split(diceWire(t, 1, "false", 10)).first());
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

void TestServerGame::teamGame()
{
    Table t;
    t.acceptAll = true;
    std::vector<RawClient *> p;
    for (const char *name : {"Ann", "Bob", "Cid", "Dee", "Eve", "Fay"}) {
        p.push_back(t.join(name));
        QVERIFY(p.back());
    }
    protocol::GameOptionFields options = gameOptions(50);
    options.team = "t";
    QVERIFY(t.start(p[0], options));
    QVERIFY(t.server.engine().teamGame());
    QVERIFY(t.fence());
    QVERIFY(p[4]->take().startsWith("CMD_startgame+Ann+t+50+60+2000+t+f+f+\xFF"));

    QVERIFY(t.send(p[0], protocol::done(1, {1, 2, 3})));
    t.nextTurn(); // seat 1 scores for seat 3 too
    for (int seat = 2; seat <= 4; ++seat)
        t.nextTurn();
    QCOMPARE(t.server.engine().currentSeat(), 5);
    QVERIFY(t.send(p[4], protocol::done(5, {1, 2, 3})));
    t.nextTurn(); // seat 5 has no partner
    t.nextTurn(); // seat 6; then back to 1: seat 5 ties with the 1-3 side
    QVERIFY(t.server.engine().gameRunning());
    QVERIFY(t.fence());
    const QList<QByteArray> seen = withPrefix(p[1]->take(), "CMD_scores");
    QCOMPARE(seen.size(), 6);
    QCOMPARE(seen[0], split(scoresWire(1, 60, 0, 1, 60, 3, 60)).first());
    QCOMPARE(seen[1], split(scoresWire(2, 0, 0, 0, 0, 4, 0)).first());
    QCOMPARE(seen[4], split(scoresWire(5, 60, 0, 1, 60)).first());
    QCOMPARE(seen[5], split(scoresWire(6, 0, 0, 0, 0)).first());

    QVERIFY(t.send(p[0], protocol::done(1, {1, 2, 3, 4})));
    for (int seat = 1; seat <= 6; ++seat)
        t.nextTurn();
    QVERIFY(!t.server.engine().gameRunning());
    QVERIFY(t.fence());
    QCOMPARE(split(p[5]->take()).last(), QByteArray("CMD_winner+Ann and Cid"));

    // Without every seat 1-6 open, the team field is turned off.
    p[5]->socket.disconnectFromHost();
    QVERIFY(waitUntil([&] { return !t.server.player(6).open; }));
    QVERIFY(t.start(p[0], options));
    QVERIFY(!t.server.engine().teamGame());
    QVERIFY(t.fence());
    QVERIFY(p[1]->take().contains("CMD_startgame+Ann+f+50+60+2000+t+f+f+\xFF"));
}

void TestServerGame::tileMovesReachTheOthers()
{
    Table t;
    RawClient *ann = t.join("Ann");
    RawClient *bob = t.join("Bob");
    RawClient *cid = t.join("Cid");
    QVERIFY(ann && bob && cid);
    QVERIFY(t.start(ann, gameOptions(5000)));
    QVERIFY(t.fence());
    for (RawClient *c : {ann, bob, cid})
        c->take();
    QVERIFY(t.send(ann, protocol::setDiceRequest(1, 1, 7)));
    QVERIFY(t.send(ann, protocol::setDiceRequest(1, 0, 7)));
    QVERIFY(t.send(bob, protocol::setDiceRequest(2, 1, 3)));   // not his turn
    QVERIFY(t.send(ann, wire("CMD_setdice+1+1+14")));          // no such die
    QVERIFY(t.send(ann, wire("CMD_setdice+1+-5+3")));          // no such place
    QVERIFY(t.send(ann, protocol::clearThemRequest(1)));
    QVERIFY(t.send(bob, protocol::clearThemRequest(2)));       // not his turn
    const QByteArray moves = wire("CMD_setdice+1+7") + wire("CMD_setdice+0+7")
                             + wire("CMD_clearthem+");
    EXPECT_WIRE(bob, moves);
    EXPECT_WIRE(cid, moves);
    QVERIFY(t.fence());
    QCOMPARE(ann->take(), QByteArray());
}

void TestServerGame::fastFinishWaitsForEveryone()
{
    Table t;
    RawClient *ann = t.join("Ann");
    RawClient *bob = t.join("Bob");
    RawClient *wes = t.join("Wes");
    QVERIFY(ann && bob && wes);
    QVERIFY(t.start(ann, gameOptions(5000, true)));
    QVERIFY(t.fence());
    // In a fast game everyone is dealt the same roll and moves no one's tiles.
    const QList<QByteArray> annDice = withPrefix(ann->take(), "CMD_thedice");
    const QList<QByteArray> bobDice = withPrefix(bob->take(), "CMD_thedice");
    QCOMPARE(annDice.size(), 1);
    QCOMPARE(annDice[0].mid(QByteArray("CMD_thedice+1").size()),
             bobDice[0].mid(QByteArray("CMD_thedice+2").size()));
    QVERIFY(t.send(ann, protocol::setDiceRequest(1, 1, 7)));
    QVERIFY(t.send(ann, protocol::finish(1)));
    QVERIFY(t.send(bob, protocol::finish(2)));
    QCOMPARE(t.server.engine().turnCounter(), 64);
    QVERIFY(t.send(wes, protocol::finish(3)));
    QCOMPARE(t.server.engine().turnCounter(), 1);
    QVERIFY(t.fence());
    QCOMPARE(bob->take(), QByteArray());
}

void TestServerGame::requestsOutsideTheTurnAreIgnored()
{
    Table t;
    t.acceptAll = true;
    RawClient *ann = t.join("Ann");
    RawClient *bob = t.join("Bob");
    QVERIFY(ann && bob);
    QVERIFY(t.start(ann, gameOptions(5000)));
    QVERIFY(t.send(bob, protocol::done(2, {1, 2, 3})));  // not his turn
    QVERIFY(t.send(bob, protocol::finish(2)));
    QCOMPARE(t.server.engine().turnCounter(), 64);
    QVERIFY(t.send(ann, protocol::finish(1)));
    t.server.engine().Timer1Timer();
    QCOMPARE(t.server.engine().phase(), int(GameEngine::Pausing));
    QVERIFY(t.fence());
    ann->take();
    bob->take();
    QVERIFY(t.send(ann, protocol::done(1, {1, 2, 3})));  // during the pause
    QVERIFY(t.send(ann, protocol::finish(1)));
    QVERIFY(t.send(ann, protocol::newTilesRequest(1)));
    QCOMPARE(t.server.engine().turnCounter(), 5);
    QVERIFY(t.fence());
    QCOMPARE(bob->take(), QByteArray());
}

QTEST_GUILESS_MAIN(TestServerGame)
#include "tst_servergame.moc"
