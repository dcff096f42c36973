#include "dictionary/keyshape.h"
#include "dictionary/mydict.h"
#include "support/fulldisk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <thread>

using zwonky::BuiltInList;
using zwonky::TDictn;
using zwonky::WorkingFileAhead;
namespace testkit = zwonky::testkit;

namespace {

// 15-byte records as the game stores them: 0x1E, the word padded to 14.
QByteArray recordsOf(const QStringList &words)
{
    QByteArray bytes;
    for (const QString &word : words)
        bytes += '\x1e' + word.toLatin1().left(14).leftJustified(14, ' ');
    return bytes;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Sorted, except for two pairs stored in the wrong order (the second word of
// each pair sorts before the first). The 16-letter word is stored cut to 14.
const QStringList SmallList = {"AAH",       "ABSENTMINDEDNESS", "BUSHBABY", "BUSHBABIES",
                               "CAT",       "CATS",             "DOG",      "HISTAMINERGIC",
                               "HISTAMINE", "ZYMURGY"};

// Makes the current folder a fresh temporary one for the default
// constructor, which works on "English" in the current folder.
class CurrentFolder
{
public:
    CurrentFolder() : m_old(QDir::currentPath()) { QDir::setCurrent(m_dir.path()); }
    ~CurrentFolder() { QDir::setCurrent(m_old); }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QString m_old;
};

} // namespace

class TestMyDict : public QObject
{
    Q_OBJECT

private slots:
    void lookup_data();
    void lookup();
    void outOfRangeBytesAndCase();
    void hostileFiles_data();
    void hostileFiles();
    void fileShrinksAfterOpen();
    void mappedFileCutShortAnswersAsRead_data();
    void mappedFileCutShortAnswersAsRead();
    void listBrokenDuringTheRunJudgedFromBuiltIn_data();
    void listBrokenDuringTheRunJudgedFromBuiltIn();
    void existingWorkingFileUsedAndKept();
    void createdWorkingFileRemoved();
    void cutWorkingFileReplaced_data();
    void cutWorkingFileReplaced();
    void copyThatCannotFinishIsNeverNamed();
    void workingFileMadeAhead();
    void unwritableFolderFallsBackToMemory_data();
    void unwritableFolderFallsBackToMemory();
    void directoryInTheWayFallsBackToMemory();
    void neitherFileNorBuiltInIsUnusable();
    void defaultConstructorExtractsShippedList();
    void shippedListShapeAndOrder();
    void keyShapeTestedWordWise();
};

enum class Path { Mapped, Read, Memory };
Q_DECLARE_METATYPE(Path)

void TestMyDict::lookup_data()
{
    QTest::addColumn<Path>("path");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("found");

    struct Case { const char *name; QString key; bool found; };
    const Case cases[] = {
        {"lower case", "cat", true},
        {"upper case", "CAT", true},
        {"blanks around", " Cat ", true},
        {"many blanks around", "    cAt       ", true},
        {"NULs read as blanks", QString::fromLatin1("\0CAT\0", 5), true},
        {"tab is not a blank", "CAT\t", false},
        {"blank inside", "C AT", false},
        {"empty", "", false},
        {"three blanks", "   ", false},
        {"prefix of a word", "CA", false},
        {"word plus letter", "CATSS", false},
        {"first record", "AAH", true},
        {"last record", "ZYMURGY", true},
        {"before first", "AA", false},
        {"after last", "ZZZ", false},
        {"14-letter cut form", "ABSENTMINDEDNE", true},
        {"15-letter key", "ABSENTMINDEDNES", false},
        {"16-letter stored word", "ABSENTMINDEDNESS", false},
        {"15-letter key with blanks", " ABSENTMINDEDNE ", true},
        {"300-letter key", QString(300, 'A'), false},
        {"out of order: first of pair", "BUSHBABY", true},
        {"out of order: unreachable second", "BUSHBABIES", false},
        {"out of order: first of other pair", "HISTAMINERGIC", true},
        {"out of order: other unreachable", "HISTAMINE", false},
        {"non-Latin letters", QString::fromUtf8("CAT\u20ac"), false},
    };
    const std::pair<Path, const char *> paths[] = {
        {Path::Mapped, "mapped"}, {Path::Read, "read"}, {Path::Memory, "memory"}};
    for (const auto &[path, pathName] : paths) {
        for (const Case &c : cases)
            QTest::addRow("%s: %s", pathName, c.name) << path << c.key << c.found;
    }
}

void TestMyDict::lookup()
{
    QFETCH(Path, path);
    QFETCH(QString, key);
    QFETCH(bool, found);

    QTemporaryDir dir;
    const QByteArray list = recordsOf(SmallList);
    std::unique_ptr<TDictn> dict;
    if (path == Path::Memory) {
        // No folder of that name: the list cannot be extracted.
        dict = std::make_unique<TDictn>(dir.filePath("missing/English"), &list);
        QCOMPARE(dict->source(), TDictn::Source::BuiltInMemory);
    } else {
        QVERIFY(writeFile(dir.filePath("English"), list));
        dict = std::make_unique<TDictn>(dir.filePath("English"), nullptr);
        QCOMPARE(dict->source(), TDictn::Source::WorkingFile);
        QVERIFY(dict->isMapped());
        if (path == Path::Read)
            dict->readWithoutMapping();
    }
    QVERIFY(dict->isUsable());
    QCOMPARE(dict->recordCount(), qint64(SmallList.size()));
    QCOMPARE(dict->IsWord(key), found);
}

void TestMyDict::outOfRangeBytesAndCase()
{
    // Records need not be clean upper-case words: lower-case letters and
    // NULs in a record read as upper case and blanks; other bytes compare
    // unsigned, so a byte above 0x7F sorts after every letter.
    QTemporaryDir dir;
    QByteArray list;
    list += QByteArray("\x1e\0\0cat\0\0\0\0\0\0\0\0\0", 15);
    list += QByteArray("\x1e" "DOG           ", 15);
    list += QByteArray("\x1e" "DOG\xe9         ", 15);
    list += QByteArray("\x1e" "              ", 15);   // all blank: matches nothing
    QVERIFY(writeFile(dir.filePath("English"), list));
    TDictn dict(dir.filePath("English"), nullptr);
    QCOMPARE(dict.recordCount(), 4);
    QVERIFY(dict.IsWord("CAT"));
    QVERIFY(dict.IsWord("dog"));
    QVERIFY(dict.IsWord(QString::fromLatin1("DOG\xe9")));
    QVERIFY(!dict.IsWord(QString::fromLatin1("DOG\xc9")));  // only a..z change case
    QVERIFY(!dict.IsWord(" "));
}

void TestMyDict::hostileFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint64>("records");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("found");

    const QByteArray list = recordsOf(SmallList);
    QTest::newRow("empty file") << QByteArray() << qint64(0) << "CAT" << false;
    QTest::newRow("less than a record") << list.left(14) << qint64(0) << "AAH" << false;
    // A cut-off last record is not a record: the words before it still work.
    QTest::newRow("cut last record: first word") << list.chopped(7) << qint64(9) << "AAH" << true;
    QTest::newRow("cut last record: its word") << list.chopped(7) << qint64(9) << "ZYMURGY" << false;
    QTest::newRow("one byte too many") << list + 'Z' << qint64(10) << "ZYMURGY" << true;

    // Bytes above 0x7F only: no probe can match a word of letters.
    QRandomGenerator random(7772);
    QByteArray garbage(4099, '\0');
    for (char &c : garbage)
        c = static_cast<char>(0x80 | random.bounded(0x80));
    QTest::newRow("garbage") << garbage << qint64(4099 / 15) << "CAT" << false;
}

void TestMyDict::hostileFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, records);
    QFETCH(QString, key);
    QFETCH(bool, found);

    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("English"), bytes));
    TDictn dict(dir.filePath("English"), nullptr);
    QVERIFY(dict.isUsable());
    QCOMPARE(dict.recordCount(), records);
    QCOMPARE(dict.IsWord(key), found);

    // The same bytes as a built-in list searched in memory.
    TDictn memory(dir.filePath("missing/English"), &bytes);
    QCOMPARE(memory.source(), TDictn::Source::BuiltInMemory);
    QCOMPARE(memory.recordCount(), records);
    QCOMPARE(memory.IsWord(key), found);
}

