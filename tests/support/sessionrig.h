#pragma once

// One client window at a table whose host is a bare QTcpServer on loopback:
// what the host says is fed into the window's receive queue one message per
// tick, what the window sends is read from the host's end of the socket.
// The spy list and the start-game window are attached as in the program.

#include "client/chatform.h"
#include "dialogfakes.h"
#include "session/clientsession.h"
#include "net/protocol.h"
#include "recordingfakes.h"
#include "windows/gamestart.h"
#include "windows/spylistform.h"

#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

namespace zwonky::testing {

using SoundLog = RecordingSound;
using TallyLog = RecordingTally;

class SessionRig
{
public:
    SessionRig()
    {
        window.setSoundPlayer(&sound);
        window.setTally(&tally);
        window.setMessageBox(messageBox.show());
        window.setSettingsFolder(settings.path());
        CompanionWindows companions;
        companions.spyList = &spies;
        companions.gameStart = &gameStart;
        window.setCompanions(companions);
        server.listen(QHostAddress::LocalHost, 0);
        window.setGamePort(QString::number(server.serverPort()));
        window.setHostStarter([] {});
    }

    // Starts the window with these launch parameters (as its first showing
    // does) and waits for its connection; false when none came.
    bool launch(const QStringList &parameters)
    {
        window.setParameters(parameters);
        window.processparams();
        if (!QTest::qWaitFor([this] { return server.hasPendingConnections(); }, 5000))
            return false;
        host = server.nextPendingConnection();
        return true;
    }

    // Joins (or hosts) and takes the seat; the login reply is read away.
    bool seat(int ownSeat, const QString &name, bool hosting = false)
    {
        if (!launch({name, QStringLiteral("127.0.0.1"),
                     hosting ? QStringLiteral("true") : QStringLiteral("false")}))
            return false;
        feed(protocol::sendLoginInfo(ownSeat));
        const QByteArray reply = protocol::loginInfo(ownSeat, QString::fromLatin1(protocol::GameVersion), name);
        if (!QTest::qWaitFor([&] { return sentSoFar() == reply; }, 5000))
            return false;
        takeSent();
        return true;
    }

    // One message from the host, handled at once (terminator optional).
    void feed(QByteArray message)
    {
        if (!message.endsWith(protocol::Terminator))
            message.append(protocol::Terminator);
        window.session().receive(message);
        window.session().tick();
    }

    QByteArray sentSoFar()
    {
        if (host)
            m_sent += host->readAll();
        return m_sent;
    }

    // What the window sent since the last call; waits briefly for bytes in flight.
    QByteArray takeSent()
    {
        if (QTest::qWaitFor([this] { return host && host->bytesAvailable() > 0; }, 50))
            sentSoFar();
        return std::exchange(m_sent, {});
    }

    QStringList chatLines() const
    {
        const auto *log = window.findChild<QTextEdit *>(QStringLiteral("mainchat"));
        return log ? log->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                   : QStringList();
    }

    template <typename T = QWidget>
    T *control(const QString &name) const
    {
        return window.findChild<T *>(name);
    }

    QTemporaryDir settings;
    QTcpServer server;
    QPointer<QTcpSocket> host;
    SoundLog sound;
    TallyLog tally;
    RecordingMessageBox messageBox;
    Tspylist spies;
    Tgamestartform gameStart;
    Tchat window;

private:
    QByteArray m_sent;
};

} // namespace zwonky::testing
