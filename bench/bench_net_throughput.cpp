// How much the whole server handles, and whether a busy peer delays another
// player's login: whole processes on loopback. A headless host runs the
// server alone; two peers flood it with chat lines, each keeping a window of
// lines on their way (it sends the next when one of its own comes back), so
// neither ever comes near the bounds the server keeps per connection (256
// messages or 512 KiB waiting). A third peer counts the lines relayed to it:
// that is the number of messages the server handled. A fourth logs in again
// and again, first on the idle server, then during the flood.
//
// Every peer drives the widget-free session, as a player's program does.

#include "benchtable.h"
#include "processbench.h"

#include "server/serverform.h"
#include "session/clientsession.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

using processbench::nowNs;
using processbench::report;

constexpr int Flooders = 2;
constexpr int Window = 64;            // lines of one flooder on their way
constexpr int Logins = 40;            // on the idle server, and again in the flood
constexpr double FloodSeconds = 4.0;  // at least, measured at the counter
constexpr double TargetPerSecond = 10000;

zwonky::ClientSession *openSession(const QString &name, zwonky::ClientSession *session)
{
    session->setPlayerName(name);
    QObject::connect(session, &zwonky::ClientSession::ownLoginConfirmed,
                     [session] { report("@in %d", session->ownSeat()); });
    session->connectToHost(QStringLiteral("127.0.0.1"), processbench::argument(QStringLiteral("port")));
    return session;
}

// ---------------------------------------------------------------- children

int runHost()
{
    zwonky::TServer server;
    server.startListening(QStringLiteral("0"));
    report("@port %d", int(server.listeningPort()));
    processbench::CommandLines commands([](const QByteArray &) {});
    return QCoreApplication::exec();
}

int runFlooder()
{
    zwonky::ClientSession session;
    const QString name = processbench::argument(QStringLiteral("name"));
    const QString own = name + QStringLiteral(" chats: ");
    bool flooding = false;
    int onTheWay = 0;
    int sent = 0;
    auto sendLine = [&] {
        session.chat(QStringLiteral("line %1 of an evening of chat, nothing much to read").arg(++sent),
                     QStringLiteral("clBlack"));
        ++onTheWay;
    };
    QObject::connect(&session, &zwonky::ClientSession::chatReceived, [&](const QString &text, const QString &) {
        if (!text.startsWith(own))
            return;
        --onTheWay;
        while (flooding && onTheWay < Window)
            sendLine();
    });
    processbench::CommandLines commands([&](const QByteArray &line) {
        flooding = line == "flood";
        while (flooding && onTheWay < Window)
            sendLine();
    });
    openSession(name, &session);
    return QCoreApplication::exec();
}

int runCounter()
{
    zwonky::ClientSession session;
    qint64 lines = 0;
    QObject::connect(&session, &zwonky::ClientSession::chatReceived,
                     [&lines](const QString &, const QString &) { ++lines; });
    processbench::CommandLines commands([&lines](const QByteArray &line) {
        if (line == "mark")
            report("@mark %lld %lld", lines, nowNs());
    });
    openSession(QStringLiteral("Counter"), &session);
    return QCoreApplication::exec();
}

// Logs in on each "login": from the connect to the server's announcement of
// the own login, then leaves again.
int runJoiner()
{
    std::unique_ptr<zwonky::ClientSession> session;
    qint64 start = 0;
    processbench::CommandLines commands([&](const QByteArray &line) {
        if (line != "login")
            return;
        session = std::make_unique<zwonky::ClientSession>();
        session->setPlayerName(QStringLiteral("Late"));
        QObject::connect(session.get(), &zwonky::ClientSession::ownLoginConfirmed, [&] {
            report("@login %lld", nowNs() - start);
            // Leaves once the handler is over (unless a new login came first).
            zwonky::ClientSession *done = session.get();
            QTimer::singleShot(0, [&session, done] {
                if (session.get() == done)
                    session.reset();
            });
        });
        start = nowNs();
        session->connectToHost(QStringLiteral("127.0.0.1"), processbench::argument(QStringLiteral("port")));
    });
    return QCoreApplication::exec();
}

// ---------------------------------------------------------------- parent

struct Mark
{
    qint64 lines = -1;
    qint64 at = 0;
};

bool measureLogins(processbench::Child &joiner, std::vector<double> &times, std::vector<double> &into)
{
    for (int i = 0; i < Logins; ++i) {
        const std::size_t before = times.size();
        joiner.command("login");
        if (!processbench::runUntil([&] { return times.size() > before; }, 20000))
            return false;
        into.push_back(times.back());
    }
    return true;
}

