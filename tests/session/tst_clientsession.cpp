// The client session without a screen: what each server message does to the
// typed state and which signals announce it, the exact bytes of the requests,
// and the order of messages and the connection's close. The host is a bare
// QTcpServer on loopback; the session's dispatch and clock are stepped here.

#include "net/protocol.h"
#include "session/clientsession.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

using namespace zwonky;

namespace {

const QString Version = QString::fromLatin1(protocol::GameVersion);

protocol::GameOptions options(int timePerTurn, bool fast = false)
{
    protocol::GameOptions o;
    o.timePerTurn = timePerTurn;
    o.fast = fast;
    return o;
}

QStringList letters(const char *text)
{
    QStringList list;
    for (const char *c = text; *c; ++c)
        list << QString(QLatin1Char(*c));
    return list;
}

// One session at a table whose host is a bare socket.
struct Rig
{
    QTcpServer server;
    QPointer<QTcpSocket> host;
    ClientSession session;
    QByteArray sent;
    QSignalSpy notices{&session, &ClientSession::notice};
    QSignalSpy sounds{&session, &ClientSession::soundRequested};
    QSignalSpy errors{&session, &ClientSession::errorOccurred};

    Rig()
    {
        session.setDispatchManual(true);
        session.setClockManual(true);
        session.setPlayerName(QStringLiteral("Ann"));
    }

    // Connects and takes the seat; the login reply is checked and read away.
    bool seat(int own, bool hosting = false)
    {
        session.setHosting(hosting);
        if (!server.listen(QHostAddress::LocalHost, 0))
            return false;
        session.connectToHost(QStringLiteral("127.0.0.1"), QString::number(server.serverPort()));
        if (!QTest::qWaitFor([this] { return server.hasPendingConnections(); }, 5000))
            return false;
        host = server.nextPendingConnection();
        feed(protocol::sendLoginInfo(own));
        return expectSent(protocol::loginInfo(own, Version, QStringLiteral("Ann")));
    }

    // One message from the host, handled at once.
    void feed(const QByteArray &message)
    {
        session.receive(message);
        while (session.queued() > 0)
            session.tick();
    }
    void feed(const char *text) { feed(QByteArray(text) + protocol::Terminator); }

    // Waits for exactly these bytes from the session and consumes them.
    bool expectSent(const QByteArray &bytes)
    {
        const bool arrived = QTest::qWaitFor([&] {
            if (host)
                sent += host->readAll();
            return sent.size() >= bytes.size();
        }, 5000);
        const bool same = arrived && sent == bytes;
        if (!same)
            qWarning() << "sent" << sent << "expected" << bytes;
        sent.clear();
        return same;
    }
    // Nothing was sent before a marker chat line.
    bool nothingSent()
    {
        session.chat(QStringLiteral("marker"), QStringLiteral("clBlack"));
        return expectSent(protocol::chat(session.ownSeat(), QStringLiteral("marker"),
                                         QStringLiteral("clBlack")));
    }
    QStringList noticeTexts() const
    {
        QStringList texts;
        for (const QList<QVariant> &call : notices)
            texts << call.at(0).toString();
        return texts;
    }
    QStringList soundNames() const
    {
        QStringList names;
        for (const QList<QVariant> &call : sounds)
            names << clipName(call.at(0).value<SoundClip>()).toLower();
        return names;
    }
    // Ann (own seat 2), Bo in seat 1, Cy in seat 3.
    bool seatedTable(int own = 2)
    {
        if (!seat(own))
            return false;
        feed(protocol::newPlayerInfo(own, QStringLiteral("Ann")));
        feed(protocol::existingPlayers(1, QStringLiteral("Bo")));
        feed(protocol::existingPlayers(3, QStringLiteral("Cy")));
        return true;
    }
    void startGame(int timePerTurn = 60, bool fast = false)
    {
        feed(protocol::startGameAnnounce(QStringLiteral("Bo"), options(timePerTurn, fast)));
    }
    void turn(int seat, const char *dealt = "CATSDOGRUN")
    {
        feed(protocol::nextPlayer(seat));
        feed(protocol::theDice(seat, QStringLiteral("false"), letters(dealt)));
    }
};

} // namespace

class TestClientSession : public QObject
{
    Q_OBJECT
private slots:
    void commandTableIsTheClientsVocabularyInOrder();
    void loginRepliesWithSeatVersionAndNameEndingInTwoTerminators();
    void oneMessagePerTick();
    void playersJoinAndLeave();
    void watchingMarksRowsAndTheOwnToggleAsksTheHost();
    void startResetsTheTableAndTypesTheOptions();
    void nextPlayerSetsTheTurnAndClearsTheTurnsState();
    void diceDealLettersSetHandSizeAndStartTheClock();
    void ownTurnRequestsLayTilesAndSubmitTheWord();
    void requestsOutsideTheOwnTurnSendNothing();
    void watchersMirrorRelayedTilesAndClearAfterAVerdict();
    void acceptedWordsAreFiledPerSeatAndLength();
    void scoresUpdateRowsPartnerAndAnnouncement();
    void purchasesChargeTheSeatAndLetTheOwnPlayerGoBack();
    void clockCountsDownAndEndsOnlyTheOwnTurn();
    void turnEndAndWinnerCloseThePhases();
    void newcomerCatchesUpFromStatsAndLoadScores();
    void chatAndChatterSoundsArePassedOn();
    void hostOnlyAndTypedRequests();
    void fullGameIsAnnounced();
    void closeComesAfterTheMessagesBeforeIt();
    void fastHostWaitsForTheSession();
    void hostileFields_data();
    void hostileFields();
    void whatTheWindowReliesOn();
};

