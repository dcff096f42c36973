// The coloured captions of the main window and the companion windows take
// their colour from the palette: the colour is the described one, it shows
// when drawn, and no style sheet engine runs for them.
#include "client/chatform.h"
#include "tally/tallylistform.h"
#include "widgets/textcolour.h"
#include "windows/gamestart.h"
#include "windows/spylistform.h"

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QStyle>
#include <QTest>

using namespace zwonky;

namespace {

// True when drawing the widget shows at least one pixel in exactly `colour`
// (the full-coverage stems of its letters).
bool drawsInColour(QWidget *widget, const QColor &colour)
{
    const QImage image = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (QColor(image.pixel(x, y)) == colour)
                return true;
        }
    }
    return false;
}

} // namespace

class TestTextColour : public QObject
{
    Q_OBJECT
private slots:
    void helperColoursTheTextOnly();
    void captions_data();
    void captions();
    void drawnInTheirColour();
};

void TestTextColour::helperColoursTheTextOnly()
{
    QWidget panel;
    auto *label = new QLabel(QStringLiteral("x"), &panel);
    auto *box = new QCheckBox(QStringLiteral("y"), &panel);
    const QColor base = panel.palette().color(QPalette::Base);
    setTextColour(&panel, QColor(0x12, 0x34, 0x56));
    // What is inside the panel takes the colour; nothing else changes.
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0x12, 0x34, 0x56));
    QCOMPARE(box->palette().color(QPalette::WindowText), QColor(0x12, 0x34, 0x56));
    QCOMPARE(panel.palette().color(QPalette::Inactive, QPalette::WindowText), QColor(0x12, 0x34, 0x56));
    QCOMPARE(panel.palette().color(QPalette::Base), base);
}

void TestTextColour::captions_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("team") << "chat" << "label_team" << QColor(0x80, 0x00, 0x00);
    QTest::newRow("options") << "chat" << "label_playtoscore" << QColor(0x1e, 0x1e, 0x1e);
    QTest::newRow("turn") << "chat" << "label_turn" << QColor(0xff, 0xe7, 0xa3);
    QTest::newRow("typing") << "chat" << "checkbox_typing" << QColor(Qt::white);
    QTest::newRow("tally value") << "tally" << "mylabel_1" << QColor(0x1e, 0x1e, 0x1e);
    QTest::newRow("tally name") << "tally" << "label_hisname" << QColor(0x1e, 0x1e, 0x1e);
    QTest::newRow("start heading") << "start" << "label_heading" << QColor(0x80, 0x00, 0x00);
    QTest::newRow("start check") << "start" << "new" << QColor(0x1e, 0x1e, 0x1e);
    QTest::newRow("spy title") << "spy" << "label_spylist" << QColor(Qt::white);
}

void TestTextColour::captions()
{
    QFETCH(QString, window);
    QFETCH(QString, name);
    QFETCH(QColor, colour);
    std::unique_ptr<QWidget> top;
    if (window == QLatin1String("chat"))
        top = std::make_unique<Tchat>();
    else if (window == QLatin1String("tally")) {
        auto tally = std::make_unique<Ttallylist>();
        tally->ensureBuilt();
        top = std::move(tally);
    }
    else if (window == QLatin1String("start"))
        top = std::make_unique<Tgamestartform>();
    else
        top = std::make_unique<Tspylist>();
    if (auto *start = qobject_cast<Tgamestartform *>(top.get()))
        start->ensureBuilt();
    if (auto *spies = qobject_cast<Tspylist *>(top.get()))
        spies->ensureBuilt();
    auto *caption = top->findChild<QWidget *>(name);
    QVERIFY(caption);
    caption->ensurePolished();
    QCOMPARE(caption->palette().color(QPalette::WindowText), colour);
    // Neither the caption nor anything around it carries a style sheet.
    QVERIFY(!caption->style()->inherits("QStyleSheetStyle"));
}

void TestTextColour::drawnInTheirColour()
{
    Ttallylist tally;
    tally.ensureBuilt();
    auto *tallyName = tally.findChild<QLabel *>(QStringLiteral("label_hisnametop"));
    QVERIFY(tallyName);
    QVERIFY(drawsInColour(tallyName, QColor(0x1e, 0x1e, 0x1e)));

    Tgamestartform start;
    start.ensureBuilt();
    auto *heading = start.findChild<QLabel *>(QStringLiteral("label_heading"));
    QVERIFY(heading);
    QVERIFY(drawsInColour(heading, QColor(0x80, 0x00, 0x00)));
}

QTEST_MAIN(TestTextColour)
#include "tst_textcolour.moc"
