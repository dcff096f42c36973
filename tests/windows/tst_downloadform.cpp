#include "windows/downloadform.h"

#include "dialogfakes.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStyle>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

using zwonky::Tdownload;

namespace {

// A one-connection HTTP server the test drives by hand: it records the
// request and sends whatever bytes the test hands it, when it says so.
class HttpPeer : public QObject
{
public:
    HttpPeer()
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            m_client = m_server.nextPendingConnection();
            ++m_connections;
            connect(m_client, &QTcpSocket::readyRead, this,
                    [this] { m_request += m_client->readAll(); });
        });
    }

    quint16 listen()
    {
        return m_server.listen(QHostAddress::LocalHost, 0) ? m_server.serverPort() : 0;
    }
    bool hasRequest() const { return m_request.contains("\r\n\r\n"); }
    QByteArray request() const { return m_request; }
    int connections() const { return m_connections; }
    void send(const QByteArray &bytes)
    {
        m_client->write(bytes);
        m_client->flush();
    }
    void hangUp() { m_client->disconnectFromHost(); }

private:
    QTcpServer m_server;
    QPointer<QTcpSocket> m_client;
    QByteArray m_request;
    int m_connections = 0;
};

QByteArray okHeader(int length)
{
    return "HTTP/1.1 200 OK\r\n"
           "Content-Type: application/octet-stream\r\n"
           "Content-Length: "
           + QByteArray::number(length)
           + "\r\n"
             "Connection: close\r\n"
             "\r\n";
}

using Status = QPair<QString, QString>;

struct Started {
    QString program;
    QStringList arguments;
};

// One window wired to a temporary folder and recording fakes.
struct Rig {
    Tdownload window;
    QTemporaryDir folder;
    QList<Status> statuses;
    QList<Started> started;
    zwonky::testing::RecordingMessageBox messenger;
    bool startSucceeds = true;
    QSignalSpy exits{&window, &Tdownload::exitRequested};

    Rig()
    {
        // Its controls, as a player who sees the window finds them.
        window.ensureBuilt();
        window.setDownloadFolder(folder.path());
        window.setLobbyPath(folder.filePath(QStringLiteral("no-lobby-here")));
        window.setProcessStarter([this](const QString &program, const QStringList &arguments) {
            started.append({program, arguments});
            return startSucceeds;
        });
        window.setMessenger(messenger.show());
        QObject::connect(&window, &Tdownload::statusShown,
                         [this](const QString &label, const QString &text) {
                             statuses.append({label, text});
                         });
    }
    QString text(const char *label) const
    {
        return window.findChild<QLabel *>(QLatin1String(label))->text();
    }
    QPushButton *button(const char *name) const
    {
        return window.findChild<QPushButton *>(QLatin1String(name));
    }
    QStringList files() const { return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden); }
    void pointAt(quint16 port)
    {
        window.setDownloadAddress(
            QUrl(QStringLiteral("http://127.0.0.1:%1/downloads/PellixLobbySetup.run").arg(port)));
    }
};

} // namespace

class TestDownloadForm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void windowTexts();
    void downloadInPiecesSavesAndStartsInstaller();
    void failedDownloadStartsNothing_data();
    void failedDownloadStartsNothing();
    void stopDuringTransfer_data();
    void stopDuringTransfer();
    void installerThatCannotStart();
    void installerFileName_data();
    void installerFileName();
    void addressWithoutFileName();
    void downloadFolderFallsBackToPerUserFolder();
    void playWithOthers_data();
    void playWithOthers();
    void playWithOthersPrefersTheLobbyBesideTheGame_data();
    void playWithOthersPrefersTheLobbyBesideTheGame();
    void playSoloOnlyCloses();
    void messageBoxKeepsTheDesktopLook();
    void lookWithoutStyleSheet();
};

