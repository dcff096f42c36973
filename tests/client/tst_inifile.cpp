#include "client/inifile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using zwonky::IniFile;

class TestIniFile : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void reading_data();
    void reading();
    void missingFileGivesDefaults();
    void replacingKeepsOtherLines();
    void addingKeyToSection();
    void creatingSectionAndFile();
    void valueStaysOnItsLine();
    void unwritablePathReportsError();

private:
    QString writeFile(const QByteArray &data);
    static QByteArray readFile(const QString &path);
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestIniFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

QString TestIniFile::writeFile(const QByteArray &data)
{
    const QString path = m_dir->filePath(QStringLiteral("pellixlobby.ini"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(data);
    return path;
}

QByteArray TestIniFile::readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void TestIniFile::reading_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    QTest::newRow("plain") << QByteArray("Top=12") << "Top" << "12";
    QTest::newRow("key case") << QByteArray("TEXTSIZE=10") << "Textsize" << "10";
    QTest::newRow("blanks") << QByteArray("  Width =  800  ") << "Width" << "800";
    QTest::newRow("double quotes") << QByteArray("Phrase1=\" Hi there \"") << "Phrase1" << " Hi there ";
    QTest::newRow("single quotes") << QByteArray("Phrase2='x'") << "Phrase2" << "x";
    QTest::newRow("unmatched quotes") << QByteArray("Phrase3='x\"") << "Phrase3" << "'x\"";
    QTest::newRow("lone quote") << QByteArray("Phrase4=\"") << "Phrase4" << "\"";
    QTest::newRow("equals in value") << QByteArray("Phrase5=a=b") << "Phrase5" << "a=b";
    QTest::newRow("empty") << QByteArray("Phrase6=") << "Phrase6" << "";
    QTest::newRow("western code page") << QByteArray("Phrase7=caf\xE9 \x80") << "Phrase7"
                                       << QString::fromUtf8("café €");
    QTest::newRow("long value cut") << QByteArray("Phrase8=") + QByteArray(3000, 'a') << "Phrase8"
                                    << QString(2047, QLatin1Char('a'));
    QTest::newRow("crlf line") << QByteArray("Left=7\r") << "Left" << "7";
}

void TestIniFile::reading()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, key);
    QFETCH(QString, value);
    const QString path = writeFile("[other]\r\n" + key.toLatin1() + "=wrong\r\n[ZWONKY]\n" + line + "\n");
    IniFile ini(path);
    QVERIFY(ini.load());
    QVERIFY(ini.hasKey(QStringLiteral("zwonky"), key));
    QCOMPARE(ini.readString(QStringLiteral("Zwonky"), key, QStringLiteral("default")), value);
}

void TestIniFile::missingFileGivesDefaults()
{
    IniFile ini(m_dir->filePath(QStringLiteral("none.ini")));
    QVERIFY(!ini.load());
    QCOMPARE(ini.readString(QStringLiteral("zwonky"), QStringLiteral("Top"), QStringLiteral("3")),
             QStringLiteral("3"));

    const QString path = writeFile("[zwonky]\nTop=5\n[lobby]\nWidth=1\n");
    IniFile other(path);
    QVERIFY(other.load());
    // A key of another section does not count, nor a missing section.
    QCOMPARE(other.readString(QStringLiteral("zwonky"), QStringLiteral("Width"), QStringLiteral("795")),
             QStringLiteral("795"));
    QCOMPARE(other.readString(QStringLiteral("nothere"), QStringLiteral("Top"), QStringLiteral("3")),
             QStringLiteral("3"));
}

void TestIniFile::replacingKeepsOtherLines()
{
    const QByteArray before = "; shared by the lobby\r\n"
                              "[Lobby]\r\n"
                              "Name = Ann  \r\n"
                              "  ; a comment\r\n"
                              "\r\n"
                              "[zwonky]\r\n"
                              "TOP=99\r\n"
                              "Odd line without equals\r\n"
                              "\r\n"
                              "[after]\n"
                              "x=1";
    const QString path = writeFile(before);
    IniFile ini(path);
    QVERIFY(ini.load());
    ini.writeString(QStringLiteral("zwonky"), QStringLiteral("Top"), QStringLiteral("3"));
    QVERIFY(ini.save());
    QByteArray expected = before;
    expected.replace("TOP=99", "Top=3");
    QCOMPARE(readFile(path), expected);
}

void TestIniFile::addingKeyToSection()
{
    const QString path = writeFile("[zwonky]\r\nTop=3\r\n\r\n[after]\r\nx=1\r\n");
    IniFile ini(path);
    QVERIFY(ini.load());
    ini.writeString(QStringLiteral("zwonky"), QStringLiteral("Left"), QStringLiteral("4"));
    ini.writeString(QStringLiteral("after"), QStringLiteral("y"), QStringLiteral("2"));
    QVERIFY(ini.save());
    QCOMPARE(readFile(path), QByteArray("[zwonky]\r\nTop=3\r\nLeft=4\r\n\r\n[after]\r\nx=1\r\ny=2\r\n"));
}

void TestIniFile::creatingSectionAndFile()
{
    const QString path = m_dir->filePath(QStringLiteral("new.ini"));
    IniFile ini(path);
    QVERIFY(!ini.load());
    ini.writeString(QStringLiteral("zwonky"), QStringLiteral("Top"), QStringLiteral("3"));
    ini.writeString(QStringLiteral("zwonky"), QStringLiteral("Left"), QStringLiteral("3"));
    QVERIFY(ini.save());
    QCOMPARE(readFile(path), QByteArray("[zwonky]\nTop=3\nLeft=3\n"));

    // A file whose last line has no line ending gets one before the new section.
    const QString other = writeFile("[lobby]\nName=Ann");
    IniFile shared(other);
    QVERIFY(shared.load());
    shared.writeString(QStringLiteral("zwonky"), QStringLiteral("Top"), QStringLiteral("3"));
    QVERIFY(shared.save());
    QCOMPARE(readFile(other), QByteArray("[lobby]\nName=Ann\n[zwonky]\nTop=3\n"));
}

void TestIniFile::valueStaysOnItsLine()
{
    const QString path = m_dir->filePath(QStringLiteral("lines.ini"));
    IniFile ini(path);
    ini.writeString(QStringLiteral("zwonky"), QStringLiteral("Phrase1"),
                    QStringLiteral("a\r\n[evil]\nb"));
    QVERIFY(ini.save());
    IniFile again(path);
    QVERIFY(again.load());
    QCOMPARE(again.readString(QStringLiteral("zwonky"), QStringLiteral("Phrase1")),
             QStringLiteral("a  [evil] b"));
}

void TestIniFile::unwritablePathReportsError()
{
    // Tests run as root, which may write into read-only folders; a folder
    // that is in fact a regular file cannot be written by anyone.
    const QString blocker = m_dir->filePath(QStringLiteral("notafolder"));
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const QString path = blocker + QStringLiteral("/pellixlobby.ini");
    IniFile ini(path);
    ini.writeString(QStringLiteral("zwonky"), QStringLiteral("Top"), QStringLiteral("3"));
    QString error;
    QVERIFY(!ini.save(&error));
    QCOMPARE(error, QStringLiteral("Unable to write to ") + QDir::toNativeSeparators(path));
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
