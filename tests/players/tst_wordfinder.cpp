// The word finder against a plain scan of the same list: every word whose
// letters fit in the hand, and no other.

#include "players/wordfinder.h"

#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>

using namespace zwonky;

namespace {

bool spells(const QString &hand, const QString &word)
{
    LetterCounts left = countLetters(hand);
    for (QChar c : word) {
        const int i = c.unicode() - u'A';
        if (i < 0 || i >= 26 || left[std::size_t(i)] == 0)
            return false;
        --left[std::size_t(i)];
    }
    return true;
}

QStringList bruteForce(const QStringList &list, const QString &hand)
{
    QStringList found;
    for (const QString &word : list) {
        if (word.size() >= 3 && word.size() <= 10 && spells(hand, word) && !found.contains(word))
            found.append(word);
    }
    std::sort(found.begin(), found.end(), [](const QString &a, const QString &b) {
        return a.size() != b.size() ? a.size() > b.size() : a < b;
    });
    return found;
}

QString randomText(QRandomGenerator &random, int length, const QString &alphabet)
{
    QString text;
    for (int i = 0; i < length; ++i)
        text += alphabet.at(random.bounded(int(alphabet.size())));
    return text;
}

QByteArray record(const QByteArray &word)
{
    QByteArray r(1, 0x1E);
    r += word.leftJustified(14, ' ', true);
    return r;
}

} // namespace

class TestWordFinder : public QObject
{
    Q_OBJECT
private slots:
    void findsExactlyWhatAScanFinds_data();
    void findsExactlyWhatAScanFinds();
    void repeatsNeedAsManyLettersInHand();
    void keepsOnlyWordsOfThreeToTenLetters();
    void readsRecordsOfTheListFormat();
    void builtInListAgreesWithAScan();
};

void TestWordFinder::findsExactlyWhatAScanFinds_data()
{
    QTest::addColumn<int>("handSize");
    QTest::addColumn<QString>("alphabet");
    QTest::newRow("10 letters, few kinds (many repeats)") << 10 << QStringLiteral("AEST");
    QTest::newRow("13 letters, few kinds") << 13 << QStringLiteral("AEIRST");
    QTest::newRow("10 letters, whole alphabet") << 10 << QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    QTest::newRow("13 letters, half the alphabet") << 13 << QStringLiteral("ABCDEFGHIJKLM");
}

void TestWordFinder::findsExactlyWhatAScanFinds()
{
    QFETCH(int, handSize);
    QFETCH(QString, alphabet);
    QRandomGenerator random(77 + handSize);
    // Words of 1 to 14 letters: those outside 3-10 and those needing more
    // letters than the hand holds must never come back.
    QStringList list;
    for (int i = 0; i < 3000; ++i)
        list.append(randomText(random, 1 + random.bounded(14), alphabet));
    const WordFinder finder(list);
    int nonEmpty = 0;
    for (int round = 0; round < 200; ++round) {
        const QString hand = randomText(random, handSize, alphabet);
        const QStringList expected = bruteForce(list, hand);
        nonEmpty += expected.isEmpty() ? 0 : 1;
        QCOMPARE(finder.find(hand), expected);
    }
    QVERIFY(nonEmpty > 50); // the hands do find words
}

void TestWordFinder::repeatsNeedAsManyLettersInHand()
{
    const WordFinder finder({QStringLiteral("EEL"), QStringLiteral("EERIE"), QStringLiteral("LEE"),
                             QStringLiteral("REEL"), QStringLiteral("ERE")});
    QCOMPARE(finder.find(QStringLiteral("ELRXXXXXXX")), QStringList());
    QCOMPARE(finder.find(QStringLiteral("EELRXXXXXX")),
             (QStringList{QStringLiteral("REEL"), QStringLiteral("EEL"), QStringLiteral("ERE"),
                          QStringLiteral("LEE")}));
    QCOMPARE(finder.find(QStringLiteral("EEEIRLXXXXXXX")).first(), QStringLiteral("EERIE"));
}

void TestWordFinder::keepsOnlyWordsOfThreeToTenLetters()
{
    const WordFinder finder({QStringLiteral("at"), QStringLiteral("cat"), QStringLiteral("Cat"),
                             QStringLiteral("CATALOGUES"), QStringLiteral("CATALOGUESX"),
                             QStringLiteral("CAN'T"), QStringLiteral("CAFÉ")});
    QCOMPARE(finder.size(), 2);
    QCOMPARE(finder.find(QStringLiteral("CATALOGUESXYZ")),
             (QStringList{QStringLiteral("CATALOGUES"), QStringLiteral("CAT")}));
}

void TestWordFinder::readsRecordsOfTheListFormat()
{
    QByteArray records = record("ANT") + record("ANTS") + record("A-Z") + record("TANS");
    QByteArray broken = record("NEST");
    broken[0] = 'X';
    records += broken + record("TEN").left(9); // a record cut short at the end
    const WordFinder finder = WordFinder::fromRecords(records);
    QCOMPARE(finder.size(), 3);
    QCOMPARE(finder.find(QStringLiteral("STANEXXXXX")),
             (QStringList{QStringLiteral("ANTS"), QStringLiteral("TANS"), QStringLiteral("ANT")}));
}

void TestWordFinder::builtInListAgreesWithAScan()
{
    const WordFinder &finder = WordFinder::builtIn();
    QVERIFY(finder.size() > 100000);
    QStringList list;
    list.reserve(finder.size());
    for (int i = 0; i < finder.size(); ++i)
        list.append(finder.word(std::uint32_t(i)));
    QRandomGenerator random(5);
    const QString dice = QStringLiteral("AEIOUAEIRSTLNMPDGBCHKWYFVJXQZ");
    for (int round = 0; round < 6; ++round) {
        const QString hand = randomText(random, round % 2 ? 13 : 10, dice);
        QCOMPARE(finder.find(hand), bruteForce(list, hand));
    }
    QVERIFY(finder.find(QStringLiteral("CATSXXXXXX")).contains(QStringLiteral("CATS")));
}

QTEST_GUILESS_MAIN(TestWordFinder)
#include "tst_wordfinder.moc"
