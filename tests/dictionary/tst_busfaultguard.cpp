#include "dictionary/busfaultguard.h"

#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <pthread.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

using zwonky::BusFaultGuard;

namespace {

// Two pages of a file mapped read-only, then the file cut to nothing: any
// read of the mapping faults.
class LostMapping
{
public:
    LostMapping()
    {
        m_size = 2 * static_cast<size_t>(::sysconf(_SC_PAGESIZE));
        const QByteArray path = QFile::encodeName(m_dir.filePath("pages"));
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT, 0600);
        if (fd < 0)
            return;
        if (::ftruncate(fd, static_cast<off_t>(m_size)) == 0) {
            void *map = ::mmap(nullptr, m_size, PROT_READ, MAP_SHARED, fd, 0);
            if (map != MAP_FAILED && ::ftruncate(fd, 0) == 0)
                m_bytes = static_cast<const volatile char *>(map);
        }
        ::close(fd);
    }
    ~LostMapping()
    {
        if (m_bytes)
            ::munmap(const_cast<char *>(m_bytes), m_size);
    }
    const volatile char *bytes() const { return m_bytes; }
    size_t size() const { return m_size; }

private:
    QTemporaryDir m_dir;
    const volatile char *m_bytes = nullptr;
    size_t m_size = 0;
};

bool busBlocked()
{
    sigset_t mask;
    pthread_sigmask(SIG_SETMASK, nullptr, &mask);
    return sigismember(&mask, SIGBUS) == 1;
}

// Runs what in a child process (no core file); the signal that ended it,
// or 0 when it exited normally.
template <typename What>
int signalEndingChild(What what)
{
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit noCore = {0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
        // The test library's own report of a fatal signal is not wanted.
        const int nowhere = ::open("/dev/null", O_WRONLY);
        ::dup2(nowhere, STDOUT_FILENO);
        ::dup2(nowhere, STDERR_FILENO);
        what();
        ::_exit(0);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child)
        return -1;
    return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

} // namespace

class TestBusFaultGuard : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void faultInTheGuardedRangeIsSurvived();
    void faultsThatAreNotOursStillEndTheProcess_data();
    void faultsThatAreNotOursStillEndTheProcess();
};

void TestBusFaultGuard::initTestCase()
{
    QVERIFY(BusFaultGuard::install());
}

void TestBusFaultGuard::faultInTheGuardedRangeIsSurvived()
{
    LostMapping lost;
    QVERIFY(lost.bytes());
    for (int round = 0; round < 3; ++round) {   // the handler keeps working
        char seen = 0;
        QVERIFY(!BusFaultGuard::run(const_cast<const char *>(lost.bytes()), lost.size(),
                                    [&] { seen = lost.bytes()[lost.size() - 1]; }));
        QVERIFY(!busBlocked());
    }
    // Work that touches nothing lost completes, inside another guard too.
    int result = 0;
    QVERIFY(BusFaultGuard::run(&result, sizeof result, [&] {
        QVERIFY(!BusFaultGuard::run(const_cast<const char *>(lost.bytes()), lost.size(),
                                    [&] { result = lost.bytes()[0]; }));
        result = 42;
    }));
    QCOMPARE(result, 42);
}

void TestBusFaultGuard::faultsThatAreNotOursStillEndTheProcess_data()
{
    QTest::addColumn<int>("which");
    QTest::newRow("no guard active") << 0;
    QTest::newRow("guard on other bytes") << 1;
    QTest::newRow("signal sent during a guard") << 2;
    QTest::newRow("guarded fault, for contrast") << 3;
}

void TestBusFaultGuard::faultsThatAreNotOursStillEndTheProcess()
{
    QFETCH(int, which);
    LostMapping lost;
    QVERIFY(lost.bytes());
    const char *begin = const_cast<const char *>(lost.bytes());
    char other[16] = {};
    const int signal = signalEndingChild([&] {
        volatile char seen = 0;
        switch (which) {
        case 0:
            seen = lost.bytes()[0];
            break;
        case 1:
            BusFaultGuard::run(other, sizeof other, [&] { seen = lost.bytes()[0]; });
            break;
        case 2:
            BusFaultGuard::run(begin, lost.size(), [] { ::raise(SIGBUS); });
            break;
        default:
            BusFaultGuard::run(begin, lost.size(), [&] { seen = lost.bytes()[0]; });
        }
    });
    QCOMPARE(signal, which == 3 ? 0 : SIGBUS);
}

int main(int argc, char **argv)
{
    // The children ended by SIGBUS on purpose need no stack dump; taking one
    // runs a debugger, which takes seconds.
    qputenv("QTEST_DISABLE_STACK_DUMP", "1");
    QCoreApplication app(argc, argv);
    TestBusFaultGuard test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_busfaultguard.moc"
