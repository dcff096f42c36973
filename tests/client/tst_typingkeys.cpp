// Typing mode knows keys by the key pressed, as the window system reports it
// (X11/XKB key codes), not by the character the layout puts on it.

#include "traytesttable.h"

#include "client/trayview.h"

#include "client/tilewidget.h"
#include "client/typingkeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QtTest>

using namespace zwonky;
using namespace zwonky::testing;

namespace {

// The main row's "1" is key code 10, "6" is 15, "0" is 19; the keypad's "1" is 87.
constexpr quint32 KeyOne = 10;
constexpr quint32 KeySix = 15;
constexpr quint32 KeyZero = 19;
constexpr quint32 KeypadOne = 87;
constexpr quint32 KeyE = 26;

QKeyEvent press(int key, Qt::KeyboardModifiers modifiers, quint32 code, const QString &text)
{
    return QKeyEvent(QEvent::KeyPress, key, modifiers, code, 0, 0, text);
}

struct Stroke
{
    int key;
    Qt::KeyboardModifiers modifiers;
    quint32 code;
    QString text;
};

} // namespace

Q_DECLARE_METATYPE(Stroke)

class TestTypingKeys : public QObject
{
    Q_OBJECT
private slots:
    void keysByKeyCode_data();
    void keysByKeyCode();
    void digitsWhateverTheLayout_data();
    void digitsWhateverTheLayout();
};

void TestTypingKeys::keysByKeyCode_data()
{
    QTest::addColumn<Stroke>("stroke");
    QTest::addColumn<int>("digit");
    QTest::addColumn<QString>("letter");
    const auto none = Qt::NoModifier;
    const auto shift = Qt::ShiftModifier;
    QTest::newRow("1") << Stroke{Qt::Key_1, none, KeyOne, "1"} << 1 << "";
    QTest::newRow("Shift+1 on a US keyboard") << Stroke{Qt::Key_Exclam, shift, KeyOne, "!"} << 1 << "";
    QTest::newRow("Shift+6 on a US keyboard")
        << Stroke{Qt::Key_AsciiCircum, shift, KeySix, "^"} << 6 << "";
    QTest::newRow("Shift+0 on a US keyboard")
        << Stroke{Qt::Key_ParenRight, shift, KeyZero, ")"} << 0 << "";
    QTest::newRow("& on a French keyboard") << Stroke{Qt::Key_Ampersand, none, KeyOne, "&"} << 1 << "";
    QTest::newRow("a grave on a French keyboard") << Stroke{Qt::Key_Agrave, none, KeyZero, "à"} << 0 << "";
    QTest::newRow("keypad 1") << Stroke{Qt::Key_1, Qt::KeypadModifier, KeypadOne, "1"} << -1 << "";
    QTest::newRow("e") << Stroke{Qt::Key_E, none, KeyE, "e"} << -1 << "E";
    QTest::newRow("Shift+e") << Stroke{Qt::Key_E, shift, KeyE, "E"} << -1 << "E";
    // Keys made up by the program carry no key code: the key itself counts.
    QTest::newRow("made-up 6") << Stroke{Qt::Key_6, none, 0, "6"} << 6 << "";
    QTest::newRow("made-up keypad 6") << Stroke{Qt::Key_6, Qt::KeypadModifier, 0, "6"} << -1 << "";
    QTest::newRow("made-up !") << Stroke{Qt::Key_Exclam, shift, 0, "!"} << -1 << "";
}

void TestTypingKeys::keysByKeyCode()
{
    QFETCH(Stroke, stroke);
    QFETCH(int, digit);
    QFETCH(QString, letter);
    const QKeyEvent key = press(stroke.key, stroke.modifiers, stroke.code, stroke.text);
    QCOMPARE(mainRowDigit(key), digit);
    QCOMPARE(letterOfKey(key), letter);
}

void TestTypingKeys::digitsWhateverTheLayout_data()
{
    QTest::addColumn<Stroke>("stroke");
    QTest::addColumn<QList<QByteArray>>("sent");
    QTest::addColumn<int>("trayAfter");
    QTest::addColumn<bool>("shuffled");
    const auto shift = Qt::ShiftModifier;
    QTest::newRow("Shift+1 clears") << Stroke{Qt::Key_Exclam, shift, KeyOne, "!"}
                                    << QList<QByteArray>{"CMD_clearthem+3"} << 0 << false;
    QTest::newRow("Shift+0 buys new tiles") << Stroke{Qt::Key_ParenRight, shift, KeyZero, ")"}
                                            << QList<QByteArray>{"CMD_newtiles+3"} << 0 << false;
    QTest::newRow("Shift+6 shuffles") << Stroke{Qt::Key_AsciiCircum, shift, KeySix, "^"}
                                      << QList<QByteArray>{} << 2 << true;
    QTest::newRow("French 1 (&) clears") << Stroke{Qt::Key_Ampersand, Qt::NoModifier, KeyOne, "&"}
                                         << QList<QByteArray>{"CMD_clearthem+3"} << 0 << false;
    QTest::newRow("French Shift+1 clears") << Stroke{Qt::Key_1, shift, KeyOne, "1"}
                                           << QList<QByteArray>{"CMD_clearthem+3"} << 0 << false;
    QTest::newRow("keypad 1 is no key") << Stroke{Qt::Key_1, Qt::KeypadModifier, KeypadOne, "1"}
                                        << QList<QByteArray>{} << 2 << false;
    QTest::newRow("Shift+E takes the E") << Stroke{Qt::Key_E, shift, KeyE, "E"}
                                         << QList<QByteArray>{"CMD_setdice+3+3+5"} << 3 << false;
}

void TestTypingKeys::digitsWhateverTheLayout()
{
    QFETCH(Stroke, stroke);
    QFETCH(QList<QByteArray>, sent);
    QFETCH(int, trayAfter);
    QFETCH(bool, shuffled);

    TrayTable table;
    QRandomGenerator random(13);
    table.window.setRandom(&random);
    QVERIFY(table.seat(3));
    table.startTurn(3, {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J"}, QStringLiteral("false"));
    QTest::keyClick(&table.window, Qt::Key_A);
    QTest::keyClick(&table.window, Qt::Key_B);
    QCOMPARE(table.takeSent().size(), 2);
    QList<int> rack;
    for (int die = 3; die <= 10; ++die)
        rack << table.window.tray().tile(die)->x();

    auto *chat = table.find<QLineEdit>(QStringLiteral("mychat"));
    const QString typed = chat->text();
    QKeyEvent key = press(stroke.key, stroke.modifiers, stroke.code, stroke.text);
    QApplication::sendEvent(chat, &key);
    QVERIFY(key.isAccepted());
    QCOMPARE(table.takeSent(), sent);
    QCOMPARE(table.window.tray().trayCount(), trayAfter);
    QCOMPARE(chat->text(), typed); // the tray took the key
    if (trayAfter == 2) {
        QList<int> after;
        for (int die = 3; die <= 10; ++die)
            after << table.window.tray().tile(die)->x();
        QCOMPARE(after != rack, shuffled);
    }
}

QTEST_MAIN(TestTypingKeys)
#include "tst_typingkeys.moc"
