// The built-in pictures decoded with libjpeg directly: the same picture the
// image plug-in gives, and no crash, hang or huge allocation on bad data.
#include "widgets/jpegpicture.h"
#include "windows/aboutform.h"

#include "imagecompare.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QTest>

using namespace zwonky;

namespace {

QByteArray builtIn(const QString &name)
{
    Tabout::picture(name); // makes the pictures' resources known
    QFile file(QStringLiteral(":/pictures/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestJpegPicture : public QObject
{
    Q_OBJECT
private slots:
    void builtInPicturesDecodeAsThePlugInDoes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        QTest::newRow("lobby") << QStringLiteral("lobby.jpg") << QSize(320, 200);
        QTest::newRow("logo") << QStringLiteral("logo.jpg") << QSize(264, 84);
    }

    void builtInPicturesDecodeAsThePlugInDoes()
    {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        const QByteArray data = builtIn(name);
        QVERIFY(!data.isEmpty());
        const QImage decoded = decodeJpeg(data);
        QCOMPARE(decoded.size(), size);
        QCOMPARE(Tabout::picture(name).size(), size);

        QBuffer buffer;
        buffer.setData(data);
        QImageReader reader(&buffer, "jpeg");
        const QImage viaPlugIn = reader.read();
        if (viaPlugIn.isNull())
            QSKIP("no JPEG image plug-in to compare with");
        QVERIFY(largestColourDifference(decoded, viaPlugIn.convertToFormat(decoded.format())) <= 2);
    }

    void badDataGivesNoPicture()
    {
        const QByteArray data = builtIn(QStringLiteral("lobby.jpg"));
        QVERIFY(decodeJpeg({}).isNull());
        QVERIFY(decodeJpeg(QByteArrayLiteral("not a picture at all")).isNull());
        QVERIFY(decodeJpeg(data.left(20)).isNull());
        // Cut short after the header: libjpeg completes it in grey.
        const QImage cut = decodeJpeg(data.left(data.size() / 2));
        QCOMPARE(cut.size(), QSize(320, 200));

        // A header claiming a picture of 5000 x 5000 pixels (100 MB) is
        // refused before any memory is taken for it.
        QByteArray huge = data;
        const qsizetype frame = huge.indexOf(QByteArray("\xff\xc0", 2));
        QVERIFY(frame > 0);
        huge[frame + 5] = char(0x13);
        huge[frame + 6] = char(0x88);
        huge[frame + 7] = char(0x13);
        huge[frame + 8] = char(0x88);
        QVERIFY(decodeJpeg(huge).isNull());
    }
};

QTEST_MAIN(TestJpegPicture)
#include "tst_jpegpicture.moc"
