// The chat pane on its own, with no window and no connection: coloured
// lines with bold heads, links, the view kept in place, the clipboard, what
// the entry and the phrase buttons ask to send, the phrase gate, the
// chatter sounds and the sound options.

#include "client/chatpane.h"
#include "client/colortext.h"

#include "chatlog.h"
#include "recordingfakes.h"
#include "dialogfakes.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextEdit>
#include <QtTest>

#include <memory>

using namespace zwonky;
using namespace zwonky::testing;

namespace {

// A pane on a panel of the window's size, with the menu entries it is handed
// in the window, and every request it makes written down.
struct PaneRig
{
    QWidget window;
    QWidget *panel = new QWidget(&window);
    QAction playSounds{QStringLiteral("Play Sounds")};
    QAction playChatter{QStringLiteral("Play Chatter Sounds")};
    QAction scrollOff{QStringLiteral("Chat Scroll Off")};
    std::unique_ptr<ChatPane> pane;
    RecordingSound sound;
    bool connected = true;
    bool phraseGoesOut = true; // what the phrase request answers
    QStringList sent; // "chat|text|colour", "action|...", "phrase|...", "sound|n"

    PaneRig()
    {
        panel->setGeometry(0, 0, 523, 152);
        for (QAction *check : {&playSounds, &playChatter, &scrollOff})
            check->setCheckable(true);
        playSounds.setChecked(true);
        ChatPane::MenuActions menu;
        menu.playSounds = &playSounds;
        menu.playChatter = &playChatter;
        menu.scrollOff = &scrollOff;
        pane = std::make_unique<ChatPane>(panel, menu);
        pane->setSoundPlayer(&sound);
        ChatPane::Requests requests;
        requests.canChat = [this] { return connected; };
        const auto record = [this](const char *kind) {
            return [this, kind](const QString &text, const QString &colour) {
                sent << QStringLiteral("%1|%2|%3").arg(QLatin1String(kind), text, colour);
            };
        };
        requests.chat = record("chat");
        requests.action = record("action");
        requests.phrase = [this](const QString &text, const QString &colour) {
            sent << QStringLiteral("phrase|%1|%2").arg(text, colour);
            return phraseGoesOut;
        };
        requests.chatterSound = [this](int k) { sent << QStringLiteral("sound|%1").arg(k); };
        pane->setRequests(std::move(requests));
    }
    template <typename T>
    T *control(const char *name) const
    {
        return window.findChild<T *>(QLatin1String(name));
    }
    QTextEdit *log() const { return control<QTextEdit>("mainchat"); }
    QLineEdit *entry() const { return control<QLineEdit>("mychat"); }
    QStringList lines() const
    {
        return log()->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    bool shown()
    {
        window.resize(523, 152);
        window.show();
        return QTest::qWaitForWindowExposed(&window);
    }
};

} // namespace

class TestChatPane : public QObject
{
    Q_OBJECT
private slots:
    void controlsKeepTheirNames();
    void lineHead_data();
    void lineHead();
    void relayedColour_data();
    void relayedColour();
    void entryRequests_data();
    void entryRequests();
    void entryWaitsWhileNoChat();
    void phraseGateCountsTicks();
    void phraseNotSentKeepsGateOpen();
    void phraseAsAction();
    void chatterNotice_data();
    void chatterNotice();
    void chatterRequests();
    void eventSoundsFollowTheOption();
    void coloursAndSizeAskToBeStored();
    void scrollOffKeepsView();
    void logKeepsNewestLines();
    void copyAndPaste();
    void linkInLog();
};

void TestChatPane::controlsKeepTheirNames()
{
    PaneRig rig;
    for (const char *name : {"mainchat", "mychat"})
        QVERIFY2(rig.control<QWidget>(name), name);
    for (int k = 1; k <= 10; ++k)
        QVERIFY(rig.window.findChild<QPushButton *>(QStringLiteral("b_phrase%1").arg(k)));
    for (const char *name : {"popup_sounds", "PopupMenu1", "PopupMenu2"})
        QVERIFY2(rig.control<QMenu>(name), name);
    for (const char *name : {"Copy1", "ChatScrollOff1", "Paste1", "Cancel1", "wave1", "wave14"})
        QVERIFY2(rig.control<QAction>(name), name);
    QCOMPARE(rig.entry()->text(), QStringLiteral("<Enter Chat Here>"));
    QCOMPARE(rig.control<QPushButton>("b_phrase9")->toolTip(), QStringLiteral("Good Game Everyone!"));
}

void TestChatPane::lineHead_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("head");
    QTest::addColumn<QString>("body");
    QTest::newRow("chat") << "Ann chats: a: b" << "Ann chats:" << " a: b";
    QTest::newRow("action without colon") << "Ann waves" << "" << "Ann waves";
    QTest::newRow("colon first") << ":)" << ":" << ")";
}

