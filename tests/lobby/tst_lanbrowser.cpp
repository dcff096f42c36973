// Lobbies finding each other: announcer and listener over loopback with
// injected addresses (nothing leaves 127.0.0.0/8), the list ageing by a
// stepped clock, and floods of hostile datagrams from thousands of senders
// (loopback source addresses) beside a real announcer.

#include "lobby/announcelistener.h"
#include "lobby/announcer.h"
#include "lobby/foundgames.h"
#include "lobby/roundsketch.h"
#include "lobby/sourcelimiter.h"

#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QUdpSocket>
#include <QtTest>

using namespace zwonky::lobby;

namespace {

// One lobby's network side on loopback.
struct LoopbackLobby
{
    qint64 clock = 1000;
    AnnounceListener listener;
    Announcer announcer;
    QString id = newAnnouncementId();

    LoopbackLobby()
    {
        listener.setClock([this] { return clock; });
        listener.setOwnId(id);
        QString error;
        listener.listenOn({QHostAddress(QHostAddress::LocalHost)}, 0, &error);
    }
    void announceTo(const LoopbackLobby &other, const QString &name)
    {
        announcer.setTargets({{QHostAddress(QHostAddress::LocalHost), other.listener.port()}});
        announcer.start({id, name, QStringLiteral("1.0.7")});
    }
};

QByteArray datagramFrom(const QString &id, const QString &name)
{
    return *encodeAnnouncement({id, name, QStringLiteral("1.0.7")});
}

QString hexId(int n)
{
    return QStringLiteral("%1").arg(n, IdLength, 16, QLatin1Char('0'));
}

bool lists(const AnnounceListener &listener, const QString &name)
{
    const QList<FoundGame> &games = listener.games().games();
    return std::any_of(games.cbegin(), games.cend(), [&](const FoundGame &g) { return g.name == name; });
}

// The n-th address of a /16 block on loopback (never 127.0.0.1).
QHostAddress loopbackSender(quint32 block, int n)
{
    return QHostAddress((127u << 24) | (block << 16) | quint32(n / 250 << 8) | quint32(n % 250 + 1));
}

} // namespace

class TestLanBrowser : public QObject
{
    Q_OBJECT
private slots:
    void twoLobbiesFindEachOther();
    void ownAnnouncementsAreNotListed();
    void gamesNotHeardFor15sAreDropped();
    void oneGameHeardByBothFamiliesIsOneEntry();
    void aRepeatedIdCannotMoveAGame();
    void gamesHeardAgainAndAgainComeFirst();
    void aFloodIsCutIntoPassesAndRateLimited();
    void oversizedAndMalformedDatagramsAreDropped();
    void newSendersAreNeverRefused();
    void aRealGameStaysListedThroughFloods_data();
    void aRealGameStaysListedThroughFloods();
};

void TestLanBrowser::twoLobbiesFindEachOther()
{
    LoopbackLobby ann;
    LoopbackLobby bo;
    QVERIFY(ann.listener.port() != 0);
    QVERIFY(bo.listener.port() != 0);
    QSignalSpy annHeard(&ann.listener, &AnnounceListener::gamesChanged);
    QSignalSpy boHeard(&bo.listener, &AnnounceListener::gamesChanged);

    ann.announceTo(bo, QStringLiteral("Ann"));
    bo.announceTo(ann, QStringLiteral("Bo"));

    QTRY_COMPARE(bo.listener.games().games().size(), 1);
    QTRY_COMPARE(ann.listener.games().games().size(), 1);
    const FoundGame heardByBo = bo.listener.games().games().first();
    QCOMPARE(heardByBo.name, QStringLiteral("Ann"));
    QCOMPARE(heardByBo.version, QStringLiteral("1.0.7"));
    QCOMPARE(heardByBo.id, ann.id);
    QCOMPARE(heardByBo.addressText(), QStringLiteral("127.0.0.1"));
    QCOMPARE(heardByBo.firstHeardMs, 1000);
    QCOMPARE(ann.listener.games().games().first().name, QStringLiteral("Bo"));

    // Each round refreshes the same entry; the list does not grow.
    bo.clock = 6000;
    const qint64 sent = ann.announcer.sentCount();
    ann.announcer.announceNow();
    QCOMPARE(ann.announcer.sentCount(), sent + 1);
    QTRY_COMPARE(bo.listener.games().games().first().lastHeardMs, 6000);
    QCOMPARE(bo.listener.games().games().size(), 1);
    QCOMPARE(bo.listener.games().games().first().firstHeardMs, 1000);

    // Stopped: nothing more is sent.
    ann.announcer.stop();
    ann.announcer.announceNow();
    QCOMPARE(ann.announcer.sentCount(), sent + 1);
}

