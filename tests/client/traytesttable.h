#pragma once

// A one-window table for the tray and board tests: a Tchat connected over
// loopback to a bare QTcpServer that plays the host. Messages from the host
// are fed straight into the window's receive queue; what the window sends is
// read from the host's end of the socket.

#include "client/chatform.h"
#include "tally/tallyrecorder.h"
#include "net/protocol.h"
#include "soundlog.h"

#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace zwonky::testing {

using RecordingSound = SoundLog;

class RecordingTally : public TallyRecorder
{
public:
    void addgame(const QString &winner) override { games << winner; }
    void addscore(int column, int value) override
    {
        scores << qMakePair(column, value);
        if (column == 3)
            highestGame = value;
        if (column == 4)
            highestTurn = value;
    }
    int highestGameScore() const override { return highestGame; }
    int highestTurnScore() const override { return highestTurn; }
    void loadchecklist(const QStringList &) override {}

    QStringList games;
    QList<QPair<int, int>> scores;
    int highestGame = 0;
    int highestTurn = 0;
};

class TrayTable
{
public:
    TrayTable()
    {
        window.setSoundPlayer(&sound);
        window.setTally(&tally);
        window.setMessageBox([this](const QString &text) { boxes << text; });
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
        if (message.endsWith(protocol::Terminator))
            message.chop(1);
        window.pump().enqueue(message);
        window.pump().drain();
    }

    // A game with the given options, then the turn of `turnSeat` with a deal.
    void startTurn(int turnSeat, const QStringList &letters, const QString &flag,
                   bool typing = true, int seconds = 90, bool fast = false)
    {
        protocol::GameOptionFields options;
        options.playTo = QStringLiteral("5000");
        options.timePerTurn = QString::number(seconds);
        options.zwonkedAt = QStringLiteral("2000");
        options.typing = typing ? QStringLiteral("t") : QStringLiteral("f");
        options.fast = fast ? QStringLiteral("t") : QStringLiteral("f");
        feed(protocol::startGameAnnounce(QStringLiteral("Ann"), options));
        feed(protocol::nextPlayer(turnSeat));
        feed(protocol::theDice(turnSeat, flag, letters));
        sound.clips.clear();
    }

    // Everything the window sent since the last call, one entry per message
    // without its terminator. A marker sent last proves nothing else is on its way.
    QList<QByteArray> takeSent()
    {
        const QByteArray marker = protocol::finish(999);
        window.sendMessage(marker);
        QByteArray &buffer = m_pending;
        QTest::qWaitFor(
            [&] {
                if (host)
                    buffer += host->readAll();
                return buffer.contains(marker);
            },
            5000);
        const qsizetype end = buffer.indexOf(marker);
        QList<QByteArray> messages;
        if (end < 0)
            return {"<nothing arrived>"};
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
    QStringList boxes;
    QTcpServer server;
    QPointer<QTcpSocket> host;
    Tchat window;

private:
    QByteArray m_pending;
};

} // namespace zwonky::testing
