// The settings file "pellixlobby.ini" as the player meets it: what a login
// loads, what each option change writes, what closing the window stores,
// and what stays untouched.

#include "sessionrig.h"

#include "client/chatpane.h"
#include "client/colortext.h"
#include "client/settingsfile.h"
#include "support/fulldisk.h"
#include "windows/phrasesform.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QtTest>

#include <memory>
#include <optional>

using namespace zwonky;
using namespace zwonky::testing;

class TestChatformSettings : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void loginWithoutFile();
    void loadedValue_data();
    void loadedValue();
    void saveWritesEveryKeyInOrder();
    void otherSectionsStay();
    void earlySavesHeldBack();
    void closing();
    void boundsHeldToScreen_data();
    void boundsHeldToScreen();
    void resetScreenLocation();
    void minimumSize();
    void phraseSavedEmpty();
    void unwritableFile();
    void failedSaveKeepsFile_data();
    void failedSaveKeepsFile();

private:
    QString path() const
    {
        const QString folder = m_folder.isEmpty() ? m_rig->settings.path() : m_folder;
        return QDir(folder).filePath(QStringLiteral("pellixlobby.ini"));
    }
    void writeFile(const QByteArray &data);
    QByteArray readFile() const;
    // Logs in as seat 2, which loads the settings.
    bool login();
    QAction *action(const char *name) const
    {
        return m_rig->window.findChild<QAction *>(QLatin1String(name));
    }
    QString probe(const QString &what) const;

    std::unique_ptr<SessionRig> m_rig;
    std::unique_ptr<Tphrases> m_editor;
    QString m_folder;  // instead of the rig's settings folder
};

void TestChatformSettings::init()
{
    m_rig = std::make_unique<SessionRig>();
    m_editor = std::make_unique<Tphrases>();
    CompanionWindows companions;
    companions.spyList = &m_rig->spies;
    companions.gameStart = &m_rig->gameStart;
    companions.phrases = m_editor.get();
    m_rig->window.setCompanions(companions);
}

void TestChatformSettings::cleanup()
{
    m_folder.clear();
    m_editor.reset();
    m_rig.reset();
}

void TestChatformSettings::writeFile(const QByteArray &data)
{
    QFile file(path());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(data);
}

