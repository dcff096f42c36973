#include "tally/lzrw1.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

using zwonky::ELzrw1Exception;
using zwonky::TLZR;
using zwonky::Tlzrw1;

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

std::vector<std::uint8_t> toVector(const QByteArray &data)
{
    return std::vector<std::uint8_t>(data.begin(), data.end());
}

QByteArray toBytes(const std::vector<std::uint8_t> &data)
{
    return QByteArray(reinterpret_cast<const char *>(data.data()), static_cast<qsizetype>(data.size()));
}

QByteArray header(qint32 size)
{
    QByteArray out("WRZL");
    for (int i = 0; i < 4; ++i)
        out.append(static_cast<char>((static_cast<quint32>(size) >> (8 * i)) & 0xFF));
    return out;
}

QByteArray block(const QByteArray &body)
{
    const auto n = static_cast<quint16>(body.size());
    return bytes({n & 0xFF, n >> 8}) + body;
}

// The block bodies of a well-formed container, in order.
QList<QByteArray> blocksOf(const QByteArray &container)
{
    QList<QByteArray> blocks;
    qsizetype at = 8;
    while (at + 2 <= container.size()) {
        const int n = static_cast<quint8>(container[at]) | static_cast<quint8>(container[at + 1]) << 8;
        blocks.append(container.mid(at + 2, n));
        at += 2 + n;
    }
    return blocks;
}

QByteArray randomData(int size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray out(size, Qt::Uninitialized);
    for (auto &c : out)
        c = static_cast<char>(random.bounded(256));
    return out;
}

// Text with the repetitions of a tally: names, numbers, line breaks.
QByteArray repetitiveData(int size)
{
    QByteArray out;
    const char *names[] = {"Ann", "Bob", "Carla", "Dieter"};
    for (int i = 0; out.size() < size; ++i) {
        out += names[i % 4];
        out += "\r\n" + QByteArray::number(i % 37) + "\r\n";
        if (i % 50 == 0)
            out += QByteArray(40 + i % 300, 'z');
    }
    out.truncate(size);
    return out;
}

bool writeFile(const QString &name, const QByteArray &data)
{
    QFile f(name);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

QByteArray readFile(const QString &name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestLzrw1 : public QObject
{
    Q_OBJECT
private slots:
    void containerExamples_data();
    void containerExamples();
    void fullChunkEndsWithEmptyBlock();
    void overlappingCopyIsByteByByte();
    void roundTrip_data();
    void roundTrip();
    void fileRoundTripCallsBackPerBlock();
    void corruptContainer_data();
    void corruptContainer();
    void corruptContainerKeepsOlderOutput();
    void fileErrors();
    void sameFileRefused();
};

void TestLzrw1::containerExamples_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("container");

    QTest::newRow("empty") << QByteArray() << header(0) + block(bytes({0x80}));
    QTest::newRow("100 equal bytes: one run")
        << QByteArray(100, 'q') << header(100) + block(bytes({0x40, 0x80, 0x00, 0x00, 0x00, 0x54, 'q'}));
    const QByteArray ten("0123456789");
    QTest::newRow("10 incompressible bytes stored") << ten << header(10) + block(bytes({0x80}) + ten);
}

void TestLzrw1::containerExamples()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, container);
    Tlzrw1 codec;
    const QByteArray packed = toBytes(codec.compressData(toVector(input)));
    QCOMPARE(packed, container);
    QCOMPARE(toBytes(codec.decompressData(toVector(packed))), input);
}

void TestLzrw1::fullChunkEndsWithEmptyBlock()
{
    const QByteArray input = randomData(32768, 7);
    Tlzrw1 codec;
    const QByteArray packed = toBytes(codec.compressData(toVector(input)));
    QCOMPARE(packed.left(8), header(32768));
    const QList<QByteArray> blocks = blocksOf(packed);
    QCOMPARE(blocks.size(), 2);
    QCOMPARE(blocks[0], bytes({0x80}) + input);  // random data does not pay
    QCOMPARE(blocks[1], bytes({0x80}));
    QCOMPARE(toBytes(codec.decompressData(toVector(packed))), input);
}

void TestLzrw1::overlappingCopyIsByteByByte()
{
    // A literal 'a', then a copy of 18 from distance 1.
    const QByteArray body = bytes({0x40, 0x40, 0x00, 'a', 0x00, 0x1F});
    std::uint8_t out[64] = {};
    const TLZR coder;
    const auto n = coder.DecompressBlock(reinterpret_cast<const std::uint8_t *>(body.constData()),
                                         static_cast<std::size_t>(body.size()), out);
    QCOMPARE(n, std::size_t(19));
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(out), 19), QByteArray(19, 'a'));

    Tlzrw1 codec;
    const QByteArray container = header(19) + block(body);
    QCOMPARE(toBytes(codec.decompressData(toVector(container))), QByteArray(19, 'a'));
}

