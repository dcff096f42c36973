// The letter tray seen from the player's side: what each click and key puts
// on the wire, where the tiles go, the clock, and the watcher's mirror.

#include "traytesttable.h"

#include "client/trayview.h"

#include "client/tilewidget.h"
#include "client/wordboard.h"
#include "client/wordcolumn.h"
#include "net/fieldcursor.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTimer>
#include <QtTest>

#include <climits>

using namespace zwonky;
using namespace zwonky::testing;

namespace {

QStringList letters(const char *text)
{
    QStringList list;
    for (const char *c = text; *c; ++c)
        list << QString(QLatin1Char(*c));
    return list;
}

QPoint trayPlace(int position) { return {41 * position + 69, 8}; }
QPoint oneRowPlace(int die) { return {41 * die + 9, 61}; }

} // namespace

class TestChatformTray : public QObject
{
    Q_OBJECT

private:
    TileWidget *tile(TrayTable &table, int die) { return table.find<TileWidget>(QStringLiteral("dice_%1").arg(die)); }
    void click(TrayTable &table, int die, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(tile(table, die), button);
    }

private slots:
    void typedLettersTakeTheLowestNumberedTile();
    void typingKeys_data();
    void typingKeys();
    void keysGoToTheChatLineUnlessTyping();
    void clickOnlyTakesBackTheLastTile();
    void eleventhTileIsRefused();
    void doneSendsTheDiceInTrayOrder();
    void tileElevenReturnsToTheLowerRow_data();
    void tileElevenReturnsToTheLowerRow();
    void shuffleSwapsHomePlacesWithinRows_data();
    void shuffleSwapsHomePlacesWithinRows();
    void newAndOldDealsLeaveClockAndColours_data();
    void newAndOldDealsLeaveClockAndColours();
    void clockShowsMinutesAndSeconds_data();
    void clockShowsMinutesAndSeconds();
    void clockEndsOnlyTheOwnTurn();
    void hostileTurnTimes();
    void watcherMirrorsTheActiveTray();
    void hostileDealsAndMoves_data();
    void hostileDealsAndMoves();
    void purchasesAreAnnounced();
    void turnButtons();
    void nothingHappensOutsideTheOwnTurn();
    void wholeTurnWithoutTheMouse();
};

void TestChatformTray::typedLettersTakeTheLowestNumberedTile()
{
    TrayTable table;
    QVERIFY(table.seat(3));
    table.startTurn(3, letters("AEBCDFEGHI"), QStringLiteral("false"));

    QTest::keyClick(&table.window, Qt::Key_E);
    QTest::keyClick(&table.window, Qt::Key_E, Qt::ShiftModifier); // same key with Shift
    QTest::keyClick(&table.window, Qt::Key_E);
    QCOMPARE(table.takeSent(), (QList<QByteArray>{"CMD_setdice+3+1+2", "CMD_setdice+3+2+7"}));
    QCOMPARE(tile(table, 2)->pos(), trayPlace(1));
    QCOMPARE(tile(table, 7)->pos(), trayPlace(2));
    QCOMPARE(table.window.tray().trayCount(), 2);
    QCOMPARE(table.sound.clips, (QStringList{"puttile", "puttile"}));

    // A letter no tile shows is consumed and does nothing.
    auto *chat = table.find<QLineEdit>(QStringLiteral("mychat"));
    QVERIFY(chat);
    const QString typed = chat->text();
    QTest::keyClick(chat, Qt::Key_Z);
    QCOMPARE(chat->text(), typed);
    QCOMPARE(table.takeSent(), QList<QByteArray>{});
    QCOMPARE(table.window.tray().trayCount(), 2);
}