QByteArray TestChatformSettings::readFile() const
{
    QFile file(path());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool TestChatformSettings::login()
{
    if (!m_rig->seat(2, QStringLiteral("Ann")))
        return false;
    m_rig->feed(protocol::newPlayerInfo(2, QStringLiteral("Ann")));
    return m_rig->window.settingsLoaded();
}

// One observable value of the window, as text.
QString TestChatformSettings::probe(const QString &what) const
{
    const Tchat &w = m_rig->window;
    const auto box = [this](const char *name) {
        m_rig->gameStart.ensureBuilt();
        return QString::number(m_rig->gameStart.findChild<QSpinBox *>(QLatin1String(name))->value());
    };
    const auto check = [this](const char *name) {
        m_rig->gameStart.ensureBuilt();
        return m_rig->gameStart.findChild<QCheckBox *>(QLatin1String(name))->isChecked()
            ? QStringLiteral("checked") : QStringLiteral("unchecked");
    };
    const auto ticked = [this](const char *name) {
        return action(name)->isChecked() ? QStringLiteral("on") : QStringLiteral("off");
    };
    if (what == QLatin1String("bounds"))
        return QStringLiteral("%1,%2 %3x%4").arg(w.x()).arg(w.y()).arg(w.width()).arg(w.height());
    if (what == QLatin1String("textsize")) {
        QString marks;
        for (const char *name : {"N8", "N10", "N12", "N14"})
            if (action(name)->isChecked())
                marks += QLatin1Char(' ') + QLatin1String(name);
        return QString::number(w.findChild<QTextEdit *>(QStringLiteral("mainchat"))->font().pointSize())
            + marks;
    }
    if (what == QLatin1String("colours"))
        return colorToText(w.chatPane().textColour()) + QLatin1Char(' ')
            + colorToText(w.chatPane().actionColour());
    if (what == QLatin1String("playtoscore") || what == QLatin1String("timeperturn")
        || what == QLatin1String("zwonked"))
        return box(what.toLatin1().constData());
    if (what == QLatin1String("new") || what == QLatin1String("fast")
        || what == QLatin1String("typing"))
        return check(what.toLatin1().constData());
    if (what == QLatin1String("turnsound")) {
        const auto *menu = w.findChild<QMenu *>(QStringLiteral("TurnSound1"));
        return (action("New1")->isChecked() ? QStringLiteral("New ") : QStringLiteral("Classic "))
            + menu->property("tag").toString();
    }
    if (what == QLatin1String("phrases"))
        return w.chatPane().phrases().join(QLatin1Char('|'));
    return ticked(what.toLatin1().constData());
}

void TestChatformSettings::loginWithoutFile()
{
    QVERIFY(login());
    QCOMPARE(probe(QStringLiteral("bounds")), QStringLiteral("3,3 795x568"));
    QCOMPARE(probe(QStringLiteral("textsize")), QStringLiteral("8 N8"));
    QCOMPARE(probe(QStringLiteral("colours")), QStringLiteral("clBlack clBlack"));
    QCOMPARE(probe(QStringLiteral("playtoscore")), QStringLiteral("5000"));
    QCOMPARE(probe(QStringLiteral("timeperturn")), QStringLiteral("60"));
    QCOMPARE(probe(QStringLiteral("zwonked")), QStringLiteral("2000"));
    for (const char *box : {"new", "typing", "fast"})
        QCOMPARE(probe(QLatin1String(box)), QStringLiteral("checked"));
    QCOMPARE(probe(QStringLiteral("PlaySounds1")), QStringLiteral("on"));
    QCOMPARE(probe(QStringLiteral("PlayChatterSounds1")), QStringLiteral("on"));
    QCOMPARE(probe(QStringLiteral("Turnoff0key1")), QStringLiteral("off"));
    QCOMPARE(probe(QStringLiteral("TilesinTwoRows1")), QStringLiteral("off"));
    QCOMPARE(probe(QStringLiteral("turnsound")), QStringLiteral("Classic 0"));
    QCOMPARE(probe(QStringLiteral("phrases")),
             QStringLiteral("Way To Go!|Good One!|Nice Try!|Excellent!|Brilliant!|Wow, WTG!|"
                            "Thanks!|Way To Go Teamie!|Good Game Everyone!"));
    // Loading alone writes nothing.
    QVERIFY(!QFile::exists(path()));
}

void TestChatformSettings::loadedValue_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("shown");

    QTest::newRow("play-to above range") << QByteArray("Playtoscore=200000") << "playtoscore" << "50000";
    QTest::newRow("time below range") << QByteArray("Timeperturn=30") << "timeperturn" << "60";
    QTest::newRow("zwonked in range") << QByteArray("zwonkedat=3000") << "zwonked" << "3000";
    // The box held 7000 before the login.
    QTest::newRow("play-to not a number") << QByteArray("Playtoscore=abc") << "playtoscore" << "7000";
    QTest::newRow("play-to empty") << QByteArray("Playtoscore=") << "playtoscore" << "7000";
    QTest::newRow("play-to hex") << QByteArray("Playtoscore=$2000") << "playtoscore" << "7000";
    QTest::newRow("Fastgame=False") << QByteArray("Fastgame=False") << "fast" << "checked";
    QTest::newRow("Fastgame=false") << QByteArray("Fastgame=false") << "fast" << "unchecked";
    QTest::newRow("Typing=TRUE") << QByteArray("Typing=TRUE") << "typing" << "unchecked";
    QTest::newRow("Newtiles=no") << QByteArray("Newtiles=no") << "new" << "checked";
    QTest::newRow("Textsize=11") << QByteArray("Textsize=11") << "textsize" << "11";
    QTest::newRow("Textsize=14") << QByteArray("TextSize=14") << "textsize" << "14 N14";
    QTest::newRow("Turnsound=2") << QByteArray("Turnsound=2") << "turnsound" << "Classic 0";
    QTest::newRow("Turnsound=1") << QByteArray("Turnsound=1") << "turnsound" << "New 1";
    // The test screen is 800 pixels wide: a window as wide stands at its left edge.
    QTest::newRow("Width=0x320") << QByteArray("Width=0x320\nLeft=0") << "bounds" << "0,3 800x568";
    QTest::newRow("Left=$4") << QByteArray("Left=$4") << "bounds" << "4,3 795x568";
    QTest::newRow("Top=abc") << QByteArray("Top=abc") << "bounds" << "3,3 795x568";
    QTest::newRow("colours") << QByteArray("Textcolor=$000080FF\nActioncolor=CLRED") << "colours"
                             << "$000080FF clRed";
    QTest::newRow("colour unreadable") << QByteArray("Textcolor=orange") << "colours"
                                       << "clBlack clBlack";
    QTest::newRow("Playsounds=False") << QByteArray("Playsounds=False") << "PlaySounds1" << "on";
    QTest::newRow("Playsounds=false") << QByteArray("Playsounds=false") << "PlaySounds1" << "off";
    QTest::newRow("Tworows=yes") << QByteArray("Tworows=yes") << "TilesinTwoRows1" << "off";
    QTest::newRow("Tworows=true") << QByteArray("Tworows=true") << "TilesinTwoRows1" << "on";
    QTest::newRow("Turnoff0key=true") << QByteArray("Turnoff0key=true") << "Turnoff0key1" << "on";
    QTest::newRow("ChatterSounds=false") << QByteArray("ChatterSounds=false") << "PlayChatterSounds1"
                                         << "off";
    QTest::newRow("phrase") << QByteArray("Phrase2=\"Hi all\"\nPhrase3=") << "phrases"
                            << "Way To Go!|Hi all|Nice Try!|Excellent!|Brilliant!|Wow, WTG!|"
                               "Thanks!|Way To Go Teamie!|Good Game Everyone!";
}

