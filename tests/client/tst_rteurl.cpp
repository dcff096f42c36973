#include "client/rteurl.h"

#include "dialogfakes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>

#include <memory>

using zwonky::CharRange;
using zwonky::GetURLInRange;
using zwonky::LinkPointer;
using zwonky::URLAtPoint;
using zwonky::testing::RecordingUrlOpener;

class TestRteUrl : public QObject
{
    Q_OBJECT
private slots:
    void linkInWord_data();
    void linkInWord();
    void wholeWordRange();
    void linksOfText_data();
    void linksOfText();
    void pointerOverLog();
    void clickOpensLink();
    void schemeDecidesAsking_data();
    void schemeDecidesAsking();
    void questionBoxNamesLink();
    void logDestroyedUnderPointer();

private:
    static QPoint pointOf(QTextEdit &log, int position);
};

void TestRteUrl::linkInWord_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position"); // an empty range at this character
    QTest::addColumn<QString>("link"); // empty: no link
    QTest::addColumn<int>("linkStart");

    QTest::newRow("mailto") << "mailto:x" << 3 << "mailto:x" << 0;
    QTest::newRow("prefix alone") << "http://" << 2 << "" << 0;
    QTest::newRow("www alone") << "say www. now" << 5 << "" << 0;
    QTest::newRow("ends a sentence") << "see http://x.org/a." << 8 << "http://x.org/a" << 4;
    QTest::newRow("in brackets") << "(http://x.org/)" << 3 << "http://x.org/" << 1;
    QTest::newRow("www in brackets") << "go (www.abc.com) now" << 6 << "www.abc.com" << 4;
    QTest::newRow("letters as written") << "Ann chats: WWW.Example.COM!" << 14 << "WWW.Example.COM" << 11;
    QTest::newRow("ftp with comma") << "ftp://host/file.txt, ok" << 0 << "ftp://host/file.txt" << 0;
    QTest::newRow("news") << "news:comp.games" << 6 << "news:comp.games" << 0;
    QTest::newRow("prefix inside word") << "xhttp://a" << 0 << "http://a" << 1;
    QTest::newRow("second word") << "telnet://h and mailto:y" << 16 << "mailto:y" << 15;
    QTest::newRow("before a line feed") << "http://a/b\nnext" << 4 << "http://a/b" << 0;
    QTest::newRow("first prefix wins") << "http://www.x" << 9 << "http://www.x" << 0;
    QTest::newRow("no prefix") << "plain words" << 2 << "" << 0;
    QTest::newRow("empty text") << "" << 0 << "" << 0;
    QTest::newRow("past the end") << "mailto:x" << 40 << "" << 0;
    QTest::newRow("on a blank") << "a  mailto:x" << 2 << "" << 0;
}

void TestRteUrl::linkInWord()
{
    QFETCH(QString, text);
    QFETCH(int, position);
    QFETCH(QString, link);
    QFETCH(int, linkStart);

    CharRange range{position, position};
    QString found;
    const bool isLink = GetURLInRange(text, range, found);
    QCOMPARE(isLink, !link.isEmpty());
    if (isLink) {
        QCOMPARE(found, link);
        QCOMPARE(range.start, qsizetype(linkStart));
        QCOMPARE(range.end, qsizetype(linkStart + link.size()));
    }
}

void TestRteUrl::wholeWordRange()
{
    // A range that is not empty is taken one character further.
    const QString text = QStringLiteral("see http://x.org now");
    CharRange range{4, 16};
    QString found;
    QVERIFY(GetURLInRange(text, range, found));
    QCOMPARE(found, QStringLiteral("http://x.org"));
}

void TestRteUrl::linksOfText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("links"); // "start:text" of each link in order

    QTest::newRow("none") << "plain words only" << QStringList{};
    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("blanks only") << "   " << QStringList{};
    QTest::newRow("one, with a full stop")
        << " see http://x.org/a." << QStringList{QStringLiteral("5:http://x.org/a")};
    QTest::newRow("several kinds")
        << "mail mailto:a@b.c or (www.abc.com) and ftp://h/f, ok"
        << QStringList{QStringLiteral("5:mailto:a@b.c"), QStringLiteral("22:www.abc.com"),
                       QStringLiteral("39:ftp://h/f")};
    QTest::newRow("prefix alone is none") << "http:// www. news:x" << QStringList{"13:news:x"};
    QTest::newRow("line breaks part words")
        << "a\r\nwww.x.org\nfile://c/d" << QStringList{"3:www.x.org", "13:file://c/d"};
    QTest::newRow("prefix inside a word") << "xhttp://a" << QStringList{"1:http://a"};
}

