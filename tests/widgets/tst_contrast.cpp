// Texts stand out from what is behind them: the contrast measure itself,
// and the named texts of the main window (clock, score rows, verdicts, word
// columns, announcement bar) against their backgrounds, read from the
// palettes the views set. Penalties do not look like gains.

#include "traytesttable.h"

#include "widgets/artwork.h"
#include "widgets/contrast.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QtTest>

using namespace zwonky;
using namespace zwonky::testing;

namespace {

QColor textOf(QWidget *w)
{
    w->ensurePolished();
    return w->palette().color(w->foregroundRole());
}

QColor columnText(QWidget *w)
{
    w->ensurePolished();
    return w->palette().color(QPalette::Text);
}

QColor columnBase(QWidget *w)
{
    w->ensurePolished();
    return w->palette().color(QPalette::Base);
}

// The status pill: the panel colour at alpha 235 over the cloth.
QColor pillColour()
{
    const QColor top = artwork::panelColour();
    const QColor under = artwork::feltColour();
    const double a = 235.0 / 255.0;
    return QColor::fromRgbF(float(top.redF() * a + under.redF() * (1 - a)),
                            float(top.greenF() * a + under.greenF() * (1 - a)),
                            float(top.blueF() * a + under.blueF() * (1 - a)));
}

QStringList letters(const char *text)
{
    QStringList list;
    for (const char *c = text; *c; ++c)
        list << QString(QLatin1Char(*c));
    return list;
}

} // namespace

class TestContrast : public QObject
{
    Q_OBJECT

private slots:
    void ratioOfKnownPairs_data();
    void ratioOfKnownPairs();
    void namedTextsAreReadable();
};

void TestContrast::ratioOfKnownPairs_data()
{
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("behind");
    QTest::addColumn<double>("ratio");
    QTest::addColumn<bool>("readable");
    QTest::newRow("black on white") << QColor(Qt::black) << QColor(Qt::white) << 21.0 << true;
    QTest::newRow("white on black") << QColor(Qt::white) << QColor(Qt::black) << 21.0 << true;
    QTest::newRow("same colour") << QColor(0x2f, 0x6e, 0x5b) << QColor(0x2f, 0x6e, 0x5b) << 1.0 << false;
    QTest::newRow("#767676 on white") << QColor(0x76, 0x76, 0x76) << QColor(Qt::white) << 4.54 << true;
    QTest::newRow("#777777 on white") << QColor(0x77, 0x77, 0x77) << QColor(Qt::white) << 4.48 << false;
    QTest::newRow("pure red on white") << QColor(Qt::red) << QColor(Qt::white) << 4.0 << false;
}

void TestContrast::ratioOfKnownPairs()
{
    QFETCH(QColor, text);
    QFETCH(QColor, behind);
    QFETCH(double, ratio);
    QFETCH(bool, readable);
    QVERIFY2(qAbs(contrast::ratio(text, behind) - ratio) < 0.01,
             qPrintable(QString::number(contrast::ratio(text, behind))));
    QCOMPARE(contrast::readable(text, behind), readable);
}

void TestContrast::namedTextsAreReadable()
{
    TrayTable table;
    QVERIFY(table.seat(1, QStringLiteral("Ann")));
    table.feed(protocol::newPlayerInfo(1, QStringLiteral("Ann")));
    table.feed(protocol::newPlayerInfo(2, QStringLiteral("Bob")));
    table.startTurn(1, letters("ABCDEFGHIJ"), QStringLiteral("false"));
    for (const char *word : {"ABED", "BADE", "BEAD", "CHIDE", "FACED"})
        table.feed(protocol::accepted(int(qstrlen(word)), QString::fromLatin1(word)));
    table.feed(protocol::accepted(4, QStringLiteral("DEAF")));
    table.feed(protocol::accepted(4, QStringLiteral("FADE")));

    struct Pair
    {
        QString what;
        QColor text;
        QColor behind;
    };
    QList<Pair> pairs;
    const auto label = [&table](const QString &name) { return table.find<QWidget>(name); };
    const QColor panel = artwork::panelColour();
    const QColor cloth = artwork::feltColour();
    for (int seat = 1; seat <= 6; ++seat) {
        pairs << Pair{QStringLiteral("name %1").arg(seat), textOf(label(QStringLiteral("label_playername%1").arg(seat))), panel}
              << Pair{QStringLiteral("score %1").arg(seat), textOf(label(QStringLiteral("label_score%1").arg(seat))), panel};
    }
    pairs << Pair{"clock", textOf(label("label_time")), cloth}
          << Pair{"whose turn", textOf(label("label_turn")), cloth}
          << Pair{"announcement bar", textOf(label("memo_ending")), QColor(0xff, 0xe7, 0xa3)}
          << Pair{"game options", textOf(label("label_playtoscore")), panel};

    // The word columns: open (green on white) and full (on silver).
    QWidget *four = label("list_4");
    QWidget *five = label("list_5");
    pairs << Pair{"open column", columnText(five), columnBase(five)}
          << Pair{"full column", columnText(four), columnBase(four)};

    // Verdicts on the status pill.
    table.feed(protocol::accepted(5, QStringLiteral("ACHED")));
    pairs << Pair{"accepted", textOf(label("label_status")), pillColour()};
    table.feed(protocol::rejected(QStringLiteral("ABCDE"), QStringLiteral("+ Rejected")));
    pairs << Pair{"refused", textOf(label("label_status")), pillColour()};

    // A gain and a penalty in the rows.
    table.feed(protocol::scores(1, 450, 300, 6, 750, 0, 0));
    const QColor gain = textOf(label("label_bonus1"));
    table.feed(protocol::scores(2, 300, -500, 3, 1700, 0, 0));
    const QColor penalty = textOf(label("label_bonus2"));
    pairs << Pair{"gain", gain, panel} << Pair{"penalty", penalty, panel};

    QStringList failing;
    for (const Pair &p : std::as_const(pairs))
        if (!contrast::readable(p.text, p.behind))
            failing << QStringLiteral("%1: %2 on %3 is %4:1")
                           .arg(p.what, p.text.name(), p.behind.name())
                           .arg(contrast::ratio(p.text, p.behind), 0, 'f', 2);
    QVERIFY2(failing.isEmpty(), qPrintable(failing.join(QStringLiteral("\n"))));

    // Seen apart from a gain without reading the sign: another hue.
    QVERIFY2(qAbs(gain.hsvHue() - penalty.hsvHue()) > 60, qPrintable(gain.name() + " " + penalty.name()));
}

QTEST_MAIN(TestContrast)
#include "tst_contrast.moc"
