#include "net/messagepump.h"

#include "net/protocol.h"
#include "net/zwonkyerror.h"

#include <QDebug>

#include <optional>

#include <ctime>

namespace zwonky {

namespace {

// The time this thread has run: a busy machine that takes the processor
// away between two messages does not shorten a drain's slice.
qint64 threadTimeNs()
{
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

} // namespace

void CommandTable::add(const QString &name, Handler handler)
{
    m_entries.emplace_back(name, std::move(handler));
}

bool CommandTable::dispatch(const QString &message) const
{
    const qsizetype plus = message.indexOf(QLatin1Char('+'));
    if (plus <= 0)
        return false;
    const QString name = message.left(plus);
    const QString arguments = message.mid(plus + 1);
    bool handled = false;
    for (const auto &[entryName, handler] : m_entries) {
        if (entryName == name) {
            FieldCursor cursor(arguments);
            handler(cursor);
            handled = true;
        }
    }
    return handled;
}

QStringList CommandTable::names() const
{
    QStringList list;
    for (const auto &entry : m_entries)
        list.append(entry.first);
    return list;
}

MessagePump::MessagePump(int intervalMs, QObject *parent) : QObject(parent)
{
    m_timer.setInterval(intervalMs);
    connect(&m_timer, &QTimer::timeout, this, &MessagePump::tick);
}

void MessagePump::enqueue(const QByteArray &message, int origin, quint64 source)
{
    m_queue.push_back({message, origin, source});
    m_queuedBytes += message.size();
    if (source != 0) {
        Load &load = m_load[source];
        ++load.messages;
        load.bytes += message.size();
    }
    requestDrain();
}

std::size_t MessagePump::queuedFrom(quint64 source) const
{
    const auto found = m_load.find(source);
    return found == m_load.end() ? 0 : found->second.messages;
}

qsizetype MessagePump::bytesFrom(quint64 source) const
{
    const auto found = m_load.find(source);
    return found == m_load.end() ? 0 : found->second.bytes;
}

void MessagePump::discardFrom(quint64 source)
{
    if (source == 0 || m_load.erase(source) == 0)
        return;
    std::erase_if(m_queue, [this, source](const Queued &entry) {
        if (entry.source != source)
            return false;
        m_queuedBytes -= entry.message.size();
        return true;
    });
}

MessagePump::Queued MessagePump::takeFront()
{
    Queued entry = std::move(m_queue.front());
    m_queue.pop_front();
    m_queuedBytes -= entry.message.size();
    if (entry.source != 0) {
        const auto found = m_load.find(entry.source);
        if (found != m_load.end()) {
            found->second.bytes -= entry.message.size();
            if (--found->second.messages == 0)
                m_load.erase(found);
        }
    }
    return entry;
}

void MessagePump::start()
{
    m_running = true;
    requestDrain();
    wake();
}

void MessagePump::stop()
{
    m_running = false;
    m_timer.stop();
}

void MessagePump::wake()
{
    if (!m_running || m_timer.isActive())
        return;
    if (m_keepTicking && m_keepTicking())
        m_timer.start();
}

void MessagePump::requestDrain()
{
    if (!m_running || m_drainRequested || m_queue.empty())
        return;
    m_drainRequested = true;
    QMetaObject::invokeMethod(this, &MessagePump::drainQueued, Qt::QueuedConnection);
}

void MessagePump::drainQueued()
{
    m_drainRequested = false;
    // Only what is waiting now: messages that come while these are handled
    // get a drain of their own, after the events that brought them.
    std::size_t budget = m_queue.size();
    const qint64 sliceEnd = threadTimeNs() + qint64(DrainSliceMs) * 1000000;
    while (m_running && budget > 0 && handleNext()) {
        --budget;
        if (threadTimeNs() >= sliceEnd)
            break;
    }
    // A drain that found a handler running leaves the queue to that
    // handler's own drain; one that used up its budget or its slice asks
    // again, behind whatever came meanwhile.
    if (!m_handling)
        requestDrain();
    if (m_afterDrain)
        m_afterDrain();
}

bool MessagePump::handleNext()
{
    if (m_handling)
        return false;
    std::optional<Queued> next;
    while (!next && !m_queue.empty()) {
        Queued entry = takeFront();
        if (!m_originCheck || m_originCheck(entry.origin, entry.source))
            next = std::move(entry);
    }
    if (!next)
        return false;
    const Queued &entry = *next;
    m_handling = true;
    m_currentOrigin = entry.origin;
    QString error;
    runGuarded([&] { m_table.dispatch(protocol::decodeText(entry.message)); },
               [&error](const QString &text) { error = text; });
    m_currentOrigin = 0;
    m_handling = false;
    if (!error.isEmpty()) {
        if (m_reportError)
            m_reportError(error);
        else
            qWarning().noquote() << "message dropped:" << error;
    }
    return true;
}

void MessagePump::tick()
{
    // Messages that came while this one was handled are not left waiting.
    if (handleNext())
        requestDrain();
    if (m_afterTick)
        m_afterTick();
    if (!(m_keepTicking && m_keepTicking()))
        m_timer.stop();
}

void MessagePump::drain()
{
    while (!m_queue.empty() && !m_handling)
        tick();
}

} // namespace zwonky
