// The game engine without a socket: requests arrive with the sender's seat,
// messages are read from a recording outbox, the clock is stepped by calling
// its tick, the dice come from a seeded generator, the word list is a test set.

#include "enginefixture.h"

#include "net/zwonkyerror.h"

#include <QSignalSpy>
#include <QTest>

using namespace zwonky;
using namespace zwonky::testing;

class TestGameEngine : public QObject
{
    Q_OBJECT
private slots:
    // Turns, the clock and the winner.
    void turnOrderSkipsWatcher();
    void tieAbovePlayToGoesOn();
    void turnAndPauseLengths_data();
    void turnAndPauseLengths();
    void teamGame();
    void currentSeatLeavingHandsOnUnscored();
    // Tiles.
    void newThenOldTilesCost600();
    void newTilesOffIsIgnored();
    void tileMovesReachTheOthers();
    // Fast games.
    void zwonkedSeatGetsThirteenInFastGame();
    void fastFinishWaitsForEveryone();
    void fastGameTellsSpectatorsOnlyTheirSeat();
    // Words.
    void refusals_data();
    void refusals();
    void sixthWordOfALengthIsRefused();
    void pluralAndSingularOfOwnWords();
    void zwonkedPlayer();
    void unreadableWordListRefusesAndReports();
    // Requests that do not count.
    void requestsOutsideTheTurnAreIgnored();
    void unbelievedSenderIsIgnored();
};

// ---- turns, the clock and the winner ----

void TestGameEngine::turnOrderSkipsWatcher()
{
    StartedGame g({"Ann", "Bob", "Cid", "Dee"}, engineOptions(50));
    g.acceptAll = true;
    g.engine.startWatching(3);

    QList<int> order{g.engine.currentSeat()};
    g.nextTurn();
    order.append(g.engine.currentSeat());
    // Bob passes the play-to score in his turn ...
    g.engine.done(2, {1, 2, 3});
    g.nextTurn();
    order.append(g.engine.currentSeat());
    QVERIFY(g.engine.gameRunning()); // ... but the check waits for seat 1
    QCOMPARE(order, QList<int>({1, 2, 4}));
    QCOMPARE(withPrefix(g.table.take(3), "CMD_nextplayer"),
             QList<QByteArray>({"CMD_nextplayer+1", "CMD_nextplayer+2", "CMD_nextplayer+4"}));
    g.table.takeAll();

    g.nextTurn(); // Dee's turn ends; the turn comes back to seat 1
    QVERIFY(!g.engine.gameRunning());
    QVERIFY(!g.engine.clockEnabled());
    for (int seat = 1; seat <= 4; ++seat)
        QCOMPARE(g.table.take(seat),
                 scoresWire(4, 0, 0, 0, 0) + wire("CMD_turnend+") + wire("CMD_winner+Bob"));
}

void TestGameEngine::tieAbovePlayToGoesOn()
{
    StartedGame g({"Ann", "Bob"}, engineOptions(50));
    g.acceptAll = true;
    g.engine.done(1, {1, 2, 3});
    g.nextTurn();
    const QString bobsWord = g.spell(2, {1, 2, 3});
    g.engine.done(2, {1, 2, 3});
    g.nextTurn();
    // 60 each, both above 50: no winner, Ann plays again.
    QVERIFY(g.engine.gameRunning());
    QCOMPARE(g.engine.currentSeat(), 1);
    QVERIFY(g.table.take(2).endsWith(acceptedWire(bobsWord) + scoresWire(2, 60, 0, 1, 60)
                                     + wire("CMD_turnend+") + wire("CMD_nextplayer+1")
                                     + g.dealt(1, "false", 10)));
    g.table.takeAll();

    g.engine.done(1, {1, 2, 3, 4});
    g.nextTurn();
    g.nextTurn();
    QVERIFY(!g.engine.gameRunning());
    for (int seat : {1, 2}) {
        QVERIFY(g.table.take(seat).endsWith(scoresWire(2, 0, 0, 0, 60) + wire("CMD_turnend+")
                                            + wire("CMD_winner+Ann")));
    }
}

void TestGameEngine::turnAndPauseLengths_data()
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

