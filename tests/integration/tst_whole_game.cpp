// Whole games in one process: the host's server and three (normal game) or
// two (fast game) main windows on loopback, played by mouse clicks on the
// dice and by typed keys until a winner is declared. The server clock is
// stepped by calling its tick; the windows dispatch on their own timers.

#include "client/chatform.h"
#include "client/wordboard.h"
#include "session/clientsession.h"
#include "client/tilewidget.h"
#include "client/wordcolumn.h"
#include "dialogfakes.h"
#include "net/protocol.h"
#include "recordingfakes.h"
#include "server/serverform.h"
#include "windows/gamestart.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <vector>

using namespace zwonky;

namespace {

using QuietSound = testing::RecordingSound;
using Tally = testing::RecordingTally;

// One player at the table: his window and what it plays through.
struct Player
{
    QString name;
    QuietSound sound;
    Tally tally;
    testing::RecordingMessageBox boxes;
    QTemporaryDir settings;
    std::unique_ptr<Tgamestartform> startForm;
    std::unique_ptr<Tchat> window;

    template <typename T>
    T *find(const QString &objectName) const { return window->findChild<T *>(objectName); }
    QString caption(const QString &objectName) const
    {
        auto *label = find<QLabel>(objectName);
        return label ? label->text() : QStringLiteral("<none>");
    }
    TileWidget *tile(int die) const { return window->tile(die); }
    QString letters(int count) const
    {
        QString text;
        for (int die = 1; die <= count; ++die)
            text += tile(die)->letter();
        return text;
    }
    QStringList panelEntries(int seat) const
    {
        QStringList entries;
        auto *list = find<QListWidget>(QStringLiteral("listbox_words%1").arg(seat));
        for (int row = 0; list && row < list->count(); ++row)
            entries << list->item(row)->text();
        return entries;
    }
};

class Table
{
public:
    Table()
    {
        server.setClockManual(true);
        server.setRandom(&serverRandom);
        // Every spelling is a word here: the games are about the windows.
        server.setWordChecker([](const QString &) { return true; });
        server.startListening(QStringLiteral("0"));
    }

    Player &join(const QString &name, bool host)
    {
        auto player = std::make_unique<Player>();
        player->name = name;
        player->window = std::make_unique<Tchat>();
        Tchat &window = *player->window;
        window.setSoundPlayer(&player->sound);
        window.setTally(&player->tally);
        window.setRandom(&clientRandom);
        window.setMessageBox(player->boxes.show());
        window.setSettingsFolder(player->settings.path());
        if (host) {
            player->startForm = std::make_unique<Tgamestartform>();
            CompanionWindows companions;
            companions.gameStart = player->startForm.get();
            window.setCompanions(companions);
        }
        window.setGamePort(QString::number(server.listeningPort()));
        window.setParameters({name, QStringLiteral("127.0.0.1"),
                              host ? QStringLiteral("true") : QStringLiteral("false")});
        window.processparams();
        players.push_back(std::move(player));
        return *players.back();
    }

    // Hands every queued message on, at the server and in the windows, until
    // the condition holds.
    bool until(const std::function<bool()> &condition, int timeoutMs = 10000)
    {
        return QTest::qWaitFor(
            [&] {
                for (int round = 0; round < 50; ++round) {
                    bool busy = false;
                    while (server.pump().queued() > 0) {
                        server.socktimerTimer();
                        busy = true;
                    }
                    for (auto &player : players) {
                        if (player->window->session().queued() > 0) {
                            while (player->window->session().queued() > 0)
                                player->window->session().tick();
                            busy = true;
                        }
                    }
                    if (condition())
                        return true;
                    if (!busy)
                        break;
                    QCoreApplication::processEvents();
                }
                return condition();
            },
            timeoutMs);
    }

    // The server's clock, one second at a time, until the condition holds.
    bool clockUntil(const std::function<bool()> &condition, int maxSeconds = 40)
    {
        for (int second = 0; second < maxSeconds; ++second) {
            if (until(condition, 50))
                return true;
            server.engine().Timer1Timer();
        }
        return until(condition);
    }

