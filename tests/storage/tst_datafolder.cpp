// Where the settings and the tally live: beside the program while it runs
// from a folder of its own, in the per-user data folder once it is installed
// or its folder is closed.

#include "storage/datafolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace zwonky;

class TestDataFolder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void programFolderThatCanBeWrittenIsKept();
    void closedOrMissingFolderGivesThePerUserFolder_data();
    void closedOrMissingFolderGivesThePerUserFolder();
    void installedProgramFolderGivesThePerUserFolder();
    void installedEntryIsFoundFromTheProgramFolder();
    void perUserFolderThatCannotBeMadeKeepsThePreferred();

private:
    QString perUserFolder() const;

    QTemporaryDir m_root;
    QString m_dataHome;
};

void TestDataFolder::initTestCase()
{
    QVERIFY(m_root.isValid());
    QCoreApplication::setApplicationName(QStringLiteral("Zwonky"));
}

void TestDataFolder::init()
{
    // A fresh per-user data home for every case, never the tester's own.
    static int round = 0;
    m_dataHome = m_root.filePath(QStringLiteral("home%1").arg(++round));
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_dataHome));
}

QString TestDataFolder::perUserFolder() const
{
    return QDir(m_dataHome).filePath(QStringLiteral("Zwonky"));
}

void TestDataFolder::programFolderThatCanBeWrittenIsKept()
{
    const QString program = m_root.filePath(QStringLiteral("build"));
    QVERIFY(QDir().mkpath(program));
    QCOMPARE(writableDataFolder(program), program);
    QVERIFY(!QFileInfo::exists(perUserFolder()));
}

void TestDataFolder::closedOrMissingFolderGivesThePerUserFolder_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing") << "missing";
    QTest::newRow("a file, not a folder") << "file";
    QTest::newRow("read-only folder") << "readonly";
}

void TestDataFolder::closedOrMissingFolderGivesThePerUserFolder()
{
    QFETCH(QString, kind);
    const QString program = m_root.filePath(QStringLiteral("program-") + kind);
    if (kind == QLatin1String("file")) {
        QFile file(program);
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else if (kind == QLatin1String("readonly")) {
        if (::geteuid() == 0)
            QSKIP("the administrator can write into any folder");
        QVERIFY(QDir().mkpath(program));
        QVERIFY(QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    }
    const QString chosen = writableDataFolder(program);
    QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                       | QFileDevice::ExeOwner);
    QCOMPARE(chosen, perUserFolder());
    QVERIFY(QFileInfo(chosen).isDir());
}

void TestDataFolder::installedProgramFolderGivesThePerUserFolder()
{
    // An installed prefix the user may write to (his own, or any as root):
    // the program's folder still holds programs only.
    const QString prefix = m_root.filePath(QStringLiteral("prefix"));
    const QString bin = QDir(prefix).filePath(QStringLiteral("bin"));
    QVERIFY(QDir().mkpath(bin));
    const QString entry = installedDesktopEntry(bin);
    QVERIFY(QDir().mkpath(QFileInfo(entry).path()));
    QFile file(entry);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    QCOMPARE(writableDataFolder(bin), perUserFolder());
    QVERIFY(QDir(bin).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

void TestDataFolder::installedEntryIsFoundFromTheProgramFolder()
{
    // The same relative place installing uses: <prefix>/bin beside
    // <prefix>/share/applications.
    const QString entry = installedDesktopEntry(QStringLiteral("/opt/games/bin"));
    QCOMPARE(QFileInfo(entry).path(), QStringLiteral("/opt/games/share/applications"));
    QVERIFY(entry.endsWith(QLatin1String(".desktop")));
}

void TestDataFolder::perUserFolderThatCannotBeMadeKeepsThePreferred()
{
    // The data home is a file, so nothing can be made inside it.
    QFile blocker(m_dataHome);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString program = m_root.filePath(QStringLiteral("missing-too"));
    QCOMPARE(writableDataFolder(program), program);
}

QTEST_GUILESS_MAIN(TestDataFolder)
#include "tst_datafolder.moc"