void TestChatformTray::typingKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("keypad");
    QTest::addColumn<bool>("turnOff0");
    QTest::addColumn<QList<QByteArray>>("sent");
    QTest::addColumn<int>("trayAfter");

    // Two tiles (1 and 2) are on the tray when the key is typed.
    QTest::newRow("Enter submits") << int(Qt::Key_Return) << false << false
                                   << QList<QByteArray>{"CMD_done+3+1+2"} << 0;
    QTest::newRow("keypad Enter submits") << int(Qt::Key_Enter) << true << false
                                          << QList<QByteArray>{"CMD_done+3+1+2"} << 0;
    QTest::newRow("Backspace takes the last") << int(Qt::Key_Backspace) << false << false
                                              << QList<QByteArray>{"CMD_setdice+3+0+2"} << 1;
    QTest::newRow("1 clears") << int(Qt::Key_1) << false << false
                              << QList<QByteArray>{"CMD_clearthem+3"} << 0;
    QTest::newRow("keypad 1 is no key") << int(Qt::Key_1) << true << false << QList<QByteArray>{} << 2;
    QTest::newRow("0 buys new tiles") << int(Qt::Key_0) << false << false
                                      << QList<QByteArray>{"CMD_newtiles+3"} << 0;
    QTest::newRow("0 turned off") << int(Qt::Key_0) << false << true << QList<QByteArray>{} << 2;
    QTest::newRow("space shuffles") << int(Qt::Key_Space) << false << false << QList<QByteArray>{} << 2;
    QTest::newRow("6 shuffles") << int(Qt::Key_6) << false << false << QList<QByteArray>{} << 2;
    QTest::newRow("other key") << int(Qt::Key_F5) << false << false << QList<QByteArray>{} << 2;
}

void TestChatformTray::typingKeys()
{
    QFETCH(int, key);
    QFETCH(bool, keypad);
    QFETCH(bool, turnOff0);
    QFETCH(QList<QByteArray>, sent);
    QFETCH(int, trayAfter);

    TrayTable table;
    QVERIFY(table.seat(3));
    table.find<QAction>(QStringLiteral("Turnoff0key1"))->setChecked(turnOff0);
    table.startTurn(3, letters("ABCDEFGHIJ"), QStringLiteral("false"));
    QTest::keyClick(&table.window, Qt::Key_A);
    QTest::keyClick(&table.window, Qt::Key_B);
    QCOMPARE(table.takeSent().size(), 2);

    auto *chat = table.find<QLineEdit>(QStringLiteral("mychat"));
    QVERIFY(chat);
    const QString typed = chat->text();
    QTest::keyClick(chat, Qt::Key(key), keypad ? Qt::KeypadModifier : Qt::NoModifier);
    QCOMPARE(table.takeSent(), sent);
    QCOMPARE(table.window.tray().trayCount(), trayAfter);
    QCOMPARE(chat->text(), typed); // consumed by the tray
}

void TestChatformTray::keysGoToTheChatLineUnlessTyping()
{
    TrayTable table;
    QVERIFY(table.seat(3));
    table.startTurn(3, letters("ABCDEFGHIJ"), QStringLiteral("false"));
    auto *typing = table.find<QCheckBox>(QStringLiteral("checkbox_typing"));
    QVERIFY(typing->isChecked());
    QVERIFY(!typing->isHidden());

    // Backspace on an empty tray: consumed, nothing sent.
    QTest::keyClick(&table.window, Qt::Key_Backspace);
    QCOMPARE(table.takeSent(), QList<QByteArray>{});

    // Tab switches typing off; then letters are no longer the tray's.
    QTest::keyClick(&table.window, Qt::Key_Tab);
    QVERIFY(!typing->isChecked());
    QTest::keyClick(&table.window, Qt::Key_A);
    QCOMPARE(table.takeSent(), QList<QByteArray>{});
    QCOMPARE(table.window.tray().trayCount(), 0);
    QTest::keyClick(&table.window, Qt::Key_Tab);
    QVERIFY(typing->isChecked());
    QTest::keyClick(&table.window, Qt::Key_A);
    QCOMPARE(table.takeSent(), QList<QByteArray>{"CMD_setdice+3+1+1"});

    // A game without typing leaves every key alone, Tab included.
    TrayTable plain;
    QVERIFY(plain.seat(3));
    plain.startTurn(3, letters("ABCDEFGHIJ"), QStringLiteral("false"), false);
    auto *plainTyping = plain.find<QCheckBox>(QStringLiteral("checkbox_typing"));
    QVERIFY(plainTyping->isHidden());
    QTest::keyClick(&plain.window, Qt::Key_Tab);
    QVERIFY(plainTyping->isChecked());
    QTest::keyClick(&plain.window, Qt::Key_A);
    QCOMPARE(plain.takeSent(), QList<QByteArray>{});
}

void TestChatformTray::clickOnlyTakesBackTheLastTile()
{
    TrayTable table;
    QVERIFY(table.seat(3));
    table.startTurn(3, letters("ABCDEFGHIJ"), QStringLiteral("false"));
    for (int die = 1; die <= 5; ++die)
        click(table, die);
    QCOMPARE(table.takeSent().size(), 5);

    click(table, 3); // position 3 of 5
    QCOMPARE(table.takeSent(), QList<QByteArray>{});
    QCOMPARE(tile(table, 3)->pos(), trayPlace(3));
    QCOMPARE(table.window.tray().trayCount(), 5);

    click(table, 5);
    QCOMPARE(table.takeSent(), QList<QByteArray>{"CMD_setdice+3+0+5"});
    QCOMPARE(tile(table, 5)->pos(), oneRowPlace(5));
    QCOMPARE(tile(table, 5)->trayPosition(), 0);
    QCOMPARE(table.window.tray().trayCount(), 4);
    QCOMPARE(table.sound.lastClip(), QStringLiteral("clear"));
}

