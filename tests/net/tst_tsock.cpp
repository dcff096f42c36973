#include "net/tsock.h"
#include "net/zwonkyerror.h"

#include <QNetworkProxy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using namespace zwonky;

class TestTSock : public QObject
{
    Q_OBJECT
private slots:
    void acceptedConnectionCarriesListenerHandlers();
    void largeSendArrivesWholeAndInOrder();
    void everyCloseReportsSocketClosed();
    void peerCloseRaisesDisconnectThenClosed();
    void operationErrors();
    void peerThatStopsReadingIsDropped();
    void discardingConnectionKeepsNothing();
    void boundConnectionComesFromItsPort();
    void bindFailure();
    void portNames();
    void everyConnectionSendsWithoutDelay();
    void connectionsAreDirectWhateverTheProxy();
};

namespace {
struct Listener
{
    TSock sock;
    QList<TSock *> accepted;
    QByteArray received;
    Listener()
    {
        sock.setPortName("0");
        sock.onAccept = [this](TSock *l) {
            if (TSock *c = l->accept())
                accepted << c;
        };
        sock.onRead = [this](TSock *c) { received += c->receive(); };
        sock.setListen(true);
    }
};
} // namespace

void TestTSock::acceptedConnectionCarriesListenerHandlers()
{
    Listener listener;
    QVERIFY(listener.sock.isListening());
    QTcpSocket client;
    client.connectToHost("127.0.0.1", listener.sock.localPort());
    QTRY_COMPARE(listener.accepted.size(), 1);
    TSock *conn = listener.accepted.first();
    QVERIFY(conn->isConnected());
    QCOMPARE(conn->hostName(), QString("127.0.0.1"));
    QCOMPARE(conn->parent(), &listener.sock);
    // The listener's read handler is already in place on the new connection.
    client.write("CMD_chat+1+hi\xFF");
    QTRY_COMPARE(listener.received, QByteArray("CMD_chat+1+hi\xFF"));
}

void TestTSock::largeSendArrivesWholeAndInOrder()
{
    Listener listener;
    TSock client;
    client.setHostName("127.0.0.1");
    client.setPortName(QString::number(listener.sock.localPort()));
    client.open();
    QTRY_VERIFY(client.isConnected());
    QTRY_COMPARE(listener.accepted.size(), 1);
    // Far more than the kernel takes in one go; the component passes the rest on.
    QByteArray big;
    for (int i = 0; big.size() < 8 * 1024 * 1024; ++i)
        big += QByteArray::number(i) + '\xFF';
    client.sendText(big.left(1000));
    client.sendText(big.mid(1000));
    QTRY_COMPARE_WITH_TIMEOUT(listener.received.size(), big.size(), 20000);
    QCOMPARE(listener.received, big);
}

void TestTSock::everyCloseReportsSocketClosed()
{
    Listener listener;
    TSock client;
    QStringList infos;
    client.onInfo = [&](TSock *, int, const QString &text) { infos << text; };
    client.setHostName("127.0.0.1");
    client.setPortName(QString::number(listener.sock.localPort()));
    client.open();
    QTRY_VERIFY(client.isConnected());
    client.close();
    client.close();
    QCOMPARE(infos.count("Socket Closed"), 2);
    QVERIFY(!client.isConnected());
    // A listener's close is not a connection's: no report.
    QStringList listenerInfos;
    listener.sock.onInfo = [&](TSock *, int, const QString &text) { listenerInfos << text; };
    listener.sock.close();
    QVERIFY(!listener.sock.isListening());
    QVERIFY(!listenerInfos.contains("Socket Closed"));
}

void TestTSock::peerCloseRaisesDisconnectThenClosed()
{
    Listener listener;
    QStringList events;
    listener.sock.onDisconnect = [&](TSock *) { events << "disconnect"; };
    listener.sock.onInfo = [&](TSock *, int, const QString &text) {
        if (text == "Socket Closed")
            events << text;
    };
    auto *client = new QTcpSocket(this);
    client->connectToHost("127.0.0.1", listener.sock.localPort());
    QTRY_COMPARE(listener.accepted.size(), 1);
    client->write("last words\xFF");
    client->flush();
    client->disconnectFromHost();
    QTRY_COMPARE(events, (QStringList{"disconnect", "Socket Closed"}));
    // Data sent before the close still arrived.
    QCOMPARE(listener.received, QByteArray("last words\xFF"));
    // The server closes it once more on its disconnect handler: reported again.
    listener.accepted.first()->close();
    QCOMPARE(events.count("Socket Closed"), 2);
    delete client;
}