void TestClientSession::commandTableIsTheClientsVocabularyInOrder()
{
    ClientSession session;
    QCOMPARE(session.commandNames(), protocol::clientCommandOrder());
    QCOMPARE(session.commandNames().size(), 26);
}

void TestClientSession::loginRepliesWithSeatVersionAndNameEndingInTwoTerminators()
{
    Rig rig;
    QSignalSpy loggedIn(&rig.session, &ClientSession::loggedIn);
    rig.session.setPlayerName(QStringLiteral("A+B"));
    QVERIFY(rig.server.listen(QHostAddress::LocalHost, 0));
    QVERIFY(!rig.session.isConnected());
    rig.session.connectToHost(QStringLiteral("127.0.0.1"), QString::number(rig.server.serverPort()));
    QVERIFY(QTest::qWaitFor([&] { return rig.server.hasPendingConnections(); }, 5000));
    rig.host = rig.server.nextPendingConnection();
    // Requests before the seat is given go nowhere.
    rig.session.chat(QStringLiteral("early"), QStringLiteral("clBlack"));
    rig.feed("CMD_sendlogininfo+4");
    QCOMPARE(rig.session.ownSeat(), 4);
    QVERIFY(rig.session.isConnected());
    QCOMPARE(loggedIn.count(), 1);
    QVERIFY(rig.expectSent(QByteArray("CMD_logininfo+4+1.0.7+A+B\xFF\xFF")));
}

void TestClientSession::oneMessagePerTick()
{
    Rig rig;
    QVERIFY(rig.seatedTable());
    QSignalSpy changed(&rig.session, &ClientSession::playerChanged);
    // Two messages in one read, the third cut in two.
    rig.session.receive(protocol::existingPlayers(4, QStringLiteral("Di"))
                        + protocol::existingPlayers(5, QStringLiteral("Ed")) + "CMD_existing");
    rig.session.receive("players+6+Fay\xFF");
    QCOMPARE(rig.session.queued(), std::size_t(3));
    rig.session.tick();
    QCOMPARE(rig.session.players().row(4).name, QStringLiteral("Di"));
    QVERIFY(!rig.session.players().row(5).seated);
    rig.session.tick();
    rig.session.tick();
    QCOMPARE(rig.session.players().row(6).name, QStringLiteral("Fay"));
    QCOMPARE(changed.count(), 3);
    // Empty messages, messages without "+" and unknown commands are dropped quietly.
    rig.feed("");
    rig.feed("CMD_turnend");
    rig.feed("CMD_nosuch+1");
    QCOMPARE(rig.session.phase(), SessionPhase::NoGame);
    QCOMPARE(rig.errors.count(), 0);
}

void TestClientSession::playersJoinAndLeave()
{
    Rig rig;
    QVERIFY(rig.seat(2));
    QSignalSpy confirmed(&rig.session, &ClientSession::ownLoginConfirmed);
    QSignalSpy spies(&rig.session, &ClientSession::spectatorsChanged);
    rig.feed(protocol::newPlayerInfo(2, QStringLiteral("Ann")));
    rig.feed(protocol::existingPlayers(1, QStringLiteral("Bo")));
    rig.feed(protocol::existingPlayers(5, QStringLiteral("A+B")));
    rig.feed(protocol::newPlayerInfo(7, QStringLiteral("Cy")));
    QCOMPARE(confirmed.count(), 1);
    QCOMPARE(rig.session.players().shownName(1), QStringLiteral("Bo"));
    QCOMPARE(rig.session.players().shownName(5), QStringLiteral("A+B"));
    QCOMPARE(rig.session.players().shownName(3), QStringLiteral("<Waiting>"));
    QCOMPARE(rig.session.players().spectators().size(), 1);
    QCOMPARE(rig.session.players().spectators().first().entry(), QStringLiteral("7: Cy"));
    QCOMPARE(rig.noticeTexts(),
             QStringList({"You are Connected.", "Bo is Connected.", "A+B is Connected.",
                          "Cy is Connected.", "Cy is spying."}));
    QCOMPARE(rig.soundNames(), QStringList({"entered", "entered", "entered"}));
    QCOMPARE(rig.notices.first().at(1).toUInt(), ClientSession::NoticeBlue);

    rig.notices.clear();
    rig.feed(protocol::playerDisconnected(7, QStringLiteral("Cy")));
    rig.feed(protocol::playerDisconnected(7, QStringLiteral("Cy"))); // no such entry any more
    rig.feed(protocol::playerDisconnected(1, QStringLiteral("x")));  // the row's name is told
    rig.feed(protocol::playerDisconnected(3, QStringLiteral("x")));  // an empty seat: silent
    QCOMPARE(rig.noticeTexts(), QStringList({"Cy has left.", "Bo disconnected."}));
    QCOMPARE(rig.notices.first().at(1).toUInt(), ClientSession::LeftNavy);
    QVERIFY(rig.session.players().spectators().isEmpty());
    QCOMPARE(spies.count(), 2);
    QVERIFY(!rig.session.players().row(1).seated);
}

