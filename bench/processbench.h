#pragma once

// Helpers of the benchmarks that run whole processes: one executable started
// in several roles by a measuring parent. The parent talks to each child
// through its standard input (commands, one a line) and reads its standard
// output (reports, one a line, starting with "@"). Times cross the process
// boundary as nanoseconds of std::chrono::steady_clock, which is the
// machine's CLOCK_MONOTONIC and so the same clock in every process.

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QProcess>
#include <QSocketNotifier>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include <unistd.h>

namespace processbench {

inline qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The p-th fraction (0..1) of the values, nearest rank.
inline double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

// A child's report line to the parent.
inline void report(const char *format, ...)
{
    std::va_list args;
    va_start(args, format);
    std::vfprintf(stdout, format, args);
    va_end(args);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// The value of "--name=value" among the arguments, or the fallback.
inline QString argument(const QString &name, const QString &fallback = QString())
{
    const QString prefix = QStringLiteral("--") + name + QLatin1Char('=');
    for (const QString &arg : QCoreApplication::arguments()) {
        if (arg.startsWith(prefix))
            return arg.mid(prefix.size());
    }
    return fallback;
}

// A child's commands from the parent, one a line. The process ends when its
// standard input closes (the parent went away or is done).
class CommandLines
{
public:
    explicit CommandLines(std::function<void(const QByteArray &)> onLine)
        : m_onLine(std::move(onLine)), m_notifier(STDIN_FILENO, QSocketNotifier::Read)
    {
        QObject::connect(&m_notifier, &QSocketNotifier::activated, [this] { readAvailable(); });
    }

private:
    void readAvailable()
    {
        char chunk[4096];
        const ssize_t got = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (got <= 0) {
            m_notifier.setEnabled(false);
            QCoreApplication::exit(0);
            return;
        }
        m_pending.append(chunk, static_cast<qsizetype>(got));
        qsizetype end;
        while ((end = m_pending.indexOf('\n')) >= 0) {
            const QByteArray line = m_pending.left(end);
            m_pending.remove(0, end + 1);
            m_onLine(line);
        }
    }

    std::function<void(const QByteArray &)> m_onLine;
    QSocketNotifier m_notifier;
    QByteArray m_pending;
};

// The parent's side of one child: started in a role, its report lines handed
// to a callback as words ("@seen 12 123456789" -> {"@seen", "12", ...}).
class Child
{
public:
    using LineHandler = std::function<void(const QList<QByteArray> &words)>;

    Child(const QStringList &roleArguments, LineHandler onLine, const QString &workingFolder = {})
        : m_onLine(std::move(onLine))
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        if (!workingFolder.isEmpty())
            m_process.setWorkingDirectory(workingFolder);
        QObject::connect(&m_process, &QProcess::readyReadStandardOutput, [this] { readLines(); });
        m_process.start(QCoreApplication::applicationFilePath(), roleArguments);
    }
    ~Child()
    {
        // Closing its input ends the child; it is killed if it lingers.
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(3000)) {
            m_process.kill();
            m_process.waitForFinished(1000);
        }
    }
    Child(const Child &) = delete;
    Child &operator=(const Child &) = delete;

    void command(const QByteArray &line)
    {
        m_process.write(line + '\n');
    }
    bool running() const { return m_process.state() != QProcess::NotRunning; }

private:
    void readLines()
    {
        m_pending += m_process.readAllStandardOutput();
        qsizetype end;
        while ((end = m_pending.indexOf('\n')) >= 0) {
            const QByteArray line = m_pending.left(end).trimmed();
            m_pending.remove(0, end + 1);
            if (line.startsWith('@'))
                m_onLine(line.split(' '));
            else if (!line.isEmpty())
                std::printf("  [child] %s\n", line.constData());
        }
    }

    LineHandler m_onLine;
    QProcess m_process;
    QByteArray m_pending;
};

// Runs the event loop until the condition holds or the time is up.
template <typename Condition> bool runUntil(Condition condition, int timeoutMs)
{
    const qint64 deadline = nowNs() + qint64(timeoutMs) * 1000000;
    // A keep-alive, so that a blocking wait for events always comes back.
    QTimer wake;
    wake.start(50);
    while (!condition()) {
        if (nowNs() > deadline)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

} // namespace processbench
