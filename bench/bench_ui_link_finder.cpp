// What a long chat line costs the host's only thread: the links of a line
// without blanks (60 KB, the kind a hostile peer sends) found and underlined
// as the line enters the log, then a pointer moving over it. A line of many
// short words is measured next to it for comparison. Every case should grow
// in step with the line's length, never with its square.

#include "client/chatform.h"
#include "client/rteurl.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTextEdit>

namespace {

// Lines of `length` characters in a few shapes a peer might send.
QString lineOf(int shape, int length)
{
    QString line;
    line.reserve(length);
    switch (shape) {
    case 0: // one word of plain letters
        line.fill(QLatin1Char('a'), length);
        break;
    case 1: // one word made of link prefixes, closed by punctuation
        while (line.size() < length)
            line += QStringLiteral("http://www.");
        line.truncate(length);
        line += QStringLiteral(".....");
        break;
    case 2: // one word that never ends a link: a prefix, then full stops
        line = QStringLiteral("mailto:") + QString(length - 7, QLatin1Char('.'));
        break;
    default: // many short words, some of them links
        while (line.size() < length)
            line += QStringLiteral("see www.a.org/x and ");
        line.truncate(length);
        break;
    }
    return line;
}

void BM_LinksOfBody(benchmark::State &state)
{
    const QString body = lineOf(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(zwonky::findLinks(body));
    }
    state.SetComplexityN(state.range(1));
}
BENCHMARK(BM_LinksOfBody)
    ->ArgsProduct({{0, 1, 2, 3}, {15000, 30000, 60000}})
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// A whole relayed line entering the window's log: cut to what a typed line
// can reach, laid out, its links underlined. The log is on screen, so the
// layout is part of the cost.
void BM_ChatLineIntoLog(benchmark::State &state)
{
    zwonky::Tchat window;
    window.show();
    const QString line = QStringLiteral("Eve chats: ") + lineOf(int(state.range(0)), int(state.range(1)));
    for (auto _ : state)
        window.addlinetochat(line, 0);
    state.SetComplexityN(state.range(1));
}
BENCHMARK(BM_ChatLineIntoLog)
    ->ArgsProduct({{0, 1, 2, 3}, {15000, 30000, 60000}})
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// An ordinary chat line (about 60 characters, one link in every fourth)
// entering a log that already holds `range(0)` lines: the cost of one line
// of an evening of chat, which must not grow with the evening.
void BM_OrdinaryChatLine(benchmark::State &state)
{
    zwonky::Tchat window;
    window.show();
    const QString plain = QStringLiteral("Eve chats: that was a fine word, but I have a better one");
    const QString linked = QStringLiteral("Bob chats: the rules are at www.example.org/rules today");
    for (int i = 0; i < state.range(0); ++i)
        window.addlinetochat(i % 4 == 3 ? linked : plain, 0);
    int i = 0;
    for (auto _ : state)
        window.addlinetochat(++i % 4 == 3 ? linked : plain, 0);
}
BENCHMARK(BM_OrdinaryChatLine)->Arg(0)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);

// The pointer over the middle of a long line: the hand-cursor test.
void BM_PointerOverLongLine(benchmark::State &state)
{
    QTextEdit log;
    log.resize(500, 200);
    log.setPlainText(lineOf(int(state.range(0)), 60000));
    log.show();
    for (auto _ : state)
        benchmark::DoNotOptimize(zwonky::URLAtPoint(&log, 200, 60));
}
BENCHMARK(BM_PointerOverLongLine)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
