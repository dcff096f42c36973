// The words a computer player chooses: every plan passes the host's rules
// word after word, and the plan makes the most of what the rules leave.

#include "players/playerlevel.h"
#include "players/wordchoice.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace zwonky;

namespace {

QStringList split(const char *words) { return QString::fromLatin1(words).split(QLatin1Char(' ')); }

WordBoxes boxesOf(const QStringList &words)
{
    WordBoxes boxes;
    for (const QString &w : words)
        boxes.store(w);
    return boxes;
}

// The host's judging of the plan, one submission after another.
QString firstRefused(const QStringList &plan, WordBoxes made, bool zwonked)
{
    for (const QString &word : plan) {
        const Verdict v = judgeWord(word, zwonked, made, [](const QString &) { return true; });
        if (!v.accepted)
            return word + v.reason;
        made.store(word);
    }
    return {};
}

} // namespace

class TestWordChoice : public QObject
{
    Q_OBJECT
private slots:
    void leavesOutWhatTheRulesRefuse_data();
    void leavesOutWhatTheRulesRefuse();
    void keepsTheSingularFreeWhenItCan();
    void longestWordsComeFirstAndTenLetterWordsStopAtThree();
    void randomPlansPassTheHostsRules();
    void diceSpellTheWordFromTheHand();
    void layingStopsWhenTheTimeIsSpent();
    void levelsAreNamedAndHeldToTheirRange();
};

void TestWordChoice::leavesOutWhatTheRulesRefuse_data()
{
    QTest::addColumn<QStringList>("found");
    QTest::addColumn<QStringList>("made");
    QTest::addColumn<bool>("zwonked");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("a word already made") << split("CAT DOG") << split("CAT") << false << split("DOG");
    QTest::newRow("plural after its singular") << split("CATS DOGS") << split("CAT") << false
                                                << split("DOGS");
    QTest::newRow("singular after its plural") << split("CAT DOG") << split("CATS") << false
                                                << split("DOG");
    QTest::newRow("singular and plural both found: one of them")
        << split("CAT CATS") << QStringList() << false << split("CATS");
    QTest::newRow("box full") << split("ABLE BAKE CAKE DAME")
                              << split("EARL FAME GAME HAME IDLE") << false << QStringList();
    QTest::newRow("five per length at most")
        << split("ABLE BAKE CAKE DAME EARL FAME GAME") << QStringList() << false
        << split("ABLE BAKE CAKE DAME EARL");
    QTest::newRow("zwonked: no 3-letter words") << split("CAT DOGS") << QStringList() << true
                                                << split("DOGS");
    QTest::newRow("not zwonked: 3-letter words count") << split("CAT DOGS") << QStringList()
                                                       << false << split("DOGS CAT");
    QTest::newRow("NEEDLES and NEEDLESS are two words")
        << split("NEEDLESS NEEDLES NEEDLE") << QStringList() << false
        << split("NEEDLESS NEEDLES");
}

void TestWordChoice::leavesOutWhatTheRulesRefuse()
{
    QFETCH(QStringList, found);
    QFETCH(QStringList, made);
    QFETCH(bool, zwonked);
    QFETCH(QStringList, expected);
    const QStringList plan = bestWords(found, boxesOf(made), zwonked);
    QCOMPARE(plan, expected);
    QCOMPARE(firstRefused(plan, boxesOf(made), zwonked), QString());
}

void TestWordChoice::keepsTheSingularFreeWhenItCan()
{
    // Six 4-letter words for five boxes: the one dropped is a plural whose
    // singular can score among the 3-letter words instead.
    const QStringList found = split("TAPS TIPS TOPS TUBS BARK DARK TAP TIP");
    const QStringList plan = bestWords(found, WordBoxes(), false);
    QCOMPARE(plan.size(), 6);
    QCOMPARE(planScore(plan, WordBoxes(), false).wordPoints, 200 + 60);
    QCOMPARE(firstRefused(plan, WordBoxes(), false), QString());
}

