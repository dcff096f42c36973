#include "client/chatform.h"
#include "server/serverform.h"
#include "startup/application.h"
#include "startup/previnst.h"
#include "startup/programrun.h"
#include "windows/gamestart.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QMessageBox>
#include <QPushButton>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>

#include <sys/stat.h>
#include <unistd.h>

using namespace zwonky;

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void soloGameHostsOnTheRealPort();
    void commandLine_data();
    void commandLine();
    void serverErrorsAreShownOneBoxAtATime();
    void secondStartEndsAndTermClosesCleanly();
    void termWhileStartingClosesCleanly();
    void guardPlantedByAnotherAccount_data();
    void guardPlantedByAnotherAccount();
    void latinTextsAreNotShaped();
    void firstTextWaitsForTheStart();

private:
    static QString chatText(Tchat &chat)
    {
        auto *log = chat.findChild<QTextEdit *>("mainchat");
        return log ? log->toPlainText() : QString();
    }
};

void TestStartup::soloGameHostsOnTheRealPort()
{
    QTemporaryDir data;
    ZwonkyApplication app({{}, QStringLiteral("7772"), data.path()});
    app.start();
    QTRY_VERIFY(app.chat().isHosting());
    QCOMPARE(app.server().listeningPort(), quint16(7772));
    QTRY_VERIFY(chatText(app.chat()).contains("Loading Solo Game..Please wait."));
    QCOMPARE(app.chat().playerName(), QString("You"));
    // The own client's connection is accepted into seat 1.
    QTRY_COMPARE(app.chat().ownSeat(), 1);
    QVERIFY(app.chat().isConnected());
}

void TestStartup::commandLine_data()
{
    QTest::addColumn<QStringList>("parameters");
    QTest::addColumn<bool>("hosts");
    QTest::addColumn<bool>("connects");
    QTest::addColumn<bool>("fastVisible");
    QTest::newRow("one parameter") << QStringList{"Ann"} << false << false << true;
    QTest::newRow("two parameters") << QStringList{"Ann", "127.0.0.1"} << false << false << true;
    QTest::newRow("host") << QStringList{"Ann", "127.0.0.1", "true"} << true << true << true;
    QTest::newRow("True joins") << QStringList{"Ann", "127.0.0.1", "True"} << false << true << true;
    QTest::newRow("TRUE joins") << QStringList{"Ann", "127.0.0.1", "TRUE"} << false << true << true;
    QTest::newRow("s hides fast") << QStringList{"Ann", "127.0.0.1", "true", "s"} << true << true << false;
    QTest::newRow("S does not") << QStringList{"Ann", "127.0.0.1", "true", "S"} << true << true << true;
}

void TestStartup::commandLine()
{
    QFETCH(QStringList, parameters);
    QFETCH(bool, hosts);
    QFETCH(bool, connects);
    QFETCH(bool, fastVisible);
    QTemporaryDir data;
    ZwonkyApplication app({parameters, QStringLiteral("0"), data.path()});
    app.start();
    QTRY_VERIFY(chatText(app.chat()).contains(parameters.size() >= 1 ? "Loading Multi-player Game.. Please Wait."
                                                                      : "Loading Solo Game"));
    QCOMPARE(app.chat().isHosting(), hosts);
    QCOMPARE(app.chat().playerName(), QString("Ann"));
    if (hosts) {
        QVERIFY(app.server().listeningPort() != 0);
        QTRY_COMPARE(app.chat().ownSeat(), 1);
    } else {
        // A joiner's server never listens.
        QCOMPARE(app.server().listeningPort(), quint16(0));
        QTest::qWait(50);
        QCOMPARE(app.chat().ownSeat(), 0);
        QVERIFY(!app.chat().isConnected());
    }
    Q_UNUSED(connects);
    auto *fast = QApplication::topLevelWidgets().isEmpty() ? nullptr : [&]() -> QCheckBox * {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *start = qobject_cast<Tgamestartform *>(w))
                start->ensureBuilt();
            if (auto *box = w->findChild<QCheckBox *>("fast"))
                return box;
        }
        return nullptr;
    }();
    QVERIFY(fast);
    QCOMPARE(!fast->isHidden(), fastVisible);
}

namespace {

// The program as a separate process, with its guard in a runtime folder of
// the test's own, so that it meets neither a real game nor another test.
class GameProcess
{
public:
    explicit GameProcess(const QProcessEnvironment &environment)
    {
        m_process.setWorkingDirectory(m_workDir.path());
        m_process.setProcessEnvironment(environment);
    }
    void start() { m_process.start(ZWONKY_BINARY, {"Guard"}); }
    QString workFile(const QString &name) const { return QDir(m_workDir.path()).filePath(name); }
    QProcess &process() { return m_process; }

private:
    QTemporaryDir m_workDir;
    QProcess m_process;
};

QProcessEnvironment environmentWith(const QString &runtimeFolder)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", runtimeFolder);
    return environment;
}

