#include "session/sessionconnection.h"

#include "net/tsock.h"
#include "net/zwonkyerror.h"

#include <QDebug>

namespace zwonky {

SessionConnection::SessionConnection(QObject *parent) : QObject(parent)
{
    m_sock = new TSock(this);
    m_sock->setObjectName(QStringLiteral("sock"));
    m_sock->onRead = [this](TSock *sock) {
        runGuarded([&] { receive(sock->receive()); },
                   [this](const QString &text) { emit errorOccurred(text); });
    };
    m_sock->onInfo = [this](TSock *, int code, const QString &text) { socketInfo(code, text); };

    m_pump.setErrorReporter([this](const QString &text) { emit errorOccurred(text); });
    m_pump.setKeepTicking([this] { return m_closePending || (m_keepTicking && m_keepTicking()); });
    m_pump.setAfterTick([this] {
        if (m_afterTick)
            m_afterTick();
        closeAfterQueue();
        resumeInputWhenDrained();
    });
    m_pump.setAfterDrain([this] { resumeInputWhenDrained(); });
    m_pump.start();
}

SessionConnection::~SessionConnection()
{
    // The socket goes first and quietly: no handler may run on a
    // half-destroyed owner.
    m_sock->onRead = nullptr;
    m_sock->onInfo = nullptr;
    delete m_sock;
}

void SessionConnection::open(const QString &host, const QString &port)
{
    m_sock->setHostName(host);
    m_sock->setPortName(port);
    try {
        m_sock->open();
    } catch (const ZwonkyError &e) {
        emit socketError(e.text());
    }
}

quint16 SessionConnection::bindLocal()
{
    return m_sock->bindLocal();
}

TSock::Failure SessionConnection::lastFailure() const
{
    return m_sock->lastFailure();
}

QString SessionConnection::failureDetail() const
{
    return m_sock->failureDetail();
}

QString SessionConnection::hostName() const
{
    return m_sock->hostName();
}

bool SessionConnection::send(const QByteArray &message)
{
    try {
        m_sock->sendText(message);
        return true;
    } catch (const ZwonkyError &e) {
        emit errorOccurred(e.text());
        return false;
    }
}

void SessionConnection::close()
{
    m_sock->close();
}

void SessionConnection::setManual(bool manual)
{
    if (manual)
        m_pump.stop();
    else
        m_pump.start();
}

void SessionConnection::receive(const QByteArray &bytes)
{
    if (m_closed || m_closePending)
        return;
    for (const QByteArray &message : m_framer.feed(bytes))
        m_pump.enqueue(message);
    if (m_pump.queuedBytes() > HoldInputAbove)
        m_sock->setInputHeld(true);
    if (m_framer.overflowed()) {
        // A peer that never ends its message is not the game server.
        // Only the close is shown: there is nothing the player could do.
        qWarning("game connection sent an endless message; closing it");
        m_framer.reset();
        m_sock->close();
    }
}

void SessionConnection::socketInfo(int code, const QString &text)
{
    if (text == QLatin1String("Socket Closed")) {
        if (m_closed || m_closePending)
            return;
        m_closePending = true;
        m_pump.wake();
        return;
    }
    if (code == TSock::InfoError)
        emit socketError(text);
}

void SessionConnection::resumeInputWhenDrained()
{
    if (m_sock->isInputHeld() && m_pump.queuedBytes() < ResumeInputBelow)
        m_sock->setInputHeld(false);
}

void SessionConnection::closeAfterQueue()
{
    if (!m_closePending || m_pump.queued() > 0 || m_pump.isHandling())
        return;
    m_closePending = false;
    m_closed = true;
    emit closed();
}

} // namespace zwonky
