// A whole normal game without a screen: three client sessions and the host's
// server on loopback, in one process with no widget. The players find real
// words in their letters from the built-in word list, lay them tile by tile
// and submit them; the server judges them against the same list. The server's
// clock is stepped by calling its tick; its queue and the sessions' queues
// drain on their own timers. Every session must agree with the server on the
// letters, the words, the scores and the winner.

#include "net/protocol.h"
#include "server/gameengine.h"
#include "server/serverform.h"
#include "session/clientsession.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <array>
#include <memory>
#include <vector>

using namespace zwonky;

namespace {

// The built-in word list, read as the server's dictionary reads it: records
// of 15 bytes, 0x1E and then the word padded with blanks.
class WordFinder
{
public:
    bool load()
    {
        QFile list(QStringLiteral(":/wordlist/english.dat"));
        if (!list.open(QIODevice::ReadOnly))
            return false;
        const QByteArray bytes = list.readAll();
        for (qsizetype at = 0; at + 15 <= bytes.size(); at += 15) {
            const QByteArray word = bytes.mid(at + 1, 14).trimmed();
            if (word.size() < 3 || word.size() > 10)
                continue;
            bool letters = true;
            for (char c : word)
                letters = letters && c >= 'A' && c <= 'Z';
            if (letters)
                m_words.append(QString::fromLatin1(word));
        }
        std::sort(m_words.begin(), m_words.end(), [](const QString &a, const QString &b) {
            return a.size() > b.size() || (a.size() == b.size() && a < b);
        });
        return m_words.size() > 100000;
    }

    // Up to `most` words the hand can spell, longest first, five per length at
    // most, each as the dice that spell it. A word's plural or singular is left
    // out when the other is taken, as the host would refuse it.
    QList<QList<int>> find(const QStringList &hand, int most) const
    {
        QList<QList<int>> found;
        QStringList taken;
        std::array<int, 11> perLength{};
        for (const QString &word : m_words) {
            if (found.size() >= most)
                break;
            if (perLength[std::size_t(word.size())] >= 5 || taken.contains(word + 'S')
                || (word.endsWith('S') && taken.contains(word.chopped(1))))
                continue;
            QList<int> dice;
            QList<bool> used(hand.size(), false);
            for (QChar c : word) {
                int die = 0;
                for (int i = 0; i < hand.size() && die == 0; ++i)
                    if (!used[i] && hand[i] == QString(c))
                        die = i + 1;
                if (die == 0)
                    break;
                used[die - 1] = true;
                dice.append(die);
            }
            if (dice.size() != word.size())
                continue;
            found.append(dice);
            taken.append(word);
            ++perLength[std::size_t(word.size())];
        }
        return found;
    }

private:
    QStringList m_words;
};

struct Player
{
    QString name;
    std::unique_ptr<ClientSession> session = std::make_unique<ClientSession>();
    std::unique_ptr<QSignalSpy> accepted;
    std::unique_ptr<QSignalSpy> rejected;
    std::unique_ptr<QSignalSpy> moves;
    std::unique_ptr<QSignalSpy> turnEnds;
    std::unique_ptr<QSignalSpy> over;
    std::unique_ptr<QSignalSpy> errors;

    explicit Player(const QString &playerName, bool hosting) : name(playerName)
    {
        session->setPlayerName(name);
        session->setHosting(hosting);
        session->setClockManual(true);
        ClientSession *s = session.get();
        accepted = std::make_unique<QSignalSpy>(s, &ClientSession::wordAccepted);
        rejected = std::make_unique<QSignalSpy>(s, &ClientSession::wordRejected);
        moves = std::make_unique<QSignalSpy>(s, &ClientSession::tileMoved);
        turnEnds = std::make_unique<QSignalSpy>(s, &ClientSession::turnEnded);
        over = std::make_unique<QSignalSpy>(s, &ClientSession::gameOver);
        errors = std::make_unique<QSignalSpy>(s, &ClientSession::errorOccurred);
    }
};

} // namespace

class TestHeadlessGame : public QObject
{
    Q_OBJECT
private slots:
    void threeSessionsPlayANormalGameToTheEnd();
};