void TestRteUrl::linksOfText()
{
    QFETCH(QString, text);
    QFETCH(QStringList, links);
    QStringList found;
    for (const CharRange &link : zwonky::findLinks(text))
        found << QStringLiteral("%1:%2").arg(link.start).arg(text.mid(link.start, link.end - link.start));
    QCOMPARE(found, links);
}

QPoint TestRteUrl::pointOf(QTextEdit &log, int position)
{
    QTextCursor cursor(log.document());
    cursor.setPosition(position);
    const QRect before = log.cursorRect(cursor);
    cursor.setPosition(position + 1);
    const QRect after = log.cursorRect(cursor);
    return QPoint((before.left() + after.left()) / 2, before.center().y());
}

void TestRteUrl::pointerOverLog()
{
    QTextEdit log;
    log.setReadOnly(true);
    log.resize(400, 300);
    log.setPlainText(QStringLiteral("Ann chats: write to mailto:x please\nBo chats: http:// alone"));
    log.show();
    QVERIFY(QTest::qWaitForWindowExposed(&log));

    const QString text = log.toPlainText();
    CharRange range;
    QString url;
    const QPoint onLink = pointOf(log, int(text.indexOf(QStringLiteral("mailto")) + 3));
    QVERIFY(URLAtPoint(&log, onLink.x(), onLink.y(), &range, &url));
    QCOMPARE(url, QStringLiteral("mailto:x"));
    QCOMPARE(text.mid(range.start, range.end - range.start), QStringLiteral("mailto:x"));

    const QPoint onPrefixOnly = pointOf(log, int(text.indexOf(QStringLiteral("http")) + 2));
    QVERIFY(!URLAtPoint(&log, onPrefixOnly.x(), onPrefixOnly.y()));

    const QPoint onPlainWord = pointOf(log, int(text.indexOf(QStringLiteral("write")) + 1));
    QVERIFY(!URLAtPoint(&log, onPlainWord.x(), onPlainWord.y()));

    // Below the last line there is no character.
    QVERIFY(!URLAtPoint(&log, onLink.x(), 280));
}

void TestRteUrl::clickOpensLink()
{
    QTextEdit log;
    log.setReadOnly(true);
    log.resize(400, 300);
    log.setPlainText(QStringLiteral("Cy chats: see www.example.org."));
    auto *pointer = new LinkPointer(&log);
    RecordingUrlOpener browser;
    QList<QUrl> &opened = browser.opened;
    pointer->setOpener(browser.opener());
    log.show();
    QVERIFY(QTest::qWaitForWindowExposed(&log));

    const QPoint onLink = pointOf(log, 18);
    QTest::mouseMove(log.viewport(), onLink);
    QTRY_COMPARE(log.viewport()->cursor().shape(), Qt::PointingHandCursor);

    // Right button: nothing opens.
    QTest::mouseClick(log.viewport(), Qt::RightButton, {}, onLink);
    QVERIFY(opened.isEmpty());

    QTest::mouseClick(log.viewport(), Qt::LeftButton, {}, onLink);
    QCOMPARE(opened, QList<QUrl>{QUrl(QStringLiteral("http://www.example.org"))});
    QCOMPARE(log.textCursor().selectedText(), QStringLiteral("www.example.org"));

    // Below the last character: nothing opens, the cursor is the plain one.
    const QPoint below(onLink.x(), 250);
    QTest::mouseMove(log.viewport(), below);
    QTRY_COMPARE(log.viewport()->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseClick(log.viewport(), Qt::LeftButton, {}, below);
    QCOMPARE(opened.size(), 1);
}

void TestRteUrl::schemeDecidesAsking_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("opens");  // what the opener gets; empty: nothing
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("answer");    // the player's answer when asked

    QTest::newRow("http") << "http://x.org/a" << "http://x.org/a" << false << false;
    QTest::newRow("www") << "www.x.org" << "http://www.x.org" << false << false;
    QTest::newRow("mailto") << "mailto:ann@x.org" << "mailto:ann@x.org" << false << false;
    QTest::newRow("file refused") << "file:///etc/passwd" << "" << true << false;
    QTest::newRow("file allowed") << "file:///tmp/a" << "file:///tmp/a" << true << true;
    QTest::newRow("telnet refused") << "telnet://h.org" << "" << true << false;
    QTest::newRow("ftp refused") << "ftp://h.org/f" << "" << true << false;
    QTest::newRow("gopher refused") << "gopher://h.org" << "" << true << false;
    QTest::newRow("news allowed") << "news:comp.games" << "news:comp.games" << true << true;
    // The first prefix wins: a web link that carries another scheme opens.
    QTest::newRow("http holding file") << "http://x/file://y" << "http://x/file://y" << false
                                       << false;
}

