// The read-out of a turn: word columns and their points preview, the score
// board and announcement bar, the newcomer's catch-up, the fast-game panel.

#include "traytesttable.h"

#include "client/wordboard.h"
#include "client/wordcolumn.h"
#include "client/wordlistpanel.h"
#include "widgets/fittinglabel.h"

#include <QLabel>
#include <QListWidget>
#include <QPaintEvent>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <climits>

using namespace zwonky;
using namespace zwonky::testing;

namespace {

QStringList tenLetters() { return QString("ABCDEFGHIJ").split(QString(), Qt::SkipEmptyParts); }

const QColor Silver(0xC0, 0xC0, 0xC0);
const QColor Green(0x00, 0x80, 0x00);
const QColor Red(0xA0, 0x00, 0x00);

} // namespace

class TestChatformBoard : public QObject
{
    Q_OBJECT

private:
    QString caption(TrayTable &table, const QString &name)
    {
        table.window.wordBoard().wordLists().ensureBuilt();
        auto *label = table.find<QLabel>(name);
        return label ? label->text() : QStringLiteral("<no %1>").arg(name);
    }
    QStringList entries(TrayTable &table, int seat)
    {
        QStringList list;
        table.window.wordBoard().wordLists().ensureBuilt();
        auto *box = table.find<QListWidget>(QStringLiteral("listbox_words%1").arg(seat));
        for (int row = 0; box && row < box->count(); ++row)
            list << box->item(row)->text();
        return list;
    }

private slots:
    void previewAddsUpTheColumns();
    void previewComesFromTheWordsNotTheCaptions();
    void fastGamePreviewCountsOnlyTheOwnWords();
    void previewByCount_data();
    void previewByCount();
    void fifthWordFillsTheColumn();
    void newTurnEmptiesColumnsAndPreview();
    void zwonkedDealClosesThreeLetterColumn();
    void turnResult_data();
    void turnResult();
    void turnResultOfAnyNameAndSize_data();
    void turnResultOfAnyNameAndSize();
    void rowsAtTheirPlaces();
    void lengthMarkGoesWithTheFirstWord();
    void fastGameResultOfAnotherSeat();
    void partnerScoreIsWrittenFirst();
    void highestTurnScoreGoesToTheTally();
    void hostileScoreNumbers();
    void scoresStopTheClock();
    void newcomerStats_data();
    void newcomerStats();
    void catchUpScores();
    void wordPanelOrdersByLength();
    void wordPanelClearsAndCloses();
    void wordPanelAtTurnEnd();
};

void TestChatformBoard::previewAddsUpTheColumns()
{
    TrayTable table;
    QVERIFY(table.seat(2));
    table.startTurn(3, tenLetters(), QStringLiteral("false"));
    for (const char *word : {"CAKE", "BEAD", "FACE"})
        table.feed(protocol::accepted(4, QString::fromLatin1(word)));
    table.feed(protocol::accepted(7, QStringLiteral("EXAMPLE")));
    QCOMPARE(caption(table, "label_memo4"), QStringLiteral("160"));
    QCOMPARE(caption(table, "label_memo7"), QStringLiteral("500"));
    QCOMPARE(caption(table, "label_memo3"), QStringLiteral("0"));
    QCOMPARE(caption(table, "label_thesum"), QStringLiteral("Current: 660"));
    QCOMPARE(table.window.wordBoard().wordColumn(4)->words(), (QStringList{"CAKE", "BEAD", "FACE"}));
    QCOMPARE(table.window.wordBoard().wordColumn(4)->fontColour(), Green);
}