void TestClientSession::watchingMarksRowsAndTheOwnToggleAsksTheHost()
{
    Rig rig;
    QVERIFY(rig.seatedTable());
    QSignalSpy watching(&rig.session, &ClientSession::watchingChanged);
    rig.session.toggleWatching();
    QVERIFY(rig.expectSent(protocol::justWatch(2, protocol::WatchStart)));
    QVERIFY(!rig.session.players().row(2).watching); // the host's answer decides
    rig.feed("CMD_justwatching+2+1");
    QVERIFY(rig.session.players().row(2).watching);
    QCOMPARE(rig.noticeTexts().last(), QStringLiteral("Ann is just watching"));
    QCOMPARE(rig.notices.last().at(1).toUInt(), ClientSession::WatchGrey);
    rig.session.toggleWatching();
    QVERIFY(rig.expectSent(protocol::justWatch(2, protocol::WatchStop)));
    rig.feed("CMD_justwatching+2+7"); // anything but "1" is playing again
    QVERIFY(!rig.session.players().row(2).watching);
    QCOMPARE(rig.noticeTexts().last(), QStringLiteral("Ann now playing again"));
    rig.feed("CMD_justwatching+7+1");
    QCOMPARE(watching.count(), 2);
    // A player who leaves takes his marker along.
    rig.feed("CMD_justwatching+3+1");
    rig.feed(protocol::playerDisconnected(3, QStringLiteral("Cy")));
    QVERIFY(!rig.session.players().row(3).watching);
}

void TestClientSession::startResetsTheTableAndTypesTheOptions()
{
    Rig rig;
    QVERIFY(rig.seatedTable());
    QSignalSpy started(&rig.session, &ClientSession::gameStarted);
    rig.feed("CMD_loadscores+1+700");
    rig.feed("CMD_justwatching+3+1");
    rig.feed("CMD_startgame+Bo+f+5000+60+4000+t+f+t+");
    QCOMPARE(started.count(), 1);
    const GameSettings s = rig.session.settings();
    QCOMPARE(s.playTo, 5000);
    QCOMPARE(s.timePerTurn, 60);
    QCOMPARE(s.zwonkedAt, 4000);
    QVERIFY(s.newTiles);
    QVERIFY(!s.typing);
    QVERIFY(s.fast);
    QVERIFY(!s.team);
    QCOMPARE(started.first().at(1).value<GameSettings>(), s);
    QCOMPARE(rig.noticeTexts().last(), QStringLiteral("Bo has started a FAST game."));
    QCOMPARE(rig.session.players().row(1).score, 0);
    QVERIFY(!rig.session.players().row(3).watching);
    QCOMPARE(rig.session.players().shownName(1), QStringLiteral("Bo"));
    QCOMPARE(rig.session.phase(), SessionPhase::Pause);
    QCOMPARE(rig.session.currentSeat(), 0);

    rig.feed("CMD_startgame+Bo+t+100+30+50+f+t+f+");
    QVERIFY(rig.session.settings().team);
    QVERIFY(!rig.session.settings().newTiles);
    QVERIFY(rig.session.settings().typing);
    QCOMPARE(rig.noticeTexts().last(), QStringLiteral("Bo has started a SLOW TEAM game."));
}

void TestClientSession::nextPlayerSetsTheTurnAndClearsTheTurnsState()
{
    Rig rig;
    QVERIFY(rig.seatedTable());
    rig.startGame();
    QSignalSpy turns(&rig.session, &ClientSession::turnStarted);
    rig.turn(3);
    rig.feed(protocol::accepted(3, QStringLiteral("CAT")));
    QCOMPARE(rig.session.words().words(3), QStringList{"CAT"});
    rig.feed("CMD_nextplayer+2");
    QVERIFY(rig.session.isOwnTurn());
    QCOMPARE(rig.session.phase(), SessionPhase::TurnRunning);
    QCOMPARE(rig.session.words().count(3), 0);
    // A seat past the rows (a fast game's spectator) follows seat 1.
    rig.feed("CMD_nextplayer+8");
    QCOMPARE(rig.session.currentSeat(), 1);
    QCOMPARE(turns.count(), 3);
    QCOMPARE(turns.last().at(0).toInt(), 1);
    rig.feed("CMD_nextplayer+0");
    QCOMPARE(rig.session.currentSeat(), 1);
    QCOMPARE(turns.count(), 3);
}

