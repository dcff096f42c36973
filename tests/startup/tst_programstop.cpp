// How the program stops under load: a joiner whose host floods it with the
// longest chat lines keeps pace with the host and ends at once on SIGTERM,
// whatever is queued; a stop by signal waits on no box, not even the one
// for a tally that cannot be written.

#include "gamewire.h"
#include "privatenetwork.h"

#include "net/protocol.h"
#include "startup/programrun.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>

using namespace zwonky;

class TestProgramStop : public QObject
{
    Q_OBJECT
private slots:
    void joinerFedLongLinesKeepsPaceAndStops();
    void termWaitsForNoBoxWhenTheTallyCannotBeWritten();
};

void TestProgramStop::joinerFedLongLinesKeepsPaceAndStops()
{
    // The program joins on the game's own port: in a network of this test's
    // own, so that no other game on the machine is met.
    testkit::PrivateNetwork network;
    if (!network.enter())
        QSKIP(qPrintable(network.reason()));
    QTcpServer host;
    QVERIFY(host.listen(QHostAddress::LocalHost, 7772));
    QTemporaryDir work;
    QProcess joiner;
    joiner.setWorkingDirectory(work.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), work.path()); // its own guard
    joiner.setProcessEnvironment(environment);
    joiner.start(QStringLiteral(ZWONKY_BINARY), {"Bo", "127.0.0.1", "false"});
    QVERIFY(joiner.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(host.hasPendingConnections(), 30000);
    QTcpSocket *peer = host.nextPendingConnection();
    peer->write(testing::wire("CMD_sendlogininfo+2"));
    QByteArray login;
    QTRY_VERIFY_WITH_TIMEOUT((login += peer->readAll()).contains("CMD_logininfo+2+"), 30000);

    // 400 lines of 64 KB, one word each: taking them cost the joiner about
    // 0.1 s a line, so the host's sends waited about 40 s in all.
    const QByteArray line = protocol::chatRelay(QStringLiteral("Ann"),
                                                QString(64000, QLatin1Char('w')) + QStringLiteral("|clBlack"));
    constexpr int Lines = 400;
    QElapsedTimer sending;
    sending.start();
    for (int i = 0; i < Lines; ++i)
        peer->write(line);
    QTRY_VERIFY_WITH_TIMEOUT(peer->bytesToWrite() == 0, 15000);
    qInfo("400 lines of 64 KB taken by the joiner in %lld ms", sending.elapsed());

    // As many again, and the stop while they are taken.
    for (int i = 0; i < Lines; ++i)
        peer->write(line);
    QTRY_VERIFY_WITH_TIMEOUT(peer->bytesToWrite() < qint64(Lines - 60) * line.size(), 30000);
    QCOMPARE(joiner.state(), QProcess::Running);
    QElapsedTimer stopping;
    stopping.start();
    joiner.terminate();
    QTRY_VERIFY_WITH_TIMEOUT(joiner.state() == QProcess::NotRunning, 10000);
    qInfo("ended %lld ms after SIGTERM", stopping.elapsed());
    // The ordinary way out, not the deadline's (exit status 143).
    QCOMPARE(joiner.exitStatus(), QProcess::NormalExit);
    QCOMPARE(joiner.exitCode(), 0);
}

void TestProgramStop::termWaitsForNoBoxWhenTheTallyCannotBeWritten()
{
    QTemporaryDir folder;
    ProgramRun run;
    run.guardFolder = folder.path();
    run.dataFolder = folder.path();
    run.gamePort = QStringLiteral("0");
    run.started = [&folder](ZwonkyApplication &) {
        // A folder where the tally goes: writing it fails on the way out.
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("zwonkytally.tld")));
        // Once the main loop runs, after the start's own look for a stop.
        QTimer::singleShot(0, [] { QTimer::singleShot(0, [] { ::raise(SIGTERM); }); });
    };
    // A box that waits for a click is closed here, and noted.
    QString waitedOn;
    QTimer boxes;
    connect(&boxes, &QTimer::timeout, this, [&waitedOn] {
        if (QWidget *box = QApplication::activeModalWidget()) {
            waitedOn = box->windowTitle();
            box->close();
        }
    });
    boxes.start(500);
    QElapsedTimer stopping;
    stopping.start();
    QCOMPARE(runProgram(run), 0);
    QVERIFY2(waitedOn.isEmpty(), qPrintable(waitedOn));
    QVERIFY(stopping.elapsed() < 10000);
}

QTEST_MAIN(TestProgramStop)
#include "tst_programstop.moc"