void TestRteUrl::schemeDecidesAsking()
{
    QFETCH(QString, word);
    QFETCH(QString, opens);
    QFETCH(bool, asked);
    QFETCH(bool, answer);

    QTextEdit log;
    log.setReadOnly(true);
    log.resize(400, 300);
    log.setPlainText(QStringLiteral("Eve chats: ") + word);
    auto *pointer = new LinkPointer(&log);
    RecordingUrlOpener browser;
    QList<QUrl> &opened = browser.opened;
    QStringList questions;
    pointer->setOpener(browser.opener());
    pointer->setAsker([&questions, answer](const QString &link) {
        questions.append(link);
        return answer;
    });
    log.show();
    QVERIFY(QTest::qWaitForWindowExposed(&log));

    QTest::mouseClick(log.viewport(), Qt::LeftButton, {}, pointOf(log, 13));
    QCOMPARE(questions, asked ? QStringList{word} : QStringList{});
    QCOMPARE(opened, opens.isEmpty() ? QList<QUrl>{} : QList<QUrl>{QUrl(opens)});
    // Refused or not, the link is selected: the player sees what was meant.
    QCOMPARE(log.textCursor().selectedText(), word);
}

void TestRteUrl::questionBoxNamesLink()
{
    // The box the player sees: its text names the link, "No" is the default
    // and Escape; the answer is the button pressed.
    for (const QMessageBox::StandardButton press : {QMessageBox::No, QMessageBox::Yes}) {
        QString shown;
        QMessageBox::StandardButton preset = QMessageBox::NoButton;
        QTimer answer;
        answer.setInterval(10);
        QObject::connect(&answer, &QTimer::timeout, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            answer.stop();
            shown = box->text();
            preset = box->standardButton(box->defaultButton());
            box->button(press)->click();
        });
        answer.start();
        const bool open = zwonky::askToOpenLink(nullptr, QStringLiteral("telnet://h.org:23"));
        QCOMPARE(open, press == QMessageBox::Yes);
        QVERIFY2(shown.contains(QStringLiteral("telnet://h.org:23")), qPrintable(shown));
        QCOMPARE(preset, QMessageBox::No);
    }
}

void TestRteUrl::logDestroyedUnderPointer()
{
    // A log shown with the pointer resting on a link, destroyed: its
    // viewport still gets events while the log around it is torn down, and
    // the pointer must not look at the log then (the sanitizers see it).
    auto log = std::make_unique<QTextEdit>();
    log->resize(400, 300);
    log->setPlainText(QStringLiteral("Cy chats: see www.example.org."));
    new LinkPointer(log.get());
    log->show();
    QVERIFY(QTest::qWaitForWindowExposed(log.get()));
    QTest::mouseMove(log->viewport(), pointOf(*log, 18));
    QTRY_COMPARE(log->viewport()->cursor().shape(), Qt::PointingHandCursor);
    struct EventCounter : QObject
    {
        QList<QEvent::Type> seen;
        bool eventFilter(QObject *, QEvent *event) override
        {
            seen << event->type();
            return false;
        }
    } counter;
    log->viewport()->installEventFilter(&counter);
    log.reset();
    // The teardown did reach the viewport (hide, destroy), past the pointer.
    QVERIFY(counter.seen.contains(QEvent::Destroy));
}

QTEST_MAIN(TestRteUrl)
#include "tst_rteurl.moc"