    QRandomGenerator serverRandom{20260607};
    QRandomGenerator clientRandom{11};
    TServer server;
    std::vector<std::unique_ptr<Player>> players;
};

void setStartOptions(Player &host, bool fast)
{
    auto *form = host.startForm.get();
    form->ensureBuilt();
    form->findChild<QSpinBox *>(QStringLiteral("playtoscore"))->setValue(5000);
    form->findChild<QSpinBox *>(QStringLiteral("timeperturn"))->setValue(60);
    form->findChild<QSpinBox *>(QStringLiteral("zwonked"))->setValue(1000);
    form->findChild<QCheckBox *>(QStringLiteral("new"))->setChecked(true);
    form->findChild<QCheckBox *>(QStringLiteral("typing"))->setChecked(true);
    form->findChild<QCheckBox *>(QStringLiteral("fast"))->setChecked(fast);
}

// Distinct arrangements of the dealt dice, longest words first.
QList<QList<int>> rotations(int count, int howMany)
{
    QList<QList<int>> words;
    for (int shift = 0; shift < howMany; ++shift) {
        QList<int> dice;
        for (int i = 0; i < count; ++i)
            dice << (i + shift) % count + 1;
        words << dice;
    }
    return words;
}

QString spell(const Player &player, const QList<int> &dice)
{
    QString word;
    for (int die : dice)
        word += player.tile(die)->letter();
    return word;
}

} // namespace

class TestWholeGame : public QObject
{
    Q_OBJECT

private:
    // Lays a word with the mouse and submits it with the Done button.
    void clickWord(Player &player, const QList<int> &dice)
    {
        for (int die : dice)
            QTest::mouseClick(player.tile(die), Qt::LeftButton);
        QTest::mouseClick(player.find<QPushButton>(QStringLiteral("button_done")), Qt::LeftButton);
    }
    // Types a word's letters and Enter in typing mode.
    void typeWord(Player &player, const QString &word)
    {
        for (QChar letter : word)
            QTest::keyClick(player.window.get(), Qt::Key(Qt::Key_A + (letter.unicode() - 'A')));
        QTest::keyClick(player.window.get(), Qt::Key_Return);
    }
    bool columnHolds(const Player &player, int length, const QString &word)
    {
        return player.window->wordBoard().wordColumn(length)->words().contains(word);
    }

private slots:
    void normalGame();
    void fastGame();
};

