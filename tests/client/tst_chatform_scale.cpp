// The main window at any size: at the default size every control is where
// and as large as it always was; a larger window shows the same board grown
// by one factor, run-time places included; a smaller one keeps its minimum.

#include "traytesttable.h"

#include "client/chatpane.h"
#include "client/tilewidget.h"
#include "client/wordcolumn.h"
#include "widgets/boardscale.h"

#include <QAbstractScrollArea>
#include <QFontInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMap>
#include <QTextEdit>
#include <QtTest>

using namespace zwonky;
using namespace zwonky::testing;

namespace {

struct Look
{
    QRect geometry;
    qreal points = 0;
    int pixels = 0;
    bool operator==(const Look &) const = default;
};
using Table = QMap<QString, Look>;

QString keyOf(const QWidget *control, int index)
{
    return control->objectName().isEmpty()
        ? QStringLiteral("%1#%2").arg(QLatin1String(control->metaObject()->className())).arg(index)
        : control->objectName();
}

// Every widget of the window but its pop-ups, by its path of names.
void record(const QWidget *parent, const QString &path, Table &table, bool ownOnly)
{
    int index = 0;
    for (const QObject *child : parent->children()) {
        const auto *control = qobject_cast<const QWidget *>(child);
        if (!control || control->isWindow())
            continue;
        const QString key = path + QLatin1Char('/') + keyOf(control, ++index);
        if (ownOnly && control->objectName().startsWith(QLatin1String("qt_")))
            continue;
        table.insert(key, {control->geometry(), control->font().pointSizeF(),
                           QFontInfo(control->font()).pixelSize()});
        if (!ownOnly || !qobject_cast<const QAbstractScrollArea *>(control))
            record(control, key, table, ownOnly);
    }
}

Table tableOf(const QWidget *root, bool ownOnly = false)
{
    Table table;
    record(root, QString(), table, ownOnly);
    return table;
}

QString differences(const Table &expected, const Table &actual)
{
    QStringList lines;
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        const Look found = actual.value(it.key());
        if (!(found == it.value()))
            lines << QStringLiteral("%1: %2,%3 %4x%5 %6pt -> %7,%8 %9x%10 %11pt")
                         .arg(it.key())
                         .arg(it->geometry.x()).arg(it->geometry.y())
                         .arg(it->geometry.width()).arg(it->geometry.height()).arg(it->points)
                         .arg(found.geometry.x()).arg(found.geometry.y())
                         .arg(found.geometry.width()).arg(found.geometry.height()).arg(found.points);
    }
    if (expected.size() != actual.size())
        lines << QStringLiteral("%1 widgets, then %2").arg(expected.size()).arg(actual.size());
    return lines.mid(0, 12).join(QLatin1Char('\n'));
}

bool near(int actual, qreal expected) { return std::abs(actual - expected) <= 1.0; }

// The edges of `actual` are those of `logical` times the factor, give or take a pixel.
bool grownFrom(const QRect &actual, const QRect &logical, qreal factor)
{
    return near(actual.left(), logical.left() * factor)
        && near(actual.top(), logical.top() * factor)
        && near(actual.x() + actual.width(), (logical.x() + logical.width()) * factor)
        && near(actual.y() + actual.height(), (logical.y() + logical.height()) * factor);
}

QString describe(const QRect &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QStringList tenLetters() { return QString("ABCDEFGHIJ").split(QString(), Qt::SkipEmptyParts); }

} // namespace

class TestChatformScale : public QObject
{
    Q_OBJECT

private:
    // A seated window shown at the default size, and its table then.
    void open(TrayTable &table)
    {
        QVERIFY(table.seat(1));
        table.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&table.window));
        QCOMPARE(table.window.size(), QSize(795, 568));
        m_pristine = tableOf(&table.window);
        m_pristinePanel = tableOf(table.find<QWidget>("panel_board1"));
        m_chrome = table.window.height() - table.window.centralWidget()->height();
    }
    // Resizes the window and waits until the board followed.
    void resizeTo(TrayTable &table, QSize size)
    {
        table.window.resize(size);
        QTRY_COMPARE(table.window.centralWidget()->size(), size - QSize(0, m_chrome));
        const QSize area = table.window.centralWidget()->size();
        m_factor = BoardScale::fitting(area, QSize(795, 568 - m_chrome));
        QCOMPARE(table.window.boardScale().factor(), m_factor);
    }
    QSize grownWindow(qreal factor) const
    {
        return {qRound(795 * factor), m_chrome + qRound((568 - m_chrome) * factor)};
    }
    QRect logical(const QString &path) const { return m_pristine.value(path).geometry; }

    Table m_pristine;
    Table m_pristinePanel;
    int m_chrome = 0;
    qreal m_factor = 1;