void TestHeadlessGame::threeSessionsPlayANormalGameToTheEnd()
{
    WordFinder finder;
    QVERIFY(finder.load());

    QRandomGenerator random(2024);
    TServer server;
    server.setClockManual(true);
    server.setRandom(&random);
    server.startListening(QStringLiteral("0"));
    QVERIFY(server.dictionaryError().isEmpty());
    QTimer serverTicks; // the server's queue drains as in the program
    connect(&serverTicks, &QTimer::timeout, &server, [&server] { server.socktimerTimer(); });
    serverTicks.start(1);
    const QString port = QString::number(server.listeningPort());

    std::vector<std::unique_ptr<Player>> players;
    for (const char *name : {"Ann", "Bo", "Cy"}) {
        players.push_back(std::make_unique<Player>(QLatin1String(name), players.empty()));
        Player &p = *players.back();
        p.session->connectToHost(QStringLiteral("127.0.0.1"), port);
        // One at a time, so that the seats follow the order of arrival.
        QTRY_COMPARE(p.session->ownSeat(), int(players.size()));
        QTRY_VERIFY(p.session->players().row(p.session->ownSeat()).seated);
    }
    for (const auto &p : players)
        for (int seat = 1; seat <= 3; ++seat)
            QTRY_COMPARE(p->session->players().shownName(seat), players[seat - 1]->name);

    const int playTo = 1500;
    protocol::GameOptions options;
    options.playTo = playTo;
    options.timePerTurn = 90;
    options.zwonkedAt = 100000;
    ClientSession &host = *players.front()->session;
    host.startGame(options);

    int turns = 0;
    bool boughtTiles = false;
    while (true) {
        QVERIFY2(++turns < 40, "the game does not end");
        // Everybody sees the same turn and the same letters.
        QTRY_VERIFY(host.phase() == SessionPhase::TurnRunning
                    || host.phase() == SessionPhase::GameOver);
        if (host.phase() == SessionPhase::GameOver)
            break;
        const int seat = host.currentSeat();
        QVERIFY(seat >= 1 && seat <= 3);
        Player &active = *players[std::size_t(seat - 1)];
        ClientSession &mine = *active.session;
        QTRY_VERIFY(mine.isOwnTurn() && !mine.tray().letter(1).isEmpty());
        for (const auto &p : players) {
            QTRY_COMPARE(p->session->currentSeat(), seat);
            QTRY_COMPARE(p->session->tray().letters(), mine.tray().letters());
        }

        // Once in the game the host buys the other letters and plays those.
        if (!boughtTiles && seat == 1) {
            boughtTiles = true;
            const QStringList before = mine.tray().letters();
            mine.buyNewTiles();
            QTRY_VERIFY(mine.state().ownHoldsNewTiles);
            QTRY_VERIFY(mine.tray().letters() != before);
            for (const auto &p : players) {
                QTRY_COMPARE(p->session->players().row(1).score, server.engine().seat(1).score);
                QTRY_COMPARE(p->session->tray().letters(), mine.tray().letters());
            }
        }

        const QList<QList<int>> words = finder.find(mine.tray().letters(), 10);
        const qsizetype verdictsBefore = active.accepted->count() + active.rejected->count();
        std::vector<qsizetype> movesBefore;
        for (const auto &p : players)
            movesBefore.push_back(p->moves->count());
        qsizetype laid = 0;
        for (const QList<int> &dice : words) {
            for (int die : dice)
                QVERIFY(mine.putTile(die));
            laid += dice.size();
            QVERIFY(mine.submitWord());
        }
        QTRY_COMPARE(active.accepted->count() + active.rejected->count(),
                     verdictsBefore + words.size());
        // The watchers followed every tile and filed the same words.
        for (std::size_t i = 0; i < players.size(); ++i) {
            const Player &p = *players[i];
            if (&p == &active)
                continue;
            QTRY_COMPARE(p.moves->count() - movesBefore[i], laid);
            QTRY_COMPARE(p.session->words().words(seat), mine.words().words(seat));
        }
        QVERIFY(!mine.words().words(seat).isEmpty());

        // The player ends his turn; the host scores it at its next second.
        mine.finishTurn();
        QTRY_COMPARE(server.engine().turnCounter(), 1);
        server.engine().Timer1Timer();
        QCOMPARE(int(server.engine().phase()), int(GameEngine::Pausing));
        for (const auto &p : players) {
            QTRY_COMPARE(p->session->phase(), SessionPhase::Pause);
            for (int s = 1; s <= 3; ++s)
                QTRY_COMPARE(p->session->players().row(s).score, server.engine().seat(s).score);
        }
        while (server.engine().phase() == GameEngine::Pausing)
            server.engine().Timer1Timer();
    }

    // The winner: the highest score, past the mark, announced to everyone.
    int best = 1;
    for (int s = 2; s <= 3; ++s)
        if (server.engine().seat(s).score > server.engine().seat(best).score)
            best = s;
    QVERIFY(server.engine().seat(best).score >= playTo);
    QVERIFY(boughtTiles);
    for (const auto &p : players) {
        QTRY_COMPARE(p->over->count(), 1);
        QCOMPARE(p->session->state().winner, players[std::size_t(best - 1)]->name);
        QCOMPARE(p->session->phase(), SessionPhase::GameOver);
        QVERIFY(p->accepted->count() > 0);
        QCOMPARE(p->errors->count(), 0);
        QVERIFY(p->turnEnds->count() >= 3);
    }
}

QTEST_GUILESS_MAIN(TestHeadlessGame)
#include "tst_headless_game.moc"
