#include "lobby/lobbylink.h"

#include <QTcpServer>
#include <QTcpSocket>

namespace zwonky::lobby {

LobbyLinkListener::LobbyLinkListener(QObject *parent) : QObject(parent) {}

LobbyLinkListener::~LobbyLinkListener()
{
    for (QTcpSocket *link : std::as_const(m_links))
        link->disconnect(this);
}

bool LobbyLinkListener::listen(quint16 port, QString *error)
{
    if (isListening())
        return true;
    auto *server = new QTcpServer(this);
    if (!server->listen(QHostAddress::LocalHost, port)) {
        if (error)
            *error = server->errorString();
        delete server;
        return false;
    }
    m_server = server;
    connect(m_server, &QTcpServer::newConnection, this, &LobbyLinkListener::acceptWaiting);
    return true;
}

bool LobbyLinkListener::isListening() const
{
    return m_server && m_server->isListening();
}

quint16 LobbyLinkListener::port() const
{
    return m_server ? m_server->serverPort() : 0;
}

void LobbyLinkListener::acceptWaiting()
{
    while (QTcpSocket *link = m_server->nextPendingConnection()) {
        if (m_links.size() >= MaxLinks) {
            QTcpSocket *oldest = m_links.takeFirst();
            oldest->disconnect(this);
            oldest->abort();
            oldest->deleteLater();
        }
        link->setParent(this);
        // Nothing is read: a byte at most is taken in, then the socket is
        // left alone until its peer closes it or it is the oldest.
        link->setReadBufferSize(1);
        connect(link, &QTcpSocket::disconnected, this, [this, link] { forget(link); });
        m_links << link;
    }
}

void LobbyLinkListener::forget(QTcpSocket *link)
{
    if (m_links.removeOne(link))
        link->deleteLater();
}

} // namespace zwonky::lobby
