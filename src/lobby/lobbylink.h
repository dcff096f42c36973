#pragma once

// The lobby's end of the lobby link: a game started with launch parameters
// opens a silent connection to 127.0.0.1 port 9001 and keeps it for as
// long as it runs. A game runs while a link is open. Nothing is read from
// or written to a link; whatever arrives is thrown away.

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
    // One game per user; a few more are let in (a second user's game) but
    // never an unbounded number.
    static constexpr int MaxLinks = 4;

    explicit LobbyLinkListener(QObject *parent = nullptr);
    ~LobbyLinkListener() override;

    // Listens on 127.0.0.1 at the port; false with the reason when the port
    // cannot be had.
    bool listen(quint16 port, QString *error);
    bool isListening() const;
    quint16 port() const;

    int openLinks() const { return int(m_links.size()); }
    bool gameConnected() const { return !m_links.isEmpty(); }

signals:
    // A game connected while none was, or the last one went.
    void gameConnectedChanged(bool connected);

private:
    void acceptWaiting();
    void linkClosed(QTcpSocket *link);

    QTcpServer *m_server = nullptr;
    QList<QTcpSocket *> m_links;
};

} // namespace zwonky::lobby