void TestLanBrowser::ownAnnouncementsAreNotListed()
{
    LoopbackLobby ann;
    LoopbackLobby other;
    // Ann hears her own announcement, then another lobby's.
    ann.announceTo(ann, QStringLiteral("Ann"));
    other.announceTo(ann, QStringLiteral("Cy"));
    QTRY_COMPARE(ann.listener.games().games().size(), 1);
    QCOMPARE(ann.listener.games().games().first().name, QStringLiteral("Cy"));
}

void TestLanBrowser::gamesNotHeardFor15sAreDropped()
{
    FoundGames games;
    const QHostAddress host(QStringLiteral("10.0.0.5"));
    QVERIFY(games.heard({hexId(1), QStringLiteral("Ann"), QStringLiteral("1")}, host, 0));
    QVERIFY(games.heard({hexId(2), QStringLiteral("Bo"), QStringLiteral("1")}, host, 5000));
    games.expire(14999);
    QCOMPARE(games.games().size(), 2);
    QVERIFY(games.expire(15000));
    QCOMPARE(games.games().size(), 1);
    QCOMPARE(games.games().first().name, QStringLiteral("Bo"));
    // Heard again just in time: it stays.
    games.heard({hexId(2), QStringLiteral("Bo"), QStringLiteral("1")}, host, 19000);
    games.expire(33999);
    QCOMPARE(games.games().size(), 1);
    QVERIFY(games.expire(34000));
    QVERIFY(games.games().isEmpty());

    // The listener's own timer tick does the same with its clock.
    LoopbackLobby ann;
    LoopbackLobby bo;
    ann.announceTo(bo, QStringLiteral("Ann"));
    QTRY_COMPARE(bo.listener.games().games().size(), 1);
    ann.announcer.stop();
    QSignalSpy changed(&bo.listener, &AnnounceListener::gamesChanged);
    bo.clock += FoundGames::ForgetAfterMs - 1;
    bo.listener.expireTick();
    QCOMPARE(bo.listener.games().games().size(), 1);
    bo.clock += 1;
    bo.listener.expireTick();
    QVERIFY(bo.listener.games().games().isEmpty());
    QVERIFY(changed.count() >= 1);
}

void TestLanBrowser::oneGameHeardByBothFamiliesIsOneEntry()
{
    FoundGames games;
    const Announcement ann{hexId(1), QStringLiteral("Ann"), QStringLiteral("1")};
    QHostAddress v6(QStringLiteral("fe80::1"));
    v6.setScopeId(QStringLiteral("eth0"));
    QVERIFY(games.heard(ann, v6, 0));
    QCOMPARE(games.games().first().addressText(), QStringLiteral("fe80::1%eth0"));
    // IPv4, also when it arrives mapped on an IPv6 socket, is preferred for joining.
    QVERIFY(games.heard(ann, QHostAddress(QStringLiteral("::ffff:192.168.1.9")), 10));
    QCOMPARE(games.games().size(), 1);
    QCOMPARE(games.games().first().addressText(), QStringLiteral("192.168.1.9"));
    QVERIFY(!games.heard(ann, v6, 20));
    QCOMPARE(games.games().size(), 1);
}

