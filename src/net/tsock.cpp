#include "net/tsock.h"

#include "net/hostaddress.h"
#include "net/zwonkyerror.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QNetworkProxy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <netdb.h>

namespace zwonky {

namespace {
bool startsWithDigit(const QString &text)
{
    return !text.isEmpty() && text.front().isDigit();
}
} // namespace

TSock::TSock(QObject *parent) : QObject(parent) {}

TSock::~TSock()
{
    // Destruction closes quietly: no handler may run on a half-destroyed owner.
    m_destroying = true;
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
    }
    if (m_server)
        m_server->close();
}

quint16 TSock::resolvePort(const QString &portName)
{
    if (startsWithDigit(portName)) {
        bool ok = false;
        const uint port = portName.toUInt(&ok);
        if (ok && port <= 65535)
            return static_cast<quint16>(port);
        throw ZwonkyError(QStringLiteral("Port Lookup - Could Not Find Service Entry"));
    }
    const QByteArray name = portName.toLatin1();
    servent *entry = getservbyname(name.constData(), "tcp");
    if (!entry)
        throw ZwonkyError(QStringLiteral("Port Lookup - Could Not Find Service Entry"));
    return ntohs(static_cast<uint16_t>(entry->s_port));
}

void TSock::setListen(bool listen)
{
    if (!listen) {
        if (m_server) {
            m_server->close();
            m_server->deleteLater();
            m_server = nullptr;
        }
        return;
    }
    if (m_socket && m_socket->state() != QAbstractSocket::UnconnectedState)
        throw ZwonkyError(QStringLiteral("Listen - Socket Already In Use"));
    if (m_server && m_server->isListening())
        return;
    const quint16 port = resolvePort(m_portName);
    auto *server = new QTcpServer(this);
    // Game connections are direct, as the socket component's always were:
    // no proxy, and no asking the system for one (which starts a thread).
    server->setProxy(QNetworkProxy(QNetworkProxy::NoProxy));
    server->setMaxPendingConnections(Backlog);
    // Read by listen(): set afterwards it would change nothing.
    server->setListenBacklogSize(Backlog);
    // Any is the dual-stack address: IPv6 joiners are taken as well as IPv4
    // ones, whose peer addresses arrive mapped (::ffff:a.b.c.d) and are
    // turned back into dotted form in accept(). Where IPv6 is switched off,
    // Qt listens on IPv4 alone.
    if (!server->listen(QHostAddress::Any, port)) {
        delete server;
        throw ZwonkyError(QStringLiteral("Listen - Error Binding Socket"));
    }
    m_server = server;
    connect(m_server, &QTcpServer::newConnection, this, [this] {
        if (onAccept)
            onAccept(this);
    });
    reportInfo(InfoListening, QStringLiteral("Listening Started"));
}

bool TSock::isListening() const
{
    return m_server && m_server->isListening();
}

quint16 TSock::localPort() const
{
    if (m_server)
        return m_server->serverPort();
    if (m_socket)
        return m_socket->localPort();
    return 0;
}

void TSock::open()
{
    if (m_server)
        throw ZwonkyError(QStringLiteral("Listen - Socket Already In Use"));
    const quint16 port = resolvePort(m_portName);
    // A literal address (IPv4, or IPv6 with or without brackets and zone)
    // needs no lookup.
    if (const auto address = literalAddress(m_hostName)) {
        connectTo(*address, port);
        return;
    }
    // Names are looked up without blocking the game; Qt caches the answers
    // for the life of the process.
    QPointer<TSock> self(this);
    QHostInfo::lookupHost(m_hostName, this, [self, port](const QHostInfo &info) {
        if (!self)
            return;
        const auto addresses = info.addresses();
        if (info.error() != QHostInfo::NoError || addresses.isEmpty()) {
            self->reportFailure(Failure::NoSuchHost, info.error(),
                                QStringLiteral("Host Lookup - Could Not Find Host Entry"));
            return;
        }
        self->connectTo(addresses.first(), port);
    });
}

