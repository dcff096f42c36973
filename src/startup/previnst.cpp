#include "startup/previnst.h"

#include "startup/runtimefolder.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zwonky {

namespace {
constexpr char RaiseRequest[] = "raise\n";
const QString LockName = QStringLiteral("zwonky.lock");
const QString SocketName = QStringLiteral("zwonky.socket");
} // namespace

PrevInstance::PrevInstance(QString folder, QObject *parent)
    : QObject(parent), m_folder(std::move(folder))
{
}

PrevInstance::~PrevInstance()
{
    release();
}

void PrevInstance::release()
{
    if (m_server)
        m_server->close();
    if (m_lockFd >= 0) {
        // Removed while still held, so no other start can lock this file
        // after it is gone from the folder.
        ::unlink(QFile::encodeName(QDir(m_folder).filePath(LockName)).constData());
        ::close(m_lockFd);
        m_lockFd = -1;
    }
}

bool PrevInstance::takeLock()
{
    const QByteArray path = QFile::encodeName(QDir(m_folder).filePath(LockName));
    // An instance that is just ending removes its file after we opened it:
    // the lock we got is then on a file no one else sees, so open again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0)
            return false;
        int locked = 0;
        while ((locked = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
        }
        if (locked != 0) {
            ::close(fd);
            return false;
        }
        struct stat held = {};
        struct stat named = {};
        if (::fstat(fd, &held) == 0 && ::stat(path.constData(), &named) == 0
            && held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
            m_lockFd = fd;
            return true;
        }
        ::close(fd);
    }
    return false;
}

QString PrevInstance::defaultFolder()
{
    return userRuntimeFolder();
}

QString PrevInstance::socketPath() const
{
    return m_folder.isEmpty() ? QString() : QDir(m_folder).filePath(SocketName);
}

bool PrevInstance::claim()
{
    if (m_folder.isEmpty())
        return true;
    if (m_lockFd < 0 && !takeLock())
        return false;
    // We hold the lock, so any socket of that name is left over from a crash.
    QLocalServer::removeServer(socketPath());
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(socketPath()))
        return true; // still the first instance; it just cannot be raised
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *peer = m_server->nextPendingConnection()) {
            connect(peer, &QLocalSocket::readyRead, this, [this, peer] {
                const QByteArray request = peer->readAll();
                if (request.startsWith("raise") && m_raise)
                    m_raise();
                peer->disconnectFromServer();
            });
            connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
        }
    });
    return true;
}

bool PrevInstance::raiseFirst(int timeoutMs)
{
    if (m_folder.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(RaiseRequest);
    const bool sent = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    return sent;
}

} // namespace zwonky
