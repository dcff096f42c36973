#pragma once

#include "net/fieldcursor.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <deque>
#include <functional>
#include <unordered_map>
#include <utility>
#include <vector>

namespace zwonky {

// A side's command table: names tested exactly and case-sensitively, in
// the order they were added. A handler reads its arguments from the cursor.
class CommandTable
{
public:
    using Handler = std::function<void(FieldCursor &)>;

    void add(const QString &name, Handler handler);

    // Splits the message at its first "+" and runs every matching handler.
    // A message without "+" (or starting with "+") has an empty command and
    // does nothing; an unknown command does nothing. Returns whether a
    // handler ran. Exceptions from handlers propagate to the caller.
    bool dispatch(const QString &message) const;

    QStringList names() const;

private:
    std::vector<std::pair<QString, Handler>> m_entries;
};

// The receive queue of one side. A message is handled as soon as the event
// loop comes back after its arrival: the first message at a resting queue
// asks for one drain, which handles what is waiting one message at a time in
// arrival order. A drain hands the thread back to the event loop once it has
// run for DrainSliceMs of the thread's time and asks for another after the
// events waiting then, so that a long backlog never keeps a stop, a click or
// a paint waiting behind it. Handlers never overlap: a handler that causes another
// message or runs an event loop of its own only adds to the queue, and the
// drain that is already running takes it in turn.
// Errors raised while handling a message end that message only; they are
// passed to the error reporter and the drain goes on with the next one.
// Each message remembers where it came from: the server's seat of the
// connection (readable by the handler through currentOrigin()) and that
// connection's source number, so that the owner can bound what one
// connection keeps waiting, drop what a departed one left behind, and refuse
// at dispatch a message whose connection no longer holds its seat.
// Beside the messages runs the tick timer, for work counted in ticks (the
// client's phrase gate). It sleeps unless keepTicking() says it is needed,
// so an idle game costs no CPU.
class MessagePump : public QObject
{
    Q_OBJECT
public:
    static constexpr int DrainSliceMs = 40;

    MessagePump(int intervalMs, QObject *parent = nullptr);

    CommandTable &table() { return m_table; }
    void setErrorReporter(std::function<void(const QString &)> reporter)
    {
        m_reportError = std::move(reporter);
    }
    // Work that runs at every tick of the timer (the client's phrase gate),
    // whatever the messages do.
    void setAfterTick(std::function<void()> work) { m_afterTick = std::move(work); }
    // Whether ticks are still needed with an empty queue (the phrase gate
    // counting ticks while closed). Call wake() when it turns true.
    void setKeepTicking(std::function<bool()> predicate) { m_keepTicking = std::move(predicate); }

    // Asked before each message is handled; a message it refuses is dropped
    // unhandled and the next one is taken in its place.
    void setOriginCheck(std::function<bool(int origin, quint64 source)> check)
    {
        m_originCheck = std::move(check);
    }

    // Source 0 means no connection (the client's own queue, tests).
    void enqueue(const QByteArray &message, int origin = 0, quint64 source = 0);
    std::size_t queued() const { return m_queue.size(); }
    // The bytes of every message waiting.
    qsizetype queuedBytes() const { return m_queuedBytes; }
    // Called after each drain of the queue (the queue may have shrunk).
    void setAfterDrain(std::function<void()> work) { m_afterDrain = std::move(work); }
    // Messages and bytes waiting from one source.
    std::size_t queuedFrom(quint64 source) const;
    qsizetype bytesFrom(quint64 source) const;
    // Drops every message still waiting from the source.
    void discardFrom(quint64 source);
    // The origin of the message being handled (0 outside a handler).
    int currentOrigin() const { return m_currentOrigin; }
    // A started pump handles messages as they come and ticks when needed;
    // a stopped one does nothing unless stepped by tick() or drain().
    void start();
    void stop();
    // Starts the tick timer if keepTicking() now asks for it.
    void wake();
    bool isTicking() const { return m_timer.isActive(); }
    // A handler is running (possibly inside an event loop of its own).
    bool isHandling() const { return m_handling; }

    // One tick: handle at most one message, then the tick's work. Public so
    // tests can step; no message is taken while a handler is running.
    void tick();
    // Handles every queued message now, tick by tick (tests).
    void drain();

private:
    QTimer m_timer;
    CommandTable m_table;
    struct Queued
    {
        QByteArray message;
        int origin;
        quint64 source;
    };
    struct Load
    {
        std::size_t messages = 0;
        qsizetype bytes = 0;
    };
    Queued takeFront();
    void requestDrain();
    void drainQueued();
    // Takes the next message the origin check accepts and handles it;
    // false when none was left or a handler is already running.
    bool handleNext();

    std::deque<Queued> m_queue;
    std::unordered_map<quint64, Load> m_load; // per source other than 0
    std::function<bool(int, quint64)> m_originCheck;
    std::function<void(const QString &)> m_reportError;
    std::function<void()> m_afterTick;
    std::function<bool()> m_keepTicking;
    std::function<void()> m_afterDrain;
    qsizetype m_queuedBytes = 0;
    bool m_running = false;
    bool m_drainRequested = false;
    bool m_handling = false;
    int m_currentOrigin = 0;
};

} // namespace zwonky