void TestDownloadForm::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestDownloadForm::windowTexts()
{
    {
        // A game that never shows the window makes none of its controls;
        // the first show makes them all.
        Tdownload unseen;
        QVERIFY(unseen.findChildren<QWidget *>().isEmpty());
        QVERIFY(!unseen.isDownloading());
        unseen.show();
        QVERIFY(unseen.findChild<QPushButton *>(QStringLiteral("getbutton")));
    }
    {
        // A picture decoded ahead (a solo start's) is the one shown.
        Tdownload ahead;
        QImage given(320, 200, QImage::Format_RGB32);
        given.fill(Qt::darkCyan);
        ahead.setAdvertSource([given] { return given; });
        ahead.ensureBuilt();
        const QImage shown =
            ahead.findChild<QLabel *>(QStringLiteral("image_lobby"))->pixmap().toImage();
        QCOMPARE(shown.convertToFormat(given.format()), given);
    }
    Rig rig;
    QCOMPARE(rig.window.windowTitle(), QStringLiteral("Download The Pellix Lobby"));
    QVERIFY(rig.window.windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(rig.button("getbutton")->text(),
             QStringLiteral("Download And Install The Pellix Lobby Now"));
    QCOMPARE(rig.button("abortbutton")->text(), QStringLiteral("Stop Download"));
    QVERIFY(!rig.button("abortbutton")->isEnabled());
    QCOMPARE(rig.button("Button1")->text(), QStringLiteral("Play Solo Game"));
    QCOMPARE(rig.button("Button2")->text(), QStringLiteral("Play with Others"));
    QCOMPARE(rig.text("label_pitch"),
             QStringLiteral("Download The Pellix Lobby Now to play this  and other exciting "
                            "games online with other players!"));
    QCOMPARE(rig.text("label_isclosed"), QStringLiteral("IS CLOSED"));
    const QImage lobby = Tdownload::advertPicture();
    QVERIFY(!lobby.isNull());
    QCOMPARE(rig.window.findChild<QLabel *>(QStringLiteral("image_lobby"))->pixmap().toImage(),
             QPixmap::fromImage(lobby).toImage());
    QVERIFY(Tdownload::defaultDownloadAddress().scheme() == QLatin1String("https"));
    QCOMPARE(Tdownload::defaultLobbyPath(), QStringLiteral("/opt/pellix/PellixLobby"));
}

void TestDownloadForm::downloadInPiecesSavesAndStartsInstaller()
{
    Rig rig;
    HttpPeer peer;
    rig.pointAt(peer.listen());
    const QString target = rig.folder.filePath(QStringLiteral("PellixLobbySetup.run"));
    {
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an older installer that is much longer than the new one");
        // Shared with the group: the new file keeps the old one's rights.
        QVERIFY(old.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                   | QFileDevice::ReadGroup | QFileDevice::WriteGroup
                                   | QFileDevice::ReadOther));
    }

    QTest::mouseClick(rig.button("getbutton"), Qt::LeftButton);
    QCOMPARE(rig.window.downloadState(), int(Tdownload::Running));
    QVERIFY(!rig.button("getbutton")->isEnabled());
    QVERIFY(rig.button("abortbutton")->isEnabled());
    QCOMPARE(rig.text("infolabel2"), QStringLiteral("PellixLobbySetup.run"));

    QTRY_VERIFY(peer.hasRequest());
    const QByteArray request = peer.request();
    QVERIFY(request.startsWith("GET /downloads/PellixLobbySetup.run HTTP/1."));
    QVERIFY(request.contains("\r\nUser-Agent: Mozilla/3.0 (compatible)\r\n"));
    QVERIFY(request.contains(
        "\r\nAccept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*\r\n"));

    peer.send(okHeader(12));
    QTRY_COMPARE(rig.text("infolabel3"), QStringLiteral("Downloading: PellixLobbySetup.run"));
    peer.send("ABCD");
    QTRY_COMPARE(rig.text("infolabel"), QStringLiteral("4 bytes"));
    peer.send("EFGH");
    QTRY_COMPARE(rig.text("infolabel"), QStringLiteral("8 bytes"));
    peer.send("IJKL");
    QTRY_COMPARE(rig.exits.count(), 1);

    const QList<Status> expected = {
        {"infolabel3", ""},
        {"infolabel", "Loading"},
        {"infolabel", "Loading."},
        {"infolabel", "Loading.."},
        {"infolabel", "Loading..."},
        {"infolabel3", "Downloading: PellixLobbySetup.run"},
        {"infolabel", "4 bytes"},
        {"infolabel", "8 bytes"},
        {"infolabel", "12 bytes"},
        {"infolabel", "Received 12 bytes"},
        {"infolabel3", "Installing"},
    };
    QCOMPARE(rig.statuses, expected);

    QFile saved(target);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), QByteArray("ABCDEFGHIJKL"));
    // Runnable by its owner only, and changeable by nobody else.
    QCOMPARE(saved.permissions() & ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser),
             QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                 | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    QCOMPARE(rig.files(), QStringList{QStringLiteral("PellixLobbySetup.run")});

    QCOMPARE(rig.started.size(), 1);
    QCOMPARE(rig.started[0].program, target);
    QCOMPARE(rig.started[0].arguments,
             (QStringList{QStringLiteral("/SP-"), QStringLiteral("/silent"),
                          QStringLiteral("/noicons")}));
    QVERIFY(rig.messenger.texts.isEmpty());
    QVERIFY(rig.button("getbutton")->isEnabled());
    QVERIFY(!rig.button("abortbutton")->isEnabled());
    QCOMPARE(rig.window.downloadState(), int(Tdownload::Running));
}

