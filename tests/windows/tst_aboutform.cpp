#include "client/chatform.h"
#include "net/protocol.h"
#include "windows/aboutform.h"

#include "dialogfakes.h"

#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

using zwonky::Tabout;
using zwonky::testing::RecordingUrlOpener;

class TestAboutForm : public QObject
{
    Q_OBJECT

private slots:
    void showsVersionFromTheProtocol();
    void picturesAreJpegDecodedByQt_data();
    void picturesAreJpegDecodedByQt();
    void linkOpensWebAddress();
    void logoAndOkClose();
    void mainWindowLogoOpensTheWebPage();
};

void TestAboutForm::showsVersionFromTheProtocol()
{
    Tabout about;
    about.ensureBuilt();
    QCOMPARE(about.windowTitle(), QStringLiteral("Zwonky - About"));
    const QString line = about.findChild<QLabel *>(QStringLiteral("label_versionword"))->text()
                         + QLatin1Char(' ')
                         + about.findChild<QLabel *>(QStringLiteral("version"))->text()
                         + about.findChild<QLabel *>(QStringLiteral("Label9"))->text();
    QCOMPARE(line, QStringLiteral("Version 1.0.7.29"));
    // The caption is the text sent at login.
    QCOMPARE(about.versionText(), QString::fromLatin1(zwonky::protocol::GameVersion));
    QCOMPARE(about.findChild<QPushButton *>(QStringLiteral("Button1"))->text(), QStringLiteral("OK"));
    QVERIFY(about.findChildren<QLabel *>().size() >= 5);
}

void TestAboutForm::picturesAreJpegDecodedByQt_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("logo") << "logo.jpg";
    QTest::newRow("lobby") << "lobby.jpg";
}

void TestAboutForm::picturesAreJpegDecodedByQt()
{
    QFETCH(QString, file);
    QVERIFY(QImageReader::supportedImageFormats().contains("jpg"));
    const QImage image = Tabout::picture(file);
    QVERIFY(!image.isNull());
    QVERIFY(image.width() >= 200 && image.height() >= 60);
    QImageReader reader(QStringLiteral(":/pictures/") + file);
    QCOMPARE(reader.format(), QByteArray("jpeg"));
}

void TestAboutForm::linkOpensWebAddress()
{
    Tabout about;
    RecordingUrlOpener browser;
    QList<QUrl> &opened = browser.opened;
    about.setUrlOpener(browser.opener());
    about.show();
    auto *link = about.findChild<QLabel *>(QStringLiteral("Label7"));
    QVERIFY(link->text().contains(Tabout::webAddress().host()));
    QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(opened, QList<QUrl>{Tabout::webAddress()});
    QCOMPARE(Tabout::webAddress().scheme(), QStringLiteral("https"));
    QVERIFY(about.isVisible());

    // The main window's logo goes the same way.
    QVERIFY(about.openWebPage());
    QCOMPARE(opened.size(), 2);
    QCOMPARE(opened.last(), Tabout::webAddress());
}

void TestAboutForm::logoAndOkClose()
{
    Tabout about;
    // Made at start, the window decodes its logo only when first shown.
    QVERIFY(!about.findChild<QLabel *>(QStringLiteral("Image1")));
    QCOMPARE(about.versionText(), QString::fromLatin1(zwonky::protocol::GameVersion));
    about.show();
    auto *logo = about.findChild<QLabel *>(QStringLiteral("Image1"));
    QVERIFY(!logo->pixmap().isNull());
    QTest::mouseClick(logo, Qt::LeftButton);
    QVERIFY(!about.isVisible());

    about.show();
    QTest::mouseClick(about.findChild<QPushButton *>(QStringLiteral("Button1")), Qt::LeftButton);
    QVERIFY(!about.isVisible());
}

void TestAboutForm::mainWindowLogoOpensTheWebPage()
{
    zwonky::Tchat chat;
    Tabout about;
    RecordingUrlOpener browser;
    QList<QUrl> &opened = browser.opened;
    about.setUrlOpener(browser.opener());
    zwonky::CompanionWindows windows;
    windows.about = &about;
    chat.setCompanions(windows);
    chat.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chat));
    auto *logo = chat.findChild<QWidget *>(QStringLiteral("image_logo"));
    QVERIFY(logo);
    QTest::mouseClick(logo, Qt::LeftButton);
    QCOMPARE(opened, QList<QUrl>{Tabout::webAddress()});
    // The about window itself stays closed; only the page opens.
    QVERIFY(!about.isVisible());
    QTest::mouseClick(logo, Qt::RightButton);
    QCOMPARE(opened.size(), 1);
}

QTEST_MAIN(TestAboutForm)
#include "tst_aboutform.moc"