void TestWholeGame::normalGame()
{
    Table table;
    Player &ann = table.join(QStringLiteral("Ann"), true);
    QVERIFY(table.until([&] { return ann.caption("label_playername1") == "Ann"; }));
    Player &bo = table.join(QStringLiteral("Bo"), false);
    QVERIFY(table.until([&] { return ann.caption("label_playername2") == "Bo"; }));
    Player &cy = table.join(QStringLiteral("Cy"), false);
    QVERIFY(table.until([&] {
        return cy.caption("label_playername1") == "Ann" && cy.caption("label_playername2") == "Bo"
               && ann.caption("label_playername3") == "Cy" && bo.caption("label_playername3") == "Cy";
    }));
    QCOMPARE(cy.window->ownSeat(), 3);

    setStartOptions(ann, false);
    QTest::mouseClick(ann.find<QPushButton>(QStringLiteral("button_start")), Qt::LeftButton);
    ann.startForm->button_startClick();
    QVERIFY(table.until([&] { return cy.window->currentTurnSeat() == 1 && cy.tile(1)->letter() != "*"; }));
    QCOMPARE(ann.caption("label_turn"), QStringLiteral("Your Turn."));
    QCOMPARE(bo.caption("label_turn"), QStringLiteral("Ann's turn."));
    QCOMPARE(cy.caption("label_fastgame"), QStringLiteral("Fast Game: No"));
    QCOMPARE(ann.letters(10), bo.letters(10));
    QVERIFY(bo.find<QPushButton>(QStringLiteral("button_done"))->isHidden());

    // ---- Ann, round 1: one ten-letter word by mouse, watched on the others' boards.
    const QList<int> first = rotations(10, 1).first();
    for (int position = 1; position <= 10; ++position) {
        QTest::mouseClick(ann.tile(first[position - 1]), Qt::LeftButton);
        const int die = first[position - 1];
        QVERIFY(table.until([&] {
            const QPoint place(41 * position + 69, 8);
            return bo.tile(die)->pos() == place && cy.tile(die)->pos() == place;
        }));
    }
    const QString annWord = spell(ann, first);
    QTest::mouseClick(ann.find<QPushButton>(QStringLiteral("button_done")), Qt::LeftButton);
    QCOMPARE(ann.window->trayCount(), 0);
    QVERIFY(table.until([&] {
        return columnHolds(ann, 10, annWord) && columnHolds(bo, 10, annWord)
               && columnHolds(cy, 10, annWord);
    }));
    QCOMPARE(bo.caption("label_status"), annWord + " ACCEPTED");
    QCOMPARE(bo.tile(first[0])->pos(), QPoint(41 * first[0] + 9, 61)); // mirror emptied
    QCOMPARE(cy.caption("label_memo10"), QStringLiteral("1500"));

    // The same word again is refused, and everyone reads why.
    clickWord(ann, first);
    QVERIFY(table.until([&] { return cy.caption("label_status").startsWith(annWord + " Rejected"); }));

    // A three-letter word typed on the keyboard.
    const QString typed = spell(ann, {3, 2, 1});
    typeWord(ann, typed);
    QVERIFY(table.until([&] { return columnHolds(bo, 3, typed); }));
    QCOMPARE(bo.caption("label_thesum"), QStringLiteral("Current: 1560"));

    QTest::mouseClick(ann.find<QPushButton>(QStringLiteral("button_finish")), Qt::LeftButton);
    QVERIFY(table.clockUntil([&] {
        return cy.caption("label_status") == QStringLiteral("Posting Scores.. One Moment Please!");
    }));
    const int annScore = table.server.engine().seat(1).score;
    QVERIFY(annScore >= 1000); // zwonked from now on
    for (Player *player : {&ann, &bo, &cy}) {
        QCOMPARE(player->caption("label_score1"), QString::number(annScore));
        QCOMPARE(player->caption("label_bonus1"), QStringLiteral("+%1").arg(annScore));
        QVERIFY(player->caption("memo_ending").startsWith(QStringLiteral("Ann Scored: %1 points! 2 words").arg(annScore)));
        QCOMPARE(player->tile(1)->pictureIndex(), 0); // blank between turns
    }
    QVERIFY(ann.find<QPushButton>(QStringLiteral("button_done"))->isHidden());

    // ---- Bo, round 1: buys new tiles, types a word on them, finishes.
    QVERIFY(table.clockUntil([&] { return bo.caption("label_turn") == QStringLiteral("Your Turn."); }));
    QVERIFY(table.until([&] { return bo.tile(1)->pictureIndex() != 0; }));
    QVERIFY(ann.window->wordBoard().wordColumn(10)->words().isEmpty());
    QTest::mouseDClick(bo.find<QPushButton>(QStringLiteral("button_newtiles")), Qt::LeftButton);
    QVERIFY(table.until([&] {
        return ann.caption("memo_ending") == QStringLiteral("Bo bought new tiles for 300 points!")
               && cy.caption("label_score2") == QStringLiteral("-300");
    }));
    QVERIFY(table.until([&] { return !bo.find<QPushButton>(QStringLiteral("button_old"))->isHidden(); }));
    QVERIFY(table.until([&] { return ann.letters(10) == bo.letters(10); })); // new letters shown to all
    const QString boWord = spell(bo, {1, 2, 3, 4});
    typeWord(bo, boWord);
    QVERIFY(table.until([&] { return columnHolds(ann, 4, boWord); }));
    QTest::mouseClick(bo.find<QPushButton>(QStringLiteral("button_finish")), Qt::LeftButton);
    QVERIFY(table.clockUntil([&] { return cy.caption("label_turn") == QStringLiteral("Your Turn."); }));

    // ---- Cy, round 1: ends his turn at once.
    QVERIFY(table.until([&] { return cy.tile(1)->pictureIndex() != 0; }));
    QTest::mouseClick(cy.find<QPushButton>(QStringLiteral("button_finish")), Qt::LeftButton);

    // ---- Ann, round 2: zwonked, 13 letters; no three-letter words.
    QVERIFY(table.clockUntil([&] {
        return ann.caption("label_turn") == QStringLiteral("Your Turn.") && !ann.tile(13)->isHidden();
    }));
    QVERIFY(table.until([&] { return !bo.tile(13)->isHidden() && bo.tile(13)->letter() != "*"; }));
    QVERIFY(ann.sound.clips.contains(QStringLiteral("zwonked")));
    QCOMPARE(bo.window->wordBoard().wordColumn(3)->flatColour(), QColor(0x80, 0, 0));
    clickWord(ann, {1, 2, 3});
    const QString refused = spell(ann, {1, 2, 3});
    QVERIFY(table.until([&] { return bo.caption("label_status").startsWith(refused + " Rejected"); }));
    for (const QList<int> &dice : rotations(13, 5)) {
        QList<int> ten = dice.mid(0, 10);
        const QString word = spell(ann, ten);
        clickWord(ann, ten);
        QVERIFY(table.until([&] { return columnHolds(cy, 10, word); }));
    }
    QVERIFY(table.until([&] { return cy.window->wordBoard().wordColumn(10)->flatColour() == QColor(0xC0, 0xC0, 0xC0); }));
    QTest::mouseClick(ann.find<QPushButton>(QStringLiteral("button_finish")), Qt::LeftButton);
    QVERIFY(table.clockUntil([&] { return bo.caption("label_turn") == QStringLiteral("Your Turn."); }));
    QVERIFY(table.server.engine().seat(1).score >= 5000);
    QTest::mouseClick(bo.find<QPushButton>(QStringLiteral("button_finish")), Qt::LeftButton);
    QVERIFY(table.clockUntil([&] { return cy.caption("label_turn") == QStringLiteral("Your Turn."); }));
    QTest::mouseClick(cy.find<QPushButton>(QStringLiteral("button_finish")), Qt::LeftButton);

    // ---- The turn comes back to Ann: she has won.
    QVERIFY(table.clockUntil([&] {
        return !ann.find<QLabel>(QStringLiteral("panel_winner"))->isHidden()
               && !bo.find<QLabel>(QStringLiteral("panel_winner"))->isHidden()
               && !cy.find<QLabel>(QStringLiteral("panel_winner"))->isHidden();
    }));
    for (Player *player : {&ann, &bo, &cy}) {
        QCOMPARE(player->caption("panel_winner"), QStringLiteral("Ann has Won the Game!"));
        QCOMPARE(player->caption("label_status"), QStringLiteral("Game Over!"));
        QCOMPARE(player->caption("label_score1"), QString::number(table.server.engine().seat(1).score));
        QCOMPARE(player->caption("label_score2"), QString::number(table.server.engine().seat(2).score));
    }
    QCOMPARE(ann.tally.games, QStringList{"addtomine"});
    QCOMPARE(bo.tally.games, QStringList{"Ann"});
    QVERIFY(!ann.find<QPushButton>(QStringLiteral("button_start"))->isHidden());
}