void TestDownloadForm::failedDownloadStartsNothing_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("oldFile");
    QTest::newRow("stops halfway") << "halfway" << false;
    QTest::newRow("stops halfway, older installer kept") << "halfway" << true;
    QTest::newRow("not found") << "404" << false;
    QTest::newRow("connection refused") << "refused" << false;
    QTest::newRow("host unknown") << "unknown" << false;
}

void TestDownloadForm::failedDownloadStartsNothing()
{
    QFETCH(QString, how);
    QFETCH(bool, oldFile);
    Rig rig;
    HttpPeer peer;
    const quint16 port = peer.listen();
    if (how == QLatin1String("refused")) {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
        rig.pointAt(closed.serverPort());
    } else if (how == QLatin1String("unknown")) {
        rig.window.setDownloadAddress(
            QUrl(QStringLiteral("http://no-such-host.invalid/downloads/PellixLobbySetup.run")));
    } else {
        rig.pointAt(port);
    }
    if (oldFile) {
        QFile old(rig.folder.filePath(QStringLiteral("PellixLobbySetup.run")));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("older installer");
    }

    QTest::mouseClick(rig.button("getbutton"), Qt::LeftButton);
    if (how == QLatin1String("halfway")) {
        QTRY_VERIFY(peer.hasRequest());
        peer.send(okHeader(12) + "ABCDEF");
        QTRY_COMPARE(rig.text("infolabel"), QStringLiteral("6 bytes"));
        peer.hangUp();
    } else if (how == QLatin1String("404")) {
        QTRY_VERIFY(peer.hasRequest());
        peer.send("HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\nConnection: close\r\n\r\n"
                  "not found");
    }

    // A name lookup may take the resolver's own time to fail.
    QTRY_COMPARE_WITH_TIMEOUT(rig.text("infolabel"), QStringLiteral("Download Aborted"), 60000);
    QCOMPARE(rig.window.downloadState(), int(Tdownload::Aborted));
    QVERIFY(rig.button("getbutton")->isEnabled());
    QVERIFY(!rig.button("abortbutton")->isEnabled());
    QVERIFY(rig.started.isEmpty());
    QCOMPARE(rig.exits.count(), 0);
    QVERIFY(rig.text("infolabel3") != QLatin1String("Installing"));
    if (oldFile) {
        QFile old(rig.folder.filePath(QStringLiteral("PellixLobbySetup.run")));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("older installer"));
        QCOMPARE(rig.files(), QStringList{QStringLiteral("PellixLobbySetup.run")});
    } else {
        QCOMPARE(rig.files(), QStringList());
    }
}

void TestDownloadForm::stopDuringTransfer_data()
{
    QTest::addColumn<bool>("byClosingWindow");
    QTest::newRow("Stop Download") << false;
    QTest::newRow("window closed") << true;
}

void TestDownloadForm::stopDuringTransfer()
{
    QFETCH(bool, byClosingWindow);
    Rig rig;
    HttpPeer peer;
    rig.pointAt(peer.listen());
    rig.window.show();

    QTest::mouseClick(rig.button("getbutton"), Qt::LeftButton);
    QTRY_VERIFY(peer.hasRequest());
    peer.send(okHeader(1000) + QByteArray(400, 'x'));
    QTRY_COMPARE(rig.text("infolabel"), QStringLiteral("400 bytes"));
    rig.statuses.clear();

    if (byClosingWindow)
        QTest::mouseClick(rig.button("Button1"), Qt::LeftButton);
    else
        QTest::mouseClick(rig.button("abortbutton"), Qt::LeftButton);

    QTRY_COMPARE(rig.text("infolabel"), QStringLiteral("Download Aborted"));
    QCOMPARE(rig.text("infolabel3"), QStringLiteral("Download Aborted"));
    const QList<Status> expected = {
        {"infolabel", "Download has been aborted."},
        {"infolabel3", "Download Aborted"},
        {"infolabel", "Download Aborted"},
    };
    QCOMPARE(rig.statuses, expected);
    QCOMPARE(rig.window.downloadState(), int(Tdownload::Aborted));
    QVERIFY(rig.button("getbutton")->isEnabled());
    QVERIFY(!rig.button("abortbutton")->isEnabled());
    QVERIFY(!rig.window.isDownloading());
    QVERIFY(rig.started.isEmpty());
    QCOMPARE(rig.exits.count(), 0);
    QCOMPARE(rig.files(), QStringList());
}

