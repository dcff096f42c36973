// The chat pane in the window: what the entry and the phrase buttons put on
// the wire, relayed lines and chatter sounds as they arrive, the event
// sounds and the chat options with the settings. The pane alone is tested
// in tst_chatpane.

#include "sessionrig.h"
#include "dialogfakes.h"

#include "client/chatlogview.h"
#include "client/chatpane.h"
#include "client/colortext.h"
#include "windows/phrasesform.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QtTest>

#include "chatlog.h"

#include <memory>

using namespace zwonky;
using namespace zwonky::testing;

namespace {

QByteArray wire(const char *text) { return QByteArray(text) + protocol::Terminator; }

} // namespace

class TestChatformChat : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void relayedColour_data();
    void relayedColour();
    void entrySends_data();
    void entrySends();
    void entryBeforeLogin();
    void phraseGate();
    void phraseGateWhileMessagesFlow();
    void phraseWithoutConnection();
    void editedPhraseSends();
    void chatterSoundNotice_data();
    void chatterSoundNotice();
    void chatterSoundSending();
    void watcherSendsNoSound();
    void eventSounds();
    void colourOptions();
    void textSize();
    void textSizeKeepsTheView_data();
    void textSizeKeepsTheView();
    void longLineCut();
    void otherSchemesAsked();

private:
    bool seatAnn(int seat = 2);
    // Sends a marker line and returns everything the window sent up to it.
    QByteArray sentUpToMarker();
    QTextEdit *log() const { return m_rig->control<QTextEdit>(QStringLiteral("mainchat")); }
    QLineEdit *entry() const { return m_rig->control<QLineEdit>(QStringLiteral("mychat")); }
    QAction *action(const char *name) const
    {
        return m_rig->window.findChild<QAction *>(QLatin1String(name));
    }

    std::unique_ptr<SessionRig> m_rig;
    std::unique_ptr<Tphrases> m_editor;
};

void TestChatformChat::init()
{
    m_rig = std::make_unique<SessionRig>();
    m_editor = std::make_unique<Tphrases>();
    CompanionWindows companions;
    companions.spyList = &m_rig->spies;
    companions.gameStart = &m_rig->gameStart;
    companions.phrases = m_editor.get();
    m_rig->window.setCompanions(companions);
}

void TestChatformChat::cleanup()
{
    m_editor.reset();
    m_rig.reset();
}

bool TestChatformChat::seatAnn(int seat)
{
    if (!m_rig->seat(seat, QStringLiteral("Ann")))
        return false;
    m_rig->feed(protocol::newPlayerInfo(seat, QStringLiteral("Ann")));
    return m_rig->window.settingsLoaded();
}

QByteArray TestChatformChat::sentUpToMarker()
{
    const QByteArray marker = protocol::chat(m_rig->window.ownSeat(), QStringLiteral("marker"),
                                             colorToText(m_rig->window.chatPane().textColour()));
    entry()->setText(QStringLiteral("marker"));
    m_rig->window.chatPane().sendit();
    QByteArray all;
    const bool arrived = QTest::qWaitFor([&] {
        all = m_rig->sentSoFar();
        return all.endsWith(marker);
    }, 5000);
    m_rig->takeSent();
    if (!arrived)
        return QByteArrayLiteral("<the marker never arrived>");
    all.chop(marker.size());
    return all;
}

void TestChatformChat::relayedColour_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QColor>("colour");
    const QColor red(255, 0, 0);
    QTest::newRow("no bar") << QByteArray("CMD_chat+Ann chats: hi") << "Ann chats: hi" << red;
    QTest::newRow("named") << QByteArray("CMD_chat+Ann chats: hi|clBlue") << "Ann chats: hi"
                           << QColor(0, 0, 255);
    QTest::newRow("hex") << QByteArray("CMD_action+Ann waves|$000080FF") << "Ann waves"
                         << QColor(255, 128, 0);
    QTest::newRow("unreadable") << QByteArray("CMD_action+Ann waves|purple") << "Ann waves" << red;
    QTest::newRow("bar in the text") << QByteArray("CMD_chat+Ann chats: a|b|clBlack")
                                     << "Ann chats: a" << red;
    QTest::newRow("empty colour") << QByteArray("CMD_chat+Ann chats: x|") << "Ann chats: x" << red;
}

