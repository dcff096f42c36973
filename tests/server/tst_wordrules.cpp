#include "server/letterdice.h"
#include "server/wordrules.h"

#include <QSet>
#include <QTest>

using namespace zwonky;

class TestWordRules : public QObject
{
    Q_OBJECT
private slots:
    void judge_data();
    void judge();
    void shortWordNeedsNoLookup();
    void hand_data();
    void hand();
    void wordFromDiceUsesDieNumbers();
    void boxesFillInOrder();
    void diceFacesAsTabled();
};

void TestWordRules::judge_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<bool>("zwonked");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("reason"); // empty: accepted

    const QStringList none;
    QTest::newRow("plain word") << none << false << "CAT" << "";
    QTest::newRow("two letters") << none << false << "AT" << "+ Rejected";
    QTest::newRow("eleven letters") << none << false << "ABCDEFGHIJK" << "+ Rejected";
    QTest::newRow("zwonked three") << none << true << "CAT" << "+ Rejected";
    QTest::newRow("zwonked four") << none << true << "CATS" << "";
    QTest::newRow("not a word") << none << false << "QZX" << "+ Rejected";
    QTest::newRow("made twice") << QStringList{"CAT"} << false << "CAT" << "+ Rejected. Word Exists";
    QTest::newRow("singular after plural")
        << QStringList{"CATS"} << false << "CAT" << "+ Rejected. Plural form exists";
    QTest::newRow("plural after singular")
        << QStringList{"CAT"} << false << "CATS" << "+ Rejected. Singular form exists";
    QTest::newRow("other player's words are not his")
        << QStringList{"DOGS"} << false << "CAT" << "";
    QTest::newRow("ten letters never look for a plural")
        << QStringList{"STRENGTHENS"} << false << "STRENGTHEN" << "";
    QTest::newRow("sixth four-letter word")
        << QStringList{"BARK", "DARK", "LARK", "MARK", "PARK"} << false << "WORK"
        << "+ 4 letter box full!";
    QTest::newRow("sixth six-letter word")
        << QStringList{"BANTER", "CANTER", "RANTER", "WANTER", "GARTER"} << false << "HARTER"
        << "+ 6 letter box full!";
    QTest::newRow("word exists before box full")
        << QStringList{"BARK", "DARK", "LARK", "MARK", "PARK"} << false << "PARK"
        << "+ Rejected. Word Exists";
    // NEEDLES and NEEDLESS are different words, in either order.
    QTest::newRow("needless after needles") << QStringList{"NEEDLES"} << false << "NEEDLESS" << "";
    QTest::newRow("needles after needless") << QStringList{"NEEDLESS"} << false << "NEEDLES" << "";
    QTest::newRow("needles after needle")
        << QStringList{"NEEDLE"} << false << "NEEDLES" << "+ Rejected. Singular form exists";
    QTest::newRow("needle after needles")
        << QStringList{"NEEDLES"} << false << "NEEDLE" << "+ Rejected. Plural form exists";
}

void TestWordRules::judge()
{
    QFETCH(QStringList, before);
    QFETCH(bool, zwonked);
    QFETCH(QString, word);
    QFETCH(QString, reason);

    const QSet<QString> dictionary = {"CAT", "CATS", "DOGS", "BARK", "DARK", "LARK", "MARK",
                                      "PARK", "WORK", "BANTER", "CANTER", "RANTER", "WANTER",
                                      "GARTER", "HARTER", "NEEDLE", "NEEDLES", "NEEDLESS",
                                      "STRENGTHEN", "STRENGTHENS", "ABCDEFGHIJK", "AT"};
    const WordChecker isWord = [&](const QString &w) { return dictionary.contains(w); };
    WordBoxes boxes;
    for (const QString &w : before)
        QVERIFY(boxes.store(w) || w.size() > MaxWordLength);
    const Verdict verdict = judgeWord(word, zwonked, boxes, isWord);
    QCOMPARE(verdict.accepted, reason.isEmpty());
    QCOMPARE(verdict.reason, reason);
}

