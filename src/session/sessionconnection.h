#pragma once

#include "net/framer.h"
#include "net/messagepump.h"
#include "net/tsock.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

namespace zwonky {

// A client's game connection: the socket, the cutting of its bytes into
// messages and the receive queue, whose messages are handled through the
// command table as soon as they arrive. The connection's close is queued behind the messages that
// arrived before it, so the session sees them all before it hears of the
// close. Errors from the socket, from a handler or from a send never leave
// this class as exceptions; they are reported by signals.
class SessionConnection : public QObject
{
    Q_OBJECT
public:
    static constexpr int DispatchIntervalMs = 1;
    // The receive queue's bound: past HoldInputAbove bytes nothing more is
    // read from the host until the queue is down to ResumeInputBelow, so a
    // host that sends faster than the window handles is slowed to its pace
    // instead of filling the memory.
    static constexpr qsizetype HoldInputAbove = 1024 * 1024;
    static constexpr qsizetype ResumeInputBelow = 256 * 1024;

    explicit SessionConnection(QObject *parent = nullptr);
    ~SessionConnection() override;

    CommandTable &table() { return m_pump.table(); }
    // Binds the socket to a free local port before it is opened; returns it.
    quint16 bindLocal();
    // Why the last connect failed (a TSock::Failure) and the system's words.
    TSock::Failure lastFailure() const;
    QString failureDetail() const;
    QString hostName() const;
    // Work at every tick of the 1 ms timer, and a reason to keep it ticking
    // (call wake() when it turns true).
    void setAfterTick(std::function<void()> work) { m_afterTick = std::move(work); }
    void setKeepTicking(std::function<bool()> predicate) { m_keepTicking = std::move(predicate); }
    void wake() { m_pump.wake(); }
    // Starts a non-blocking connect; a failure comes as socketError().
    void open(const QString &host, const QString &port);
    // Sends one whole message; a send that fails is reported, not thrown.
    // false when the send failed (and was reported).
    bool send(const QByteArray &message);
    void close();

    // Bytes received: every complete message joins the queue.
    void receive(const QByteArray &bytes);
    std::size_t queued() const { return m_pump.queued(); }
    // One tick: handles at most one message, or reports the queued close.
    void tick() { m_pump.tick(); }
    // While manual, nothing ticks unless tick() is called.
    void setManual(bool manual);
    bool isClosed() const { return m_closed; }
    // The close has been seen and waits behind the queued messages.
    bool closeQueued() const { return m_closePending; }

signals:
    void closed();
    void socketError(const QString &text);
    void errorOccurred(const QString &text);

private:
    void socketInfo(int code, const QString &text);
    void closeAfterQueue();
    void resumeInputWhenDrained();

    TSock *m_sock = nullptr;
    Framer m_framer;
    MessagePump m_pump{DispatchIntervalMs};
    bool m_closePending = false;
    bool m_closed = false;
    std::function<void()> m_afterTick;
    std::function<bool()> m_keepTicking;
};

} // namespace zwonky