void TestClientSession::diceDealLettersSetHandSizeAndStartTheClock()
{
    Rig rig;
    QVERIFY(rig.seatedTable());
    rig.startGame(45);
    QSignalSpy dealt(&rig.session, &ClientSession::lettersDealt);
    rig.feed("CMD_nextplayer+2");
    rig.feed("CMD_thedice+2+false+W+E+T+E+U+O+S+T+R+Q");
    QCOMPARE(rig.session.tray().letters(), letters("WETEUOSTRQ"));
    QCOMPARE(rig.session.tray().handSize(), 10);
    QVERIFY(rig.session.clockRunning());
    QCOMPARE(rig.session.secondsLeft(), 45);
    QCOMPARE(rig.soundNames().last(), QStringLiteral("turn"));
    QCOMPARE(dealt.last().at(1).value<DealKind>(), DealKind::Ten);

    rig.session.tickClock();
    rig.feed("CMD_thedice+2+new+A+B+C+D+E+F+G+H+I+J");
    QCOMPARE(rig.session.tray().letter(1), QStringLiteral("A"));
    QCOMPARE(rig.session.secondsLeft(), 44); // the clock runs on

    rig.session.setNewTurnSound(true);
    rig.feed("CMD_thedice+2+false+A+B+C+D+E+F+G+H+I+J");
    QCOMPARE(rig.soundNames().last(), QStringLiteral("turnnew"));
    rig.feed("CMD_thedice+2+true+A+B+C+D+E+F+G+H+I+J+K+L+M");
    QCOMPARE(rig.session.tray().handSize(), 13);
    QCOMPARE(rig.soundNames().last(), QStringLiteral("zwonked"));
    rig.feed("CMD_thedice+2+old+Q+R+S+T+U+V+W+X+Y+Z+K+L+M");
    QCOMPARE(rig.session.tray().handSize(), 13);
    // Another seat's deal plays no turn sound.
    const qsizetype before = rig.sounds.count();
    rig.feed("CMD_thedice+3+false+A+B+C+D+E+F+G+H+I+J");
    QCOMPARE(rig.sounds.count(), before);
    QCOMPARE(rig.session.tray().handSize(), 10);
}

void TestClientSession::ownTurnRequestsLayTilesAndSubmitTheWord()
{
    Rig rig;
    QVERIFY(rig.seatedTable());
    rig.startGame();
    rig.turn(2, "CATSDOGRUN");
    QSignalSpy moved(&rig.session, &ClientSession::tileMoved);
    QVERIFY(rig.session.putTile(5));
    QVERIFY(!rig.session.putTile(5));  // already laid
    QVERIFY(!rig.session.putTile(11)); // not in a 10-letter hand
    QVERIFY(rig.session.putTile(6));
    QVERIFY(rig.session.putTile(7));
    QVERIFY(rig.session.takeBackTile());
    QVERIFY(rig.session.putTile(2));
    QCOMPARE(rig.session.tray().dice(), QList<int>({5, 6, 2}));
    QCOMPARE(rig.session.tray().word(), QStringLiteral("DOA"));
    QCOMPARE(moved.count(), 5);
    QCOMPARE(moved.at(3), QList<QVariant>({0, 7}));
    QVERIFY(rig.session.submitWord());
    QCOMPARE(rig.session.tray().count(), 0);
    QVERIFY(!rig.session.submitWord()); // an empty tray submits nothing
    rig.session.clearTray();
    rig.session.buyNewTiles();
    rig.session.buyOldTiles();
    rig.session.finishTurn();
    QVERIFY(rig.expectSent(
        protocol::setDiceRequest(2, 1, 5) + protocol::setDiceRequest(2, 2, 6)
        + protocol::setDiceRequest(2, 3, 7) + protocol::setDiceRequest(2, 0, 7)
        + protocol::setDiceRequest(2, 3, 2) + QByteArray("CMD_done+2+5+6+2\xFF")
        + protocol::clearThemRequest(2) + protocol::newTilesRequest(2)
        + protocol::oldTilesRequest(2) + protocol::finish(2)));
    // The own word stays on this client until the verdict; then nothing to clear.
    QVERIFY(rig.session.putTile(1));
    rig.feed(protocol::accepted(3, QStringLiteral("DOA")));
    QCOMPARE(rig.session.tray().count(), 1);
}

void TestClientSession::requestsOutsideTheOwnTurnSendNothing()
{
    Rig rig;
    QVERIFY(rig.seatedTable());
    rig.startGame();
    rig.turn(3);
    QVERIFY(!rig.session.putTile(1));
    QVERIFY(!rig.session.takeBackTile());
    QVERIFY(!rig.session.submitWord());
    rig.session.clearTray();
    rig.session.buyNewTiles();
    rig.session.buyOldTiles();
    rig.session.finishTurn();
    rig.session.kick(3);        // not the host
    rig.session.setSeatWatching(5, true); // seats 5 and 6 cannot watch
    QVERIFY(rig.nothingSent());
}

void TestClientSession::watchersMirrorRelayedTilesAndClearAfterAVerdict()
{
    Rig rig;
    QVERIFY(rig.seatedTable());
    rig.startGame();
    rig.turn(3, "CATSDOGRUN");
    QSignalSpy cleared(&rig.session, &ClientSession::trayCleared);
    rig.feed(protocol::setDiceRelay(1, 4));
    rig.feed(protocol::setDiceRelay(2, 1));
    rig.feed(protocol::setDiceRelay(3, 2));
    rig.feed(protocol::setDiceRelay(0, 2));
    rig.feed(protocol::setDiceRelay(11, 3)); // no such place
    rig.feed(protocol::setDiceRelay(3, 14)); // no such die
    QCOMPARE(rig.session.tray().dice(), QList<int>({4, 1}));
    QCOMPARE(rig.session.tray().word(), QStringLiteral("SC"));
    QCOMPARE(rig.soundNames().mid(rig.soundNames().size() - 4),
             QStringList({"puttile", "puttile", "puttile", "clear"}));
    rig.feed(protocol::clearThemRelay());
    QCOMPARE(rig.session.tray().count(), 0);
    rig.feed(protocol::setDiceRelay(1, 1));
    rig.feed(protocol::rejected(QStringLiteral("C"), QStringLiteral("+ Rejected")));
    QCOMPARE(rig.session.tray().count(), 0);
    rig.feed(protocol::setDiceRelay(1, 1));
    rig.feed(protocol::accepted(3, QStringLiteral("CAT")));
    QCOMPARE(rig.session.tray().count(), 0);
    QCOMPARE(cleared.count(), 3);
}