void TestChatformTray::eleventhTileIsRefused()
{
    TrayTable table;
    QVERIFY(table.seat(3));
    table.startTurn(3, letters("ABCDEFGHIJKLM"), QStringLiteral("true"));
    for (int die = 1; die <= 10; ++die)
        click(table, die);
    QCOMPARE(table.takeSent().size(), 10);
    click(table, 11);
    QTest::keyClick(&table.window, Qt::Key_L);
    QCOMPARE(table.takeSent(), QList<QByteArray>{});
    QCOMPARE(tile(table, 11)->pos(), oneRowPlace(11));
    QCOMPARE(table.window.tray().trayCount(), 10);
}

void TestChatformTray::doneSendsTheDiceInTrayOrder()
{
    TrayTable table;
    QVERIFY(table.seat(3));
    table.startTurn(3, letters("ABCDEFGHIJKLM"), QStringLiteral("true"));
    auto *done = table.find<QPushButton>(QStringLiteral("button_done"));
    QVERIFY(!done->isHidden());

    QTest::mouseClick(done, Qt::LeftButton); // empty tray: nothing
    QCOMPARE(table.takeSent(), QList<QByteArray>{});

    for (int die : {5, 1, 12, 7})
        click(table, die);
    table.takeSent();
    QTest::mouseClick(done, Qt::LeftButton);
    const QList<QByteArray> sent = table.takeSent();
    QCOMPARE(sent, QList<QByteArray>{"CMD_done+3+5+1+12+7"});
    QCOMPARE(table.window.tray().trayCount(), 0);
    for (int die : {5, 1, 12, 7}) {
        QCOMPARE(tile(table, die)->pos(), oneRowPlace(die));
        QCOMPARE(tile(table, die)->trayPosition(), 0);
    }
}

void TestChatformTray::tileElevenReturnsToTheLowerRow_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QByteArray>("sent");
    QTest::newRow("click") << "click" << QByteArray("CMD_setdice+3+0+11");
    QTest::newRow("Backspace") << "backspace" << QByteArray("CMD_setdice+3+0+11");
    QTest::newRow("Clear") << "clear" << QByteArray("CMD_clearthem+3");
}

void TestChatformTray::tileElevenReturnsToTheLowerRow()
{
    QFETCH(QString, how);
    QFETCH(QByteArray, sent);
    TrayTable table;
    QVERIFY(table.seat(3));
    table.find<QAction>(QStringLiteral("TilesinTwoRows1"))->trigger();
    table.startTurn(3, letters("ABCDEFGHIJKLM"), QStringLiteral("true"));
    QCOMPARE(table.takeSent(), QList<QByteArray>{}); // not the own turn when switched
    QCOMPARE(tile(table, 11)->pos(), QPoint(313, 103));
    QCOMPARE(tile(table, 4)->pos(), QPoint(41 * 4 + 9, 61));

    click(table, 11);
    QCOMPARE(tile(table, 11)->pos(), trayPlace(1));
    table.takeSent();
    if (how == QLatin1String("click"))
        click(table, 11);
    else if (how == QLatin1String("backspace"))
        QTest::keyClick(&table.window, Qt::Key_Backspace);
    else
        QTest::mouseClick(table.find<QPushButton>(QStringLiteral("button_clear")), Qt::LeftButton);
    QCOMPARE(table.takeSent(), QList<QByteArray>{sent});
    QCOMPARE(tile(table, 11)->pos(), QPoint(313, 103));
}

void TestChatformTray::shuffleSwapsHomePlacesWithinRows_data()
{
    QTest::addColumn<bool>("twoRows");
    QTest::addColumn<QString>("flag");
    QTest::newRow("one row, 10 tiles") << false << "false";
    QTest::newRow("one row, 13 tiles") << false << "true";
    QTest::newRow("two rows, 10 tiles") << true << "false";
    QTest::newRow("two rows, 13 tiles") << true << "true";
}

