// Whatever the host sends is shown as the characters it holds: a player who
// calls herself "<b>Eve</b>" is shown with her tags in every view of the
// window, in its tool tips, its chat log and its boxes.

#include "traytesttable.h"

#include "client/errorreport.h"

#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QTextDocument>
#include <QTextEdit>
#include <QtTest>

using namespace zwonky;
using namespace zwonky::testing;

namespace {

// What Qt shows of a text in a format: one it takes for HTML loses its tags.
QString shownOf(const QString &text, Qt::TextFormat format)
{
    if (format == Qt::PlainText || (format == Qt::AutoText && !Qt::mightBeRichText(text)))
        return text;
    QTextDocument document;
    document.setHtml(text);
    return document.toPlainText();
}

} // namespace

class TestPlainText : public QObject
{
    Q_OBJECT
private slots:
    void hostTextsShownAsCharacters();
};

void TestPlainText::hostTextsShownAsCharacters()
{
    TrayTable table;
    // Long enough to be set smaller, and then cut, in the announcement bar.
    const QString eve = QStringLiteral("<b>Eve</b>") + QString(40, QLatin1Char('e'));
    const QString cy = QStringLiteral("<i>Cy</i>");
    QVERIFY(table.seat(1, eve));
    const auto shown = [&table](const char *name) {
        const QLabel *label = table.find<QLabel>(QLatin1String(name));
        return label ? shownOf(label->text(), label->textFormat()) : QStringLiteral("<no label>");
    };
    table.feed(protocol::newPlayerInfo(1, eve));
    table.feed(protocol::newPlayerInfo(3, cy));
    table.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table.window));
    table.startTurn(3, QString("ABCDEFGHIJ").split(QString(), Qt::SkipEmptyParts), QStringLiteral("false"),
                    true, 90, true);
    QCOMPARE(shown("label_playername1"), eve);
    QCOMPARE(shown("label_turn"), cy + QStringLiteral("'s turn."));

    table.feed(protocol::addAWord(3, 10, QStringLiteral("<i>W</i>ORD")));
    table.feed(protocol::rejected(QStringLiteral("<s>CAT</s>"), QStringLiteral("+ <u>Rejected</u>")));
    QCOMPARE(shown("label_status"), QStringLiteral("<s>CAT</s> <u>Rejected</u>"));
    table.feed(protocol::scores(1, 950, 0, 1, 950, 0, 0));
    QVERIFY(shown("memo_ending").startsWith(eve + QStringLiteral(" Scored: ")));
    auto *ending = table.find<QLabel>(QStringLiteral("memo_ending"));
    ending->repaint();
    QCOMPARE(shownOf(ending->toolTip(), Qt::AutoText), ending->text());
    table.feed("CMD_loadscores+3+<i>9</i>");
    QCOMPARE(shown("label_score3"), QStringLiteral("<i>9</i>"));

    table.feed(protocol::turnEnd());
    QCOMPARE(shown("label_name3"), cy);
    const QListWidgetItem *word = table.find<QListWidget>(QStringLiteral("listbox_words3"))->item(0);
    QCOMPARE(shownOf(word->toolTip(), Qt::AutoText), QStringLiteral("11: <i>W</i>ORD"));

    table.feed(protocol::chatRelay(eve, QStringLiteral("<u>hi</u>|clBlack")));
    QVERIFY(table.find<QTextEdit>(QStringLiteral("mainchat"))
                ->toPlainText()
                .contains(eve + QStringLiteral(" chats: <u>hi</u>")));
    table.feed(protocol::winner(eve));
    QCOMPARE(shown("panel_winner"), eve + QStringLiteral(" has Won the Game!"));

    // A host's text in an error box, as the real box shows it.
    ErrorReport report(&table.window);
    report.show(ErrorReport::Kind::Error, QStringLiteral("'<b>x</b>' is not a valid integer value"));
    const auto *box = table.window.findChild<QMessageBox *>(QStringLiteral("errorReport"));
    QVERIFY(box);
    QCOMPARE(shownOf(box->text(), box->textFormat()), QStringLiteral("'<b>x</b>' is not a valid integer value"));
}

QTEST_MAIN(TestPlainText)
#include "tst_plaintext.moc"
