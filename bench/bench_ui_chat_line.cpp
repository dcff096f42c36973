// What an evening of chat costs a player's program: each line arrives as the
// bytes of a relayed chat message at the main window's session, which cuts
// and handles it and hands it to the chat pane; the line is shown in the log
// (on an offscreen screen, painted as on a real one) before the next comes.
//
//  - cost of one line: the CPU time of the program's only thread from the
//    bytes handed to the session to the window painted, averaged over 19,000
//    lines into a log that is already full (1,000 lines); the reference is
//    the same line handled by a bare session without a window;
//  - memory: the heap in use after 20,000 lines against after 1,000, when
//    the log keeps its newest 1,000 lines;
//  - cost of one hostile line: a host that relays 64 KB chat lines of one
//    unbroken word, into a log already full of them (its trims included);
//    the reference is the ordinary line above.

#include "benchtable.h"
#include "processbench.h"

#include "client/chatform.h"
#include "net/protocol.h"
#include "session/clientsession.h"
#include "widgets/gamelook.h"

#include <QApplication>

#include <cstdio>
#include <ctime>
#include <vector>

#include <malloc.h>

namespace {

constexpr int FullLog = 1000;
constexpr int Evening = 20000;
constexpr double TargetMs = 0.3;
constexpr double TargetGrowthMB = 1.0;
constexpr int LongLines = 400;
constexpr int LongLineBytes = 64000;
constexpr double TargetLongMs = 20.0;

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double heapInUseMB()
{
    return double(mallinfo2().uordblks) / (1024.0 * 1024.0);
}

// A relayed chat line as the host sends it: about 60 characters, a link in
// every fourth.
QByteArray relayedLine(int i)
{
    const QString text = i % 4 == 3 ? QStringLiteral("the rules are at www.example.org/rules, line %1").arg(i)
                                    : QStringLiteral("that was a fine word, but I have a better one %1").arg(i);
    return zwonky::protocol::chatRelay(i % 2 ? QStringLiteral("Eve") : QStringLiteral("Bob"),
                                       text + QStringLiteral("|clNavy"));
}

// A 64 KB relayed chat line: one word as long as a message may be.
QByteArray hostileLine(int i)
{
    return zwonky::protocol::chatRelay(QStringLiteral("Eve"),
                                       QString(LongLineBytes, QLatin1Char('a' + i % 26))
                                           + QStringLiteral("|clNavy"));
}

void settle()
{
    // The paint the handling asked for, and whatever it posted.
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

struct Costs
{
    std::vector<double> total; // each line, ms of the thread
    double handling = 0;       // summed over the lines: the session and the pane
    double painting = 0;       // summed: the paint each line asked for
};

// Lines [from, to) into the session; the thread's CPU time of each. The
// session's dispatch is stepped here, so that its handling and the paint
// after it are told apart; the work is that of the session's own drain.
Costs feed(zwonky::ClientSession &session, int from, int to, QByteArray (*line)(int) = relayedLine)
{
    session.setDispatchManual(true);
    Costs costs;
    costs.total.reserve(std::size_t(to - from));
    for (int i = from; i < to; ++i) {
        const QByteArray bytes = line(i);
        const double start = threadCpuMs();
        session.receive(bytes);
        while (session.queued() > 0)
            session.tick();
        const double handled = threadCpuMs();
        settle();
        const double end = threadCpuMs();
        costs.total.push_back(end - start);
        costs.handling += handled - start;
        costs.painting += end - handled;
    }
    return costs;
}

double mean(const std::vector<double> &values)
{
    double sum = 0;
    for (double v : values)
        sum += v;
    return values.empty() ? 0 : sum / double(values.size());
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_AUDIO_BACKEND", "none");
    QApplication app(argc, argv);
    // Drawn as the program draws them.
    zwonky::applyGameLook();

    // The reference: a session alone, no window listening.
    Costs bare;
    {
        zwonky::ClientSession session;
        feed(session, 0, FullLog);
        bare = feed(session, FullLog, Evening);
    }

    zwonky::Tchat window;
    window.show();
    settle();
    const double before = heapInUseMB();
    feed(window.session(), 0, FullLog);
    const double atFullLog = heapInUseMB();
    const Costs costs = feed(window.session(), FullLog, Evening);
    const double atEvening = heapInUseMB();
    feed(window.session(), 0, FullLog, hostileLine);
    const Costs hostile = feed(window.session(), 0, LongLines, hostileLine);

    const double lines = double(costs.total.size());
    const double perLine = mean(costs.total);
    std::printf("chat line into a shown window (thread CPU) over %zu lines: mean %.4f ms (handling %.4f, "
                "paint %.4f), p50 %.4f ms, p99 %.4f ms, max %.3f ms; a bare session: mean %.4f ms\n",
                costs.total.size(), perLine, costs.handling / lines, costs.painting / lines,
                processbench::percentile(costs.total, 0.5), processbench::percentile(costs.total, 0.99),
                processbench::percentile(costs.total, 1.0), mean(bare.total));
    std::printf("heap in use: %.2f MB with an empty log, %.2f MB after %d lines, %.2f MB after %d\n",
                before, atFullLog, FullLog, atEvening, Evening);

    benchtable::printTableRow({"chat line received by the session and shown in the window, "
                               "thread CPU (vs a bare session)",
                               perLine, mean(bare.total), "ms", "<= 0.3 ms", perLine <= TargetMs});
    const double growth = atEvening - atFullLog;
    benchtable::printTableRow({"heap growth from 1,000 to 20,000 chat lines "
                               "(vs the first 1,000 lines' heap)",
                               growth, atFullLog - before, "MB", "<= 1 MB", growth <= TargetGrowthMB});
    const double perLongLine = mean(hostile.total);
    std::printf("64 KB chat line into a full log (thread CPU) over %d lines: mean %.3f ms (handling %.3f, "
                "paint %.3f), p50 %.3f ms, max %.3f ms\n",
                LongLines, perLongLine, hostile.handling / LongLines, hostile.painting / LongLines,
                processbench::percentile(hostile.total, 0.5), processbench::percentile(hostile.total, 1.0));
    benchtable::printTableRow({"64 KB unbroken chat line received and shown in a full log, "
                               "thread CPU (vs an ordinary line)",
                               perLongLine, perLine, "ms", "<= 20 ms", perLongLine <= TargetLongMs});
    return 0;
}
