// The letter tray as a view of its own: its turn buttons follow the turn's
// phases as the session announces them, and its rack and keys follow the
// menu's check marks however they were set (a click, or the settings file).

#include "traytesttable.h"

#include "client/tilewidget.h"
#include "client/trayview.h"
#include "client/turnbuttons.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QtTest>

using namespace zwonky;
using namespace zwonky::testing;

namespace {

const QStringList TenLetters{"A", "B", "C", "D", "E", "F", "G", "H", "I", "J"};

// The visible turn controls, by name, in a fixed order.
QStringList shownControls(TrayTable &table)
{
    QStringList shown;
    for (const char *name : {"button_done", "button_clear", "button_newtiles", "button_old",
                             "button_finish", "checkbox_typing"})
        if (!table.find<QWidget>(QLatin1String(name))->isHidden())
            shown << QLatin1String(name);
    return shown;
}

} // namespace

class TestTrayView : public QObject
{
    Q_OBJECT

private slots:
    void buttonsFollowTheTurn_data();
    void buttonsFollowTheTurn();
    void optionsFollowTheCheckMarkSetBySettings();
};

void TestTrayView::buttonsFollowTheTurn_data()
{
    QTest::addColumn<bool>("newTiles");
    QTest::addColumn<bool>("typing");
    QTest::addColumn<QStringList>("ownTurn");
    const QStringList always{"button_done", "button_clear", "button_finish"};
    QTest::newRow("all allowed") << true << true
                                 << QStringList{"button_done", "button_clear", "button_newtiles",
                                                "button_finish", "checkbox_typing"};
    QTest::newRow("no new tiles") << false << true
                                  << QStringList{"button_done", "button_clear", "button_finish",
                                                 "checkbox_typing"};
    QTest::newRow("no typing") << true << false
                               << QStringList{"button_done", "button_clear", "button_newtiles",
                                              "button_finish"};
    QTest::newRow("neither") << false << false << always;
}

void TestTrayView::buttonsFollowTheTurn()
{
    QFETCH(bool, newTiles);
    QFETCH(bool, typing);
    QFETCH(QStringList, ownTurn);

    TrayTable table;
    QVERIFY(table.seat(2));
    protocol::GameOptions options;
    options.newTiles = newTiles;
    options.typing = typing;
    table.feed(protocol::startGameAnnounce(QStringLiteral("Ann"), options));
    QCOMPARE(shownControls(table), QStringList{});

    // Another player's turn: nothing to press.
    table.feed(protocol::nextPlayer(3));
    table.feed(protocol::theDice(3, QStringLiteral("false"), TenLetters));
    QCOMPARE(shownControls(table), QStringList{});

    table.feed(protocol::turnEnd());
    table.feed(protocol::nextPlayer(2));
    table.feed(protocol::theDice(2, QStringLiteral("false"), TenLetters));
    QCOMPARE(shownControls(table), ownTurn);
    QVERIFY(table.window.tray().tile(1)->pictureIndex() != 0);

    // The end of the turn takes every control and the letters away.
    table.feed(protocol::turnEnd());
    QCOMPARE(shownControls(table), QStringList{});
    for (int die = 1; die <= 13; ++die)
        QCOMPARE(table.window.tray().tile(die)->pictureIndex(), 0);
}

void TestTrayView::optionsFollowTheCheckMarkSetBySettings()
{
    TrayTable table;
    QVERIFY(table.seat(3));
    table.startTurn(3, TenLetters, QStringLiteral("false"));
    TrayView &tray = table.window.tray();
    QSignalSpy saves(&tray, &TrayView::optionsChanged);

    // Set as the settings file sets them: the check mark only, no click.
    auto *turnOff0 = table.find<QAction>(QStringLiteral("Turnoff0key1"));
    auto *twoRows = table.find<QAction>(QStringLiteral("TilesinTwoRows1"));
    turnOff0->setChecked(true);
    twoRows->setChecked(true);
    tray.movetiles();
    QCOMPARE(saves.count(), 0);
    QCOMPARE(tray.tile(1)->pos(), QPoint(183, 103));
    QTest::keyClick(&table.window, Qt::Key_0);
    QCOMPARE(table.takeSent(), QList<QByteArray>{});

    // A click on the option is saved at once, and 0 buys again.
    turnOff0->trigger();
    QCOMPARE(saves.count(), 1);
    QTest::keyClick(&table.window, Qt::Key_0);
    QCOMPARE(table.takeSent(), QList<QByteArray>{"CMD_newtiles+3"});

    // Typing switched off by the box itself leaves the letters to the chat.
    QTest::mouseClick(tray.buttons().typingBox(), Qt::LeftButton);
    QVERIFY(!tray.buttons().typingMode());
    QTest::keyClick(&table.window, Qt::Key_A);
    QCOMPARE(tray.trayCount(), 0);
}

QTEST_MAIN(TestTrayView)
#include "tst_trayview.moc"