void TestMyDict::fileShrinksAfterOpen()
{
    // The record count is taken at open; a probe past the end of a file that
    // has since been cut delivers no record, and the answer is no.
    QTemporaryDir dir;
    const QString path = dir.filePath("English");
    QVERIFY(writeFile(path, recordsOf(SmallList)));
    TDictn dict(path, nullptr);
    QVERIFY(dict.IsWord("AAH"));
    QVERIFY(QFile::resize(path, 2 * TDictn::RecordSize));
    // The first probe is record 4, now beyond the end.
    QVERIFY(!dict.IsWord("AAH"));
    QVERIFY(!dict.IsWord("ZYMURGY"));
    QVERIFY(QFile::resize(path, 0));
    QVERIFY(!dict.IsWord("CAT"));
}

// 3,000 sorted words of four letters, WAAA, WAAB, ...: 45,000 bytes, so the
// list spans several pages of memory.
QStringList manyWords()
{
    QStringList words;
    for (int i = 0; i < 3000; ++i) {
        const QChar letters[] = {u'W', QChar(u'A' + i / 676), QChar(u'A' + i / 26 % 26),
                                 QChar(u'A' + i % 26)};
        words += QString(letters, 4);
    }
    return words;
}

void TestMyDict::mappedFileCutShortAnswersAsRead_data()
{
    QTest::addColumn<int>("keptRecords");
    QTest::addColumn<bool>("mappingDropped");
    QTest::newRow("cut to nothing") << 0 << true;
    QTest::newRow("cut to half") << 1500 << true;
    // Past the end but on the same page: zeros, no fault.
    QTest::newRow("last record cut") << 2999 << false;
}

