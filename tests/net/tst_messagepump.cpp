// The receive queue as the event loop drives it: messages handled as soon as
// they arrive, in arrival order and never one inside another, and the tick
// timer counting ticks whatever the messages do. Stepping by hand is in
// tst_protocol.
#include "net/messagepump.h"

#include <QCoreApplication>
#include <QTest>
#include <QTimer>

#include <ctime>

using namespace zwonky;

class TestMessagePump : public QObject
{
    Q_OBJECT
private slots:
    void burstHandledInOnePass();
    void arrivalOrderKept();
    void handlersNeverNest();
    void ticksCountedApartFromMessages();
    void stoppedPumpWaitsForSteps();
    void longBacklogLetsOtherEventsIn();
};

void TestMessagePump::burstHandledInOnePass()
{
    MessagePump pump(1000); // a tick would come far too late to matter
    QList<int> seen;
    int ticks = 0;
    pump.table().add("CMD_n", [&](FieldCursor &c) { seen << c.takeInt(); });
    pump.setAfterTick([&] { ++ticks; });
    pump.start();
    QList<int> sent;
    for (int i = 1; i <= 50; ++i) {
        pump.enqueue("CMD_n+" + QByteArray::number(i), 1, 9);
        sent << i;
    }
    QVERIFY(seen.isEmpty()); // never inside the caller that brought them
    QCoreApplication::processEvents();
    QCOMPARE(seen, sent);
    QCOMPARE(pump.queued(), std::size_t(0));
    QCOMPARE(pump.queuedFrom(9), std::size_t(0));
    QCOMPARE(ticks, 0);
    QVERIFY(!pump.isTicking());

    // A message at a resting queue again.
    pump.enqueue("CMD_n+51");
    QCoreApplication::processEvents();
    QCOMPARE(seen.last(), 51);
}

void TestMessagePump::arrivalOrderKept()
{
    MessagePump pump(1000);
    QList<int> seen;
    QList<int> origins;
    pump.setOriginCheck([](int, quint64 source) { return source != 7; });
    pump.table().add("CMD_n", [&](FieldCursor &c) {
        const int n = c.takeInt();
        seen << n;
        origins << pump.currentOrigin();
        // What a handler causes comes after everything already waiting.
        if (n == 1)
            pump.enqueue("CMD_n+100", 4, 11);
    });
    pump.start();
    pump.enqueue("CMD_n+1", 2, 10);
    pump.enqueue("CMD_n+2", 3, 7); // its connection lost the seat
    pump.enqueue("CMD_n+3", 3, 12);
    pump.enqueue("CMD_n+4");
    QTRY_COMPARE(seen, (QList<int>{1, 3, 4, 100}));
    QCOMPARE(origins, (QList<int>{2, 3, 0, 4}));
    QCOMPARE(pump.currentOrigin(), 0);
}

void TestMessagePump::handlersNeverNest()
{
    MessagePump pump(1);
    QList<int> seen;
    int depth = 0;
    int deepest = 0;
    int ticks = 0;
    bool tickedInside = false;
    bool keepTicking = true;
    pump.setKeepTicking([&] { return keepTicking; });
    pump.setAfterTick([&] { ++ticks; });
    pump.table().add("CMD_n", [&](FieldCursor &c) {
        deepest = std::max(deepest, ++depth);
        const int n = c.takeInt();
        seen << n;
        if (n == 1) {
            // A modal wait: new messages come and the timer ticks meanwhile.
            pump.enqueue("CMD_n+3");
            const int before = ticks;
            tickedInside = QTest::qWaitFor([&] { return ticks > before + 2; }, 5000);
        }
        --depth;
    });
    pump.start();
    pump.enqueue("CMD_n+1");
    pump.enqueue("CMD_n+2");
    QTRY_COMPARE(seen, (QList<int>{1, 2, 3}));
    QVERIFY(tickedInside);
    QCOMPARE(deepest, 1);
    keepTicking = false;
    QTRY_VERIFY(!pump.isTicking());
}

void TestMessagePump::ticksCountedApartFromMessages()
{
    MessagePump pump(1);
    int ticks = 0;
    int handled = 0;
    bool gateClosed = false;
    pump.table().add("CMD_x", [&](FieldCursor &) { ++handled; });
    pump.setKeepTicking([&] { return gateClosed; });
    pump.setAfterTick([&] { ++ticks; });
    pump.start();
    QVERIFY(!pump.isTicking());

    // Messages alone neither tick nor wake the timer.
    for (int i = 0; i < 20; ++i)
        pump.enqueue("CMD_x+");
    QCoreApplication::processEvents();
    QCOMPARE(handled, 20);
    QCOMPARE(ticks, 0);
    QVERIFY(!pump.isTicking());

    // A closed gate keeps the timer going until it opens.
    gateClosed = true;
    pump.wake();
    QVERIFY(pump.isTicking());
    QTRY_VERIFY(ticks >= 3);
    gateClosed = false;
    QTRY_VERIFY(!pump.isTicking());
}

void TestMessagePump::stoppedPumpWaitsForSteps()
{
    MessagePump pump(1);
    QList<int> seen;
    int ticks = 0;
    pump.table().add("CMD_n", [&](FieldCursor &c) { seen << c.takeInt(); });
    pump.setAfterTick([&] { ++ticks; });
    pump.start();
    pump.enqueue("CMD_n+1");
    pump.stop(); // the drain already asked for must not run
    pump.enqueue("CMD_n+2");
    QCoreApplication::processEvents();
    QVERIFY(seen.isEmpty());
    pump.tick();
    QCOMPARE(seen, QList<int>{1});
    QCOMPARE(ticks, 1);
    pump.tick(); // every step is a tick, a message or not
    pump.tick();
    QCOMPARE(seen, (QList<int>{1, 2}));
    QCOMPARE(ticks, 3);
    // Started again, what waits is handled at once.
    pump.enqueue("CMD_n+3");
    pump.start();
    QCoreApplication::processEvents();
    QCOMPARE(seen, (QList<int>{1, 2, 3}));
}

void TestMessagePump::longBacklogLetsOtherEventsIn()
{
    // 100 messages of 5 ms of the thread each: in one go they would keep a
    // stop or a click waiting half a second.
    MessagePump pump(1000);
    int handled = 0;
    pump.table().add("CMD_n", [&](FieldCursor &) {
        ++handled;
        timespec start{}, now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
        do
            clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        while ((now.tv_sec - start.tv_sec) * 1000000000L + now.tv_nsec - start.tv_nsec < 5000000);
    });
    pump.start();
    for (int i = 0; i < 100; ++i)
        pump.enqueue("CMD_n+");
    int handledFirst = -1;
    QTimer::singleShot(0, this, [&] { handledFirst = handled; });
    QTRY_COMPARE(handled, 100);
    QVERIFY2(handledFirst > 0 && handledFirst <= MessagePump::DrainSliceMs / 5 + 1,
             qPrintable(QString::number(handledFirst)));
    QCOMPARE(pump.queuedBytes(), 0);
}

QTEST_GUILESS_MAIN(TestMessagePump)
#include "tst_messagepump.moc"
