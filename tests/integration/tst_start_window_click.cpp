// The host's start-game window on a real X server (Xvfb), with and without a
// window manager; xdotool moves and clicks the pointer as a player does. One
// click on "Fast Game" in the freshly opened window, then the start picture,
// must start a fast game: in the real program, watched by a joiner on
// loopback, and in a window whose host holds back the login's confirmation
// (and with it the settings file) until the player has clicked.

#include "session/clientsession.h"
#include "support/sessionrig.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

using namespace zwonky;

namespace {

constexpr int Generous = 30000; // ms: a busy machine still gets there

// Where the program's controls are, in client pixels of their windows. The
// main window is kept at its default size, where its board has its design
// size; the start-game window has a fixed size.
const QPoint StartButton{100, 262};   // `button_start`, under the game options
const QPoint FastGameBox{40, 178};    // `fast`, on its check box
const QPoint StartPicture{130, 274};  // `Image1` of the start-game window

QString tool(const char *name)
{
    return QStandardPaths::findExecutable(QLatin1String(name));
}

void stop(QProcess *process)
{
    if (process->state() == QProcess::NotRunning)
        return;
    process->terminate();
    if (!process->waitForFinished(Generous))
        process->kill();
}

} // namespace

class StartWindowClick : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void oneClickGivesAFastGame_data();
    void oneClickGivesAFastGame();
    void clickBeforeTheSettingsLoadCounts_data() { oneClickGivesAFastGame_data(); }
    void clickBeforeTheSettingsLoadCounts();

private:
    // Runs xdotool with these arguments; its output, or nothing when it failed.
    std::optional<QByteArray> xdotool(const QStringList &arguments);
    // The id of the one visible window with exactly this title, once there is one.
    QString waitForWindow(const QString &title);
    bool click(const QString &window, QPoint at);

    QProcessEnvironment m_environment;
    QProcess m_manager;
};

std::optional<QByteArray> StartWindowClick::xdotool(const QStringList &arguments)
{
    QProcess run;
    run.setProcessEnvironment(m_environment);
    run.start(tool("xdotool"), arguments);
    // The event loop runs meanwhile: this process's own windows take the clicks.
    if (!QTest::qWaitFor([&] { return run.state() == QProcess::NotRunning; }, Generous)
        || run.exitStatus() != QProcess::NormalExit
        || run.exitCode() != 0)
        return std::nullopt;
    return run.readAllStandardOutput();
}

QString StartWindowClick::waitForWindow(const QString &title)
{
    QString id;
    // Nothing found in time leaves the id empty, which the caller checks.
    [[maybe_unused]] const bool found = QTest::qWaitFor([&] {
        const auto found = xdotool({"search", "--onlyvisible", "--name",
                                    QLatin1Char('^') + title + QLatin1Char('$')});
        const QList<QByteArray> ids = found ? found->trimmed().split('\n') : QList<QByteArray>();
        if (ids.size() == 1 && !ids.first().isEmpty())
            id = QString::fromLatin1(ids.first());
        return !id.isEmpty();
    }, Generous);
    return id;
}

// A press held as long as a hand holds it, then the release.
bool StartWindowClick::click(const QString &window, QPoint at)
{
    return xdotool({"mousemove", "--window", window, QString::number(at.x()),
                    QString::number(at.y()), "mousedown", "1", "sleep", "0.1", "mouseup", "1"})
        .has_value();
}

void StartWindowClick::oneClickGivesAFastGame_data()
{
    QTest::addColumn<bool>("windowManager");
    QTest::newRow("no window manager") << false;
    QTest::newRow("openbox") << true;
}

void StartWindowClick::initTestCase()
{
    // Missing tools fail the test: scripts/install-deps.sh installs them.
    for (const char *needed : {"Xvfb", "xdotool", "openbox"})
        QVERIFY2(!tool(needed).isEmpty(), needed);
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    m_environment = QProcessEnvironment::systemEnvironment();
}

void StartWindowClick::init()
{
    QFETCH(bool, windowManager);
    m_manager.setProcessEnvironment(m_environment);
    m_manager.setProcessChannelMode(QProcess::ForwardedChannels);
    if (!windowManager)
        return;
    m_manager.start(tool("openbox"), {});
    QVERIFY(m_manager.waitForStarted(Generous));
    // It manages the screen once it announces its desktops.
    QVERIFY(QTest::qWaitFor([this] { return xdotool({"get_num_desktops"}).has_value(); },
                            Generous));
}

void StartWindowClick::cleanup()
{
    stop(&m_manager);
}

