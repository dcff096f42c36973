// Text drawn from a font of another size, scaled: it covers the place the
// text drawn at its own size covers, leaves the painter as it found it, and
// draws plainly when the sizes agree.
#include "widgets/scaledtext.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QTest>

using namespace zwonky;

namespace {

QFont boldAt(int pixels)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(pixels);
    return font;
}

QImage blank()
{
    QImage image(160, 80, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// The bounding box of every pixel that is not white.
QRect inked(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

} // namespace

class TestScaledText : public QObject
{
    Q_OBJECT
private slots:
    void coversWhatItsOwnSizeCovers_data()
    {
        QTest::addColumn<int>("base");
        QTest::addColumn<int>("wanted");
        QTest::newRow("grown") << 16 << 35;
        QTest::newRow("shrunk") << 12 << 9;
    }

    void coversWhatItsOwnSizeCovers()
    {
        QFETCH(int, base);
        QFETCH(int, wanted);
        const QRectF area(10, 10, 140, 60);
        const QString text = QStringLiteral("Z7");

        QImage direct = blank();
        {
            QPainter painter(&direct);
            painter.setPen(Qt::black);
            painter.setFont(boldAt(wanted));
            painter.drawText(area, Qt::AlignCenter, text);
        }
        QImage scaled = blank();
        {
            QPainter painter(&scaled);
            painter.setPen(Qt::black);
            drawScaledText(painter, area, Qt::AlignCenter, text, boldAt(base), wanted);
        }
        const QRect want = inked(direct);
        const QRect got = inked(scaled);
        QVERIFY(!want.isEmpty());
        QVERIFY2(!got.isEmpty(), "nothing drawn");
        // Hinting differs between sizes by a pixel or two, never more.
        const int slack = 2;
        QVERIFY2(std::abs(got.left() - want.left()) <= slack
                     && std::abs(got.right() - want.right()) <= slack
                     && std::abs(got.top() - want.top()) <= slack
                     && std::abs(got.bottom() - want.bottom()) <= slack,
                 qPrintable(QStringLiteral("drawn in (%1,%2 %3x%4), wanted (%5,%6 %7x%8)")
                                .arg(got.x()).arg(got.y()).arg(got.width()).arg(got.height())
                                .arg(want.x()).arg(want.y()).arg(want.width()).arg(want.height())));
    }

    void sameSizeDrawsPlainlyAndPainterIsRestored()
    {
        const QRectF area(0, 0, 160, 80);
        QImage plain = blank();
        {
            QPainter painter(&plain);
            painter.setPen(Qt::black);
            painter.setFont(boldAt(14));
            painter.drawText(area, Qt::AlignCenter, QStringLiteral("START"));
        }
        QImage viaHelper = blank();
        {
            QPainter painter(&viaHelper);
            painter.setPen(Qt::black);
            const QFont before = painter.font();
            drawScaledText(painter, area, Qt::AlignCenter, QStringLiteral("START"), boldAt(14), 14);
            QCOMPARE(painter.font(), before);
            QVERIFY(painter.transform().isIdentity());
        }
        QCOMPARE(viaHelper, plain);
    }
};

QTEST_MAIN(TestScaledText)
#include "tst_scaledtext.moc"