void TestChatformTray::shuffleSwapsHomePlacesWithinRows()
{
    QFETCH(bool, twoRows);
    QFETCH(QString, flag);
    TrayTable table;
    QRandomGenerator generator(20240611);
    table.window.setRandom(&generator);
    QVERIFY(table.seat(3));
    if (twoRows)
        table.find<QAction>(QStringLiteral("TilesinTwoRows1"))->trigger();
    table.startTurn(3, letters("ABCDEFGHIJKLM"), flag);
    const int count = flag == QLatin1String("true") ? 13 : 10;

    // Row top -> the sorted left edges of that row's tiles.
    auto placesByRow = [&](bool homes) {
        QMap<int, QList<int>> rows;
        for (int die = 1; die <= count; ++die) {
            TileWidget *piece = tile(table, die);
            const bool lowerRow = twoRows && (die <= 3 || die >= 11);
            rows[lowerRow ? 103 : 61] << (homes ? piece->homePlace() : piece->x());
        }
        for (QList<int> &row : rows)
            std::sort(row.begin(), row.end());
        return rows;
    };
    const auto before = placesByRow(false);
    QList<int> tops;
    for (int die = 1; die <= 13; ++die)
        tops << tile(table, die)->y();

    click(table, 4); // one tile waits on the tray and keeps its place there
    QCOMPARE(table.takeSent(), QList<QByteArray>{"CMD_setdice+3+1+4"});
    bool moved = false;
    for (int round = 0; round < 3; ++round) {
        click(table, 8, Qt::RightButton);
        for (int die = 1; die <= 13; ++die) {
            TileWidget *piece = tile(table, die);
            if (die == 4)
                continue;
            QCOMPARE(piece->pos(), QPoint(piece->homePlace(), tops[die - 1])); // same row
            moved = moved || piece->x() != 41 * die + 9;
        }
        // A permutation of the same places, each row keeping its own.
        QCOMPARE(placesByRow(true), before);
    }
    QVERIFY(moved);
    QCOMPARE(tile(table, 4)->pos(), trayPlace(1));
    QCOMPARE(table.takeSent(), QList<QByteArray>{});

    // Taken back, tile 4 goes to the home it was given meanwhile.
    click(table, 4);
    QCOMPARE(tile(table, 4)->pos(), QPoint(tile(table, 4)->homePlace(), tops[3]));
}

void TestChatformTray::newAndOldDealsLeaveClockAndColours_data()
{
    QTest::addColumn<QString>("flag");
    QTest::newRow("new") << "new";
    QTest::newRow("old") << "old";
}

void TestChatformTray::newAndOldDealsLeaveClockAndColours()
{
    QFETCH(QString, flag);
    TrayTable table;
    QVERIFY(table.seat(3));
    table.startTurn(3, letters("ABCDEFGHIJKLM"), QStringLiteral("true"));
    for (int tick = 0; tick < 5; ++tick)
        table.window.session().tickClock();
    QCOMPARE(table.window.session().secondsLeft(), 85);
    auto *timer = table.window.findChild<QTimer *>(QStringLiteral("Timer2"));
    QVERIFY(timer->isActive());
    click(table, 1);
    click(table, 2);
    QTest::mouseDClick(table.find<QPushButton>(QStringLiteral("button_newtiles")), Qt::LeftButton);
    QCOMPARE(table.takeSent().last(), QByteArray("CMD_newtiles+3"));
    QCOMPARE(table.window.tray().trayCount(), 0);

    table.feed(protocol::theDice(3, flag, letters("ZYXWVUTSRQPON")));
    QCOMPARE(table.window.session().secondsLeft(), 85);
    QVERIFY(timer->isActive());
    QCOMPARE(table.find<QLabel>(QStringLiteral("label_time"))->text(), QStringLiteral("Time: 1:25"));
    QCOMPARE(table.window.wordBoard().wordColumn(3)->flatColour(), QColor(0x80, 0, 0));
    QCOMPARE(table.window.wordBoard().wordColumn(4)->flatColour(), QColor(Qt::white));
    QVERIFY(!tile(table, 13)->isHidden());
    QCOMPARE(tile(table, 1)->letter(), QStringLiteral("Z"));
    QCOMPARE(tile(table, 1)->pictureIndex(), 26);
    QCOMPARE(tile(table, 13)->letter(), QStringLiteral("N"));
    for (int die = 1; die <= 13; ++die)
        QCOMPARE(tile(table, die)->pos(), oneRowPlace(die));
    QVERIFY(!table.sound.clips.contains(QStringLiteral("zwonked")));

    // A plain ten-letter deal opens every column and hides tiles 11-13.
    table.feed(protocol::theDice(3, QStringLiteral("false"), letters("ABCDEFGHIJ")));
    QCOMPARE(table.window.wordBoard().wordColumn(3)->flatColour(), QColor(Qt::white));
    QCOMPARE(table.window.wordBoard().wordColumn(3)->focusedColour(), QColor(Qt::white));
    QVERIFY(tile(table, 11)->isHidden());
    QCOMPARE(table.window.session().secondsLeft(), 90);
    QCOMPARE(table.sound.lastClip(), QStringLiteral("turn"));
}

