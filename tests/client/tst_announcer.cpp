// What a screen reader hears during a game: each event of a turn is said
// once, when it happens, as an alert of the announcement label, read through
// Qt's accessibility interfaces as an assistive technology would. (Qt hands
// events on only while a screen reader listens, which none does here, so
// the test takes the alerts where the announcer posts them.)

#include "traytesttable.h"

#include "client/announcer.h"

#include <QAccessible>
#include <QLabel>
#include <QtTest>

using namespace zwonky;
using namespace zwonky::testing;

namespace {

struct Heard
{
    QString objectName;
    QString name;
};

QList<Heard> g_heard;

void recordAlerts(QAccessibleEvent *event)
{
    if (event->type() != QAccessible::Alert)
        return;
    QAccessibleInterface *face = event->accessibleInterface();
    g_heard.append({event->object() ? event->object()->objectName() : QString(),
                    face ? face->text(QAccessible::Name) : QString()});
}

QStringList tenLetters() { return QString("CRANEBOTLS").split(QString(), Qt::SkipEmptyParts); }

} // namespace

class TestAnnouncer : public QObject
{
    Q_OBJECT

private:
    void listen(TrayTable &table)
    {
        table.window.announcer().setEventSink([](QAccessibleEvent *event) {
            recordAlerts(event);
            QAccessible::updateAccessibility(event);
        });
    }

    // What was said since the last call; every alert must come from the label.
    QStringList heard()
    {
        QStringList said;
        for (const Heard &h : std::as_const(g_heard)) {
            if (h.objectName != QLatin1String("label_announce"))
                said << QStringLiteral("<alert from %1>").arg(h.objectName);
            else
                said << h.name;
        }
        g_heard.clear();
        return said;
    }

    // Ann at seat 1, Bob at seat 2, a game of 60-second turns; nothing said yet.
    void seatTwo(TrayTable &table)
    {
        listen(table);
        QVERIFY(table.seat(1, QStringLiteral("Ann")));
        table.window.session().setClockManual(true);
        table.feed(protocol::newPlayerInfo(1, QStringLiteral("Ann")));
        table.feed(protocol::newPlayerInfo(2, QStringLiteral("Bob")));
        protocol::GameOptions options;
        options.timePerTurn = 60;
        options.typing = true;
        table.feed(protocol::startGameAnnounce(QStringLiteral("Ann"), options));
        heard();
    }

private slots:
    void init()
    {
        g_heard.clear();
    }

    void wholeOwnTurnIsSaidOnceEachInOrder();
    void othersTurnAndPurchases();
    void clockSaysTenSecondsOncePerTurn();
    void lostPointsAndTeamWin();
};

void TestAnnouncer::wholeOwnTurnIsSaidOnceEachInOrder()
{
    TrayTable table;
    seatTwo(table);
    ClientSession &session = table.window.session();

    table.feed(protocol::nextPlayer(1));
    QCOMPARE(heard(), QStringList{"Your turn."});
    table.feed(protocol::theDice(1, DealKind::Ten, tenLetters()));
    QCOMPARE(heard(), QStringList{"Letters: C, R, A, N, E, B, O, T, L, S."});

    // Laying tiles is no news: the tiles' own names say where they are.
    QVERIFY(session.putTile(1));
    table.feed(protocol::setDiceRelay(1, 1));
    QCOMPARE(heard(), QStringList{});

    table.feed(protocol::accepted(5, QStringLiteral("CRANE")));
    QCOMPARE(heard(), QStringList{"CRANE accepted."});
    table.feed(protocol::rejected(QStringLiteral("CRANE"), QStringLiteral("+ Rejected. Word Exists")));
    QCOMPARE(heard(), QStringList{"CRANE Rejected. Word Exists."});
    table.feed(protocol::rejected(QStringLiteral("BOAT"), QStringLiteral("+ 4 letter box full!")));
    QCOMPARE(heard(), QStringList{"BOAT 4 letter box full!"});

    for (int second = 59; second > 10; --second)
        session.tickClock();
    QCOMPARE(heard(), QStringList{});
    session.tickClock();
    QCOMPARE(heard(), QStringList{"10 seconds left."});

    table.feed(protocol::turnEnd());
    QCOMPARE(heard(), QStringList{});
    table.feed(protocol::scores(1, 450, 300, 6, 750, 0, 0));
    QCOMPARE(heard(), QStringList{"Ann Scored: 750 points! 6 words made for 450 points plus 300 bonus points!"});

    table.feed(protocol::chatRelay(QStringLiteral("Bob"), QStringLiteral("well done|clBlack")));
    QCOMPARE(heard(), QStringList{"Bob chats: well done"});
    table.feed(protocol::winner(QStringLiteral("Ann")));
    QCOMPARE(heard(), QStringList{"Ann has Won the Game!"});

    // The label keeps the last line as its accessible name.
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(table.window.announcer().label());
    QVERIFY(face);
    QCOMPARE(face->text(QAccessible::Name), QStringLiteral("Ann has Won the Game!"));
}

