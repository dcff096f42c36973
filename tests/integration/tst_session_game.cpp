// The session seen from three windows in one process: the host's server, the
// host's window, a player and a spectator on loopback. They join, one player
// watches a while, the host starts a game, the turn passes from player to
// player, a player leaves and the host removes the spectator, whose window
// closes. The server's clock is stepped by calling its tick.

#include "client/chatform.h"
#include "net/protocol.h"
#include "recordingfakes.h"
#include "server/serverform.h"
#include "windows/gamestart.h"
#include "windows/spylistform.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

#include <memory>

using namespace zwonky;

namespace {

using SilentSound = testing::RecordingSound;
using NoTally = testing::RecordingTally;

// One program: its main window with the spy list and start-game window.
struct Program
{
    SilentSound sound;
    NoTally tally;
    QTemporaryDir settings;
    Tspylist spies;
    Tgamestartform gameStart;
    std::unique_ptr<Tchat> window = std::make_unique<Tchat>();

    Program(const QStringList &parameters, const QString &port)
    {
        window->setSoundPlayer(&sound);
        window->setTally(&tally);
        window->setSettingsFolder(settings.path());
        window->setMessageBox([](const QString &text) { QFAIL(qPrintable(text)); });
        CompanionWindows companions;
        companions.spyList = &spies;
        companions.gameStart = &gameStart;
        window->setCompanions(companions);
        window->setGamePort(port);
        window->setParameters(parameters);
    }

    QString text(const QString &name) const
    {
        const auto *label = window->findChild<QLabel *>(name);
        return label ? label->text() : QStringLiteral("<none>");
    }
    bool shows(const QString &name) const
    {
        const auto *widget = window->findChild<QWidget *>(name);
        return widget && !widget->isHidden();
    }
    QStringList lines() const
    {
        const auto *log = window->findChild<QTextEdit *>(QStringLiteral("mainchat"));
        return log ? log->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts) : QStringList();
    }
    bool said(const QString &line) const { return lines().contains(line); }
};

} // namespace

class TestSessionGame : public QObject
{
    Q_OBJECT
private slots:
    void joinWatchPlayLeaveAndRemove();

private:
    // The server's clock, one second at a time, until the condition holds.
    bool clockUntil(TServer &server, const std::function<bool()> &condition, int maxSeconds = 90)
    {
        for (int second = 0; second < maxSeconds; ++second) {
            if (QTest::qWaitFor(condition, 30))
                return true;
            server.engine().Timer1Timer();
        }
        return QTest::qWaitFor(condition, 2000);
    }
};

