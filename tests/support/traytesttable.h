#pragma once

// A one-window table for the tray and board tests: a Tchat connected over
// loopback to a bare QTcpServer that plays the host. Messages from the host
// are fed straight into the window's receive queue; what the window sends is
// read from the host's end of the socket.

#include "client/chatform.h"
#include "dialogfakes.h"
#include "session/clientsession.h"
#include "net/protocol.h"
#include "recordingfakes.h"

#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace zwonky::testing {

class TrayTable
{
public:
    TrayTable()
    {
        window.setSoundPlayer(&sound);
        window.setTally(&tally);
        window.setMessageBox(messageBox.show());
        window.setSettingsFolder(settings.path());
    }

    // Connects the window and seats it; false when the loopback failed.
    bool seat(int ownSeat, const QString &name = QStringLiteral("Ann"))
    {
        if (!server.listen(QHostAddress::LocalHost, 0))
            return false;
        window.setGamePort(QString::number(server.serverPort()));
        window.setParameters({name, QStringLiteral("127.0.0.1"), QStringLiteral("false")});
        window.processparams();
        if (!QTest::qWaitFor([this] { return server.hasPendingConnections(); }, 5000))
            return false;
        host = server.nextPendingConnection();
        feed(protocol::sendLoginInfo(ownSeat));
        // The login reply is not what these tests look at.
        takeSent();
        sound.clips.clear();
        return true;
    }

    // One message from the host, handled at once (no terminator needed).
    void feed(QByteArray message)
    {
        if (!message.endsWith(protocol::Terminator))
            message.append(protocol::Terminator);
        window.session().receive(message);
        while (window.session().queued() > 0)
            window.session().tick();
    }

    // A game with the given options, then the turn of `turnSeat` with a deal.
    void startTurn(int turnSeat, const QStringList &letters, const QString &flag,
                   bool typing = true, int seconds = 90, bool fast = false)
    {
        protocol::GameOptions options;
        options.timePerTurn = seconds;
        options.typing = typing;
        options.fast = fast;
        feed(protocol::startGameAnnounce(QStringLiteral("Ann"), options));
        feed(protocol::nextPlayer(turnSeat));
        feed(protocol::theDice(turnSeat, flag, letters));
        sound.clips.clear();
    }

    // Everything the window sent since the last call, one entry per message
    // without its terminator. A marker sent last proves nothing else is on its way.
    QList<QByteArray> takeSent()
    {
        const QString text = QStringLiteral("end-of-test-marker");
        const QString colour = QStringLiteral("clBlack");
        const QByteArray marker = protocol::chat(window.ownSeat(), text, colour);
        window.session().chat(text, colour);
        QByteArray &buffer = m_pending;
        const bool arrived = QTest::qWaitFor(
            [&] {
                if (host)
                    buffer += host->readAll();
                return buffer.contains(marker);
            },
            5000);
        if (!arrived)
            return {"<nothing arrived>"};
        const qsizetype end = buffer.indexOf(marker);
        QList<QByteArray> messages;
        const QByteArray before = buffer.left(end);
        buffer.remove(0, end + marker.size());
        for (const QByteArray &part : before.split(protocol::Terminator))
            if (!part.isEmpty())
                messages << part;
        return messages;
    }

    template <typename T>
    T *find(const QString &name)
    {
        return window.findChild<T *>(name);
    }

    QTemporaryDir settings;
    RecordingSound sound;
    RecordingTally tally;
    RecordingMessageBox messageBox;
    QTcpServer server;
    QPointer<QTcpSocket> host;
    Tchat window;

private:
    QByteArray m_pending;
};

} // namespace zwonky::testing
