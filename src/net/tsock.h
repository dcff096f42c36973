#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QHostAddress;
class QTcpServer;
class QTcpSocket;

namespace zwonky {

// The socket component: the only class that touches QTcpSocket/QTcpServer.
// A TSock is either a listener or a stream connection. All work is
// non-blocking on the UI thread; events are delivered through the handler
// properties below, which an accepted connection inherits from its listener.
//
// Operations that cannot be carried out throw ZwonkyError with the texts of
// the table below; "Socket Closed" is reported through onInfo at every close
// of a non-listening socket, a repeated close included.
class TSock : public QObject
{
    Q_OBJECT
public:
    using Event = std::function<void(TSock *)>;
    using InfoEvent = std::function<void(TSock *, int code, const QString &text)>;

    static constexpr int Backlog = 5;
    static constexpr qint64 ReadChunk = 32768;
    // What a discarding connection lets the platform layer hold at a time.
    static constexpr qint64 DiscardChunk = 4096;

    // Status codes passed with onInfo.
    enum InfoCode {
        InfoClosed = 0,
        InfoConnected = 1,
        InfoListening = 2,
        InfoError = 3,
    };

    // Why the last connect failed, in the terms a player knows.
    enum class Failure {
        None,
        Refused,     // nothing listens on that port
        NoSuchHost,  // the host name does not resolve
        TimedOut,    // no answer in time
        Other,       // see failureDetail()
    };

    explicit TSock(QObject *parent = nullptr);
    ~TSock() override;

    // Properties.
    void setHostName(const QString &host) { m_hostName = host; }
    QString hostName() const { return m_hostName; }
    void setPortName(const QString &port) { m_portName = port; }
    QString portName() const { return m_portName; }
    void setTag(int tag) { m_tag = tag; }
    int tag() const { return m_tag; }

    Event onRead;
    Event onAccept;
    Event onDisconnect;
    Event onWrite;
    InfoEvent onInfo;

    // Bind to all local addresses on the port, IPv6 as well as IPv4, and
    // listen (backlog 5), or close the listener. Throws "Listen - ..." texts.
    void setListen(bool listen);
    bool isListening() const;
    // The bound port (useful when the port name is "0").
    quint16 localPort() const;

    // Starts a non-blocking connect to HostName:PortName. The host is a name,
    // an IPv4 address or an IPv6 address ("::1", "[fe80::1%eth0]").
    void open();
    bool isConnected() const;
    // Binds the coming connection to a free port of 127.0.0.1 before open(),
    // so that its own end is known before it connects; returns that port.
    // Throws "Listen - Error Binding Socket" when no port can be had.
    quint16 bindLocal();
    // The port of the other end of a connection (0 when none).
    quint16 peerPort() const;

    // Bounds the output that may wait for a slow reader. A send that would
    // pass the bound drops the connection with everything still waiting, and
    // "Socket Closed" is reported from the event loop, never from inside the
    // send. 0 (the default) is no bound.
    void setOutputLimit(qint64 bytes) { m_outputLimit = bytes; }
    qint64 pendingOutput() const;

    // A connection whose input means nothing: whatever arrives is read in
    // small pieces and thrown away; receive() stays empty and onRead is not
    // raised.
    void setDiscardInput(bool discard);
    // While held, nothing more is taken from the connection: what arrives
    // waits in the platform's buffers (here at most ReadChunk), so a peer
    // that sends faster than the owner handles is slowed to the owner's
    // pace. Let go, whatever waits is read at once. A close still brings
    // what was buffered first.
    void setInputHeld(bool held);
    bool isInputHeld() const { return m_inputHeld; }

    // Takes the waiting connection into a new component owned by this
    // listener, carrying its handlers and port, marked connected; returns
    // nullptr when nothing waits. Throws when this is not a listener.
    TSock *accept();

    // Appends to the output buffer; bytes leave in order as the platform
    // takes them. Throws on a closed socket or a listener.
    void sendText(const QByteArray &bytes);
    // Returns and empties the input buffer.
    QByteArray receive();

    void close();

    // Hands the component over to be destroyed as soon as nothing more can
    // leave it: at once when its connection is down, else when the output
    // still waiting has left and the connection has closed, at the latest
    // after maxWaitMs. Its handlers may still run until then (the one that
    // calls this may be running now). Repeated calls change nothing.
    void release(int maxWaitMs);

    Failure lastFailure() const { return m_failure; }
    // The platform's own words for the last failure.
    QString failureDetail() const { return m_failureDetail; }

    // Resolves a port name: digits are a number, anything else a tcp service.
    static quint16 resolvePort(const QString &portName);

private:
    void adoptSocket(QTcpSocket *socket);
    void readAvailable();
    void applyReadLimit();
    void discardAvailable();
    void dropOverflowing();
    void peerClosed();
    void reportError(int code, const QString &text);
    void reportFailure(Failure failure, int code, const QString &text);
    void reportInfo(int code, const QString &text);
    void connectTo(const QHostAddress &address, quint16 port);

    QString m_hostName;
    QString m_portName;
    int m_tag = 0;
    QTcpSocket *m_socket = nullptr;
    QTcpServer *m_server = nullptr;
    QByteArray m_input;
    qint64 m_outputLimit = 0;
    bool m_discardInput = false;
    bool m_inputHeld = false;
    bool m_closing = false;
    bool m_destroying = false;
    bool m_released = false;
    Failure m_failure = Failure::None;
    QString m_failureDetail;
};

} // namespace zwonky