void TestChatformSettings::loadedValue()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, what);
    QFETCH(QString, shown);
    writeFile("[Zwonky]\r\n" + line + "\r\n");
    m_rig->gameStart.ensureBuilt();
    m_rig->gameStart.findChild<QSpinBox *>(QStringLiteral("playtoscore"))->setValue(7000);
    QVERIFY(login());
    QCOMPARE(probe(what), shown);
}

void TestChatformSettings::saveWritesEveryKeyInOrder()
{
    QVERIFY(login());
    action("PlaySounds1")->trigger(); // Play Sounds off, saved at once
    QCOMPARE(readFile(), QByteArray("[zwonky]\n"
                                    "Top=3\nLeft=3\nWidth=795\nHeight=568\nTextsize=8\n"
                                    "Textcolor=clBlack\nActioncolor=clBlack\n"
                                    "Playtoscore=5000\nTimeperturn=60\nZwonkedat=2000\n"
                                    "Newtiles=true\nFastgame=true\nTyping=true\n"
                                    "Playsounds=false\nTurnoff0key=false\nTworows=false\n"
                                    "Turnsound=0\nChatterSounds=true\n"));
    // Each option saves when it changes.
    action("New1")->trigger();
    QVERIFY(readFile().contains("\nTurnsound=1\n"));
    // The choice is the window's own: what the menu's tag says is not read back.
    m_rig->window.findChild<QMenu *>(QStringLiteral("TurnSound1"))->setProperty("tag", 0);
    action("N14")->trigger();
    QVERIFY(readFile().contains("\nTextsize=14\n"));
    QVERIFY(readFile().contains("\nTurnsound=1\n"));
}

void TestChatformSettings::otherSectionsStay()
{
    const QByteArray lobby = "; written by the lobby\r\n[Lobby]\r\nName = Ann \r\n\r\n";
    const QByteArray tail = "\r\n[Tail]\r\n  odd line\r\nx=\"1\"";
    writeFile(lobby + "[ZWONKY]\r\nTOP=40\r\nPhrase1=Hi\r\n" + tail);
    QVERIFY(login());
    action("PlayChatterSounds1")->trigger();
    const QByteArray after = readFile();
    QVERIFY(after.startsWith(lobby + "[ZWONKY]\r\nTop=40\r\nPhrase1=Hi\r\nLeft=3\r\n"));
    QVERIFY(after.endsWith("ChatterSounds=false\r\n" + tail));
}

