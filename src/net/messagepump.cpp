#include "net/messagepump.h"

#include "net/protocol.h"
#include "net/zwonkyerror.h"

#include <QDebug>

namespace zwonky {

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

void MessagePump::enqueue(const QByteArray &message, int origin)
{
    m_queue.push_back({message, origin});
    wake();
}

void MessagePump::start()
{
    m_running = true;
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
    if (!m_queue.empty() || (m_keepTicking && m_keepTicking()))
        m_timer.start();
}

void MessagePump::tick()
{
    if (!m_queue.empty()) {
        const Queued entry = std::move(m_queue.front());
        m_queue.pop_front();
        m_currentOrigin = entry.origin;
        QString error;
        try {
            m_table.dispatch(protocol::decodeText(entry.message));
        } catch (const ZwonkyError &e) {
            error = e.text();
        } catch (const std::exception &e) {
            error = QString::fromLocal8Bit(e.what());
        }
        m_currentOrigin = 0;
        if (!error.isEmpty()) {
            if (m_reportError)
                m_reportError(error);
            else
                qWarning().noquote() << "message dropped:" << error;
        }
    }
    if (m_afterTick)
        m_afterTick();
    if (m_queue.empty() && !(m_keepTicking && m_keepTicking()))
        m_timer.stop();
}

void MessagePump::drain()
{
    while (!m_queue.empty())
        tick();
}

} // namespace zwonky