void TestChatformBoard::previewComesFromTheWordsNotTheCaptions()
{
    TrayTable table;
    QVERIFY(table.seat(2));
    table.startTurn(3, tenLetters(), QStringLiteral("false"));
    const WordBoard &board = table.window.wordBoard();
    table.feed(protocol::accepted(4, QStringLiteral("CAKE")));
    table.feed(protocol::accepted(4, QStringLiteral("BEAD")));
    // Captions are only shown: spoiling them changes no sum that follows.
    table.find<QLabel>(QStringLiteral("label_memo4"))->setText(QStringLiteral("x"));
    table.find<QLabel>(QStringLiteral("label_memo3"))->setText(QStringLiteral("999"));
    table.feed(protocol::accepted(5, QStringLiteral("CRANE")));
    QCOMPARE(caption(table, "label_memo4"), QStringLiteral("140"));
    QCOMPARE(caption(table, "label_memo3"), QStringLiteral("0"));
    QCOMPARE(caption(table, "label_thesum"), QStringLiteral("Current: 340"));
    QCOMPARE(board.preview(4), 140);
    QCOMPARE(board.preview(5), 200);
    QCOMPARE(board.previewTotal(), 340);
    QCOMPARE(table.window.session().words().count(3, 4), 2);

    // A length without a column files nothing and changes no preview.
    table.feed(protocol::accepted(11, QStringLiteral("ABCDEFGHIJK")));
    table.feed(QByteArray("CMD_accepted+2+AB"));
    QCOMPARE(board.previewTotal(), 340);
    QCOMPARE(caption(table, "label_thesum"), QStringLiteral("Current: 340"));
}

void TestChatformBoard::fastGamePreviewCountsOnlyTheOwnWords()
{
    // In a fast game the columns show the own words; the others' words come
    // to the word-list panel and are no part of the preview.
    TrayTable table;
    QVERIFY(table.seat(1));
    table.feed(protocol::newPlayerInfo(2, QStringLiteral("Bo")));
    table.startTurn(1, tenLetters(), QStringLiteral("false"), true, 90, true);
    table.feed(protocol::accepted(4, QStringLiteral("CAKE")));
    table.feed(protocol::addAWord(1, 4, QStringLiteral("CAKE")));
    for (const char *word : {"BEAD", "FACE", "DEAF", "FADE", "CAFE"})
        table.feed(protocol::addAWord(2, 4, QString::fromLatin1(word)));
    QCOMPARE(caption(table, "label_memo4"), QStringLiteral("120"));
    QCOMPARE(table.window.wordBoard().previewTotal(), 120);
    QCOMPARE(table.window.wordBoard().wordColumn(4)->words(), QStringList{"CAKE"});
    QCOMPARE(table.window.wordBoard().wordColumn(4)->flatColour(), QColor(Qt::white));
    QVERIFY(!table.sound.clips.contains(QStringLiteral("filled")));
    QCOMPARE(entries(table, 1), QStringList{"4: CAKE"});
    QCOMPARE(caption(table, "label_count2"), QStringLiteral("5 words"));
}

void TestChatformBoard::previewByCount_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<QList<int>>("values"); // after 1..5 words
    QTest::newRow("3") << 3 << QList<int>{60, 70, 80, 90, 100};
    QTest::newRow("6") << 6 << QList<int>{300, 400, 500, 600, 700};
    QTest::newRow("9") << 9 << QList<int>{1000, 1500, 2000, 2500, 3000};
    QTest::newRow("10 has its own row") << 10 << QList<int>{1500, 3000, 5000, 5500, 5000};
}

void TestChatformBoard::previewByCount()
{
    QFETCH(int, length);
    QFETCH(QList<int>, values);
    TrayTable table;
    QVERIFY(table.seat(2));
    table.startTurn(3, tenLetters(), QStringLiteral("false"));
    for (int count = 1; count <= 5; ++count) {
        table.feed(protocol::accepted(length, QString(length, QLatin1Char('A' + count))));
        QCOMPARE(caption(table, QStringLiteral("label_memo%1").arg(length)),
                 QString::number(values[count - 1]));
        QCOMPARE(caption(table, "label_thesum"), QStringLiteral("Current: %1").arg(values[count - 1]));
    }
}

