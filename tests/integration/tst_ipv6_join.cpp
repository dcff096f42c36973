// A real host reached over IPv6: the host's server listens on both stacks,
// its own client still comes in over 127.0.0.1 (arriving as a mapped
// address) and keeps seat 1, and joiners typing "::1" or "[::1]" sit down.

#include "server/serverform.h"
#include "session/clientsession.h"

#include <QHostAddress>
#include <QRandomGenerator>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace zwonky;

class TestIpv6Join : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void joinersOverIpv6SitBesideTheHost();
    void ipv6PeerOnTheHostsPortNumberIsNoHost();

private:
    bool m_haveIpv6 = false;
};

void TestIpv6Join::init()
{
    QTcpSocket probe;
    m_haveIpv6 = probe.bind(QHostAddress::LocalHostIPv6, 0);
    if (!m_haveIpv6)
        QSKIP("::1 is not available on this machine");
}

namespace {

struct Host
{
    QRandomGenerator random{7};
    TServer server;
    QTimer ticks;
    QString port;

    Host()
    {
        server.setClockManual(true);
        server.setRandom(&random);
        server.startListening(QStringLiteral("0"));
        QObject::connect(&ticks, &QTimer::timeout, &server, [this] { server.socktimerTimer(); });
        ticks.start(1);
        port = QString::number(server.listeningPort());
    }
};

std::unique_ptr<ClientSession> player(const QString &name, bool hosting)
{
    auto session = std::make_unique<ClientSession>();
    session->setPlayerName(name);
    session->setHosting(hosting);
    session->setClockManual(true);
    return session;
}

} // namespace

void TestIpv6Join::joinersOverIpv6SitBesideTheHost()
{
    Host host;
    auto own = player(QStringLiteral("Ann"), true);
    host.server.reserveHostSeat(own->bindLocal());
    own->connectToHost(QStringLiteral("127.0.0.1"), host.port);
    QTRY_COMPARE(own->ownSeat(), 1);

    auto plain = player(QStringLiteral("Bo"), false);
    plain->connectToHost(QStringLiteral("::1"), host.port);
    QTRY_COMPARE(plain->ownSeat(), 2);

    auto bracketed = player(QStringLiteral("Cy"), false);
    bracketed->connectToHost(QStringLiteral("[::1]"), host.port);
    QTRY_COMPARE(bracketed->ownSeat(), 3);

    // Everybody logged in and knows everybody.
    for (ClientSession *s : {own.get(), plain.get(), bracketed.get()}) {
        QTRY_COMPARE(s->players().shownName(1), QStringLiteral("Ann"));
        QTRY_COMPARE(s->players().shownName(2), QStringLiteral("Bo"));
        QTRY_COMPARE(s->players().shownName(3), QStringLiteral("Cy"));
    }
}

void TestIpv6Join::ipv6PeerOnTheHostsPortNumberIsNoHost()
{
    // IPv4 and IPv6 ports are separate: a ::1 socket may hold the same port
    // number as the host's own 127.0.0.1 end. Only the latter is the host.
    Host host;
    QTcpSocket impostor;
    QVERIFY(impostor.bind(QHostAddress::LocalHostIPv6, 0));
    const quint16 number = impostor.localPort();
    QTcpSocket ownEnd;
    if (!ownEnd.bind(QHostAddress::LocalHost, number))
        QSKIP("the same port number is taken on 127.0.0.1");
    host.server.reserveHostSeat(number);

    QByteArray received;
    connect(&impostor, &QTcpSocket::readyRead, this, [&] { received += impostor.readAll(); });
    impostor.connectToHost(QHostAddress::LocalHostIPv6, host.server.listeningPort());
    QTRY_VERIFY(received.startsWith("CMD_sendlogininfo+"));
    QVERIFY2(received.startsWith("CMD_sendlogininfo+2"), received.constData());
}

QTEST_GUILESS_MAIN(TestIpv6Join)
#include "tst_ipv6_join.moc"
