// Two whole games over loopback, from the start to the winner, with every
// byte each seat receives.

#include "serverharness.h"

using namespace zwonky;
using namespace zwonky::testing;

namespace {

QByteArray accepted(const QString &word)
{
    return wire("CMD_accepted+" + QByteArray::number(word.size()) + "+" + word.toLatin1());
}

QByteArray addAWord(int seat, const QString &word)
{
    return wire("CMD_addaword+" + QByteArray::number(seat) + "+" + QByteArray::number(word.size())
                + "+" + word.toLatin1());
}

QByteArray rejected(const QString &word, const QByteArray &reason)
{
    return wire("CMD_rejected+" + word.toLatin1() + reason);
}

QByteArray scores(int seat, int points, int bonus, int words, int total)
{
    return wire(QStringLiteral("CMD_scores+%1+%2+%3+%4+%5+0+0+")
                    .arg(seat)
                    .arg(points)
                    .arg(bonus)
                    .arg(words)
                    .arg(total)
                    .toLatin1());
}

QByteArray dealt(const QStringList &set, int seat, const char *flag, int count)
{
    return protocol::theDice(seat, QString::fromLatin1(flag), set.mid(0, count));
}

// Runs the turn clock out without anyone finishing; returns the seconds.
int runOut(Table &t)
{
    int seconds = 0;
    while (t.server.engine().phase() == GameEngine::TurnRunning && seconds < 1000) {
        t.server.engine().Timer1Timer();
        ++seconds;
    }
    return seconds;
}

int pause(Table &t)
{
    int seconds = 0;
    while (t.server.engine().phase() == GameEngine::Pausing && seconds < 1000) {
        t.server.engine().Timer1Timer();
        ++seconds;
    }
    return seconds;
}

} // namespace

class TestWholeGame : public QObject
{
    Q_OBJECT
private slots:
    void normalGame();
    void fastGame();
};