void TestGameEngine::turnAndPauseLengths()
{
    QFETCH(bool, fast);
    QFETCH(int, players);
    QFETCH(int, timePerTurn);
    QFETCH(int, pause);
    QStringList names;
    for (int i = 0; i < players; ++i)
        names.append(QStringLiteral("P%1").arg(i + 1));
    StartedGame g(names, engineOptions(5000, fast, timePerTurn));
    int turn = 0;
    while (g.engine.phase() == GameEngine::TurnRunning && turn < 1000) {
        g.engine.Timer1Timer();
        ++turn;
    }
    QCOMPARE(turn, timePerTurn + 4);
    QCOMPARE(g.engine.phase(), int(GameEngine::Pausing));
    QCOMPARE(g.nextTurn(), pause);
    QCOMPARE(g.engine.phase(), int(GameEngine::TurnRunning));
}

void TestGameEngine::teamGame()
{
    protocol::GameOptions options = engineOptions(50);
    options.team = true;
    StartedGame g({"Ann", "Bob", "Cid", "Dee", "Eve", "Fay"}, options);
    g.acceptAll = true;
    QVERIFY(g.engine.teamGame());
    QVERIFY(g.table.take(5).startsWith("CMD_startgame+Ann+t+50+60+2000+t+f+f+\xFF"));

    g.engine.done(1, {1, 2, 3});
    g.nextTurn(); // seat 1 scores for seat 3 too
    for (int seat = 2; seat <= 4; ++seat)
        g.nextTurn();
    QCOMPARE(g.engine.currentSeat(), 5);
    g.engine.done(5, {1, 2, 3});
    g.nextTurn(); // seat 5 has no partner
    g.nextTurn(); // seat 6; then back to 1: seat 5 ties with the 1-3 side
    QVERIFY(g.engine.gameRunning());
    const QList<QByteArray> seen = withPrefix(g.table.take(2), "CMD_scores");
    QCOMPARE(seen.size(), 6);
    QCOMPARE(seen[0], split(scoresWire(1, 60, 0, 1, 60, 3, 60)).first());
    QCOMPARE(seen[1], split(scoresWire(2, 0, 0, 0, 0, 4, 0)).first());
    QCOMPARE(seen[4], split(scoresWire(5, 60, 0, 1, 60)).first());
    QCOMPARE(seen[5], split(scoresWire(6, 0, 0, 0, 0)).first());

    g.engine.done(1, {1, 2, 3, 4});
    for (int seat = 1; seat <= 6; ++seat)
        g.nextTurn();
    QVERIFY(!g.engine.gameRunning());
    QCOMPARE(split(g.table.take(6)).last(), QByteArray("CMD_winner+Ann and Cid"));

    // Without every seat 1-6 open, the team field is turned off.
    g.table.leave(6);
    g.engine.seatClosed(6);
    g.table.takeAll();
    g.engine.startgame(1, true, options);
    QVERIFY(!g.engine.teamGame());
    QVERIFY(g.table.take(2).startsWith("CMD_startgame+Ann+f+50+60+2000+t+f+f+\xFF"));
}

void TestGameEngine::currentSeatLeavingHandsOnUnscored()
{
    StartedGame g({"Ann", "Bob", "Cid"}, engineOptions(5000));
    g.acceptAll = true;
    g.engine.startWatching(3);
    g.table.leave(3);
    g.engine.seatClosed(3);
    QVERIFY(!g.engine.seat(3).watching); // the next in the seat plays

    g.nextTurn();
    QCOMPARE(g.engine.currentSeat(), 2);
    g.engine.done(2, {1, 2, 3});
    g.engine.Timer1Timer();
    g.table.takeAll();
    g.table.leave(2);
    g.engine.seatClosed(2);
    // Not scored: straight to the next player with fresh letters and a full turn.
    QCOMPARE(g.engine.currentSeat(), 1);
    QCOMPARE(g.table.take(1), wire("CMD_nextplayer+1") + g.dealt(1, "false", 10));
    QCOMPARE(g.engine.seat(2).score, 0);
    QCOMPARE(g.engine.turnCounter(), 64);

    // The host's own seat closing does not hand on (his program is ending).
    g.table.leave(1);
    g.engine.seatClosed(1);
    QCOMPARE(g.engine.currentSeat(), 1);
    QCOMPARE(g.engine.turnCounter(), 64);
}

// ---- tiles ----