void TestLanBrowser::aRepeatedIdCannotMoveAGame()
{
    FoundGames games;
    const Announcement ann{hexId(1), QStringLiteral("Ann"), QStringLiteral("1")};
    games.heard(ann, QHostAddress(QStringLiteral("192.168.1.9")), 0);
    games.heard(ann, QHostAddress(QStringLiteral("192.168.1.66")), 10);
    QCOMPARE(games.games().size(), 2);
    QCOMPARE(games.games().at(0).addressText(), QStringLiteral("192.168.1.9"));
    QCOMPARE(games.games().at(1).addressText(), QStringLiteral("192.168.1.66"));
}

void TestLanBrowser::gamesHeardAgainAndAgainComeFirst()
{
    FoundGames games;
    const Announcement real{hexId(0), QStringLiteral("Real"), QStringLiteral("1")};
    const QHostAddress host(QStringLiteral("10.0.0.5"));
    const qint64 round = RoundSketch::RoundMs;
    games.heard(real, host, 0);
    // Round after round, thousands heard once from as many senders, and as
    // many heard every round after the real game (the same ids again): the
    // real game stays first, with the standing of the rounds it was heard in.
    for (int r = 1; r <= RoundSketch::Rounds + 1; ++r) {
        games.heard(real, host, r * round);
        for (int i = 0; i < 2000; ++i) {
            const qint64 now = r * round + 1 + i;
            games.heard({hexId(r * 10000 + i), QStringLiteral("Once"), QStringLiteral("1")},
                        QHostAddress(quint32(0x0B000000 + r * 10000 + i)), now);
            games.heard({hexId(1000000 + i), QStringLiteral("Again"), QStringLiteral("1")},
                        QHostAddress(quint32(0x0C000000 + i)), now);
        }
        QCOMPARE(games.games().size(), FoundGames::MaxGames);
        QCOMPARE(games.games().first().name, QStringLiteral("Real"));
        QCOMPARE(games.games().first().standing, std::min(r, RoundSketch::Rounds));
        // Those heard once stand no higher than the repeaters after a round.
        QVERIFY(std::none_of(games.games().cbegin(), games.games().cend(), [&](const FoundGame &g) {
            return g.name == QLatin1String("Once") && g.firstHeardMs < (r - 1) * round;
        }));
    }
}

void TestLanBrowser::aFloodIsCutIntoPassesAndRateLimited()
{
    LoopbackLobby bo;
    QUdpSocket flooder;
    // A thousand valid-looking announcements at once from one sender, each
    // with a new id: a second of a flood.
    const int sent = 1000;
    int written = 0;
    for (int i = 0; i < sent; ++i) {
        if (flooder.writeDatagram(datagramFrom(hexId(i), QStringLiteral("F%1").arg(i)),
                                  QHostAddress::LocalHost, bo.listener.port()) > 0)
            ++written;
    }
    QVERIFY(written > 0);
    QSignalSpy changed(&bo.listener, &AnnounceListener::gamesChanged);

    // One pass handles at most MaxPerPass, however many wait; what the
    // kernel could not hold was dropped there.
    const auto handled = [&] { return bo.listener.droppedCount() + bo.listener.games().games().size(); };
    bo.listener.readPass();
    const qint64 firstPass = handled();
    QVERIFY(firstPass > 0);
    QVERIFY(firstPass <= AnnounceListener::MaxPerPass);
    QCOMPARE(changed.count(), 1);
    // The rest follows on later passes of the event loop.
    if (firstPass == AnnounceListener::MaxPerPass)
        QTRY_VERIFY(handled() > firstPass);
    QTRY_VERIFY(!bo.listener.hasWaitingDatagrams());
    // Only a few from that one sender were looked at in its second.
    QCOMPARE(bo.listener.games().games().size(), SourceLimiter::PerSourcePerWindow);

    // A second later the sender is heard again, a few at a time.
    bo.clock += SourceLimiter::WindowMs;
    flooder.writeDatagram(datagramFrom(hexId(5000), QStringLiteral("Late")), QHostAddress::LocalHost,
                          bo.listener.port());
    QTRY_VERIFY(std::any_of(bo.listener.games().games().cbegin(), bo.listener.games().games().cend(),
                            [](const FoundGame &g) { return g.name == QLatin1String("Late"); }));
}