void TestLzrw1::roundTrip_data()
{
    QTest::addColumn<QByteArray>("input");
    const int sizes[] = {1, 2, 3, 15, 16, 17, 4095, 4096, 4097, 32767, 32768, 32769, 65535, 65536, 65537, 100000};
    for (int size : sizes) {
        QTest::addRow("random %d", size) << randomData(size, static_cast<quint32>(size));
        QTest::addRow("repetitive %d", size) << repetitiveData(size);
    }
    QTest::newRow("long runs") << QByteArray(5000, 'a') + QByteArray(70000, 'b') + "c";
}

void TestLzrw1::roundTrip()
{
    QFETCH(QByteArray, input);
    Tlzrw1 codec;
    const QByteArray packed = toBytes(codec.compressData(toVector(input)));
    QCOMPARE(toBytes(codec.decompressData(toVector(packed))), input);
    const QList<QByteArray> blocks = blocksOf(packed);
    QCOMPARE(blocks.size(), static_cast<qsizetype>(input.size() / 32768 + 1));
    for (const QByteArray &body : blocks) {
        QVERIFY(!body.isEmpty() && body.size() <= 32769);
        QVERIFY(body[0] == '\x40' || body[0] == '\x80');
    }
}

void TestLzrw1::fileRoundTripCallsBackPerBlock()
{
    QTemporaryDir dir;
    const QByteArray input = repetitiveData(65537);
    const QString plain = dir.filePath("plain.txt");
    const QString packed = dir.filePath("packed.tld");
    const QString restored = dir.filePath("restored.txt");
    QVERIFY(writeFile(plain, input));

    int calls = 0;
    Tlzrw1 codec;
    codec.setBetweenBlocks([&calls] { ++calls; });
    codec.InputFile = plain.toStdString();
    codec.OutputFile = packed.toStdString();
    const auto written = codec.Compress();
    QCOMPARE(calls, 3);
    QCOMPARE(written, QFileInfo(packed).size());
    QVERIFY(written < input.size() / 2);

    codec.InputFile = packed.toStdString();
    codec.OutputFile = restored.toStdString();
    QCOMPARE(codec.Decompress(), qint64(input.size()));
    QCOMPARE(calls, 6);
    QCOMPARE(readFile(restored), input);
    QCOMPARE(readFile(plain), input);
    // Only the three named files: no private file left behind.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 3);
}

void TestLzrw1::corruptContainer_data()
{
    QTest::addColumn<QByteArray>("container");
    QTest::addColumn<QString>("error");

    const QString reading = "Lzrw1 : Error reading from input file : %1";
    const QString noHeader = "%1 : Lzrw1 decompression : this file has no valid header !";
    const QString damaged = "Lzrw1 (decompression LZRW1/KH) : Damaged block in : %1";
    const QString sizes = "Lzrw1 (decompression LZRW1/KH) : Original and compressed sizes do not match !";
    const QByteArray run4111 = bytes({0x00, 0x0F, 0xFF, 'r'});

    QTest::newRow("short identifier") << QByteArray("WRZ") << reading;
    QTest::newRow("foreign identifier") << QByteArray("PK\x03\x04xxxx") + block(bytes({0x80})) << noHeader;
    QTest::newRow("LZH identifier") << QByteArray("!HZL") + QByteArray(4, 0) + block(bytes({0x80})) << noHeader;
    QTest::newRow("short size") << QByteArray("WRZL\x01\x00") << reading;
    QTest::newRow("no blocks") << header(0) << reading;
    QTest::newRow("body shorter than announced") << header(5) + bytes({0x06, 0x00, 0x80, 'a', 'b'}) << reading;
    QTest::newRow("body longer than a block") << header(5) + bytes({0x02, 0x80}) + QByteArray(40000, 'x')
                                              << damaged;
    QTest::newRow("copy before the start") << header(3) + block(bytes({0x40, 0x80, 0x00, 0x00, 0x20})) << damaged;
    QTest::newRow("copy reaching before the start")
        << header(4) + block(bytes({0x40, 0x40, 0x00, 'a', 0x00, 0x20})) << damaged;
    QTest::newRow("runs past the chunk")
        << header(32768) + block(bytes({0x40, 0xFF, 0x80}) + run4111.repeated(9)) << damaged;
    QTest::newRow("copy past the chunk")
        << header(32768)
            + block(bytes({0x40, 0xFF, 0x80}) + run4111.repeated(7) + bytes({0x00, 0x0F, 0x85, 'r'})
                    + bytes({0x00, 0x1F}))
        << damaged;
    QTest::newRow("copy cut off by the body end") << header(3) + block(bytes({0x40, 0x40, 0x00, 'a', 0x00}))
                                                  << damaged;
    QTest::newRow("run cut off by the body end") << header(20) + block(bytes({0x40, 0x80, 0x00, 0x00, 0x00, 0x04}))
                                                 << damaged;
    QTest::newRow("control word without items")
        << header(16) + block(bytes({0x40, 0x00, 0x00}) + QByteArray(16, 'l') + bytes({0x00, 0x00})) << damaged;
    QTest::newRow("stored size too large") << header(5) + block(bytes({0x80, 'a', 'b', 'c'})) << sizes;
    QTest::newRow("stored size too small") << header(2) + block(bytes({0x80, 'a', 'b', 'c'})) << sizes;
    QTest::newRow("negative stored size") << header(-1) + block(bytes({0x80})) << sizes;
    QTest::newRow("more full blocks than the size")
        << header(10) + block(bytes({0x40, 0xFF, 0x00}) + run4111.repeated(7) + bytes({0x00, 0x0F, 0x87, 'r'}))
               .repeated(3)
        << sizes;
    QTest::newRow("final empty block missing")
        << header(32768) + block(bytes({0x40, 0xFF, 0x00}) + run4111.repeated(7) + bytes({0x00, 0x0F, 0x87, 'r'}))
        << reading;
}