void TestChatformChat::relayedColour()
{
    QFETCH(QByteArray, message);
    QFETCH(QString, line);
    QFETCH(QColor, colour);
    m_rig->feed(message);
    QCOMPARE(m_rig->chatLines().constLast(), line);
    for (const Run &run : lastLine(log()))
        QCOMPARE(run.colour, colour);
}

void TestChatformChat::entrySends_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("sent");
    QTest::newRow("chat") << "hello + bye" << wire("CMD_chat+2+hello + bye|clBlack");
    QTest::newRow("me") << "/me waves" << wire("CMD_action+2+waves|clBlack");
    QTest::newRow("me without blank") << "/mewaves" << wire("CMD_action+2+aves|clBlack");
    QTest::newRow("me alone") << "/me" << wire("CMD_action+2+|clBlack");
    QTest::newRow("other command") << "/help" << QByteArray();
    QTest::newRow("terminator character") << QString::fromUtf8("a\u00FFCMD_kickhim+2+1+")
                                          << wire("CMD_chat+2+a?CMD_kickhim+2+1+|clBlack");
}

void TestChatformChat::entrySends()
{
    QFETCH(QString, typed);
    QFETCH(QByteArray, sent);
    QVERIFY(seatAnn());
    QCOMPARE(entry()->text(), QStringLiteral("<Enter Chat Here>"));
    // The first key clears the invitation; Enter sends.
    QTest::keyClicks(entry(), typed);
    QCOMPARE(entry()->text(), typed);
    QTest::keyClick(entry(), Qt::Key_Return);
    QCOMPARE(entry()->text(), QString());
    QCOMPARE(sentUpToMarker(), sent);
}

void TestChatformChat::entryBeforeLogin()
{
    QVERIFY(m_rig->launch({QStringLiteral("Ann"), QStringLiteral("127.0.0.1"),
                           QStringLiteral("false")}));
    QTest::keyClicks(entry(), QStringLiteral("hi"));
    QTest::keyClick(entry(), Qt::Key_Return);
    QCOMPARE(entry()->text(), QStringLiteral("hi"));
    QCOMPARE(m_rig->takeSent(), QByteArray());
}

void TestChatformChat::phraseGate()
{
    QVERIFY(seatAnn());
    ClientSession &pump = m_rig->window.session();
    pump.setDispatchManual(true); // the test counts the ticks
    auto *button = m_rig->control<QPushButton>(QStringLiteral("b_phrase1"));
    QCOMPARE(button->toolTip(), QStringLiteral("Way To Go!"));
    const QByteArray phrase = wire("CMD_action+2+says: Way To Go!|clBlack");

    button->click();
    button->click();
    for (int tick = 0; tick < 100; ++tick)
        pump.tick();
    button->click(); // 100 ticks later: still closed
    QVERIFY(!m_rig->window.chatPane().phraseReady());
    pump.tick(); // the 101st tick opens the gate
    QVERIFY(m_rig->window.chatPane().phraseReady());
    button->click();
    QCOMPARE(sentUpToMarker(), phrase + phrase);
}

void TestChatformChat::phraseGateWhileMessagesFlow()
{
    // On the running timer: a burst of lines is shown at once, and the gate
    // still waits for its ticks, not for messages.
    QVERIFY(seatAnn());
    ClientSession &session = m_rig->window.session();
    m_rig->control<QPushButton>(QStringLiteral("b_phrase1"))->click();
    QVERIFY(!m_rig->window.chatPane().phraseReady());
    QByteArray burst;
    for (int i = 0; i < 30; ++i)
        burst += protocol::chatRelay(QStringLiteral("Eve"), QStringLiteral("line %1|clBlack").arg(i));
    session.receive(burst);
    QCoreApplication::processEvents();
    QCOMPARE(session.queued(), std::size_t(0));
    QVERIFY(log()->toPlainText().contains(QStringLiteral("line 29")));
    QVERIFY(!m_rig->window.chatPane().phraseReady());
    QTRY_VERIFY(m_rig->window.chatPane().phraseReady());
}

