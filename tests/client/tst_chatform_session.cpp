// The client session of the main window: login, player rows, spectators,
// the phases of a game, the menus and the host's requests, as a player sees
// them and as the host receives them.

#include "sessionrig.h"

#include "net/tsock.h"
#include "net/zwonkyerror.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QtTest>

using namespace zwonky;
using namespace zwonky::testing;

namespace {

QByteArray bytes(const char *text) { return QByteArray(text); }

QString rowText(const SessionRig &rig, const char *prefix, int seat)
{
    const auto *label = rig.control<QLabel>(QLatin1String(prefix) + QString::number(seat));
    return label ? label->text() : QStringLiteral("<missing>");
}

bool shown(const SessionRig &rig, const QString &name)
{
    const QWidget *widget = rig.control(name);
    return widget && !widget->isHidden();
}

// Seats a client as seat `own` at a table where seats 1..3 are Ann, Bo, Cy
// and seat 5 is Eve.
bool seatAtFullTable(SessionRig &rig, int own, bool hosting = false)
{
    static const QStringList names{QString(), QStringLiteral("Ann"), QStringLiteral("Bo"),
                                   QStringLiteral("Cy"), QString(), QStringLiteral("Eve")};
    const QString ownName = own < names.size() && !names.at(own).isEmpty()
        ? names.at(own) : QStringLiteral("Zed");
    if (!rig.seat(own, ownName, hosting))
        return false;
    rig.feed(protocol::newPlayerInfo(own, ownName));
    for (int seat : {1, 2, 3, 5}) {
        if (seat != own)
            rig.feed(protocol::existingPlayers(seat, names.at(seat)));
    }
    return true;
}

QByteArray startMessage(const QString &fast, const QString &newTiles = QStringLiteral("t"),
                        const QString &typing = QStringLiteral("t"))
{
    // Flags as texts: a server may send any.
    return "CMD_startgame+Ann+f+5000+60+2000+" + (newTiles + '+' + typing + '+' + fast + '+').toLatin1()
           + protocol::Terminator;
}

} // namespace

class TestChatformSession : public QObject
{
    Q_OBJECT
private slots:
    void loginReply_data();
    void loginReply();
    void joinerSeesThePlayersPresent();
    void spectatorArrives_data();
    void spectatorArrives();
    void playerDisconnected_data();
    void playerDisconnected();
    void nextPlayerShowsWhoseTurn_data();
    void nextPlayerShowsWhoseTurn();
    void justWatching_data();
    void justWatching();
    void startGameCaptions_data();
    void startGameCaptions();
    void verdictsAndTurnEnd();
    void winner_data();
    void winner();
    void malformedAndUnknownMessagesAreDropped_data();
    void malformedAndUnknownMessagesAreDropped();
    void gameIsFullClosesTheWindow();
    void lostConnectionClosesTheWindow_data();
    void lostConnectionClosesTheWindow();
    void failedConnectIsShownInTheChat();
    void lobbyLinkKeepsNothingItReceives();
    void menusInOrder();
    void justWatchMenu_data();
    void justWatchMenu();
    void hostPopupOnPlayerNames_data();
    void hostPopupOnPlayerNames();
    void startButtonNeedsTheConnection();
    void launchParameters_data();
    void launchParameters();
    void portTakenIsReportedAndNothingConnects();
    void viewTallyListsTheOthers();
    void closingHidesTheOtherWindows();
};

void TestChatformSession::loginReply_data()
{
    QTest::addColumn<int>("seat");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("Ann in seat 2") << 2 << "Ann" << bytes("CMD_logininfo+2+1.0.7+Ann\xFF\xFF");
    QTest::newRow("spectator") << 8 << "Bo Bo" << bytes("CMD_logininfo+8+1.0.7+Bo Bo\xFF\xFF");
}

void TestChatformSession::loginReply()
{
    QFETCH(int, seat);
    QFETCH(QString, name);
    QFETCH(QByteArray, expected);
    SessionRig rig;
    QVERIFY(rig.launch({name, QStringLiteral("127.0.0.1"), QStringLiteral("false")}));
    QVERIFY(!rig.window.isConnected());
    rig.feed(protocol::sendLoginInfo(seat));
    QTRY_COMPARE(rig.sentSoFar(), expected);
    QCOMPARE(rig.window.ownSeat(), seat);
    QVERIFY(rig.window.isConnected());
}