private slots:
    void defaultSizeAfterAnySize();
    void shownLargeFirst();
    void grownInProportion_data();
    void grownInProportion();
    void runTimePlacesGrow();
    void chatTextSizeAtAnyFactor();
    void wordsFitTheGrownColumns();
    void wordListPanelOverTheGrownBoard();
    void wordListPanelFirstShownGrown();
    void smallerKeepsTheMinimum();
};

void TestChatformScale::defaultSizeAfterAnySize()
{
    TrayTable table;
    open(table);
    QVERIFY(m_pristine.contains("/background/panel_board1/panel_board/dice_1"));
    resizeTo(table, grownWindow(1.5));
    resizeTo(table, {1920, 1080});
    resizeTo(table, {1000, 600});
    resizeTo(table, {795, 568});
    QCOMPARE(m_factor, 1.0);
    const Table after = tableOf(&table.window);
    QVERIFY2(after == m_pristine, qPrintable(differences(m_pristine, after)));
}

void TestChatformScale::shownLargeFirst()
{
    // A window whose settings make it large from the start looks the same
    // as any other once it is brought to the default size.
    TrayTable reference;
    open(reference);
    TrayTable table;
    QVERIFY(table.seat(1));
    table.window.resize(1600, 1000);
    table.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table.window));
    QTRY_VERIFY(table.window.boardScale().factor() > 1.5);
    resizeTo(table, {795, 568});
    const Table after = tableOf(&table.window);
    QVERIFY2(after == m_pristine, qPrintable(differences(m_pristine, after)));
}

void TestChatformScale::grownInProportion_data()
{
    QTest::addColumn<QSize>("window"); // 0 x 0: one and a half times the default
    QTest::newRow("one and a half") << QSize();
    QTest::newRow("maximised on 1920 x 1080") << QSize(1920, 1080);
    QTest::newRow("wide and low") << QSize(1900, 700);
}

void TestChatformScale::grownInProportion()
{
    QFETCH(QSize, window);
    TrayTable table;
    open(table);
    resizeTo(table, window.isEmpty() ? grownWindow(1.5) : window);
    if (window.isEmpty())
        QVERIFY(std::abs(m_factor - 1.5) < 0.01);
    const qreal f = m_factor;
    QVERIFY(f > 1.2);

    // The panel, centred across the area, at the top.
    const QWidget *area = table.window.centralWidget();
    const QRect panel = table.find<QWidget>("panel_board1")->geometry();
    QVERIFY2(near(panel.top(), 2 * f) && near(panel.width(), 785 * f) && near(panel.height(), 520 * f),
             qPrintable(describe(panel)));
    QVERIFY(near(panel.left(), 5 * f + (area->width() - 795 * f) / 2));

    // Every control on it, and its type.
    const QString root = QStringLiteral("/background/panel_board1");
    const Table now = tableOf(&table.window, true);
    int controls = 0;
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        if (!it.key().startsWith(root + '/'))
            continue;
        ++controls;
        const Look before = m_pristine.value(it.key());
        QVERIFY2(grownFrom(it->geometry, before.geometry, f),
                 qPrintable(it.key() + ": " + describe(it->geometry) + " from " + describe(before.geometry)));
        QVERIFY2(near(it->pixels, before.pixels * f),
                 qPrintable(it.key() + QStringLiteral(": %1 px from %2").arg(it->pixels).arg(before.pixels)));
    }
    QVERIFY2(controls > 90, qPrintable(QString::number(controls)));

    // Named for what a player looks at: tiles, columns, score rows, chat text.
    for (int die = 1; die <= 13; ++die) {
        const QWidget *tile = table.window.tile(die);
        QVERIFY(near(tile->width(), 41 * f) && near(tile->height(), 41 * f));
        QVERIFY(grownFrom(tile->geometry(), logical(root + "/panel_board/dice_" + QString::number(die)), f));
    }
    for (int length = 3; length <= 10; ++length) {
        const QString name = QStringLiteral("list_%1").arg(length);
        QVERIFY(grownFrom(table.find<QWidget>(name)->geometry(), logical(root + "/panel_columns/" + name), f));
    }
    for (const char *row : {"label_playername", "label_score", "label_bonus"}) {
        for (int seat = 1; seat <= 6; ++seat) {
            const QString name = QLatin1String(row) + QString::number(seat);
            QVERIFY(grownFrom(table.find<QWidget>(name)->geometry(), logical(root + '/' + name), f));
        }
    }
    const auto *chat = table.find<QTextEdit>("mainchat");
    QCOMPARE(chat->font().pointSizeF(), 8 * f);
    QCOMPARE(table.window.chatPane().textSize(), 8);
}