void TestChatformChat::phraseWithoutConnection()
{
    // Phrases do not wait for the login, but a connection that is not open
    // is reported and the gate stays open.
    m_rig->control<QPushButton>(QStringLiteral("b_phrase2"))->click();
    QCOMPARE(m_rig->messageBox.texts, QStringList{QStringLiteral("Send - Socket Not Connected")});
    QVERIFY(m_rig->window.chatPane().phraseReady());
}

void TestChatformChat::editedPhraseSends()
{
    QVERIFY(seatAnn());
    action("PrhaseList1")->trigger();
    QVERIFY(m_editor->isVisible());
    auto *field = m_editor->findChild<QLineEdit *>(QStringLiteral("phrase3"));
    QCOMPARE(field->text(), QStringLiteral("Nice Try!"));
    field->setText(QStringLiteral("/me cheers"));
    m_editor->findChild<QPushButton *>(QStringLiteral("SelButton8"))->click();
    QVERIFY(!m_editor->isVisible());
    QCOMPARE(m_rig->control<QPushButton>(QStringLiteral("b_phrase3"))->toolTip(),
             QStringLiteral("/me cheers"));

    m_rig->control<QPushButton>(QStringLiteral("b_phrase3"))->click();
    QCOMPARE(sentUpToMarker(), wire("CMD_action+2+cheers|clBlack"));
}

void TestChatformChat::chatterSoundNotice_data()
{
    QTest::addColumn<bool>("chatterOn");
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QString>("line"); // empty: no line
    QTest::addColumn<QString>("clip"); // empty: no clip
    QTest::newRow("notice") << false << QByteArray("CMD_playasound+2+wave13+")
                            << "Ann: <Chatter Sound> Applause" << "";
    QTest::newRow("any letter case") << false << QByteArray("CMD_playasound+2+WAVE5+")
                                     << "Ann: <Chatter Sound> Where have you been?" << "";
    QTest::newRow("no such sound") << false << QByteArray("CMD_playasound+2+wave15+") << ""
                                   << "";
    QTest::newRow("watcher seat") << false << QByteArray("CMD_playasound+7+wave1+") << "" << "";
    QTest::newRow("seat not a number") << false << QByteArray("CMD_playasound+x+wave1+") << ""
                                       << "";
    QTest::newRow("played") << true << QByteArray("CMD_playasound+2+wave13+") << ""
                            << "wave13";
}

void TestChatformChat::chatterSoundNotice()
{
    QFETCH(bool, chatterOn);
    QFETCH(QByteArray, message);
    QFETCH(QString, line);
    QFETCH(QString, clip);
    QVERIFY(seatAnn());
    QAction *chatter = action("PlayChatterSounds1");
    QVERIFY(chatter->isChecked()); // loading without a file turns it on
    if (!chatterOn)
        chatter->trigger();
    QCOMPARE(chatter->isChecked(), chatterOn);
    // Play Sounds does not govern chatter sounds.
    action("PlaySounds1")->trigger();
    m_rig->sound.clips.clear();
    const QStringList before = m_rig->chatLines();

    m_rig->feed(message);
    const QStringList after = m_rig->chatLines();
    if (line.isEmpty()) {
        QCOMPARE(after, before);
    } else {
        QCOMPARE(after.size(), before.size() + 1);
        QCOMPARE(after.constLast(), line);
        for (const Run &run : lastLine(log()))
            QCOMPARE(run.colour, QColor(0, 0, 255));
    }
    QCOMPARE(m_rig->sound.clips, clip.isEmpty() ? QStringList() : QStringList{clip});
}

void TestChatformChat::chatterSoundSending()
{
    QVERIFY(seatAnn());
    auto *menu = m_rig->window.findChild<QMenu *>(QStringLiteral("popup_sounds"));
    QVERIFY(menu);
    QCOMPARE(menu->actions().size(), 15);
    QCOMPARE(menu->actions().first()->text(), QStringLiteral("<Cancel>"));
    auto *honk = m_rig->window.findChild<QAction *>(QStringLiteral("wave14"));
    QCOMPARE(honk->text(), QStringLiteral("Honk"));
    QCOMPARE(honk->toolTip(), QStringLiteral("Honk"));

    m_rig->window.findChild<QAction *>(QStringLiteral("Cancel1"))->trigger();
    m_rig->window.findChild<QAction *>(QStringLiteral("wave5"))->trigger();
    QCOMPARE(sentUpToMarker(), wire("CMD_playasound+2+wave5+"));
}

