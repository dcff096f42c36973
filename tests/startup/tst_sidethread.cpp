// The side thread runs its work before its end is waited for, and hands the
// work every core its maker may use, whatever core it was started on.
#include "startup/sidethread.h"

#include <QTest>

#include <atomic>
#include <sched.h>

namespace {

cpu_set_t coresOfThisThread()
{
    cpu_set_t cores;
    CPU_ZERO(&cores);
    sched_getaffinity(0, sizeof cores, &cores);
    return cores;
}

// Runs `body` with the calling thread allowed only `cores`, then gives the
// thread its own cores back.
template <typename Body>
void withCores(const cpu_set_t &cores, Body body)
{
    const cpu_set_t own = coresOfThisThread();
    QCOMPARE(sched_setaffinity(0, sizeof cores, &cores), 0);
    body();
    sched_setaffinity(0, sizeof own, &own);
}

} // namespace

class TestSideThread : public QObject
{
    Q_OBJECT

private slots:
    void workRunsWithTheMakersCores_data()
    {
        QTest::addColumn<bool>("oneCore");
        QTest::newRow("every core of the process") << false;
        // No other core to start on: an ordinary thread.
        QTest::newRow("maker kept to one core") << true;
    }

    void workRunsWithTheMakersCores()
    {
        QFETCH(bool, oneCore);
        cpu_set_t cores = coresOfThisThread();
        if (oneCore) {
            CPU_ZERO(&cores);
            CPU_SET(sched_getcpu(), &cores);
        }
        withCores(cores, [&cores] {
            std::atomic<bool> ran = false;
            cpu_set_t seen;
            CPU_ZERO(&seen);
            {
                zwonky::SideThread thread([&] {
                    sched_getaffinity(0, sizeof seen, &seen);
                    ran = true;
                });
            }
            QVERIFY(ran);
            QVERIFY(CPU_EQUAL(&seen, &cores));
        });
    }
};

QTEST_GUILESS_MAIN(TestSideThread)
#include "tst_sidethread.moc"