void TestGameEngine::newThenOldTilesCost600()
{
    StartedGame g({"Ann", "Bob"}, engineOptions(5000));
    g.acceptAll = true;
    g.table.takeAll();

    g.engine.newtiles(1);
    g.engine.newtiles(1); // already holds new tiles
    g.engine.newtiles(2); // not his turn
    const QByteArray newTiles = wire("CMD_newtiles+1+-300") + g.dealt(1, "new", 10, true);
    QCOMPARE(g.table.take(1), newTiles);
    QCOMPARE(g.table.take(2), newTiles);
    // Words are spelled from the new letters now.
    const QString onNew = g.spell(1, {1, 2, 3});
    QCOMPARE(onNew, g.engine.alternativeSet().mid(0, 3).join(""));
    g.engine.done(1, {1, 2, 3});
    QCOMPARE(g.table.take(1), acceptedWire(onNew));
    QCOMPARE(g.table.take(2), acceptedWire(onNew));

    g.engine.oldtiles(1);
    g.engine.oldtiles(1); // already back
    // The watcher is shown the old letters too, or his board would keep the new ones.
    const QByteArray oldTiles = wire("CMD_oldtiles+1+-600") + g.dealt(1, "old", 10);
    QCOMPARE(g.table.take(1), oldTiles);
    QCOMPARE(g.table.take(2), oldTiles);

    g.engine.newtiles(1);
    QCOMPARE(g.table.take(1), wire("CMD_newtiles+1+-900") + g.dealt(1, "new", 10, true));
    QCOMPARE(g.engine.seat(1).score, -900);
    QCOMPARE(g.engine.seat(2).score, 0);
}

void TestGameEngine::newTilesOffIsIgnored()
{
    protocol::GameOptions options = engineOptions(5000);
    options.newTiles = false;
    StartedGame g({"Ann", "Bob"}, options);
    g.table.takeAll();
    g.engine.newtiles(1);
    QCOMPARE(g.table.take(1), QByteArray());
    QCOMPARE(g.engine.seat(1).score, 0);
}

void TestGameEngine::tileMovesReachTheOthers()
{
    StartedGame g({"Ann", "Bob", "Cid"}, engineOptions(5000));
    g.table.takeAll();
    g.engine.setdice(1, 1, 7);
    g.engine.setdice(1, 0, 7);
    g.engine.setdice(2, 1, 3);  // not his turn
    g.engine.setdice(1, 1, 14); // no such die
    g.engine.setdice(1, -5, 3); // no such place
    g.engine.setdice(1, 11, 3); // beyond the tray
    g.engine.clearthem(1);
    g.engine.clearthem(2);      // not his turn
    const QByteArray moves = wire("CMD_setdice+1+7") + wire("CMD_setdice+0+7")
                             + wire("CMD_clearthem+");
    QCOMPARE(g.table.take(2), moves);
    QCOMPARE(g.table.take(3), moves);
    QCOMPARE(g.table.take(1), QByteArray());
}

// ---- fast games ----

void TestGameEngine::zwonkedSeatGetsThirteenInFastGame()
{
    StartedGame g({"Ann", "Bob"}, engineOptions(5000, true, 60, 60));
    g.acceptAll = true;
    g.table.takeAll();

    const QString word = g.spell(1, {1, 2, 3});
    g.engine.done(1, {1, 2, 3});
    g.engine.finish(1);
    QCOMPARE(g.engine.turnCounter(), 64); // Bob plays on
    g.engine.finish(2);
    QCOMPARE(g.engine.turnCounter(), 1);
    QCOMPARE(g.nextTurn(), 15);

    const QByteArray addWord = wire("CMD_addaword+1+3+" + word.toLatin1());
    const QByteArray turnEnd = scoresWire(1, 60, 0, 1, 60) + scoresWire(2, 0, 0, 0, 0)
                               + wire("CMD_turnend+");
    QCOMPARE(g.table.take(1), acceptedWire(word) + addWord + turnEnd + wire("CMD_nextplayer+1")
                                  + g.dealt(1, "true", 13));
    QCOMPARE(g.table.take(2),
             addWord + turnEnd + wire("CMD_nextplayer+2") + g.dealt(2, "false", 10));
    QVERIFY(g.engine.seat(1).zwonked);
    QVERIFY(!g.engine.seat(2).zwonked);
}

void TestGameEngine::fastFinishWaitsForEveryone()
{
    StartedGame g({"Ann", "Bob", "Wes"}, engineOptions(5000, true));
    // Everyone is dealt the same roll and moves no one's tiles.
    const QList<QByteArray> annDice = withPrefix(g.table.take(1), "CMD_thedice");
    const QList<QByteArray> bobDice = withPrefix(g.table.take(2), "CMD_thedice");
    QCOMPARE(annDice.size(), 1);
    QCOMPARE(bobDice.size(), 1);
    QCOMPARE(annDice[0].mid(QByteArray("CMD_thedice+1").size()),
             bobDice[0].mid(QByteArray("CMD_thedice+2").size()));
    g.engine.setdice(1, 1, 7);
    g.engine.finish(1);
    g.engine.finish(2);
    QCOMPARE(g.engine.turnCounter(), 64);
    g.engine.finish(3);
    QCOMPARE(g.engine.turnCounter(), 1);
    QCOMPARE(g.table.take(2), QByteArray());
}