void TestChatPane::lineHead()
{
    QFETCH(QString, line);
    QFETCH(QString, head);
    QFETCH(QString, body);
    PaneRig rig;
    rig.pane->addLine(QStringLiteral("earlier line"), ColourBlack);
    rig.pane->addLine(line, ColourNavy);

    const QList<Run> runs = lastLine(rig.log());
    QList<Run> expected;
    if (!head.isEmpty())
        expected.append({head, true, colorFromValue(ColourNavy)});
    expected.append({body, false, colorFromValue(ColourNavy)});
    QCOMPARE(runs.size(), expected.size());
    for (qsizetype i = 0; i < runs.size(); ++i) {
        QCOMPARE(runs[i].text, expected[i].text);
        QCOMPARE(runs[i].bold, expected[i].bold);
        QCOMPARE(runs[i].colour, expected[i].colour);
    }
    // Each line ends with a line break: the log reads line by line.
    QCOMPARE(rig.log()->toPlainText(), QStringLiteral("earlier line\n") + line + QLatin1Char('\n'));
}

void TestChatPane::relayedColour_data()
{
    QTest::addColumn<QString>("colourText");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("named") << "clBlue" << QColor(0, 0, 255);
    QTest::newRow("hex") << "$000080FF" << QColor(255, 128, 0);
    QTest::newRow("unreadable") << "purple" << QColor(255, 0, 0);
    QTest::newRow("none given") << "" << QColor(255, 0, 0);
}

void TestChatPane::relayedColour()
{
    QFETCH(QString, colourText);
    QFETCH(QColor, colour);
    PaneRig rig;
    rig.pane->addRelayed(QStringLiteral("Ann chats: hi"), colourText);
    QCOMPARE(rig.lines(), QStringList{QStringLiteral("Ann chats: hi")});
    for (const Run &run : lastLine(rig.log()))
        QCOMPARE(run.colour, colour);
}

void TestChatPane::entryRequests_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("sent");
    QTest::newRow("chat") << "hello + bye" << QStringList{"chat|hello + bye|clBlack"};
    QTest::newRow("me") << "/me waves" << QStringList{"action|waves|clBlack"};
    QTest::newRow("me without blank") << "/mewaves" << QStringList{"action|aves|clBlack"};
    QTest::newRow("other command") << "/help" << QStringList{};
    QTest::newRow("terminator character") << QString::fromUtf8("a\u00FFb")
                                          << QStringList{"chat|a?b|clBlack"};
}

void TestChatPane::entryRequests()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, sent);
    PaneRig rig;
    QTest::keyClicks(rig.entry(), typed);
    QCOMPARE(rig.entry()->text(), typed); // the first key cleared the invitation
    QTest::keyClick(rig.entry(), Qt::Key_Return);
    QCOMPARE(rig.entry()->text(), QString());
    QCOMPARE(rig.sent, sent);
}

void TestChatPane::entryWaitsWhileNoChat()
{
    PaneRig rig;
    rig.connected = false;
    QTest::keyClicks(rig.entry(), QStringLiteral("hi"));
    QTest::keyClick(rig.entry(), Qt::Key_Return);
    QCOMPARE(rig.entry()->text(), QStringLiteral("hi"));
    QVERIFY(rig.sent.isEmpty());
    rig.connected = true;
    QTest::keyClick(rig.entry(), Qt::Key_Enter);
    QCOMPARE(rig.sent, QStringList{QStringLiteral("chat|hi|clBlack")});
}

