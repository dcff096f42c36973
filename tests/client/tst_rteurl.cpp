#include "client/rteurl.h"

#include <QTest>
#include <QTextCursor>
#include <QTextEdit>

using zwonky::CharRange;
using zwonky::GetURLInRange;
using zwonky::LinkPointer;
using zwonky::URLAtPoint;

class TestRteUrl : public QObject
{
    Q_OBJECT
private slots:
    void linkInWord_data();
    void linkInWord();
    void wholeWordRange();
    void pointerOverLog();
    void clickOpensLink();

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
    QList<QUrl> opened;
    pointer->setOpener([&opened](const QUrl &url) { opened.append(url); });
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

QTEST_MAIN(TestRteUrl)
#include "tst_rteurl.moc"
