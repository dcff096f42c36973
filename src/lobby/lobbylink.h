#pragma once

// The lobby's end of the lobby link: a game started with launch parameters
// opens a silent connection to 127.0.0.1 port 9001 and keeps it for as
// long as it runs. Any local program can connect there too, so a link
// means nothing to the lobby: it follows the game through the process it
// started (GameProcess). Links are taken and held, never read; none is
// refused. The number held is bounded: past MaxLinks the oldest is closed,
// so that nobody can keep a newcomer out, nor hold the lobby's descriptors.

#include <QList>
#include <QObject>
#include <QString>

class QTcpServer;
class QTcpSocket;

namespace zwonky::lobby {

class LobbyLinkListener : public QObject
{
    Q_OBJECT
public:
    static constexpr quint16 DefaultPort = 9001;
    static constexpr int MaxLinks = 32;

    explicit LobbyLinkListener(QObject *parent = nullptr);
    ~LobbyLinkListener() override;

    // Listens on 127.0.0.1 at the port; false with the reason when the port
    // cannot be had.
    bool listen(quint16 port, QString *error);
    bool isListening() const;
    quint16 port() const;

    int openLinks() const { return int(m_links.size()); }

private:
    void acceptWaiting();
    void forget(QTcpSocket *link);

    QTcpServer *m_server = nullptr;
    QList<QTcpSocket *> m_links; // oldest first
};

} // namespace zwonky::lobby