void TestChatPane::phraseGateCountsTicks()
{
    PaneRig rig;
    QSignalSpy closed(rig.pane.get(), &ChatPane::phraseSent);
    auto *button = rig.control<QPushButton>("b_phrase1");
    button->click();
    button->click(); // the gate is closed
    QCOMPARE(rig.sent, QStringList{QStringLiteral("phrase|says: Way To Go!|clBlack")});
    QCOMPARE(closed.count(), 1);
    for (int tick = 0; tick < 100; ++tick)
        rig.pane->dispatchTick();
    QVERIFY(!rig.pane->phraseReady());
    rig.pane->dispatchTick(); // the 101st tick opens it
    QVERIFY(rig.pane->phraseReady());
    button->click();
    QCOMPARE(rig.sent.size(), 2);
}

void TestChatPane::phraseNotSentKeepsGateOpen()
{
    PaneRig rig;
    rig.phraseGoesOut = false;
    QSignalSpy closed(rig.pane.get(), &ChatPane::phraseSent);
    rig.control<QPushButton>("b_phrase1")->click();
    QCOMPARE(rig.sent.size(), 1);
    QCOMPARE(closed.count(), 0);
    QVERIFY(rig.pane->phraseReady());
    rig.phraseGoesOut = true;
    rig.control<QPushButton>("b_phrase1")->click();
    QCOMPARE(closed.count(), 1);
    QVERIFY(!rig.pane->phraseReady());
}

void TestChatPane::phraseAsAction()
{
    PaneRig rig;
    QSignalSpy edited(rig.pane.get(), &ChatPane::phrasesEdited);
    rig.pane->setActionColour(ColourBlue);
    QStringList phrases = rig.pane->phrases();
    phrases[2] = QStringLiteral("/me cheers");
    rig.pane->applyPhrases(phrases);
    QCOMPARE(edited.count(), 1);
    QCOMPARE(rig.control<QPushButton>("b_phrase3")->toolTip(), QStringLiteral("/me cheers"));
    rig.control<QPushButton>("b_phrase3")->click();
    QCOMPARE(rig.sent, QStringList{QStringLiteral("phrase|cheers|clBlue")});
    QCOMPARE(rig.pane->phrase(0), QString());
    QCOMPARE(rig.pane->phrase(10), QString());
}

void TestChatPane::chatterNotice_data()
{
    QTest::addColumn<bool>("chatterOn");
    QTest::addColumn<QString>("sound");
    QTest::addColumn<bool>("fromPlayer");
    QTest::addColumn<QString>("line"); // empty: no line
    QTest::addColumn<QString>("clip"); // empty: no clip
    QTest::newRow("notice") << false << "wave13" << true << "Ann: <Chatter Sound> Applause" << "";
    QTest::newRow("any case") << false << "WAVE5" << true
                              << "Ann: <Chatter Sound> Where have you been?" << "";
    QTest::newRow("the menu's cancel") << false << "cancel1" << true
                                       << "Ann: <Chatter Sound> <Cancel>" << "";
    QTest::newRow("no such sound") << false << "wave15" << true << "" << "";
    QTest::newRow("not a player") << false << "wave1" << false << "" << "";
    QTest::newRow("played") << true << "wave13" << true << "" << "wave13";
    QTest::newRow("played for anyone") << true << "Wave2" << false << "" << "wave2";
    QTest::newRow("an event clip") << true << "badword" << true << "" << "badword";
    QTest::newRow("nothing to play") << true << "../wave1" << true << "" << "";
}

void TestChatPane::chatterNotice()
{
    QFETCH(bool, chatterOn);
    QFETCH(QString, sound);
    QFETCH(bool, fromPlayer);
    QFETCH(QString, line);
    QFETCH(QString, clip);
    PaneRig rig;
    rig.playChatter.setChecked(chatterOn);
    rig.playSounds.setChecked(false); // does not govern chatter sounds
    rig.pane->chatterSound(sound, fromPlayer ? std::optional<QString>(QStringLiteral("Ann"))
                                             : std::nullopt);
    QCOMPARE(rig.lines(), line.isEmpty() ? QStringList() : QStringList{line});
    for (const Run &run : lastLine(rig.log()))
        QCOMPARE(run.colour, QColor(0, 0, 255));
    QCOMPARE(rig.sound.clips, clip.isEmpty() ? QStringList() : QStringList{clip});
}