bool answers(const QString &socketPath)
{
    QLocalSocket probe;
    probe.connectToServer(socketPath);
    return probe.waitForConnected(200);
}

} // namespace

void TestStartup::serverErrorsAreShownOneBoxAtATime()
{
    QTemporaryDir data;
    ZwonkyApplication app({{"Ann", "127.0.0.1", "true"}, QStringLiteral("0"), data.path()});
    app.start();
    QTRY_COMPARE(app.chat().ownSeat(), 1);
    auto openBoxes = [&app] {
        QList<QMessageBox *> boxes;
        for (QMessageBox *box : app.chat().findChildren<QMessageBox *>())
            if (box->isVisible())
                boxes << box;
        return boxes;
    };

    // A peer whose seat fields are no numbers: the host's server reports it.
    QTcpSocket peer;
    peer.connectToHost(QHostAddress::LocalHost, app.server().listeningPort());
    QVERIFY(peer.waitForConnected(5000));
    QByteArray greeting;
    QTRY_VERIFY((greeting += peer.readAll()).contains("CMD_sendlogininfo+2"));
    peer.write("CMD_chat+abc+hello|clBlack\xFF" "CMD_chat+def+hello|clBlack\xFF"
               "CMD_logininfo+2+1.0.7+Pip\xFF");
    QTRY_COMPARE(openBoxes().size(), 1);
    QCOMPARE(openBoxes().first()->text(), QStringLiteral("'abc' is not a valid integer value"));
    // The game goes on behind the box; the second error came while the box
    // was open and is not stacked on it.
    QTRY_VERIFY(chatText(app.chat()).contains("Pip is Connected."));
    QCOMPARE(openBoxes().size(), 1);

    QTest::mouseClick(openBoxes().first()->button(QMessageBox::Ok), Qt::LeftButton);
    QTRY_VERIFY(openBoxes().isEmpty());
    peer.write("CMD_chat+ghi+hello|clBlack\xFF");
    QTRY_COMPARE(openBoxes().size(), 1);
    QCOMPARE(openBoxes().first()->text(), QStringLiteral("'ghi' is not a valid integer value"));
}