void TestTSock::operationErrors()
{
    TSock closed;
    try {
        closed.sendText("x");
        QFAIL("send on a closed socket must fail");
    } catch (const ZwonkyError &e) {
        QCOMPARE(e.text(), QString("Send - Socket Not Connected"));
    }
    try {
        closed.receive();
        QFAIL("receive on a closed socket must fail");
    } catch (const ZwonkyError &e) {
        QCOMPARE(e.text(), QString("Receive - Socket Not Connected"));
    }
    try {
        closed.accept();
        QFAIL("accept on a non-listener must fail");
    } catch (const ZwonkyError &e) {
        QCOMPARE(e.text(), QString("Accept - Socket Not In Listening Mode"));
    }
    Listener listener;
    try {
        listener.sock.sendText("x");
        QFAIL("send on a listener must fail");
    } catch (const ZwonkyError &e) {
        QCOMPARE(e.text(), QString("Send - Cannot Send On A Listener Socket"));
    }
}

void TestTSock::peerThatStopsReadingIsDropped()
{
    Listener listener;
    QTcpSocket reader;
    reader.connectToHost("127.0.0.1", listener.sock.localPort());
    QTRY_COMPARE(listener.accepted.size(), 1);
    QVERIFY(reader.waitForConnected(5000));
    reader.setReadBufferSize(1); // takes one byte and then nothing more
    TSock *conn = listener.accepted.first();
    constexpr qint64 limit = 64 * 1024;
    conn->setOutputLimit(limit);
    int closedReports = 0;
    bool sending = false;
    bool reportedWhileSending = false;
    conn->onInfo = [&](TSock *, int, const QString &text) {
        if (text == "Socket Closed") {
            ++closedReports;
            reportedWhileSending = reportedWhileSending || sending;
        }
    };

    // The kernel's buffers fill first; then the output waits here, up to the bound.
    const QByteArray chunk(16 * 1024, 'z');
    qint64 sent = 0;
    while (conn->isConnected() && sent < 256 * 1024 * 1024) {
        QVERIFY(conn->pendingOutput() <= limit);
        sending = true;
        conn->sendText(chunk);
        sending = false;
        sent += chunk.size();
        QCoreApplication::processEvents();
    }
    QVERIFY(!conn->isConnected());
    QCOMPARE(conn->pendingOutput(), qint64(0));
    // Reported once, from the event loop and not from inside the send.
    QTRY_COMPARE(closedReports, 1);
    QVERIFY(!reportedWhileSending);
    QVERIFY_THROWS_EXCEPTION(ZwonkyError, conn->sendText(chunk));
}

void TestTSock::discardingConnectionKeepsNothing()
{
    QTcpServer lobby;
    QVERIFY(lobby.listen(QHostAddress::LocalHost, 0));
    TSock link;
    int reads = 0;
    QStringList infos;
    link.onRead = [&](TSock *) { ++reads; };
    link.onInfo = [&](TSock *, int, const QString &text) { infos << text; };
    link.setDiscardInput(true);
    link.setHostName("127.0.0.1");
    link.setPortName(QString::number(lobby.serverPort()));
    link.open();
    QTRY_VERIFY(lobby.hasPendingConnections());
    QTcpSocket *peer = lobby.nextPendingConnection();
    QTRY_VERIFY(link.isConnected());

    // A stream far larger than anything the link should hold, then the close:
    // the close is seen only once everything before it has been taken.
    const QByteArray block(1024 * 1024, 'q');
    for (int i = 0; i < 8; ++i)
        peer->write(block);
    peer->disconnectFromHost();
    QTRY_VERIFY_WITH_TIMEOUT(infos.contains("Socket Closed"), 20000);
    QCOMPARE(reads, 0);
    // Nothing was kept: the input is empty, so a receive on the closed link fails.
    QVERIFY_THROWS_EXCEPTION(ZwonkyError, link.receive());
}