void TestDownloadForm::installerThatCannotStart()
{
    Rig rig;
    rig.startSucceeds = false;
    HttpPeer peer;
    rig.pointAt(peer.listen());

    QTest::mouseClick(rig.button("getbutton"), Qt::LeftButton);
    QTRY_VERIFY(peer.hasRequest());
    peer.send(okHeader(5) + "12345");
    QTRY_COMPARE(rig.messenger.texts, QStringList{QStringLiteral("An Error has Occurred.")});
    QCOMPARE(rig.text("infolabel"), QStringLiteral("Received 5 bytes"));
    QCOMPARE(rig.text("infolabel3"), QStringLiteral("Installing"));
    QCOMPARE(rig.started.size(), 1);
    QCOMPARE(rig.exits.count(), 0);
    QVERIFY(rig.button("getbutton")->isEnabled());
}

void TestDownloadForm::installerFileName_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("name");
    QTest::newRow("path") << "https://example.net/a/b/PellixLobbySetup.run"
                          << "PellixLobbySetup.run";
    QTest::newRow("top level") << "http://127.0.0.1:80/setup.bin" << "setup.bin";
    QTest::newRow("query dropped") << "https://example.net/get/Setup.run?from=game" << "Setup.run";
    QTest::newRow("folder only") << "https://example.net/downloads/" << "";
    QTest::newRow("no path") << "https://example.net" << "";
}

void TestDownloadForm::installerFileName()
{
    QFETCH(QString, address);
    QFETCH(QString, name);
    QCOMPARE(Tdownload::installerFileName(QUrl(address)), name);
}

void TestDownloadForm::addressWithoutFileName()
{
    Rig rig;
    HttpPeer peer;
    const quint16 port = peer.listen();
    rig.window.setDownloadAddress(QUrl(QStringLiteral("http://127.0.0.1:%1/downloads/").arg(port)));
    QTest::mouseClick(rig.button("getbutton"), Qt::LeftButton);
    QCOMPARE(rig.text("infolabel"), QStringLiteral("Download Aborted"));
    QVERIFY(rig.button("getbutton")->isEnabled());
    QCOMPARE(peer.connections(), 0);
    QVERIFY(rig.started.isEmpty());
    QCOMPARE(rig.files(), QStringList());
}

void TestDownloadForm::downloadFolderFallsBackToPerUserFolder()
{
    QTemporaryDir programFolder;
    QCOMPARE(Tdownload::chooseDownloadFolder(programFolder.path()),
             QFileInfo(programFolder.path()).absoluteFilePath());
    const QString perUser = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QCOMPARE(Tdownload::chooseDownloadFolder(programFolder.filePath(QStringLiteral("gone"))),
             perUser);
    QVERIFY(QFileInfo(perUser).isDir());
}

void TestDownloadForm::playWithOthers_data()
{
    QTest::addColumn<bool>("installed");
    QTest::newRow("lobby installed") << true;
    QTest::newRow("no lobby") << false;
}

void TestDownloadForm::playWithOthers()
{
    QFETCH(bool, installed);
    Rig rig;
    const QString lobby = rig.folder.filePath(QStringLiteral("PellixLobby"));
    rig.window.setLobbyPath(lobby);
    if (installed) {
        QFile program(lobby);
        QVERIFY(program.open(QIODevice::WriteOnly));
    }
    rig.window.show();

    QTest::mouseClick(rig.button("Button2"), Qt::LeftButton);
    if (installed) {
        QCOMPARE(rig.started.size(), 1);
        QCOMPARE(rig.started[0].program, lobby);
        QCOMPARE(rig.exits.count(), 1);
        QVERIFY(rig.messenger.texts.isEmpty());
    } else {
        QVERIFY(rig.started.isEmpty());
        QCOMPARE(rig.exits.count(), 0);
        QCOMPARE(rig.messenger.texts,
                 QStringList{QStringLiteral(
                     "Please close the game and open the Pellix Lobby using the icon on your "
                     "desktop or using the your Window's start-up menu.")});
        QVERIFY(rig.window.isVisible());
    }
}

void TestDownloadForm::playWithOthersPrefersTheLobbyBesideTheGame_data()
{
    QTest::addColumn<bool>("beside");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<QString>("expected"); // file name started, empty = none
    QTest::newRow("both") << true << true << "zwonky-lobby";
    QTest::newRow("beside only") << true << false << "zwonky-lobby";
    QTest::newRow("installed only") << false << true << "PellixLobby";
    QTest::newRow("neither") << false << false << "";
}