int runParent()
{
    QTemporaryDir folder; // the host's working word list goes here
    int port = 0;
    processbench::Child host({QStringLiteral("--role=host")}, [&port](const QList<QByteArray> &w) {
        if (w[0] == "@port" && w.size() == 2)
            port = w[1].toInt();
    }, folder.path());
    if (!processbench::runUntil([&] { return port != 0; }, 20000)) {
        std::fprintf(stderr, "the host did not start\n");
        return 1;
    }
    const QString portArgument = QStringLiteral("--port=%1").arg(port);

    int seated = 0;
    Mark mark;
    std::vector<double> loginTimes;
    auto lines = [&](const QList<QByteArray> &w) {
        if (w[0] == "@in")
            ++seated;
        else if (w[0] == "@mark" && w.size() == 3)
            mark = {w[1].toLongLong(), w[2].toLongLong()};
        else if (w[0] == "@login" && w.size() == 2)
            loginTimes.push_back(double(w[1].toLongLong()) / 1e6);
    };
    processbench::Child counter({QStringLiteral("--role=counter"), portArgument}, lines);
    std::vector<std::unique_ptr<processbench::Child>> flooders;
    for (int i = 1; i <= Flooders; ++i) {
        flooders.push_back(std::make_unique<processbench::Child>(
            QStringList{QStringLiteral("--role=flooder"), portArgument, QStringLiteral("--name=Flood%1").arg(i)},
            lines));
    }
    processbench::Child joiner({QStringLiteral("--role=joiner"), portArgument}, lines);
    if (!processbench::runUntil([&] { return seated == Flooders + 1; }, 20000)) {
        std::fprintf(stderr, "the peers did not log in\n");
        return 1;
    }

    std::vector<double> idle;
    std::vector<double> flooded;
    if (!measureLogins(joiner, loginTimes, idle)) {
        std::fprintf(stderr, "a login on the idle server did not come through\n");
        return 1;
    }
    for (auto &flooder : flooders)
        flooder->command("flood");
    // A moment for the flood to reach its pace, then the counted stretch.
    const qint64 warm = nowNs() + 500000000;
    processbench::runUntil([&] { return nowNs() > warm; }, 1000);
    counter.command("mark");
    if (!processbench::runUntil([&] { return mark.lines >= 0; }, 5000))
        return 1;
    const Mark first = mark;
    mark = {};
    const bool loggedIn = measureLogins(joiner, loginTimes, flooded);
    const qint64 end = first.at + qint64(FloodSeconds * 1e9);
    processbench::runUntil([&] { return nowNs() > end; }, int(FloodSeconds * 1000) + 1000);
    counter.command("mark");
    if (!processbench::runUntil([&] { return mark.lines >= 0; }, 5000) || !loggedIn) {
        std::fprintf(stderr, "the flood stopped the server (logins %s)\n", loggedIn ? "through" : "stuck");
        return 1;
    }
    for (auto &flooder : flooders)
        flooder->command("stop");

    const double seconds = double(mark.at - first.at) / 1e9;
    const double perSecond = double(mark.lines - first.lines) / seconds;
    std::printf("chat flood: %lld lines handled in %.2f s by the server (%d flooding peers), "
                "%.0f lines/s, each relayed to every seated peer\n",
                mark.lines - first.lines, seconds, Flooders, perSecond);
    const double idle50 = processbench::percentile(idle, 0.5);
    const double idle99 = processbench::percentile(idle, 0.99);
    const double flood50 = processbench::percentile(flooded, 0.5);
    const double flood99 = processbench::percentile(flooded, 0.99);
    std::printf("login: idle p50 %.3f ms p99 %.3f ms; during the flood p50 %.3f ms p99 %.3f ms (%d each)\n",
                idle50, idle99, flood50, flood99, Logins);

    benchtable::printTableRow({"chat lines the whole server handles, counted at a receiver", perSecond,
                               0, "msg/s", ">= 10000 msg/s", perSecond >= TargetPerSecond});
    benchtable::printTableRow({"login during a chat flood, p50 (vs login on the idle server p50)", flood50,
                               idle50, "ms", "<= 50 ms", flood50 <= 50});
    benchtable::printTableRow({"login during a chat flood, p99 (vs login on the idle server p99)", flood99,
                               idle99, "ms", "<= 100 ms", flood99 <= 100});
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString role = processbench::argument(QStringLiteral("role"));
    if (role == QLatin1String("host"))
        return runHost();
    if (role == QLatin1String("flooder"))
        return runFlooder();
    if (role == QLatin1String("counter"))
        return runCounter();
    if (role == QLatin1String("joiner"))
        return runJoiner();
    return runParent();
}