void TestChatformBoard::fifthWordFillsTheColumn()
{
    TrayTable table;
    QVERIFY(table.seat(2));
    table.startTurn(3, tenLetters(), QStringLiteral("false"));
    WordColumn *column = table.window.wordBoard().wordColumn(5);
    for (const char *word : {"CRANE", "THING", "PLANT", "BREAD"})
        table.feed(protocol::accepted(5, QString::fromLatin1(word)));
    QCOMPARE(column->flatColour(), QColor(Qt::white));
    QCOMPARE(column->fontColour(), Green);
    QVERIFY(!table.sound.clips.contains(QStringLiteral("filled")));

    table.feed(protocol::accepted(5, QStringLiteral("CHAIR")));
    QCOMPARE(column->flatColour(), Silver);
    QCOMPARE(column->focusedColour(), Silver);
    QCOMPARE(column->fontColour(), Red);
    QVERIFY(table.sound.clips.contains(QStringLiteral("filled")));
    QCOMPARE(caption(table, "label_memo5"), QStringLiteral("400"));
}

void TestChatformBoard::newTurnEmptiesColumnsAndPreview()
{
    TrayTable table;
    QVERIFY(table.seat(2));
    table.startTurn(3, tenLetters(), QStringLiteral("false"));
    table.feed(protocol::accepted(3, QStringLiteral("CAT")));
    table.feed(protocol::accepted(8, QStringLiteral("ELEPHANT")));
    QCOMPARE(caption(table, "label_thesum"), QStringLiteral("Current: 810"));

    table.feed(protocol::nextPlayer(4));
    for (int length = 3; length <= 10; ++length) {
        QCOMPARE(table.window.wordBoard().wordColumn(length)->lineCount(), 0);
        QCOMPARE(caption(table, QStringLiteral("label_memo%1").arg(length)), QStringLiteral("0"));
    }
    QCOMPARE(caption(table, "label_thesum"), QStringLiteral("Current: 0"));
}

void TestChatformBoard::zwonkedDealClosesThreeLetterColumn()
{
    TrayTable table;
    QVERIFY(table.seat(3));
    table.startTurn(3, QString("ABCDEFGHIJKLM").split(QString(), Qt::SkipEmptyParts),
                    QStringLiteral("true"));
    const QColor maroon(0x80, 0x00, 0x00);
    QCOMPARE(table.window.wordBoard().wordColumn(3)->flatColour(), maroon);
    QCOMPARE(table.window.wordBoard().wordColumn(3)->focusedColour(), maroon);
    for (int length = 4; length <= 10; ++length)
        QCOMPARE(table.window.wordBoard().wordColumn(length)->flatColour(), QColor(Qt::white));

    // A full column keeps its silver until the next deal opens it again.
    for (const char *word : {"ABCD", "BCDA", "CDAB", "DABC", "ACBD"})
        table.feed(protocol::accepted(4, QString::fromLatin1(word)));
    table.feed(protocol::nextPlayer(3));
    QCOMPARE(table.window.wordBoard().wordColumn(4)->flatColour(), Silver);
    table.feed(protocol::theDice(3, QStringLiteral("false"), tenLetters()));
    QCOMPARE(table.window.wordBoard().wordColumn(4)->flatColour(), QColor(Qt::white));
    QCOMPARE(table.window.wordBoard().wordColumn(3)->flatColour(), QColor(Qt::white));
}

void TestChatformBoard::turnResult_data()
{
    QTest::addColumn<int>("bonus");
    QTest::addColumn<QString>("bonusCaption");
    QTest::addColumn<QString>("wscore");
    QTest::addColumn<QString>("ending");
    QTest::newRow("scored") << 300 << "+750" << "for +750"
                            << "Bo Scored: 750 points! 6 words made for 450 points plus 300 bonus points!";
    QTest::newRow("zwonked and short")
        << -500 << "-500" << "for +0"
        << "Bo Lost 500 points! 6 words made for 450 points but that wasn't enough!";
}

