// The host's start-game window on a real X server (Xvfb), with and without a
// window manager; xdotool moves and clicks the pointer as a player does. One
// click on "Fast Game" in the freshly opened window, then the start picture,
// must start a fast game, also when the host confirms the login (and with it
// the settings file is read) only after the player has clicked.

#include "support/sessionrig.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
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
    void clickBeforeTheSettingsLoadCounts_data();
    void clickBeforeTheSettingsLoadCounts();

private:
    // Runs xdotool with these arguments; its output, or nothing when it failed.
    std::optional<QByteArray> xdotool(const QStringList &arguments);
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

// A press held as long as a hand holds it, then the release.
bool StartWindowClick::click(const QString &window, QPoint at)
{
    return xdotool({"mousemove", "--window", window, QString::number(at.x()),
                    QString::number(at.y()), "mousedown", "1", "sleep", "0.1", "mouseup", "1"})
        .has_value();
}

void StartWindowClick::clickBeforeTheSettingsLoadCounts_data()
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
