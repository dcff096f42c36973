// The start's side work changes nothing a window sees: the faces and
// measures the game's fonts resolve to are the same as when the window's own
// thread fills the font database, even when the windows ask for fonts while
// the filling is still under way, and when the font configuration was loaded
// ahead from before the QApplication. Each way runs in a fresh process, as
// the database is filled once per process. And the working word list the worker
// makes is gone with it when no dictionary claimed it.
#include "dictionary/mydict.h"
#include "startup/fontconfigload.h"
#include "startup/startupworker.h"
#include "windows/downloadform.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QFontMetrics>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstring>
#include <optional>

namespace {

constexpr char ChildRole[] = "--resolve-fonts";

// The faces the windows ask for: named ones, and the application's own.
QString resolvedFonts()
{
    QString out;
    const struct { const char *family; int pixels; bool bold; } asked[] = {
        {"MS Sans Serif", 11, false}, {"Arial", 13, false}, {"Arial", 16, true}, {"", 12, false},
    };
    for (const auto &a : asked) {
        QFont font = *a.family ? QFont(QString::fromLatin1(a.family)) : QApplication::font();
        font.setStyleHint(QFont::SansSerif, QFont::PreferNoShaping);
        font.setPixelSize(a.pixels);
        font.setBold(a.bold);
        const QFontInfo info(font);
        const QFontMetrics metrics(font);
        out += QStringLiteral("%1|%2|%3|%4|%5\n")
                   .arg(info.family(), info.styleName())
                   .arg(metrics.height())
                   .arg(metrics.horizontalAdvance(QStringLiteral("Download The Pellix Lobby")))
                   .arg(info.pixelSize());
    }
    return out;
}

QString resolvedInChild(const QString &way)
{
    // The worker makes the working word list in the current folder.
    QTemporaryDir folder;
    QProcess child;
    child.setWorkingDirectory(folder.path());
    const QStringList arguments{QString::fromLatin1(ChildRole), way};
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForFinished(60000) || child.exitCode() != 0)
        return QStringLiteral("child failed: ") + QString::fromLocal8Bit(child.readAllStandardError());
    return QString::fromUtf8(child.readAllStandardOutput());
}

} // namespace

class TestStartupWorker : public QObject
{
    Q_OBJECT
private slots:
    void sameFontsAsWithout()
    {
        const QString plain = resolvedInChild(QStringLiteral("plain"));
        QVERIFY2(plain.count(QLatin1Char('\n')) == 4, qPrintable(plain));
        QCOMPARE(resolvedInChild(QStringLiteral("warm")), plain);
        QCOMPARE(resolvedInChild(QStringLiteral("early")), plain);
    }

    void wordListMadeForTheServer()
    {
        QTemporaryDir folder;
        const QString old = QDir::currentPath();
        QVERIFY(QDir::setCurrent(folder.path()));
        const QString path = QDir(folder.path()).filePath(QStringLiteral("English"));
        {
            zwonky::StartupWorker worker;
            zwonky::TDictn dictionary(nullptr, worker.wordList());
            QCOMPARE(dictionary.source(), zwonky::TDictn::Source::WorkingFile);
            QCOMPARE(QFileInfo(dictionary.workingFilePath()), QFileInfo(path));
            QVERIFY(dictionary.IsWord(QStringLiteral("zwieback")));
        }
        QVERIFY(!QFileInfo::exists(path));
        {
            // A start that ends before its server is made leaves nothing.
            zwonky::StartupWorker worker;
            QVERIFY(!worker.takeLobbyPicture());
        }
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList());

        // A solo start's download window gets the picture it would decode,
        // also when it asks after the worker is gone.
        std::function<QImage()> picture;
        {
            zwonky::StartupWorker worker(nullptr, true);
            picture = worker.takeLobbyPicture();
        }
        QVERIFY(picture);
        const QImage decoded = picture();
        QVERIFY(!decoded.isNull());
        QCOMPARE(decoded, zwonky::Tdownload::advertPicture());
        QVERIFY(QDir::setCurrent(old));
    }
};

int main(int argc, char **argv)
{
    if (argc > 2 && std::strcmp(argv[1], ChildRole) == 0) {
        const bool early = std::strcmp(argv[2], "early") == 0;
        std::optional<zwonky::FontConfigLoad> fontConfig;
        if (early)
            fontConfig.emplace();
        QApplication app(argc, argv);
        std::optional<zwonky::StartupWorker> warmup;
        if (early || std::strcmp(argv[2], "warm") == 0)
            warmup.emplace(fontConfig ? &*fontConfig : nullptr);
        if (fontConfig)
            fontConfig->wait();
        // Asked at once: most likely while the other thread still fills.
        std::fputs(resolvedFonts().toUtf8().constData(), stdout);
        return 0;
    }
    QApplication app(argc, argv);
    TestStartupWorker test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_startupworker.moc"
