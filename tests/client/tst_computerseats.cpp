// The host's computer players against a real server on loopback: they take
// the free playing seats like any joiner, tell the host when all are seated,
// go when removed, and one that finds every playing seat taken is dropped
// with a notice instead of sitting among the watchers.

#include "client/computerseats.h"
#include "server/serverform.h"
#include "session/clientsession.h"

#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

using namespace zwonky;

namespace {

constexpr int JoinTimeoutMs = 20000; // a busy machine

struct HostTable
{
    TServer server;
    QTimer serverTicks;
    ClientSession host;
    ComputerSeats computers;

    HostTable()
    {
        server.setClockManual(true);
        server.startListening(QStringLiteral("0"));
        QObject::connect(&serverTicks, &QTimer::timeout, &server, [this] { server.socktimerTimer(); });
        serverTicks.start(1);
        host.setPlayerName(QStringLiteral("You"));
        host.setHosting(true);
        host.setClockManual(true);
        computers.setPort(QString::number(server.listeningPort()));
        computers.setPaceScale(0);
    }

    bool hostSeated()
    {
        host.connectToHost(QStringLiteral("127.0.0.1"), QString::number(server.listeningPort()));
        // Logged in, not only given the seat: a login handled after the
        // computers connected would list their seats as nameless watchers.
        return QTest::qWaitFor([this] { return host.ownSeat() == 1 && host.players().row(1).seated; },
                               JoinTimeoutMs);
    }

    int seatedPlayers() const
    {
        int seated = 0;
        for (int seat = 1; seat <= 6; ++seat)
            seated += host.players().row(seat).seated ? 1 : 0;
        return seated;
    }
};

} // namespace

class TestComputerSeats : public QObject
{
    Q_OBJECT

private slots:
    void takeFreeSeatsAndGoWhenRemoved();
    void noComputerAmongTheWatchers();
};

void TestComputerSeats::takeFreeSeatsAndGoWhenRemoved()
{
    HostTable table;
    QVERIFY(table.hostSeated());

    bool seated = false;
    for (int level = 1; level <= 3; ++level)
        table.computers.add(level);
    table.computers.whenSeated([&seated] { seated = true; });
    QTRY_VERIFY_WITH_TIMEOUT(seated, JoinTimeoutMs);
    QCOMPARE(table.computers.count(), 3);
    QCOMPARE(table.computers.joining(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(table.seatedPlayers(), 4, JoinTimeoutMs);
    QCOMPARE(table.host.players().row(2).name, QStringLiteral("Ann (bot)"));
    QCOMPARE(table.host.players().row(4).name, QStringLiteral("Cy (bot)"));

    table.computers.removeAll();
    QCOMPARE(table.computers.count(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(table.seatedPlayers(), 1, JoinTimeoutMs);
    QVERIFY(table.host.players().row(1).seated);
}

void TestComputerSeats::noComputerAmongTheWatchers()
{
    HostTable table;
    QVERIFY(table.hostSeated());
    QSignalSpy notices(&table.computers, &ComputerSeats::notice);

    // Five playing seats are free; the sixth computer finds none.
    bool seated = false;
    for (int i = 0; i < 6; ++i)
        table.computers.add(1);
    table.computers.whenSeated([&seated] { seated = true; });
    QTRY_VERIFY_WITH_TIMEOUT(seated, JoinTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(table.computers.count(), 5, JoinTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(table.seatedPlayers(), 6, JoinTimeoutMs);
    QCOMPARE(notices.count(), 1);
    QVERIFY(notices.at(0).at(0).toString().contains(QStringLiteral("no computer player added")));
    // The dropped one left no watcher behind.
    QTRY_VERIFY_WITH_TIMEOUT(table.host.players().spectators().isEmpty(), JoinTimeoutMs);
}

QTEST_GUILESS_MAIN(TestComputerSeats)
#include "tst_computerseats.moc"
