// A save that fails must leave the old file exactly as it was: on a full
// disk, past the file size limit, in place or through a new file.

#include "storage/filereplace.h"
#include "support/fulldisk.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace zwonky;
using zwonky::testkit::FileSizeLimit;
using zwonky::testkit::FullDisk;

namespace {

const QByteArray OldContents = "[lobby]\r\nName=Ann\r\n[zwonky]\r\nTop=3\r\n";

bool writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace

class TestFileReplace : public QObject
{
    Q_OBJECT
private slots:
    void replacesAndCreates();
    void fullDiskKeepsOldFile_data();
    void fullDiskKeepsOldFile();
    void sizeLimitKeepsOldFile_data();
    void sizeLimitKeepsOldFile();
    void inPlaceOnFullDisk();
};

void TestFileReplace::replacesAndCreates()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pellixlobby.ini"));
    QVERIFY(replaceFileContents(path, OldContents));
    QCOMPARE(readFile(path), OldContents);
    QVERIFY(replaceFileContents(path, "short"));
    QCOMPARE(readFile(path), QByteArray("short"));
    QVERIFY(overwriteFileInPlace(path, "in place, and longer than before"));
    QCOMPARE(readFile(path), QByteArray("in place, and longer than before"));
    QVERIFY(overwriteFileInPlace(path, "cut"));
    QCOMPARE(readFile(path), QByteArray("cut"));
    QCOMPARE(filesIn(dir.path()), QStringList{QStringLiteral("pellixlobby.ini")});
    // In place needs a file to be there.
    QVERIFY(!overwriteFileInPlace(dir.filePath(QStringLiteral("none")), "x"));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("none"))));
}

void TestFileReplace::fullDiskKeepsOldFile_data()
{
    QTest::addColumn<int>("newSize");
    QTest::newRow("smaller than the old") << 8;
    QTest::newRow("a few blocks") << 12000;
    QTest::newRow("more than one write buffer") << 40000;
}

void TestFileReplace::fullDiskKeepsOldFile()
{
    QFETCH(int, newSize);
    FullDisk disk;
    if (!disk.isMounted())
        QSKIP(qPrintable(disk.reason()));
    const QString path = disk.filePath(QStringLiteral("pellixlobby.ini"));
    QVERIFY(writeFile(path, OldContents));
    QVERIFY(disk.fill());

    QVERIFY(!replaceFileContents(path, QByteArray(newSize, 'n')));
    QCOMPARE(readFile(path), OldContents);
    QCOMPARE(filesIn(disk.path()), (QStringList{QStringLiteral("filler"), QStringLiteral("pellixlobby.ini")}));

    // With room again the same save goes through.
    QVERIFY(QFile::remove(disk.filePath(QStringLiteral("filler"))));
    QVERIFY(replaceFileContents(path, QByteArray(newSize, 'n')));
    QCOMPARE(readFile(path), QByteArray(newSize, 'n'));
}

void TestFileReplace::sizeLimitKeepsOldFile_data()
{
    QTest::addColumn<bool>("inPlace");
    QTest::newRow("new file renamed over") << false;
    QTest::newRow("rewritten in place") << true;
}

void TestFileReplace::sizeLimitKeepsOldFile()
{
    QFETCH(bool, inPlace);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("zwonkytally.tld"));
    QVERIFY(writeFile(path, OldContents));
    const QByteArray tooLong(10000, 'n');
    bool saved = true;
    {
        FileSizeLimit limit(4096);
        QVERIFY(limit.isActive());
        saved = inPlace ? overwriteFileInPlace(path, tooLong) : replaceFileContents(path, tooLong);
    }
    QVERIFY(!saved);
    QCOMPARE(readFile(path), OldContents);
    QCOMPARE(filesIn(dir.path()), QStringList{QStringLiteral("zwonkytally.tld")});
}

void TestFileReplace::inPlaceOnFullDisk()
{
    FullDisk disk;
    if (!disk.isMounted())
        QSKIP(qPrintable(disk.reason()));
    const QString path = disk.filePath(QStringLiteral("pellixlobby.ini"));
    QVERIFY(writeFile(path, OldContents));
    QVERIFY(disk.fill());

    // Growing needs blocks there are none of: found before a byte changes.
    QVERIFY(!overwriteFileInPlace(path, QByteArray(20000, 'n')));
    QCOMPARE(readFile(path), OldContents);
    // What fits in the blocks the file already has is written.
    QVERIFY(overwriteFileInPlace(path, "Top=4\r\n"));
    QCOMPARE(readFile(path), QByteArray("Top=4\r\n"));
}

QTEST_GUILESS_MAIN(TestFileReplace)
#include "tst_filereplace.moc"