quint16 TSock::bindLocal()
{
    if (m_server)
        throw ZwonkyError(QStringLiteral("Listen - Socket Already In Use"));
    if (!m_socket)
        adoptSocket(new QTcpSocket(this));
    if (m_socket->state() == QAbstractSocket::BoundState)
        return m_socket->localPort();
    if (m_socket->state() != QAbstractSocket::UnconnectedState)
        throw ZwonkyError(QStringLiteral("Listen - Socket Already In Use"));
    // Not shared: no other socket may bind the same end while this one holds it.
    if (!m_socket->bind(QHostAddress::LocalHost, 0, QAbstractSocket::DontShareAddress))
        throw ZwonkyError(QStringLiteral("Listen - Error Binding Socket"));
    return m_socket->localPort();
}

quint16 TSock::peerPort() const
{
    return m_socket ? m_socket->peerPort() : 0;
}

qint64 TSock::pendingOutput() const
{
    return m_socket ? m_socket->bytesToWrite() : 0;
}

void TSock::setDiscardInput(bool discard)
{
    m_discardInput = discard;
    if (discard)
        m_input.clear();
    applyReadLimit();
}

void TSock::setInputHeld(bool held)
{
    if (m_inputHeld == held)
        return;
    m_inputHeld = held;
    applyReadLimit();
    if (!held && m_socket && m_socket->bytesAvailable() > 0)
        QMetaObject::invokeMethod(this, &TSock::readAvailable, Qt::QueuedConnection);
}

void TSock::applyReadLimit()
{
    if (m_socket)
        m_socket->setReadBufferSize(m_discardInput ? DiscardChunk : m_inputHeld ? ReadChunk : 0);
}

void TSock::connectTo(const QHostAddress &address, quint16 port)
{
    if (!m_socket)
        adoptSocket(new QTcpSocket(this));
    m_closing = false;
    m_failure = Failure::None;
    m_failureDetail.clear();
    m_socket->connectToHost(address, port);
}

void TSock::adoptSocket(QTcpSocket *socket)
{
    m_socket = socket;
    m_socket->setParent(this);
    m_socket->setProxy(QNetworkProxy(QNetworkProxy::NoProxy)); // direct, as the server's
    applyReadLimit();
    // Game messages are small and must leave at once, not wait for an ACK.
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(m_socket, &QTcpSocket::readyRead, this, &TSock::readAvailable);
    connect(m_socket, &QTcpSocket::bytesWritten, this, [this] {
        if (onWrite)
            onWrite(this);
    });
    connect(m_socket, &QTcpSocket::connected, this, [this] {
        // An option set before the connection exists is lost: set it again.
        m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        reportInfo(InfoConnected, QStringLiteral("Non-Blocking Socket Connected"));
    });
    connect(m_socket, &QTcpSocket::disconnected, this, &TSock::peerClosed);
    connect(m_socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        // The peer's close is reported as a disconnect, not as an error.
        if (error == QAbstractSocket::RemoteHostClosedError)
            return;
        const QString detail = m_socket->errorString();
        Failure failure = Failure::Other;
        if (error == QAbstractSocket::ConnectionRefusedError)
            failure = Failure::Refused;
        else if (error == QAbstractSocket::HostNotFoundError)
            failure = Failure::NoSuchHost;
        else if (error == QAbstractSocket::SocketTimeoutError
                 || (error == QAbstractSocket::NetworkError
                     && detail.contains(QLatin1String("timed out"), Qt::CaseInsensitive)))
            failure = Failure::TimedOut;
        reportFailure(failure, error, detail);
    });
}

bool TSock::isConnected() const
{
    return m_socket && m_socket->state() == QAbstractSocket::ConnectedState;
}

TSock *TSock::accept()
{
    if (!m_server)
        throw ZwonkyError(QStringLiteral("Accept - Socket Not In Listening Mode"));
    QTcpSocket *socket = m_server->nextPendingConnection();
    if (!socket)
        return nullptr;
    auto *connection = new TSock(this);
    connection->m_portName = m_portName;
    // The peer's dotted address, also when the listener is dual-stack.
    const QHostAddress peer = socket->peerAddress();
    bool isV4 = false;
    const quint32 v4 = peer.toIPv4Address(&isV4);
    connection->m_hostName = isV4 ? QHostAddress(v4).toString() : peer.toString();
    connection->onRead = onRead;
    connection->onWrite = onWrite;
    connection->onDisconnect = onDisconnect;
    connection->onInfo = onInfo;
    connection->adoptSocket(socket);
    // Bytes that arrived before the handlers were attached are read at once.
    if (socket->bytesAvailable() > 0)
        QMetaObject::invokeMethod(connection, &TSock::readAvailable, Qt::QueuedConnection);
    return connection;
}