void TestChatPane::chatterRequests()
{
    PaneRig rig;
    auto *menu = rig.control<QMenu>("popup_sounds");
    QCOMPARE(menu->actions().size(), 15);
    QCOMPARE(rig.control<QAction>("wave14")->text(), QStringLiteral("Honk"));
    rig.control<QAction>("Cancel1")->trigger();
    rig.control<QAction>("wave5")->trigger();
    rig.pane->wave14Click(15);
    QCOMPARE(rig.sent, QStringList{QStringLiteral("sound|5")});
}

void TestChatPane::eventSoundsFollowTheOption()
{
    PaneRig rig;
    rig.pane->playEvent(SoundClip::GoodWord);
    rig.playSounds.setChecked(false); // as loading the settings does
    rig.pane->playEvent(SoundClip::GameOver);
    rig.playSounds.trigger(); // the player's click
    QVERIFY(rig.pane->playSounds());
    rig.pane->playEvent(SoundClip::Turn);
    QCOMPARE(rig.sound.clips, (QStringList{QStringLiteral("goodword"), QStringLiteral("turn")}));
}

void TestChatPane::coloursAndSizeAskToBeStored()
{
    PaneRig rig;
    QSignalSpy stored(rig.pane.get(), &ChatPane::settingsChanged);
    ScriptedColourChooser dialog;
    dialog.answer = QColor(255, 128, 0);
    rig.pane->setColorChooser(dialog.chooser());
    rig.pane->TextColor1Click();
    QCOMPARE(rig.entry()->palette().color(QPalette::Text), QColor(255, 128, 0));
    QCOMPARE(rig.pane->textColour(), quint32(0x0080FF));
    dialog.answer = std::nullopt; // Cancel keeps the colour, and the settings are written still
    rig.pane->ActionColor1Click();
    QCOMPARE(rig.pane->actionColour(), quint32(0));
    QCOMPARE(dialog.titles, (QStringList{QStringLiteral("Text Color"), QStringLiteral("Action Color")}));
    QCOMPARE(stored.count(), 2);

    rig.pane->N14Click(12);
    QCOMPARE(rig.log()->font().pointSize(), 12);
    QCOMPARE(rig.pane->textSize(), 12);
    QCOMPARE(stored.count(), 3);
    rig.playChatter.trigger();
    QVERIFY(rig.pane->playChatter());
    QCOMPARE(stored.count(), 4);
}

void TestChatPane::scrollOffKeepsView()
{
    PaneRig rig;
    QVERIFY(rig.shown());
    for (int i = 0; i < 60; ++i)
        rig.pane->addLine(QStringLiteral("line %1").arg(i), ColourBlack);
    QScrollBar *scroll = rig.log()->verticalScrollBar();
    QVERIFY(scroll->maximum() > 0);
    QCOMPARE(scroll->value(), scroll->maximum()); // the log follows the newest line

    rig.scrollOff.trigger();
    QVERIFY(rig.control<QAction>("ChatScrollOff1")->isChecked());
    QVERIFY(rig.pane->scrollOff());
    QTextCursor caret = rig.log()->textCursor();
    caret.setPosition(20);
    rig.log()->setTextCursor(caret);
    scroll->setValue(10);
    for (int i = 0; i < 5; ++i)
        rig.pane->addLine(QStringLiteral("more %1").arg(i), ColourBlack);
    QCOMPARE(scroll->value(), 10);
    QCOMPARE(rig.log()->textCursor().position(), 20);

    // Off again, from the log's own menu: the view follows once more.
    rig.control<QAction>("ChatScrollOff1")->trigger();
    QVERIFY(!rig.scrollOff.isChecked());
    rig.pane->addLine(QStringLiteral("last"), ColourBlack);
    QCOMPARE(scroll->value(), scroll->maximum());
}

