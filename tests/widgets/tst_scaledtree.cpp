// One factor for a panel of controls placed in logical pixels: the factor
// that fits an area, rectangles that still touch when grown, type that grows
// in fractional points, and a tree of controls that grows and comes back to
// exactly what it was.

#include "widgets/boardscale.h"
#include "widgets/scaledtree.h"

#include <QFontInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <limits>

using namespace zwonky;

class TestScaledTree : public QObject
{
    Q_OBJECT
private slots:
    void fitting_data();
    void fitting();
    void factorNeverBelowOne();
    void grownRectanglesStillTouch();
    void typeGrows();
    void placedTreeGrowsAndComesBack();
};

void TestScaledTree::fitting_data()
{
    QTest::addColumn<QSize>("available");
    QTest::addColumn<qreal>("factor");
    const QSize logical(795, 549);
    QTest::newRow("the logical size") << logical << 1.0;
    QTest::newRow("smaller") << QSize(300, 200) << 1.0;
    QTest::newRow("only wider") << QSize(1600, 549) << 1.0;
    QTest::newRow("half as large again") << QSize(1193, 824) << 1193.0 / 795;
    QTest::newRow("maximised, height decides") << QSize(1920, 1061) << 1061.0 / 549;
    QTest::newRow("tall, width decides") << QSize(1000, 1400) << 1000.0 / 795;
    QTest::newRow("nothing") << QSize(0, 0) << 1.0;
    QTest::newRow("negative") << QSize(-5, 900) << 1.0;
}

void TestScaledTree::fitting()
{
    QFETCH(QSize, available);
    QFETCH(qreal, factor);
    QCOMPARE(BoardScale::fitting(available, QSize(795, 549)), factor);
    QCOMPARE(BoardScale::fitting(available, QSize(0, 549)), 1.0);
}

void TestScaledTree::factorNeverBelowOne()
{
    BoardScale scale;
    QSignalSpy changed(&scale, &BoardScale::changed);
    for (qreal wrong : {0.5, -2.0, std::numeric_limits<qreal>::quiet_NaN(),
                        std::numeric_limits<qreal>::infinity()}) {
        scale.setFactor(wrong);
        QCOMPARE(scale.factor(), 1.0);
    }
    QCOMPARE(changed.count(), 0);
    scale.setFactor(1.5);
    scale.setFactor(1.5);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(scale.length(QWIDGETSIZE_MAX), QWIDGETSIZE_MAX);
}

void TestScaledTree::grownRectanglesStillTouch()
{
    BoardScale scale;
    QCOMPARE(scale.rect(QRect(190, 2, 595, 170)), QRect(190, 2, 595, 170));
    for (qreal factor : {1.13, 1.5, 1.943, 2.417}) {
        scale.setFactor(factor);
        // Tiles side by side on the rack, and the panels one under the other.
        for (int left = 50; left < 600; left += 41) {
            const QRect one = scale.rect(QRect(left, 61, 41, 41));
            const QRect next = scale.rect(QRect(left + 41, 61, 41, 41));
            QCOMPARE(one.right() + 1, next.left());
            QVERIFY(std::abs(one.width() - 41 * factor) <= 1.0);
        }
        QCOMPARE(scale.rect(QRect(190, 2, 595, 170)).bottom() + 1,
                 scale.rect(QRect(190, 172, 595, 4)).top());
    }
}

void TestScaledTree::typeGrows()
{
    BoardScale scale;
    QFont points(QStringLiteral("DejaVu Sans"));
    points.setPointSize(8);
    QFont pixels = points;
    pixels.setPixelSize(11);
    QCOMPARE(scale.font(pixels, 96), pixels);
    scale.setFactor(1.5);
    QCOMPARE(scale.font(points, 96).pointSizeF(), 12.0);
    const QFont grown = scale.font(pixels, 96);
    QCOMPARE(grown.pointSizeF(), 11 * 1.5 * 72 / 96);
    QCOMPARE(grown.family(), pixels.family());
}