void TestChatformTray::clockShowsMinutesAndSeconds_data()
{
    QTest::addColumn<int>("left");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("sound");
    QTest::newRow("65") << 65 << "Time: 1:05" << false;
    QTest::newRow("45") << 45 << "Time: 0:45" << false;
    QTest::newRow("20") << 20 << "Time: 0:20" << true;
    QTest::newRow("16") << 16 << "Time: 0:16" << false;
    QTest::newRow("15") << 15 << "Time: 0:15" << true;
    QTest::newRow("11") << 11 << "Time: 0:11" << false;
    QTest::newRow("10") << 10 << "Time: 0:10" << true;
    QTest::newRow("0") << 0 << "Time: 0:00" << true;
}

void TestChatformTray::clockShowsMinutesAndSeconds()
{
    QFETCH(int, left);
    QFETCH(QString, caption);
    QFETCH(bool, sound);
    TrayTable table;
    QVERIFY(table.seat(3));
    table.startTurn(3, letters("ABCDEFGHIJ"), QStringLiteral("false"), true, 66);
    auto *bar = table.find<QWidget>(QStringLiteral("image_timer"));
    QCOMPARE(bar->width(), 66);
    for (int seconds = 66; seconds > left; --seconds) {
        table.sound.clips.clear();
        table.window.session().tickClock();
    }
    QCOMPARE(table.find<QLabel>(QStringLiteral("label_time"))->text(), caption);
    QCOMPARE(bar->width(), left);
    QCOMPARE(table.sound.clips, sound ? QStringList{"time"} : QStringList{});
    QCOMPARE(table.window.currentTurnSeat(), 3);
}

void TestChatformTray::clockEndsOnlyTheOwnTurn()
{
    for (int ownSeat : {3, 2}) {
        TrayTable table;
        QVERIFY(table.seat(ownSeat));
        table.startTurn(3, letters("ABCDEFGHIJ"), QStringLiteral("false"), true, 5);
        for (int tick = 0; tick < 5; ++tick)
            table.window.session().tickClock();
        QCOMPARE(table.window.currentTurnSeat(), 3);
        table.window.session().tickClock();
        QCOMPARE(table.window.currentTurnSeat(), 0);
        QVERIFY(!table.window.findChild<QTimer *>(QStringLiteral("Timer2"))->isActive());
        QCOMPARE(table.find<QLabel>(QStringLiteral("label_time"))->text(), QStringLiteral("Time: 0:00"));
        const QString status = table.find<QLabel>(QStringLiteral("label_status"))->text();
        if (ownSeat == 3) {
            QCOMPARE(status, QStringLiteral("Posting Scores.. One Moment Please!"));
            QVERIFY(table.find<QPushButton>(QStringLiteral("button_done"))->isHidden());
            QCOMPARE(tile(table, 1)->pictureIndex(), 0);
        } else {
            QCOMPARE(status, QString());
        }
        // Nothing is sent, and the tray takes no more tiles.
        click(table, 1);
        QTest::keyClick(&table.window, Qt::Key_B);
        QCOMPARE(table.takeSent(), QList<QByteArray>{});
    }
}

