// The lobby window as a player uses it: its buttons start the game with the
// right parameters, games heard are listed and picked, a running game is
// shown and blocks new starts, and the settings go into their own section
// of the shared file without touching a byte of the game's.

#include "lobby/announcelistener.h"
#include "lobby/announcer.h"
#include "lobby/lobbywindow.h"
#include "recordingfakes.h"

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTreeWidget>
#include <QUdpSocket>
#include <QtTest>

using namespace zwonky::lobby;
using zwonky::testing::RecordingGameStarter;

namespace {

const QByteArray GameSection = "[zwonky]\r\nTop=3\r\nLeft=3\r\nTextcolor=clBlack\r\n"
                               "Phrase1=hi + \"there\"\r\n; a comment\r\n\r\n";

struct Rig
{
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("pellixlobby.ini"));
    RecordingGameStarter starter;
    Announcer announcer;
    LobbyController controller{starter, announcer};
    AnnounceListener listener;
    std::unique_ptr<LobbyWindow> window;

    explicit Rig(const QByteArray &fileBefore = GameSection)
    {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(fileBefore);
        file.close();
        QString error;
        listener.listenOn({QHostAddress(QHostAddress::LocalHost)}, 0, &error);
        announcer.setTargets({});
        window = std::make_unique<LobbyWindow>(controller, listener, LobbySettingsFile(path));
        window->show();
    }
    template <typename T = QWidget> T *control(const char *name)
    {
        return window->findChild<T *>(QLatin1String(name));
    }
    void type(const char *field, const QString &text)
    {
        auto *edit = control<QLineEdit>(field);
        edit->clear();
        QTest::keyClicks(edit, text);
    }
    QByteArray file() const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

// Dark pixels in a band across the middle of a list: the empty-list hint is
// drawn there, while rows start at the top.
int inkAcrossTheMiddle(QAbstractItemView *view)
{
    const QImage image = view->viewport()->grab().toImage();
    int ink = 0;
    for (int y = image.height() / 2 - 8; y <= image.height() / 2 + 8; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 180)
                ++ink;
    return ink;
}

} // namespace

class TestLobbyWindow : public QObject
{
    Q_OBJECT
private slots:
    void buttonsStartTheGame();
    void heardGamesAreListedAndPicked();
    void announcedTextIsShownAsItWasSent();
    void aRunningGameIsShownAndBlocksStarts();
    void aJoinedGameNamesItsHost();
    void emptyListsSayWhatTheyWaitFor();
    void settingsKeepTheGamesSectionByteForByte();
    void settingsComeBackAndBadValuesAreSkipped();
};

void TestLobbyWindow::buttonsStartTheGame()
{
    Rig rig;
    QCOMPARE(rig.control<QPushButton>("button_host")->text(), QStringLiteral("Host a Game"));
    QCOMPARE(rig.control<QPushButton>("button_join")->text(), QStringLiteral("Join"));
    QCOMPARE(rig.control<QPushButton>("button_solo")->text(), QStringLiteral("Solo Game"));

    rig.type("edit_name", QStringLiteral("Ann"));
    rig.type("edit_address", QStringLiteral("[fe80::2%eth1]"));
    QTest::mouseClick(rig.control<QPushButton>("button_join"), Qt::LeftButton);
    QCOMPARE(rig.starter.starts.size(), 1);
    QCOMPARE(rig.starter.starts.last(),
             (QStringList{"Ann", "fe80::2%eth1", "false"}));
    // Remembered first among the recent hosts.
    QCOMPARE(rig.control<QListWidget>("list_recent")->item(0)->text(), QStringLiteral("fe80::2%eth1"));

    rig.starter.endGame();
    QTest::mouseClick(rig.control<QPushButton>("button_host"), Qt::LeftButton);
    QCOMPARE(rig.starter.starts.last(), (QStringList{"Ann", "127.0.0.1", "true"}));
    rig.starter.endGame();
    QTest::mouseClick(rig.control<QPushButton>("button_solo"), Qt::LeftButton);
    QCOMPARE(rig.starter.starts.last(), QStringList());
    QCOMPARE(rig.starter.starts.size(), 3);
}

