#include "client/chatform.h"
#include "server/serverform.h"
#include "startup/application.h"
#include "startup/previnst.h"

#include <QCheckBox>
#include <QDir>
#include <QLocalSocket>
#include <QMessageBox>
#include <QPushButton>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

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
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *box = w->findChild<QCheckBox *>("fast"))
                return box;
        return nullptr;
    }();
    QVERIFY(fast);
    QCOMPARE(!fast->isHidden(), fastVisible);
}

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
    QTemporaryDir firstDir;
    QTemporaryDir secondDir;
    QProcess first;
    first.setWorkingDirectory(firstDir.path());
    first.start(ZWONKY_BINARY, {"Guard"});
    QVERIFY(first.waitForStarted());
    // The first instance is up once its guard answers and its word list is out.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(firstDir.filePath("English")), 20000);
    QTRY_VERIFY_WITH_TIMEOUT(
        [] {
            QLocalSocket probe;
            probe.connectToServer(PrevInstance::defaultKey());
            return probe.waitForConnected(200);
        }(),
        20000);

    QProcess second;
    second.setWorkingDirectory(secondDir.path());
    second.start(ZWONKY_BINARY, {"Guard"});
    QVERIFY(second.waitForFinished(20000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    // It ended before creating any window: no server, so no word list file.
    QVERIFY(!QFile::exists(secondDir.filePath("English")));
    QCOMPARE(first.state(), QProcess::Running);

    // SIGTERM closes the main window like File > Exit: a normal exit that
    // removes the working word list on the way out.
    first.terminate();
    QVERIFY(first.waitForFinished(20000));
    QCOMPARE(first.exitStatus(), QProcess::NormalExit);
    QCOMPARE(first.exitCode(), 0);
    QVERIFY(!QFile::exists(firstDir.filePath("English")));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
