#include "client/chatform.h"
#include "windows/aboutform.h"
#include "windows/helpform.h"

#include "dialogfakes.h"

#include <QAction>

#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QFontMetrics>
#include <QScreen>
#include <QtTest>

using zwonky::CompanionWindows;
using zwonky::Tabout;
using zwonky::Tchat;
using zwonky::Thelp;

namespace {

// The tables of a page, in order, each as rows of cell texts.
QList<QList<QStringList>> tablesOf(const QTextDocument *document)
{
    QList<QList<QStringList>> tables;
    for (QTextFrame *frame : document->rootFrame()->childFrames()) {
        auto *table = qobject_cast<QTextTable *>(frame);
        if (!table)
            continue;
        QList<QStringList> rows;
        for (int r = 0; r < table->rows(); ++r) {
            QStringList cells;
            for (int c = 0; c < table->columns(); ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                QTextCursor cursor = cell.firstCursorPosition();
                cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
                cells << cursor.selectedText().trimmed();
            }
            rows << cells;
        }
        tables << rows;
    }
    return tables;
}

} // namespace

class TestHelpForm : public QObject
{
    Q_OBJECT

private slots:
    void opensOnOverview();
    void pageButtonShowsPageAndTitle_data();
    void pageButtonShowsPageAndTitle();
    void scoringPageTables_data();
    void scoringPageTables();
    void pagesTeachTheGame_data();
    void pagesTeachTheGame();
    void aboutAndDoneButtons();
    void selectedCaptionsShowWhole();
    void openedFromTheMainWindowOverIt();
    void pagesAreMadeWhenFirstShown();
};

void TestHelpForm::opensOnOverview()
{
    Thelp help;
    help.ensureBuilt();
    QCOMPARE(help.windowTitle(), QStringLiteral("Zwonky - Help File"));
    QCOMPARE(help.size(), QSize(535, 432));
    QCOMPARE(help.findChild<QLabel *>(QStringLiteral("label_caption"))->text(),
             QStringLiteral("Overview"));
    QCOMPARE(help.currentPage(), 1);
    const QStringList order = {"SelButton1", "SelButton2", "SelButton3", "SelButton4",
                               "SelButton5", "SelButton6", "button_about"};
    int lastTop = -1;
    help.show();
    for (const QString &name : order) {
        auto *button = help.findChild<QPushButton *>(name);
        QVERIFY2(button, qPrintable(name));
        QVERIFY(button->y() > lastTop);
        lastTop = button->y();
    }
}

void TestHelpForm::pageButtonShowsPageAndTitle_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("title");
    QTest::newRow("Overview") << "SelButton1" << 1 << "Overview";
    QTest::newRow("Connecting") << "SelButton2" << 2 << "Connecting";
    QTest::newRow("Game Play") << "SelButton3" << 3 << "Game Play";
    QTest::newRow("Scoring") << "SelButton4" << 4 << "Scoring";
    QTest::newRow("Documentation") << "SelButton5" << 5 << "Documentation";
    QTest::newRow("License") << "SelButton6" << 6 << "License";
}

void TestHelpForm::pageButtonShowsPageAndTitle()
{
    QFETCH(QString, button);
    QFETCH(int, page);
    QFETCH(QString, title);
    Thelp help;
    help.show();
    // Start from another page so that every button has to change something.
    help.showPage(page == 6 ? 1 : 6);

    auto *pageButton = help.findChild<QPushButton *>(button);
    QCOMPARE(pageButton->text(), title);
    QTest::mouseClick(pageButton, Qt::LeftButton);

    QCOMPARE(help.findChild<QLabel *>(QStringLiteral("label_caption"))->text(), title);
    QCOMPARE(help.currentPage(), page);
    QVERIFY(pageButton->isChecked());
    for (int k = 1; k <= Thelp::PageCount; ++k) {
        auto *memo = help.findChild<QTextBrowser *>(QStringLiteral("memo%1").arg(k));
        QVERIFY(memo->isReadOnly());
        QCOMPARE(memo->isVisible(), k == page);
    }
}

void TestHelpForm::scoringPageTables_data()
{
    QTest::addColumn<int>("table");
    QTest::addColumn<QStringList>("row");
    QTest::newRow("3 letters") << 0 << QStringList{"3", "60", "70", "80", "90", "100"};
    QTest::newRow("7 letters") << 0 << QStringList{"7", "500", "650", "800", "950", "1100"};
    QTest::newRow("10 letters stop rising")
        << 0 << QStringList{"10", "1500", "3000", "5000", "5000", "5000"};
    QTest::newRow("bonus 3 and 4") << 1 << QStringList{"3 and 4 letters", "300"};
    QTest::newRow("bonus 7 and 8") << 1 << QStringList{"7 and 8 letters", "1850"};
}

void TestHelpForm::scoringPageTables()
{
    QFETCH(int, table);
    QFETCH(QStringList, row);
    Thelp help;
    help.ensureBuilt();
    const auto tables =
        tablesOf(help.findChild<QTextBrowser *>(QStringLiteral("memo4"))->document());
    QCOMPARE(tables.size(), 2);
    QCOMPARE(tables[0].size(), 2 + 8); // two heading rows, lengths 3 to 10
    QCOMPARE(tables[1].size(), 1 + 5); // heading, five pairs
    bool found = false;
    for (const QStringList &cells : tables[table])
        found = found || cells == row;
    QVERIFY2(found, qPrintable(row.join(QLatin1Char('|'))));
}