void TestChatformSession::joinerSeesThePlayersPresent()
{
    SessionRig rig;
    QVERIFY(rig.seat(3, QStringLiteral("Cy")));
    rig.feed(protocol::newPlayerInfo(3, QStringLiteral("Cy")));
    rig.feed(protocol::existingPlayers(1, QStringLiteral("Ann")));
    rig.feed(protocol::existingPlayers(2, QStringLiteral("Bo")));
    const QStringList lines = rig.chatLines();
    QCOMPARE(lines.mid(lines.size() - 3),
             QStringList({"You are Connected.", "Ann is Connected.", "Bo is Connected."}));
    QCOMPARE(rowText(rig, "label_playername", 1), QStringLiteral("Ann"));
    QCOMPARE(rowText(rig, "label_playername", 2), QStringLiteral("Bo"));
    QCOMPARE(rowText(rig, "label_playername", 3), QStringLiteral("Cy"));
    QCOMPARE(rowText(rig, "label_playername", 4), QStringLiteral("<Waiting>"));
    QCOMPARE(rig.sound.clips.size(), 2); // "entered" for each player already there
}

void TestChatformSession::spectatorArrives_data()
{
    QTest::addColumn<int>("ownSeat");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("seen by a player") << 2 << QStringList{"Bo is Connected.", "Bo is spying."};
    QTest::newRow("the spectator himself") << 7 << QStringList{"You are Connected.", "You are spying."};
}

void TestChatformSession::spectatorArrives()
{
    QFETCH(int, ownSeat);
    QFETCH(QStringList, lines);
    SessionRig rig;
    QVERIFY(rig.seat(ownSeat, ownSeat == 7 ? QStringLiteral("Bo") : QStringLiteral("Ann")));
    rig.feed(protocol::newPlayerInfo(7, QStringLiteral("Bo")));
    const QStringList shownLines = rig.chatLines();
    QCOMPARE(shownLines.mid(shownLines.size() - 2), lines);
    QVERIFY(rig.spies.hasEntry(QStringLiteral("7: Bo")));
    QCOMPARE(rig.spies.entryCount(), 1);
    for (int seat = 1; seat <= 6; ++seat)
        QCOMPARE(rowText(rig, "label_playername", seat), QStringLiteral("<Waiting>"));
}

void TestChatformSession::playerDisconnected_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QString>("line");        // empty: no new line
    QTest::addColumn<int>("row");             // row expected "<Waiting>", 0: none
    QTest::addColumn<int>("spies");           // entries left
    QTest::newRow("row, named by the row") << bytes("CMD_playerdisconnected+3+x") << "Cy disconnected." << 3 << 1;
    QTest::newRow("empty row") << bytes("CMD_playerdisconnected+4+Dee") << "" << 4 << 1;
    QTest::newRow("spectator") << bytes("CMD_playerdisconnected+7+Bo") << "Bo has left." << 0 << 0;
    QTest::newRow("unknown spectator") << bytes("CMD_playerdisconnected+8+Bo") << "" << 0 << 1;
    QTest::newRow("spectator without name") << bytes("CMD_playerdisconnected+7+") << "" << 0 << 1;
}

void TestChatformSession::playerDisconnected()
{
    QFETCH(QByteArray, message);
    QFETCH(QString, line);
    QFETCH(int, row);
    QFETCH(int, spies);
    SessionRig rig;
    QVERIFY(seatAtFullTable(rig, 2));
    rig.feed(protocol::newPlayerInfo(7, QStringLiteral("Bo")));
    rig.feed(protocol::justWatching(3, protocol::WatchStart));
    rig.feed(protocol::loadScores(3, 1200));
    const QStringList before = rig.chatLines();

    rig.feed(message);
    const QStringList after = rig.chatLines();
    if (line.isEmpty()) {
        QCOMPARE(after, before);
    } else {
        QCOMPARE(after.size(), before.size() + 1);
        QCOMPARE(after.last(), line);
    }
    if (row) {
        QCOMPARE(rowText(rig, "label_playername", row), QStringLiteral("<Waiting>"));
        QVERIFY(!shown(rig, QStringLiteral("image_eyes%1").arg(row)));
    }
    QCOMPARE(rig.spies.entryCount(), spies);
    QCOMPARE(rowText(rig, "label_playername", 1), QStringLiteral("Ann"));
}

void TestChatformSession::nextPlayerShowsWhoseTurn_data()
{
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<QByteArray>("next");
    QTest::addColumn<int>("current");
    QTest::addColumn<QString>("turnLabel");
    QTest::addColumn<QStringList>("buttons"); // turn controls shown
    QTest::addColumn<bool>("marker");
    const QStringList all{"button_done", "button_clear", "button_finish", "button_newtiles",
                          "checkbox_typing"};
    QTest::newRow("seat above 6 is seat 1") << startMessage("f") << bytes("CMD_nextplayer+8") << 1
                                            << "Ann's turn." << QStringList() << true;
    QTest::newRow("someone else") << startMessage("f") << bytes("CMD_nextplayer+3") << 3
                                  << "Cy's turn." << QStringList() << true;
    QTest::newRow("own turn") << startMessage("f") << bytes("CMD_nextplayer+2") << 2
                              << "Your Turn." << all << true;
    QTest::newRow("own turn, no new tiles, no typing")
        << startMessage("f", "f", "f") << bytes("CMD_nextplayer+2") << 2 << "Your Turn."
        << QStringList{"button_done", "button_clear", "button_finish"} << true;
    QTest::newRow("fast game hides the marker") << startMessage("t") << bytes("CMD_nextplayer+2")
                                                << 2 << "Your Turn." << all << false;
}