void TestChatformChat::watcherSendsNoSound()
{
    QVERIFY(seatAnn(7));
    m_rig->window.findChild<QAction *>(QStringLiteral("wave3"))->trigger();
    // A watcher still chats.
    QCOMPARE(sentUpToMarker(), QByteArray());
}

void TestChatformChat::eventSounds()
{
    QVERIFY(seatAnn());
    m_rig->sound.clips.clear();
    m_rig->feed(protocol::existingPlayers(3, QStringLiteral("Bo")));
    m_rig->window.playsounds(SoundClip::GoodWord);
    QCOMPARE(m_rig->sound.clips, (QStringList{QStringLiteral("entered"), QStringLiteral("goodword")}));

    action("PlaySounds1")->trigger();
    QVERIFY(!action("PlaySounds1")->isChecked());
    m_rig->window.playsounds(SoundClip::GameOver);
    QCOMPARE(m_rig->sound.clips.size(), 2);
}

void TestChatformChat::colourOptions()
{
    QVERIFY(seatAnn());
    ScriptedColourChooser dialog;
    dialog.answer = QColor(255, 128, 0);
    m_rig->window.chatPane().setColorChooser(dialog.chooser());
    action("TextColor1")->trigger();
    QCOMPARE(entry()->palette().color(QPalette::Text), QColor(255, 128, 0));
    dialog.answer = std::nullopt; // Cancel leaves the action colour as it was
    action("ActionColor1")->trigger();
    QCOMPARE(dialog.titles, (QStringList{QStringLiteral("Text Color"), QStringLiteral("Action Color")}));

    entry()->setText(QStringLiteral("hi"));
    m_rig->window.chatPane().sendit();
    entry()->setText(QStringLiteral("/me hops"));
    m_rig->window.chatPane().sendit();
    QCOMPARE(sentUpToMarker(),
             wire("CMD_chat+2+hi|$000080FF") + wire("CMD_action+2+hops|clBlack"));
}

void TestChatformChat::textSize()
{
    QVERIFY(seatAnn());
    QAction *twelve = action("N12");
    twelve->trigger();
    QCOMPARE(log()->font().pointSize(), 12);
    // Only loading the settings moves the size check marks.
    QVERIFY(!twelve->isChecked());
    QVERIFY(action("N8")->isChecked());
}

void TestChatformChat::textSizeKeepsTheView_data()
{
    QTest::addColumn<bool>("scrollOff");
    QTest::addColumn<QString>("size");
    QTest::newRow("14: newest line in view") << false << "N14";
    QTest::newRow("8: newest line in view") << false << "N8";
    QTest::newRow("scroll off: same top line") << true << "N14";
}

void TestChatformChat::textSizeKeepsTheView()
{
    QFETCH(bool, scrollOff);
    QFETCH(QString, size);
    QVERIFY(seatAnn());
    m_rig->window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m_rig->window));
    if (size == QLatin1String("N8"))
        action("N12")->trigger();
    for (int i = 0; i < 80; ++i)
        m_rig->window.addlinetochat(QStringLiteral("line %1").arg(i), ColourBlack);
    QScrollBar *scroll = log()->verticalScrollBar();
    QCOMPARE(scroll->value(), scroll->maximum());
    const auto lineAtTop = [this] {
        return log()->cursorForPosition(QPoint(2, 2)).block().text();
    };
    if (scrollOff) {
        action("ScrollOff1")->trigger();
        scroll->setValue(scroll->maximum() / 3);
    }
    const QString topBefore = lineAtTop();

    action(qPrintable(size))->trigger();
    if (scrollOff) {
        QCOMPARE(lineAtTop(), topBefore);
        return;
    }
    QVERIFY(scroll->maximum() > 0);
    QCOMPARE(scroll->value(), scroll->maximum());
    // The newest line is on screen.
    QTextCursor newest(log()->document()->lastBlock().previous());
    const QRect at = log()->cursorRect(newest);
    QVERIFY2(log()->viewport()->rect().contains(at),
             qPrintable(QStringLiteral("newest line at y %1").arg(at.y())));
    QCOMPARE(newest.block().text(), QStringLiteral("line 79"));
}