namespace {

// A panel like the board: a plain control, a fixed-size one, an indented
// label, a hidden one, and a sub-panel whose grid lays out two columns.
struct Board
{
    Board()
    {
        root.resize(400, 300);
        plain = new QLabel(QStringLiteral("plain"), &root);
        plain->setGeometry(10, 20, 100, 18);
        fixed = new QWidget(&root);
        fixed->setFixedSize(41, 41);
        fixed->move(50, 61);
        indented = new QLabel(QStringLiteral("indented"), &root);
        indented->setGeometry(120, 20, 90, 18);
        indented->setIndent(8);
        hidden = new QWidget(&root);
        hidden->setGeometry(200, 100, 30, 12);
        hidden->hide();
        columns = new QWidget(&root);
        columns->setGeometry(10, 150, 300, 100);
        auto *grid = new QGridLayout(columns);
        grid->setContentsMargins(3, 3, 3, 1);
        left = new QPlainTextEdit(columns);
        right = new QPlainTextEdit(columns);
        grid->addWidget(left, 0, 0);
        grid->addWidget(right, 0, 1);
        grid->setColumnStretch(0, 5);
        grid->setColumnStretch(1, 8);
        root.show();
    }
    QList<QRect> places() const
    {
        return {plain->geometry(), fixed->geometry(), indented->geometry(), hidden->geometry(),
                columns->geometry(), left->geometry(), right->geometry()};
    }

    QWidget root;
    QLabel *plain;
    QWidget *fixed;
    QLabel *indented;
    QWidget *hidden;
    QWidget *columns;
    QPlainTextEdit *left;
    QPlainTextEdit *right;
};

bool grownFrom(const QRect &actual, const QRect &logical, qreal factor)
{
    auto near = [](int a, qreal b) { return std::abs(a - b) <= 1.0; };
    return near(actual.left(), logical.left() * factor) && near(actual.top(), logical.top() * factor)
        && near(actual.right() + 1, (logical.right() + 1) * factor)
        && near(actual.bottom() + 1, (logical.bottom() + 1) * factor);
}

} // namespace

void TestScaledTree::placedTreeGrowsAndComesBack()
{
    BoardScale scale;
    Board board;
    QVERIFY(QTest::qWaitForWindowExposed(&board.root));
    new ScaledTree(&board.root, scale, ScaledTree::Mode::Placed);
    const QList<QRect> before = board.places();
    const QFont type = board.plain->font();
    const int lineHeight = QFontInfo(board.left->font()).pixelSize();

    for (qreal factor : {1.5, 2.25, 1.27}) {
        scale.setFactor(factor);
        const QList<QRect> now = board.places();
        for (qsizetype i = 0; i < now.size(); ++i)
            QVERIFY2(grownFrom(now[i], before[i], factor), qPrintable(QString::number(i)));
        QVERIFY(board.fixed->minimumSize().width() >= std::floor(41 * factor));
        QVERIFY(board.fixed->maximumSize().width() <= std::ceil(41 * factor));
        QCOMPARE(board.indented->indent(), qRound(8 * factor));
        QVERIFY(std::abs(QFontInfo(board.left->font()).pixelSize() - lineHeight * factor) <= 1.0);
        QVERIFY(!board.hidden->isVisible());
    }
    // The grid does not undo the grown places when its panel is laid out again.
    QCoreApplication::sendPostedEvents();
    QVERIFY(grownFrom(board.left->geometry(), before[5], 1.27));

    scale.setFactor(1.0);
    QCOMPARE(board.places(), before);
    QCOMPARE(board.plain->font(), type);
    QCOMPARE(board.fixed->maximumSize(), QSize(41, 41));
    QCOMPARE(board.indented->indent(), 8);
    QVERIFY(board.columns->layout()->isEnabled());
    // The grid lays out again at the default size.
    board.columns->resize(400, 100);
    QTRY_VERIFY(board.right->geometry().right() > 300);
}

QTEST_MAIN(TestScaledTree)
#include "tst_scaledtree.moc"