void TestChatformSession::nextPlayerShowsWhoseTurn()
{
    QFETCH(QByteArray, start);
    QFETCH(QByteArray, next);
    QFETCH(int, current);
    QFETCH(QString, turnLabel);
    QFETCH(QStringList, buttons);
    QFETCH(bool, marker);
    SessionRig rig;
    QVERIFY(seatAtFullTable(rig, 2));
    rig.feed(start);
    rig.feed(next);
    QCOMPARE(rig.window.currentTurnSeat(), current);
    QCOMPARE(rig.control<QLabel>("label_turn")->text(), turnLabel);
    for (const char *name : {"button_done", "button_clear", "button_finish", "button_newtiles",
                             "checkbox_typing", "button_old"})
        QCOMPARE(shown(rig, QLatin1String(name)), buttons.contains(QLatin1String(name)));
    QCOMPARE(shown(rig, "image_Turn"), marker);
    const auto *name = rig.control("label_playername" + QString::number(current));
    const QWidget *turnMarker = rig.control("image_Turn");
    QVERIFY(qAbs(turnMarker->geometry().center().y() - name->geometry().center().y()) <= 3);
}

void TestChatformSession::justWatching_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("eyes");
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("ticked"); // the own "Just Watch" item
    QTest::newRow("seat 5 watches") << bytes("CMD_justwatching+5+1") << 5 << true << "Eve is just watching" << false;
    QTest::newRow("spectator seat: nothing") << bytes("CMD_justwatching+7+1") << 0 << false << "" << false;
    QTest::newRow("own seat watches") << bytes("CMD_justwatching+2+1") << 2 << true << "Bo is just watching" << true;
    QTest::newRow("any other state plays") << bytes("CMD_justwatching+5+x") << 5 << false << "Eve now playing again" << false;
}

void TestChatformSession::justWatching()
{
    QFETCH(QByteArray, message);
    QFETCH(int, row);
    QFETCH(bool, eyes);
    QFETCH(QString, line);
    QFETCH(bool, ticked);
    SessionRig rig;
    QVERIFY(seatAtFullTable(rig, 2));
    const QStringList before = rig.chatLines();
    rig.feed(message);
    const QStringList after = rig.chatLines();
    QCOMPARE(after.size(), before.size() + (line.isEmpty() ? 0 : 1));
    if (!line.isEmpty())
        QCOMPARE(after.last(), line);
    for (int seat = 1; seat <= 6; ++seat)
        QCOMPARE(shown(rig, QStringLiteral("image_eyes%1").arg(seat)), seat == row && eyes);
    QCOMPARE(rig.control<QAction>("JustWatch1")->isChecked(), ticked);
}

void TestChatformSession::startGameCaptions_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<int>("fastTag");
    QTest::addColumn<QString>("line");
    QTest::newRow("fast game")
        << bytes("CMD_startgame+Ann+f+5000+60+5000+t+f+t+")
        << QStringList{"Play to Score: 5000", "Time Per Turn: 60", "Zwonked At: 5000",
                       "Allow New Tiles: On", "Allow Typing: Off", "Fast Game: Yes", ""}
        << 2 << "Ann has started a FAST game.";
    QTest::newRow("slow team game")
        << bytes("CMD_startgame+Bo+t+20000+120+3000+f+t+f+")
        << QStringList{"Play to Score: 20000", "Time Per Turn: 120", "Zwonked At: 3000",
                       "Allow New Tiles: Off", "Allow Typing: On", "Fast Game: No", "Team Game!"}
        << 1 << "Bo has started a SLOW TEAM game.";
}