void TestChatPane::logKeepsNewestLines()
{
    PaneRig rig;
    QVERIFY(rig.shown());
    QTextEdit *log = rig.log();
    QScrollBar *scroll = log->verticalScrollBar();
    // Past 1,200 lines the log drops back to the newest 1,000.
    for (int i = 0; i < 1201; ++i)
        rig.pane->addLine(QStringLiteral("Ann chats: line %1 www.a.org").arg(i), ColourBlack);
    const QStringList lines = rig.lines();
    QCOMPARE(lines.size(), 1000);
    QCOMPARE(lines.first(), QStringLiteral("Ann chats: line 201 www.a.org"));
    QCOMPARE(lines.last(), QStringLiteral("Ann chats: line 1200 www.a.org"));
    QCOMPARE(log->document()->blockCount(), 1001); // and the empty one after the last
    QCOMPARE(scroll->value(), scroll->maximum());
    // The newest line keeps its bold head and underlined link.
    const QList<Run> runs = lastLine(log);
    QVERIFY(runs.size() >= 2);
    QVERIFY(runs.first().bold);
    QTextCursor at(log->document()->lastBlock().previous());
    at.movePosition(QTextCursor::EndOfBlock);
    QVERIFY(at.charFormat().fontUnderline());

    // With Chat Scroll Off the line at the top of the view stays there while
    // the oldest lines go.
    rig.scrollOff.trigger();
    scroll->setValue(scroll->maximum() / 2);
    const QString topLine = log->cursorForPosition(QPoint(0, 0)).block().text();
    for (int i = 0; i < 201; ++i)
        rig.pane->addLine(QStringLiteral("Bo chats: more %1").arg(i), ColourBlack);
    QCOMPARE(rig.lines().size(), 1000);
    QCOMPARE(rig.lines().first(), QStringLiteral("Ann chats: line 402 www.a.org"));
    QCOMPARE(log->cursorForPosition(QPoint(0, 0)).block().text(), topLine);
}

void TestChatPane::copyAndPaste()
{
    PaneRig rig;
    rig.pane->addLine(QStringLiteral("Ann chats: copy me"), ColourRed);
    QTextCursor selection(rig.log()->document());
    selection.setPosition(11);
    selection.setPosition(18, QTextCursor::KeepAnchor);
    rig.log()->setTextCursor(selection);
    rig.control<QAction>("Copy1")->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("copy me"));
    QVERIFY(!QGuiApplication::clipboard()->mimeData()->hasHtml());

    rig.entry()->setText(QStringLiteral("typed before"));
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
    rig.control<QAction>("Paste1")->trigger();
    QCOMPARE(rig.entry()->text(), QStringLiteral("pasted"));
    // Ctrl+V in the entry does the same: the whole text is replaced.
    rig.entry()->setText(QStringLiteral("again"));
    QTest::keyClick(rig.entry(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(rig.entry()->text(), QStringLiteral("pasted"));
}

void TestChatPane::linkInLog()
{
    PaneRig rig;
    RecordingUrlOpener browser;
    QList<QUrl> &opened = browser.opened;
    rig.pane->setUrlOpener(browser.opener());
    QVERIFY(rig.shown());
    QTextEdit *log = rig.log();
    rig.pane->addLine(QStringLiteral("Cy chats: write to mailto:x now"), ColourNavy);
    QTextCursor cursor(log->document());
    cursor.setPosition(int(log->toPlainText().indexOf(QStringLiteral("mailto")) + 2));
    const QPoint onLink = log->cursorRect(cursor).center() + QPoint(2, 0);
    QTest::mouseMove(log->viewport(), onLink);
    QTRY_COMPARE(log->viewport()->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(log->viewport(), Qt::LeftButton, {}, onLink);
    QCOMPARE(opened, QList<QUrl>{QUrl(QStringLiteral("mailto:x"))});

    // The link, and only the link, is underlined.
    auto underlinedAt = [log](const QString &word) {
        QTextCursor at(log->document());
        at.setPosition(int(log->toPlainText().indexOf(word) + 1));
        return at.charFormat().fontUnderline();
    };
    QVERIFY(underlinedAt(QStringLiteral("mailto")));
    QVERIFY(!underlinedAt(QStringLiteral("write")));
    QVERIFY(!underlinedAt(QStringLiteral("now")));
    rig.pane->addLine(QStringLiteral("Bo chats: see (www.example.com)."), ColourNavy);
    QVERIFY(underlinedAt(QStringLiteral("example.com")));
    QVERIFY(!underlinedAt(QStringLiteral(").")));
}

QTEST_MAIN(TestChatPane)
#include "tst_chatpane.moc"