void TestAnnouncer::othersTurnAndPurchases()
{
    TrayTable table;
    seatTwo(table);

    table.feed(protocol::nextPlayer(2));
    table.feed(protocol::theDice(2, DealKind::Ten, tenLetters()));
    QCOMPARE(heard(), (QStringList{"Bob's turn.", "Letters: C, R, A, N, E, B, O, T, L, S."}));

    table.feed(protocol::newTilesNotice(2, 0));
    table.feed(protocol::theDice(2, DealKind::New, QString("QUIZWAXFEY").split(QString(), Qt::SkipEmptyParts)));
    QCOMPARE(heard(), (QStringList{"Bob bought new tiles for 300 points!",
                                   "New letters: Q, U, I, Z, W, A, X, F, E, Y."}));
    table.feed(protocol::oldTilesNotice(2, -300));
    table.feed(protocol::theDice(2, DealKind::Old, tenLetters()));
    QCOMPARE(heard(), (QStringList{"Bob bought the old tiles for 300 points!",
                                   "Old letters back: C, R, A, N, E, B, O, T, L, S."}));

    // A 13-letter deal says all thirteen.
    table.feed(protocol::nextPlayer(1));
    table.feed(protocol::theDice(1, DealKind::Thirteen,
                                 QString("ABCDEFGHIJKLM").split(QString(), Qt::SkipEmptyParts)));
    QCOMPARE(heard(), (QStringList{"Your turn.", "Letters: A, B, C, D, E, F, G, H, I, J, K, L, M."}));
}

void TestAnnouncer::clockSaysTenSecondsOncePerTurn()
{
    TrayTable table;
    listen(table);
    QVERIFY(table.seat(1, QStringLiteral("Ann")));
    ClientSession &session = table.window.session();
    session.setClockManual(true);
    protocol::GameOptions options;
    options.timePerTurn = 10; // the deal itself shows 0:10
    table.feed(protocol::startGameAnnounce(QStringLiteral("Ann"), options));
    table.feed(protocol::nextPlayer(1));
    table.feed(protocol::theDice(1, DealKind::Ten, tenLetters()));
    heard();

    // The first reading of the clock is not a warning; no tick reaches 10 again.
    for (int tick = 0; tick < 12; ++tick)
        session.tickClock();
    QCOMPARE(heard(), QStringList{});

    // A bought deal does not restart the clock, nor the warning.
    options.timePerTurn = 30;
    table.feed(protocol::startGameAnnounce(QStringLiteral("Ann"), options));
    table.feed(protocol::nextPlayer(1));
    table.feed(protocol::theDice(1, DealKind::Ten, tenLetters()));
    for (int tick = 0; tick < 20; ++tick)
        session.tickClock();
    table.feed(protocol::newTilesNotice(1, 0));
    table.feed(protocol::theDice(1, DealKind::New, tenLetters()));
    heard();
    for (int tick = 0; tick < 12; ++tick)
        session.tickClock();
    QCOMPARE(heard(), QStringList{});
    QCOMPARE(session.secondsLeft(), 0);
}

void TestAnnouncer::lostPointsAndTeamWin()
{
    TrayTable table;
    seatTwo(table);
    table.feed(protocol::nextPlayer(2));
    heard();
    table.feed(protocol::scores(2, 300, -500, 3, 1700, 0, 0));
    QCOMPARE(heard(), QStringList{"Bob Lost 500 points! 3 words made for 300 points but that wasn't enough!"});
    table.feed(protocol::winner(QStringLiteral("Bob and Cy")));
    QCOMPARE(heard(), QStringList{"Bob and Cy have Won the Game!"});
}

QTEST_MAIN(TestAnnouncer)
#include "tst_announcer.moc"