void TestWholeGame::fastGame()
{
    Table table;
    Player &ann = table.join(QStringLiteral("Ann"), true);
    QVERIFY(table.until([&] { return ann.caption("label_playername1") == "Ann"; }));
    Player &bo = table.join(QStringLiteral("Bo"), false);
    QVERIFY(table.until([&] { return ann.caption("label_playername2") == "Bo" && bo.caption("label_playername1") == "Ann"; }));

    setStartOptions(ann, true);
    ann.startForm->button_startClick();
    QVERIFY(table.until([&] {
        return ann.caption("label_turn") == QStringLiteral("Your Turn.")
               && bo.caption("label_turn") == QStringLiteral("Your Turn.")
               && ann.tile(10)->letter() != "*" && bo.tile(10)->letter() != "*";
    }));
    QCOMPARE(ann.caption("label_fastgame"), QStringLiteral("Fast Game: Yes"));
    QVERIFY(ann.find<QLabel>(QStringLiteral("image_Turn"))->isHidden());
    QCOMPARE(ann.letters(10), bo.letters(10)); // the same letters for everyone

    // Both play at once; nothing is mirrored.
    QTest::mouseClick(ann.tile(1), Qt::LeftButton);
    QTest::mouseClick(bo.tile(2), Qt::LeftButton);
    QVERIFY(table.until([&] { return table.server.pump().queued() == 0; }));
    QCOMPARE(bo.tile(1)->pos(), QPoint(41 + 9, 61));
    QCOMPARE(ann.tile(2)->pos(), QPoint(2 * 41 + 9, 61));
    QTest::mouseClick(ann.tile(1), Qt::LeftButton);
    QTest::mouseClick(bo.tile(2), Qt::LeftButton);

    QStringList annWords;
    for (const QList<int> &dice : rotations(10, 5)) {
        annWords << spell(ann, dice);
        clickWord(ann, dice);
        QVERIFY(table.until([&] { return columnHolds(ann, 10, annWords.last()); }));
    }
    const QString boWord = spell(bo, {5, 6, 7, 8, 9});
    typeWord(bo, boWord);
    QVERIFY(table.until([&] { return columnHolds(bo, 5, boWord); }));
    // Each player's columns hold only his own words.
    QVERIFY(bo.window->wordBoard().wordColumn(10)->words().isEmpty());
    QVERIFY(ann.window->wordBoard().wordColumn(5)->words().isEmpty());

    QTest::mouseClick(ann.find<QPushButton>(QStringLiteral("button_finish")), Qt::LeftButton);
    QTest::mouseClick(bo.find<QPushButton>(QStringLiteral("button_finish")), Qt::LeftButton);
    QVERIFY(table.clockUntil([&] {
        return !ann.find<QWidget>(QStringLiteral("panel_wordlists"))->isHidden()
               && !bo.find<QWidget>(QStringLiteral("panel_wordlists"))->isHidden();
    }));
    const int annScore = table.server.engine().seat(1).score;
    for (Player *player : {&ann, &bo}) {
        QCOMPARE(player->caption("label_name1"), QStringLiteral("Ann"));
        QCOMPARE(player->caption("label_name2"), QStringLiteral("Bo"));
        QCOMPARE(player->caption("label_count1"), QStringLiteral("5 words"));
        QCOMPARE(player->caption("label_count2"), QStringLiteral("1 words"));
        QCOMPARE(player->panelEntries(2), QStringList{QStringLiteral("5: ") + boWord});
        QCOMPARE(player->panelEntries(1).first(), QStringLiteral("10: ") + annWords.first());
        QCOMPARE(player->caption("label_wscore1"), QStringLiteral("for +%1").arg(annScore));
        QCOMPARE(player->caption("label_score1"), QString::number(annScore));
    }
    // Each reads his own result in the announcement bar.
    QVERIFY(ann.caption("memo_ending").startsWith(QStringLiteral("Ann Scored: ")));
    QVERIFY(bo.caption("memo_ending").startsWith(QStringLiteral("Bo Scored: ")));
    QVERIFY(annScore >= 5000);

    QVERIFY(table.clockUntil([&] {
        return !ann.find<QLabel>(QStringLiteral("panel_winner"))->isHidden()
               && !bo.find<QLabel>(QStringLiteral("panel_winner"))->isHidden();
    }));
    for (Player *player : {&ann, &bo}) {
        QCOMPARE(player->caption("panel_winner"), QStringLiteral("Ann has Won the Game!"));
        QVERIFY(player->find<QWidget>(QStringLiteral("panel_wordlists"))->isHidden());
    }
    QCOMPARE(ann.tally.games, QStringList{"addtomine"});
    QCOMPARE(bo.tally.games, QStringList{"Ann"});
}

QTEST_MAIN(TestWholeGame)
#include "tst_whole_game.moc"
