// The cloth is laid tile by tile where the window needs painting: any part
// painted on its own matches the same part of the whole.
#include "widgets/tiledbackground.h"

#include <QImage>
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
};

QTEST_MAIN(TestTiledBackground)
#include "tst_tiledbackground.moc"
