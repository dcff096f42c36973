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

// The receive queue of one side and its drain timer: one message per tick.
// Errors raised while handling a message end that message only; they are
// passed to the error reporter and the next tick goes on with the next one.
// Each message remembers where it came from: the server's seat of the
// connection (readable by the handler through currentOrigin()) and that
// connection's source number, so that the owner can bound what one
// connection keeps waiting, drop what a departed one left behind, and refuse
// at dispatch a message whose connection no longer holds its seat.
// The timer sleeps while there is nothing to do, so an idle game costs no
// CPU: it runs while messages are queued or while keepTicking() says so.
class MessagePump : public QObject
{
    Q_OBJECT
public:
    MessagePump(int intervalMs, QObject *parent = nullptr);

    CommandTable &table() { return m_table; }
    void setErrorReporter(std::function<void(const QString &)> reporter)
    {
        m_reportError = std::move(reporter);
    }
    // Work that runs at every tick after the message (the client's phrase gate).
    void setAfterTick(std::function<void()> work) { m_afterTick = std::move(work); }
    // Whether ticks are still needed with an empty queue (the phrase gate
    // counting ticks while closed). Call wake() when it turns true.
    void setKeepTicking(std::function<bool()> predicate) { m_keepTicking = std::move(predicate); }

    // Asked before each message is handled; a message it refuses is dropped
    // unhandled and the same tick goes on to the next one.
    void setOriginCheck(std::function<bool(int origin, quint64 source)> check)
    {
        m_originCheck = std::move(check);
    }

    // Source 0 means no connection (the client's own queue, tests).
    void enqueue(const QByteArray &message, int origin = 0, quint64 source = 0);
    std::size_t queued() const { return m_queue.size(); }
    // Messages and bytes waiting from one source.
    std::size_t queuedFrom(quint64 source) const;
    qsizetype bytesFrom(quint64 source) const;
    // Drops every message still waiting from the source.
    void discardFrom(quint64 source);
    // The origin of the message being handled (0 outside a handler).
    int currentOrigin() const { return m_currentOrigin; }
    void start();
    void stop();
    void wake();
    bool isTicking() const { return m_timer.isActive(); }

    // One tick: take and handle at most one message. Public so tests can step.
    void tick();
    // Handles every queued message now (tests only; the game always ticks).
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

    std::deque<Queued> m_queue;
    std::unordered_map<quint64, Load> m_load; // per source other than 0
    std::function<bool(int, quint64)> m_originCheck;
    std::function<void(const QString &)> m_reportError;
    std::function<void()> m_afterTick;
    std::function<bool()> m_keepTicking;
    bool m_running = false;
    int m_currentOrigin = 0;
};

} // namespace zwonky
