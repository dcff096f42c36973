#pragma once

#include "net/fieldcursor.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <deque>
#include <functional>
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

    void enqueue(const QByteArray &message) { m_queue.push_back(message); }
    std::size_t queued() const { return m_queue.size(); }
    void start() { m_timer.start(); }
    void stop() { m_timer.stop(); }

    // One tick: take and handle at most one message. Public so tests can step.
    void tick();
    // Handles every queued message now (tests only; the game always ticks).
    void drain();

private:
    QTimer m_timer;
    CommandTable m_table;
    std::deque<QByteArray> m_queue;
    std::function<void(const QString &)> m_reportError;
    std::function<void()> m_afterTick;
};

} // namespace zwonky
