#include "startup/sidethread.h"

#include <QFile>

#include <sched.h>
#include <system_error>

namespace zwonky {

namespace {

// Whether nothing but the caller is runnable anywhere on the machine right
// now, so that the other cores are idle. The fourth field of the kernel's
// load file counts the runnable tasks ("2/310": 2 of 310). Unreadable: no.
bool othersIdle()
{
    QFile load(QStringLiteral("/proc/loadavg"));
    if (!load.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;
    const QList<QByteArray> fields = load.read(128).simplified().split(' ');
    if (fields.size() < 4)
        return false;
    bool ok = false;
    const int runnable = fields.at(3).split('/').value(0).toInt(&ok);
    return ok && runnable <= 1;
}

} // namespace

SideThread::SideThread(std::function<void()> work)
    : m_work(std::move(work))
{
    pthread_attr_t attributes;
    if (const int error = pthread_attr_init(&attributes); error != 0)
        throw std::system_error(error, std::generic_category(), "thread attributes");
    const int here = sched_getcpu();
    if (here >= 0 && sched_getaffinity(0, sizeof m_everyCore, &m_everyCore) == 0 && othersIdle()) {
        cpu_set_t elsewhere = m_everyCore;
        CPU_CLR(here, &elsewhere);
        m_placed = CPU_COUNT(&elsewhere) > 0
                   && pthread_attr_setaffinity_np(&attributes, sizeof elsewhere, &elsewhere) == 0;
    }
    const int error = pthread_create(&m_thread, &attributes, &SideThread::run, this);
    pthread_attr_destroy(&attributes);
    if (error != 0)
        throw std::system_error(error, std::generic_category(), "side thread");
}

SideThread::~SideThread()
{
    pthread_join(m_thread, nullptr);
}

void *SideThread::run(void *self)
{
    auto *thread = static_cast<SideThread *>(self);
    // Started; from here on the scheduler may place it anywhere. Should the
    // mask not be given back, the work still runs, on the other cores.
    if (thread->m_placed)
        pthread_setaffinity_np(pthread_self(), sizeof thread->m_everyCore, &thread->m_everyCore);
    thread->m_work();
    return nullptr;
}

} // namespace zwonky