void TestWholeGame::normalGame()
{
    Table t(2024);
    RawClient *ann = t.join("Ann");
    RawClient *bob = t.join("Bob");
    RawClient *wes = t.join("Wes");
    QVERIFY(ann && bob && wes);
    QByteArray toAll; // what every seat receives
    const auto addAll = [&](const QByteArray &bytes) { toAll += bytes; };

    // Round 1. Ann starts; Wes sits out.
    QVERIFY(t.start(ann, gameOptions(300, false, 60, 2000)));
    addAll(wire("CMD_startgame+Ann+f+300+60+2000+t+f+f+") + wire("CMD_nextplayer+1")
           + dealt(t.server.engine().currentSet(), 1, "false", 10));
    QVERIFY(t.send(wes, protocol::justWatch(3, 1)));
    addAll(wire("CMD_justwatching+3+1"));
    EXPECT_WIRE(ann, toAll);
    EXPECT_WIRE(wes, toAll);
    EXPECT_WIRE(bob, toAll);
    toAll.clear();

    // Ann lays a tile, takes it back, and submits three words.
    QVERIFY(t.send(ann, protocol::setDiceRequest(1, 1, 3)));
    QVERIFY(t.send(ann, protocol::setDiceRequest(1, 0, 3)));
    const QByteArray moves = wire("CMD_setdice+1+3") + wire("CMD_setdice+0+3");
    const QString three = t.spell(1, {1, 2, 3});
    const QString four = t.spell(1, {1, 2, 3, 4});
    const QString nonsense = t.spell(1, {4, 5, 6});
    t.words = {three, four};
    QVERIFY(!t.words.contains(nonsense));
    QVERIFY(t.send(ann, protocol::done(1, {1, 2, 3})));
    QVERIFY(t.send(ann, protocol::done(1, {4, 5, 6})));
    QVERIFY(t.send(ann, protocol::done(1, {1, 2, 3, 4})));
    QVERIFY(t.send(ann, protocol::finish(1)));
    QCOMPARE(runOut(t), 1);
    const QByteArray annWords = accepted(three) + rejected(nonsense, "+ Rejected") + accepted(four)
                                + scores(1, 180, 0, 2, 180) + wire("CMD_turnend+");
    QCOMPARE(pause(t), 5);
    const QByteArray bobsTurn = wire("CMD_nextplayer+2") + dealt(t.server.engine().currentSet(), 2, "false", 10);
    EXPECT_WIRE(ann, annWords + bobsTurn);
    EXPECT_WIRE(bob, moves + annWords + bobsTurn);
    EXPECT_WIRE(wes, moves + annWords + bobsTurn);

    // Bob makes a five-letter word and lets the clock run out.
    const QString five = t.spell(2, {1, 2, 3, 4, 5});
    t.words.insert(five);
    QVERIFY(t.send(bob, protocol::done(2, {1, 2, 3, 4, 5})));
    QCOMPARE(runOut(t), 64);
    QCOMPARE(pause(t), 5);
    // Back at seat 1, nobody has 300 yet: round 2.
    QVERIFY(t.server.engine().gameRunning());
    const QByteArray bobsWords = accepted(five) + scores(2, 200, 0, 1, 200) + wire("CMD_turnend+")
                                 + wire("CMD_nextplayer+1")
                                 + dealt(t.server.engine().currentSet(), 1, "false", 10);
    for (RawClient *c : {ann, bob, wes})
        EXPECT_WIRE(c, bobsWords);

    // Round 2. Ann buys new tiles and makes a word of them.
    QVERIFY(t.send(ann, protocol::newTilesRequest(1)));
    const QByteArray newTiles = wire("CMD_newtiles+1+-120")
                                + dealt(t.server.engine().alternativeSet(), 1, "new", 10);
    const QString fresh = t.spell(1, {3, 2, 1});
    t.words.insert(fresh);
    QVERIFY(t.send(ann, protocol::done(1, {3, 2, 1})));
    QVERIFY(t.send(ann, protocol::finish(1)));
    runOut(t);
    pause(t);
    const QByteArray annRound2 = newTiles + accepted(fresh) + scores(1, 60, 0, 1, -60)
                                 + wire("CMD_turnend+") + wire("CMD_nextplayer+2")
                                 + dealt(t.server.engine().currentSet(), 2, "false", 10);
    for (RawClient *c : {ann, bob, wes})
        EXPECT_WIRE(c, annRound2);

    // Bob passes 300 with another five-letter word; the check at seat 1 ends it.
    const QString again = t.spell(2, {5, 4, 3, 2, 1});
    t.words.insert(again);
    QVERIFY(t.send(bob, protocol::done(2, {5, 4, 3, 2, 1})));
    QVERIFY(t.send(bob, protocol::finish(2)));
    runOut(t);
    pause(t);
    const QByteArray end = accepted(again) + scores(2, 200, 0, 1, 400) + wire("CMD_turnend+")
                           + wire("CMD_winner+Bob");
    for (RawClient *c : {ann, bob, wes})
        EXPECT_WIRE(c, end);
    QVERIFY(!t.server.engine().gameRunning());
    QVERIFY(!t.server.engine().clockEnabled());

    // Nothing more follows.
    for (int i = 0; i < 30; ++i)
        t.server.engine().Timer1Timer();
    QVERIFY(t.fence());
    for (RawClient *c : {ann, bob, wes})
        QCOMPARE(c->take(), QByteArray());
}

