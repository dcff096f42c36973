#include "net/zwonkyerror.h"
#include "tally/pellixstrgrid.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using zwonky::StringGrid;
using zwonky::ZwonkyError;

class TestPellixStrgrid : public QObject
{
    Q_OBJECT
private slots:
    void textIsColumnByColumn();
    void fileRoundTripKeepsWesternText();
    void lineBreakInCellBecomesSpace();
    void acceptsBareLineFeeds();
    void damagedText_data();
    void damagedText();
};

namespace {

StringGrid tallyWithAnn()
{
    StringGrid grid(9, 2);
    for (int col = 0; col < 9; ++col) {
        grid.setCell(col, 0, QString::number(col == 0 ? 0 : col * 10));
        grid.setCell(col, 1, col == 0 ? QStringLiteral("Ann") : QString::number(col));
    }
    return grid;
}

} // namespace

void TestPellixStrgrid::textIsColumnByColumn()
{
    const QByteArray text = zwonky::gridToText(tallyWithAnn());
    // 2 + 9 x 2 lines, each ended by CR LF.
    QCOMPARE(text.count("\r\n"), 20);
    QVERIFY(text.endsWith("\r\n"));
    QVERIFY(text.startsWith("9\r\n2\r\n0\r\nAnn\r\n10\r\n1\r\n20\r\n2\r\n"));
    QVERIFY(text.endsWith("80\r\n8\r\n"));
    QCOMPARE(zwonky::gridFromText(text), tallyWithAnn());
}

void TestPellixStrgrid::fileRoundTripKeepsWesternText()
{
    QTemporaryDir dir;
    StringGrid grid = tallyWithAnn();
    grid.setCell(0, 1, QString::fromUtf8("J\u00fcrgen \u20ac"));
    const QString name = dir.filePath("grid.txt");
    zwonky::SaveGridToFile(grid, name);
    QFile file(name);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("J\xFCrgen \x80\r\n"));  // Windows-1252 on disk

    StringGrid loaded;
    zwonky::LoadGridFromFile(loaded, name);
    QCOMPARE(loaded, grid);
}

void TestPellixStrgrid::lineBreakInCellBecomesSpace()
{
    StringGrid grid(1, 2);
    grid.setCell(0, 0, QStringLiteral("Bob\r\n7"));
    grid.setCell(0, 1, QStringLiteral("x"));
    const StringGrid loaded = zwonky::gridFromText(zwonky::gridToText(grid));
    QCOMPARE(loaded.cell(0, 0), QStringLiteral("Bob  7"));
    QCOMPARE(loaded.cell(0, 1), QStringLiteral("x"));
}

void TestPellixStrgrid::acceptsBareLineFeeds()
{
    const StringGrid grid = zwonky::gridFromText("2\n2\na\n\nc\nd");
    QCOMPARE(grid.cell(0, 0), QStringLiteral("a"));
    QCOMPARE(grid.cell(0, 1), QString());
    QCOMPARE(grid.cell(1, 0), QStringLiteral("c"));
    QCOMPARE(grid.cell(1, 1), QStringLiteral("d"));
}

void TestPellixStrgrid::damagedText_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("no row count") << QByteArray("9\r\n");
    QTest::newRow("column count not a number") << QByteArray("x\r\n1\r\na\r\n");
    QTest::newRow("zero columns") << QByteArray("0\r\n1\r\n");
    QTest::newRow("negative rows") << QByteArray("1\r\n-1\r\n");
    QTest::newRow("cells missing") << QByteArray("9\r\n2\r\n0\r\nAnn\r\n");
    QTest::newRow("absurd size") << QByteArray("1000\r\n1000000\r\n1\r\n");
}

void TestPellixStrgrid::damagedText()
{
    QFETCH(QByteArray, text);
    QVERIFY_THROWS_EXCEPTION(ZwonkyError, zwonky::gridFromText(text));
}

QTEST_GUILESS_MAIN(TestPellixStrgrid)
#include "tst_pellixstrgrid.moc"
