#include "net/fieldcursor.h"
#include "net/messagepump.h"
#include "net/protocol.h"
#include "net/zwonkyerror.h"

#include <QTest>

using namespace zwonky;
namespace p = zwonky::protocol;

class TestProtocol : public QObject
{
    Q_OBJECT
private slots:
    void builders_data();
    void builders();
    void loginReplyEndsInTwoTerminators();
    void vocabularies();
    void windows1252RoundTrip();
    void fieldCursor();
    void dispatchExactAndInOrder();
    void pumpHandlesOneMessagePerTick();
    void pumpCountsAndDropsPerSource();
    void badNumberEndsThatMessageOnly();
    void gameOptionsRoundTrip_data();
    void gameOptionsRoundTrip();
    void receivedFlagsAreReadLeniently_data();
    void receivedFlagsAreReadLeniently();
    void dealKinds();
    void teamWinner();
    void placeholderAndCutChatAreDropped();
};

void TestProtocol::builders_data()
{
    QTest::addColumn<QByteArray>("built");
    QTest::addColumn<QByteArray>("expected");
    p::GameOptions o;
    o.playTo = 5000;
    o.timePerTurn = 60;
    o.zwonkedAt = 2000;
    o.newTiles = true;
    o.typing = true;
    o.fast = true;
    auto row = [](const char *name, const QByteArray &built, const char *text) {
        QTest::newRow(name) << built << (QByteArray(text) + '\xFF');
    };
    row("chat", p::chat(2, "hi+there", "clBlack"), "CMD_chat+2+hi+there|clBlack");
    row("action", p::action(1, "waves", "$000080FF"), "CMD_action+1+waves|$000080FF");
    row("kickhim", p::kickHim(1, 7), "CMD_kickhim+1+7+");
    row("startgame", p::startGameRequest(1, o), "CMD_startgame+1+f+5000+60+2000+t+t+t+");
    row("justwatch", p::justWatch(3, p::WatchStart), "CMD_justwatch+3+1");
    row("setdice", p::setDiceRequest(2, 0, 11), "CMD_setdice+2+0+11");
    row("done", p::done(3, {5, 1, 12, 7}), "CMD_done+3+5+1+12+7");
    row("clearthem", p::clearThemRequest(4), "CMD_clearthem+4");
    row("newtiles", p::newTilesRequest(1), "CMD_newtiles+1");
    row("oldtiles", p::oldTilesRequest(1), "CMD_oldtiles+1");
    row("finish", p::finish(6), "CMD_finish+6");
    row("playasound", p::playASoundRequest(2, 14), "CMD_playasound+2+wave14+");
    row("sendlogininfo", p::sendLoginInfo(4), "CMD_sendlogininfo+4");
    row("full", p::full(), "CMD_full+");
    row("newplayerinfo", p::newPlayerInfo(4, "A+B"), "CMD_newplayerinfo+4+A+B");
    row("existingplayers", p::existingPlayers(1, "You"), "CMD_existingplayers+1+You");
    row("havewrongversion", p::haveWrongVersion("Bo"), "CMD_havewrongversion+Bo");
    row("wrongversion", p::wrongVersion(), "CMD_wrongversion+");
    row("stats", p::stats(2, o), "CMD_stats+2+f+5000+60+2000+t+t+t+");
    row("loadscores", p::loadScores(6, -500), "CMD_loadscores+6+-500");
    row("thedice", p::theDice(2, "false", {"W", "E", "T", "E", "U", "O", "S", "T", "R", "Q"}),
        "CMD_thedice+2+false+W+E+T+E+U+O+S+T+R+Q");
    row("playerdisconnected", p::playerDisconnected(7, "Bo"), "CMD_playerdisconnected+7+Bo");
    row("chat relay", p::chatRelay("Ann", "hello|clBlack"), "CMD_chat+Ann chats: hello|clBlack");
    row("action relay", p::actionRelay("Ann", "says: Good One!|clBlack"),
        "CMD_action+Ann says: Good One!|clBlack");
    row("sound relay", p::playASoundRelay(2, "wave3+"), "CMD_playasound+2+wave3+");
    row("justwatching", p::justWatching(5, p::WatchStop), "CMD_justwatching+5+2");
    row("startgame announce", p::startGameAnnounce("Ann", o), "CMD_startgame+Ann+f+5000+60+2000+t+t+t+");
    row("nextplayer", p::nextPlayer(8), "CMD_nextplayer+8");
    row("setdice relay", p::setDiceRelay(3, 12), "CMD_setdice+3+12");
    row("clearthem relay", p::clearThemRelay(), "CMD_clearthem+");
    row("newtiles notice", p::newTilesNotice(2, -300), "CMD_newtiles+2+-300");
    row("oldtiles notice", p::oldTilesNotice(2, -600), "CMD_oldtiles+2+-600");
    row("accepted", p::accepted(4, "WAKE"), "CMD_accepted+4+WAKE");
    row("addaword", p::addAWord(3, 5, "CRANE"), "CMD_addaword+3+5+CRANE");
    row("rejected", p::rejected("CAT", "+ Rejected. Word Exists"), "CMD_rejected+CAT+ Rejected. Word Exists");
    row("turnend", p::turnEnd(), "CMD_turnend+");
    row("scores", p::scores(1, 450, -500, 3, 1500, 0, 0), "CMD_scores+1+450+-500+3+1500+0+0+");
    row("winner", p::winner("Ann and Bo"), "CMD_winner+Ann and Bo");
}