void TestChatformScale::runTimePlacesGrow()
{
    TrayTable table;
    open(table);
    resizeTo(table, grownWindow(1.5));
    const qreal f = m_factor;
    table.startTurn(1, tenLetters(), QStringLiteral("false"), true, 90);

    // A tile put on the word tray, one taken back, the clock, the turn marker.
    TileWidget *tile = table.window.tile(4);
    QTest::mouseClick(tile, Qt::LeftButton);
    QCOMPARE(table.window.trayCount(), 1);
    QVERIFY2(grownFrom(tile->geometry(), QRect(41 + 69, 8, 41, 41), f), qPrintable(describe(tile->geometry())));
    TileWidget *second = table.window.tile(9);
    QTest::mouseClick(second, Qt::LeftButton);
    QVERIFY(grownFrom(second->geometry(), QRect(82 + 69, 8, 41, 41), f));
    QTest::mouseClick(second, Qt::LeftButton); // the last one goes home
    QVERIFY(grownFrom(second->geometry(), QRect(41 * 9 + 9, 61, 41, 41), f));
    table.window.session().tickClock();
    const auto *bar = table.find<QLabel>("image_timer");
    QVERIFY2(grownFrom(bar->geometry(), QRect(150, 152, 89, 12), f), qPrintable(describe(bar->geometry())));
    const auto *marker = table.find<QWidget>("image_Turn");
    QVERIFY(grownFrom(marker->geometry(), QRect(3, 340, 12, 16), f));

    // Back at the default size everything stands at its logical place.
    resizeTo(table, {795, 568});
    QCOMPARE(tile->geometry(), QRect(41 + 69, 8, 41, 41));
    QCOMPARE(second->geometry(), QRect(41 * 9 + 9, 61, 41, 41));
    QCOMPARE(bar->geometry(), QRect(150, 152, 89, 12));

    // Grown again: the next turn sends the tiles home and moves the marker.
    resizeTo(table, {1920, 1080});
    table.feed(protocol::nextPlayer(2));
    QVERIFY(grownFrom(marker->geometry(), QRect(3, 365, 12, 16), m_factor));
    QVERIFY(grownFrom(tile->geometry(), QRect(41 * 4 + 9, 61, 41, 41), m_factor));
    resizeTo(table, {795, 568});
    QCOMPARE(marker->geometry(), QRect(3, 365, 12, 16));
    QCOMPARE(tile->geometry(), QRect(41 * 4 + 9, 61, 41, 41));
}

void TestChatformScale::chatTextSizeAtAnyFactor()
{
    TrayTable table;
    open(table);
    auto *chat = table.find<QTextEdit>("mainchat");
    for (const QSize size : {grownWindow(1.5), QSize(1920, 1080)}) {
        resizeTo(table, size);
        table.window.chatPane().setTextSize(12);
        QCOMPARE(chat->font().pointSizeF(), 12 * m_factor);
    }
    resizeTo(table, {795, 568});
    QCOMPARE(chat->font().pointSize(), 12);
    table.window.chatPane().setTextSize(10);
    QCOMPARE(chat->font().pointSize(), 10);
}