void TestMyDict::mappedFileCutShortAnswersAsRead()
{
    // A file cut short under a mapping faults when the lost pages are
    // touched; the lookup has to survive it and answer as reading would.
    QFETCH(int, keptRecords);
    QFETCH(bool, mappingDropped);

    QTemporaryDir dir;
    const QString path = dir.filePath("English");
    const QStringList words = manyWords();
    const QByteArray list = recordsOf(words);
    QVERIFY(writeFile(path, list));
    TDictn mapped(path, nullptr);
    TDictn read(path, nullptr);
    read.readWithoutMapping();
    QVERIFY(mapped.isMapped());
    QVERIFY(mapped.IsWord("WAAA") && mapped.IsWord(words.last()));

    QVERIFY(QFile::resize(path, qint64(keptRecords) * TDictn::RecordSize));
    // Both sides of the cut, words and near-misses (a letter added).
    QList<int> probes = {0, 1, 2998, 2999};
    for (int i = std::max(0, keptRecords - 3); i < std::min(3000, keptRecords + 3); ++i)
        probes += i;
    for (int i = 0; i < 3000; i += 97)
        probes += i;
    for (int i : probes) {
        for (const QString &key : {words[i], words[i] + u'M'})
            QVERIFY2(mapped.IsWord(key) == read.IsWord(key), qPrintable(key));
    }
    if (mappingDropped)
        QVERIFY(!mapped.isMapped());

    // The file made whole again: the lookups read it and find every word.
    QVERIFY(writeFile(path, list));
    for (int i : probes) {
        QVERIFY2(mapped.IsWord(words[i]), qPrintable(words[i]));
        QVERIFY(!mapped.IsWord(words[i] + u'M'));
    }
}

void TestMyDict::listBrokenDuringTheRunJudgedFromBuiltIn_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<bool>("mapped");
    for (const bool mapped : {true, false}) {
        for (const char *damage : {"cut to nothing", "cut to half", "zero-filled", "first half zeroed"})
            QTest::addRow("%s, %s", damage, mapped ? "mapped" : "read") << damage << mapped;
    }
}

void TestMyDict::listBrokenDuringTheRunJudgedFromBuiltIn()
{
    // The working file cut or overwritten while games run: the lookups see
    // it and judge from the built-in list, word for word as before.
    QFETCH(QString, damage);
    QFETCH(bool, mapped);

    QTemporaryDir dir;
    const QString path = dir.filePath("English");
    const QStringList words = manyWords();
    const QByteArray list = recordsOf(words);
    TDictn dict(path, &list);
    if (!mapped)
        dict.readWithoutMapping();
    QCOMPARE(dict.isMapped(), mapped);
    QVERIFY(dict.IsWord("WAAA") && !dict.IsWord("WAAAM"));

    const qint64 half = 1500 * TDictn::RecordSize;
    if (damage == "cut to nothing" || damage == "cut to half") {
        QVERIFY(QFile::resize(path, damage == "cut to half" ? half : 0));
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QByteArray zeros(damage == "zero-filled" ? list.size() : half, '\0');
        QCOMPARE(file.write(zeros), zeros.size());
    }
    for (int i = 0; i < 3000; i += 37) {
        QVERIFY2(dict.IsWord(words[i]), qPrintable(words[i]));
        QVERIFY2(!dict.IsWord(words[i] + u'M'), qPrintable(words[i]));
    }
    QVERIFY(dict.IsWord(words.last()));
    QCOMPARE(dict.source(), TDictn::Source::BuiltInMemory);
}

