// Window bounds from stored numbers: held inside the screen's free area,
// never below the minimum, for any int a file can hold.

#include "client/windowbounds.h"

#include <QTest>

#include <climits>

class TestWindowBounds : public QObject
{
    Q_OBJECT
private slots:
    void held_data();
    void held();
};

void TestWindowBounds::held_data()
{
    QTest::addColumn<QList<int>>("stored"); // left, top, width, height
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QRect>("bounds");

    const QRect screen(0, 0, 1920, 1040);
    const QRect right(1920, 0, 1280, 1024); // a second screen right of the first
    QTest::newRow("fits") << QList<int>{3, 3, 795, 568} << screen << QRect(3, 3, 795, 568);
    QTest::newRow("100000 square") << QList<int>{3, 3, 100000, 100000} << screen
                                   << QRect(0, 0, 1920, 1040);
    QTest::newRow("int limits") << QList<int>{INT_MAX, INT_MIN, INT_MAX, INT_MAX} << screen
                                << QRect(0, 0, 1920, 1040);
    QTest::newRow("far right, far up") << QList<int>{INT_MAX, INT_MIN, 795, 568} << screen
                                       << QRect(1125, 0, 795, 568);
    QTest::newRow("negative size") << QList<int>{10, 10, -100, INT_MIN} << screen
                                   << QRect(10, 10, 700, 500);
    QTest::newRow("hanging over the edge") << QList<int>{1500, 900, 795, 568} << screen
                                           << QRect(1125, 472, 795, 568);
    QTest::newRow("second screen") << QList<int>{2000, 100, 900, 600} << right
                                   << QRect(2000, 100, 900, 600);
    QTest::newRow("left of the second screen") << QList<int>{5, 100, 900, 600} << right
                                               << QRect(1920, 100, 900, 600);
    // A screen smaller than the minimum: the minimum wins, at the corner.
    QTest::newRow("tiny screen") << QList<int>{50, 50, 900, 700} << QRect(0, 0, 640, 480)
                                 << QRect(0, 0, 700, 500);
}

void TestWindowBounds::held()
{
    QFETCH(QList<int>, stored);
    QFETCH(QRect, available);
    QFETCH(QRect, bounds);
    QCOMPARE(zwonky::boundsOnScreen(stored[0], stored[1], stored[2], stored[3], available,
                                    QSize(700, 500)),
             bounds);
}

QTEST_APPLESS_MAIN(TestWindowBounds)
#include "tst_windowbounds.moc"
