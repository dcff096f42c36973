#include "startup/previnst.h"

#include "startup/runtimefolder.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace zwonky {

namespace {
constexpr char RaiseRequest[] = "raise\n";
const QString LockName = QStringLiteral("zwonky.lock");
const QString SocketName = QStringLiteral("zwonky.socket");
} // namespace

PrevInstance::PrevInstance(QString folder, QObject *parent)
    : QObject(parent), m_folder(std::move(folder))
{
    if (m_folder.isEmpty())
        return;
    m_lock = std::make_unique<QLockFile>(QDir(m_folder).filePath(LockName));
    // A lock left by a crashed process is taken over (QLockFile checks the pid).
    m_lock->setStaleLockTime(0);
}

PrevInstance::~PrevInstance()
{
    if (m_server)
        m_server->close();
    if (m_lock)
        m_lock->unlock();
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
    if (!m_lock)
        return true;
    if (!m_lock->tryLock(0))
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
