#include "client/colortext.h"

#include <QTest>

#include <optional>

using zwonky::colorFromValue;
using zwonky::colorToText;
using zwonky::textToColor;
using zwonky::valueFromColor;

class TestColorText : public QObject
{
    Q_OBJECT
private slots:
    void writing_data();
    void writing();
    void reading_data();
    void reading();
    void unreadable_data();
    void unreadable();
    void roundTrip_data();
    void roundTrip();
    void displayColour();
};

void TestColorText::writing_data()
{
    QTest::addColumn<quint32>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("black") << 0x000000u << "clBlack";
    QTest::newRow("maroon") << 0x000080u << "clMaroon";
    QTest::newRow("red") << 0x0000FFu << "clRed";
    QTest::newRow("blue") << 0xFF0000u << "clBlue";
    QTest::newRow("navy") << 0x800000u << "clNavy";
    QTest::newRow("white") << 0xFFFFFFu << "clWhite";
    QTest::newRow("orange") << 0x0080FFu << "$000080FF";
    QTest::newRow("small") << 0x000001u << "$00000001";
    QTest::newRow("scroll bar") << 0x80000000u << "clScrollBar";
    QTest::newRow("window") << 0x80000005u << "clWindow";
    QTest::newRow("info back") << 0x80000018u << "clInfoBk";
    QTest::newRow("past system list") << 0x80000019u << "$80000019";
    QTest::newRow("none") << 0x1FFFFFFFu << "clNone";
}

void TestColorText::writing()
{
    QFETCH(quint32, value);
    QFETCH(QString, text);
    QCOMPARE(colorToText(value), text);
}

void TestColorText::reading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<quint32>("value");
    QTest::newRow("name") << "clBlue" << 0xFF0000u;
    QTest::newRow("lower case") << "clblack" << 0x000000u;
    QTest::newRow("upper case") << "CLFUCHSIA" << 0xFF00FFu;
    QTest::newRow("system name") << "clwindowtext" << 0x80000008u;
    QTest::newRow("3d name") << "CL3DLIGHT" << 0x80000016u;
    QTest::newRow("none") << "clnone" << 0x1FFFFFFFu;
    QTest::newRow("hex") << "$000080FF" << 0x0080FFu;
    QTest::newRow("hex lower") << "$00ff00" << 0x00FF00u;
    QTest::newRow("decimal") << "255" << 0x0000FFu;
    QTest::newRow("negative decimal") << "-2147483643" << 0x80000005u;
}

void TestColorText::reading()
{
    QFETCH(QString, text);
    QFETCH(quint32, value);
    const std::optional<quint32> read = textToColor(text);
    QVERIFY(read.has_value());
    QCOMPARE(*read, value);
}

void TestColorText::unreadable_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("plain word") << "blue";
    QTest::newRow("dollar alone") << "$";
    QTest::newRow("bad hex") << "$00GG00";
    QTest::newRow("nine hex digits") << "$123456789";
    QTest::newRow("digits and letters") << "12a";
    QTest::newRow("blank after name") << "clBlue ";
    QTest::newRow("too large") << "99999999999";
    QTest::newRow("rest of a chat text") << "b|clBlack";
}

void TestColorText::unreadable()
{
    QFETCH(QString, text);
    QVERIFY(!textToColor(text).has_value());
}

void TestColorText::roundTrip_data()
{
    QTest::addColumn<quint32>("value");
    for (quint32 v : {0x000000u, 0x008080u, 0xC0C0C0u, 0x00FFFFu, 0xFFFF00u, 0x123456u,
                      0x0080FFu, 0xFFFFFEu, 0x80000000u, 0x8000000Fu, 0x1FFFFFFFu, 0xFFFFFFFFu})
        QTest::newRow(qPrintable(QString::number(v, 16))) << v;
}

void TestColorText::roundTrip()
{
    QFETCH(quint32, value);
    const std::optional<quint32> read = textToColor(colorToText(value));
    QVERIFY(read.has_value());
    QCOMPARE(*read, value);
}

void TestColorText::displayColour()
{
    // 0x00BBGGRR: red in the low byte.
    QCOMPARE(colorFromValue(0x0080FFu), QColor(255, 128, 0));
    QCOMPARE(colorFromValue(0xFF0000u), QColor(0, 0, 255));
    QCOMPARE(valueFromColor(QColor(255, 128, 0)), 0x0080FFu);
    QCOMPARE(valueFromColor(QColor(0, 0, 128)), 0x800000u);
}

QTEST_GUILESS_MAIN(TestColorText)
#include "tst_colortext.moc"
