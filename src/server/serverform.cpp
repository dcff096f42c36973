#include "server/serverform.h"

#include "dictionary/mydict.h"
#include "net/zwonkyerror.h"

#include <QDebug>


namespace zwonky {

TServer::TServer(QObject *parent, WorkingFileAhead *wordList)
    : QObject(parent), m_engine(*this, *this), m_pump(DispatchIntervalMs, this)
{
    setObjectName(QStringLiteral("TServer"));
    m_pump.setObjectName(QStringLiteral("socktimer"));
    m_logintimer.setObjectName(QStringLiteral("logintimer"));
    m_tempsock.setObjectName(QStringLiteral("tempsock"));
    m_sock1.setObjectName(QStringLiteral("Sock1"));

    spell = new TDictn(this, wordList);
    spell->setObjectName(QStringLiteral("spell"));
    m_engine.setWordChecker([this](const QString &word) { return spell->IsWord(word); });
    connect(&m_engine, &GameEngine::errorReported, this, &TServer::report);

    m_pump.setErrorReporter([this](const QString &text) { report(text); });
    // A message from the network speaks for its seat only while the
    // connection that brought it still holds that seat.
    m_pump.setOriginCheck([this](int origin, quint64 source) {
        return source == 0 || stillHolds(origin, source);
    });
    std::vector<std::pair<const char *, CommandTable::Handler>> handlers = {
        {protocol::cmd::LoginInfo, [this](FieldCursor &args) { receivedlogininfo(args); }},
        {protocol::cmd::Chat, [this](FieldCursor &args) { chat(args); }},
        {protocol::cmd::Action, [this](FieldCursor &args) { action(args); }},
        {protocol::cmd::KickHim, [this](FieldCursor &args) { kickhim(args); }},
        {protocol::cmd::JustWatch, [this](FieldCursor &args) { justwatch(args); }},
        {protocol::cmd::PlayASound, [this](FieldCursor &args) { playasound(args); }},
    };
    addGameCommands(handlers);
    // Registered in the order the dispatcher tests them.
    CommandTable &table = m_pump.table();
    for (const QString &name : protocol::serverCommandOrder()) {
        for (const auto &[command, handler] : handlers) {
            if (name == QLatin1String(command))
                table.add(name, handler);
        }
    }

    m_logintimer.setInterval(LoginTimerIntervalMs);
    connect(&m_logintimer, &QTimer::timeout, this,
            [this] { guarded([this] { logintimerTimer(); }); });

    m_sock1.setPortName(QString::number(protocol::GamePort));
    m_sock1.onAccept = [this](TSock *listener) { guarded([&] { Sock1Accept(listener); }); };
    m_sock1.onRead = [this](TSock *connection) { guarded([&] { Sock1Read(connection); }); };
    // Never opened: it only carries the handlers every accepted connection gets.
    m_tempsock.onDisconnect = [this](TSock *connection) {
        guarded([&] { tempsockDisconnect(connection); });
    };
    m_tempsock.onInfo = [this](TSock *connection, int code, const QString &text) {
        guarded([&] { tempsockInfo(connection, code, text); });
    };
}

TServer::~TServer()
{
    // No handler may run on a half-destroyed table.
    m_pump.stop();
    m_engine.setClockManual(true);
    m_logintimer.stop();
    m_sock1.onAccept = nullptr;
    m_sock1.onRead = nullptr;
    for (tplayer &record : m_players) {
        if (record.connection) {
            record.connection->onRead = nullptr;
            record.connection->onInfo = nullptr;
            record.connection->onDisconnect = nullptr;
        }
    }
}

void TServer::startListening(const QString &port)
{
    m_sock1.setPortName(port);
    m_sock1.setListen(true);
    if (!m_manualClock)
        m_pump.start();
}

quint16 TServer::listeningPort() const { return m_sock1.localPort(); }

void TServer::setRandom(QRandomGenerator *generator) { m_engine.setRandom(generator); }

void TServer::setWordChecker(WordChecker isWord) { m_engine.setWordChecker(std::move(isWord)); }

QString TServer::dictionaryError() const { return spell->errorText(); }

void TServer::closeWordList() { spell->CloseList(); }

void TServer::setClockManual(bool manual)
{
    m_manualClock = manual;
    m_engine.setClockManual(manual);
    if (manual) {
        m_pump.stop();
        m_logintimer.stop();
    } else {
        if (m_sock1.isListening())
            m_pump.start();
        startLoginTimer();
    }
}

void TServer::socktimerTimer() { m_pump.tick(); }

const tplayer &TServer::player(int seatNumber) const
{
    static const tplayer none;
    if (seatNumber < 1 || seatNumber > TableSize)
        return none;
    return at(seatNumber);
}

bool TServer::isOpen(int seatNumber) const { return player(seatNumber).open; }

QString TServer::nameAt(int seatNumber) const { return player(seatNumber).name; }

template <typename Work> void TServer::guarded(Work &&work)
{
    runGuarded(std::forward<Work>(work), [this](const QString &text) { report(text); });
}

void TServer::report(const QString &text)
{
    qWarning().noquote() << "server:" << text;
    emit errorReported(text);
}

// ---- sending ----

void TServer::sendTo(int seatNumber, const QByteArray &message)
{
    if (seatNumber < 1 || seatNumber > MaxSeats)
        return;
    tplayer &record = at(seatNumber);
    if (!record.open || !record.connection)
        return;
    try {
        record.connection->sendText(message);
    } catch (const ZwonkyError &) {
        // The connection is going down; its close is reported on its own,
        // and the other seats must still get the message.
    }
}

void TServer::sendToAll(const QByteArray &message)
{
    for (int i = 1; i <= m_seatsInUse; ++i)
        sendTo(i, message);
}

void TServer::sendToOthers(int except, const QByteArray &message)
{
    for (int i = 1; i <= m_seatsInUse; ++i) {
        if (i != except)
            sendTo(i, message);
    }
}

// ---- message helpers ----

int TServer::takeSender(FieldCursor &args) const
{
    const int sender = args.takeInt();
    if (sender < 1 || sender > TableSize)
        return 0;
    // Believe the seat field only from that seat's own connection.
    if (sender != m_pump.currentOrigin())
        return 0;
    return sender;
}

// ---- connections ----

int TServer::chooseSeat(const TSock *connection) const
{
    // Seat 1 carries the host's powers: when it is kept for the host's own
    // client, nobody else gets it, however early he comes.
    const bool host = isHostClient(connection);
    if (host && !at(1).open)
        return 1;
    const int first = m_hostClientPort != 0 ? 2 : 1;
    for (int i = first; i <= m_seatsInUse; ++i) {
        if (!at(i).open)
            return i;
    }
    if (m_seatsInUse < MaxSeats)
        return std::max(m_seatsInUse + 1, first);
    return SpareSeat;
}

bool TServer::isHostClient(const TSock *connection) const
{
    return m_hostClientPort != 0 && connection->peerPort() == m_hostClientPort
           && connection->hostName() == QLatin1String("127.0.0.1");
}

bool TServer::holdsSeat(int seatNumber, const TSock *connection) const
{
    return seatNumber >= 1 && seatNumber <= MaxSeats && connection
           && at(seatNumber).connection == connection;
}

bool TServer::stillHolds(int seatNumber, quint64 serial) const
{
    if (seatNumber < 1 || seatNumber > MaxSeats)
        return false;
    const tplayer &record = at(seatNumber);
    return record.open && record.connection && record.serial == serial;
}

void TServer::retire(TSock *connection)
{
    // Its handlers stay (one of them may be running now); they ignore a
    // connection that holds no seat. The object goes once its output left.
    connection->release(ClosedConnectionGraceMs);
}

int TServer::waitingFrom(const QString &address) const
{
    int waiting = 0;
    for (int i = 1; i <= MaxSeats; ++i) {
        const tplayer &record = at(i);
        if (record.open && record.connection && !record.loggedIn
            && record.connection->hostName() == address && !isHostClient(record.connection))
            ++waiting;
    }
    return waiting;
}

void TServer::Sock1Accept(TSock *listener)
{
    while (TSock *connection = listener->accept()) {
        connection->setOutputLimit(MaxPendingOutput);
        // Silent connections from one address, made again as each one times
        // out, would hold every seat: only a few may wait at a time.
        if (!isHostClient(connection)
            && waitingFrom(connection->hostName()) >= MaxWaitingPerAddress) {
            connection->setTag(SpareSeat);
            connection->close();
            retire(connection);
            continue;
        }
        const int chosen = chooseSeat(connection);
        if (chosen == SpareSeat) {
            // Every seat is taken: tell the newcomer and let him go.
            connection->setTag(SpareSeat);
            retire(connection);
            connection->sendText(protocol::full());
            connection->close();
            continue;
        }
        if (chosen > m_seatsInUse)
            m_seatsInUse = chosen;
        takeSeat(chosen, connection);
        sendTo(chosen, protocol::sendLoginInfo(chosen));
    }
    startLoginTimer();
}

void TServer::takeSeat(int seatNumber, TSock *connection)
{
    tplayer &record = at(seatNumber);
    record.open = true;
    record.connection = connection;
    record.framer.reset();
    record.serial = ++m_lastSerial;
    record.loggedIn = false;
    record.loginWait = 0;
    connection->setTag(seatNumber);
    connection->onDisconnect = m_tempsock.onDisconnect;
    connection->onInfo = m_tempsock.onInfo;
    connection->onRead = m_sock1.onRead;
}

void TServer::Sock1Read(TSock *connection)
{
    const int seatNumber = connection->tag();
    const QByteArray bytes = connection->receive();
    if (!holdsSeat(seatNumber, connection))
        return; // a connection already let go: its bytes mean nothing
    tplayer &record = at(seatNumber);
    const quint64 serial = record.serial;
    for (const QByteArray &message : record.framer.feed(bytes)) {
        // One connection may not keep the queue to itself: past its share it
        // is let go, and what it left waiting goes with it.
        if (m_pump.queuedFrom(serial) >= MaxQueuedPerConnection
            || m_pump.bytesFrom(serial) + message.size() > MaxQueuedBytesPerConnection) {
            disconnectsock(seatNumber);
            return;
        }
        m_pump.enqueue(message, seatNumber, serial);
    }
    if (record.framer.overflowed())
        disconnectsock(seatNumber);
}

void TServer::tempsockDisconnect(TSock *connection)
{
    const int seatNumber = connection->tag();
    if (holdsSeat(seatNumber, connection) && at(seatNumber).open)
        connection->close();
}

void TServer::tempsockInfo(TSock *connection, int /*code*/, const QString &text)
{
    if (text != QLatin1String("Socket Closed"))
        return;
    const int seatNumber = connection->tag();
    // A repeated report, or one from a connection whose seat has since been
    // given to someone else, changes nothing.
    if (!holdsSeat(seatNumber, connection))
        return;
    tplayer &record = at(seatNumber);
    if (record.open)
        sendToOthers(seatNumber, protocol::playerDisconnected(seatNumber, record.name));
    record.open = false;
    record.name.clear();
    record.connection = nullptr;
    record.framer.reset();
    // Nothing it still had waiting may speak for the seat's next holder.
    m_pump.discardFrom(record.serial);
    record.serial = 0;
    record.loggedIn = false;
    retire(connection);
    m_engine.seatClosed(seatNumber);
}

void TServer::startLoginTimer()
{
    if (m_manualClock || m_logintimer.isActive())
        return;
    for (int i = 1; i <= MaxSeats; ++i) {
        if (at(i).open && !at(i).loggedIn) {
            m_logintimer.start();
            return;
        }
    }
}

void TServer::logintimerTimer()
{
    // A connection that never answers the seat offer would hold its seat
    // for good: it gets a fixed time to log in.
    bool waiting = false;
    for (int i = 1; i <= MaxSeats; ++i) {
        tplayer &record = at(i);
        if (!record.open || !record.connection || record.loggedIn)
            continue;
        if (++record.loginWait >= LoginTimeoutSeconds)
            disconnectsock(i);
        else
            waiting = true;
    }
    if (!waiting)
        m_logintimer.stop();
}

void TServer::disconnectsock(int seatNumber)
{
    if (seatNumber < 1 || seatNumber > MaxSeats)
        return;
    tplayer &record = at(seatNumber);
    if (record.open && record.connection)
        record.connection->close();
}

// ---- login ----

void TServer::receivedlogininfo(FieldCursor &args)
{
    const int n = takeSender(args);
    if (n == 0)
        return;
    const QString version = args.takeField();
    const QString name = args.takeRest();
    tplayer &record = at(n);
    // A login whose connection closed while it waited in the queue would
    // otherwise bring back a seat nobody holds.
    if (!record.open || !record.connection)
        return;
    record.name = name;
    record.loggedIn = true;

    sendToAll(protocol::newPlayerInfo(n, name));
    for (int i = 1; i <= m_seatsInUse; ++i) {
        if (i != n && at(i).open)
            sendTo(n, protocol::existingPlayers(i, at(i).name));
    }

    if (version != QLatin1String(protocol::GameVersion)) {
        if (at(1).open)
            sendTo(1, protocol::haveWrongVersion(name));
        sendTo(n, protocol::wrongVersion());
    }

    if (m_engine.gameRunning())
        m_engine.catchUp(n);
}

} // namespace zwonky
