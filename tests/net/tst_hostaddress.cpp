// The host text a player types (command line or lobby): names, dotted IPv4,
// IPv6 with or without brackets and zone, and what is refused.

#include "net/hostaddress.h"

#include <QtTest>

using namespace zwonky;

class TestHostAddress : public QObject
{
    Q_OBJECT
private slots:
    void normalised_data();
    void normalised();
    void literalsKeepTheirZone();
};

void TestHostAddress::normalised_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected"); // empty = refused

    QTest::newRow("ipv4") << " 192.168.1.20 " << "192.168.1.20";
    QTest::newRow("ipv6 loopback") << "::1" << "::1";
    QTest::newRow("ipv6 bracketed") << "[2001:db8::7]" << "2001:db8::7";
    QTest::newRow("ipv6 long form shortened") << "2001:0db8:0:0:0:0:0:7" << "2001:db8::7";
    QTest::newRow("ipv6 with zone") << "fe80::1%eth0" << "fe80::1%eth0";
    QTest::newRow("ipv6 bracketed with zone") << "[fe80::1%eth0]" << "fe80::1%eth0";
    QTest::newRow("name") << "Game-Host.Example.org" << "game-host.example.org";
    QTest::newRow("single label") << "kitchenpc" << "kitchenpc";

    QTest::newRow("empty") << "" << "";
    QTest::newRow("short dotted numbers") << "10.1" << "";
    QTest::newRow("bad ipv4") << "300.1.1.1" << "";
    QTest::newRow("bad ipv6") << "2001:db8:::1" << "";
    QTest::newRow("port appended") << "[::1]:7772" << "";
    QTest::newRow("host and port") << "example.org:7772" << "";
    QTest::newRow("blank inside") << "my host" << "";
    QTest::newRow("shell text") << "a;rm -rf" << "";
    QTest::newRow("leading dash") << "-x.example" << "";
    QTest::newRow("empty label") << "a..b" << "";
    QTest::newRow("label too long") << QString(64, 'a') + ".org" << "";
    QTest::newRow("far too long") << QString(300, 'a') << "";
}

void TestHostAddress::normalised()
{
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    const auto host = normalisedHost(typed);
    if (expected.isEmpty()) {
        QVERIFY2(!host, qPrintable(host.value_or(QString())));
        return;
    }
    QVERIFY(host);
    QCOMPARE(*host, expected);
}

void TestHostAddress::literalsKeepTheirZone()
{
    const auto address = literalAddress(QStringLiteral("[fe80::1%eth0]"));
    QVERIFY(address);
    QCOMPARE(address->protocol(), QAbstractSocket::IPv6Protocol);
    QCOMPARE(address->scopeId(), QStringLiteral("eth0"));
    QVERIFY(!literalAddress(QStringLiteral("example.org")));
    QVERIFY(!literalAddress(QStringLiteral("7")));
}

QTEST_GUILESS_MAIN(TestHostAddress)
#include "tst_hostaddress.moc"
