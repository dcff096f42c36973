#pragma once

// One game program started by the lobby as its own child, followed until it
// ends. The lobby knows that its game runs from this process alone: nothing
// another program does can make it look running or ended.
//
// The child gets a session of its own, so that a signal meant for the
// lobby's terminal does not reach it, and it outlives the lobby: when this
// object goes, the game is left running and the system takes it over. The
// end is seen on a process descriptor (Linux pidfd); where none can be had,
// the child is looked at once a second.

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

class QSocketNotifier;

namespace zwonky::lobby {

class GameProcess : public QObject
{
    Q_OBJECT
public:
    static constexpr int PollIntervalMs = 1000;

    explicit GameProcess(QObject *parent = nullptr);
    ~GameProcess() override;

    // Starts the program in the folder; false with the reason when it could
    // not be started, or when the one started before still runs.
    bool start(const QString &program, const QStringList &arguments, const QString &folder,
               QString *error);
    bool isRunning() const { return m_pid > 0; }
    qint64 processId() const { return m_pid; }

signals:
    // The program has ended; `normally` is false when it failed or crashed.
    void finished(bool normally);

private:
    // Collects the ended child, if it has ended (never waits).
    void collect();
    void stopWatching();

    qint64 m_pid = 0;
    int m_pidfd = -1;
    QSocketNotifier *m_notifier = nullptr;
    QTimer m_poll;
};

} // namespace zwonky::lobby