void TestLobbyWindow::heardGamesAreListedAndPicked()
{
    Rig rig;
    QUdpSocket other;
    const QByteArray datagram =
        *encodeAnnouncement({newAnnouncementId(), QStringLiteral("Bo"), QStringLiteral("1.0.7")});
    other.writeDatagram(datagram, QHostAddress::LocalHost, rig.listener.port());
    auto *games = rig.control<QTreeWidget>("list_games");
    QTRY_COMPARE(games->topLevelItemCount(), 1);
    QTreeWidgetItem *row = games->topLevelItem(0);
    QCOMPARE(row->text(0), QStringLiteral("Bo"));
    QCOMPARE(row->text(1), QStringLiteral("127.0.0.1"));
    QVERIFY(!row->text(2).isEmpty());
    // Heard, never joined by itself.
    QVERIFY(rig.starter.starts.isEmpty());

    // Picking fills the address; Join starts the game for it.
    row->setSelected(true);
    QCOMPARE(rig.control<QLineEdit>("edit_address")->text(), QStringLiteral("127.0.0.1"));
    rig.type("edit_name", QStringLiteral("Cy"));
    QTest::mouseClick(rig.control<QPushButton>("button_join"), Qt::LeftButton);
    QCOMPARE(rig.starter.starts.last(), (QStringList{"Cy", "127.0.0.1", "false"}));
}

void TestLobbyWindow::announcedTextIsShownAsItWasSent()
{
    Rig rig;
    QUdpSocket other;
    const QString name = QStringLiteral("<b>bold</b> &amp;");
    other.writeDatagram(*encodeAnnouncement({newAnnouncementId(), name, QStringLiteral("1.0.7")}),
                        QHostAddress::LocalHost, rig.listener.port());
    auto *games = rig.control<QTreeWidget>("list_games");
    QTRY_COMPARE(games->topLevelItemCount(), 1);
    QTreeWidgetItem *row = games->topLevelItem(0);
    QCOMPARE(row->text(0), name);
    // What a tool tip shows: rich text when it looks like rich text.
    const QString tip = row->toolTip(0);
    QTextDocument shown;
    if (Qt::mightBeRichText(tip))
        shown.setHtml(tip);
    else
        shown.setPlainText(tip);
    QCOMPARE(shown.toPlainText(), name + QStringLiteral(", version 1.0.7"));
}

void TestLobbyWindow::aRunningGameIsShownAndBlocksStarts()
{
    Rig rig;
    rig.type("edit_name", QStringLiteral("Ann"));
    QTest::mouseClick(rig.control<QPushButton>("button_host"), Qt::LeftButton);
    QVERIFY(rig.window->statusText().startsWith(QStringLiteral("You are hosting a game.")));
    QVERIFY(!rig.control<QPushButton>("button_host")->isEnabled());
    QVERIFY(!rig.control<QPushButton>("button_join")->isEnabled());
    QVERIFY(!rig.control<QPushButton>("button_solo")->isEnabled());
    // Return in the address field does not get around the disabled buttons.
    rig.type("edit_address", QStringLiteral("10.0.0.1"));
    QTest::keyClick(rig.control<QLineEdit>("edit_address"), Qt::Key_Return);
    QCOMPARE(rig.starter.starts.size(), 1);

    rig.starter.endGame();
    QVERIFY(rig.control<QPushButton>("button_host")->isEnabled());
    QCOMPARE(rig.window->statusText(), QStringLiteral("The game has ended."));
}

void TestLobbyWindow::aJoinedGameNamesItsHost()
{
    Rig rig;
    rig.type("edit_name", QStringLiteral("Ann"));
    rig.type("edit_address", QStringLiteral("[::1]"));
    QTest::mouseClick(rig.control<QPushButton>("button_join"), Qt::LeftButton);
    QCOMPARE(rig.window->statusText(),
             QStringLiteral("You are playing in the game at ::1. The lobby is back when it ends."));
    rig.starter.endGame();
    QCOMPARE(rig.window->statusText(), QStringLiteral("The game has ended."));

    // A game hosted afterwards is not taken for the one joined before.
    QTest::mouseClick(rig.control<QPushButton>("button_host"), Qt::LeftButton);
    QVERIFY(rig.window->statusText().startsWith(QStringLiteral("You are hosting a game.")));
}