void TestChatformScale::wordsFitTheGrownColumns()
{
    // Five words of ten letters show whole at any factor.
    TrayTable table;
    open(table);
    table.startTurn(1, tenLetters(), QStringLiteral("false"));
    for (const char *word : {"ABCDEFGHIJ", "BCDEFGHIJA", "CDEFGHIJAB", "DEFGHIJABC", "EFGHIJABCD"})
        table.feed(protocol::accepted(10, QLatin1String(word)));
    auto *column = table.find<WordColumn>("list_10");
    QCOMPARE(column->lineCount(), 5);
    for (const QSize size : {grownWindow(1.5), QSize(1920, 1080), grownWindow(1.27), QSize(795, 568)}) {
        resizeTo(table, size);
        QVERIFY2(column->document()->size().height() <= column->viewport()->height() + 0.5,
                 qPrintable(QStringLiteral("%1 in %2").arg(column->document()->size().height())
                                .arg(column->viewport()->height())));
        const int longest = QFontMetrics(column->font()).horizontalAdvance(QStringLiteral("CDEFGHIJAB"));
        QVERIFY(longest <= column->viewport()->width());
    }
}

void TestChatformScale::wordListPanelOverTheGrownBoard()
{
    TrayTable table;
    open(table);
    table.startTurn(1, tenLetters(), QStringLiteral("false"), true, 90, true);
    table.feed(protocol::turnEnd());
    auto *panel = table.find<QWidget>("panel_wordlists");
    QVERIFY(panel->isVisible());
    const qreal before = QFontInfo(table.find<QLabel>("label_name1")->font()).pixelSize();
    // Shown while the window grows, it follows the board.
    resizeTo(table, {1920, 1080});
    const auto *board = table.find<QWidget>("panel_board");
    const auto *columns = table.find<QWidget>("panel_columns");
    const QRect expected(board->mapTo(&table.window, QPoint(0, 0)),
                         columns->mapTo(&table.window, QPoint(columns->width() - 1, columns->height() - 1)));
    QCOMPARE(panel->geometry(), expected);
    QVERIFY(near(QFontInfo(table.find<QLabel>("label_name1")->font()).pixelSize(), before * m_factor));
    QVERIFY(near(table.find<QWidget>("button_close")->width(), 24 * m_factor));
}

void TestChatformScale::wordListPanelFirstShownGrown()
{
    // The panel makes its controls when first shown: on a board grown
    // before then they are grown too, and come back with the board.
    TrayTable table;
    open(table);
    resizeTo(table, {1920, 1080});
    QVERIFY(m_factor > 1.5);
    table.startTurn(1, tenLetters(), QStringLiteral("false"), true, 90, true);
    table.feed(protocol::turnEnd());
    QVERIFY(table.find<QWidget>("panel_wordlists")->isVisible());
    auto *close = table.find<QWidget>("button_close");
    QVERIFY(near(close->width(), 24 * m_factor));
    const int grown = QFontInfo(table.find<QLabel>("label_name1")->font()).pixelSize();
    const auto *grid = qobject_cast<QGridLayout *>(table.find<QWidget>("listbox_words1")->parentWidget()
                                                       ->layout()->itemAt(1)->layout());
    QVERIFY(grid);
    QCOMPARE(grid->horizontalSpacing(), table.window.boardScale().length(5));
    const qreal factor = m_factor;
    resizeTo(table, {795, 568});
    QCOMPARE(close->width(), 24);
    QCOMPARE(grid->horizontalSpacing(), 5);
    QVERIFY(near(grown, QFontInfo(table.find<QLabel>("label_name1")->font()).pixelSize() * factor));
}

void TestChatformScale::smallerKeepsTheMinimum()
{
    TrayTable table;
    open(table);
    table.window.resize(300, 200);
    QTRY_VERIFY(table.window.centralWidget()->width() >= 795);
    QTRY_VERIFY(table.window.centralWidget()->height() >= 532);
    QCOMPARE(table.window.boardScale().factor(), 1.0);
    const QWidget *panel = table.find<QWidget>("panel_board1");
    QCOMPARE(panel->geometry(), QRect(5, 2, 785, 520));
    const Table after = tableOf(panel);
    QVERIFY2(after == m_pristinePanel, qPrintable(differences(m_pristinePanel, after)));
}

QTEST_MAIN(TestChatformScale)
#include "tst_chatform_scale.moc"