void TestProtocol::builders()
{
    QFETCH(QByteArray, built);
    QFETCH(QByteArray, expected);
    QCOMPARE(built, expected);
}

void TestProtocol::loginReplyEndsInTwoTerminators()
{
    QCOMPARE(p::loginInfo(2, p::GameVersion, "Ann"), QByteArray("CMD_logininfo+2+1.0.7+Ann\xFF\xFF"));
}

void TestProtocol::vocabularies()
{
    QCOMPARE(p::serverCommandOrder().size(), 13);
    QCOMPARE(p::clientCommandOrder().size(), 26);
    QCOMPARE(p::serverCommandOrder().first(), QString("CMD_logininfo"));
    QCOMPARE(p::clientCommandOrder().last(), QString("CMD_playasound"));
    for (const QStringList &names : {p::serverCommandOrder(), p::clientCommandOrder()})
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), names.size());
}

void TestProtocol::windows1252RoundTrip()
{
    const QString text = QString::fromUtf8("Zoë paid 5€ – “ok”");
    const QByteArray wire = p::encodeText(text);
    QCOMPARE(wire.size(), text.size());
    QCOMPARE(static_cast<unsigned char>(wire.at(10)), 0x80); // the euro sign
    QCOMPARE(p::decodeText(wire), text);
    QCOMPARE(p::encodeText(QString::fromUtf8("日")), QByteArray("?"));
}

void TestProtocol::fieldCursor()
{
    FieldCursor c("4+1.0.7+A+B");
    QCOMPARE(c.takeInt(), 4);
    QCOMPARE(c.takeField(), QString("1.0.7"));
    QCOMPARE(c.takeRest(), QString("A+B"));
    QVERIFY(c.atEnd());

    FieldCursor last("7");
    QCOMPARE(last.takeField(), QString("7"));
    QCOMPARE(last.takeField(), QString());

    FieldCursor bad("x1+2");
    QVERIFY_THROWS_EXCEPTION(ZwonkyError, bad.takeInt());
    QCOMPARE(FieldCursor::toInt("-500"), -500);
    QCOMPARE(FieldCursor::toInt("$1F"), 31);
    QVERIFY_THROWS_EXCEPTION(ZwonkyError, FieldCursor::toInt("99999999999999"));
    QVERIFY_THROWS_EXCEPTION(ZwonkyError, FieldCursor::toInt(""));
}

void TestProtocol::dispatchExactAndInOrder()
{
    CommandTable table;
    QStringList calls;
    table.add("CMD_turnend", [&](FieldCursor &c) { calls << "turnend:" + c.takeRest(); });
    table.add("CMD_chat", [&](FieldCursor &c) { calls << "chat:" + c.takeRest(); });
    QVERIFY(table.dispatch("CMD_turnend+"));
    QVERIFY(table.dispatch("CMD_chat+Ann chats: a+b|clBlack"));
    QVERIFY(!table.dispatch("CMD_turnend"));      // no "+": empty command
    QVERIFY(!table.dispatch("cmd_turnend+"));     // case-sensitive
    QVERIFY(!table.dispatch("CMD_turnendx+"));
    QVERIFY(!table.dispatch("+CMD_turnend"));
    QVERIFY(!table.dispatch(""));
    QCOMPARE(calls, (QStringList{"turnend:", "chat:Ann chats: a+b|clBlack"}));
}