void TestChatformSession::startGameCaptions()
{
    QFETCH(QByteArray, message);
    QFETCH(QStringList, captions);
    QFETCH(int, fastTag);
    QFETCH(QString, line);
    SessionRig rig;
    QVERIFY(seatAtFullTable(rig, 1, true));
    QCOMPARE(rig.control<QLabel>("label_playtoscore")->text(), QStringLiteral("Play To Score: 5000"));
    QCOMPARE(rig.control<QLabel>("label_fastgame")->property("tag").toInt(), 0);
    rig.feed(protocol::loadScores(2, 900));
    rig.feed(message);
    QStringList shownCaptions;
    for (const char *name : {"label_playtoscore", "label_timeperturn", "label_zwonkedat", "label_new",
                             "label_typing", "label_fastgame", "label_team"})
        shownCaptions << rig.control<QLabel>(QLatin1String(name))->text();
    QCOMPARE(shownCaptions, captions);
    QCOMPARE(rig.control<QLabel>("label_fastgame")->property("tag").toInt(), fastTag);
    QCOMPARE(rig.chatLines().last(), line);
    QCOMPARE(rowText(rig, "label_score", 2), QStringLiteral("0"));
    QCOMPARE(rowText(rig, "label_playername", 2), QStringLiteral("Bo"));
    QVERIFY(!shown(rig, "button_start"));
    QVERIFY(!shown(rig, "panel_winner"));
}

void TestChatformSession::verdictsAndTurnEnd()
{
    SessionRig rig;
    QVERIFY(seatAtFullTable(rig, 2));
    rig.feed(startMessage("f"));
    rig.feed(protocol::nextPlayer(2));

    rig.feed(protocol::accepted(3, QStringLiteral("CAT")));
    auto *status = rig.control<QLabel>("label_status");
    QCOMPARE(status->text(), QStringLiteral("CAT ACCEPTED"));
    QCOMPARE(status->palette().color(QPalette::WindowText), QColor(0, 0x7A, 0));
    rig.feed(protocol::rejected(QStringLiteral("CAT"), QStringLiteral("+ Rejected. Word Exists")));
    QCOMPARE(status->text(), QStringLiteral("CAT Rejected. Word Exists"));
    QCOMPARE(status->palette().color(QPalette::WindowText), QColor(0xD0, 0, 0));

    // Without "+" the command is empty and nothing happens.
    rig.feed("CMD_turnend");
    QCOMPARE(rig.window.currentTurnSeat(), 2);
    QVERIFY(shown(rig, "button_done"));

    rig.feed(protocol::turnEnd());
    QCOMPARE(rig.window.currentTurnSeat(), 0);
    QCOMPARE(status->text(), QStringLiteral("Posting Scores.. One Moment Please!"));
    QCOMPARE(rig.control<QLabel>("label_turn")->text(), QString());
    for (const char *name : {"button_done", "button_clear", "button_newtiles", "button_old",
                             "button_finish", "checkbox_typing"})
        QVERIFY2(!shown(rig, QLatin1String(name)), name);
    if (auto *header = rig.control<QLabel>("label_name3"))
        QCOMPARE(header->text(), QStringLiteral("Cy"));
}

void TestChatformSession::winner_data()
{
    QTest::addColumn<int>("ownSeat");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QStringList>("games");
    QTest::addColumn<int>("ownScore");
    QTest::addColumn<bool>("highScore"); // addscore(3, own score) expected
    QTest::newRow("own win") << 1 << "Ann" << "Ann has Won the Game!" << QStringList{"addtomine"} << 5600 << true;
    QTest::newRow("someone else's win") << 2 << "Ann" << "Ann has Won the Game!" << QStringList{"Ann"} << 3000 << true;
    QTest::newRow("below the best") << 2 << "Ann" << "Ann has Won the Game!" << QStringList{"Ann"} << 100 << false;
    QTest::newRow("two winners") << 1 << "Ann and Bo" << "Ann and Bo have Won the Game!" << QStringList() << 5600 << false;
    QTest::newRow("spectator") << 7 << "Ann" << "Ann has Won the Game!" << QStringList() << 0 << false;
}

void TestChatformSession::winner()
{
    QFETCH(int, ownSeat);
    QFETCH(QString, text);
    QFETCH(QString, panel);
    QFETCH(QStringList, games);
    QFETCH(int, ownScore);
    QFETCH(bool, highScore);
    SessionRig rig;
    rig.tally.highestGame = 2000;
    QVERIFY(seatAtFullTable(rig, ownSeat, ownSeat == 1));
    rig.feed(startMessage("f"));
    if (ownSeat <= 6)
        rig.feed(protocol::loadScores(ownSeat, ownScore));
    rig.feed(protocol::winner(text));
    QCOMPARE(rig.control<QLabel>("panel_winner")->text(), panel);
    QVERIFY(shown(rig, "panel_winner"));
    QCOMPARE(rig.control<QLabel>("label_status")->text(), QStringLiteral("Game Over!"));
    QCOMPARE(rig.tally.games, games);
    QCOMPARE(rig.tally.scores.contains(qMakePair(3, ownScore)), highScore);
    QCOMPARE(rig.tally.scores.size(), highScore ? 1 : 0);
    // The host may start the next game.
    QCOMPARE(shown(rig, "button_start"), ownSeat == 1);
}