void TestChatformSettings::earlySavesHeldBack()
{
    const QByteArray stored = "[zwonky]\nPlaysounds=false\nWidth=900\n";
    writeFile(stored);
    // Options changed before the login and closing a window that never
    // connected leave the stored settings as they were.
    action("PlaySounds1")->trigger();
    action("N10")->trigger();
    m_rig->window.move(40, 50);
    m_rig->window.FormClose();
    QCOMPARE(readFile(), stored);
}

void TestChatformSettings::closing()
{
    QVERIFY(login());
    QCOMPARE(m_rig->window.rememberedBounds(), (WindowBounds{3, 3, 795, 568}));
    m_rig->window.FormClose();
    QVERIFY(!QFile::exists(path())); // not moved: nothing written

    m_rig->window.move(20, 30);
    m_rig->window.FormClose();
    QVERIFY(readFile().startsWith("[zwonky]\nTop=30\nLeft=20\nWidth=795\nHeight=568\n"));
    QCOMPARE(m_rig->window.rememberedBounds(), (WindowBounds{20, 30, 795, 568}));

    // Larger than the work area: stored 15 pixels smaller each way, once.
    const QRect work = m_rig->window.screen()->availableGeometry();
    m_rig->window.resize(work.width() + 40, work.height() + 40);
    m_rig->window.FormClose();
    QVERIFY(readFile().contains(QStringLiteral("\nWidth=%1\nHeight=%2\n")
                                    .arg(work.width() + 25)
                                    .arg(work.height() + 25)
                                    .toLatin1()));
}

void TestChatformSettings::boundsHeldToScreen_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::newRow("100000 square") << QByteArray("Width=100000\nHeight=100000");
    QTest::newRow("int limits") << QByteArray("Left=2147483647\nTop=-2147483648\n"
                                              "Width=2147483647\nHeight=$7FFFFFFF");
    QTest::newRow("negative size") << QByteArray("Width=-2147483648\nHeight=-1");
    QTest::newRow("off screen") << QByteArray("Left=-5000\nTop=90000");
    QTest::newRow("narrower than the minimum") << QByteArray("Width=700");
}

void TestChatformSettings::boundsHeldToScreen()
{
    // Whatever the file says, the window stands inside the screen's free
    // area at no less than its minimum; it remembers what the file said, so
    // closing it where it was put corrects the file.
    QFETCH(QByteArray, lines);
    writeFile("[zwonky]\n" + lines + "\n");
    QVERIFY(login());
    Tchat &w = m_rig->window;
    const QRect work = w.screen()->availableGeometry();
    const QRect bounds(w.x(), w.y(), w.width(), w.height());
    QVERIFY2(work.contains(bounds), qPrintable(probe(QStringLiteral("bounds"))));
    QVERIFY(w.width() >= w.minimumSizeHint().width() && w.height() >= w.minimumSizeHint().height());
    w.FormClose();
    QVERIFY2(SettingsFile(path()).load().bounds == WindowBounds::of(bounds), readFile().constData());
    QCOMPARE(w.rememberedBounds(), WindowBounds::of(bounds));
}

void TestChatformSettings::resetScreenLocation()
{
    QVERIFY(login());
    m_rig->window.move(100, 120);
    m_rig->window.resize(900, 700);
    action("ResetScreenLocation1")->trigger();
    QCOMPARE(probe(QStringLiteral("bounds")), QStringLiteral("3,3 795x568"));
    QVERIFY(!QFile::exists(path()));
    QCOMPARE(m_rig->window.rememberedBounds(), (WindowBounds{3, 3, 795, 568}));
}

