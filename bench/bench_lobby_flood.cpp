// The lobby's list under LAN discovery floods, measured on loopback: a
// lobby (its real window, listener and list, in a child process) hears a
// real game announced by the lobby's own announcer while thousands of
// loopback source addresses flood it. Each second the child reports
// whether the real game is a row of its list, and the CPU time it has used
// (from /proc/self/stat); the table gives the samples that listed the game
// and the lobby's share of one core over the same ten seconds.
//
//   bench_lobby_flood            all scenarios, the table at the end
//
// Floods: "valid" is SENDERS addresses each sending valid announcements,
// once a second or faster (with its own id each time, or a fresh id each
// datagram); "junk" is SENDERS new addresses each second, each sending one
// datagram or more that is no announcement.

#include "lobby/announcelistener.h"
#include "lobby/announcer.h"
#include "lobby/gamestarter.h"
#include "lobby/lobbycontroller.h"
#include "lobby/lobbywindow.h"
#include "processbench.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QNetworkDatagram>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QUdpSocket>

#include <cstdio>
#include <memory>

#include <unistd.h>

using namespace zwonky::lobby;

namespace {

constexpr int Samples = 10;
const QString RealName = QStringLiteral("Real game");

qint64 cpuTicks()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    // Fields after the command's closing parenthesis: utime and stime are
    // the 12th and 13th of them.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 12 ? fields.at(11).toLongLong() + fields.at(12).toLongLong() : -1;
}

int runLobby()
{
    QTemporaryDir folder;
    ProcessGameStarter starter(folder.filePath(QStringLiteral("no-game")));
    Announcer announcer;
    AnnounceListener listener;
    LobbyController controller(starter, announcer);
    QString error;
    if (!listener.listenOn({QHostAddress(QHostAddress::LocalHost)}, 0, &error)) {
        std::fprintf(stderr, "cannot listen: %s\n", qPrintable(error));
        return 1;
    }
    LobbyWindow window(controller, listener,
                       LobbySettingsFile(folder.filePath(QStringLiteral("pellixlobby.ini"))));
    window.show();
    auto *list = window.findChild<QTreeWidget *>(QStringLiteral("list_games"));
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        bool listed = false;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            listed = listed || list->topLevelItem(i)->text(0) == RealName;
        processbench::report("@sample %d %d %lld", listed ? 1 : 0, list->topLevelItemCount(), cpuTicks());
    });
    sampler.start(1000);
    processbench::CommandLines commands([](const QByteArray &) {});
    processbench::report("@port %d", int(listener.port()));
    return QApplication::exec();
}

struct Scenario
{
    const char *name;
    bool valid;
    int senders;
    bool newSendersEachSecond;
    bool freshIds;
    bool gameFirst; // the game announced before the flood, or started in it
    int perSenderPerSecond = 1;
};

QString hexId(qint64 n)
{
    return QStringLiteral("%1").arg(n, IdLength, 16, QLatin1Char('0'));
}

// Sends the flood at its rate, a slice every few milliseconds.
class Flood
{
public:
    Flood(const Scenario &scenario, quint16 port) : m_scenario(scenario), m_port(port)
    {
        QObject::connect(&m_tick, &QTimer::timeout, [this] { sendDue(); });
    }
    void start()
    {
        m_clock.start();
        m_tick.start(5);
    }
    void stop() { m_tick.stop(); }

private:
    void sendDue()
    {
        const qint64 perSecond = qint64(m_scenario.senders) * m_scenario.perSenderPerSecond;
        const qint64 due = m_clock.elapsed() * perSecond / 1000;
        for (; m_sent < due; ++m_sent) {
            const qint64 second = m_sent / perSecond;
            const qint64 n = m_sent % m_scenario.senders + (m_scenario.newSendersEachSecond ? second * m_scenario.senders : 0);
            QByteArray data;
            if (m_scenario.valid)
                data = *encodeAnnouncement({hexId(m_scenario.freshIds ? m_sent : n),
                                            QStringLiteral("Fake %1").arg(n), QStringLiteral("1.0.7")});
            else
                data = "ZWONKY-LOBBY 1\nnot an announcement " + QByteArray::number(m_sent);
            QNetworkDatagram datagram(data, QHostAddress::LocalHost, m_port);
            // 127.1.0.1 onwards: a /16 of loopback senders, never 127.0.0.1.
            datagram.setSender(QHostAddress((127u << 24) | (1u << 16) | quint32(n / 250 << 8) | quint32(n % 250 + 1)));
            m_socket.writeDatagram(datagram);
        }
    }

