#pragma once

// The host's computer players: each one a ComputerPlayer inside this process
// whose session joins the host's own server over 127.0.0.1 like any joiner
// and takes the lowest free seat. They connect one at a time, each once the
// one before is seated or dropped: the server lets only a few connections
// from one address wait for their login. One that finds no playing seat free is
// dropped again with a notice. They stay until removed or until the program
// ends (removing one closes its connection, which the server sees as a
// player leaving).

#include <QObject>
#include <QString>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace zwonky {

class ComputerPlayer;

class ComputerSeats : public QObject
{
    Q_OBJECT
public:
    explicit ComputerSeats(QObject *parent = nullptr);
    ~ComputerSeats() override;

    // The host's server port (7772; tests use the server's free port).
    void setPort(const QString &port) { m_port = port; }
    // 1.0 in the program; tests play at pace 0.
    void setPaceScale(double scale) { m_paceScale = scale; }

    // Adds one computer player of that level; it connects as soon as no
    // other one is still joining.
    void add(int level);
    void removeAll();
    int count() const { return int(m_players.size()); }
    // Players that have not yet taken their seat.
    int joining() const;
    // Runs `work` once every player added so far is seated (or dropped).
    void whenSeated(std::function<void()> work);

signals:
    void notice(const QString &text);
    void changed();

private:
    void drop(ComputerPlayer *player, const QString &why);
    void checkSeated();
    void connectNext();
    bool isSeated(const ComputerPlayer *player) const;

    std::vector<std::unique_ptr<ComputerPlayer>> m_players;
    // Added, not yet connected, in the order they were added.
    std::deque<ComputerPlayer *> m_unconnected;
    ComputerPlayer *m_connecting = nullptr;
    std::vector<std::function<void()>> m_waiting;
    QString m_port = QStringLiteral("7772");
    double m_paceScale = 1.0;
    int m_added = 0;
};

} // namespace zwonky
