// Scroll bars painted a strip at a time look exactly as the style paints
// them at once, and painting them wakes no worker thread.
#include "widgets/bandedscrollbarstyle.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QStyleFactory>
#include <QTest>

#include <iterator>
#include <memory>

using zwonky::BandedScrollBarStyle;

namespace {

int threadsOfThisProcess()
{
    return int(QDir(QStringLiteral("/proc/self/task"))
                   .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                   .size());
}

// A bar whose handle covers most of its groove, as a chat log just begun,
// painted by the style straight into an image of the given pixel ratio.
class Bar : public QScrollBar
{
public:
    using QScrollBar::QScrollBar;

    QImage painted(QStyle *style, bool pressed, qreal ratio) const
    {
        QStyleOptionSlider option;
        initStyleOption(&option);
        option.subControls = QStyle::SC_All;
        if (pressed) {
            option.activeSubControls = QStyle::SC_ScrollBarSlider;
            option.state |= QStyle::State_Sunken;
        }
        QImage image(size() * ratio, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::white);
        QPainter painter(&image);
        style->drawComplexControl(QStyle::CC_ScrollBar, &option, &painter, this);
        return image;
    }
};

QImage paintedBar(QStyle *style, Qt::Orientation orientation, QSize size, bool pressed,
                  bool enabled, qreal ratio)
{
    Bar bar(orientation);
    bar.setRange(0, 10);
    bar.setPageStep(90);
    bar.setValue(4);
    bar.resize(size);
    bar.setEnabled(enabled);
    return bar.painted(style, pressed, ratio);
}

struct Case
{
    const char *name;
    Qt::Orientation orientation;
    QSize size;
    bool pressed;
    bool enabled;
    qreal ratio;
};

constexpr Case Cases[] = {
    {"tall", Qt::Vertical, {16, 420}, false, true, 1},
    {"tall, handle held", Qt::Vertical, {16, 420}, true, true, 1},
    {"tall, disabled", Qt::Vertical, {16, 420}, false, false, 1},
    {"tall, at twice the pixels", Qt::Vertical, {16, 131}, false, true, 2},
    {"short", Qt::Vertical, {16, 40}, false, true, 1},
    {"lying", Qt::Horizontal, {420, 16}, false, true, 1},
};

} // namespace

class TestBandedScrollBarStyle : public QObject
{
    Q_OBJECT
private slots:
    void samePixelsAndNoWorkerThread()
    {
        const auto banded = std::make_unique<BandedScrollBarStyle>(QStyleFactory::create("Fusion"));
        const std::unique_ptr<QStyle> plain(QStyleFactory::create("Fusion"));

        // First the banded paints of upright bars, before anything has had a
        // chance to start the engine's workers; a lying bar is painted whole,
        // as the plain style paints it.
        const int threadsBefore = threadsOfThisProcess();
        QList<QImage> bandedImages(std::size(Cases));
        const auto paintBanded = [&](Qt::Orientation orientation) {
            for (size_t i = 0; i < std::size(Cases); ++i) {
                const Case &c = Cases[i];
                if (c.orientation == orientation)
                    bandedImages[qsizetype(i)] = paintedBar(banded.get(), c.orientation, c.size, c.pressed, c.enabled, c.ratio);
            }
        };
        paintBanded(Qt::Vertical);
        QCOMPARE(threadsOfThisProcess(), threadsBefore);
        paintBanded(Qt::Horizontal);

        for (qsizetype i = 0; i < bandedImages.size(); ++i) {
            const Case &c = Cases[i];
            const QImage once = paintedBar(plain.get(), c.orientation, c.size, c.pressed, c.enabled, c.ratio);
            QVERIFY2(bandedImages[i] == once, c.name);
        }
    }
};

QTEST_MAIN(TestBandedScrollBarStyle)
#include "tst_bandedscrollbarstyle.moc"
