// The standard error report: one box at a time, not blocking the game, and
// the main window's use of it (errors of message handlers, "Game is full"
// read before the connection's close).

#include "sessionrig.h"

#include "client/errorreport.h"
#include "net/tsock.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

using namespace zwonky;
using namespace zwonky::testing;

namespace {

// A box shower that keeps every box open until the test dismisses it.
struct HeldBoxes
{
    QStringList texts;
    QList<std::function<void()>> dismissers;

    ErrorReport::BoxShower shower()
    {
        return [this](ErrorReport::Kind, const QString &text, std::function<void()> dismissed) {
            texts << text;
            dismissers << std::move(dismissed);
        };
    }
    void dismissLast() { dismissers.takeLast()(); }
};

QList<QMessageBox *> openBoxes(const QWidget &owner)
{
    QList<QMessageBox *> boxes;
    for (QMessageBox *box : owner.findChildren<QMessageBox *>())
        if (box->isVisible())
            boxes << box;
    return boxes;
}

} // namespace

class TestErrorReport : public QObject
{
    Q_OBJECT
private slots:
    void oneBoxAtATime();
    void messageBoxDoesNotBlock();
    void handlerErrorsAreReportedOnce();
    void gameIsFullIsReadBeforeTheClose();
};

void TestErrorReport::oneBoxAtATime()
{
    ErrorReport report(nullptr);
    HeldBoxes held;
    report.setBoxShower(held.shower());
    QSignalSpy closed(&report, &ErrorReport::closed);
    QStringList done;

    QVERIFY(report.show(ErrorReport::Kind::Error, "first", [&] { done << "first"; }));
    QVERIFY(report.isOpen());
    // Not stacked: the second is dropped, and what follows it happens now.
    QVERIFY(!report.show(ErrorReport::Kind::Notice, "second", [&] { done << "second"; }));
    QCOMPARE(held.texts, QStringList{"first"});
    QCOMPARE(done, QStringList{"second"});

    held.dismissLast();
    QVERIFY(!report.isOpen());
    QCOMPARE(done, (QStringList{"second", "first"}));
    QCOMPARE(closed.size(), 1);

    QVERIFY(report.show(ErrorReport::Kind::Error, "third"));
    QCOMPARE(held.texts, (QStringList{"first", "third"}));
}

void TestErrorReport::messageBoxDoesNotBlock()
{
    QWidget owner;
    owner.show();
    ErrorReport report(&owner);
    bool after = false;
    QVERIFY(report.show(ErrorReport::Kind::Error, "Send - Socket Not Connected", [&] { after = true; }));
    // show() returned while the box waits for the player.
    QTRY_COMPARE(openBoxes(owner).size(), 1);
    QMessageBox *box = openBoxes(owner).first();
    QCOMPARE(box->text(), QStringLiteral("Send - Socket Not Connected"));
    QCOMPARE(box->icon(), QMessageBox::Warning);
    QVERIFY(!report.show(ErrorReport::Kind::Error, "again"));
    QCOMPARE(openBoxes(owner).size(), 1);

    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    QTRY_VERIFY(after);
    QVERIFY(!report.isOpen());
    QTRY_VERIFY(openBoxes(owner).isEmpty());
}

void TestErrorReport::handlerErrorsAreReportedOnce()
{
    SessionRig rig;
    HeldBoxes held;
    rig.window.errorReport().setBoxShower(held.shower());
    QVERIFY(rig.seat(2, QStringLiteral("Bo")));
    rig.feed("CMD_newplayerinfo+x+Ann");
    rig.feed("CMD_loadscores+zz+100");
    QCOMPARE(held.texts, QStringList{"'x' is not a valid integer value"});
    // Dispatch went on behind the box.
    rig.feed(protocol::newPlayerInfo(4, QStringLiteral("Dee")));
    QCOMPARE(rig.control<QLabel>("label_playername4")->text(), QStringLiteral("Dee"));

    held.dismissLast();
    rig.feed("CMD_loadscores+zz+100");
    QCOMPARE(held.texts, (QStringList{"'x' is not a valid integer value",
                                      "'zz' is not a valid integer value"}));
}

void TestErrorReport::gameIsFullIsReadBeforeTheClose()
{
    SessionRig rig;
    HeldBoxes held;
    rig.window.errorReport().setBoxShower(held.shower());
    QVERIFY(rig.launch({"Bo", "127.0.0.1", "false"}));
    rig.window.show();
    auto *sock = rig.window.findChild<TSock *>(QStringLiteral("sock"));
    QVERIFY(sock);
    QTRY_VERIFY(sock->isConnected());

    // A full game: the host says so and closes at once.
    rig.host->write(protocol::full());
    rig.host->disconnectFromHost();
    QTRY_COMPARE(held.texts, QStringList{"Game is full"});
    QTRY_VERIFY(!sock->isConnected());
    // The box is read over the open window; the close waits for it.
    QVERIFY(rig.window.isVisible());
    held.dismissLast();
    QVERIFY(!rig.window.isVisible());
}

QTEST_MAIN(TestErrorReport)
#include "tst_errorreport.moc"