void TestChatformChat::longLineCut()
{
    // A line as long as a paragraph arrives whole.
    const QString paragraph = QString(1980, QLatin1Char('p'));
    m_rig->feed(protocol::chatRelay(QStringLiteral("Bo"), paragraph + QStringLiteral("|clBlue")));
    QCOMPARE(m_rig->chatLines().constLast(), QStringLiteral("Bo chats: ") + paragraph);

    // The longest line anyone can type shows its start and how much of it
    // is left out.
    const int typedMost = entry()->maxLength();
    QVERIFY(typedMost >= 32767); // the entry takes what it always took
    m_rig->feed(protocol::chatRelay(QString(200, QLatin1Char('N')),
                                    QString(typedMost, QLatin1Char('t')) + QStringLiteral("|clBlue")));
    const QString typed = QString(200, QLatin1Char('N')) + QStringLiteral(" chats: ")
        + QString(ChatLogView::ShownPerLine - 208, QLatin1Char('t'));
    QCOMPARE(m_rig->chatLines().constLast(),
             typed + QStringLiteral("\u2026 (%1 more characters)").arg(typedMost + 208 - ChatLogView::ShownPerLine));

    // 60 KB in one word after a link: cut the same way, keeping its colour
    // and its link.
    const QString hostile = QStringLiteral("www.a.org ") + QString(60000, QLatin1Char('y'));
    m_rig->feed(protocol::actionRelay(QStringLiteral("Eve"), hostile + QStringLiteral("|clBlue")));
    const QString shown = m_rig->chatLines().constLast();
    QVERIFY(shown.startsWith(QString(QStringLiteral("Eve ") + hostile).left(ChatLogView::ShownPerLine) + QChar(0x2026)));
    for (const Run &run : lastLine(log()))
        QCOMPARE(run.colour, QColor(0, 0, 255));
    QStringList underlined;
    for (auto it = log()->document()->lastBlock().previous().begin(); !it.atEnd(); ++it)
        if (it.fragment().charFormat().fontUnderline())
            underlined << it.fragment().text();
    QCOMPARE(underlined, QStringList{QStringLiteral("www.a.org")});
}

void TestChatformChat::otherSchemesAsked()
{
    // Any peer may put a file:// link into the chat: the window asks before
    // it opens one, a web link opens at once.
    RecordingUrlOpener browser;
    QList<QUrl> &opened = browser.opened;
    QStringList asked;
    bool answer = false;
    m_rig->window.chatPane().setUrlOpener(browser.opener());
    m_rig->window.chatPane().setLinkAsker([&](const QString &link) {
        asked << link;
        return answer;
    });
    m_rig->window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m_rig->window));
    m_rig->feed(protocol::chatRelay(QStringLiteral("Eve"),
                                    QStringLiteral("file:///home/ann/.ssh/id_rsa|clBlack")));
    m_rig->feed(protocol::chatRelay(QStringLiteral("Eve"), QStringLiteral("http://x.org/|clBlack")));
    const auto clickOn = [this](const QString &word) {
        QTextCursor cursor(log()->document());
        cursor.setPosition(int(log()->toPlainText().indexOf(word) + 2));
        QTest::mouseClick(log()->viewport(), Qt::LeftButton, {},
                          log()->cursorRect(cursor).center() + QPoint(2, 0));
    };

    clickOn(QStringLiteral("file:"));
    QCOMPARE(asked, QStringList{QStringLiteral("file:///home/ann/.ssh/id_rsa")});
    QVERIFY(opened.isEmpty());
    answer = true;
    clickOn(QStringLiteral("file:"));
    QCOMPARE(opened, QList<QUrl>{QUrl(QStringLiteral("file:///home/ann/.ssh/id_rsa"))});

    asked.clear();
    opened.clear();
    clickOn(QStringLiteral("http:"));
    QVERIFY(asked.isEmpty());
    QCOMPARE(opened, QList<QUrl>{QUrl(QStringLiteral("http://x.org/"))});
}

QTEST_MAIN(TestChatformChat)
#include "tst_chatform_chat.moc"