void TestChatformBoard::turnResult()
{
    QFETCH(int, bonus);
    QFETCH(QString, bonusCaption);
    QFETCH(QString, wscore);
    QFETCH(QString, ending);
    TrayTable table;
    QVERIFY(table.seat(1));
    table.feed(protocol::newPlayerInfo(2, QStringLiteral("Bo")));
    table.startTurn(2, tenLetters(), QStringLiteral("false"));
    table.window.wordBoard().wordLists().clearthem();
    // A stale result of another seat is cleared in a normal game.
    table.find<QLabel>(QStringLiteral("label_bonus5"))->setText(QStringLiteral("+90"));

    table.feed(protocol::scores(2, 450, bonus, 6, 3200, 0, 0));
    QCOMPARE(caption(table, "label_score2"), QStringLiteral("3200"));
    QCOMPARE(caption(table, "label_bonus2"), bonusCaption);
    QCOMPARE(caption(table, "label_wscore2"), wscore);
    QCOMPARE(caption(table, "memo_ending"), ending);
    for (int seat : {1, 3, 4, 5, 6})
        QCOMPARE(caption(table, QStringLiteral("label_bonus%1").arg(seat)), QString());
    QCOMPARE(table.tally.scores, (QList<QPair<int, int>>{})); // not the own seat
}

void TestChatformBoard::turnResultOfAnyNameAndSize_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("wordPoints");
    QTest::addColumn<int>("bonus");
    QTest::addColumn<QString>("bonusCaption");
    QTest::addColumn<QString>("ending");
    QTest::newRow("name with placeholders")
        << "%1 and %2" << 450 << 300 << "+750"
        << "%1 and %2 Scored: 750 points! 6 words made for 450 points plus 300 bonus points!";
    QTest::newRow("placeholder name loses 500")
        << "50%1%9" << 450 << -500 << "-500"
        << "50%1%9 Lost 500 points! 6 words made for 450 points but that wasn't enough!";
    QTest::newRow("a big turn") << "Bo" << 12250 << 4250 << "+16500"
                                << "Bo Scored: 16500 points! 6 words made for 12250 points plus 4250 bonus points!";
    QTest::newRow("six digits") << "Bo" << 990000 << 9999 << "+999999"
                                << "Bo Scored: 999999 points! 6 words made for 990000 points plus 9999 bonus points!";
}

void TestChatformBoard::turnResultOfAnyNameAndSize()
{
    QFETCH(QString, name);
    QFETCH(int, wordPoints);
    QFETCH(int, bonus);
    QFETCH(QString, bonusCaption);
    QFETCH(QString, ending);
    TrayTable table;
    QVERIFY(table.seat(1));
    table.feed(protocol::newPlayerInfo(2, name));
    table.startTurn(2, tenLetters(), QStringLiteral("false"));
    table.feed(protocol::scores(2, wordPoints, bonus, 6, 20000, 0, 0));
    QCOMPARE(caption(table, "memo_ending"), ending);
    // The announcement shows whole, in smaller type if it must.
    auto *bar = table.find<FittingLabel>(QStringLiteral("memo_ending"));
    QVERIFY(bar);
    QVERIFY(QFontMetrics(bar->fittedFont()).horizontalAdvance(ending) <= bar->textWidth());

    // The whole result shows, and nothing lies over it.
    auto *result = table.find<QLabel>(QStringLiteral("label_bonus2"));
    QCOMPARE(result->text(), bonusCaption);
    QVERIFY2(result->fontMetrics().horizontalAdvance(result->text()) <= result->contentsRect().width(),
             qPrintable(QStringLiteral("%1 px for %2").arg(result->contentsRect().width()).arg(result->text())));
    for (const char *marker : {"image_eyes2", "image_new2"})
        QVERIFY(result->geometry().right() < table.find<QWidget>(QLatin1String(marker))->x());
}

