// The settings file as plain values: what is read from a hand-edited file
// and what a save writes, without a window.

#include "client/settingsfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace zwonky;

class TestSettingsFile : public QObject
{
    Q_OBJECT
private slots:
    void missingFileGivesDefaults();
    void handEditedValues();
    void saveThenLoadGivesTheSameValues();
    void withoutStartOptionsTheirKeysStay();
    void phrasesAloneAreWritten();

private:
    QString write(const QByteArray &data)
    {
        const QString path = m_dir.filePath(QStringLiteral("pellixlobby.ini"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
            return QString();
        return path;
    }
    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QTemporaryDir m_dir;
};

void TestSettingsFile::missingFileGivesDefaults()
{
    const ClientSettings loaded = SettingsFile(m_dir.filePath("none.ini")).load();
    QCOMPARE(loaded, ClientSettings{});
    QCOMPARE(loaded.bounds, (WindowBounds{3, 3, 795, 568}));
    QVERIFY(loaded.start.has_value());
    QCOMPARE(loaded.start->playTo, std::optional<int>(5000));
}

void TestSettingsFile::handEditedValues()
{
    const QString path = write("[zwonky]\r\nLeft=$10\r\nTop=0x20\r\nWidth=abc\r\nTextsize=300\r\n"
                               "Textcolor=clRed\r\nPlaytoscore=\r\nTimeperturn=99999999999\r\n"
                               "Zwonkedat=12x\r\nNewtiles=no\r\nFastgame=false\r\nTyping=TRUE\r\n"
                               "Phrase3=hello\r\nTurnsound=1\r\nTworows=true\r\nPlaysounds=0\r\n");
    QVERIFY(!path.isEmpty());
    const ClientSettings s = SettingsFile(path).load();
    QCOMPARE(s.bounds, (WindowBounds{16, 32, 795, 568}));
    QCOMPARE(s.textSize, 300); // the window holds it to its range
    QCOMPARE(s.textColour, ColourRed);
    QCOMPARE(s.start->playTo, std::nullopt);
    QCOMPARE(s.start->timePerTurn, std::optional<int>(INT_MAX));
    QCOMPARE(s.start->zwonkedAt, std::nullopt);
    QVERIFY(s.start->newTiles);  // only "false" turns it off
    QVERIFY(!s.start->fast);
    QVERIFY(!s.start->typing);   // only "true" turns it on
    QCOMPARE(s.phrases[2], QStringLiteral("hello"));
    QVERIFY(s.phrases[0].isEmpty());
    QVERIFY(s.newTurnSound);
    QVERIFY(s.twoRows);
    QVERIFY(s.playSounds);

    // A place or size no screen has is held, so that no edge overflows.
    const ClientSettings far = SettingsFile(write("[zwonky]\nLeft=$7FFFFFFF\nTop=-2147483648\n"
                                                  "Width=2147483647\nHeight=0x7FFFFFFF\n"))
                                   .load();
    const int most = windowsize::LargestCoordinate;
    QCOMPARE(far.bounds, (WindowBounds{most, -most, most, most}));
}

void TestSettingsFile::saveThenLoadGivesTheSameValues()
{
    const QString path = write("; shared file\n[other]\nA=1\n");
    ClientSettings s;
    s.bounds = WindowBounds{40, 50, 900, 700};
    s.textSize = 12;
    s.textColour = 0x000080FF;
    s.actionColour = ColourNavy;
    s.start = StoredStartOptions{9000, 75, 3000, false, false, true};
    s.playSounds = false;
    s.turnOff0 = true;
    s.twoRows = true;
    s.newTurnSound = true;
    s.chatterSounds = false;
    QString error;
    QVERIFY(SettingsFile(path).save(s, &error));
    QCOMPARE(read(path),
             QByteArray("; shared file\n[other]\nA=1\n[zwonky]\nTop=50\nLeft=40\nWidth=900\n"
                        "Height=700\nTextsize=12\nTextcolor=$000080FF\nActioncolor=clNavy\n"
                        "Playtoscore=9000\nTimeperturn=75\nZwonkedat=3000\nNewtiles=false\n"
                        "Fastgame=false\nTyping=true\nPlaysounds=false\nTurnoff0key=true\n"
                        "Tworows=true\nTurnsound=1\nChatterSounds=false\n"));
    QCOMPARE(SettingsFile(path).load(), s);
}

void TestSettingsFile::withoutStartOptionsTheirKeysStay()
{
    const QString path = write("[zwonky]\nPlaytoscore=7000\nFastgame=false\n");
    ClientSettings s;
    s.start.reset();
    QString error;
    QVERIFY(SettingsFile(path).save(s, &error));
    const QByteArray text = read(path);
    QVERIFY(text.startsWith("[zwonky]\nPlaytoscore=7000\nFastgame=false\n"));
    QVERIFY(!text.contains("Typing="));
    QVERIFY(!text.contains("Newtiles="));
}

void TestSettingsFile::phrasesAloneAreWritten()
{
    const QString path = write("[zwonky]\nTop=9\n");
    QString error;
    QVERIFY(SettingsFile(path).savePhrases({"Hi", "Bye"}, &error));
    QCOMPARE(read(path), QByteArray("[zwonky]\nTop=9\nPhrase1=Hi\nPhrase2=Bye\nPhrase3=\nPhrase4=\n"
                                    "Phrase5=\nPhrase6=\nPhrase7=\nPhrase8=\nPhrase9=\n"));
    const ClientSettings s = SettingsFile(path).load();
    QCOMPARE(s.phrases[1], QStringLiteral("Bye"));
    QCOMPARE(s.bounds.top, 9);

    const QString blocked = m_dir.filePath(QStringLiteral("missing/folder/x.ini"));
    QVERIFY(!SettingsFile(blocked).savePhrases({"Hi"}, &error));
    QCOMPARE(error, QStringLiteral("Unable to write to ") + blocked);
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