void TestChatformSession::malformedAndUnknownMessagesAreDropped_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QStringList>("boxes"); // the error report of a field that is no number
    const auto notNumber = [](const char *field) {
        return QStringList{QStringLiteral("'%1' is not a valid integer value").arg(QLatin1String(field))};
    };
    QTest::newRow("seat not a number") << bytes("CMD_newplayerinfo+x+Ann") << notNumber("x");
    QTest::newRow("watch seat not a number") << bytes("CMD_justwatching+abc+1") << notNumber("abc");
    QTest::newRow("score field not a number")
        << bytes("CMD_startgame+Ann+f+lots+60+2000+t+t+t+") << notNumber("lots");
    QTest::newRow("next player not a number") << bytes("CMD_nextplayer+") << notNumber("");
    QTest::newRow("unknown command") << bytes("CMD_nosuch+1+2") << QStringList();
    QTest::newRow("wrong case") << bytes("CMD_NEWPLAYERINFO+4+Dee") << QStringList();
    QTest::newRow("empty") << QByteArray() << QStringList();
    QTest::newRow("only plus") << bytes("+CMD_newplayerinfo+4+Dee") << QStringList();
}

void TestChatformSession::malformedAndUnknownMessagesAreDropped()
{
    QFETCH(QByteArray, message);
    QFETCH(QStringList, boxes);
    SessionRig rig;
    QVERIFY(seatAtFullTable(rig, 2));
    const QStringList before = rig.chatLines();
    rig.feed(message);
    QCOMPARE(rig.chatLines(), before);
    QCOMPARE(rig.messageBox.texts, boxes);
    QCOMPARE(rowText(rig, "label_playername", 4), QStringLiteral("<Waiting>"));
    // The next message is handled as usual.
    rig.feed(protocol::newPlayerInfo(4, QStringLiteral("Dee")));
    QCOMPARE(rowText(rig, "label_playername", 4), QStringLiteral("Dee"));
    QCOMPARE(rig.messageBox.texts, boxes);
}

void TestChatformSession::gameIsFullClosesTheWindow()
{
    SessionRig rig;
    rig.window.show();
    QVERIFY(rig.window.isVisible());
    rig.feed(protocol::full());
    QCOMPARE(rig.messageBox.texts, QStringList{"Game is full"});
    QVERIFY(!rig.window.isVisible());
}

void TestChatformSession::lostConnectionClosesTheWindow_data()
{
    QTest::addColumn<bool>("endless");
    QTest::newRow("host closes") << false;
    QTest::newRow("message without end") << true;
}

void TestChatformSession::lostConnectionClosesTheWindow()
{
    QFETCH(bool, endless);
    SessionRig rig;
    QVERIFY(rig.seat(2, QStringLiteral("Bo")));
    rig.window.show();
    QVERIFY(rig.window.isVisible());
    if (endless)
        rig.host->write(QByteArray(Framer::MaxPending + 100, 'a'));
    else
        rig.host->close();
    QTRY_VERIFY(!rig.window.isVisible());
    QVERIFY(rig.messageBox.texts.isEmpty());
}

void TestChatformSession::failedConnectIsShownInTheChat()
{
    SessionRig rig;
    rig.server.close(); // nothing listens on that port now
    rig.window.setParameters({"Bo", "127.0.0.1", "false"});
    rig.window.processparams();
    QTRY_COMPARE(rig.chatLines().value(rig.chatLines().size() - 1),
                 QStringLiteral("Could not connect to 127.0.0.1: nobody is hosting a game there"));
    QVERIFY(rig.messageBox.texts.isEmpty());
    QVERIFY(!rig.window.isConnected());
}

void TestChatformSession::lobbyLinkKeepsNothingItReceives()
{
    SessionRig rig;
    QTcpServer lobby;
    QVERIFY(lobby.listen(QHostAddress::LocalHost, 0));
    auto *link = rig.control<TSock>(QStringLiteral("Sock11"));
    QVERIFY(link);
    link->setPortName(QString::number(lobby.serverPort()));
    QVERIFY(rig.seat(2, QStringLiteral("Bo")));
    QTRY_VERIFY(lobby.hasPendingConnections());
    QTcpSocket *peer = lobby.nextPendingConnection();
    QTRY_VERIFY(link->isConnected());

    // Whatever listens there may talk without end; the game keeps none of it.
    peer->write(QByteArray(4 * 1024 * 1024, 'L'));
    peer->disconnectFromHost();
    QTRY_VERIFY_WITH_TIMEOUT(!link->isConnected(), 20000);
    QVERIFY_THROWS_EXCEPTION(ZwonkyError, link->receive());
    QVERIFY(rig.window.isConnected());
}

