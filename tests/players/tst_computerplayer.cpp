// A computer player at a table whose host is a bare socket on loopback: the
// test speaks for the host and reads every byte the player sends. Its steps
// are run one by one, so nothing depends on how fast the machine is.

#include "net/protocol.h"
#include "players/computerplayer.h"
#include "players/wordfinder.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include <memory>

using namespace zwonky;

namespace {

constexpr char Ff = char(0xFF);

class Table
{
public:
    Table() : player(5, 1)
    {
        server.listen(QHostAddress::LocalHost, 0);
        player.setStepsManual(true);
        player.setWordFinder(&finder);
        player.session().setClockManual(true);
        player.session().setPlayerName(QStringLiteral("Robo (Computer)"));
        player.session().connectToHost(QStringLiteral("127.0.0.1"), QString::number(server.serverPort()));
    }

    bool seat()
    {
        if (!QTest::qWaitFor([this] { return server.hasPendingConnections(); }, 10000))
            return false;
        host.reset(server.nextPendingConnection());
        say("CMD_sendlogininfo+2");
        say("CMD_newplayerinfo+1+Ann");
        say("CMD_newplayerinfo+2+Robo (Computer)");
        return QTest::qWaitFor([this] { return player.session().players().row(2).seated; }, 10000)
            && QTest::qWaitFor([this] { return sent().contains("CMD_logininfo+2+"); }, 10000);
    }

    void say(const QByteArray &message) { host->write(message + Ff); host->flush(); }
    // Starts a normal game (new tiles allowed or not) and hands the turn to
    // the computer in seat 2 with these dice ("C+A+T+..."); true once its
    // session has handled it all. What it sent so far is dropped.
    bool dealTurn(bool newTiles, const QByteArray &dice)
    {
        say(newTiles ? "CMD_startgame+Ann+f+5000+60+2000+t+f+f+"
                     : "CMD_startgame+Ann+f+5000+60+2000+f+f+f+");
        say("CMD_nextplayer+2");
        say("CMD_thedice+2+false+" + dice);
        const bool handled = settled();
        takeSent();
        return handled;
    }
    // Waits until the player's session has handled everything said so far:
    // a marker line follows, and the session handles messages in order.
    bool settled()
    {
        const QString marker = QStringLiteral("sync %1").arg(++syncs);
        QString seen;
        const auto c = QObject::connect(&player.session(), &ClientSession::chatReceived,
                                        [&seen](const QString &text, const QString &) { seen = text; });
        say("CMD_action+" + marker.toLatin1());
        const bool ok = QTest::qWaitFor([&] { return seen == marker; }, 10000);
        QObject::disconnect(c);
        return ok;
    }
    int syncs = 0;
    QByteArray sent() { received += host->readAll(); return received; }
    QByteArray takeSent() { QByteArray s = sent(); received.clear(); return s; }
    // Runs the player's due steps, at most `most`.
    int runSteps(int most)
    {
        int ran = 0;
        while (ran < most && player.hasPendingStep()) {
            player.runPendingStep();
            ++ran;
        }
        return ran;
    }

    const WordFinder finder{QStringList{QStringLiteral("CAT"), QStringLiteral("CATS"),
                                        QStringLiteral("ACT"), QStringLiteral("SCAT")}};
    QTcpServer server;
    std::unique_ptr<QTcpSocket> host;
    ComputerPlayer player;
    QByteArray received;
};

} // namespace

class TestComputerPlayer : public QObject
{
    Q_OBJECT
private slots:
    void sendsNothingOnAnotherPlayersTurn();
    void laysTileByTileAndWaitsForEachVerdict();
    void stopsMidWordWhenTheTurnEnds();
    void buysNewTilesOnlyWhenAllowedAndLettersArePoor();
    void saysOnePhraseWhenTheGameEnds();
};

void TestComputerPlayer::sendsNothingOnAnotherPlayersTurn()
{
    Table t;
    QVERIFY(t.seat());
    t.takeSent();
    t.say("CMD_startgame+Ann+f+5000+60+2000+t+f+f+");
    t.say("CMD_nextplayer+1");
    t.say("CMD_thedice+1+false+C+A+T+S+X+X+X+X+X+X");
    t.say("CMD_setdice+1+3");
    t.say("CMD_accepted+3+CAT");
    t.say("CMD_rejected+TAC+ Rejected");
    QVERIFY(t.settled());
    QVERIFY(!t.player.hasPendingStep());
    t.say("CMD_turnend+");
    QVERIFY(t.settled());
    QVERIFY(!t.player.hasPendingStep());
    QCOMPARE(t.takeSent(), QByteArray());
}

