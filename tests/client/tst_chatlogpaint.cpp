// The chat log paints a new line into what the screen already shows: it
// scrolls the old lines up, draws only the uncovered strip and leaves its
// scroll bar alone while the handle stays in place. What the screen shows
// after many lines, each painted as it came, must be exactly what a paint of
// the whole log from scratch shows, in either scroll mode and across the
// removal of the oldest lines.

#include "client/chatform.h"
#include "client/chatlogview.h"
#include "client/chatpane.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QScrollBar>
#include <QtTest>

using namespace zwonky;

namespace {

// The main window, where the log sits over the window's cloth.
struct LogRig
{
    Tchat window;
    ChatPane &pane = window.chatPane();
    ChatLogView *log = window.findChild<ChatLogView *>(QStringLiteral("mainchat"));

    // Lines as a game brings them: each shown before the next arrives.
    void say(int from, int to)
    {
        for (int i = from; i < to; ++i) {
            const QString text = i % 3 == 0
                ? QStringLiteral("Eve says: see www.example.org/page%1 for it").arg(i)
                : QStringLiteral("Bob chats: a line of chat, number %1 of many").arg(i);
            pane.addLine(text, i % 2 ? 0x800000u : 0x008000u);
            QCoreApplication::processEvents();
        }
    }

    // The log as the screen shows it now.
    QImage shown() const
    {
        const QRect area(log->mapTo(&window, QPoint(0, 0)), log->size());
        return window.screen()->grabWindow(window.winId()).copy(area).toImage().convertToFormat(
            QImage::Format_RGB32);
    }

    QImage paintedAfresh()
    {
        window.repaint();
        return shown();
    }
};

} // namespace

class TestChatLogPaint : public QObject
{
    Q_OBJECT
private slots:
    void linesPaintAsAFreshPaintWould_data();
    void linesPaintAsAFreshPaintWould();
};

void TestChatLogPaint::linesPaintAsAFreshPaintWould_data()
{
    QTest::addColumn<bool>("holdView");
    QTest::newRow("view follows the newest line") << false;
    QTest::newRow("Chat Scroll Off") << true;
}

void TestChatLogPaint::linesPaintAsAFreshPaintWould()
{
    QFETCH(bool, holdView);
    LogRig rig;
    rig.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.window));

    rig.say(0, 40);
    if (holdView) {
        rig.pane.ScrollOff1Click(true);
        rig.log->verticalScrollBar()->setValue(rig.log->verticalScrollBar()->maximum() / 2);
        QCoreApplication::processEvents();
    }
    const int handleBefore = rig.log->verticalScrollBar()->value();
    rig.say(40, 120);
    QCOMPARE(rig.shown(), rig.paintedAfresh());

    // Past the bound the oldest lines go and the rest move up.
    rig.say(120, ChatLogView::MaxLines + ChatLogView::TrimBatch + 30);
    QVERIFY(rig.log->document()->blockCount() - 1 < ChatLogView::MaxLines + 40);
    QCOMPARE(rig.shown(), rig.paintedAfresh());
    if (!holdView) {
        QVERIFY(rig.log->verticalScrollBar()->value() > handleBefore);
        QCOMPARE(rig.log->verticalScrollBar()->value(), rig.log->verticalScrollBar()->maximum());
    }
}

int main(int argc, char **argv)
{
    // What the screen shows is read back from the offscreen screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestChatLogPaint test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_chatlogpaint.moc"