void TestWordChoice::longestWordsComeFirstAndTenLetterWordsStopAtThree()
{
    const QStringList found = split("ABCDEFGHIJ BCDEFGHIJA CDEFGHIJAB DEFGHIJABC EFGHIJABCD CAT "
                                    "ABCDEFGHI");
    const QStringList plan = bestWords(found, WordBoxes(), false);
    QCOMPARE(plan, split("ABCDEFGHIJ BCDEFGHIJA CDEFGHIJAB ABCDEFGHI CAT"));
    QCOMPARE(planScore(plan, WordBoxes(), false).wordPoints, 5000 + 1000 + 60);
}

void TestWordChoice::randomPlansPassTheHostsRules()
{
    // Word lists full of singular and plural pairs, with a few words made.
    QRandomGenerator random(11);
    for (int round = 0; round < 100; ++round) {
        QStringList found;
        for (int i = 0; i < 40; ++i) {
            QString stem;
            const int length = 3 + random.bounded(7);
            for (int k = 0; k < length; ++k)
                stem += QChar(u'A' + random.bounded(3));
            found.append(stem);
            if (random.bounded(2))
                found.append(stem + QLatin1Char('S'));
        }
        found.removeDuplicates();
        const bool zwonked = round % 3 == 0;
        const WordBoxes made = boxesOf(found.mid(0, round % 4));
        const QStringList best = bestWords(found, made, zwonked);
        // The plain choice, lengths from the longest down, in word order.
        QStringList greedy;
        WordBoxes boxes = made;
        for (int length = 10; length >= 3; --length)
            for (const QString &w : found)
                if (w.size() == length && boxes.count(length) < (length == 10 ? 3 : 5)
                    && judgeWord(w, zwonked, boxes, [](const QString &) { return true; }).accepted) {
                    boxes.store(w);
                    greedy.append(w);
                }
        QCOMPARE(firstRefused(best, made, zwonked), QString());
        // Leaving plurals out is only ever kept when it gains.
        QVERIFY(planScore(best, made, zwonked).change >= planScore(greedy, made, zwonked).change);
        for (int level = LowestLevel; level <= HighestLevel; ++level) {
            const QStringList mine = levelWords(found, made, zwonked, playerLevel(level).sight, random);
            QCOMPARE(firstRefused(mine, made, zwonked), QString());
            for (const QString &w : mine)
                QVERIFY(found.contains(w));
        }
    }
}

void TestWordChoice::diceSpellTheWordFromTheHand()
{
    const QStringList hand = split("E R E L X Q E A B C D F G");
    QCOMPARE(diceForWord(QStringLiteral("REEL"), hand), (QList<int>{2, 1, 3, 4}));
    QCOMPARE(diceForWord(QStringLiteral("EERIE"), hand), QList<int>()); // no I
    QCOMPARE(diceForWord(QStringLiteral("EEEE"), hand), QList<int>());  // three Es only
    QCOMPARE(diceForWord(QStringLiteral("BAD"), hand), (QList<int>{9, 8, 11}));
}

void TestWordChoice::layingStopsWhenTheTimeIsSpent()
{
    PlayerLevel level;
    level.thinkMs = 1000;
    level.perTileMs = 500;
    const QStringList words = split("ABCD ABC ABCDE");
    QCOMPARE(layingTimeMs(QStringLiteral("ABCD"), level), 3000);
    QCOMPARE(wordsWithin(words, level, 5499), split("ABCD"));
    QCOMPARE(wordsWithin(words, level, 5500), split("ABCD ABC"));
    QCOMPARE(wordsWithin(words, level, 100000), words);
}

void TestWordChoice::levelsAreNamedAndHeldToTheirRange()
{
    const QStringList names{levelName(1), levelName(2), levelName(3), levelName(4), levelName(5)};
    QCOMPARE(names, split("Beginner Casual Average Strong Expert"));
    QCOMPARE(levelName(0), QStringLiteral("Beginner"));
    QCOMPARE(levelName(9), QStringLiteral("Expert"));
    for (int n = 2; n <= 5; ++n) {
        QVERIFY(playerLevel(n).sight > playerLevel(n - 1).sight);
        QVERIFY(playerLevel(n).perTileMs < playerLevel(n - 1).perTileMs);
    }
}

QTEST_GUILESS_MAIN(TestWordChoice)
#include "tst_wordchoice.moc"