void TestWholeGame::fastGame()
{
    Table t(99);
    t.acceptAll = true;
    RawClient *ann = t.join("Ann");
    RawClient *bob = t.join("Bob");
    RawClient *cid = t.join("Cid");
    QVERIFY(ann && bob && cid);
    RawClient *seat[4] = {nullptr, ann, bob, cid};

    // Turn 1: everyone gets the same ten letters at once.
    QVERIFY(t.start(ann, gameOptions(250, true, 60, 100)));
    QStringList set = t.server.engine().currentSet();
    for (int s = 1; s <= 3; ++s) {
        EXPECT_WIRE(seat[s], wire("CMD_startgame+Ann+f+250+60+100+t+f+t+")
                                 + wire("CMD_nextplayer+" + QByteArray::number(s))
                                 + dealt(set, s, "false", 10));
    }
    const QString word = t.spell(1, {1, 2, 3});
    const QString tooShort = t.spell(3, {1, 2});
    QVERIFY(t.send(ann, protocol::done(1, {1, 2, 3})));
    QVERIFY(t.send(bob, protocol::done(2, {1, 2, 3}))); // the same word counts for him too
    QVERIFY(t.send(cid, protocol::done(3, {1, 2})));
    QVERIFY(t.send(ann, protocol::done(1, {1, 2, 3})));
    QVERIFY(t.send(ann, protocol::finish(1)));
    QVERIFY(t.send(bob, protocol::finish(2)));
    QCOMPARE(t.server.engine().turnCounter(), 64);
    QVERIFY(t.send(cid, protocol::finish(3)));
    QCOMPARE(runOut(t), 1);
    QCOMPARE(pause(t), 20);
    const QByteArray end1 = scores(1, 60, 0, 1, 60) + scores(2, 60, 0, 1, 60)
                            + scores(3, 0, 0, 0, 0) + wire("CMD_turnend+");
    set = t.server.engine().currentSet();
    EXPECT_WIRE(ann, accepted(word) + addAWord(1, word) + addAWord(2, word)
                         + rejected(word, "+ Rejected. Word Exists") + end1
                         + wire("CMD_nextplayer+1") + dealt(set, 1, "false", 10));
    EXPECT_WIRE(bob, addAWord(1, word) + accepted(word) + addAWord(2, word) + end1
                         + wire("CMD_nextplayer+2") + dealt(set, 2, "false", 10));
    EXPECT_WIRE(cid, addAWord(1, word) + addAWord(2, word) + rejected(tooShort, "+ Rejected")
                         + end1 + wire("CMD_nextplayer+3") + dealt(set, 3, "false", 10));

    // Turn 2: Ann and Bob pass the zwonked-at mark of 100; the clock runs out.
    const QString annsFour = t.spell(1, {1, 2, 3, 4});
    const QString bobsThree = t.spell(2, {1, 2, 3});
    QVERIFY(t.send(ann, protocol::done(1, {1, 2, 3, 4})));
    QVERIFY(t.send(bob, protocol::done(2, {1, 2, 3})));
    QCOMPARE(runOut(t), 64);
    QCOMPARE(pause(t), 20);
    QVERIFY(t.server.engine().gameRunning());
    const QByteArray words2 = addAWord(1, annsFour) + addAWord(2, bobsThree);
    const QByteArray end2 = scores(1, 120, 0, 1, 180) + scores(2, 60, 0, 1, 120)
                            + scores(3, 0, 0, 0, 0) + wire("CMD_turnend+");
    set = t.server.engine().currentSet();
    // Turn 3 is dealt: 13 letters to the zwonked, the first 10 of them to Cid.
    EXPECT_WIRE(ann, accepted(annsFour) + words2 + end2 + wire("CMD_nextplayer+1")
                         + dealt(set, 1, "true", 13));
    EXPECT_WIRE(bob, addAWord(1, annsFour) + accepted(bobsThree) + addAWord(2, bobsThree) + end2
                         + wire("CMD_nextplayer+2") + dealt(set, 2, "true", 13));
    EXPECT_WIRE(cid, words2 + end2 + wire("CMD_nextplayer+3") + dealt(set, 3, "false", 10));

    // Turn 3: Bob makes 500 with a seven-letter word, Cid buys new tiles,
    // Ann makes nothing and pays the zwonked penalty.
    const QString seven = t.spell(2, {1, 2, 3, 4, 5, 6, 7});
    QVERIFY(t.send(bob, protocol::done(2, {1, 2, 3, 4, 5, 6, 7})));
    QVERIFY(t.send(cid, protocol::newTilesRequest(3)));
    const QByteArray cidsNewTiles = dealt(t.server.engine().alternativeSet(), 3, "new", 10);
    const QString cidsWord = t.spell(3, {1, 2, 3});
    QVERIFY(t.send(cid, protocol::done(3, {1, 2, 3})));
    for (int s = 1; s <= 3; ++s)
        QVERIFY(t.send(seat[s], protocol::finish(s)));
    QCOMPARE(runOut(t), 1);
    QCOMPARE(pause(t), 20);
    const QByteArray end3 = scores(1, 0, -500, 0, -320) + scores(2, 500, 0, 1, 620)
                            + scores(3, 60, 0, 1, -240) + wire("CMD_turnend+")
                            + wire("CMD_winner+Bob");
    const QByteArray notice = wire("CMD_newtiles+3+-300");
    EXPECT_WIRE(ann, addAWord(2, seven) + notice + addAWord(3, cidsWord) + end3);
    EXPECT_WIRE(bob, accepted(seven) + addAWord(2, seven) + notice + addAWord(3, cidsWord) + end3);
    EXPECT_WIRE(cid, addAWord(2, seven) + notice + cidsNewTiles + accepted(cidsWord)
                         + addAWord(3, cidsWord) + end3);
    QVERIFY(!t.server.engine().gameRunning());
    QVERIFY(!t.server.engine().seat(1).zwonked);
    QVERIFY(t.server.engine().seat(2).zwonked);
}

QTEST_GUILESS_MAIN(TestWholeGame)
#include "tst_wholegame.moc"