void TestClientSession::acceptedWordsAreFiledPerSeatAndLength()
{
    Rig rig;
    QVERIFY(rig.seatedTable());
    rig.startGame();
    rig.turn(3);
    QSignalSpy acceptedSpy(&rig.session, &ClientSession::wordAccepted);
    QSignalSpy rejectedSpy(&rig.session, &ClientSession::wordRejected);
    rig.feed(protocol::accepted(3, QStringLiteral("CAT")));
    rig.feed(protocol::accepted(4, QStringLiteral("CATS")));
    rig.feed(protocol::accepted(3, QStringLiteral("DOG")));
    rig.feed(protocol::accepted(12, QStringLiteral("TOOLONGWORDS"))); // no column: not filed
    rig.feed(protocol::rejected(QStringLiteral("CAT"), QStringLiteral("+ Rejected. Word Exists")));
    QCOMPARE(rig.session.words().words(3, 3), QStringList({"CAT", "DOG"}));
    QCOMPARE(rig.session.words().words(3), QStringList({"CATS", "CAT", "DOG"}));
    QCOMPARE(acceptedSpy.count(), 4);
    QCOMPARE(acceptedSpy.first(), QList<QVariant>({3, 3, QStringLiteral("CAT")}));
    QCOMPARE(rejectedSpy.first(),
             QList<QVariant>({QStringLiteral("CAT"), QStringLiteral(" Rejected. Word Exists")}));
    QCOMPARE(rig.soundNames().last(), QStringLiteral("badword"));

    // Fast game: the own words come as "CMD_accepted", the others' as "CMD_addaword".
    rig.startGame(60, true);
    rig.turn(2);
    rig.feed(protocol::accepted(4, QStringLiteral("RUNS")));
    rig.feed(protocol::addAWord(2, 4, QStringLiteral("RUNS")));
    rig.feed(protocol::addAWord(1, 3, QStringLiteral("SUN")));
    rig.feed(protocol::addAWord(9, 3, QStringLiteral("BAD")));
    QCOMPARE(rig.session.words().words(2), QStringList{"RUNS"});
    QCOMPARE(rig.session.words().words(1), QStringList{"SUN"});
}

void TestClientSession::scoresUpdateRowsPartnerAndAnnouncement()
{
    Rig rig;
    QVERIFY(rig.seatedTable());
    rig.startGame();
    rig.turn(1);
    QSignalSpy said(&rig.session, &ClientSession::announcement);
    QSignalSpy scored(&rig.session, &ClientSession::turnScored);
    rig.feed(protocol::scores(1, 200, 300, 5, 500, 3, 500));
    QVERIFY(!rig.session.clockRunning());
    QCOMPARE(rig.session.players().row(1).score, 500);
    QCOMPARE(rig.session.players().row(3).score, 500);
    const TurnResult result{200, 300, 5};
    QCOMPARE(rig.session.players().row(1).result, std::optional<TurnResult>(result));
    QCOMPARE(scored.first().at(1).value<TurnResult>(), result);
    QCOMPARE(said.last().at(0).toString(),
             QStringLiteral("Bo Scored: 500 points! 5 words made for 200 points plus 300 bonus points!"));
    rig.feed(protocol::scores(3, 100, -500, 2, 0, 0, 0));
    QCOMPARE(said.last().at(0).toString(),
             QStringLiteral("Cy Lost 500 points! 2 words made for 100 points but that wasn't enough!"));
    QVERIFY(!rig.session.players().row(1).result.has_value()); // a normal game shows one result
    QCOMPARE(rig.session.players().row(3).score, 0);

    // Fast game: every seat keeps its result; only the own gain is announced.
    rig.startGame(60, true);
    said.clear();
    rig.feed(protocol::scores(1, 60, 0, 1, 60, 0, 0));
    rig.feed(protocol::scores(2, 120, 0, 1, 120, 0, 0));
    QCOMPARE(said.count(), 1);
    QVERIFY(said.first().at(0).toString().startsWith(QStringLiteral("Ann Scored: 120")));
    QVERIFY(rig.session.players().row(1).result.has_value());
}

void TestClientSession::purchasesChargeTheSeatAndLetTheOwnPlayerGoBack()
{
    Rig rig;
    QVERIFY(rig.seatedTable());
    rig.startGame(60, true);
    rig.turn(2);
    QSignalSpy said(&rig.session, &ClientSession::announcement);
    rig.feed(protocol::newTilesNotice(2, -300));
    QCOMPARE(rig.session.players().row(2).score, -300);
    QVERIFY(rig.session.state().ownHoldsNewTiles);
    QVERIFY(rig.session.players().row(2).boughtTiles);
    QCOMPARE(said.last().at(0).toString(), QStringLiteral("Ann bought new tiles for 300 points!"));
    rig.feed(protocol::oldTilesNotice(2, -600));
    QVERIFY(!rig.session.state().ownHoldsNewTiles);
    QCOMPARE(said.last().at(0).toString(), QStringLiteral("Ann bought the old tiles for 300 points!"));
    rig.feed(protocol::newTilesNotice(1, -300));
    QVERIFY(!rig.session.state().ownHoldsNewTiles);
    rig.feed("CMD_nextplayer+2");
    QVERIFY(!rig.session.players().row(2).boughtTiles);
}