void TestChatformTray::hostileTurnTimes()
{
    // A host may announce any int as the time per turn.
    {
        TrayTable table;
        QVERIFY(table.seat(3));
        table.startTurn(3, letters("ABCDEFGHIJ"), QStringLiteral("false"), true, INT_MIN);
        // Below zero: the first tick ends the turn, as a time of 0 would.
        table.window.session().tickClock();
        QCOMPARE(table.window.currentTurnSeat(), 0);
        QCOMPARE(table.window.session().secondsLeft(), 0);
        QCOMPARE(table.find<QLabel>(QStringLiteral("label_time"))->text(), QStringLiteral("Time: 0:00"));
        QVERIFY(!table.window.findChild<QTimer *>(QStringLiteral("Timer2"))->isActive());
        table.window.session().tickClock(); // a late tick of a stopped clock
        QCOMPARE(table.window.session().secondsLeft(), 0);
    }
    {
        TrayTable table;
        QVERIFY(table.seat(3));
        table.startTurn(3, letters("ABCDEFGHIJ"), QStringLiteral("false"), true, INT_MAX);
        // The clock counts; its bar stops at the board's edge.
        const auto *bar = table.find<QWidget>(QStringLiteral("image_timer"));
        QVERIFY(bar->width() > 0);
        QVERIFY(bar->geometry().right() < bar->parentWidget()->width());
        QCOMPARE(table.find<QLabel>(QStringLiteral("label_time"))->text(),
                 QStringLiteral("Time: 35791394:07"));
        table.window.session().tickClock();
        QCOMPARE(table.window.session().secondsLeft(), INT_MAX - 1);
        QCOMPARE(table.window.currentTurnSeat(), 3);
    }
}

void TestChatformTray::watcherMirrorsTheActiveTray()
{
    TrayTable table;
    QVERIFY(table.seat(2));
    table.find<QAction>(QStringLiteral("TilesinTwoRows1"))->trigger();
    table.startTurn(3, letters("ABCDEFGHIJKLM"), QStringLiteral("true"));

    table.feed(protocol::setDiceRelay(1, 11));
    table.feed(protocol::setDiceRelay(2, 4));
    QCOMPARE(tile(table, 11)->pos(), trayPlace(1));
    QCOMPARE(tile(table, 4)->pos(), trayPlace(2));
    QCOMPARE(table.sound.clips, (QStringList{"puttile", "puttile"}));
    table.feed(protocol::setDiceRelay(0, 4));
    table.feed(protocol::setDiceRelay(0, 11));
    QCOMPARE(tile(table, 4)->pos(), QPoint(41 * 4 + 9, 61));
    QCOMPARE(tile(table, 11)->pos(), QPoint(313, 103));
    QCOMPARE(table.sound.lastClip(), QStringLiteral("clear"));
    // The watcher's own tray is untouched by the mirror.
    QCOMPARE(table.window.tray().trayCount(), 0);
    QCOMPARE(tile(table, 11)->trayPosition(), 0);

    // A word built and judged: the mirrored tray empties.
    table.feed(protocol::setDiceRelay(1, 1));
    table.feed(protocol::accepted(3, QStringLiteral("ABC")));
    QCOMPARE(tile(table, 1)->pos(), QPoint(183, 103));
    // The watcher cannot touch the tiles.
    click(table, 2);
    QCOMPARE(table.takeSent(), QList<QByteArray>{});
}

void TestChatformTray::hostileDealsAndMoves_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("fifteen letters") << QByteArray("CMD_thedice+3+true+A+B+C+D+E+F+G+H+I+J+K+L+M+N+O");
    QTest::newRow("empty letter") << QByteArray("CMD_thedice+3+false+A++C+D+E+F+G+H+I+J");
    QTest::newRow("long letter field") << QByteArray("CMD_thedice+3+false+AXY+B+C");
    QTest::newRow("no letters") << QByteArray("CMD_thedice+3+false");
    QTest::newRow("seat not a number") << QByteArray("CMD_thedice+x+true+A+B");
    QTest::newRow("tray position 11") << QByteArray("CMD_setdice+11+3");
    QTest::newRow("negative position") << QByteArray("CMD_setdice+-1+3");
    QTest::newRow("die 14") << QByteArray("CMD_setdice+1+14");
    QTest::newRow("die 0") << QByteArray("CMD_setdice+1+0");
    QTest::newRow("die not a number") << QByteArray("CMD_setdice+1+x");
    QTest::newRow("purchase by seat 9") << QByteArray("CMD_newtiles+9+100");
    QTest::newRow("purchase by seat 0") << QByteArray("CMD_oldtiles+0+100");
}