void TestHelpForm::pagesTeachTheGame_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("facts");
    QTest::newRow("connecting") << 2 << QStringList{"7772", "host", "solo game", "ends"};
    QTest::newRow("game play") << 3
                               << QStringList{"five words of each length", "13 tiles",
                                              "300 points", "Typing ON", "Backspace",
                                              "clears the tray", "shuffles", "buys new tiles"};
    QTest::newRow("documentation") << 5 << QStringList{"1.0.7 (build 29)", "1.0.0"};
    QTest::newRow("license") << 6 << QStringList{"Zwonky developers", "SCOWL",
                                                 "SCOWL-LICENSE.txt"};
}

void TestHelpForm::pagesTeachTheGame()
{
    QFETCH(int, page);
    QFETCH(QStringList, facts);
    Thelp help;
    help.ensureBuilt();
    const QString text =
        help.findChild<QTextBrowser *>(QStringLiteral("memo%1").arg(page))->toPlainText();
    for (const QString &fact : facts)
        QVERIFY2(text.contains(fact, Qt::CaseInsensitive), qPrintable(fact));
}

void TestHelpForm::aboutAndDoneButtons()
{
    QWidget mainWindow;
    mainWindow.resize(795, 568);
    mainWindow.show();
    Tabout about(&mainWindow);
    Thelp help(&mainWindow);
    help.setAboutWindow(&about);
    help.showOver(&mainWindow);
    QVERIFY(help.isVisible());
    QVERIFY(!about.isVisible());

    QTest::mouseClick(help.findChild<QPushButton *>(QStringLiteral("button_about")), Qt::LeftButton);
    QVERIFY(about.isVisible());

    QTest::mouseClick(help.findChild<QPushButton *>(QStringLiteral("button_done")), Qt::LeftButton);
    QVERIFY(!help.isVisible());
    QVERIFY(mainWindow.isVisible());
}

void TestHelpForm::selectedCaptionsShowWhole()
{
    Thelp help;
    help.show();
    QVERIFY(QTest::qWaitForWindowExposed(&help));
    for (int tag = 1; tag <= Thelp::PageCount; ++tag) {
        auto *button = help.findChild<QPushButton *>(QStringLiteral("SelButton%1").arg(tag));
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(button->isChecked());
        // The selected caption is bold; with the padding (10 each side) and
        // the border it must fit the button.
        QFont bold = button->font();
        bold.setBold(true);
        const int needed = QFontMetrics(bold).horizontalAdvance(button->text()) + 2 * 10 + 2;
        QVERIFY2(needed <= button->width(),
                 qPrintable(QStringLiteral("%1: %2 > %3").arg(button->text()).arg(needed).arg(button->width())));
    }
}

void TestHelpForm::openedFromTheMainWindowOverIt()
{
    Tchat chat;
    Thelp help;
    Tabout about;
    help.setAboutWindow(&about);
    CompanionWindows windows;
    windows.help = &help;
    windows.about = &about;
    chat.setCompanions(windows);
    zwonky::testing::RecordingMessageBox boxes;
    chat.setMessageBox(boxes.show());
    // Off the middle of the screen, so that centred on the screen is not on the window.
    chat.move(160, 100);
    chat.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chat));
    const QPoint middle = chat.frameGeometry().center();
    QVERIFY((middle - QGuiApplication::primaryScreen()->availableGeometry().center()).manhattanLength() > 100);
    const auto near = [&middle](const QWidget &window) {
        return (window.frameGeometry().center() - middle).manhattanLength() <= 2;
    };

    chat.findChild<QAction *>(QStringLiteral("Help2"))->trigger();
    QVERIFY(help.isVisible());
    QVERIFY2(near(help), qPrintable(QStringLiteral("help at %1,%2").arg(help.x()).arg(help.y())));

    // Help's own About opens over the main window too.
    QTest::mouseClick(help.findChild<QPushButton *>(QStringLiteral("button_about")), Qt::LeftButton);
    QVERIFY(about.isVisible());
    QVERIFY2(near(about), qPrintable(QStringLiteral("about at %1,%2").arg(about.x()).arg(about.y())));

    about.hide();
    chat.findChild<QAction *>(QStringLiteral("About1"))->trigger();
    QVERIFY(about.isVisible());
    QVERIFY(near(about));
}

void TestHelpForm::pagesAreMadeWhenFirstShown()
{
    // Made at start with every other window, the help costs nothing until a
    // player opens it; then it opens on the overview as always.
    Thelp help;
    QVERIFY(!help.findChild<QTextBrowser *>(QStringLiteral("memo1")));
    QVERIFY(!help.findChild<QPushButton *>(QStringLiteral("SelButton1")));
    QCOMPARE(help.windowTitle(), QStringLiteral("Zwonky - Help File"));
    help.show();
    QVERIFY(QTest::qWaitForWindowExposed(&help));
    for (int k = 1; k <= Thelp::PageCount; ++k)
        QVERIFY(help.findChild<QTextBrowser *>(QStringLiteral("memo%1").arg(k)));
    QCOMPARE(help.findChild<QLabel *>(QStringLiteral("label_caption"))->text(), QStringLiteral("Overview"));
    QVERIFY(help.findChild<QPushButton *>(QStringLiteral("SelButton1"))->isVisible());
    // Asking for a page of a window never shown makes it too.
    Thelp other;
    other.showPage(4);
    QCOMPARE(other.currentPage(), 4);
    QCOMPARE(other.findChild<QLabel *>(QStringLiteral("label_caption"))->text(), QStringLiteral("Scoring"));
}

QTEST_MAIN(TestHelpForm)
#include "tst_helpform.moc"
