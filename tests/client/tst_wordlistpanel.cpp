// The fast game's word-list panel is made with the main window but makes
// its lists and captions only when a turn's end first shows it: what the
// session told it before is all there then, and it follows the game after.

#include "traytesttable.h"

#include "client/wordboard.h"
#include "client/wordlistpanel.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

using namespace zwonky;
using namespace zwonky::testing;

class TestWordListPanel : public QObject
{
    Q_OBJECT
private slots:
    void madeWhenFirstShown();
};

void TestWordListPanel::madeWhenFirstShown()
{
    TrayTable table;
    QVERIFY(table.seat(1));
    table.feed(protocol::newPlayerInfo(3, QStringLiteral("Cy")));
    table.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table.window));
    table.startTurn(1, QString("ABCDEFGHIJ").split(QString(), Qt::SkipEmptyParts),
                    QStringLiteral("false"), true, 90, true);
    for (const char *word : {"CRANE", "EXAMPLE", "THING"})
        table.feed(protocol::addAWord(3, int(qstrlen(word)), QString::fromLatin1(word)));
    table.feed(protocol::scores(3, 950, 0, 3, 950, 0, 0));
    auto *panel = table.find<WordListPanel>(QStringLiteral("panel_wordlists"));
    QVERIFY(panel);
    QVERIFY(panel->findChildren<QWidget *>().isEmpty());
    QCOMPARE(panel->words(3), (QStringList{"EXAMPLE", "CRANE", "THING"}));

    table.feed(protocol::turnEnd());
    QVERIFY(panel->isVisible());
    const auto caption = [&table](const QString &name) { return table.find<QLabel>(name)->text(); };
    QCOMPARE(caption(QStringLiteral("label_name3")), QStringLiteral("Cy"));
    QCOMPARE(caption(QStringLiteral("label_count3")), QStringLiteral("3 words"));
    QCOMPARE(caption(QStringLiteral("label_wscore3")), QStringLiteral("for +950"));
    QCOMPARE(caption(QStringLiteral("label_count1")), QStringLiteral("0 words"));
    auto *list = table.find<QListWidget>(QStringLiteral("listbox_words3"));
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->item(0)->text(), QStringLiteral("7: EXAMPLE"));
    QCOMPARE(list->item(2)->toolTip(), QStringLiteral("5: THING"));
    // Only the seated seats and seats with words take a column.
    QVERIFY(list->isVisible());
    QVERIFY(!table.find<QWidget>(QStringLiteral("listbox_words2"))->isVisible());
    // Named for a screen reader like the rest of the window.
    QCOMPARE(list->accessibleName(), QStringLiteral("Words of seat 3"));
    QCOMPARE(table.find<QPushButton>(QStringLiteral("button_close"))->accessibleName(),
             QStringLiteral("Close word lists"));

    // Once made, it follows the session directly.
    table.feed(protocol::addAWord(3, 3, QStringLiteral("CAT")));
    QCOMPARE(list->item(3)->text(), QStringLiteral("3: CAT"));
    QCOMPARE(caption(QStringLiteral("label_count3")), QStringLiteral("4 words"));
    table.feed(protocol::nextPlayer(3));
    QVERIFY(panel->isHidden());
    QCOMPARE(list->count(), 0);
    QCOMPARE(caption(QStringLiteral("label_wscore3")), QStringLiteral("for +0"));
}

QTEST_MAIN(TestWordListPanel)
#include "tst_wordlistpanel.moc"