void TestSessionGame::joinWatchPlayLeaveAndRemove()
{
    QRandomGenerator random(77);
    TServer server;
    server.setClockManual(true);
    server.setRandom(&random);
    server.setWordChecker([](const QString &) { return true; });
    // The server's queue is drained as in the program; only its clock is manual.
    QTimer serverTicks;
    connect(&serverTicks, &QTimer::timeout, &server, [&server] { server.socktimerTimer(); });
    serverTicks.start(5);

    // ---- the host switches its listener on and takes seat 1
    Program host({"Ann", "127.0.0.1", "true"}, QStringLiteral("7772"));
    host.window->setHostStarter([&] {
        server.reserveHostSeat(host.window->bindOwnConnection());
        server.startListening(QStringLiteral("0"));
        host.window->setGamePort(QString::number(server.listeningPort()));
    });
    host.window->show();
    QVERIFY(host.window->isHosting());
    QTRY_COMPARE(host.window->ownSeat(), 1);
    QTRY_VERIFY(host.said("You are Connected."));
    QCOMPARE(host.text("label_playername1"), QStringLiteral("Ann"));
    const QString port = QString::number(server.listeningPort());

    // ---- a player joins
    Program player({"Bo", "127.0.0.1", "false"}, port);
    player.window->show();
    QTRY_COMPARE(player.window->ownSeat(), 2);
    QTRY_COMPARE(host.text("label_playername2"), QStringLiteral("Bo"));
    QTRY_COMPARE(player.text("label_playername1"), QStringLiteral("Ann"));
    QVERIFY(host.said("Bo is Connected."));
    QTRY_VERIFY(player.said("Ann is Connected."));
    QVERIFY(!player.shows("button_start"));

    // ---- seats 3-6 are taken for a moment, so the next comer is a spectator
    // (each from an address of its own: only two may wait from one)
    std::vector<std::unique_ptr<QTcpSocket>> fillers;
    for (int i = 0; i < 4; ++i) {
        fillers.push_back(std::make_unique<QTcpSocket>());
        fillers.back()->bind(QHostAddress(QStringLiteral("127.0.0.%1").arg(2 + i)), 0);
        fillers.back()->connectToHost(QHostAddress::LocalHost, server.listeningPort());
        const int seat = 3 + i;
        QTRY_VERIFY(server.player(seat).open);
    }
    Program spectator({"Cy", "127.0.0.1", "false"}, port);
    spectator.window->show();
    QTRY_COMPARE(spectator.window->ownSeat(), 7);
    QTRY_VERIFY(spectator.said("You are spying."));
    QTRY_VERIFY(host.spies.hasEntry(QStringLiteral("7: Cy")));
    QVERIFY(host.said("Cy is spying."));
    QTRY_VERIFY(player.spies.hasEntry(QStringLiteral("7: Cy")));
    QVERIFY(spectator.spies.hasEntry(QStringLiteral("7: Cy")));
    for (auto &filler : fillers)
        filler->close();
    QTRY_VERIFY(!server.player(3).open && !server.player(6).open);

    // ---- Bo watches for a while, then plays again
    auto *watch = player.window->findChild<QAction *>(QStringLiteral("JustWatch1"));
    watch->trigger();
    QTRY_VERIFY(host.shows("image_eyes2"));
    QTRY_VERIFY(watch->isChecked());
    QTRY_VERIFY(spectator.shows("image_eyes2"));
    QVERIFY(host.said("Bo is just watching"));
    watch->trigger();
    QTRY_VERIFY(!host.shows("image_eyes2"));
    QTRY_VERIFY(!watch->isChecked());

    // ---- the host starts a game from the start-game window
    host.window->findChild<QPushButton *>(QStringLiteral("button_start"))->click();
    QVERIFY(host.gameStart.isVisible());
    host.gameStart.findChild<QSpinBox *>(QStringLiteral("timeperturn"))->setValue(60);
    host.gameStart.findChild<QCheckBox *>(QStringLiteral("fast"))->setChecked(false);
    host.gameStart.findChild<QPushButton *>(QStringLiteral("Image1"))->click();
    QVERIFY(host.gameStart.isHidden());
    for (Program *program : {&host, &player, &spectator}) {
        QTRY_COMPARE(program->text("label_timeperturn"), QStringLiteral("Time Per Turn: 60"));
        QVERIFY(program->said("Ann has started a SLOW game."));
    }
    QVERIFY(!host.shows("button_start"));

    // ---- turns hand over: each window shows whose turn it is
    QTRY_VERIFY(host.window->currentTurnSeat() != 0);
    const int first = host.window->currentTurnSeat();
    const int second = first == 1 ? 2 : 1;
    Program &firstPlayer = first == 1 ? host : player;
    Program &secondPlayer = first == 1 ? player : host;
    QTRY_COMPARE(firstPlayer.text("label_turn"), QStringLiteral("Your Turn."));
    QVERIFY(firstPlayer.shows("button_done"));
    QTRY_COMPARE(secondPlayer.text("label_turn"),
                 firstPlayer.text(QStringLiteral("label_playername%1").arg(first)) + "'s turn.");
    QVERIFY(!secondPlayer.shows("button_done"));
    QTRY_COMPARE(spectator.window->currentTurnSeat(), first);

    QVERIFY(clockUntil(server, [&] { return host.window->currentTurnSeat() == second; }));
    QTRY_COMPARE(secondPlayer.text("label_turn"), QStringLiteral("Your Turn."));
    QTRY_VERIFY(!firstPlayer.shows("button_done"));
    QTRY_COMPARE(spectator.window->currentTurnSeat(), second);

    // ---- the player leaves: his program ends and his connection with it
    player.window.reset();
    QTRY_COMPARE(host.text("label_playername2"), QStringLiteral("<Waiting>"));
    QVERIFY(host.said("Bo disconnected."));
    QTRY_COMPARE(spectator.text("label_playername2"), QStringLiteral("<Waiting>"));

    // ---- the host removes the spectator from the spy list
    host.spies.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host.spies));
    auto *list = host.spies.findChild<QListWidget *>(QStringLiteral("listbox_spys"));
    const QPoint over = list->visualItemRect(list->item(0)).center();
    QTest::mouseMove(list->viewport(), over);
    // A right click opens the pop-up on the entry; the item is chosen in it.
    QTest::mouseClick(host.spies.windowHandle(), Qt::RightButton, {},
                      list->viewport()->mapTo(&host.spies, over));
    auto *popup = host.spies.findChild<QMenu *>(QStringLiteral("popup_kick"));
    QTRY_VERIFY(popup->isVisible());
    auto *remove = host.spies.findChild<QAction *>(QStringLiteral("popup_kickhim"));
    QVERIFY(remove->isEnabled());
    QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(remove).center());
    QTRY_VERIFY(!spectator.window->isVisible());
    QTRY_VERIFY(!host.spies.hasEntry(QStringLiteral("7: Cy")));
    QVERIFY(host.said("Cy has left."));
    QVERIFY(host.window->isVisible());
}

QTEST_MAIN(TestSessionGame)
#include "tst_session_game.moc"
