// Painting in strips leaves the same pixels as painting at once: every row
// is painted once and whole, whatever the area's height, and an earlier clip
// of the painter still holds.
#include "widgets/paintbands.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QTest>

using namespace zwonky;

namespace {

// A slanted gradient card and a translucent disc over a grey ground.
void picture(QPainter &painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient slant(0, 0, 120, 90);
    slant.setColorAt(0.0, QColor(0xff, 0xe0, 0x6a));
    slant.setColorAt(1.0, QColor(0x20, 0x40, 0xa0));
    painter.setPen(QPen(QColor(0x3e, 0x25, 0x0e), 1.3));
    painter.setBrush(slant);
    painter.drawRoundedRect(QRectF(6.5, 4.5, 110, 83), 9, 9);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 70));
    painter.drawEllipse(QRectF(40.3, 20.7, 70, 60));
}

QImage painted(QSize size, bool inBands, const QRect &clip = {})
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(0x80, 0x80, 0x80));
    QPainter painter(&image);
    if (!clip.isNull())
        painter.setClipRect(clip);
    if (inBands)
        paintInBands(painter, image.rect(), [&] { picture(painter); });
    else
        picture(painter);
    return image;
}

} // namespace

class TestPaintBands : public QObject
{
    Q_OBJECT
private slots:
    void samePixelsAsAtOnce_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("clip");
        QTest::newRow("whole strips") << QSize(128, 96) << QRect();
        QTest::newRow("a last strip cut short") << QSize(128, 91) << QRect();
        QTest::newRow("lower than one strip") << QSize(128, 11) << QRect();
        QTest::newRow("within an earlier clip") << QSize(128, 96) << QRect(20, 10, 70, 50);
    }

    void samePixelsAsAtOnce()
    {
        QFETCH(QSize, size);
        QFETCH(QRect, clip);
        const QImage once = painted(size, false, clip);
        QVERIFY(once != painted(size, false, QRect(0, 0, 1, 1)));
        QCOMPARE(painted(size, true, clip), once);
    }
};

QTEST_MAIN(TestPaintBands)
#include "tst_paintbands.moc"
