// Connections that come and go by the thousand, some of them logging in and
// chatting, must not make the host grow: the memory is read from /proc as
// the system counts it.

#include "serverharness.h"

#include <QFile>

using namespace zwonky;
using namespace zwonky::testing;

namespace {

// The process's anonymous resident memory (heap and the like), in KiB.
qint64 anonymousKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("RssAnon:"))
            return line.mid(8).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

} // namespace

class TestConnectionChurn : public QObject
{
    Q_OBJECT
private slots:
    void hostStaysFlatUnderConnectionChurn();

private:
    // One visitor: connects, takes the seat offer, every third one logs in
    // and chats, then leaves; true once the server has freed the seat.
    bool visit(Table &table, int number);
};

bool TestConnectionChurn::visit(Table &table, int number)
{
    RawClient *visitor = table.arrive();
    if (!visitor)
        return false;
    if (number % 3 == 0) {
        visitor->name = QStringLiteral("Visitor%1").arg(number);
        const QByteArray relay = protocol::chatRelay(visitor->name, QStringLiteral("hello|clBlack"));
        if (!table.send(visitor, protocol::loginInfo(visitor->seat, "1.0.7", visitor->name))
            || !table.send(visitor, protocol::chat(visitor->seat, "hello", "clBlack"))
            || !waitUntil([&] { return visitor->received.endsWith(relay); }))
            return false;
    }
    const int seat = visitor->seat;
    visitor->socket.disconnectFromHost();
    table.clients.pop_back();
    return waitUntil([&] { return !table.server.player(seat).open; });
}

void TestConnectionChurn::hostStaysFlatUnderConnectionChurn()
{
    Table table;
    RawClient *host = table.join("Host");
    QVERIFY(host);
    // Warm up first: the first connections bring allocations that stay for
    // good (the network layer's own tables, the heap's first arenas).
    constexpr int WarmUp = 300;
    constexpr int Measured = 2500;
    for (int i = 1; i <= WarmUp; ++i)
        QVERIFY2(visit(table, i), qPrintable(QStringLiteral("visitor %1").arg(i)));
    const qint64 before = anonymousKiB();
    QVERIFY(before > 0);
    for (int i = WarmUp + 1; i <= WarmUp + Measured; ++i)
        QVERIFY2(visit(table, i), qPrintable(QStringLiteral("visitor %1").arg(i)));
    const qint64 after = anonymousKiB();
    // A closed connection that lingers with its socket and buffers until a
    // timer lets it go makes this grow by about 20 MiB; a host that lets
    // each one go as soon as nothing more can leave stays well under 1 MiB.
    const qint64 grownKiB = after - before;
    qInfo("anonymous memory: %lld KiB after %d visitors, %lld KiB after %d more", before, WarmUp,
          after, Measured);
    QVERIFY2(grownKiB < 4 * 1024, qPrintable(QStringLiteral("grew by %1 KiB").arg(grownKiB)));
    QVERIFY(!host->isClosed());
}

QTEST_GUILESS_MAIN(TestConnectionChurn)
#include "tst_connectionchurn.moc"
