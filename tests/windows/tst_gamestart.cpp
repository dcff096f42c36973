// The host's start-game window: what its start picture sends, and how its
// number boxes take typed values.

#include "sessionrig.h"

#include "widgets/spinedit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace zwonky;
using namespace zwonky::testing;

namespace {

QSpinBox *box(Tgamestartform &form, const char *name)
{
    return form.findChild<QSpinBox *>(QLatin1String(name));
}

QCheckBox *check(Tgamestartform &form, const char *name)
{
    return form.findChild<QCheckBox *>(QLatin1String(name));
}

void leave(QWidget *widget)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(widget, &out);
}

// The host in seat 1 with its own login confirmed (which loads the settings).
bool hostSeated(SessionRig &rig, const QString &fourth = QString())
{
    QStringList parameters{"Ann", "127.0.0.1", "true"};
    if (!fourth.isNull())
        parameters << fourth;
    if (!rig.launch(parameters))
        return false;
    rig.feed(protocol::sendLoginInfo(1));
    if (!QTest::qWaitFor([&] { return rig.sentSoFar().endsWith("\xFF\xFF"); }, 5000))
        return false;
    rig.takeSent();
    rig.feed(protocol::newPlayerInfo(1, QStringLiteral("Ann")));
    return true;
}

} // namespace

class TestGameStart : public QObject
{
    Q_OBJECT
private slots:
    void designValuesBeforeLogin();
    void startSendsTheOptions_data();
    void startSendsTheOptions();
    void notConnectedSendsNothingButCloses();
    void typedValuesAreBroughtIntoRange_data();
    void typedValuesAreBroughtIntoRange();
    void arrowsStepWithinTheRange_data();
    void arrowsStepWithinTheRange();
    void optionsShowAndReadBack();
    void hiddenFastBoxIsNotSentButKept();
    void controlsAreMadeWhenFirstShown();
};

void TestGameStart::designValuesBeforeLogin()
{
    Tgamestartform form;
    form.ensureBuilt();
    QCOMPARE(form.windowTitle(), QStringLiteral("Zwonky - Start Game"));
    QCOMPARE(form.size(), QSize(261, 311)); // with the computer-player rows
    QCOMPARE(box(form, "playtoscore")->text(), QStringLiteral("5000"));
    QCOMPARE(box(form, "timeperturn")->text(), QStringLiteral("60"));
    QCOMPARE(box(form, "zwonked")->text(), QStringLiteral("5000"));
    QVERIFY(check(form, "new")->isChecked());
    QVERIFY(!check(form, "typing")->isChecked());
    QVERIFY(!check(form, "fast")->isChecked());
    QVERIFY(check(form, "team")->isHidden());
}

void TestGameStart::startSendsTheOptions_data()
{
    QTest::addColumn<QString>("fourth");
    QTest::addColumn<QString>("typed"); // into "Play To Score:", empty: none
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("defaults of a missing settings file")
        << QString() << QString() << QByteArray("CMD_startgame+1+f+5000+60+2000+t+t+t+\xFF");
    QTest::newRow("fast game hidden by s")
        << QStringLiteral("s") << QString() << QByteArray("CMD_startgame+1+f+5000+60+2000+t+t+f+\xFF");
    QTest::newRow("200000 typed")
        << QString() << QStringLiteral("200000") << QByteArray("CMD_startgame+1+f+50000+60+2000+t+t+t+\xFF");
}

void TestGameStart::startSendsTheOptions()
{
    QFETCH(QString, fourth);
    QFETCH(QString, typed);
    QFETCH(QByteArray, expected);
    SessionRig rig;
    QVERIFY(hostSeated(rig, fourth));
    Tgamestartform &form = rig.gameStart;
    form.ensureBuilt();
    QVERIFY(check(form, "fast")->isChecked());
    QCOMPARE(check(form, "fast")->isHidden(), fourth == QLatin1String("s"));

    rig.control<QPushButton>("button_start")->click();
    QVERIFY(form.isVisible());
    if (!typed.isEmpty()) {
        QSpinBox *playTo = box(form, "playtoscore");
        playTo->selectAll();
        QTest::keyClicks(playTo, typed);
        QCOMPARE(playTo->text(), typed);
        leave(playTo);
        QCOMPARE(playTo->text(), QStringLiteral("50000"));
    }
    form.findChild<QPushButton *>("Image1")->click();
    QTRY_COMPARE(rig.sentSoFar(), expected);
    QVERIFY(form.isHidden());
    // The choice is kept for the next game.
    QVERIFY(QFile::exists(rig.settings.filePath(QStringLiteral("pellixlobby.ini"))));
}

void TestGameStart::notConnectedSendsNothingButCloses()
{
    SessionRig rig;
    QVERIFY(rig.launch({"Ann", "127.0.0.1", "true"}));
    rig.gameStart.show();
    rig.gameStart.findChild<QPushButton *>("Image1")->click();
    QVERIFY(rig.gameStart.isHidden());
    // The login reply is the first thing the window ever sends.
    rig.feed(protocol::sendLoginInfo(1));
    QTRY_VERIFY(rig.sentSoFar().endsWith("\xFF\xFF"));
    QVERIFY(rig.sentSoFar().startsWith("CMD_logininfo+1+"));
}