void TestClientSession::clockCountsDownAndEndsOnlyTheOwnTurn()
{
    Rig rig;
    QVERIFY(rig.seatedTable());
    rig.startGame(11);
    QSignalSpy ticks(&rig.session, &ClientSession::clockTicked);
    QSignalSpy ended(&rig.session, &ClientSession::turnEnded);
    rig.turn(2);
    rig.sounds.clear();
    QVERIFY(rig.session.putTile(1));
    for (int second = 0; second < 11; ++second)
        rig.session.tickClock();
    QCOMPARE(ticks.last().at(0).toInt(), 0);
    QCOMPARE(rig.soundNames().count(QStringLiteral("time")), 11); // 10 down to 0
    QVERIFY(rig.session.isOwnTurn());
    rig.session.tickClock();
    QCOMPARE(ended.count(), 1);
    QCOMPARE(ended.first().at(0).toBool(), false);
    QCOMPARE(rig.session.currentSeat(), 0);
    QCOMPARE(rig.session.phase(), SessionPhase::Pause);
    QCOMPARE(rig.session.tray().count(), 0);
    QCOMPARE(rig.session.tray().letter(1), QString());
    QVERIFY(!rig.session.clockRunning());
    QVERIFY(!rig.session.putTile(2));
    QCOMPARE(rig.soundNames().last(), QStringLiteral("timeup"));

    // A watcher's clock runs out too, without ending anything on screen.
    rig.turn(3);
    for (int second = 0; second < 12; ++second)
        rig.session.tickClock();
    QCOMPARE(ended.count(), 1);
    QCOMPARE(rig.session.currentSeat(), 0);
    QCOMPARE(rig.session.tray().letter(1), QStringLiteral("C"));
}

void TestClientSession::turnEndAndWinnerCloseThePhases()
{
    Rig rig;
    QVERIFY(rig.seatedTable());
    rig.startGame();
    rig.turn(1);
    QSignalSpy ended(&rig.session, &ClientSession::turnEnded);
    QSignalSpy over(&rig.session, &ClientSession::gameOver);
    rig.feed(protocol::turnEnd());
    QCOMPARE(ended.count(), 1);
    QCOMPARE(ended.first().at(0).toBool(), true);
    QCOMPARE(rig.session.currentSeat(), 0);
    QCOMPARE(rig.session.phase(), SessionPhase::Pause);
    QCOMPARE(rig.soundNames().mid(rig.soundNames().size() - 2), QStringList({"timeup", "showlist"}));
    rig.feed("CMD_winner+Bo and Cy");
    QCOMPARE(rig.session.phase(), SessionPhase::GameOver);
    QCOMPARE(rig.session.state().winner, QStringLiteral("Bo and Cy"));
    QCOMPARE(over.first().at(0).toString(), QStringLiteral("Bo and Cy"));
    QCOMPARE(rig.soundNames().last(), QStringLiteral("gameover"));
    rig.startGame();
    QCOMPARE(rig.session.state().winner, QString());
    QCOMPARE(rig.session.phase(), SessionPhase::Pause);
}

void TestClientSession::newcomerCatchesUpFromStatsAndLoadScores()
{
    Rig rig;
    QVERIFY(rig.seatedTable(4));
    QSignalSpy caught(&rig.session, &ClientSession::caughtUp);
    rig.feed(protocol::stats(9, options(75, true)));
    QCOMPARE(rig.session.currentSeat(), 1);
    QCOMPARE(rig.session.settings().timePerTurn, 75);
    QVERIFY(rig.session.settings().fast);
    QCOMPARE(rig.session.phase(), SessionPhase::TurnRunning);
    QCOMPARE(caught.count(), 1);
    QByteArray catchUp;
    for (int seat = 1; seat <= 6; ++seat)
        catchUp += protocol::loadScores(seat, seat * 100);
    rig.session.receive(catchUp);
    while (rig.session.queued() > 0)
        rig.session.tick();
    QCOMPARE(rig.session.players().row(6).score, 600);
    rig.feed(protocol::theDice(1, QStringLiteral("false"), letters("ABCDEFGHIJ")));
    QCOMPARE(rig.session.secondsLeft(), 75);
}

