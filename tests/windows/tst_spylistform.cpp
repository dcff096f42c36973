// The spy list: spectator entries and the host's "Remove From Game".

#include "sessionrig.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QtTest>

using namespace zwonky;
using namespace zwonky::testing;

namespace {

// Moves the pointer over the list's entry `row` (-1: below all entries).
void pointAt(Tspylist &spies, int row)
{
    auto *list = spies.findChild<QListWidget *>(QStringLiteral("listbox_spys"));
    const QPoint at = row >= 0 ? list->visualItemRect(list->item(row)).center()
                               : QPoint(10, list->viewport()->height() - 3);
    QMouseEvent move(QEvent::MouseMove, at, list->viewport()->mapToGlobal(at), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &move);
}

// Right-clicks the list where the pointer is (over `row`) as the window
// system does, so that the pop-up opens through the list's own context menu;
// then the pointer leaves the list for the menu. Returns the open menu.
QMenu *rightClick(Tspylist &spies, int row)
{
    auto *list = spies.findChild<QListWidget *>(QStringLiteral("listbox_spys"));
    pointAt(spies, row);
    const QPoint at = row >= 0 ? list->visualItemRect(list->item(row)).center()
                               : QPoint(10, list->viewport()->height() - 3);
    QTest::mouseClick(spies.windowHandle(), Qt::RightButton, {},
                      list->viewport()->mapTo(&spies, at));
    auto *menu = spies.findChild<QMenu *>(QStringLiteral("popup_kick"));
    if (!menu || !QTest::qWaitFor([menu] { return menu->isVisible(); }, 5000))
        return nullptr;
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(list->viewport(), &leave);
    return menu;
}

// Chooses "Remove From Game" in the open pop-up with the mouse.
void chooseRemove(QMenu *menu)
{
    auto *item = menu->findChild<QAction *>(QStringLiteral("popup_kickhim"));
    const QPoint at = menu->actionGeometry(item).center();
    QTest::mouseMove(menu, at);
    QTest::mouseClick(menu, Qt::LeftButton, {}, at);
}

} // namespace

class TestSpyListForm : public QObject
{
    Q_OBJECT
private slots:
    void windowAndEntries();
    void removal_data();
    void removal();
    void entryWithoutSeatNumberIsIgnored();
    void listIsMadeWhenFirstShown();
};

void TestSpyListForm::windowAndEntries()
{
    Tspylist spies;
    spies.ensureBuilt();
    QCOMPARE(spies.windowTitle(), QStringLiteral("Zwonky -Spys"));
    QCOMPARE(spies.size(), QSize(178, 195));
    QCOMPARE(spies.findChild<QListWidget *>("listbox_spys")->geometry(), QRect(5, 5, 161, 130));
    QVERIFY(!spies.findChild<QAction *>("popup_kickhim")->isEnabled());
    spies.addEntry(QStringLiteral("7: Ann"));
    spies.addEntry(QStringLiteral("8: Bo"));
    QVERIFY(!spies.removeEntry(QStringLiteral("8: B")));
    QVERIFY(spies.removeEntry(QStringLiteral("7: Ann")));
    QCOMPARE(spies.entryCount(), 1);
    spies.show();
    QVERIFY(QTest::qWaitForWindowExposed(&spies));
    spies.findChild<QPushButton *>("Button1")->click();
    QVERIFY(spies.isHidden());
    QVERIFY(spies.hasEntry(QStringLiteral("8: Bo")));
}

void TestSpyListForm::removal_data()
{
    QTest::addColumn<bool>("hosting");
    QTest::addColumn<int>("row");
    QTest::addColumn<QByteArray>("sent"); // then the own watch request
    QTest::newRow("host over 8: Bo") << true << 1 << QByteArray("CMD_kickhim+1+8+\xFF" "CMD_justwatch+1+1\xFF");
    QTest::newRow("host over no entry") << true << -1 << QByteArray("CMD_justwatch+1+1\xFF");
    QTest::newRow("joiner over 8: Bo") << false << 1 << QByteArray("CMD_justwatch+2+1\xFF");
}

