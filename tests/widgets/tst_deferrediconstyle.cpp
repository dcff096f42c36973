// The style that reads its standard icons only when they are drawn, so that
// building a window with a menu bar loads no image plug-in.

#include "widgets/deferrediconstyle.h"

#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QMenuBar>
#include <QTest>

using zwonky::DeferredIconStyle;

namespace {

// Image plug-ins mapped into this process so far.
int imagePluginsLoaded()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return -1;
    QSet<QByteArray> plugins;
    for (const QByteArray &line : maps.readAll().split('\n'))
        if (line.contains("/imageformats/"))
            plugins.insert(line.mid(line.lastIndexOf(' ') + 1));
    return int(plugins.size());
}

} // namespace

class TestDeferredIconStyle : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void menuBarLoadsNoImagePlugin();
    void iconsStillDraw();
};

void TestDeferredIconStyle::initTestCase()
{
    // As the program does, before any window is made.
    QApplication::setStyle(new DeferredIconStyle);
    QCOMPARE(imagePluginsLoaded(), 0);
}

void TestDeferredIconStyle::menuBarLoadsNoImagePlugin()
{
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("E&xit"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(imagePluginsLoaded(), 0);
}

void TestDeferredIconStyle::iconsStillDraw()
{
    for (auto which : {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_MessageBoxWarning,
                       QStyle::SP_DialogOkButton}) {
        const QIcon icon = QApplication::style()->standardIcon(which);
        QVERIFY(!icon.isNull());
        const QImage drawn = icon.pixmap(16, 16).toImage();
        QVERIFY(!drawn.isNull());
        // Something was drawn: not every pixel is see-through.
        bool painted = false;
        for (int y = 0; y < drawn.height() && !painted; ++y)
            for (int x = 0; x < drawn.width() && !painted; ++x)
                painted = qAlpha(drawn.pixel(x, y)) > 0;
        QVERIFY2(painted, qPrintable(QString::number(which)));
    }
}

QTEST_MAIN(TestDeferredIconStyle)
#include "tst_deferrediconstyle.moc"