void TestLzrw1::corruptContainer()
{
    QFETCH(QByteArray, container);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString input = dir.filePath("damaged.tld");
    const QString output = dir.filePath("out.txt");
    QVERIFY(writeFile(input, container));

    Tlzrw1 codec;
    codec.InputFile = input.toStdString();
    codec.OutputFile = output.toStdString();
    try {
        codec.Decompress();
        QFAIL("damaged container accepted");
    } catch (const ELzrw1Exception &e) {
        QCOMPARE(QString::fromStdString(e.what()), error.contains("%1") ? error.arg(input) : error);
    }
    QVERIFY(!QFile::exists(output));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"damaged.tld"});
    QCOMPARE(readFile(input), container);

    // The same from memory.
    QVERIFY_THROWS_EXCEPTION(ELzrw1Exception, codec.decompressData(toVector(container), "x"));
}

void TestLzrw1::corruptContainerKeepsOlderOutput()
{
    QTemporaryDir dir;
    const QString input = dir.filePath("in.tld");
    const QString output = dir.filePath("out.txt");
    QVERIFY(writeFile(input, header(9) + block(bytes({0x80, 'a'}))));
    QVERIFY(writeFile(output, "older"));
    Tlzrw1 codec;
    codec.InputFile = input.toStdString();
    codec.OutputFile = output.toStdString();
    QVERIFY_THROWS_EXCEPTION(ELzrw1Exception, codec.Decompress());
    QCOMPARE(readFile(output), QByteArray("older"));
}

void TestLzrw1::fileErrors()
{
    QTemporaryDir dir;
    const QString missing = dir.filePath("missing.txt");
    const QString present = dir.filePath("present.txt");
    const QString unwritable = dir.filePath("no-such-folder/out.tld");
    QVERIFY(writeFile(present, "abc"));

    const auto errorOf = [](Tlzrw1 &codec, bool compress) {
        try {
            compress ? codec.Compress() : codec.Decompress();
        } catch (const ELzrw1Exception &e) {
            return QString::fromStdString(e.what());
        }
        return QString();
    };
    Tlzrw1 codec;
    codec.InputFile = missing.toStdString();
    codec.OutputFile = dir.filePath("out").toStdString();
    QCOMPARE(errorOf(codec, true), "Lzrw1 compression : Failed to obtain the size of : " + missing);
    QCOMPARE(errorOf(codec, false), "Lzrw1 (de)compression : Failed to open input file : " + missing);
    codec.InputFile = present.toStdString();
    codec.OutputFile = unwritable.toStdString();
    QCOMPARE(errorOf(codec, true), "Lzrw1 (de)compression : Failed to open output file : " + unwritable);
    QVERIFY(!QFile::exists(dir.filePath("out")));
}

void TestLzrw1::sameFileRefused()
{
    QTemporaryDir dir;
    const QString name = dir.filePath("self.txt");
    QVERIFY(writeFile(name, "the input stays as it is"));
    Tlzrw1 codec;
    codec.InputFile = name.toStdString();
    codec.OutputFile = name.toStdString();
    QVERIFY_THROWS_EXCEPTION(ELzrw1Exception, codec.Compress());
    QCOMPARE(readFile(name), QByteArray("the input stays as it is"));
}

QTEST_GUILESS_MAIN(TestLzrw1)
#include "tst_lzrw1.moc"