void TestLobbyWindow::emptyListsSayWhatTheyWaitFor()
{
    Rig rig;
    auto *games = rig.control<QTreeWidget>("list_games");
    auto *recent = rig.control<QListWidget>("list_recent");
    QVERIFY(QTest::qWaitForWindowExposed(rig.window.get()));
    QVERIFY(inkAcrossTheMiddle(games) > 0);
    QVERIFY(inkAcrossTheMiddle(recent) > 0);

    // With a row the hint is gone.
    QUdpSocket other;
    other.writeDatagram(*encodeAnnouncement({newAnnouncementId(), QStringLiteral("Bo"), QStringLiteral("1.0.7")}),
                        QHostAddress::LocalHost, rig.listener.port());
    QTRY_COMPARE(games->topLevelItemCount(), 1);
    QCOMPARE(inkAcrossTheMiddle(games), 0);
    rig.type("edit_name", QStringLiteral("Ann"));
    rig.type("edit_address", QStringLiteral("10.0.0.9"));
    QTest::mouseClick(rig.control<QPushButton>("button_join"), Qt::LeftButton);
    QCOMPARE(recent->count(), 1);
    QCOMPARE(inkAcrossTheMiddle(recent), 0);
}

void TestLobbyWindow::settingsKeepTheGamesSectionByteForByte()
{
    const QByteArray after = "[other]\r\nkey=value\r\n";
    Rig rig(GameSection + after);
    rig.type("edit_name", QStringLiteral("Ann"));
    QTest::keyClick(rig.control<QLineEdit>("edit_name"), Qt::Key_Tab);
    rig.type("edit_address", QStringLiteral("game.example.org"));
    QTest::mouseClick(rig.control<QPushButton>("button_join"), Qt::LeftButton);
    rig.control<QWidget>("check_announce")->setProperty("checked", false);

    const QByteArray file = rig.file();
    QVERIFY2(file.startsWith(GameSection + after), file.constData());
    const QByteArray own = file.mid(GameSection.size() + after.size());
    QVERIFY2(own.startsWith("[zwonkylobby]\r\nName=Ann\r\nAnnounce=false\r\nRecent1=game.example.org\r\n"),
             own.constData());
}

void TestLobbyWindow::settingsComeBackAndBadValuesAreSkipped()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("pellixlobby.ini"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[ZwonkyLobby]\nname=  Bo\x01 \nannounce=false\nRecent1=[::1]\n"
                   "Recent2=not a host\nRecent3=10.0.0.7\nRecent4=10.0.0.7\n");
    }
    const LobbySettings loaded = LobbySettingsFile(path).load();
    QCOMPARE(loaded.playerName, QStringLiteral("Bo"));
    QCOMPARE(loaded.announce, false);
    QCOMPARE(loaded.recentHosts, (QStringList{"::1", "10.0.0.7"}));

    LobbySettings settings = loaded;
    for (int i = 0; i < 10; ++i)
        settings.rememberHost(QStringLiteral("10.0.0.%1").arg(i));
    settings.rememberHost(QStringLiteral("10.0.0.5"));
    QCOMPARE(settings.recentHosts.size(), LobbySettings::MaxRecentHosts);
    QCOMPARE(settings.recentHosts.first(), QStringLiteral("10.0.0.5"));
    QCOMPARE(settings.recentHosts.count(QStringLiteral("10.0.0.5")), 1);
    QString error;
    QVERIFY(LobbySettingsFile(path).save(settings, &error));
    QCOMPARE(LobbySettingsFile(path).load(), settings);
}

QTEST_MAIN(TestLobbyWindow)
#include "tst_lobbywindow.moc"