void TestChatformBoard::rowsAtTheirPlaces()
{
    TrayTable table;
    const int tops[] = {338, 363, 387, 409, 433, 456};
    for (int seat = 1; seat <= 6; ++seat) {
        const int top = tops[seat - 1];
        const auto at = [&](const char *prefix) {
            return table.find<QWidget>(QLatin1String(prefix) + QString::number(seat))->pos();
        };
        QCOMPARE(at("label_playername"), QPoint(16, top));
        QCOMPARE(at("label_score"), QPoint(126, top));
        QCOMPARE(at("label_bonus"), QPoint(164, top));
    }
}

void TestChatformBoard::lengthMarkGoesWithTheFirstWord()
{
    // The empty column's length mark must go as a whole when a word comes:
    // the column repaints all of itself, not just the line that changed.
    TrayTable table;
    QVERIFY(table.seat(2));
    table.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table.window));
    table.startTurn(3, tenLetters(), QStringLiteral("false"));
    WordColumn *column = table.window.wordBoard().wordColumn(7);
    QWidget *viewport = column->viewport();

    struct PaintLog : QObject
    {
        QRegion painted;
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint)
                painted += static_cast<QPaintEvent *>(event)->region();
            return false;
        }
    } log;
    QTRY_VERIFY(!viewport->visibleRegion().isEmpty());
    QCoreApplication::processEvents();
    viewport->installEventFilter(&log);
    table.feed(protocol::accepted(7, QStringLiteral("EXAMPLE")));
    QTRY_VERIFY(!log.painted.isEmpty());
    QTRY_COMPARE(log.painted.intersected(viewport->rect()), QRegion(viewport->rect()));

    // And it comes back whole when the column is emptied at the next turn.
    log.painted = QRegion();
    table.feed(protocol::nextPlayer(3));
    QTRY_COMPARE(log.painted.intersected(viewport->rect()), QRegion(viewport->rect()));
}

void TestChatformBoard::fastGameResultOfAnotherSeat()
{
    TrayTable table;
    QVERIFY(table.seat(1));
    table.feed(protocol::newPlayerInfo(1, QStringLiteral("Ann")));
    table.feed(protocol::newPlayerInfo(2, QStringLiteral("Bo")));
    table.startTurn(1, tenLetters(), QStringLiteral("false"), true, 90, true);

    table.feed(protocol::scores(1, 200, 0, 2, 200, 0, 0));
    QCOMPARE(caption(table, "memo_ending"),
             QStringLiteral("Ann Scored: 200 points! 2 words made for 200 points plus 0 bonus points!"));
    table.feed(protocol::scores(2, 500, 100, 4, 600, 0, 0));
    QCOMPARE(caption(table, "label_bonus1"), QStringLiteral("+200")); // results side by side
    QCOMPARE(caption(table, "label_bonus2"), QStringLiteral("+600"));
    QCOMPARE(caption(table, "label_wscore2"), QStringLiteral("for +600"));
    QCOMPARE(caption(table, "memo_ending"),
             QStringLiteral("Ann Scored: 200 points! 2 words made for 200 points plus 0 bonus points!"));
    // The loss of a zwonked seat is announced to everybody.
    table.feed(protocol::scores(2, 100, -500, 1, 100, 0, 0));
    QCOMPARE(caption(table, "memo_ending"),
             QStringLiteral("Bo Lost 500 points! 1 words made for 100 points but that wasn't enough!"));
}

void TestChatformBoard::partnerScoreIsWrittenFirst()
{
    TrayTable table;
    QVERIFY(table.seat(2));
    table.feed(protocol::scores(1, 300, 0, 3, 2100, 3, 1800));
    QCOMPARE(caption(table, "label_score3"), QStringLiteral("1800"));
    QCOMPARE(caption(table, "label_score1"), QStringLiteral("2100"));
    // Should a message name the seat as its own partner, the seat's total stands.
    table.feed(protocol::scores(4, 300, 0, 3, 2500, 4, 999));
    QCOMPARE(caption(table, "label_score4"), QStringLiteral("2500"));
    // Seats without a row are skipped.
    table.feed(protocol::scores(9, 300, 0, 3, 2500, 7, 999));
    QCOMPARE(caption(table, "label_score1"), QStringLiteral("2100"));
}

