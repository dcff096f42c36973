// The announcement datagram both ways, and what a hostile sender might put
// in one: every such datagram is refused whole.

#include "lobby/announcement.h"

#include <QtTest>

using namespace zwonky::lobby;

namespace {
const QString Id = QStringLiteral("0123456789abcdef");
QByteArray wire(const QByteArray &name, const QByteArray &version = "1.0.7",
                const QByteArray &id = "0123456789abcdef")
{
    return "ZWONKY-LOBBY 1\nid=" + id + "\nname=" + name + "\nversion=" + version + "\n";
}
} // namespace

class TestAnnouncement : public QObject
{
    Q_OBJECT
private slots:
    void encodesTheExactBytes();
    void roundTrip_data();
    void roundTrip();
    void hostileDatagramsAreRefused_data();
    void hostileDatagramsAreRefused();
    void namesAreMadeDisplayable_data();
    void namesAreMadeDisplayable();
    void unsendableFieldsSendNothing();
    void idsAreFreshHex();
};

void TestAnnouncement::encodesTheExactBytes()
{
    const auto bytes = encodeAnnouncement({Id, QStringLiteral("Ann"), QStringLiteral("1.0.7")});
    QVERIFY(bytes);
    QCOMPARE(*bytes, QByteArray("ZWONKY-LOBBY 1\nid=0123456789abcdef\nname=Ann\nversion=1.0.7\n"));
}

void TestAnnouncement::roundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << QStringLiteral("Ann");
    QTest::newRow("blanks inside") << QStringLiteral("Big Bo");
    QTest::newRow("accents") << QStringLiteral("Zoë Müller");
    QTest::newRow("outside latin-1") << QStringLiteral("Ярослав");
    QTest::newRow("longest") << QString(MaxNameLength, QLatin1Char('x'));
}

void TestAnnouncement::roundTrip()
{
    QFETCH(QString, name);
    const Announcement sent{Id, name, QStringLiteral("1.0.7")};
    const auto bytes = encodeAnnouncement(sent);
    QVERIFY(bytes);
    QVERIFY(bytes->size() <= MaxDatagramSize);
    const auto back = parseAnnouncement(*bytes);
    QVERIFY(back);
    QCOMPARE(*back, sent);
}

void TestAnnouncement::hostileDatagramsAreRefused_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("too long") << wire("Ann") + QByteArray(MaxDatagramSize, ' ');
    QTest::newRow("just over the size") << wire(QByteArray(MaxDatagramSize - wire("").size() + 1, 'a'));
    QTest::newRow("other program") << QByteArray("HELLO 1\nid=0123456789abcdef\nname=Ann\nversion=1\n");
    QTest::newRow("other format version") << QByteArray(wire("Ann")).replace("LOBBY 1", "LOBBY 2");
    QTest::newRow("no last newline") << wire("Ann").chopped(1);
    QTest::newRow("crlf") << QByteArray(wire("Ann")).replace("\n", "\r\n");
    QTest::newRow("fields swapped")
        << QByteArray("ZWONKY-LOBBY 1\nname=Ann\nid=0123456789abcdef\nversion=1.0.7\n");
    QTest::newRow("field missing") << QByteArray("ZWONKY-LOBBY 1\nid=0123456789abcdef\nname=Ann\n");
    QTest::newRow("extra field") << wire("Ann") + "port=1\n";
    QTest::newRow("field repeated") << wire("Ann") + "version=1.0.7\n";
    QTest::newRow("blank line") << wire("Ann") + "\n";
    QTest::newRow("empty name") << wire("");
    QTest::newRow("blank name") << wire("   ");
    QTest::newRow("name too long") << wire(QByteArray(MaxNameLength + 1, 'a'));
    QTest::newRow("blank around name") << wire(" Ann");
    QTest::newRow("control character") << wire("An\x07n");
    QTest::newRow("tab") << wire("An\tn");
    QTest::newRow("nul") << wire(QByteArray("An\0n", 4));
    QTest::newRow("right-to-left override") << wire("Ann\xE2\x80\xAE" "evil");
    QTest::newRow("invalid utf-8") << wire("Ann\xC3");
    QTest::newRow("overlong utf-8") << wire("A\xC0\xAFnn");
    QTest::newRow("short id") << wire("Ann", "1.0.7", "0123");
    QTest::newRow("upper-case id") << wire("Ann", "1.0.7", "0123456789ABCDEF");
    QTest::newRow("id not hex") << wire("Ann", "1.0.7", "0123456789abcdeg");
    QTest::newRow("empty version") << wire("Ann", "");
    QTest::newRow("version with blank") << wire("Ann", "1.0 7");
    QTest::newRow("version too long") << wire("Ann", QByteArray(MaxVersionLength + 1, '1'));
}

void TestAnnouncement::hostileDatagramsAreRefused()
{
    QFETCH(QByteArray, datagram);
    QVERIFY(!parseAnnouncement(datagram));
}

void TestAnnouncement::namesAreMadeDisplayable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shown");
    QTest::newRow("trimmed") << QStringLiteral("  Ann  ") << QStringLiteral("Ann");
    QTest::newRow("runs of blanks") << QStringLiteral("Big \t  Bo") << QStringLiteral("Big Bo");
    QTest::newRow("controls dropped") << QStringLiteral("A\u0007n\nn") << QStringLiteral("Ann");
    QTest::newRow("format characters dropped") << QStringLiteral("Ann\u202Eevil") << QStringLiteral("Annevil");
    QTest::newRow("cut to length") << QString(40, QLatin1Char('y')) << QString(MaxNameLength, QLatin1Char('y'));
    QTest::newRow("nothing left") << QStringLiteral("\u0001\u0002") << QString();
}

void TestAnnouncement::namesAreMadeDisplayable()
{
    QFETCH(QString, name);
    QFETCH(QString, shown);
    QCOMPARE(displayName(name), shown);
}

void TestAnnouncement::unsendableFieldsSendNothing()
{
    QVERIFY(!encodeAnnouncement({Id, QStringLiteral("\u0001"), QStringLiteral("1.0.7")}));
    QVERIFY(!encodeAnnouncement({QStringLiteral("xyz"), QStringLiteral("Ann"), QStringLiteral("1.0.7")}));
    QVERIFY(!encodeAnnouncement({Id, QStringLiteral("Ann"), QStringLiteral("1.0\n7")}));
    // A name with line breaks is sent cleaned, never as a broken datagram.
    const auto bytes = encodeAnnouncement({Id, QStringLiteral("A\nid=x"), QStringLiteral("1.0.7")});
    QVERIFY(bytes);
    QCOMPARE(parseAnnouncement(*bytes)->name, QStringLiteral("Aid=x"));
}

void TestAnnouncement::idsAreFreshHex()
{
    const QString a = newAnnouncementId();
    const QString b = newAnnouncementId();
    QVERIFY(a != b);
    QVERIFY(encodeAnnouncement({a, QStringLiteral("Ann"), QStringLiteral("1")}));
    QVERIFY(encodeAnnouncement({b, QStringLiteral("Ann"), QStringLiteral("1")}));
}

QTEST_GUILESS_MAIN(TestAnnouncement)
#include "tst_announcement.moc"