void TestGameEngine::fastGameTellsSpectatorsOnlyTheirSeat()
{
    StartedGame g({"Ann", "Bob"}, engineOptions(5000, false));
    g.table.takeAll();
    g.table.sit(7, "Spy");
    g.engine.startgame(1, true, engineOptions(5000, true));
    // The spectator learns the game has begun and is told his own seat, but
    // is dealt nothing: letters go to the playing seats only.
    QCOMPARE(g.table.take(7), wire("CMD_startgame+Ann+f+5000+60+2000+t+f+t+")
                                  + wire("CMD_nextplayer+7"));
    QCOMPARE(withPrefix(g.table.take(2), "CMD_nextplayer"),
             QList<QByteArray>({"CMD_nextplayer+2"}));
    // His finish counts for nothing; the turn waits for the players.
    g.engine.finish(7);
    g.engine.finish(1);
    QCOMPARE(g.engine.turnCounter(), 64);
    g.engine.finish(2);
    QCOMPARE(g.engine.turnCounter(), 1);
}

// ---- words ----

void TestGameEngine::refusals_data()
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

void TestGameEngine::refusals()
{
    QFETCH(QList<QList<int>>, before);
    QFETCH(QList<int>, dice);
    QFETCH(bool, inList);
    QFETCH(QByteArray, reason);
    StartedGame g({"Ann", "Bob"}, engineOptions(5000));
    g.acceptAll = inList;
    for (const QList<int> &earlier : before)
        g.engine.done(1, earlier);
    g.table.takeAll();

    g.engine.done(1, dice);
    const QByteArray expected = rejectedWire(g.spell(1, dice), reason);
    QCOMPARE(g.table.take(1), expected);
    QCOMPARE(g.table.take(2), expected);
    QCOMPARE(g.engine.seat(1).words.count(int(dice.size())), int(before.size()));
}

void TestGameEngine::sixthWordOfALengthIsRefused()
{
    StartedGame g({"Ann", "Bob"}, engineOptions(5000));
    g.acceptAll = true;
    g.table.takeAll();
    QStringList chosen;
    const QList<QList<int>> six = g.distinctWords(1, 4, 6, 10, chosen);
    QCOMPARE(six.size(), 6);
    QByteArray expected;
    for (int i = 0; i < 5; ++i) {
        g.engine.done(1, six[i]);
        expected += acceptedWire(chosen[i]);
    }
    g.engine.done(1, six[5]);
    expected += rejectedWire(chosen[5], "+ 4 letter box full!");
    QCOMPARE(g.table.take(2), expected);
    QCOMPARE(g.engine.seat(1).words.words(4), chosen.mid(0, 5));
}

void TestGameEngine::pluralAndSingularOfOwnWords()
{
    StartedGame g({"Ann", "Bob"}, engineOptions(1000000));
    g.acceptAll = true;
    // Play on until Ann is dealt an S.
    int sDie = 0;
    for (int round = 0; round < 60 && sDie == 0; ++round) {
        if (round > 0) {
            g.nextTurn();
            g.nextTurn();
        }
        sDie = int(g.engine.currentSet().mid(0, 10).indexOf("S")) + 1;
    }
    QVERIFY(sDie > 0);
    QList<int> others;
    for (int die = 1; die <= 10; ++die) {
        if (die != sDie)
            others.append(die);
    }
    g.table.takeAll();

    const QList<int> single{others[0], others[1], others[2]};
    const QList<int> plural = single + QList<int>{sDie};
    const QList<int> single2{others[3], others[4], others[5]};
    const QList<int> plural2 = single2 + QList<int>{sDie};
    const QString w = g.spell(1, single), w2 = g.spell(1, single2);
    QVERIFY(w != w2);
    g.engine.done(1, single);
    g.engine.done(1, plural);
    g.engine.done(1, plural2);
    g.engine.done(1, single2);
    QCOMPARE(g.table.take(2), acceptedWire(w)
                                  + rejectedWire(w + "S", "+ Rejected. Singular form exists")
                                  + acceptedWire(w2 + "S")
                                  + rejectedWire(w2, "+ Rejected. Plural form exists"));
}

