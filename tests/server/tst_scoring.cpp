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
    void winner_data();
    void winner();
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

// Seats 1-6 as (open, score) pairs; partner pairs 1-3 and 2-4 when team.
void TestScoring::winner_data()
{
    QTest::addColumn<QList<int>>("scores");  // -1: seat not open, score 0
    QTest::addColumn<QList<int>>("closedScores"); // scores of closed seats
    QTest::addColumn<bool>("team");
    QTest::addColumn<int>("playTo");
    QTest::addColumn<int>("winner");
    const QList<int> none;
    QTest::newRow("nobody there yet") << QList<int>{40, 10, -1, -1, -1, -1} << none << false
                                      << 50 << 0;
    QTest::newRow("exactly the play-to score") << QList<int>{50, 10, -1, -1, -1, -1} << none
                                               << false << 50 << 1;
    QTest::newRow("highest of two above") << QList<int>{60, 70, -1, -1, -1, -1} << none << false
                                          << 50 << 2;
    QTest::newRow("tie at the top") << QList<int>{70, 70, 10, -1, -1, -1} << none << false << 50
                                    << 0;
    QTest::newRow("tie below the winner is no tie") << QList<int>{80, 60, 60, -1, -1, -1} << none
                                                    << false << 50 << 1;
    QTest::newRow("a closed seat's equal score still ties")
        << QList<int>{70, 10, -1, -1, -1, -1} << QList<int>{0, 0, 70, 0, 0, 0} << false << 50
        << 0;
    QTest::newRow("a closed seat never wins")
        << QList<int>{10, 10, -1, -1, -1, -1} << QList<int>{0, 0, 90, 0, 0, 0} << false << 50
        << 0;
    QTest::newRow("team: partner shares the score") << QList<int>{70, 10, 70, 10, 0, 0} << none
                                                    << true << 50 << 1;
    QTest::newRow("team: the other pair ties") << QList<int>{70, 70, 70, 70, 0, 0} << none << true
                                               << 50 << 0;
    QTest::newRow("team: seat 5 ties the pair") << QList<int>{70, 10, 70, 10, 70, 0} << none
                                                << true << 50 << 0;
    QTest::newRow("no team: partners are rivals") << QList<int>{70, 10, 70, 10, 0, 0} << none
                                                  << false << 50 << 0;
}

void TestScoring::winner()
{
    QFETCH(QList<int>, scores);
    QFETCH(QList<int>, closedScores);
    QFETCH(bool, team);
    QFETCH(int, playTo);
    QFETCH(int, winner);
    Standings seats;
    const int partners[] = {0, 3, 4, 1, 2, 0, 0};
    for (int i = 1; i <= 6; ++i) {
        Standing &s = seats[std::size_t(i)];
        s.open = scores[i - 1] >= 0;
        s.score = s.open ? scores[i - 1] : closedScores.value(i - 1);
        s.partner = team ? partners[i] : 0;
    }
    QCOMPARE(winningSeat(seats, playTo), winner);
}

QTEST_GUILESS_MAIN(TestScoring)
#include "tst_scoring.moc"