void TestMyDict::existingWorkingFileUsedAndKept()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("English");
    const QByteArray own = recordsOf({"OWNWORD", "ZWONKY"});
    const QByteArray builtIn = recordsOf(SmallList);
    QVERIFY(writeFile(path, own));
    {
        TDictn dict(path, &builtIn);
        QCOMPARE(dict.source(), TDictn::Source::WorkingFile);
        QVERIFY(dict.IsWord("ZWONKY"));
        QVERIFY(!dict.IsWord("CAT"));   // the built-in list is not consulted
        QCOMPARE(readFile(path), own);
    }
    // Not ours: it stays, unchanged.
    QVERIFY(QFileInfo::exists(path));
    QCOMPARE(readFile(path), own);
}

void TestMyDict::createdWorkingFileRemoved()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("English");
    const QByteArray builtIn = recordsOf(SmallList);
    {
        TDictn dict(path, &builtIn);
        QCOMPARE(dict.source(), TDictn::Source::WorkingFile);
        QCOMPARE(readFile(path), builtIn);
        QVERIFY(dict.IsWord("dog"));
        QVERIFY(dict.errorText().isEmpty());
    }
    QVERIFY(!QFileInfo::exists(path));
    QVERIFY(QDir(dir.path()).isEmpty());
}

void TestMyDict::cutWorkingFileReplaced_data()
{
    QTest::addColumn<QByteArray>("found");
    QTest::addColumn<bool>("replaced");
    const QByteArray list = recordsOf(SmallList);
    QTest::newRow("cut inside a record") << list.chopped(7) << true;
    QTest::newRow("less than one record") << list.left(3) << true;
    QTest::newRow("empty") << QByteArray() << true;
    // Whole records: somebody's own list, used and kept as it is.
    QTest::newRow("whole records") << list.left(4 * TDictn::RecordSize) << false;
}

void TestMyDict::cutWorkingFileReplaced()
{
    QFETCH(QByteArray, found);
    QFETCH(bool, replaced);
    QTemporaryDir dir;
    const QString path = dir.filePath("English");
    const QByteArray builtIn = recordsOf(SmallList);
    QVERIFY(writeFile(path, found));
    {
        TDictn dict(path, &builtIn);
        QCOMPARE(dict.source(), TDictn::Source::WorkingFile);
        QCOMPARE(readFile(path), replaced ? builtIn : found);
        QCOMPARE(dict.recordCount(), replaced ? qint64(SmallList.size()) : qint64(4));
        // The last word is lost in every cut copy.
        QCOMPARE(dict.IsWord("ZYMURGY"), replaced);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"English"});
    }
    // A fresh copy is ours and goes at exit; a list that was whole stays.
    QCOMPARE(QFileInfo::exists(path), !replaced);
    if (!replaced)
        QCOMPARE(readFile(path), found);
}

void TestMyDict::copyThatCannotFinishIsNeverNamed()
{
    // A copy stopped halfway (here by the file size limit, as by a kill or a
    // full disk) must never sit under the name a later run would use.
    QStringList words;
    for (int i = 0; i < 200; ++i)
        words << QStringLiteral("WORD%1").arg(i, 3, 10, QLatin1Char('0'));
    const QByteArray builtIn = recordsOf(words);
    QTemporaryDir dir;
    const QString path = dir.filePath("English");
    const QString cutPath = dir.filePath("cut/English");
    QVERIFY(QDir(dir.path()).mkdir("cut"));
    const QByteArray cut = builtIn.left(100);
    QVERIFY(writeFile(cutPath, cut));
    {
        testkit::FileSizeLimit limit(1024);
        QVERIFY(limit.isActive());
        TDictn fresh(path, &builtIn);
        TDictn again(cutPath, &builtIn);
        for (TDictn *dict : {&fresh, &again}) {
            QCOMPARE(dict->source(), TDictn::Source::BuiltInMemory);
            QVERIFY(dict->IsWord("WORD199"));
        }
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{});
    QCOMPARE(QDir(dir.filePath("cut")).entryList(QDir::Files), QStringList{"English"});
    QCOMPARE(readFile(cutPath), cut);
}