void TestProtocol::pumpHandlesOneMessagePerTick()
{
    MessagePump pump(10);
    QList<int> seen;
    QList<int> origins;
    pump.table().add("CMD_n", [&](FieldCursor &c) {
        seen << c.takeInt();
        origins << pump.currentOrigin();
    });
    pump.enqueue("CMD_n+1", 3);
    pump.enqueue("CMD_n+2", 5);
    pump.tick();
    QCOMPARE(seen, QList<int>{1});
    QCOMPARE(pump.queued(), std::size_t(1));
    pump.tick();
    QCOMPARE(seen, (QList<int>{1, 2}));
    QCOMPARE(origins, (QList<int>{3, 5}));
    QCOMPARE(pump.currentOrigin(), 0);
}

void TestProtocol::pumpCountsAndDropsPerSource()
{
    MessagePump pump(10);
    QList<int> seen;
    pump.table().add("CMD_n", [&](FieldCursor &c) { seen << c.takeInt(); });
    bool sevenBelieved = true;
    pump.setOriginCheck([&](int, quint64 source) { return source != 7 || sevenBelieved; });
    pump.enqueue("CMD_n+1", 2, 7);
    pump.enqueue("CMD_n+2", 3, 8);
    pump.enqueue("CMD_n+33", 2, 7);
    pump.enqueue("CMD_n+4");
    QCOMPARE(pump.queuedFrom(7), std::size_t(2));
    QCOMPARE(pump.bytesFrom(7), qsizetype(7 + 8));
    QCOMPARE(pump.queuedFrom(8), std::size_t(1));
    QCOMPARE(pump.queuedFrom(0), std::size_t(0)); // no source is not counted

    // Refused at dispatch: dropped unhandled, and the tick handles the next one.
    sevenBelieved = false;
    pump.tick();
    QCOMPARE(seen, QList<int>{2});
    QCOMPARE(pump.queued(), std::size_t(2));
    QCOMPARE(pump.queuedFrom(7), std::size_t(1));
    QCOMPARE(pump.bytesFrom(7), qsizetype(8));
    QCOMPARE(pump.queuedFrom(8), std::size_t(0));

    // Whatever a source still has waiting can be dropped at once.
    pump.discardFrom(7);
    QCOMPARE(pump.queued(), std::size_t(1));
    QCOMPARE(pump.queuedFrom(7), std::size_t(0));
    QCOMPARE(pump.bytesFrom(7), qsizetype(0));
    pump.tick();
    QCOMPARE(seen, (QList<int>{2, 4}));
}

void TestProtocol::gameOptionsRoundTrip_data()
{
    QTest::addColumn<bool>("team");
    QTest::addColumn<bool>("newTiles");
    QTest::addColumn<bool>("typing");
    QTest::addColumn<bool>("fast");
    QTest::addColumn<QString>("text");
    QTest::newRow("defaults") << false << true << false << false << "f+7000+65+3000+t+f+f+";
    QTest::newRow("all on") << true << true << true << true << "t+7000+65+3000+t+t+t+";
    QTest::newRow("all off") << false << false << false << false << "f+7000+65+3000+f+f+f+";
    QTest::newRow("mixed") << true << false << true << false << "t+7000+65+3000+f+t+f+";
}

void TestProtocol::gameOptionsRoundTrip()
{
    QFETCH(bool, team);
    QFETCH(bool, newTiles);
    QFETCH(bool, typing);
    QFETCH(bool, fast);
    QFETCH(QString, text);
    p::GameOptions o;
    o.team = team;
    o.playTo = 7000;
    o.timePerTurn = 65;
    o.zwonkedAt = 3000;
    o.newTiles = newTiles;
    o.typing = typing;
    o.fast = fast;
    QCOMPARE(p::gameOptionsText(o), text);
    QCOMPARE(p::startGameRequest(2, o), ("CMD_startgame+2+" + text).toLatin1() + '\xFF');
    FieldCursor cursor(text.toLatin1());
    QCOMPARE(p::takeGameOptions(cursor), o);
}

