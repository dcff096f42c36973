#include "startup/previnst.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace zwonky {

namespace {
constexpr char RaiseRequest[] = "raise\n";
}

PrevInstance::PrevInstance(QString key, QObject *parent)
    : QObject(parent), m_key(std::move(key)), m_lock(QDir::temp().filePath(m_key + QStringLiteral(".lock")))
{
    // A lock left by a crashed process is taken over (QLockFile checks the pid).
    m_lock.setStaleLockTime(0);
}

PrevInstance::~PrevInstance()
{
    if (m_server)
        m_server->close();
    m_lock.unlock();
}

QString PrevInstance::defaultKey()
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = QStringLiteral("player");
    return QStringLiteral("zwonky-") + user;
}

bool PrevInstance::claim()
{
    if (!m_lock.tryLock(0))
        return false;
    // We hold the lock, so any socket of that name is left over from a crash.
    QLocalServer::removeServer(m_key);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_key))
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
    QLocalSocket socket;
    socket.connectToServer(m_key);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(RaiseRequest);
    const bool sent = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    return sent;
}

} // namespace zwonky