void TestStartup::secondStartEndsAndTermClosesCleanly()
{
    QTemporaryDir runtime;
    const PrevInstance guard(runtime.path());
    GameProcess first(environmentWith(runtime.path()));
    first.start();
    QVERIFY(first.process().waitForStarted());
    // The first instance is up once its guard answers and its word list is out.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(first.workFile("English")), 20000);
    QTRY_VERIFY_WITH_TIMEOUT(answers(guard.socketPath()), 20000);

    GameProcess second(environmentWith(runtime.path()));
    second.start();
    QVERIFY(second.process().waitForFinished(20000));
    QCOMPARE(second.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.process().exitCode(), 0);
    // It ended before creating any window: no server, so no word list file.
    QVERIFY(!QFile::exists(second.workFile("English")));
    QCOMPARE(first.process().state(), QProcess::Running);

    // SIGTERM closes the main window like File > Exit: a normal exit that
    // writes the tally and removes the working word list on the way out.
    // The process skips the windows' destruction and Qt's own teardown,
    // never what the program leaves behind: the guard's socket and lock are
    // gone too. The tally lies beside the program; the one read at start
    // is removed here, so only the exit can have written it.
    const QString tally = QDir(QFileInfo(QStringLiteral(ZWONKY_BINARY)).absolutePath())
                              .filePath(QStringLiteral("zwonkytally.tld"));
    QFile::remove(tally);
    first.process().terminate();
    QVERIFY(first.process().waitForFinished(20000));
    QCOMPARE(first.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(first.process().exitCode(), 0);
    QVERIFY(QFile::exists(tally));
    QVERIFY(!QFile::exists(first.workFile("English")));
    QVERIFY(!QFile::exists(guard.socketPath()));
    QVERIFY(!QFile::exists(QDir(runtime.path()).filePath("zwonky.lock")));
}

void TestStartup::termWhileStartingClosesCleanly()
{
    // The guard's lock is taken right after the signal handlers are made;
    // a stop from then on, in the middle of making the windows, is an
    // ordinary exit that leaves neither the lock nor the word list.
    QTemporaryDir runtime;
    const QString lock = QDir(runtime.path()).filePath("zwonky.lock");
    GameProcess game(environmentWith(runtime.path()));
    game.start();
    QVERIFY(game.process().waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(lock), 20000);
    game.process().terminate();
    QVERIFY(game.process().waitForFinished(20000));
    QCOMPARE(game.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(game.process().exitCode(), 0);
    QVERIFY(!QFile::exists(game.workFile("English")));
    QVERIFY(!QFile::exists(lock));
}

void TestStartup::guardPlantedByAnotherAccount_data()
{
    QTest::addColumn<bool>("runtimeFolderSet");
    QTest::newRow("runtime folder set") << true;
    QTest::newRow("no runtime folder") << false;
}

void TestStartup::guardPlantedByAnotherAccount()
{
    // Another account gets to the shared temporary folder first: a held lock
    // and a listening socket under every name the guard might look for there.
    QFETCH(bool, runtimeFolderSet);
    QTemporaryDir sharedTemp;
    QTemporaryDir runtime;
    QTemporaryDir cache;
    const QString user = qEnvironmentVariable("USER", "player");
    const QDir temp(sharedTemp.path());
    const QString takenFolder = temp.filePath(QStringLiteral("zwonky-%1").arg(::geteuid()));
    QVERIFY(temp.mkdir(QFileInfo(takenFolder).fileName()));

    QLockFile oldLock(temp.filePath("zwonky-" + user + ".lock"));
    QVERIFY(oldLock.tryLock(0));
    QLockFile takenLock(QDir(takenFolder).filePath("zwonky.lock"));
    QVERIFY(takenLock.tryLock(0));
    QLocalServer oldSocket;
    QVERIFY(oldSocket.listen(temp.filePath("zwonky-" + user)));
    QLocalServer takenSocket;
    QVERIFY(takenSocket.listen(QDir(takenFolder).filePath("zwonky.socket")));
    // Open to all, and owned by somebody else where the test may do that.
    QVERIFY(::chmod(QFile::encodeName(takenFolder).constData(), 0777) == 0);
    if (::geteuid() == 0)
        QVERIFY(::chown(QFile::encodeName(takenFolder).constData(), 65534, 65534) == 0);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TMPDIR", sharedTemp.path());
    environment.insert("XDG_CACHE_HOME", cache.path());
    if (runtimeFolderSet)
        environment.insert("XDG_RUNTIME_DIR", runtime.path());
    else
        environment.remove("XDG_RUNTIME_DIR");
    const QString ownFolder = runtimeFolderSet ? runtime.path() : QDir(cache.path()).filePath("zwonky-runtime");

    GameProcess game(environment);
    game.start();
    QVERIFY(game.process().waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(game.workFile("English")), 20000);
    QTRY_VERIFY_WITH_TIMEOUT(answers(PrevInstance(ownFolder).socketPath()), 20000);
    QCOMPARE(game.process().state(), QProcess::Running);
    // The planted sockets were never asked to raise anything.
    QVERIFY(!oldSocket.hasPendingConnections());
    QVERIFY(!takenSocket.hasPendingConnections());

    game.process().terminate();
    QVERIFY(game.process().waitForFinished(20000));
    QCOMPARE(game.process().exitCode(), 0);
    ::chmod(QFile::encodeName(takenFolder).constData(), 0700);
}

// The program's path to its main loop asks for unshaped Latin text once, on
// the application's font, and every window's fonts inherit it, the chat
// log's described family included.
void TestStartup::latinTextsAreNotShaped()
{
    const QFont before = QApplication::font();
    QTemporaryDir folder;
    ProgramRun run;
    run.guardFolder = folder.path();
    run.dataFolder = folder.path();
    run.gamePort = QStringLiteral("0");
    QFont logFont;
    QFont downloadFont;
    run.started = [&](ZwonkyApplication &game) {
        logFont = game.chat().findChild<QTextEdit *>(QStringLiteral("mainchat"))->font();
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (auto *pitch = window->findChild<QLabel *>(QStringLiteral("label_pitch"))) {
                pitch->ensurePolished();
                downloadFont = pitch->font();
            }
        }
        QTimer::singleShot(0, &game, [&game] { game.closeMainWindow(); });
    };
    const int exitCode = runProgram(run);
    const QFont programFont = QApplication::font();
    QApplication::setFont(before);

    QCOMPARE(exitCode, 0);
    QVERIFY(programFont.styleStrategy() & QFont::PreferNoShaping);
    QVERIFY(logFont.styleStrategy() & QFont::PreferNoShaping);
    QCOMPARE(logFont.family(), QStringLiteral("MS Sans Serif"));
    QVERIFY(downloadFont.styleStrategy() & QFont::PreferNoShaping);
    // A named face that is missing falls back as the windows' own type
    // does, so a size both use is set up and drawn once.
    QCOMPARE(logFont.styleHint(), programFont.styleHint());
}

// The main window gives the start one moment to finish loading the font
// configuration: after its controls that measure no text (the menus, the
// tray), before the first that does (the chat log).
void TestStartup::firstTextWaitsForTheStart()
{
    QTemporaryDir data;
    const auto made = [](const char *name) {
        const QList<QWidget *> widgets = QApplication::allWidgets();
        return std::any_of(widgets.begin(), widgets.end(), [name](const QWidget *widget) {
            return widget->objectName() == QLatin1String(name);
        });
    };
    int calls = 0;
    bool menusMade = false;
    bool logMade = true;
    ZwonkyApplication::Options options{{}, QStringLiteral("0"), data.path()};
    options.beforeText = [&] {
        ++calls;
        menusMade = made("MainMenu1");
        logMade = made("mainchat");
    };
    ZwonkyApplication app(std::move(options));
    QCOMPARE(calls, 1);
    QVERIFY(menusMade);
    QVERIFY(!logMade);
    QVERIFY(made("mainchat"));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