void TestChatformTray::hostileDealsAndMoves()
{
    QFETCH(QByteArray, message);
    TrayTable table;
    QVERIFY(table.seat(2));
    table.startTurn(3, letters("PQRSTUVWXY"), QStringLiteral("false"));
    table.feed(message);

    if (message.startsWith("CMD_thedice+3+true")) {
        QCOMPARE(tile(table, 13)->letter(), QStringLiteral("M"));
        QVERIFY(!tile(table, 13)->isHidden());
    } else if (message.startsWith("CMD_thedice+3+false+A++")) {
        QCOMPARE(tile(table, 1)->letter(), QStringLiteral("A"));
        QCOMPARE(tile(table, 2)->letter(), QStringLiteral("*"));
        QCOMPARE(tile(table, 2)->pictureIndex(), 0);
        QCOMPARE(tile(table, 3)->letter(), QStringLiteral("C"));
    } else if (message.startsWith("CMD_thedice+3+false+AXY")) {
        QCOMPARE(tile(table, 1)->letter(), QStringLiteral("A"));
        QCOMPARE(tile(table, 4)->letter(), QStringLiteral("*"));
    } else if (message.startsWith("CMD_setdice") || message.contains("tiles+")) {
        for (int die = 1; die <= 10; ++die)
            QCOMPARE(tile(table, die)->pos(), oneRowPlace(die));
        QCOMPARE(table.find<QLabel>(QStringLiteral("memo_ending"))->text(),
                 QStringLiteral("Welcome to Zwonky!"));
    }
    // The window still plays: the next deal and move work.
    table.feed(protocol::theDice(3, QStringLiteral("false"), letters("ABCDEFGHIJ")));
    table.feed(protocol::setDiceRelay(1, 5));
    QCOMPARE(tile(table, 5)->pos(), trayPlace(1));
    QCOMPARE(tile(table, 5)->letter(), QStringLiteral("E"));
}

void TestChatformTray::purchasesAreAnnounced()
{
    TrayTable table;
    QVERIFY(table.seat(3, QStringLiteral("Cy")));
    table.feed(protocol::newPlayerInfo(3, QStringLiteral("Cy")));
    table.feed(protocol::newPlayerInfo(1, QStringLiteral("Ann")));
    table.startTurn(3, letters("ABCDEFGHIJ"), QStringLiteral("false"), true, 90, true);
    auto *old = table.find<QPushButton>(QStringLiteral("button_old"));
    QVERIFY(old->isHidden());

    table.feed(protocol::newTilesNotice(3, 1200));
    QCOMPARE(table.find<QLabel>(QStringLiteral("label_score3"))->text(), QStringLiteral("1200"));
    QCOMPARE(table.find<QLabel>(QStringLiteral("memo_ending"))->text(),
             QStringLiteral("Cy bought new tiles for 300 points!"));
    QVERIFY(!old->isHidden());
    QVERIFY(!table.find<QWidget>(QStringLiteral("image_new3"))->isHidden());

    table.feed(protocol::oldTilesNotice(1, 900));
    QCOMPARE(table.find<QLabel>(QStringLiteral("label_score1"))->text(), QStringLiteral("900"));
    QCOMPARE(table.find<QLabel>(QStringLiteral("memo_ending"))->text(),
             QStringLiteral("Ann bought the old tiles for 300 points!"));
    QVERIFY(!table.find<QWidget>(QStringLiteral("image_new1"))->isHidden());

    // Old tiles are bought back by a double click.
    QTest::mouseDClick(old, Qt::LeftButton);
    QCOMPARE(table.takeSent(), QList<QByteArray>{"CMD_oldtiles+3"});
    QVERIFY(old->isHidden());

    // In a normal game the marker stays hidden.
    TrayTable normal;
    QVERIFY(normal.seat(2));
    normal.startTurn(3, letters("ABCDEFGHIJ"), QStringLiteral("false"));
    normal.feed(protocol::newTilesNotice(3, 700));
    QVERIFY(normal.find<QWidget>(QStringLiteral("image_new3"))->isHidden());
    QVERIFY(normal.find<QPushButton>(QStringLiteral("button_old"))->isHidden());
}

void TestChatformTray::turnButtons()
{
    TrayTable table;
    QVERIFY(table.seat(3));
    table.startTurn(3, letters("ABCDEFGHIJ"), QStringLiteral("false"));
    click(table, 1);
    table.takeSent();
    QTest::mouseClick(table.find<QPushButton>(QStringLiteral("button_clear")), Qt::LeftButton);
    QTest::mouseClick(table.find<QPushButton>(QStringLiteral("button_finish")), Qt::LeftButton);
    auto *newTiles = table.find<QPushButton>(QStringLiteral("button_newtiles"));
    QTest::mouseClick(newTiles, Qt::LeftButton); // a single click buys nothing
    QVERIFY(!newTiles->isHidden());
    QTest::mouseDClick(newTiles, Qt::LeftButton);
    QCOMPARE(table.takeSent(),
             (QList<QByteArray>{"CMD_clearthem+3", "CMD_finish+3", "CMD_newtiles+3"}));
    QVERIFY(newTiles->isHidden());
    QCOMPARE(tile(table, 1)->pos(), oneRowPlace(1));
    QCOMPARE(table.sound.lastClip(), QStringLiteral("clear"));
}