void TestLanBrowser::oversizedAndMalformedDatagramsAreDropped()
{
    LoopbackLobby bo;
    QUdpSocket sender;
    const quint16 port = bo.listener.port();
    QByteArray huge = datagramFrom(hexId(1), QStringLiteral("Huge"));
    huge.append(QByteArray(4000, 'x'));
    sender.writeDatagram(huge, QHostAddress::LocalHost, port);
    sender.writeDatagram("garbage", QHostAddress::LocalHost, port);
    sender.writeDatagram(QByteArray(), QHostAddress::LocalHost, port);
    sender.writeDatagram(datagramFrom(hexId(2), QStringLiteral("Fine")), QHostAddress::LocalHost, port);
    QTRY_COMPARE(bo.listener.games().games().size(), 1);
    QCOMPARE(bo.listener.games().games().first().name, QStringLiteral("Fine"));
    QTRY_COMPARE(bo.listener.droppedCount(), 3);
}

void TestLanBrowser::newSendersAreNeverRefused()
{
    SourceLimiter limiter;
    for (int i = 0; i < 5000; ++i)
        QVERIFY(limiter.allow(loopbackSender(3, i), 0));
    // One sender is held to a few a second, the others go on.
    const qint64 next = SourceLimiter::WindowMs;
    const QHostAddress flooder = loopbackSender(4, 0);
    for (int i = 0; i < SourceLimiter::PerSourcePerWindow; ++i)
        QVERIFY(limiter.allow(flooder, next));
    QVERIFY(!limiter.allow(flooder, next));
    QVERIFY(limiter.allow(loopbackSender(4, 1), next));
    QVERIFY(limiter.allow(flooder, 2 * next));
}

void TestLanBrowser::aRealGameStaysListedThroughFloods_data()
{
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("sendersPerSecond");
    QTest::addColumn<bool>("newSendersEachSecond");
    QTest::newRow("2000 senders of valid announcements") << true << 2000 << false;
    QTest::newRow("300 new junk senders a second") << false << 300 << true;
}

void TestLanBrowser::aRealGameStaysListedThroughFloods()
{
    QFETCH(bool, valid);
    QFETCH(int, sendersPerSecond);
    QFETCH(bool, newSendersEachSecond);
    LoopbackLobby bo;
    // The real game, announced by a lobby's announcer every IntervalMs.
    Announcer real;
    real.setTargets({{QHostAddress(QHostAddress::LocalHost), bo.listener.port()}});
    real.start({newAnnouncementId(), QStringLiteral("Real"), QStringLiteral("1.0.7")});
    QUdpSocket flood;
    const auto drain = [&] {
        while (bo.listener.hasWaitingDatagrams())
            bo.listener.readPass();
    };
    drain();

    // Twenty seconds of flood by the stepped clock; the last ten are sampled.
    int listed = 0;
    int sender = 0;
    for (int second = 0; second < 20; ++second) {
        bo.clock += 1000;
        if (!newSendersEachSecond)
            sender = 0;
        for (int i = 0; i < sendersPerSecond; ++i, ++sender) {
            // The real game's round lands late in the flood's second.
            if (i == sendersPerSecond * 9 / 10 && bo.clock % Announcer::IntervalMs == 0)
                real.announceNow();
            const QByteArray data = valid ? datagramFrom(hexId(sender), QStringLiteral("Fake%1").arg(sender))
                                          : QByteArray("ZWONKY-LOBBY 1\njunk ") + QByteArray::number(sender);
            QNetworkDatagram datagram(data, QHostAddress::LocalHost, bo.listener.port());
            datagram.setSender(loopbackSender(1, sender));
            flood.writeDatagram(datagram);
            // Read as it comes, so that the socket's buffer never overflows.
            if (i % 32 == 31)
                drain();
        }
        drain();
        bo.listener.expireTick();
        if (second >= 10 && lists(bo.listener, QStringLiteral("Real")))
            ++listed;
    }
    QVERIFY2(listed >= 9, qPrintable(QStringLiteral("listed in %1 of 10 samples").arg(listed)));
}

QTEST_GUILESS_MAIN(TestLanBrowser)
#include "tst_lanbrowser.moc"