void TestComputerPlayer::laysTileByTileAndWaitsForEachVerdict()
{
    Table t;
    QVERIFY(t.seat());
    QVERIFY(t.dealTurn(false, "C+A+T+S+X+X+X+X+X+X"));
    const QString letters = QStringLiteral("CATSXXXXXX");
    QStringList made;
    for (int word = 0; word < 4; ++word) {
        t.runSteps(100);
        QTRY_VERIFY(t.sent().contains("CMD_done+2+") || t.sent().contains("CMD_finish+2"));
        const QByteArray bytes = t.takeSent();
        if (bytes.contains("CMD_finish+2"))
            break;
        // The tiles went down one by one on places 1, 2, 3..., then the word.
        const QList<QByteArray> messages = bytes.split(Ff);
        QString spelled;
        int place = 0;
        for (const QByteArray &m : messages) {
            if (m.startsWith("CMD_setdice+2+")) {
                const QList<QByteArray> f = m.split('+');
                QCOMPARE(f.at(2).toInt(), ++place);
                spelled += letters.at(f.at(3).toInt() - 1);
            } else if (m.startsWith("CMD_done+2+")) {
                QCOMPARE(m.count('+'), place + 1);
            }
        }
        QVERIFY(t.finder.find(letters).contains(spelled));
        QVERIFY(!made.contains(spelled));
        // Nothing more until the verdict.
        QVERIFY(!t.player.hasPendingStep());
        made.append(spelled);
        t.say("CMD_accepted+" + QByteArray::number(spelled.size()) + "+" + spelled.toLatin1());
        QVERIFY(t.settled());
        QVERIFY(t.player.hasPendingStep());
    }
    QVERIFY(!made.isEmpty());
    // Never a plural and its singular in one turn.
    QVERIFY(!(made.contains(QStringLiteral("CAT")) && made.contains(QStringLiteral("CATS"))));
    QCOMPARE(t.player.acceptedWords(), made.size());
}

void TestComputerPlayer::stopsMidWordWhenTheTurnEnds()
{
    Table t;
    QVERIFY(t.seat());
    QVERIFY(t.dealTurn(false, "C+A+T+S+X+X+X+X+X+X"));
    QCOMPARE(t.runSteps(1), 1); // after thinking, the first tile
    QTRY_COMPARE(t.sent().count("CMD_setdice+2+"), 1);
    t.say("CMD_turnend+");
    QVERIFY(t.settled());
    QVERIFY(!t.player.hasPendingStep());
    QCOMPARE(t.runSteps(10), 0);
    QCOMPARE(t.takeSent().count("CMD_"), 1);
}

void TestComputerPlayer::buysNewTilesOnlyWhenAllowedAndLettersArePoor()
{
    for (const bool allowed : {true, false}) {
        Table t;
        QVERIFY(t.seat());
        QVERIFY(t.dealTurn(allowed, "X+X+X+X+X+X+X+X+X+X"));
        t.runSteps(10);
        if (allowed) {
            QTRY_VERIFY(t.sent().contains("CMD_newtiles+2"));
            t.say("CMD_newtiles+2+-300");
            t.say("CMD_thedice+2+new+C+A+T+S+X+X+X+X+X+X");
            QVERIFY(t.settled());
            t.runSteps(100);
            QTRY_VERIFY(t.sent().contains("CMD_done+2+"));
        } else {
            // Nothing to play and nothing to buy: Finish at once.
            QTRY_VERIFY(t.sent().contains("CMD_finish+2"));
            QVERIFY(!t.sent().contains("CMD_newtiles"));
        }
    }
}

void TestComputerPlayer::saysOnePhraseWhenTheGameEnds()
{
    Table t;
    QVERIFY(t.seat());
    t.say("CMD_startgame+Ann+f+5000+60+2000+f+f+f+");
    t.say("CMD_winner+Ann");
    t.say("CMD_winner+Ann");
    QVERIFY(t.settled());
    QTRY_VERIFY(t.sent().contains("CMD_chat+2+Well played, Ann!|clBlack"));
    QCOMPARE(t.takeSent().count("CMD_chat"), 1);
}

QTEST_GUILESS_MAIN(TestComputerPlayer)
#include "tst_computerplayer.moc"