void TestChatformSession::menusInOrder()
{
    SessionRig rig;
    // Each entry by object name; "-" a separator, "[x]" checked, "[ ]" a check item,
    // "(hidden)" not shown.
    const QStringList expected{
        "File: StartGame1 - AddComputerPlayer1{AddBeginner1 AddCasual1 AddAverage1 AddStrong1 "
        "AddExpert1} RemoveComputerPlayers1 - HostGame1(hidden) JoinGame1(hidden) Exit1",
        "Options: PlaySounds1[x] PlayChatterSounds1[ ] TurnSound1{Classic1[x] New1[ ]} - "
        "TilesinTwoRows1[ ] Turnoff0key1[ ] - TextColor1 ActionColor1 TextSize1{N8 N10 N12 N14} "
        "ScrollOff1[ ] ResetScreenLocation1 - JustWatch1[ ]",
        "View: ViewTally1 SpyList1 PrhaseList1",
        "Help: Help2 - About1"};
    std::function<QString(QMenu *)> describe = [&describe](QMenu *menu) {
        QStringList items;
        for (QAction *item : menu->actions()) {
            if (item->isSeparator()) {
                items << QStringLiteral("-");
                continue;
            }
            if (item->menu()) {
                items << item->menu()->objectName() + QLatin1Char('{') + describe(item->menu())
                             + QLatin1Char('}');
                continue;
            }
            QString text = item->objectName();
            // The text sizes' check marks follow the chat's font.
            if (item->isCheckable() && menu->objectName() != QLatin1String("TextSize1"))
                text += item->isChecked() ? QStringLiteral("[x]") : QStringLiteral("[ ]");
            if (!item->isVisible())
                text += QStringLiteral("(hidden)");
            items << text;
        }
        return items.join(QLatin1Char(' '));
    };
    QStringList menus;
    for (QAction *top : rig.window.menuBar()->actions())
        menus << QString(top->text()).remove(QLatin1Char('&')) + QStringLiteral(": ") + describe(top->menu());
    QCOMPARE(menus, expected);
    QCOMPARE(rig.control<QAction>("Help2")->shortcut(), QKeySequence(Qt::Key_F1));
    // The captions read as they always did; "&" marks the underlined key.
    QCOMPARE(rig.control<QAction>("StartGame1")->text(), QStringLiteral("&Start Game"));
    QCOMPARE(rig.control<QAction>("ScrollOff1")->text(), QStringLiteral("Chat Scr&oll Off"));

    // Every menu and entry has a key, none twice within one menu.
    std::function<void(QWidget *)> keysOf = [&keysOf](QWidget *owner) {
        QSet<QChar> used;
        for (QAction *item : owner->actions()) {
            if (item->isSeparator() || !item->isVisible())
                continue;
            const QString text = item->text();
            const qsizetype amp = text.indexOf(QLatin1Char('&'));
            QVERIFY2(amp >= 0 && amp + 1 < text.size(), qPrintable(text));
            const QChar key = text.at(amp + 1).toUpper();
            QVERIFY2(!used.contains(key), qPrintable(text));
            used.insert(key);
            if (item->menu())
                keysOf(item->menu());
        }
    };
    keysOf(rig.window.menuBar());
    // No tally window attached: its entry is grey, not silent.
    QVERIFY(!rig.control<QAction>("ViewTally1")->isEnabled());
    QVERIFY(rig.control<QAction>("SpyList1")->isEnabled());

    // The turn sound choice is a radio pair that remembers its tag.
    rig.control<QAction>("New1")->trigger();
    QCOMPARE(rig.control<QMenu>("TurnSound1")->property("tag").toInt(), 1);
    QVERIFY(!rig.control<QAction>("Classic1")->isChecked());
    rig.control<QAction>("Classic1")->trigger();
    QCOMPARE(rig.control<QMenu>("TurnSound1")->property("tag").toInt(), 0);
    QVERIFY(!rig.control<QAction>("New1")->isChecked());
}

void TestChatformSession::justWatchMenu_data()
{
    QTest::addColumn<int>("ownSeat");
    QTest::addColumn<QByteArray>("first");
    QTest::newRow("seat 2") << 2 << bytes("CMD_justwatch+2+1\xFF");
    QTest::newRow("seat 5") << 5 << QByteArray();
    QTest::newRow("seat 6") << 6 << QByteArray();
    QTest::newRow("spectator") << 8 << QByteArray();
}