void TestMyDict::workingFileMadeAhead()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("English");
    const QByteArray builtIn = recordsOf(SmallList);
    BuiltInList list;
    list.bytes = builtIn;
    list.present = true;
    {
        // Made on another thread while the dictionary waits for it; the
        // dictionary then keeps it, and removes it.
        WorkingFileAhead ahead(path, list);
        std::thread maker([&ahead] { ahead.provide(); });
        TDictn dict(nullptr, &ahead);
        maker.join();
        QCOMPARE(dict.source(), TDictn::Source::WorkingFile);
        QCOMPARE(readFile(path), builtIn);
        QVERIFY(dict.IsWord("ZYMURGY"));
    }
    QVERIFY(QDir(dir.path()).isEmpty());
    {
        // Nobody claims it: it goes when the one who made it goes.
        WorkingFileAhead ahead(path, list);
        ahead.provide();
        QCOMPARE(readFile(path), builtIn);
    }
    QVERIFY(QDir(dir.path()).isEmpty());

    // A list that was there is somebody's own: used, and never removed.
    const QByteArray own = recordsOf({"OWNWORD"});
    QVERIFY(writeFile(path, own));
    {
        WorkingFileAhead ahead(path, list);
        ahead.provide();
        TDictn dict(nullptr, &ahead);
        QVERIFY(dict.IsWord("OWNWORD"));
        QVERIFY(!dict.IsWord("CAT"));
    }
    {
        WorkingFileAhead unclaimed(path, list);
        unclaimed.provide();
    }
    QCOMPARE(readFile(path), own);
}

void TestMyDict::unwritableFolderFallsBackToMemory_data()
{
    // Tests run as root, for whom a chmod'ed folder is still writable; these
    // paths refuse a new file whoever asks.
    QTest::addColumn<QString>("path");
    QTest::newRow("folder does not exist") << QStringLiteral("no-such-folder/sub/English");
    QTest::newRow("proc file system") << QStringLiteral("/proc/English");
}

void TestMyDict::unwritableFolderFallsBackToMemory()
{
    QFETCH(QString, path);
    const QByteArray builtIn = recordsOf(SmallList);
    {
        TDictn dict(path, &builtIn);
        QVERIFY(dict.isUsable());
        QVERIFY(dict.errorText().isEmpty());
        QCOMPARE(dict.source(), TDictn::Source::BuiltInMemory);
        QVERIFY(dict.IsWord("Cat"));
        QVERIFY(dict.IsWord("ZYMURGY"));
        QVERIFY(!dict.IsWord("CA"));
        QVERIFY(!QFileInfo::exists(path));
    }
    QVERIFY(!QFileInfo::exists(path));
}

void TestMyDict::directoryInTheWayFallsBackToMemory()
{
    // Something named "English" that cannot be read as a file.
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("English"));
    const QByteArray builtIn = recordsOf(SmallList);
    {
        TDictn dict(dir.filePath("English"), &builtIn);
        QCOMPARE(dict.source(), TDictn::Source::BuiltInMemory);
        QVERIFY(dict.IsWord("CAT"));
    }
    QVERIFY(QFileInfo(dir.filePath("English")).isDir());
}

void TestMyDict::neitherFileNorBuiltInIsUnusable()
{
    QTemporaryDir dir;
    TDictn dict(dir.filePath("English"), nullptr);
    QVERIFY(!dict.isUsable());
    QCOMPARE(dict.source(), TDictn::Source::None);
    QCOMPARE(dict.errorText(), QStringLiteral("English.dic dictionary not found!"));
    QVERIFY(!dict.IsWord("CAT"));
    QVERIFY(!QFileInfo::exists(dir.filePath("English")));

    TDictn unwritable(QStringLiteral("/proc/English"), nullptr);
    QVERIFY(!unwritable.isUsable());
    QCOMPARE(unwritable.errorText(), QStringLiteral("English.dic dictionary not found!"));
}

