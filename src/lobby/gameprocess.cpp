#include "lobby/gameprocess.h"

#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <vector>

#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace zwonky::lobby {

namespace {

int openProcessDescriptor(pid_t pid)
{
#ifdef SYS_pidfd_open
    return int(::syscall(SYS_pidfd_open, pid, 0));
#else
    Q_UNUSED(pid);
    errno = ENOSYS;
    return -1;
#endif
}

// posix_spawn's attributes and file actions, released on every path.
struct SpawnSetup
{
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_t actions;
    bool made = false;
    bool ok = false;

    explicit SpawnSetup(const QByteArray &folder)
    {
        if (posix_spawnattr_init(&attributes) != 0)
            return;
        if (posix_spawn_file_actions_init(&actions) != 0) {
            posix_spawnattr_destroy(&attributes);
            return;
        }
        made = true;
        sigset_t none;
        sigemptyset(&none);
        // Signals the lobby may ignore are the game's to handle.
        sigset_t defaults;
        sigemptyset(&defaults);
        for (const int signal : {SIGPIPE, SIGINT, SIGTERM, SIGHUP})
            sigaddset(&defaults, signal);
        ok = posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK
                                                       | POSIX_SPAWN_SETSIGDEF)
                 == 0
             && posix_spawnattr_setsigmask(&attributes, &none) == 0
             && posix_spawnattr_setsigdefault(&attributes, &defaults) == 0
             && posix_spawn_file_actions_addchdir_np(&actions, folder.constData()) == 0;
    }
    ~SpawnSetup()
    {
        if (!made)
            return;
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    SpawnSetup(const SpawnSetup &) = delete;
    SpawnSetup &operator=(const SpawnSetup &) = delete;
};

} // namespace

GameProcess::GameProcess(QObject *parent) : QObject(parent)
{
    m_poll.setInterval(PollIntervalMs);
    connect(&m_poll, &QTimer::timeout, this, &GameProcess::collect);
}

GameProcess::~GameProcess()
{
    // The game goes on without the lobby.
    stopWatching();
}

bool GameProcess::start(const QString &program, const QStringList &arguments,
                        const QString &folder, QString *error)
{
    if (isRunning()) {
        *error = QStringLiteral("The game started before is still running.");
        return false;
    }
    std::vector<QByteArray> texts;
    texts.push_back(QFile::encodeName(program));
    for (const QString &argument : arguments)
        texts.push_back(QFile::encodeName(argument));
    std::vector<char *> argv;
    for (QByteArray &text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);

    const auto failedWith = [error](int code) {
        *error = QStringLiteral("The game could not be started: %1")
                     .arg(QString::fromLocal8Bit(std::strerror(code)));
        return false;
    };
    SpawnSetup setup(QFile::encodeName(folder));
    if (!setup.ok)
        return failedWith(errno);
    pid_t pid = 0;
    if (const int failed = posix_spawn(&pid, argv.front(), &setup.actions, &setup.attributes,
                                       argv.data(), environ))
        return failedWith(failed);
    m_pid = pid;
    // The child cannot be collected before we wait for it, so its
    // descriptor is its own, never a later process's with the same number.
    m_pidfd = openProcessDescriptor(pid);
    if (m_pidfd >= 0) {
        m_notifier = new QSocketNotifier(qintptr(m_pidfd), QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &GameProcess::collect);
    } else {
        m_poll.start();
    }
    return true;
}

void GameProcess::collect()
{
    if (!isRunning())
        return;
    int status = 0;
    const pid_t result = ::waitpid(pid_t(m_pid), &status, WNOHANG);
    if (result == 0 || (result < 0 && errno == EINTR))
        return; // still running
    // Collected now, or (ECHILD) by someone else before us: ended either way.
    const bool normally = result == pid_t(m_pid) && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    stopWatching();
    m_pid = 0;
    emit finished(normally);
}

void GameProcess::stopWatching()
{
    m_poll.stop();
    delete m_notifier;
    m_notifier = nullptr;
    if (m_pidfd >= 0)
        ::close(m_pidfd);
    m_pidfd = -1;
}

} // namespace zwonky::lobby