void StartWindowClick::oneClickGivesAFastGame()
{
    // The program in a folder of its own, so its settings file is ours: the
    // last game was a slow one, and the window was moved (seeing it move
    // tells that the settings were loaded, so they cannot undo the click).
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString program = folder.filePath("zwonky");
    QVERIFY(QFile::copy(QStringLiteral(ZWONKY_BINARY), program));
    QFile settings(folder.filePath("pellixlobby.ini"));
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write("[zwonky]\nLeft=60\nTop=40\nWidth=795\nHeight=568\nFastgame=false\n");
    settings.close();
    QVERIFY(QDir(folder.path()).mkdir("runtime"));
    QFile::setPermissions(folder.filePath("runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QProcessEnvironment gameEnvironment = m_environment;
    gameEnvironment.insert("QT_QPA_PLATFORM", "xcb");
    gameEnvironment.insert("XDG_RUNTIME_DIR", folder.filePath("runtime"));
    QProcess game;
    game.setProcessEnvironment(gameEnvironment);
    game.setWorkingDirectory(folder.path());
    game.setProcessChannelMode(QProcess::ForwardedChannels);
    game.start(program, {"Ann", "127.0.0.1", "true"});
    QVERIFY(game.waitForStarted(Generous));
    const auto stopGame = qScopeGuard([&] { stop(&game); });

    // A joiner sees the game's options as the server announces them.
    QVERIFY(QTest::qWaitFor([] {
        QTcpSocket probe;
        probe.connectToHost(QStringLiteral("127.0.0.1"), 7772);
        return probe.waitForConnected(1000);
    }, Generous));
    ClientSession joiner;
    joiner.setPlayerName(QStringLiteral("Bob"));
    QSignalSpy started(&joiner, &ClientSession::gameStarted);
    joiner.connectToHost(QStringLiteral("127.0.0.1"), QStringLiteral("7772"));
    QTRY_COMPARE_WITH_TIMEOUT(joiner.players().shownName(1), QStringLiteral("Ann"), Generous);

    const QString main = waitForWindow("Zwonky");
    QVERIFY(!main.isEmpty());
    // Loaded: moved from left 3 to 60 (a frame adds a pixel or two).
    QVERIFY(QTest::qWaitFor([&] {
        const auto shape = xdotool({"getwindowgeometry", "--shell", main});
        const QByteArray left = shape ? shape->split('\n').value(1) : QByteArray();
        return left.startsWith("X=") && left.mid(2).toInt() >= 60 && left.mid(2).toInt() < 80;
    }, Generous));

    QVERIFY(click(main, StartButton));
    const QString startWindow = waitForWindow("Zwonky - Start Game");
    QVERIFY2(!startWindow.isEmpty(), "the start button opens the start-game window");
    QVERIFY(click(startWindow, FastGameBox));
    QVERIFY(click(startWindow, StartPicture));

    QVERIFY(started.wait(Generous) || !started.isEmpty());
    const auto options = started.first().at(1).value<GameSettings>();
    QVERIFY2(options.fast, "one click on Fast Game gives a fast game");
}

void StartWindowClick::clickBeforeTheSettingsLoadCounts()
{
    // The host has offered seat 1 (the start picture is usable) but not yet
    // confirmed the login; the settings file says the last game was slow.
    testing::SessionRig rig;
    QFile settings(rig.settings.filePath("pellixlobby.ini"));
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write("[zwonky]\nFastgame=false\nPlaytoscore=20000\n");
    settings.close();
    QVERIFY(rig.seat(1, QStringLiteral("Ann"), true));
    rig.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.window, Generous));

    // The start picture opens the window (it has a native window once shown).
    const auto openStartWindow = [&] {
        return click(QString::number(rig.window.winId()), StartButton)
            && QTest::qWaitFor([&] { return rig.gameStart.isVisible(); }, Generous)
            && QTest::qWaitForWindowExposed(&rig.gameStart, Generous);
    };
    QVERIFY(openStartWindow());
    const QString startWindow = QString::number(rig.gameStart.winId());
    QVERIFY(click(startWindow, FastGameBox));
    QTRY_VERIFY_WITH_TIMEOUT(rig.gameStart.chosenOptions().fast, Generous);
    const protocol::GameOptions shown = rig.gameStart.chosenOptions();

    // The confirmation loads the settings file under the open window.
    rig.feed(protocol::newPlayerInfo(1, QStringLiteral("Ann")));
    QVERIFY(rig.window.settingsLoaded());
    QVERIFY(click(startWindow, StartPicture));
    QVERIFY2(QTest::qWaitFor([&] {
                 return rig.sentSoFar().contains(protocol::startGameRequest(1, shown));
             }, Generous), rig.sentSoFar().toPercentEncoding(" +"));

    // The start stored the player's choice: the options the load held back
    // are dropped, and the next opening offers the same choice.
    rig.takeSent();
    QTRY_VERIFY_WITH_TIMEOUT(!rig.gameStart.isVisible(), Generous);
    QVERIFY(openStartWindow());
    QCOMPARE(rig.gameStart.chosenOptions(), shown);
}

// The whole test runs on an X server of its own: -displayfd 1 picks a free
// display and prints it; -noreset keeps it from resetting (and refusing
// newcomers a moment) whenever its last client leaves.
int main(int argc, char **argv)
{
    QProcess screen;
    screen.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-noreset", "-screen", "0",
                                          "1280x1024x24", "-nolisten", "tcp"});
    while (!screen.canReadLine() && screen.waitForReadyRead(Generous)) {
    }
    if (!screen.canReadLine()) {
        qCritical("Xvfb gave no display: %s", qPrintable(screen.errorString()));
        return 1;
    }
    qputenv("DISPLAY", ':' + screen.readLine().trimmed());
    qputenv("QT_QPA_PLATFORM", "xcb");
    int result = 1;
    {
        QApplication app(argc, argv);
        StartWindowClick test;
        result = QTest::qExec(&test, argc, argv);
    }
    stop(&screen);
    return result;
}
#include "tst_start_window_click.moc"