void TestMyDict::defaultConstructorExtractsShippedList()
{
    CurrentFolder folder;
    const QString path = QDir(folder.path()).filePath("English");
    {
        TDictn dict;
        QVERIFY(dict.isUsable());
        QCOMPARE(dict.source(), TDictn::Source::WorkingFile);
        QCOMPARE(QFileInfo(dict.workingFilePath()), QFileInfo(path));
        QFile resource(":/wordlist/english.dat");
        QVERIFY(resource.open(QIODevice::ReadOnly));
        QCOMPARE(readFile(path), resource.readAll());
        QVERIFY(dict.IsWord("cat"));
        QVERIFY(dict.IsWord("Zwieback"));
        QVERIFY(!dict.IsWord("zwonkx"));
    }
    QVERIFY(!QFileInfo::exists(path));

    // An "English" left in the folder replaces the shipped list and stays.
    const QByteArray own = recordsOf({"QQQ"});
    QVERIFY(writeFile(path, own));
    {
        TDictn dict;
        QVERIFY(dict.IsWord("QQQ"));
        QVERIFY(!dict.IsWord("CAT"));
    }
    QCOMPARE(readFile(path), own);
}

void TestMyDict::shippedListShapeAndOrder()
{
    CurrentFolder folder;
    TDictn dict;   // registers the built-in resource
    QFile resource(":/wordlist/english.dat");
    QVERIFY(resource.open(QIODevice::ReadOnly));
    const QByteArray list = resource.readAll();
    QVERIFY(!list.isEmpty());
    QCOMPARE(list.size() % TDictn::RecordSize, 0);
    const qint64 count = list.size() / TDictn::RecordSize;
    QCOMPARE(dict.recordCount(), count);

    QByteArray previous;
    for (qint64 i = 0; i < count; ++i) {
        const QByteArray record = list.mid(i * TDictn::RecordSize, TDictn::RecordSize);
        QCOMPARE(record.at(0), '\x1e');
        const QByteArray field = record.mid(1);
        const QByteArray word = field.trimmed();
        QVERIFY2(word.size() >= 2, field.constData());
        QCOMPARE(field, word.leftJustified(14, ' '));
        for (char c : word)
            QVERIFY2(c >= 'A' && c <= 'Z', field.constData());
        QVERIFY2(previous <= field, field.constData());   // ascending byte order
        previous = field;
    }

    QCOMPARE(list.mid(1, 14).trimmed(), QByteArray("AAH"));
    QCOMPARE(list.right(14).trimmed(), QByteArray("ZZZ"));
    QVERIFY(dict.IsWord("AAH"));
    QVERIFY(dict.IsWord("ZZZ"));
    QVERIFY(dict.IsWord("house"));
    QVERIFY(dict.IsWord("colour"));   // British spelling
    QVERIFY(dict.IsWord("color"));    // American spelling
    QVERIFY(!dict.IsWord("AA"));
    QVERIFY(!dict.IsWord("XQZRT"));
    QVERIFY(!dict.IsWord("A"));       // single letters are not words

    // Fully sorted, so every stored word is reachable; checked in memory to
    // keep the run short.
    TDictn memory(QDir(folder.path()).filePath("missing/English"), &list);
    QCOMPARE(memory.source(), TDictn::Source::BuiltInMemory);
    for (qint64 i = 0; i < count; ++i) {
        const QByteArray word = list.mid(i * TDictn::RecordSize + 1, 14);
        if (!memory.IsWord(QString::fromLatin1(word)))
            QFAIL(word.constData());
    }
}

// The word-wise test of a field's shape answers as the byte-by-byte
// definition does, for every byte value at every place of the field.
void TestMyDict::keyShapeTestedWordWise()
{
    const auto byteWise = [](const char *field) {
        if (field[0] == ' ')
            return false;
        for (int i = 0; i < zwonky::keyshape::FieldWidth; ++i) {
            const auto c = static_cast<unsigned char>(field[i]);
            if (c == 0 || (c >= 'a' && c <= 'z'))
                return false;
        }
        return true;
    };
    // Two bytes past the field, as in a record file: they must not count.
    const QByteArray plains[] = {QByteArray("ABSENTMINDEDNE" "\0a", 16),
                                 QByteArray("\xff\xfe\x80\x7f{`@[ZA09~ " "a\0", 16)};
    int mismatches = 0;
    for (const QByteArray &plain : plains) {
        QVERIFY(byteWise(plain.constData()));
        QVERIFY(zwonky::keyshape::inKeyShape(plain.constData()));
        for (int at = 0; at < zwonky::keyshape::FieldWidth; ++at) {
            for (int value = 0; value < 256; ++value) {
                QByteArray field = plain;
                field[at] = static_cast<char>(value);
                if (zwonky::keyshape::inKeyShape(field.constData()) != byteWise(field.constData()))
                    ++mismatches;
            }
        }
    }
    QCOMPARE(mismatches, 0);
}

QTEST_GUILESS_MAIN(TestMyDict)
#include "tst_mydict.moc"