void TestChatformBoard::highestTurnScoreGoesToTheTally()
{
    TrayTable table;
    QVERIFY(table.seat(2));
    table.tally.highestTurn = 700;
    table.feed(protocol::scores(2, 450, 300, 6, 3200, 0, 0));
    QCOMPARE(table.tally.scores, (QList<QPair<int, int>>{{4, 750}}));
    table.feed(protocol::scores(2, 450, 200, 6, 3200, 0, 0));
    QCOMPARE(table.tally.scores.size(), 1);
}

void TestChatformBoard::hostileScoreNumbers()
{
    // The turn's result is word points plus bonus, whatever ints the host sends.
    TrayTable table;
    QVERIFY(table.seat(2));
    table.feed(protocol::newPlayerInfo(2, QStringLiteral("Ann")));
    table.feed(protocol::scores(2, INT_MAX, INT_MAX, 3, INT_MAX, 0, 0));
    QCOMPARE(caption(table, "label_bonus2"), QStringLiteral("+4294967294"));
    QCOMPARE(caption(table, "label_wscore2"), QStringLiteral("for +4294967294"));
    QCOMPARE(caption(table, "memo_ending"),
             QStringLiteral("Ann Scored: 4294967294 points! 3 words made for 2147483647 points "
                            "plus 2147483647 bonus points!"));
    // The tally keeps ints: the highest it can hold.
    QCOMPARE(table.tally.scores, (QList<QPair<int, int>>{{4, INT_MAX}}));

    table.tally.highestTurn = INT_MIN;
    table.tally.scores.clear();
    table.feed(protocol::scores(2, INT_MIN, -1, 0, INT_MIN, 0, 0));
    QCOMPARE(caption(table, "label_bonus2"), QStringLiteral("+-2147483649"));
    QCOMPARE(table.tally.scores, (QList<QPair<int, int>>{}));

    // Seats out of range touch no row.
    table.feed(protocol::scores(INT_MIN, INT_MAX, 1, 0, 5, INT_MAX, 6));
    QCOMPARE(caption(table, "label_score2"), QStringLiteral("-2147483648"));
}

void TestChatformBoard::scoresStopTheClock()
{
    TrayTable table;
    QVERIFY(table.seat(2));
    table.startTurn(3, tenLetters(), QStringLiteral("false"));
    auto *timer = table.window.findChild<QTimer *>(QStringLiteral("Timer2"));
    QVERIFY(timer->isActive());
    table.feed(protocol::scores(3, 0, 0, 0, 0, 0, 0));
    QVERIFY(!timer->isActive());
}

void TestChatformBoard::newcomerStats_data()
{
    QTest::addColumn<bool>("fast");
    QTest::addColumn<int>("turnSeat");
    QTest::addColumn<int>("expectedTurn");
    QTest::addColumn<bool>("buttons");
    QTest::newRow("fast, own turn") << true << 4 << 4 << true;
    QTest::newRow("normal, own turn") << false << 4 << 4 << false;
    QTest::newRow("fast, other seat") << true << 2 << 2 << false;
    QTest::newRow("seat 8 is seat 1") << false << 8 << 1 << false;
}