void TestDownloadForm::playWithOthersPrefersTheLobbyBesideTheGame()
{
    QFETCH(bool, beside);
    QFETCH(bool, installed);
    QFETCH(QString, expected);
    Rig rig;
    QTemporaryDir fixed;
    const QStringList defaults = Tdownload::defaultLobbyPaths(rig.folder.path());
    QCOMPARE(defaults, (QStringList{rig.folder.filePath("zwonky-lobby"), "/opt/pellix/PellixLobby"}));
    const QString fixedLobby = fixed.filePath(QStringLiteral("PellixLobby"));
    rig.window.setLobbyPaths({defaults.first(), fixedLobby});
    if (beside)
        QVERIFY(QFile(defaults.first()).open(QIODevice::WriteOnly));
    if (installed)
        QVERIFY(QFile(fixedLobby).open(QIODevice::WriteOnly));

    rig.window.show();
    QTest::mouseClick(rig.button("Button2"), Qt::LeftButton);
    if (expected.isEmpty()) {
        QVERIFY(rig.started.isEmpty());
        QCOMPARE(rig.messenger.texts.size(), 1);
        QCOMPARE(rig.exits.count(), 0);
        return;
    }
    QCOMPARE(rig.started.size(), 1);
    QCOMPARE(QFileInfo(rig.started[0].program).fileName(), expected);
    QVERIFY(rig.started[0].arguments.isEmpty());
    QCOMPARE(rig.exits.count(), 1);
}

void TestDownloadForm::playSoloOnlyCloses()
{
    Rig rig;
    rig.window.show();
    QVERIFY(rig.window.isVisible());
    QTest::mouseClick(rig.button("Button1"), Qt::LeftButton);
    QVERIFY(!rig.window.isVisible());
    QCOMPARE(rig.exits.count(), 0);
    QVERIFY(rig.started.isEmpty());
    QVERIFY(rig.messenger.texts.isEmpty());
    QVERIFY(rig.statuses.isEmpty());
}

void TestDownloadForm::messageBoxKeepsTheDesktopLook()
{
    Rig rig;
    rig.window.setMessenger({}); // the real message box
    rig.window.show();
    QTest::mouseClick(rig.button("Button2"), Qt::LeftButton);
    QMessageBox *box = nullptr;
    QTRY_VERIFY((box = rig.window.findChild<QMessageBox *>()) && box->isVisible());
    QPushButton *ok = box->findChild<QPushButton *>();
    QVERIFY(ok);
    ok->ensurePolished();
    // The window's white button text is not put on the box's plain button.
    const QPalette plain = QApplication::palette(ok);
    QCOMPARE(ok->palette().color(QPalette::ButtonText), plain.color(QPalette::ButtonText));
    QCOMPARE(ok->palette().color(QPalette::Button), plain.color(QPalette::Button));
    box->close();
}

// The window draws its sky, panels, badge and buttons itself: no control
// runs under the style sheet engine, and the look is still there.
void TestDownloadForm::lookWithoutStyleSheet()
{
    Rig rig;
    rig.window.ensurePolished();
    for (QWidget *control : rig.window.findChildren<QWidget *>())
        QVERIFY2(!control->style()->inherits("QStyleSheetStyle"), qPrintable(control->objectName()));

    const QImage window = rig.window.grab().toImage();
    auto colourAt = [&](const QWidget *widget, QPoint at) {
        return QColor(window.pixel(widget->mapTo(&rig.window, at)));
    };
    // The sky at the top left, a white panel, the red badge with a white edge.
    QVERIFY(QColor(window.pixel(2, 2)).blue() > 0x40 && QColor(window.pixel(2, 2)).red() < 0x30);
    auto *panel = rig.window.findChild<QWidget *>(QStringLiteral("panel_solo"));
    QVERIFY(panel);
    QCOMPARE(colourAt(panel, QPoint(panel->width() / 2, panel->height() - 4)), QColor(Qt::white));
    auto *badge = rig.window.findChild<QLabel *>(QStringLiteral("label_isclosed"));
    QVERIFY(badge);
    QCOMPARE(colourAt(badge, QPoint(4, badge->height() / 2)), QColor(0xc6, 0x28, 0x28));
    QCOMPARE(colourAt(badge, QPoint(1, badge->height() / 2)), QColor(Qt::white));
    QCOMPARE(badge->palette().color(QPalette::WindowText), QColor(Qt::white));
    QCOMPARE(rig.window.findChild<QLabel *>(QStringLiteral("label_solo"))->palette().color(QPalette::WindowText),
             QColor(0x1b, 0x2a, 0x4e));
}

QTEST_MAIN(TestDownloadForm)
#include "tst_downloadform.moc"