void TestWordRules::shortWordNeedsNoLookup()
{
    int lookups = 0;
    const WordChecker isWord = [&](const QString &) {
        ++lookups;
        return true;
    };
    WordBoxes boxes;
    QCOMPARE(judgeWord("AT", false, boxes, isWord).reason, QString("+ Rejected"));
    QCOMPARE(judgeWord("CAT", true, boxes, isWord).reason, QString("+ Rejected"));
    QCOMPARE(lookups, 0);
    QVERIFY(judgeWord("CAT", false, boxes, isWord).accepted);
    QCOMPARE(lookups, 1);
}

void TestWordRules::hand_data()
{
    QTest::addColumn<QList<int>>("dice");
    QTest::addColumn<int>("hand");
    QTest::addColumn<bool>("fits");

    QTest::newRow("three distinct") << QList<int>{5, 1, 7} << 10 << true;
    QTest::newRow("all ten") << QList<int>{10, 9, 8, 7, 6, 5, 4, 3, 2, 1} << 10 << true;
    QTest::newRow("die named twice") << QList<int>{1, 2, 1} << 10 << false;
    QTest::newRow("die eleven in a hand of ten") << QList<int>{1, 2, 11} << 10 << false;
    QTest::newRow("die thirteen when zwonked") << QList<int>{13, 12, 11} << 13 << true;
    QTest::newRow("die zero") << QList<int>{0, 1, 2} << 13 << false;
    QTest::newRow("die fourteen") << QList<int>{1, 2, 14} << 13 << false;
    QTest::newRow("negative die") << QList<int>{-1, 1, 2} << 13 << false;
    QTest::newRow("no dice") << QList<int>{} << 10 << true;
}

void TestWordRules::hand()
{
    QFETCH(QList<int>, dice);
    QFETCH(int, hand);
    QFETCH(bool, fits);
    QCOMPARE(diceFitHand(dice, hand), fits);
}

void TestWordRules::wordFromDiceUsesDieNumbers()
{
    const QStringList set = {"W", "E", "T", "E", "U", "O", "S", "T", "R", "Q", "S", "D", "B"};
    QCOMPARE(wordFromDice({3, 6, 9, 7}, set), QString("TORS"));
    QCOMPARE(wordFromDice({13, 2, 12}, set), QString("BED"));
    // Out of the set: nothing read, nothing added.
    QCOMPARE(wordFromDice({0, 1, 14, -3, 99999}, set), QString("W"));
}

void TestWordRules::boxesFillInOrder()
{
    WordBoxes boxes;
    for (const char *w : {"ONE", "TWO", "SIX", "TEN", "BOX"})
        QVERIFY(boxes.store(w));
    QVERIFY(!boxes.store("CAN"));
    QCOMPARE(boxes.words(3), QStringList({"ONE", "TWO", "SIX", "TEN", "BOX"}));
    QVERIFY(boxes.isFull(3));
    QVERIFY(!boxes.store("AB"));
    QVERIFY(!boxes.store("ABCDEFGHIJK"));
    boxes.clear();
    QCOMPARE(boxes.count(3), 0);
}

void TestWordRules::diceFacesAsTabled()
{
    QCOMPARE(QString(dieFaces(1)), QString("WMPOOO"));
    QCOMPARE(QString(dieFaces(10)), QString("VZJXQE"));
    QCOMPARE(QString(dieFaces(13)), QString("BFNLPH"));
    QCOMPARE(QString(dieFaces(0)), QString());
    QRandomGenerator random(11);
    for (int roll = 0; roll < 200; ++roll) {
        const QStringList set = rollAllDice(random);
        QCOMPARE(set.size(), 13);
        for (int die = 1; die <= 13; ++die)
            QVERIFY(QString(dieFaces(die)).contains(set[die - 1]));
    }
}

QTEST_GUILESS_MAIN(TestWordRules)
#include "tst_wordrules.moc"