void TestClientSession::chatAndChatterSoundsArePassedOn()
{
    Rig rig;
    QVERIFY(rig.seatedTable());
    QSignalSpy lines(&rig.session, &ClientSession::chatReceived);
    QSignalSpy chatter(&rig.session, &ClientSession::chatterSoundRequested);
    rig.feed(protocol::chatRelay(QStringLiteral("Bo"), QStringLiteral("a+b|c|clRed")));
    rig.feed(protocol::actionRelay(QStringLiteral("Bo"), QStringLiteral("waves")));
    QCOMPARE(lines.at(0), QList<QVariant>({QStringLiteral("Bo chats: a+b"), QStringLiteral("c|clRed")}));
    QCOMPARE(lines.at(1), QList<QVariant>({QStringLiteral("Bo waves"), QString()}));
    rig.feed("CMD_playasound+3+wave5+");
    rig.feed("CMD_playasound+x+wave2+");
    QCOMPARE(chatter.at(0), QList<QVariant>({3, QStringLiteral("wave5")}));
    QCOMPARE(chatter.at(1), QList<QVariant>({0, QStringLiteral("wave2")}));
    rig.feed("CMD_havewrongversion+Cy");
    rig.feed("CMD_wrongversion+");
    QCOMPARE(rig.noticeTexts().mid(rig.noticeTexts().size() - 2),
             QStringList({"Cy has a different version of the game then you.",
                          "You have a differnt version of the game then the host."}));
}

void TestClientSession::hostOnlyAndTypedRequests()
{
    Rig rig;
    QVERIFY(rig.seat(1, true));
    rig.session.chat(QStringLiteral("hi"), QStringLiteral("clBlack"));
    rig.session.action(QStringLiteral("waves"), QStringLiteral("$00FF0000"));
    rig.session.kick(7);
    rig.session.setSeatWatching(3, true);
    rig.session.setSeatWatching(4, false);
    rig.session.startGame(options(60));
    rig.session.playSound(5);
    QVERIFY(rig.expectSent(QByteArray("CMD_chat+1+hi|clBlack\xFF"
                                      "CMD_action+1+waves|$00FF0000\xFF"
                                      "CMD_kickhim+1+7+\xFF"
                                      "CMD_justwatch+3+1\xFF"
                                      "CMD_justwatch+4+2\xFF"
                                      "CMD_startgame+1+f+5000+60+2000+t+f+f+\xFF"
                                      "CMD_playasound+1+wave5+\xFF")));
}

void TestClientSession::fullGameIsAnnounced()
{
    Rig rig;
    QSignalSpy full(&rig.session, &ClientSession::gameFull);
    rig.feed("CMD_full+");
    QCOMPARE(full.count(), 1);
    QVERIFY(!rig.session.isConnected());
}

void TestClientSession::closeComesAfterTheMessagesBeforeIt()
{
    Rig rig;
    QVERIFY(rig.seatedTable());
    QSignalSpy closed(&rig.session, &ClientSession::connectionClosed);
    rig.host->write(protocol::existingPlayers(4, QStringLiteral("Di"))
                    + protocol::existingPlayers(5, QStringLiteral("Ed")));
    rig.host->disconnectFromHost();
    QTRY_VERIFY(rig.session.closeQueued());
    QCOMPARE(rig.session.queued(), std::size_t(2));
    QCOMPARE(closed.count(), 0);
    rig.session.tick();
    QCOMPARE(closed.count(), 0);
    QVERIFY(!rig.session.players().row(5).seated);
    rig.session.tick();
    QCOMPARE(rig.session.players().shownName(5), QStringLiteral("Ed"));
    QCOMPARE(closed.count(), 1);
    QVERIFY(rig.session.isClosed());
    // Nothing is taken after the close, and it is told once.
    rig.session.receive(protocol::existingPlayers(6, QStringLiteral("Fay")));
    rig.session.tick();
    QCOMPARE(rig.session.queued(), std::size_t(0));
    QCOMPARE(closed.count(), 1);
    // A request on the closed connection is reported, not thrown.
    rig.session.chat(QStringLiteral("anyone?"), QStringLiteral("clBlack"));
    QCOMPARE(rig.errors.count(), 1);
}

void TestClientSession::hostileFields_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<bool>("reported"); // unreadable: the message ends with an error
    QTest::newRow("login seat not a number") << QByteArray("CMD_sendlogininfo+two") << true;
    QTest::newRow("newcomer seat not a number") << QByteArray("CMD_newplayerinfo+x+Eve") << true;
    // A seat without a row is greeted but shown nowhere.
    QTest::newRow("newcomer seat negative") << QByteArray("CMD_existingplayers+-3+Eve") << false;
    QTest::newRow("newcomer seat huge") << QByteArray("CMD_newplayerinfo+99999999999+Eve") << true;
    QTest::newRow("departure seat huge") << QByteArray("CMD_playerdisconnected+2147483647+Eve") << false;
    QTest::newRow("start with a word for a number") << QByteArray("CMD_startgame+Bo+f+many+60+2000+t+f+f+") << true;
    QTest::newRow("next player not a number") << QByteArray("CMD_nextplayer+1x") << true;
    QTest::newRow("next player negative") << QByteArray("CMD_nextplayer+-4") << false;
    QTest::newRow("watching seat huge") << QByteArray("CMD_justwatching+123456+1") << false;
    QTest::newRow("dice with 20 letters") << QByteArray("CMD_thedice+3+false+A+B+C+D+E+F+G+H+I+J+K+L+M+N+O+P+Q+R+S+T") << false;
    QTest::newRow("dice with empty fields") << QByteArray("CMD_thedice+3+false++++") << false;
    QTest::newRow("tile at a negative place") << QByteArray("CMD_setdice+-1+3") << false;
    QTest::newRow("accepted length not a number") << QByteArray("CMD_accepted+ten+CAT") << true;
    QTest::newRow("accepted length negative") << QByteArray("CMD_accepted+-3+CAT") << false;
    QTest::newRow("scores cut short") << QByteArray("CMD_scores+1+200") << true;
    QTest::newRow("scores for seat 0") << QByteArray("CMD_scores+0+200+0+1+200+0+0+") << false;
    // The row shows the host's text as it came; it counts as no score.
    QTest::newRow("catch-up score not a number") << QByteArray("CMD_loadscores+2+lots") << false;
    QTest::newRow("catch-up seat beyond the rows") << QByteArray("CMD_loadscores+8+100") << false;
    QTest::newRow("purchase for seat 40") << QByteArray("CMD_newtiles+40+-300") << false;
    QTest::newRow("word for seat 0") << QByteArray("CMD_addaword+0+3+CAT") << false;
}

