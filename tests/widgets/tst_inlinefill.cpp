// Brushes filled on the painting thread: they paint what the plain brushes
// paint, upright and on a painter turned the few degrees the pictures lean,
// and leave alone what they cannot keep looking the same.
#include "widgets/inlinefill.h"

#include "imagecompare.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QTest>

#include <functional>

using namespace zwonky;

namespace {

using Brush = std::function<QBrush(const QPainter &)>;

// A rounded card over a striped ground, drawn with `brush`, the painter
// turned by `degrees` about the card's centre.
QImage card(const Brush &brush, qreal degrees)
{
    QImage image(240, 180, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(0xfd, 0xf8, 0xec));
    QPainter painter(&image);
    for (int x = 0; x < image.width(); x += 8)
        painter.fillRect(x, 0, 4, image.height(), x % 16 ? QColor(0x2f, 0x6e, 0x5b) : QColor(0xe8, 0x7a, 0x1e));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(120, 90);
    painter.rotate(degrees);
    painter.setPen(Qt::NoPen);
    painter.setBrush(brush(painter));
    painter.drawRoundedRect(QRectF(-90.5, -60.5, 181, 121), 9, 9);
    return image;
}

QLinearGradient face(QPointF top, QPointF bottom)
{
    QLinearGradient gradient(top, bottom);
    gradient.setColorAt(0.0, QColor(0xff, 0xf7, 0xde));
    gradient.setColorAt(1.0, QColor(0xc0, 0x90, 0x40));
    return gradient;
}

} // namespace

class TestInlineFill : public QObject
{
    Q_OBJECT
private slots:
    void translucentColourLooksAsPlain_data()
    {
        QTest::addColumn<qreal>("degrees");
        QTest::newRow("upright") << 0.0;
        QTest::newRow("leaning") << 6.0;
        QTest::newRow("leaning back") << -8.0;
    }

    void translucentColourLooksAsPlain()
    {
        QFETCH(qreal, degrees);
        const QColor shadow(0, 0, 0, 70);
        const QImage plain = card([&](const QPainter &) { return QBrush(shadow); }, degrees);
        const QImage inlined = card([&](const QPainter &p) { return inlineFill(p, shadow); }, degrees);
        QVERIFY(plain != card([](const QPainter &) { return QBrush(Qt::NoBrush); }, degrees));
        QVERIFY2(largestColourDifference(plain, inlined) <= 1,
                 qPrintable(QString::number(largestColourDifference(plain, inlined))));
    }

    void opaqueColourStaysPlain()
    {
        QImage image(4, 4, QImage::Format_RGB32);
        QPainter painter(&image);
        painter.rotate(5);
        const QBrush brush = inlineFill(painter, QColor(0x2f, 0x6e, 0x5b));
        QCOMPARE(brush.style(), Qt::SolidPattern);
        QCOMPARE(brush.color(), QColor(0x2f, 0x6e, 0x5b));
    }

    void leaningGradientShadesAlike()
    {
        const QLinearGradient shading = face({0, -60}, {0, 60});
        const QImage plain = card([&](const QPainter &) { return QBrush(shading); }, 6);
        const QImage inlined = card([&](const QPainter &p) { return inlineFill(p, shading); }, 6);
        // Shaded along the screen's vertical: at the card's far corners the
        // shading is tan(6 deg) * 90 = 9.5 of its 121 pixels ahead or behind,
        // about 12 of the blue's 158 levels; nothing else differs.
        QVERIFY2(largestColourDifference(plain, inlined) <= 14,
                 qPrintable(QString::number(largestColourDifference(plain, inlined))));
        QCOMPARE(card([&](const QPainter &p) { return inlineFill(p, shading); }, 0),
                 card([&](const QPainter &) { return QBrush(shading); }, 0));
    }

    void gradientAcrossComesBackAsItIs()
    {
        QImage image(4, 4, QImage::Format_RGB32);
        QPainter painter(&image);
        painter.rotate(6);
        const QLinearGradient diagonal = face({-60, -60}, {60, 60});
        const QBrush brush = inlineFill(painter, diagonal);
        QVERIFY(brush.transform().isIdentity());
        const auto *kept = static_cast<const QLinearGradient *>(brush.gradient());
        QCOMPARE(kept->start(), diagonal.start());
        QCOMPARE(kept->finalStop(), diagonal.finalStop());
    }
};

QTEST_MAIN(TestInlineFill)
#include "tst_inlinefill.moc"