void TestGameStart::typedValuesAreBroughtIntoRange_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("whileTyping");
    QTest::addColumn<QString>("afterLeaving");
    QTest::newRow("above the range") << "playtoscore" << "200000" << "200000" << "50000";
    QTest::newRow("below the range") << "timeperturn" << "10" << "10" << "60";
    QTest::newRow("in range") << "zwonked" << "3000" << "3000" << "3000";
    QTest::newRow("letters are not taken") << "timeperturn" << "9a0b" << "90" << "90";
    QTest::newRow("sign and separator are") << "zwonked" << "-1.5" << "-1.5" << "1000";
}

void TestGameStart::typedValuesAreBroughtIntoRange()
{
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(QString, whileTyping);
    QFETCH(QString, afterLeaving);
    Tgamestartform form;
    form.ensureBuilt();
    QSpinBox *spin = box(form, name.toLatin1().constData());
    spin->selectAll();
    QTest::keyClicks(spin, typed);
    QCOMPARE(spin->text(), whileTyping);
    leave(spin);
    QCOMPARE(spin->text(), afterLeaving);
}

void TestGameStart::arrowsStepWithinTheRange_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("steps");
    QTest::addColumn<QString>("expected");
    QTest::newRow("play to up") << "playtoscore" << 2 << "7000";
    QTest::newRow("play to stops at the top") << "playtoscore" << 100 << "50000";
    QTest::newRow("time up by 5") << "timeperturn" << 3 << "75";
    QTest::newRow("time stops at 60") << "timeperturn" << -1 << "60";
    QTest::newRow("zwonked down") << "zwonked" << -2 << "3000";
}

void TestGameStart::arrowsStepWithinTheRange()
{
    QFETCH(QString, name);
    QFETCH(int, steps);
    QFETCH(QString, expected);
    Tgamestartform form;
    form.ensureBuilt();
    QSpinBox *spin = box(form, name.toLatin1().constData());
    spin->stepBy(steps);
    QCOMPARE(spin->text(), expected);
}

void TestGameStart::optionsShowAndReadBack()
{
    Tgamestartform form;
    form.ensureBuilt();
    protocol::GameOptions wanted;
    wanted.team = true; // never offered: the window does not take it
    wanted.playTo = 9000;
    wanted.timePerTurn = 75;
    wanted.zwonkedAt = 4000;
    wanted.newTiles = false;
    wanted.typing = true;
    wanted.fast = true;
    form.setOptions(wanted);
    QCOMPARE(box(form, "playtoscore")->text(), QStringLiteral("9000"));
    QVERIFY(!check(form, "new")->isChecked());
    protocol::GameOptions expected = wanted;
    expected.team = false;
    QCOMPARE(form.options(), expected);
    QCOMPARE(form.chosenOptions(), expected);

    // Numbers beyond a box's range are held to it.
    wanted.playTo = 1;
    wanted.timePerTurn = 1000;
    wanted.zwonkedAt = -5;
    form.setOptions(wanted);
    QCOMPARE(form.options().playTo, 5000);
    QCOMPARE(form.options().timePerTurn, 120);
    QCOMPARE(form.options().zwonkedAt, 1000);

    // A number still being typed counts as the box will hold it.
    box(form, "playtoscore")->findChild<QLineEdit *>()->setText(QStringLiteral("200000"));
    QCOMPARE(form.options().playTo, 50000);
}

void TestGameStart::hiddenFastBoxIsNotSentButKept()
{
    Tgamestartform form;
    form.ensureBuilt();
    check(form, "fast")->setChecked(true);
    form.hideFastOption();
    QVERIFY(!form.options().fast);
    QVERIFY(form.chosenOptions().fast);
}

void TestGameStart::controlsAreMadeWhenFirstShown()
{
    // Made at start with every other window, the options cost nothing until
    // the host opens them; what the main window set meanwhile is shown then.
    Tgamestartform form;
    protocol::GameOptions wanted;
    wanted.playTo = 90000; // held to the boxes' ranges, as a shown box would
    wanted.timePerTurn = 75;
    wanted.zwonkedAt = -5;
    wanted.newTiles = false;
    wanted.typing = true;
    wanted.fast = true;
    form.setOptions(wanted);
    form.setComputerPlayers(9, 4);
    form.hideFastOption();
    protocol::GameOptions held = wanted;
    held.playTo = 50000;
    held.zwonkedAt = 1000;
    QCOMPARE(form.chosenOptions(), held);
    QVERIFY(!form.options().fast);
    QCOMPARE(form.computerPlayers(), 5);
    QCOMPARE(form.computerLevel(), 4);
    QVERIFY(!box(form, "playtoscore"));

    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(box(form, "playtoscore")->text(), QStringLiteral("50000"));
    QCOMPARE(box(form, "timeperturn")->text(), QStringLiteral("75"));
    QCOMPARE(box(form, "zwonked")->text(), QStringLiteral("1000"));
    QCOMPARE(box(form, "computerplayers")->text(), QStringLiteral("5"));
    QCOMPARE(form.findChild<QComboBox *>("computerlevel")->currentData().toInt(), 4);
    QVERIFY(!check(form, "new")->isChecked());
    QVERIFY(check(form, "typing")->isVisible());
    QVERIFY(check(form, "typing")->isChecked());
    QVERIFY(check(form, "fast")->isChecked());
    QVERIFY(check(form, "fast")->isHidden());
    QCOMPARE(box(form, "playtoscore")->accessibleName(), QStringLiteral("Play to Score"));
    QCOMPARE(form.chosenOptions(), held);
    QVERIFY(!form.options().fast);
}

QTEST_MAIN(TestGameStart)
#include "tst_gamestart.moc"