void TestChatformSession::justWatchMenu()
{
    QFETCH(int, ownSeat);
    QFETCH(QByteArray, first);
    SessionRig rig;
    QVERIFY(seatAtFullTable(rig, ownSeat));
    auto *item = rig.control<QAction>("JustWatch1");
    item->trigger();
    // The tick waits for the server's word.
    QVERIFY(!item->isChecked());
    if (first.isEmpty()) {
        // Something else sent afterwards arrives alone: the menu sent nothing.
        rig.feed(protocol::sendLoginInfo(ownSeat));
        QTRY_VERIFY(rig.sentSoFar().startsWith("CMD_logininfo"));
        return;
    }
    QTRY_COMPARE(rig.sentSoFar(), first);
    rig.takeSent();
    rig.feed(protocol::justWatching(ownSeat, protocol::WatchStart));
    QVERIFY(item->isChecked());
    item->trigger();
    QVERIFY(item->isChecked());
    QTRY_COMPARE(rig.sentSoFar(), QByteArray("CMD_justwatch+2+2\xFF"));
}

void TestChatformSession::hostPopupOnPlayerNames_data()
{
    QTest::addColumn<bool>("hosting");
    QTest::addColumn<int>("seat");
    QTest::addColumn<bool>("removable");
    QTest::addColumn<QByteArray>("sent"); // remove, set, unset, then the own "Just Watch"
    QTest::newRow("host on Cy") << true << 3 << true
                                << bytes("CMD_kickhim+1+3+\xFF" "CMD_justwatch+3+1\xFF" "CMD_justwatch+3+2\xFF"
                                         "CMD_justwatch+1+1\xFF");
    QTest::newRow("host on an empty seat") << true << 4 << false
                                           << bytes("CMD_justwatch+4+1\xFF" "CMD_justwatch+4+2\xFF"
                                                    "CMD_justwatch+1+1\xFF");
    QTest::newRow("host on seat 5: no watch change") << true << 5 << true
                                                     << bytes("CMD_kickhim+1+5+\xFF" "CMD_justwatch+1+1\xFF");
    QTest::newRow("joiner") << false << 3 << false << bytes("CMD_justwatch+2+1\xFF");
}

void TestChatformSession::hostPopupOnPlayerNames()
{
    QFETCH(bool, hosting);
    QFETCH(int, seat);
    QFETCH(bool, removable);
    QFETCH(QByteArray, sent);
    SessionRig rig;
    QVERIFY(seatAtFullTable(rig, hosting ? 1 : 2, hosting));
    auto *name = rig.control<QLabel>(QStringLiteral("label_playername%1").arg(seat));
    QCOMPARE(name->contextMenuPolicy(), Qt::CustomContextMenu);
    emit name->customContextMenuRequested(QPoint(2, 2));
    auto *popup = rig.control<QMenu>("popup_kick");
    QTRY_VERIFY(popup->isVisible());
    popup->hide();
    QCOMPARE(popup->property("tag").toInt(), seat);
    auto *remove = rig.control<QAction>("RemoveFromGame1");
    QCOMPARE(remove->isEnabled(), removable);
    QCOMPARE(rig.control<QAction>("SettoJustWatch1")->isEnabled(), hosting);
    QCOMPARE(rig.control<QAction>("UnsetJustWatch1")->isEnabled(), hosting);
    rig.spies.ensureBuilt();
    QCOMPARE(rig.spies.findChild<QAction *>("popup_kickhim")->isEnabled(), hosting);

    // The entries act on the row the pop-up was opened on, whatever its tag says.
    popup->setProperty("tag", 0);
    remove->trigger();
    rig.control<QAction>("SettoJustWatch1")->trigger();
    rig.control<QAction>("UnsetJustWatch1")->trigger();
    // The own watch request comes last: whatever arrives before it was sent by the pop-up.
    rig.control<QAction>("JustWatch1")->trigger();
    QTRY_COMPARE(rig.sentSoFar(), sent);
}

void TestChatformSession::startButtonNeedsTheConnection()
{
    SessionRig rig;
    auto *start = rig.control<QPushButton>("button_start");
    start->click();
    QCOMPARE(rig.messageBox.texts, QStringList{"You are not connected"});
    QVERIFY(rig.gameStart.isHidden());
    QVERIFY(rig.seat(1, QStringLiteral("Ann"), true));
    QVERIFY(shown(rig, "button_start"));
    QVERIFY(rig.control<QAction>("StartGame1")->isEnabled());
    rig.control<QAction>("StartGame1")->trigger();
    QVERIFY(!rig.gameStart.isHidden());
    QCOMPARE(rig.messageBox.texts.size(), 1);
}

