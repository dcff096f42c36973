// Why the game connection could not be made, as the player reads it.

#include "client/connectionnotice.h"
#include "net/tsock.h"

#include <QTcpServer>
#include <QtTest>

using namespace zwonky;

class TestConnectionNotice : public QObject
{
    Q_OBJECT
private slots:
    void sentences_data();
    void sentences();
    void refusedConnectIsKnownAsSuch();
};

void TestConnectionNotice::sentences_data()
{
    QTest::addColumn<int>("failure");
    QTest::addColumn<QString>("detail");
    QTest::addColumn<QString>("line");
    QTest::newRow("refused") << int(TSock::Failure::Refused) << "Connection refused"
                             << "Could not connect to 127.0.0.1: nobody is hosting a game there";
    QTest::newRow("no such host") << int(TSock::Failure::NoSuchHost)
                                  << "Host Lookup - Could Not Find Host Entry"
                                  << "Could not connect to 127.0.0.1: no such host";
    QTest::newRow("timed out") << int(TSock::Failure::TimedOut) << "Socket operation timed out"
                               << "Could not connect to 127.0.0.1: the connection timed out";
    QTest::newRow("other, in the platform's words") << int(TSock::Failure::Other)
                                                    << "Network unreachable"
                                                    << "Could not connect to 127.0.0.1: network unreachable";
    QTest::newRow("other, no words") << int(TSock::Failure::Other) << ""
                                     << "Could not connect to 127.0.0.1: the connection failed";
}

void TestConnectionNotice::sentences()
{
    QFETCH(int, failure);
    QFETCH(QString, detail);
    QFETCH(QString, line);
    const QString notice =
        connectFailureNotice(QStringLiteral("127.0.0.1"), TSock::Failure(failure), detail);
    QCOMPARE(notice, line);
    QVERIFY(!notice.contains(QLatin1Char('#')));
}

void TestConnectionNotice::refusedConnectIsKnownAsSuch()
{
    // A free port with nobody listening on it.
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 port = probe.serverPort();
    probe.close();

    TSock sock;
    QStringList errors;
    sock.onInfo = [&errors](TSock *, int code, const QString &text) {
        if (code == TSock::InfoError)
            errors << text;
    };
    sock.setHostName(QStringLiteral("127.0.0.1"));
    sock.setPortName(QString::number(port));
    QCOMPARE(sock.lastFailure(), TSock::Failure::None);
    sock.open();
    QTRY_COMPARE(errors.size(), 1);
    QCOMPARE(sock.lastFailure(), TSock::Failure::Refused);
    QVERIFY(!sock.failureDetail().isEmpty());
}

QTEST_MAIN(TestConnectionNotice)
#include "tst_connectionnotice.moc"
