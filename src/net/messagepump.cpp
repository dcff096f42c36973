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

void MessagePump::tick()
{
    if (!m_queue.empty()) {
        const QByteArray message = std::move(m_queue.front());
        m_queue.pop_front();
        QString error;
        try {
            m_table.dispatch(protocol::decodeText(message));
        } catch (const ZwonkyError &e) {
            error = e.text();
        } catch (const std::exception &e) {
            error = QString::fromLocal8Bit(e.what());
        }
        if (!error.isEmpty()) {
            if (m_reportError)
                m_reportError(error);
            else
                qWarning().noquote() << "message dropped:" << error;
        }
    }
    if (m_afterTick)
        m_afterTick();
}

void MessagePump::drain()
{
    while (!m_queue.empty())
        tick();
}

} // namespace zwonky