void TestChatformBoard::newcomerStats()
{
    QFETCH(bool, fast);
    QFETCH(int, turnSeat);
    QFETCH(int, expectedTurn);
    QFETCH(bool, buttons);
    TrayTable table;
    QVERIFY(table.seat(4));
    protocol::GameOptions options;
    options.team = true;
    options.playTo = 8000;
    options.timePerTurn = 120;
    options.zwonkedAt = 3000;
    options.newTiles = false;
    options.typing = true;
    options.fast = fast;
    table.feed(protocol::stats(turnSeat, options));

    QCOMPARE(table.window.currentTurnSeat(), expectedTurn);
    QCOMPARE(caption(table, "label_playtoscore"), QStringLiteral("Play to Score: 8000"));
    QCOMPARE(caption(table, "label_timeperturn"), QStringLiteral("Time Per Turn: 120"));
    QCOMPARE(caption(table, "label_zwonkedat"), QStringLiteral("Zwonked at: 3000"));
    QCOMPARE(caption(table, "label_typing"), QStringLiteral("Allow Typing: ON"));
    QCOMPARE(caption(table, "label_new"), QStringLiteral("Allow New Tiles: OFF"));
    QCOMPARE(caption(table, "label_team"), QStringLiteral("Team Game"));
    QCOMPARE(caption(table, "label_fastgame"), fast ? QStringLiteral("Fast Game: Yes")
                                                    : QStringLiteral("Fast Game: No"));
    QCOMPARE(table.find<QLabel>(QStringLiteral("label_fastgame"))->property("tag").toInt(), fast ? 2 : 1);
    QCOMPARE(caption(table, "label_turn"), buttons ? QStringLiteral("Your Turn.") : QString());
    QCOMPARE(!table.find<QPushButton>(QStringLiteral("button_done"))->isHidden(), buttons);
    QCOMPARE(!table.find<QPushButton>(QStringLiteral("button_finish"))->isHidden(), buttons);
    QVERIFY(table.find<QPushButton>(QStringLiteral("button_newtiles"))->isHidden());
    QCOMPARE(!table.find<QWidget>(QStringLiteral("checkbox_typing"))->isHidden(), buttons);
    auto *marker = table.find<QLabel>(QStringLiteral("image_Turn"));
    QCOMPARE(marker->y() / 10, table.find<QLabel>(QStringLiteral("label_playername%1").arg(expectedTurn))->y() / 10);

    // The running deal follows and starts the newcomer's clock at full time.
    table.feed(protocol::theDice(expectedTurn, QStringLiteral("false"), tenLetters()));
    QCOMPARE(table.window.session().secondsLeft(), 120);
}

void TestChatformBoard::catchUpScores()
{
    TrayTable table;
    QVERIFY(table.seat(3));
    table.feed(protocol::loadScores(1, 4200));
    table.feed(protocol::loadScores(6, 0));
    table.feed(QByteArray("CMD_loadscores+7+99"));
    table.feed(QByteArray("CMD_loadscores+x+99"));
    QCOMPARE(caption(table, "label_score1"), QStringLiteral("4200"));
    QCOMPARE(caption(table, "label_score6"), QStringLiteral("0"));
}

void TestChatformBoard::wordPanelOrdersByLength()
{
    TrayTable table;
    QVERIFY(table.seat(1));
    for (const char *word : {"CRANE", "EXAMPLE", "THING", "PLANTS"})
        table.feed(protocol::addAWord(2, int(qstrlen(word)), QString::fromLatin1(word)));
    QCOMPARE(entries(table, 2), (QStringList{"7: EXAMPLE", "6: PLANTS", "5: CRANE", "5: THING"}));
    QCOMPARE(caption(table, "label_count2"), QStringLiteral("4 words"));
    QCOMPARE(entries(table, 1), QStringList{});

    // The length field is not trusted; the word says its own length.
    table.feed(QByteArray("CMD_addaword+2+9+CAT"));
    QCOMPARE(entries(table, 2).last(), QStringLiteral("3: CAT"));
    // Seats without a list are ignored.
    table.feed(QByteArray("CMD_addaword+7+3+DOG"));
    table.feed(QByteArray("CMD_addaword+0+3+DOG"));
    QCOMPARE(caption(table, "label_count2"), QStringLiteral("5 words"));
}

