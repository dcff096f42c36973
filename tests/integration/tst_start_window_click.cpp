// The host's start-game window on a real X server (Xvfb), with and without a
// window manager: the real program hosts, a joiner on loopback watches the
// wire, and xdotool moves and clicks the pointer as a player does. One
// click on "Fast Game" in the freshly opened window, then the start
// picture, must start a fast game.

#include "session/clientsession.h"

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

} // namespace

class StartWindowClick : public QObject
{
    Q_OBJECT
private slots:
    void oneClickGivesAFastGame_data();
    void oneClickGivesAFastGame();

private:
    // Runs xdotool with these arguments; its output, or nothing when it failed.
    std::optional<QByteArray> xdotool(const QStringList &arguments);
    // The id of the one visible window with exactly this title, once there is one.
    QString waitForWindow(const QString &title);
    bool click(const QString &window, QPoint at);

    QProcessEnvironment m_environment;
};

std::optional<QByteArray> StartWindowClick::xdotool(const QStringList &arguments)
{
    QProcess run;
    run.setProcessEnvironment(m_environment);
    run.start(tool("xdotool"), arguments);
    if (!run.waitForFinished(Generous) || run.exitStatus() != QProcess::NormalExit
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

void StartWindowClick::oneClickGivesAFastGame()
{
    QFETCH(bool, windowManager);
    // Missing tools fail the test: scripts/install-deps.sh installs them.
    for (const char *needed : {"Xvfb", "xdotool", "openbox"})
        QVERIFY2(!tool(needed).isEmpty(), needed);

    // An X server of its own: -displayfd 1 picks a free display and prints it;
    // -noreset keeps it from resetting (and refusing newcomers a moment)
    // whenever its last client leaves.
    QProcess screen;
    QProcess manager;
    const auto stop = [](QProcess *process) {
        process->terminate();
        if (!process->waitForFinished(Generous))
            process->kill();
    };
    const auto stopScreen = qScopeGuard([&] { stop(&manager); stop(&screen); });
    screen.start(tool("Xvfb"), {"-displayfd", "1", "-noreset", "-screen", "0", "1280x1024x24",
                                "-nolisten", "tcp"});
    QVERIFY(QTest::qWaitFor([&] { return screen.canReadLine(); }, Generous));
    m_environment = QProcessEnvironment::systemEnvironment();
    m_environment.insert("DISPLAY", ':' + QString::fromLatin1(screen.readLine().trimmed()));

    manager.setProcessEnvironment(m_environment);
    manager.setProcessChannelMode(QProcess::ForwardedChannels);
    if (windowManager) {
        manager.start(tool("openbox"), {});
        QVERIFY(manager.waitForStarted(Generous));
        // It manages the screen once it announces its desktops.
        QVERIFY(QTest::qWaitFor([this] { return xdotool({"get_num_desktops"}).has_value(); },
                                Generous));
    }

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

QTEST_MAIN(StartWindowClick)
#include "tst_start_window_click.moc"