void TestProtocol::receivedFlagsAreReadLeniently_data()
{
    QTest::addColumn<QByteArray>("fields");
    QTest::addColumn<bool>("team");
    QTest::addColumn<bool>("newTiles");
    QTest::addColumn<bool>("typing");
    QTest::addColumn<bool>("fast");
    // New tiles are on unless "f"; the others only as "t".
    QTest::newRow("odd texts") << QByteArray("T+1+2+3+x+true+1+") << false << true << false << false;
    QTest::newRow("empty flags") << QByteArray("+1+2+3++++") << false << true << false << false;
    QTest::newRow("exact") << QByteArray("t+1+2+3+f+t+t+") << true << false << true << true;
}

void TestProtocol::receivedFlagsAreReadLeniently()
{
    QFETCH(QByteArray, fields);
    QFETCH(bool, team);
    QFETCH(bool, newTiles);
    QFETCH(bool, typing);
    QFETCH(bool, fast);
    FieldCursor cursor(fields);
    const p::GameOptions o = p::takeGameOptions(cursor);
    QCOMPARE(o.team, team);
    QCOMPARE(o.playTo, 1);
    QCOMPARE(o.timePerTurn, 2);
    QCOMPARE(o.zwonkedAt, 3);
    QCOMPARE(o.newTiles, newTiles);
    QCOMPARE(o.typing, typing);
    QCOMPARE(o.fast, fast);

    FieldCursor bad("f+50x0+60+2000+t+f+f+");
    QVERIFY_THROWS_EXCEPTION(ZwonkyError, p::takeGameOptions(bad));
}

void TestProtocol::dealKinds()
{
    const QStringList letters{"A", "B"};
    QCOMPARE(p::theDice(3, p::DealKind::Ten, letters), QByteArray("CMD_thedice+3+false+A+B\xFF"));
    QCOMPARE(p::theDice(3, p::DealKind::Thirteen, letters), QByteArray("CMD_thedice+3+true+A+B\xFF"));
    QCOMPARE(p::theDice(3, p::DealKind::New, letters), QByteArray("CMD_thedice+3+new+A+B\xFF"));
    QCOMPARE(p::theDice(3, p::DealKind::Old, letters), QByteArray("CMD_thedice+3+old+A+B\xFF"));
    for (p::DealKind kind : {p::DealKind::Ten, p::DealKind::Thirteen, p::DealKind::New, p::DealKind::Old})
        QCOMPARE(p::dealKindFromWire(p::dealKindText(kind)), kind);
    // Exact texts only.
    for (const char *odd : {"", "True", "NEW", "old ", "t"})
        QCOMPARE(p::dealKindFromWire(QString::fromLatin1(odd)), p::DealKind::Other);
}

void TestProtocol::teamWinner()
{
    QCOMPARE(p::teamWinnerText("Ann", "Cid"), QStringLiteral("Ann and Cid"));
    QVERIFY(p::isTeamWinner(p::teamWinnerText("Ann", "Cid")));
    QVERIFY(!p::isTeamWinner("Andy"));
    QVERIFY(!p::isTeamWinner("Sand andes"));
}

void TestProtocol::badNumberEndsThatMessageOnly()
{
    MessagePump pump(10);
    QStringList errors;
    QList<int> seen;
    pump.setErrorReporter([&](const QString &e) { errors << e; });
    pump.table().add("CMD_n", [&](FieldCursor &c) {
        seen << c.takeInt();
        seen << c.takeInt();
    });
    pump.enqueue("CMD_n+1+abc");
    pump.enqueue("CMD_n+2+3");
    pump.drain();
    QCOMPARE(seen, (QList<int>{1, 2, 3}));
    QCOMPARE(errors.size(), 1);
    QVERIFY(errors.first().contains("abc"));
}

void TestProtocol::placeholderAndCutChatAreDropped()
{
    MessagePump pump(10);
    QStringList chats;
    pump.table().add("CMD_chat", [&](FieldCursor &c) { chats << c.takeRest(); });
    // A chat text holding the byte 0xFF arrives cut there; the remainder is
    // an unknown message and is dropped.
    pump.enqueue("receivedlist");
    pump.enqueue(QByteArray("CMD_chat+2+caf"));
    pump.enqueue(QByteArray("s good|clBlack"));
    pump.drain();
    QCOMPARE(chats, QStringList{"2+caf"});
}

QTEST_GUILESS_MAIN(TestProtocol)
#include "tst_protocol.moc"
