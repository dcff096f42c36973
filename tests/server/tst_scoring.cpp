#include "server/scoring.h"

#include <QTest>

using namespace zwonky;

namespace {
// Fills count boxes of a length with distinct words.
void fill(WordBoxes &boxes, int length, int count)
{
    for (int i = 0; i < count; ++i)
        QVERIFY(boxes.store(QString(length - 1, QLatin1Char('A')) + QChar('A' + i)));
}
} // namespace

class TestScoring : public QObject
{
    Q_OBJECT
private slots:
    void pointsPerCount_data();
    void pointsPerCount();
    void turn_data();
    void turn();
};

void TestScoring::pointsPerCount_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("points");
    QTest::newRow("no words") << 5 << 0 << 0;
    QTest::newRow("one three") << 3 << 1 << 60;
    QTest::newRow("five threes") << 3 << 5 << 100;
    QTest::newRow("two fives") << 5 << 2 << 250;
    QTest::newRow("four sevens") << 7 << 4 << 950;
    QTest::newRow("five eights") << 8 << 5 << 1750;
    QTest::newRow("three nines") << 9 << 3 << 2000;
    QTest::newRow("two tens") << 10 << 2 << 3000;
    QTest::newRow("three tens") << 10 << 3 << 5000;
    QTest::newRow("five tens stay at 5000") << 10 << 5 << 5000;
    QTest::newRow("no row for two letters") << 2 << 1 << 0;
    QTest::newRow("no sixth box") << 4 << 6 << 0;
}

void TestScoring::pointsPerCount()
{
    QFETCH(int, length);
    QFETCH(int, count);
    QFETCH(int, points);
    QCOMPARE(scoreForCount(length, count), points);
}

void TestScoring::turn_data()
{
    QTest::addColumn<QList<int>>("counts"); // words of lengths 3..10
    QTest::addColumn<bool>("zwonked");
    QTest::addColumn<int>("wordPoints");
    QTest::addColumn<int>("bonus");
    QTest::addColumn<int>("words");
    QTest::addColumn<int>("change");

    QTest::newRow("nothing") << QList<int>{0, 0, 0, 0, 0, 0, 0, 0} << false << 0 << 0 << 0 << 0;
    QTest::newRow("five threes and five fours make 600")
        << QList<int>{5, 5, 0, 0, 0, 0, 0, 0} << false << 300 << 300 << 10 << 600;
    QTest::newRow("full three to eight: every bonus")
        << QList<int>{5, 5, 5, 5, 5, 5, 0, 0} << false << 4250 << 4650 << 30 << 8900;
    QTest::newRow("full nine and ten earn no bonus")
        << QList<int>{0, 0, 0, 0, 0, 0, 5, 5} << false << 8000 << 0 << 10 << 8000;
    QTest::newRow("zwonked at 450 loses 500")
        << QList<int>{0, 5, 2, 0, 0, 0, 0, 0} << true << 450 << -500 << 7 << -500;
    QTest::newRow("zwonked at 500 keeps it")
        << QList<int>{0, 0, 0, 1, 1, 0, 0, 0} << true << 800 << 0 << 2 << 800;
    QTest::newRow("zwonked below 500 loses the bonus too")
        << QList<int>{5, 5, 0, 0, 0, 0, 0, 0} << true << 300 << -500 << 10 << -500;
    QTest::newRow("not zwonked at 450 keeps it")
        << QList<int>{0, 5, 2, 0, 0, 0, 0, 0} << false << 450 << 0 << 7 << 450;
}

void TestScoring::turn()
{
    QFETCH(QList<int>, counts);
    QFETCH(bool, zwonked);
    WordBoxes boxes;
    for (int i = 0; i < counts.size(); ++i)
        fill(boxes, i + 3, counts[i]);
    const TurnScore score = scoreTurn(boxes, zwonked);
    QTEST(score.wordPoints, "wordPoints");
    QTEST(score.bonus, "bonus");
    QTEST(score.wordCount, "words");
    QTEST(score.change, "change");
}

QTEST_GUILESS_MAIN(TestScoring)
#include "tst_scoring.moc"