void TestChatformSession::launchParameters_data()
{
    QTest::addColumn<QStringList>("parameters");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("hostName"); // where the game connection goes; empty: nowhere
    QTest::addColumn<bool>("hosting");
    QTest::addColumn<bool>("fastOffered");
    QTest::addColumn<QString>("name");
    const QString solo = QStringLiteral("Loading Solo Game..Please wait.");
    const QString multi = QStringLiteral("Loading Multi-player Game.. Please Wait.");
    QTest::newRow("none: solo host") << QStringList() << solo << "127.0.0.1" << true << true << "You";
    QTest::newRow("name only") << QStringList{"Ann"} << multi << "" << false << true << "Ann";
    QTest::newRow("name and host") << QStringList{"Ann", "10.1.1.1"} << multi << "" << false << true << "Ann";
    QTest::newRow("host") << QStringList{"Ann", "10.1.1.1", "true"} << multi << "127.0.0.1" << true << true << "Ann";
    QTest::newRow("True joins") << QStringList{"Ann", "127.0.0.1", "True"} << multi << "127.0.0.1" << false << true << "Ann";
    QTest::newRow("s hides fast") << QStringList{"Ann", "127.0.0.1", "no", "s"} << multi << "127.0.0.1" << false << false << "Ann";
    QTest::newRow("S does not") << QStringList{"Ann", "127.0.0.1", "no", "S"} << multi << "127.0.0.1" << false << true << "Ann";
    QTest::newRow("fifth ignored") << QStringList{"Ann", "127.0.0.1", "true", "x", "s"} << multi << "127.0.0.1" << true << true << "Ann";
}

void TestChatformSession::launchParameters()
{
    QFETCH(QStringList, parameters);
    QFETCH(QString, line);
    QFETCH(QString, hostName);
    QFETCH(bool, hosting);
    QFETCH(bool, fastOffered);
    QFETCH(QString, name);
    SessionRig rig;
    int listenerStarts = 0;
    rig.window.setHostStarter([&listenerStarts] { ++listenerStarts; });
    rig.window.setParameters(parameters);
    rig.window.show(); // the first showing reads the parameters
    rig.window.hide();
    rig.window.show(); // and only the first
    QCOMPARE(rig.chatLines(), QStringList{line});
    QCOMPARE(rig.window.findChild<TSock *>("sock")->hostName(), hostName);
    QCOMPARE(rig.window.isHosting(), hosting);
    QCOMPARE(listenerStarts, hosting ? 1 : 0);
    QCOMPARE(shown(rig, "button_start"), hosting);
    QCOMPARE(rig.control<QAction>("StartGame1")->isEnabled(), hosting);
    QCOMPARE(rig.window.playerName(), name);
    rig.gameStart.ensureBuilt();
    QCOMPARE(!rig.gameStart.findChild<QCheckBox *>("fast")->isHidden(), fastOffered);
    if (!hostName.isEmpty())
        QTRY_VERIFY(rig.server.hasPendingConnections());
}

void TestChatformSession::portTakenIsReportedAndNothingConnects()
{
    SessionRig rig;
    rig.window.setHostStarter([] { throw ZwonkyError(QStringLiteral("Listen - Error Binding Socket")); });
    rig.window.setParameters({"Ann", "127.0.0.1", "true"});
    rig.window.show();
    QCOMPARE(rig.messageBox.texts, QStringList{"Listen - Error Binding Socket"});
    QVERIFY(!rig.window.isHosting());
    QVERIFY(rig.window.findChild<TSock *>("sock")->hostName().isEmpty());
    QVERIFY(!shown(rig, "button_start"));
}

void TestChatformSession::viewTallyListsTheOthers()
{
    SessionRig rig;
    QWidget tallyWindow;
    CompanionWindows companions;
    companions.tally = &tallyWindow;
    rig.window.setCompanions(companions);
    QVERIFY(seatAtFullTable(rig, 2));
    auto *item = rig.control<QAction>("ViewTally1");
    QVERIFY(item->isEnabled());
    item->trigger();
    QCOMPARE(rig.tally.checklist, QStringList({"Ann", "Cy", "<Waiting>", "Eve", "<Waiting>"}));
    QVERIFY(tallyWindow.isVisible());
}

void TestChatformSession::closingHidesTheOtherWindows()
{
    // The program ends with the main window: an open help window or the
    // lobby-download window must not linger and take the focus meanwhile.
    SessionRig rig;
    QWidget help;
    QWidget download;
    CompanionWindows companions;
    companions.help = &help;
    companions.download = &download;
    rig.window.setCompanions(companions);
    rig.window.show();
    help.show();
    download.show();
    QVERIFY(rig.window.close());
    QVERIFY(!help.isVisible());
    QVERIFY(!download.isVisible());
}

QTEST_MAIN(TestChatformSession)
#include "tst_chatform_session.moc"
