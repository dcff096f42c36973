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
            link->abort();
            link->deleteLater();
            continue;
        }
        link->setParent(this);
        link->setReadBufferSize(1024);
        connect(link, &QTcpSocket::readyRead, link, [link] {
            char sink[1024];
            while (link->read(sink, sizeof sink) > 0) {
            }
        });
        connect(link, &QTcpSocket::disconnected, this, [this, link] { linkClosed(link); });
        m_links << link;
        if (m_links.size() == 1)
            emit gameConnectedChanged(true);
    }
}

void LobbyLinkListener::linkClosed(QTcpSocket *link)
{
    if (!m_links.removeOne(link))
        return;
    link->deleteLater();
    if (m_links.isEmpty())
        emit gameConnectedChanged(false);
}

} // namespace zwonky::lobby