void TSock::sendText(const QByteArray &bytes)
{
    if (m_server)
        throw ZwonkyError(QStringLiteral("Send - Cannot Send On A Listener Socket"));
    if (!m_socket || m_socket->state() == QAbstractSocket::UnconnectedState
        || m_socket->state() == QAbstractSocket::ClosingState)
        throw ZwonkyError(QStringLiteral("Send - Socket Not Connected"));
    if (m_outputLimit > 0 && m_socket->bytesToWrite() + bytes.size() > m_outputLimit) {
        dropOverflowing();
        return;
    }
    // QTcpSocket keeps what the platform does not take now and passes it on
    // in order when the socket becomes writable again.
    m_socket->write(bytes);
}

void TSock::dropOverflowing()
{
    // A peer that does not read would make us keep all it is sent. The
    // connection goes at once with its waiting output; the close is reported
    // once the caller's work is over, as a peer's close would be.
    m_closing = true;
    m_socket->abort();
    QMetaObject::invokeMethod(
        this, [this] { reportInfo(InfoClosed, QStringLiteral("Socket Closed")); },
        Qt::QueuedConnection);
}

QByteArray TSock::receive()
{
    if (m_input.isEmpty() && !isConnected())
        throw ZwonkyError(QStringLiteral("Receive - Socket Not Connected"));
    QByteArray data;
    data.swap(m_input);
    return data;
}

void TSock::readAvailable()
{
    if (!m_socket)
        return;
    if (m_discardInput) {
        discardAvailable();
        return;
    }
    if (m_inputHeld)
        return;
    bool any = false;
    while (m_socket->bytesAvailable() > 0) {
        const QByteArray chunk = m_socket->read(ReadChunk);
        if (chunk.isEmpty())
            break;
        m_input.append(chunk);
        any = true;
    }
    if (any && onRead)
        onRead(this);
}

void TSock::discardAvailable()
{
    char sink[DiscardChunk];
    while (m_socket->bytesAvailable() > 0) {
        if (m_socket->read(sink, sizeof sink) <= 0)
            break;
    }
}

void TSock::peerClosed()
{
    if (m_closing || m_destroying)
        return;
    // Whatever was still buffered arrives before the close is reported.
    m_inputHeld = false;
    readAvailable();
    QPointer<TSock> self(this);
    if (onDisconnect)
        onDisconnect(this);
    if (self && !m_destroying)
        close();
}

void TSock::close()
{
    if (m_server) {
        setListen(false);
        return;
    }
    if (m_socket && m_socket->state() != QAbstractSocket::UnconnectedState) {
        // Pending output still leaves before the connection goes down; the
        // later "disconnected" notice of our own close is not the peer's.
        m_closing = true;
        m_socket->disconnectFromHost();
    }
    reportInfo(InfoClosed, QStringLiteral("Socket Closed"));
}

void TSock::release(int maxWaitMs)
{
    if (m_released)
        return;
    m_released = true;
    // A closed connection holds its buffers until it goes: one that lingers
    // for the whole wait, connection after connection, makes a busy host
    // grow.
    if (!m_socket || m_socket->state() == QAbstractSocket::UnconnectedState) {
        deleteLater();
        return;
    }
    connect(m_socket, &QTcpSocket::disconnected, this, &QObject::deleteLater);
    QTimer::singleShot(maxWaitMs, this, &QObject::deleteLater);
}

void TSock::reportError(int code, const QString &text)
{
    reportInfo(InfoError, QStringLiteral("Error #%1 (%2)").arg(code).arg(text));
}

void TSock::reportFailure(Failure failure, int code, const QString &text)
{
    m_failure = failure;
    m_failureDetail = text;
    reportError(code, text);
}

void TSock::reportInfo(int code, const QString &text)
{
    if (onInfo && !m_destroying)
        onInfo(this, code, text);
}

} // namespace zwonky