    Scenario m_scenario;
    quint16 m_port;
    QUdpSocket m_socket;
    QTimer m_tick;
    QElapsedTimer m_clock;
    qint64 m_sent = 0;
};

struct Result
{
    int listed = 0;
    int samples = 0;
    double cpuPercent = 0;
    int firstListedSecond = -1;
};

Result measure(const Scenario &scenario)
{
    quint16 port = 0;
    std::vector<std::pair<bool, qint64>> samples;
    processbench::Child lobby({QStringLiteral("--role=lobby")}, [&](const QList<QByteArray> &words) {
        if (words.value(0) == "@port")
            port = quint16(words.value(1).toUInt());
        else if (words.value(0) == "@sample")
            samples.emplace_back(words.value(1) == "1", words.value(3).toLongLong());
    });
    Result result;
    if (!processbench::runUntil([&] { return port != 0; }, 30000))
        return result;
    Announcer real;
    real.setTargets({{QHostAddress(QHostAddress::LocalHost), port}});
    Flood flood(scenario, port);
    const auto wait = [&](std::size_t count) {
        processbench::runUntil([&] { return samples.size() >= count; }, 60000);
    };
    std::size_t from = 0;
    if (scenario.gameFirst) {
        real.start({newAnnouncementId(), RealName, QStringLiteral("1.0.7")});
        wait(samples.size() + 12);
        flood.start();
        from = samples.size();
        wait(from + Samples + 1);
    } else {
        flood.start();
        wait(samples.size() + 5);
        real.start({newAnnouncementId(), RealName, QStringLiteral("1.0.7")});
        from = samples.size();
        wait(from + 2 * Samples + 1);
    }
    flood.stop();
    // The ten samples after the first second of the flood (or of the game
    // started in it, where the game needs its first rounds to stand out).
    const std::size_t first = scenario.gameFirst ? from + 1 : from + Samples + 1;
    for (std::size_t i = from; i < samples.size(); ++i) {
        if (samples[i].first && result.firstListedSecond < 0)
            result.firstListedSecond = int(i - from);
    }
    for (std::size_t i = first; i < first + Samples && i < samples.size(); ++i) {
        result.listed += samples[i].first ? 1 : 0;
        ++result.samples;
    }
    if (first + Samples - 1 < samples.size()) {
        const double ticks = double(samples[first + Samples - 1].second - samples[first - 1].second);
        result.cpuPercent = 100.0 * ticks / double(sysconf(_SC_CLK_TCK)) / Samples;
    }
    return result;
}

int runParent()
{
    const Scenario scenarios[] = {
        {"2,000 senders of valid announcements, own id each", true, 2000, false, false, true},
        {"2,000 senders of valid announcements, fresh ids", true, 2000, false, true, true},
        {"300 new junk senders a second", false, 300, true, false, true},
        {"game started in 2,000 senders, own id each", true, 2000, false, false, false},
        {"game started in 2,000 senders, fresh ids", true, 2000, false, true, false},
        {"game started in 300 new junk senders a second", false, 300, true, false, false},
    };
    std::printf("| flood | real game listed | lobby CPU (one core) | first listed after |\n");
    std::printf("|---|---|---|---|\n");
    for (const Scenario &scenario : scenarios) {
        const Result r = measure(scenario);
        std::printf("| %s%s | %d of %d | %.1f %% | %d s |\n", scenario.name,
                    scenario.gameFirst ? " (game listed before)" : " (last 10 of 20 s)", r.listed,
                    r.samples, r.cpuPercent, r.firstListedSecond);
        std::fflush(stdout);
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (processbench::argument(QStringLiteral("role")) == QLatin1String("lobby"))
        return runLobby();
    return runParent();
}
