// The cloth is laid tile by tile where the window needs painting: any part
// painted on its own matches the same part of the whole. The windows share
// one rendering of the cloth, made ahead or by the first to paint, and a
// window with a picture of its own keeps it.
#include "widgets/tiledbackground.h"

#include <QImage>
#include <QPainter>
#include <QPixmapCache>
#include <QTest>

using namespace zwonky;

class TestTiledBackground : public QObject
{
    Q_OBJECT
private slots:
    void partsMatchTheWhole_data()
    {
        QTest::addColumn<QRect>("part");
        QTest::newRow("top left") << QRect(0, 0, 50, 40);
        QTest::newRow("across tile edges") << QRect(70, 65, 150, 90);
        QTest::newRow("bottom right") << QRect(250, 170, 50, 30);
    }

    void partsMatchTheWhole()
    {
        QFETCH(QRect, part);
        TiledBackground background;
        background.resize(300, 200);
        const QImage whole = background.grab().toImage();
        // The tile repeats: a plain copy of one tile would pass for the whole.
        QVERIFY(whole.copy(0, 0, 72, 72) == whole.copy(72, 72, 72, 72));
        QVERIFY(whole.copy(0, 0, 72, 72) != whole.copy(5, 0, 72, 72));
        QCOMPARE(background.grab(part).toImage().convertToFormat(whole.format()), whole.copy(part));
    }

    void clothSharedAndOwnTileKept()
    {
        const auto painted = [](TiledBackground &background) {
            background.resize(300, 200);
            return background.grab().toImage();
        };
        QPixmapCache::clear();
        TiledBackground first;
        const QImage renderedByWindow = painted(first);

        QPixmapCache::clear();
        TiledBackground::prepareCloth(1.0);
        TiledBackground second;
        QCOMPARE(painted(second), renderedByWindow);

        TiledBackground own;
        own.setTile([](QPainter &painter, const QRectF &rect) { painter.fillRect(rect, Qt::red); },
                    QSize(10, 10));
        const QImage ownPicture = painted(own);
        QCOMPARE(ownPicture.pixelColor(150, 100), QColor(Qt::red));
        // ...and the next window still gets the cloth.
        TiledBackground third;
        QCOMPARE(painted(third), renderedByWindow);
    }
};

QTEST_MAIN(TestTiledBackground)
#include "tst_tiledbackground.moc"