void TestClientSession::hostileFields()
{
    QFETCH(QByteArray, message);
    QFETCH(bool, reported);
    Rig rig;
    QVERIFY(rig.seatedTable());
    rig.startGame();
    rig.turn(3);
    rig.feed(protocol::loadScores(1, 100));
    const int ownSeat = rig.session.ownSeat();
    const int current = rig.session.currentSeat();

    rig.feed(message + protocol::Terminator);
    QCOMPARE(rig.errors.count(), reported ? 1 : 0);
    // The table keeps its shape: six rows, the own seat, the turn's seat.
    QCOMPARE(rig.session.ownSeat(), ownSeat);
    QVERIFY(rig.session.currentSeat() == current || rig.session.currentSeat() == 0);
    QCOMPARE(rig.session.players().row(1).score, 100);
    QVERIFY(rig.session.players().spectators().isEmpty());
    QVERIFY(rig.session.tray().count() == 0);
    QCOMPARE(rig.session.players().shownName(2), QStringLiteral("Ann"));
    // The next message is handled as usual.
    rig.feed(protocol::existingPlayers(6, QStringLiteral("Fay")));
    QCOMPARE(rig.session.players().shownName(6), QStringLiteral("Fay"));
}

void TestClientSession::fastHostWaitsForTheSession()
{
    // 60 MB of the longest chat lines while the session handles nothing:
    // what it holds stays near its bound, and the host waits.
    Rig rig;
    QVERIFY(rig.seat(2));
    QSignalSpy lines(&rig.session, &ClientSession::chatReceived);
    const QByteArray line = protocol::chatRelay(QStringLiteral("Bo"),
                                                QString(64000, QLatin1Char('w')) + QStringLiteral("|clBlack"));
    constexpr int Lines = 940;
    for (int i = 0; i < Lines; ++i)
        rig.host->write(line);
    const std::size_t bound = std::size_t(SessionConnection::HoldInputAbove / line.size());
    QTRY_VERIFY(rig.session.queued() > bound);
    // Time for a session that reads on to take much more.
    QTest::qWait(300);
    QVERIFY(rig.host->bytesToWrite() > 0);
    // Past the bound, at most what the platform had buffered for one read.
    const std::size_t held = rig.session.queued();
    QVERIFY2(held < std::size_t(Lines) / 3, qPrintable(QString::number(held)));

    // Handled, the rest comes in, every line of it.
    rig.session.setDispatchManual(false);
    QTRY_COMPARE_WITH_TIMEOUT(lines.count(), Lines, 60000);
    QCOMPARE(rig.errors.count(), 0);
}

// The window's needs: raw score texts, names with "%1", the turn hand-over
// even without a seat, the clock's run-out, the dealt count, any login seat.
void TestClientSession::whatTheWindowReliesOn()
{
    Rig rig;
    QVERIFY(rig.seatedTable());
    rig.startGame(0);
    rig.feed("CMD_loadscores+3+12ab");
    QCOMPARE(rig.session.players().row(3).scoreText, QStringLiteral("12ab"));
    QVERIFY(!rig.session.players().row(3).scoreIsNumber);
    QCOMPARE(rig.session.players().row(3).score, 0);

    QSignalSpy handedOver(&rig.session, &ClientSession::turnHandedOver);
    QSignalSpy started(&rig.session, &ClientSession::turnStarted);
    rig.feed("CMD_nextplayer+0");
    QCOMPARE(handedOver.count(), 1);
    QCOMPARE(started.count(), 0);

    rig.turn(2);
    QSignalSpy ranOut(&rig.session, &ClientSession::clockRanOut);
    rig.feed("CMD_thedice+2+false+A+B+C");
    QCOMPARE(rig.session.tray().dealtCount(), 3);
    QCOMPARE(rig.session.secondsLeft(), 0);
    rig.session.tickClock();
    QCOMPARE(ranOut.count(), 1);

    QSignalSpy said(&rig.session, &ClientSession::announcement);
    rig.feed("CMD_newplayerinfo+4+%2x");
    rig.feed(protocol::scores(4, 2000000000, 2000000000, 3, 7, 0, 0));
    QCOMPARE(said.last().at(0).toString(),
             QStringLiteral("%2x Scored: 4000000000 points! 3 words made for 2000000000 points plus "
                            "2000000000 bonus points!"));

    rig.feed("CMD_sendlogininfo+12");
    QCOMPARE(rig.session.ownSeat(), 12);
    QVERIFY(rig.session.isConnected());
}

QTEST_GUILESS_MAIN(TestClientSession)
#include "tst_clientsession.moc"