void TestChatformBoard::wordPanelClearsAndCloses()
{
    TrayTable table;
    QVERIFY(table.seat(1));
    auto *panel = table.find<QWidget>(QStringLiteral("panel_wordlists"));
    QVERIFY(panel);
    QVERIFY(panel->isHidden());
    QCOMPARE(caption(table, "label_count1"), QStringLiteral("Word Count:0"));
    QCOMPARE(caption(table, "label_wscore1"), QStringLiteral("0 Points"));

    table.feed(protocol::addAWord(3, 4, QStringLiteral("CAKE")));
    table.feed(protocol::scores(3, 120, 0, 1, 120, 0, 0));
    QCOMPARE(caption(table, "label_wscore3"), QStringLiteral("for +120"));
    table.window.wordBoard().wordLists().clearthem();
    for (int seat = 1; seat <= 6; ++seat) {
        QCOMPARE(entries(table, seat), QStringList{});
        QCOMPARE(caption(table, QStringLiteral("label_count%1").arg(seat)), QStringLiteral("0 words"));
        QCOMPARE(caption(table, QStringLiteral("label_wscore%1").arg(seat)), QStringLiteral("for +0"));
    }

    panel->show();
    // A cream card inside a brown border, drawn by the panel itself: no
    // style sheet engine runs for it or for what it holds.
    const QImage look = panel->grab().toImage();
    QCOMPARE(QColor(look.pixel(look.width() / 2, look.height() - 4)), QColor(0xfb, 0xf3, 0xdc));
    QCOMPARE(QColor(look.pixel(1, look.height() / 2)), QColor(0x8a, 0x5a, 0x2b));
    QVERIFY(!table.find<QListWidget>(QStringLiteral("listbox_words1"))->style()->inherits("QStyleSheetStyle"));
    QTest::mouseClick(table.find<QPushButton>(QStringLiteral("button_close")), Qt::LeftButton);
    QVERIFY(panel->isHidden());
}

void TestChatformBoard::wordPanelAtTurnEnd()
{
    // A fast game's turn ends: the panel names the seats and shows the
    // seated ones and any seat with words; the next turn hides it again.
    TrayTable table;
    QVERIFY(table.seat(1));
    table.feed(protocol::newPlayerInfo(1, QStringLiteral("Ann")));
    table.feed(protocol::newPlayerInfo(3, QStringLiteral("Cy")));
    table.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table.window));
    table.startTurn(1, tenLetters(), QStringLiteral("false"), true, 90, true);
    table.feed(protocol::addAWord(5, 5, QStringLiteral("CRANE")));
    auto *panel = table.find<QWidget>(QStringLiteral("panel_wordlists"));
    table.feed(protocol::turnEnd());
    QVERIFY(!panel->isHidden());
    QCOMPARE(caption(table, "label_name3"), QStringLiteral("Cy"));
    QCOMPARE(caption(table, "label_name2"), QStringLiteral("<Waiting>"));
    for (int seat = 1; seat <= 6; ++seat) {
        const bool used = seat == 1 || seat == 3 || seat == 5;
        QCOMPARE(!table.find<QWidget>(QStringLiteral("listbox_words%1").arg(seat))->isHidden(), used);
        QCOMPARE(!table.find<QWidget>(QStringLiteral("label_name%1").arg(seat))->isHidden(), used);
    }
    table.feed(protocol::nextPlayer(1));
    QVERIFY(panel->isHidden());
    QCOMPARE(entries(table, 5), QStringList{});

    // A normal game's turn end leaves the panel closed.
    TrayTable normal;
    QVERIFY(normal.seat(1));
    normal.startTurn(1, tenLetters(), QStringLiteral("false"));
    normal.feed(protocol::turnEnd());
    QVERIFY(normal.find<QWidget>(QStringLiteral("panel_wordlists"))->isHidden());
}

QTEST_MAIN(TestChatformBoard)
#include "tst_chatform_board.moc"