void TestSpyListForm::removal()
{
    QFETCH(bool, hosting);
    QFETCH(int, row);
    QFETCH(QByteArray, sent);
    SessionRig rig;
    QVERIFY(rig.seat(hosting ? 1 : 2, QStringLiteral("Cy"), hosting));
    rig.feed(protocol::newPlayerInfo(7, QStringLiteral("Ann")));
    rig.feed(protocol::newPlayerInfo(8, QStringLiteral("Bo")));
    rig.spies.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.spies));
    QCOMPARE(rig.spies.findChild<QAction *>("popup_kickhim")->isEnabled(), hosting);

    QMenu *menu = rightClick(rig.spies, row);
    QVERIFY(menu);
    // Chosen from the pop-up, or forced where the item is grey.
    if (hosting)
        chooseRemove(menu);
    else
        rig.spies.popup_kickhimClick();
    QTRY_VERIFY(!menu->isVisible() || !hosting);
    menu->close();
    rig.control<QAction>("JustWatch1")->trigger();
    QTRY_COMPARE(rig.sentSoFar(), sent);

    // The entry goes only when the server says the spectator has left.
    QVERIFY(rig.spies.hasEntry(QStringLiteral("8: Bo")));
    rig.feed(protocol::playerDisconnected(8, QStringLiteral("Bo")));
    QVERIFY(!rig.spies.hasEntry(QStringLiteral("8: Bo")));
    QCOMPARE(rig.chatLines().last(), QStringLiteral("Bo has left."));
}

void TestSpyListForm::entryWithoutSeatNumberIsIgnored()
{
    Tspylist spies;
    QList<int> kicked;
    spies.setKicker([&kicked](int seat) { kicked << seat; });
    spies.addEntry(QStringLiteral("x: Zed"));
    spies.addEntry(QStringLiteral("9: Al"));
    spies.show();
    QVERIFY(QTest::qWaitForWindowExposed(&spies));
    spies.setKickEnabled(true);
    QMenu *menu = rightClick(spies, 0);
    QVERIFY(menu);
    chooseRemove(menu);
    QTRY_VERIFY(!menu->isVisible());
    QVERIFY(kicked.isEmpty());
    menu = rightClick(spies, 1);
    QVERIFY(menu);
    chooseRemove(menu);
    QTRY_COMPARE(kicked, QList<int>{9});
}

void TestSpyListForm::listIsMadeWhenFirstShown()
{
    // Spectators come and go before anybody opens the list: the window keeps
    // them without making its controls, and shows them once opened.
    Tspylist spies;
    spies.addEntry(QStringLiteral("7: Ann"));
    spies.addEntry(QStringLiteral("8: Bo"));
    spies.addEntry(QStringLiteral("9: Cy"));
    QVERIFY(spies.removeEntry(QStringLiteral("8: Bo")));
    QVERIFY(!spies.removeEntry(QStringLiteral("8: Bo")));
    spies.setKickEnabled(true);
    QCOMPARE(spies.entryCount(), 2);
    QVERIFY(spies.hasEntry(QStringLiteral("9: Cy")));
    QVERIFY(!spies.findChild<QListWidget *>(QStringLiteral("listbox_spys")));

    spies.show();
    QVERIFY(QTest::qWaitForWindowExposed(&spies));
    auto *list = spies.findChild<QListWidget *>(QStringLiteral("listbox_spys"));
    QVERIFY(list && list->isVisible());
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->item(0)->text(), QStringLiteral("7: Ann"));
    QCOMPARE(list->item(1)->text(), QStringLiteral("9: Cy"));
    QCOMPARE(list->accessibleName(), QStringLiteral("Spies"));
    QVERIFY(spies.findChild<QAction *>(QStringLiteral("popup_kickhim"))->isEnabled());

    // A later arrival is listed, and removed by its own seat.
    spies.addEntry(QStringLiteral("8: Di"));
    QCOMPARE(list->item(2)->text(), QStringLiteral("8: Di"));
    QList<int> kicked;
    spies.setKicker([&kicked](int seat) { kicked << seat; });
    QMenu *menu = rightClick(spies, 2);
    QVERIFY(menu);
    chooseRemove(menu);
    QTRY_COMPARE(kicked, QList<int>{8});
}

QTEST_MAIN(TestSpyListForm)
#include "tst_spylistform.moc"