void TestGameEngine::zwonkedPlayer()
{
    // Zwonked at 0: every seat is zwonked after its first scoring.
    StartedGame g({"Ann", "Bob"}, engineOptions(100000, false, 60, 0));
    g.acceptAll = true;
    g.nextTurn();
    g.nextTurn();
    QCOMPARE(g.engine.currentSeat(), 1);
    QVERIFY(g.engine.seat(1).zwonked);
    QVERIFY(g.table.take(1).endsWith(g.dealt(1, "true", 13)));
    g.table.takeAll();

    // No three-letter words; dice 11-13 are in the hand now.
    g.engine.done(1, {11, 12, 13});
    QCOMPARE(g.table.take(2), rejectedWire(g.spell(1, {11, 12, 13}), "+ Rejected"));

    // Five four-letter and two five-letter words: 200 + 250 = 450 points.
    QStringList chosen{g.spell(1, {10, 11, 12, 13})};
    QList<QList<int>> words{{10, 11, 12, 13}};
    words += g.distinctWords(1, 4, 4, 13, chosen);
    words += g.distinctWords(1, 5, 2, 13, chosen);
    QCOMPARE(words.size(), 7);
    QByteArray expected;
    for (int i = 0; i < 7; ++i) {
        g.engine.done(1, words[i]);
        expected += acceptedWire(chosen[i]);
    }
    QCOMPARE(g.table.take(2), expected);
    g.nextTurn();
    QVERIFY(g.table.take(2).startsWith(scoresWire(1, 450, -500, 7, -500)));
    // Below the mark again: back to ten letters.
    QVERIFY(!g.engine.seat(1).zwonked);
    g.nextTurn();
    QCOMPARE(g.engine.currentSeat(), 1);
    QVERIFY(g.table.take(1).endsWith(g.dealt(1, "false", 10)));
}

void TestGameEngine::unreadableWordListRefusesAndReports()
{
    StartedGame g({"Ann", "Bob"}, engineOptions(5000));
    g.engine.setWordChecker(
        [](const QString &) -> bool { throw ZwonkyError(QStringLiteral("English is gone")); });
    QSignalSpy reports(&g.engine, &GameEngine::errorReported);
    g.table.takeAll();
    g.engine.done(1, {1, 2, 3});
    // The player is still answered, and the failure is reported once.
    QCOMPARE(g.table.take(1), rejectedWire(g.spell(1, {1, 2, 3}), "+ Rejected"));
    QCOMPARE(reports.size(), 1);
    QCOMPARE(reports.first().first().toString(), QStringLiteral("English is gone"));
}

// ---- requests that do not count ----

void TestGameEngine::requestsOutsideTheTurnAreIgnored()
{
    StartedGame g({"Ann", "Bob"}, engineOptions(5000));
    g.acceptAll = true;
    g.engine.done(2, {1, 2, 3}); // not his turn
    g.engine.finish(2);
    QCOMPARE(g.engine.turnCounter(), 64);
    g.engine.finish(1);
    g.engine.Timer1Timer();
    QCOMPARE(g.engine.phase(), int(GameEngine::Pausing));
    g.table.takeAll();
    g.engine.done(1, {1, 2, 3}); // during the pause
    g.engine.finish(1);
    g.engine.newtiles(1);
    QCOMPARE(g.engine.turnCounter(), 5);
    QCOMPARE(g.table.take(2), QByteArray());
    QCOMPARE(g.engine.seat(1).words.count(3), 0);
}

void TestGameEngine::unbelievedSenderIsIgnored()
{
    // The server passes 0 for a message whose seat field is not the seat of
    // the connection that carried it; a start counts only from the host.
    StartedGame g({"Ann", "Bob"}, engineOptions(5000));
    g.acceptAll = true;
    g.table.takeAll();
    const QStringList letters = g.engine.currentSet();
    g.engine.done(0, {1, 2, 3});
    g.engine.newtiles(0);
    g.engine.oldtiles(0);
    g.engine.setdice(0, 1, 1);
    g.engine.clearthem(0);
    g.engine.finish(0);
    g.engine.startgame(2, true, engineOptions(10));
    g.engine.startgame(1, false, engineOptions(10));
    g.engine.startgame(0, true, engineOptions(10));
    QCOMPARE(g.table.take(1), QByteArray());
    QCOMPARE(g.table.take(2), QByteArray());
    QCOMPARE(g.engine.turnCounter(), 64);
    QCOMPARE(g.engine.currentSet(), letters);
    QCOMPARE(g.engine.options().playTo, 5000);
}

QTEST_GUILESS_MAIN(TestGameEngine)
#include "tst_gameengine.moc"