void TestTSock::boundConnectionComesFromItsPort()
{
    Listener listener;
    TSock client;
    const quint16 own = client.bindLocal();
    QVERIFY(own != 0);
    QCOMPARE(client.bindLocal(), own); // asking again changes nothing
    client.setHostName("127.0.0.1");
    client.setPortName(QString::number(listener.sock.localPort()));
    client.open();
    QTRY_COMPARE(listener.accepted.size(), 1);
    QCOMPARE(listener.accepted.first()->peerPort(), own);
    QTRY_VERIFY(client.isConnected());
    QVERIFY_THROWS_EXCEPTION(ZwonkyError, client.bindLocal());
}

void TestTSock::bindFailure()
{
    QTcpServer holder;
    QVERIFY(holder.listen(QHostAddress::Any, 0));
    TSock second;
    second.setPortName(QString::number(holder.serverPort()));
    try {
        second.setListen(true);
        QFAIL("binding a taken port must fail");
    } catch (const ZwonkyError &e) {
        QCOMPARE(e.text(), QString("Listen - Error Binding Socket"));
    }
    QVERIFY(!second.isListening());
}

void TestTSock::portNames()
{
    QCOMPARE(TSock::resolvePort("7772"), quint16(7772));
    QCOMPARE(TSock::resolvePort("http"), quint16(80));
    QVERIFY_THROWS_EXCEPTION(ZwonkyError, TSock::resolvePort("no-such-service-here"));
    QVERIFY_THROWS_EXCEPTION(ZwonkyError, TSock::resolvePort("99999"));
}

// Small messages leave at once on both ends (no wait for the ACK of the one
// before), whether the connection was opened plainly, from a bound port, or
// accepted by the listener.
void TestTSock::everyConnectionSendsWithoutDelay()
{
    Listener listener;
    TSock plain;
    TSock bound;
    bound.bindLocal();
    for (TSock *client : {&plain, &bound}) {
        client->setHostName("127.0.0.1");
        client->setPortName(QString::number(listener.sock.localPort()));
        client->open();
        QTRY_VERIFY(client->isConnected());
    }
    QTRY_COMPARE(listener.accepted.size(), 2);
    const QList<TSock *> ends{&plain, &bound, listener.accepted[0], listener.accepted[1]};
    for (TSock *end : ends) {
        auto *socket = end->findChild<QTcpSocket *>();
        QVERIFY(socket);
        QCOMPARE(socket->socketOption(QAbstractSocket::LowDelayOption).toInt(), 1);
    }
}

// Game connections never go through a proxy: with the application's proxy
// pointing at a SOCKS server that is not there, a listener still listens and
// a client still reaches it.
void TestTSock::connectionsAreDirectWhateverTheProxy()
{
    QTcpServer gone;
    QVERIFY(gone.listen(QHostAddress::LocalHost, 0));
    const quint16 nowhere = gone.serverPort();
    gone.close();
    const QNetworkProxy before = QNetworkProxy::applicationProxy();
    QNetworkProxy::setApplicationProxy(
        QNetworkProxy(QNetworkProxy::Socks5Proxy, QStringLiteral("127.0.0.1"), nowhere));
    struct Restore
    {
        QNetworkProxy proxy;
        ~Restore() { QNetworkProxy::setApplicationProxy(proxy); }
    } restore{before};

    Listener listener;
    QVERIFY(listener.sock.isListening());
    TSock client;
    client.bindLocal();
    client.setHostName(QStringLiteral("127.0.0.1"));
    client.setPortName(QString::number(listener.sock.localPort()));
    client.open();
    QTRY_COMPARE(listener.accepted.size(), 1);
    QTRY_VERIFY(client.isConnected());
    client.sendText(QByteArray("CMD_chat+1+direct\xFF"));
    QTRY_COMPARE(listener.received, QByteArray("CMD_chat+1+direct\xFF"));
}

QTEST_GUILESS_MAIN(TestTSock)
#include "tst_tsock.moc"
