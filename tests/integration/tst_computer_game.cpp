// Whole games against computer players: one client session driven by the
// test (the person at the table) and three computer players of different
// levels, all on loopback to a real TServer whose one-second clock the test
// steps. Each game must end with a winner, with not one word refused, and
// with no computer player making a request outside its turn.

#include "players/computerplayer.h"
#include "players/wordchoice.h"
#include "players/wordfinder.h"
#include "server/gameengine.h"
#include "server/serverform.h"
#include "session/clientsession.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <memory>
#include <vector>

using namespace zwonky;

namespace {

constexpr int VerdictTimeoutMs = 60000; // a busy machine; the pace itself is 0

struct Table
{
    QRandomGenerator random{31};
    TServer server;
    QTimer serverTicks;
    ClientSession human;
    std::vector<std::unique_ptr<ComputerPlayer>> computers;
    int outOfTurn = 0;
    int computerWords = 0;

    Table()
    {
        server.setClockManual(true);
        server.setRandom(&random);
        server.startListening(QStringLiteral("0"));
        QObject::connect(&serverTicks, &QTimer::timeout, &server, [this] { server.socktimerTimer(); });
        serverTicks.start(1);
        human.setPlayerName(QStringLiteral("You"));
        human.setHosting(true);
        human.setClockManual(true);
    }

    bool seatEveryone()
    {
        const QString port = QString::number(server.listeningPort());
        human.connectToHost(QStringLiteral("127.0.0.1"), port);
        if (!QTest::qWaitFor([this] { return human.ownSeat() == 1; }, 10000))
            return false;
        const int levels[] = {1, 3, 5};
        for (int i = 0; i < 3; ++i) {
            auto player = std::make_unique<ComputerPlayer>(levels[i], quint32(100 + i));
            player->setPaceScale(0);
            ClientSession &s = player->session();
            s.setClockManual(true);
            s.setPlayerName(ComputerPlayer::defaultName(i));
            const int seat = i + 2;
            // A word may only leave on the computer's own running turn.
            QObject::connect(player.get(), &ComputerPlayer::wordSubmitted, [this, seat, &s] {
                ++computerWords;
                const bool running = server.engine().phase() == GameEngine::TurnRunning;
                const bool mine = s.state().settings.fast || server.engine().currentSeat() == seat;
                if (!running || !mine || !s.isOwnTurn())
                    ++outOfTurn;
            });
            s.connectToHost(QStringLiteral("127.0.0.1"), port);
            if (!QTest::qWaitFor([&s, seat] { return s.ownSeat() == seat; }, 10000))
                return false;
            computers.push_back(std::move(player));
        }
        return QTest::qWaitFor([this] { return human.players().row(4).seated; }, 10000);
    }

    // The person's turn: the best word the letters allow, then Finish.
    void humanPlays()
    {
        const QStringList hand = human.tray().letters();
        const bool zwonked = human.tray().handSize() == LetterTray::ZwonkedHand;
        const QStringList words = bestWords(WordFinder::builtIn().find(hand.join(QString())),
                                            WordBoxes(), zwonked);
        if (!words.isEmpty()) {
            for (int die : diceForWord(words.first(), hand))
                human.putTile(die);
            human.submitWord();
        }
        human.finishTurn();
    }
};

} // namespace

class TestComputerGame : public QObject
{
    Q_OBJECT
private slots:
    void normalGameAgainstThreeComputers();
    void fastGameAgainstThreeComputers();

private:
    void playToTheEnd(bool fast);
};

void TestComputerGame::normalGameAgainstThreeComputers() { playToTheEnd(false); }
void TestComputerGame::fastGameAgainstThreeComputers() { playToTheEnd(true); }

void TestComputerGame::playToTheEnd(bool fast)
{
    Table table;
    QVERIFY(table.server.dictionaryError().isEmpty());
    QVERIFY(table.seatEveryone());
    QSignalSpy refused(&table.human, &ClientSession::wordRejected);
    QSignalSpy over(&table.human, &ClientSession::gameOver);
    QSignalSpy errors(&table.human, &ClientSession::errorOccurred);
    QSignalSpy chats(&table.human, &ClientSession::chatReceived);
    QSignalSpy turnsSeen(&table.human, &ClientSession::turnStarted);
    GameEngine &engine = table.server.engine();

    protocol::GameOptions options;
    options.playTo = 9000;
    options.timePerTurn = 60;
    options.zwonkedAt = 2000; // 13 letters and no 3-letter words come soon
    options.newTiles = true;
    options.fast = fast;
    table.human.startGame(options);

    int turns = 0;
    while (true) {
        QVERIFY2(++turns < 60, "the game does not end");
        QTRY_VERIFY(engine.phase() == GameEngine::TurnRunning || over.count() > 0);
        if (over.count() > 0)
            break;
        // The person's session has seen this turn begin (and the last end).
        QTRY_COMPARE(turnsSeen.count(), turns);
        if (fast || engine.currentSeat() == 1) {
            QTRY_VERIFY(table.human.isOwnTurn() && !table.human.tray().letter(1).isEmpty());
            table.humanPlays();
        }
        // Everyone at the table presses Finish: the host's clock is cut to
        // one second, and the test steps it.
        QTRY_COMPARE_WITH_TIMEOUT(engine.turnCounter(), 1, VerdictTimeoutMs);
        engine.Timer1Timer();
        QCOMPARE(engine.phase(), int(GameEngine::Pausing));
        while (engine.phase() == GameEngine::Pausing)
            engine.Timer1Timer();
    }

    QCOMPARE(over.count(), 1);
    const QString winner = table.human.state().winner;
    int winnerSeat = 0;
    for (int seat = 1; seat <= 4; ++seat)
        if (table.human.players().shownName(seat) == winner)
            winnerSeat = seat;
    QVERIFY2(winnerSeat != 0, qPrintable(winner));
    QVERIFY(engine.seat(winnerSeat).score >= options.playTo);
    QCOMPARE(refused.count(), 0);
    QCOMPARE(errors.count(), 0);
    QCOMPARE(table.outOfTurn, 0);
    QVERIFY(table.computerWords > 0);
    for (const auto &computer : table.computers) {
        QCOMPARE(computer->refusedWords(), 0);
        QVERIFY(computer->acceptedWords() > 0);
        QCOMPARE(computer->session().state().winner, winner);
    }
    // One short phrase from each computer player at the end, no more.
    QTRY_COMPARE(chats.count(), 3);
}

QTEST_GUILESS_MAIN(TestComputerGame)
#include "tst_computer_game.moc"