void TestChatformTray::nothingHappensOutsideTheOwnTurn()
{
    TrayTable table;
    QVERIFY(table.seat(2));
    table.startTurn(3, letters("ABCDEFGHIJ"), QStringLiteral("false"));
    click(table, 1);
    click(table, 1, Qt::RightButton);
    QTest::keyClick(&table.window, Qt::Key_A);
    table.window.tray().hitdone();
    table.window.tray().hitclear();
    table.window.tray().hitnew();
    table.window.tray().hitold();
    table.window.tray().button_finishClick();
    QCOMPARE(table.takeSent(), QList<QByteArray>{});
    for (int die = 1; die <= 10; ++die)
        QCOMPARE(tile(table, die)->pos(), oneRowPlace(die));
    QCOMPARE(table.sound.clips, QStringList{});
}

// Every action of a turn has a key that works while typing is on (the Alt
// keys are not the tray's), and without typing the tiles are worked by
// Tab and Space; each tile says its letter and place to a screen reader.
void TestChatformTray::wholeTurnWithoutTheMouse()
{
    TrayTable table;
    QVERIFY(table.seat(3));
    table.window.show();
    table.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&table.window));
    table.startTurn(3, letters("ABCDEFGHIJ"), QStringLiteral("false"));
    QCOMPARE(tile(table, 2)->accessibleName(), QStringLiteral("Tile 2: letter B"));

    QTest::keyClick(&table.window, Qt::Key_B);
    QTest::keyClick(&table.window, Qt::Key_A);
    QCOMPARE(tile(table, 1)->accessibleName(), QStringLiteral("Tile 1: letter A, on the tray at 2"));
    QTest::keyClick(&table.window, Qt::Key_D, Qt::AltModifier);
    QTest::keyClick(&table.window, Qt::Key_C);
    QTest::keyClick(&table.window, Qt::Key_C, Qt::AltModifier);
    QTest::keyClick(&table.window, Qt::Key_N, Qt::AltModifier);
    QCOMPARE(table.takeSent(), (QList<QByteArray>{"CMD_setdice+3+1+2", "CMD_setdice+3+2+1", "CMD_done+3+2+1",
                                                   "CMD_setdice+3+1+3", "CMD_clearthem+3",
                                                   "CMD_newtiles+3"}));
    QCOMPARE(tile(table, 1)->accessibleName(), QStringLiteral("Tile 1: letter A"));
    table.feed(protocol::newTilesNotice(3, 0));
    table.feed(protocol::theDice(3, DealKind::New, letters("KLMNOPQRST")));
    QTest::keyClick(&table.window, Qt::Key_L, Qt::AltModifier);
    QTest::keyClick(&table.window, Qt::Key_I, Qt::AltModifier);
    QCOMPARE(table.takeSent(), (QList<QByteArray>{"CMD_oldtiles+3", "CMD_finish+3"}));

    // The typing switch has its key too (Tab does the same on the own turn).
    auto *typing = table.find<QCheckBox>(QStringLiteral("checkbox_typing"));
    QVERIFY(typing->isChecked());
    QTest::keyClick(&table.window, Qt::Key_T, Qt::AltModifier);
    QTRY_VERIFY(!typing->isChecked());

    // A game without typing: Tab reaches a tile, Space lays it and takes it back.
    TrayTable plain;
    QVERIFY(plain.seat(3));
    plain.window.show();
    plain.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&plain.window));
    plain.startTurn(3, letters("ABCDEFGHIJ"), QStringLiteral("false"), false);
    TileWidget *first = tile(plain, 1);
    QCOMPARE(first->focusPolicy(), Qt::TabFocus);
    first->setFocus(Qt::TabFocusReason);
    QVERIFY(first->hasFocus());
    QTest::keyClick(first, Qt::Key_Space);
    QCOMPARE(plain.takeSent(), QList<QByteArray>{"CMD_setdice+3+1+1"});
    QTest::keyClick(first, Qt::Key_Space);
    QCOMPARE(plain.takeSent(), QList<QByteArray>{"CMD_setdice+3+0+1"});
    // Outside typing mode the Alt keys still work the buttons.
    QTest::keyClick(&plain.window, Qt::Key_I, Qt::AltModifier);
    QCOMPARE(plain.takeSent(), QList<QByteArray>{"CMD_finish+3"});
}

QTEST_MAIN(TestChatformTray)
#include "tst_chatform_tray.moc"