void TestChatformSettings::minimumSize()
{
    m_rig->window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m_rig->window));
    m_rig->window.resize(300, 200);
    const QWidget *board = m_rig->window.findChild<QWidget *>(QStringLiteral("panel_board1"));
    QVERIFY(board);
    QTRY_VERIFY(m_rig->window.centralWidget()->height() >= board->height() + 12);
    QVERIFY(m_rig->window.centralWidget()->width() >= board->width() + 10);
}

void TestChatformSettings::phraseSavedEmpty()
{
    writeFile("[lobby]\nName=Ann\n");
    QVERIFY(login());
    action("PrhaseList1")->trigger();
    m_editor->findChild<QLineEdit *>(QStringLiteral("phrase1"))->clear();
    m_editor->findChild<QLineEdit *>(QStringLiteral("phrase4"))->setText(QStringLiteral("Super!"));
    m_editor->findChild<QPushButton *>(QStringLiteral("SelButton8"))->click();
    QCOMPARE(m_rig->window.chatPane().phrase(1), QString());
    QCOMPARE(m_rig->window.chatPane().phrase(4), QStringLiteral("Super!"));
    // Only the phrase keys are written.
    QCOMPARE(readFile(), QByteArray("[lobby]\nName=Ann\n[zwonky]\nPhrase1=\nPhrase2=Good One!\n"
                                    "Phrase3=Nice Try!\nPhrase4=Super!\nPhrase5=Brilliant!\n"
                                    "Phrase6=Wow, WTG!\nPhrase7=Thanks!\n"
                                    "Phrase8=Way To Go Teamie!\nPhrase9=Good Game Everyone!\n"));

    // The next start: an empty stored phrase gives the built-in one.
    const QString folder = m_rig->settings.path();
    m_rig->settings.setAutoRemove(false);
    cleanup();
    init();
    m_rig->window.setSettingsFolder(folder);
    const bool loggedIn = login();
    const QStringList phrases = m_rig->window.chatPane().phrases();
    QDir(folder).removeRecursively();
    QVERIFY(loggedIn);
    QCOMPARE(phrases.value(0), QStringLiteral("Way To Go!"));
    QCOMPARE(phrases.value(3), QStringLiteral("Super!"));
}

void TestChatformSettings::unwritableFile()
{
    // Tests run as root, who may write read-only files; a folder standing
    // where the file should be cannot be replaced by anyone.
    QVERIFY(QDir(m_rig->settings.path()).mkdir(QStringLiteral("pellixlobby.ini")));
    QVERIFY(login());
    action("PlaySounds1")->trigger();
    QCOMPARE(m_rig->messageBox.texts, QStringList{QStringLiteral("Unable to write to ")
                                       + QDir::toNativeSeparators(path())});
}

void TestChatformSettings::failedSaveKeepsFile_data()
{
    QTest::addColumn<bool>("onFullDisk");
    QTest::newRow("full disk") << true;
    QTest::newRow("file size limit") << false;
}

void TestChatformSettings::failedSaveKeepsFile()
{
    QFETCH(bool, onFullDisk);
    std::optional<testkit::FullDisk> disk;
    if (onFullDisk) {
        disk.emplace();
        if (!disk->isMounted())
            QSKIP(qPrintable(disk->reason()));
        m_folder = disk->path();
        m_rig->window.setSettingsFolder(m_folder);
    }
    // Another program's section, which a wiped file would lose.
    const QByteArray old("[lobby]\r\nName=Ann\r\nServer=example\r\n[zwonky]\r\nTop=40\r\n");
    writeFile(old);
    QVERIFY(login());
    {
        std::optional<testkit::FileSizeLimit> limit;
        if (onFullDisk)
            QVERIFY(disk->fill());
        else
            limit.emplace(rlim_t(old.size()));
        action("PlaySounds1")->trigger();
    }
    QCOMPARE(m_rig->messageBox.texts, QStringList{QStringLiteral("Unable to write to ")
                                       + QDir::toNativeSeparators(path())});
    QCOMPARE(readFile(), old);
}

QTEST_MAIN(TestChatformSettings)
#include "tst_chatform_settings.moc"
