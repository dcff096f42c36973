// The single-instance guard and the private folder it lives in.

#include "startup/previnst.h"
#include "startup/runtimefolder.h"
#include "startup/signalbridge.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

using namespace zwonky;

namespace {

// Sets environment variables for one test and puts the old values back.
class ScopedEnvironment
{
public:
    void set(const char *name, const QByteArray &value)
    {
        remember(name);
        qputenv(name, value);
    }
    void unset(const char *name)
    {
        remember(name);
        qunsetenv(name);
    }
    ~ScopedEnvironment()
    {
        for (auto it = m_old.cbegin(); it != m_old.cend(); ++it) {
            if (it.value().isNull())
                qunsetenv(it.key().constData());
            else
                qputenv(it.key().constData(), it.value());
        }
    }

private:
    void remember(const char *name)
    {
        if (!m_old.contains(name))
            m_old.insert(name, qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray());
    }
    QMap<QByteArray, QByteArray> m_old;
};

int modeOf(const QString &path)
{
    struct stat info = {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

// A folder of the name the program wants, made first by someone else: owned
// by another account when the test may give it one, else open to everyone.
bool plantFolder(const QString &path)
{
    if (!QDir().mkpath(path) || ::chmod(QFile::encodeName(path).constData(), 0777) != 0)
        return false;
    if (::geteuid() == 0)
        return ::chown(QFile::encodeName(path).constData(), 65534, 65534) == 0;
    return true;
}

} // namespace

class TestPrevInst : public QObject
{
    Q_OBJECT
private slots:
    void runtimeFolderIsPrivate_data();
    void runtimeFolderIsPrivate();
    void secondClaimRaisesTheFirst();
    void lockIsHeldWithoutWritingAndGoesWithItsHolder();
    void terminationClosesAMessageBox();
};

void TestPrevInst::runtimeFolderIsPrivate_data()
{
    QTest::addColumn<QString>("runtime");   // "private", "open", or "" for unset
    QTest::addColumn<bool>("tempNameTaken");
    QTest::addColumn<QString>("expected");  // "runtime", "temp" or "cache"
    QTest::newRow("runtime folder") << "private" << false << "runtime";
    QTest::newRow("runtime folder open to others") << "open" << false << "temp";
    QTest::newRow("no runtime folder") << "" << false << "temp";
    QTest::newRow("no runtime folder, temp name taken") << "" << true << "cache";
}

void TestPrevInst::runtimeFolderIsPrivate()
{
    QFETCH(QString, runtime);
    QFETCH(bool, tempNameTaken);
    QFETCH(QString, expected);
    QTemporaryDir runtimeDir;
    QTemporaryDir tempDir;
    QTemporaryDir cacheDir;
    ScopedEnvironment env;
    env.set("TMPDIR", QFile::encodeName(tempDir.path()));
    env.set("XDG_CACHE_HOME", QFile::encodeName(cacheDir.path()));
    if (runtime.isEmpty()) {
        env.unset("XDG_RUNTIME_DIR");
    } else {
        QVERIFY(::chmod(QFile::encodeName(runtimeDir.path()).constData(),
                        runtime == "open" ? 0755 : 0700) == 0);
        env.set("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir.path()));
    }
    const QString tempName = QDir(tempDir.path()).filePath(QStringLiteral("zwonky-%1").arg(::geteuid()));
    if (tempNameTaken)
        QVERIFY(plantFolder(tempName));

    const QString folder = userRuntimeFolder();
    const QString cacheName = QDir(cacheDir.path()).filePath(QStringLiteral("zwonky-runtime"));
    const QString want = expected == "runtime" ? runtimeDir.path()
                         : expected == "temp"  ? tempName
                                               : cacheName;
    QCOMPARE(folder, want);
    QCOMPARE(modeOf(folder), 0700);
    QVERIFY(isPrivateFolder(folder));
    if (tempNameTaken)
        QVERIFY(!isPrivateFolder(tempName));
    // The same answer on every start, or a second start could not find the first.
    QCOMPARE(userRuntimeFolder(), folder);
}

void TestPrevInst::secondClaimRaisesTheFirst()
{
    QTemporaryDir folder;
    PrevInstance first(folder.path());
    int raised = 0;
    first.setRaiseHandler([&raised] { ++raised; });
    QVERIFY(first.claim());
    QVERIFY(QFileInfo(first.socketPath()).dir() == QDir(folder.path()));

    PrevInstance second(folder.path());
    QVERIFY(!second.claim());
    QVERIFY(second.raiseFirst());
    QTRY_COMPARE(raised, 1);
}

void TestPrevInst::lockIsHeldWithoutWritingAndGoesWithItsHolder()
{
    QTemporaryDir folder;
    const QString lock = QDir(folder.path()).filePath("zwonky.lock");
    {
        PrevInstance first(folder.path());
        QVERIFY(first.claim());
        // Held by the kernel, not by contents: nothing written, nothing to sync.
        QVERIFY(QFileInfo::exists(lock));
        QCOMPARE(QFileInfo(lock).size(), 0);
        QVERIFY(!PrevInstance(folder.path()).claim());
    }
    QVERIFY(!QFileInfo::exists(lock));

    // A lock file left behind by a process that was killed holds no lock.
    QFile left(lock);
    QVERIFY(left.open(QIODevice::WriteOnly));
    left.close();
    PrevInstance next(folder.path());
    QVERIFY(next.claim());
}

void TestPrevInst::terminationClosesAMessageBox()
{
    SignalBridge bridge;
    QSignalSpy spy(&bridge, &SignalBridge::terminationRequested);
    QVERIFY(!bridge.requested());
    QMessageBox box(QMessageBox::Information, QStringLiteral("Zwonky"), QStringLiteral("a start-up notice"),
                    QMessageBox::Ok);
    QTimer::singleShot(0, [] { ::raise(SIGTERM); });
    // Only a box the signal left open is ended this way, so that a failure
    // does not hang the test run.
    constexpr int LeftOpen = 7772;
    QTimer::singleShot(60000, &box, [&box] { box.done(LeftOpen); });
    box.exec();
    QVERIFY(box.result() != LeftOpen);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), int(SIGTERM));
    QVERIFY(bridge.requested());
}

QTEST_MAIN(TestPrevInst)
#include "tst_previnst.moc"
