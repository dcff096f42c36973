#include "session/clientsession.h"

#include "net/fieldcursor.h"
#include "net/tsock.h"
#include "net/zwonkyerror.h"

#include <map>

namespace zwonky {

namespace {
// A seat field of a message that must name a seat at all.
int takeSeat(int seat)
{
    if (seat < FirstSeat || seat > LastSeat)
        throw ZwonkyError(QStringLiteral("'%1' is not a seat").arg(seat));
    return seat;
}
} // namespace

ClientSession::ClientSession(QObject *parent) : QObject(parent)
{
    m_sock = new TSock(this);
    m_sock->onRead = [this](TSock *sock) {
        try {
            receive(sock->receive());
        } catch (const ZwonkyError &e) {
            emit errorOccurred(e.text());
        }
    };
    m_sock->onInfo = [this](TSock *, int code, const QString &text) { socketInfo(code, text); };

    connect(&m_clock, &TurnClock::ticked, this, &ClientSession::clockTicks);
    connect(&m_clock, &TurnClock::expired, this, &ClientSession::clockExpired);

    registerHandlers();
    m_pump.setErrorReporter([this](const QString &text) { emit errorOccurred(text); });
    // The connection's close waits behind the messages that came before it.
    m_pump.setKeepTicking([this] { return m_closePending; });
    m_pump.setAfterTick([this] {
        if (!m_closePending || m_pump.queued() > 0)
            return;
        m_closePending = false;
        m_closed = true;
        m_clock.stop();
        emit connectionClosed();
    });
    m_pump.start();
}

ClientSession::~ClientSession()
{
    // The socket goes first and quietly: no handler may run on a
    // half-destroyed session.
    m_sock->onRead = nullptr;
    m_sock->onInfo = nullptr;
    delete m_sock;
}

void ClientSession::setDispatchManual(bool manual)
{
    if (manual)
        m_pump.stop();
    else
        m_pump.start();
}

void ClientSession::connectToHost(const QString &host, const QString &port)
{
    m_sock->setHostName(host);
    m_sock->setPortName(port);
    try {
        m_sock->open();
    } catch (const ZwonkyError &e) {
        emit connectionError(e.text());
    }
}

QStringList ClientSession::commandNames() const
{
    return m_commandNames;
}

// The server's 26 commands, tested in the order of the client's table.
void ClientSession::registerHandlers()
{
    using Handler = CommandTable::Handler;
    auto bind = [this](void (ClientSession::*method)(FieldCursor &)) -> Handler {
        return [this, method](FieldCursor &args) { (this->*method)(args); };
    };
    namespace cmd = protocol::cmd;
    const std::map<QString, Handler> handlers{
        {cmd::SendLoginInfo, bind(&ClientSession::sendloginfo)},
        {cmd::Chat, bind(&ClientSession::chatrecieved)},
        {cmd::Action, bind(&ClientSession::chatrecieved)},
        {cmd::NewPlayerInfo, bind(&ClientSession::newplayerinfo)},
        {cmd::HaveWrongVersion,
         [this](FieldCursor &args) {
             emit notice(args.takeRest()
                             + QStringLiteral(" has a different version of the game then you."),
                         NoticeBlue);
         }},
        {cmd::WrongVersion,
         [this](FieldCursor &) {
             emit notice(QStringLiteral("You have a differnt version of the game then the host."),
                         NoticeBlue);
         }},
        {cmd::ExistingPlayers, bind(&ClientSession::newplayerinfo)},
        {cmd::PlayerDisconnected, bind(&ClientSession::playerdisconnected)},
        {cmd::StartGame, bind(&ClientSession::startthegame)},
        {cmd::NextPlayer, bind(&ClientSession::getnextplayer)},
        {cmd::Winner, bind(&ClientSession::winner)},
        {cmd::Full, [this](FieldCursor &) { emit gameFull(); }},
        {cmd::JustWatching, bind(&ClientSession::justwatching)},
        {cmd::TheDice, bind(&ClientSession::thedice)},
        {cmd::SetDice, bind(&ClientSession::setdice)},
        {cmd::Accepted, bind(&ClientSession::accepted)},
        {cmd::Rejected, bind(&ClientSession::rejected)},
        {cmd::ClearThem, [this](FieldCursor &) { clearTiles(); }},
        {cmd::TurnEnd, bind(&ClientSession::turnend)},
        {cmd::Scores, bind(&ClientSession::scores)},
        {cmd::Stats, bind(&ClientSession::stats)},
        {cmd::LoadScores, bind(&ClientSession::loadscores)},
        {cmd::NewTiles, [this](FieldCursor &args) { purchase(args, true); }},
        {cmd::OldTiles, [this](FieldCursor &args) { purchase(args, false); }},
        {cmd::AddAWord, bind(&ClientSession::addaword)},
        {cmd::PlayASound, bind(&ClientSession::playasound)},
    };
    for (const QString &name : protocol::clientCommandOrder()) {
        const auto found = handlers.find(name);
        if (found != handlers.end())
            m_pump.table().add(name, found->second);
    }
    m_commandNames = m_pump.table().names();
}

// ---------------------------------------------------------------- connection

void ClientSession::receive(const QByteArray &bytes)
{
    if (m_closed || m_closePending)
        return;
    for (const QByteArray &message : m_framer.feed(bytes))
        m_pump.enqueue(message);
    if (m_framer.overflowed()) {
        // A peer that never ends its message is not the game server.
        m_framer.reset();
        emit errorOccurred(QStringLiteral("The game connection sent an endless message"));
        m_sock->close();
    }
}

void ClientSession::socketInfo(int code, const QString &text)
{
    if (text == QLatin1String("Socket Closed")) {
        if (m_closed || m_closePending)
            return;
        m_closePending = true;
        m_pump.wake();
        return;
    }
    if (code == TSock::InfoError)
        emit connectionError(text);
}

void ClientSession::send(const QByteArray &message)
{
    if (!m_state.connected)
        return;
    try {
        m_sock->sendText(message);
    } catch (const ZwonkyError &e) {
        emit errorOccurred(e.text());
    }
}

void ClientSession::setPhase(SessionPhase phase)
{
    if (m_state.phase == phase)
        return;
    m_state.phase = phase;
    emit phaseChanged(phase);
}

// ---------------------------------------------------------------- login and table

void ClientSession::sendloginfo(FieldCursor &args)
{
    m_state.ownSeat = takeSeat(args.takeRestInt());
    m_state.connected = true;
    emit loggedIn(m_state.ownSeat);
    send(protocol::loginInfo(m_state.ownSeat, QString::fromLatin1(protocol::GameVersion),
                             m_playerName));
}

void ClientSession::chatrecieved(FieldCursor &args)
{
    const QString text = args.takeRest();
    const qsizetype bar = text.indexOf(QLatin1Char('|'));
    if (bar < 0)
        emit chatReceived(text, QString());
    else
        emit chatReceived(text.left(bar), text.mid(bar + 1));
}

void ClientSession::newplayerinfo(FieldCursor &args)
{
    const int seat = takeSeat(args.takeInt());
    const QString name = args.takeRest();
    if (seat == m_state.ownSeat) {
        emit notice(QStringLiteral("You are Connected."), NoticeBlue);
        emit ownLoginConfirmed();
    } else {
        emit notice(name + QStringLiteral(" is Connected."), NoticeBlue);
        emit soundRequested(QStringLiteral("entered"));
    }
    if (isSpectatorSeat(seat)) {
        m_players.addSpectator(seat, name);
        emit spectatorsChanged();
        emit notice(seat == m_state.ownSeat ? QStringLiteral("You are spying.")
                                            : name + QStringLiteral(" is spying."),
                    NoticeBlue);
    } else if (m_players.seat(seat, name)) {
        emit playerChanged(seat);
    }
}

void ClientSession::playerdisconnected(FieldCursor &args)
{
    const int seat = args.takeInt();
    const QString name = args.takeRest();
    if (isPlayingSeat(seat)) {
        // The row's own name is announced, not the one in the message.
        if (m_players.row(seat).seated)
            emit notice(m_players.shownName(seat) + QStringLiteral(" disconnected."), NoticeBlue);
        m_players.vacate(seat);
        emit playerChanged(seat);
        return;
    }
    if (name.isEmpty() || !m_players.removeSpectator(seat, name))
        return;
    emit notice(name + QStringLiteral(" has left."), LeftNavy);
    emit spectatorsChanged();
}

void ClientSession::justwatching(FieldCursor &args)
{
    const int seat = args.takeInt();
    const QString state = args.takeRest();
    if (!isPlayingSeat(seat))
        return;
    const bool watching = state == QLatin1String("1");
    m_players.setWatching(seat, watching);
    emit notice(m_players.shownName(seat) + (watching ? QStringLiteral(" is just watching")
                                                      : QStringLiteral(" now playing again")),
                WatchGrey);
    emit watchingChanged(seat, watching);
    emit playerChanged(seat);
}

// ---------------------------------------------------------------- game phases

void ClientSession::startthegame(FieldCursor &args)
{
    const QString starter = args.takeField();
    const GameSettings settings = GameSettings::fromWire(protocol::takeGameOptions(args));
    m_state.settings = settings;
    m_state.gameAnnounced = true;
    m_state.winner.clear();
    m_players.resetForGame();
    setPhase(SessionPhase::Pause);

    const QString speed = settings.fast ? QStringLiteral(" FAST ") : QStringLiteral(" SLOW ");
    emit gameStarted(starter, settings);
    for (int seat = FirstSeat; seat <= LastPlayingSeat; ++seat)
        emit playerChanged(seat);
    emit scoresChanged();
    emit notice(starter + QStringLiteral(" has started a") + speed
                    + (settings.team ? QStringLiteral("TEAM game.") : QStringLiteral("game.")),
                NoticeBlue);
}

void ClientSession::getnextplayer(FieldCursor &args)
{
    clearTiles();
    m_words.clear();
    m_players.clearBoughtTiles();
    m_state.ownHoldsNewTiles = false;

    int seat = args.takeRestInt();
    // A spectator of a fast game is sent its own seat: it follows seat 1.
    if (seat > LastPlayingSeat)
        seat = 1;
    if (seat < FirstSeat)
        return;
    m_state.currentSeat = seat;
    m_state.wordSeat = seat;
    setPhase(SessionPhase::TurnRunning);
    emit turnStarted(seat);
}

void ClientSession::winner(FieldCursor &args)
{
    m_state.winner = args.takeRest();
    emit soundRequested(QStringLiteral("gameover"));
    setPhase(SessionPhase::GameOver);
    emit gameOver(m_state.winner);
}

void ClientSession::endOwnTurn()
{
    m_state.currentSeat = 0;
    setPhase(SessionPhase::Pause);
    clearTiles();
    m_tray.blank();
    emit soundRequested(QStringLiteral("timeup"));
}

void ClientSession::turnend(FieldCursor &)
{
    endOwnTurn();
    emit soundRequested(QStringLiteral("showlist"));
    emit turnEnded(true);
}

void ClientSession::clockTicks(int secondsLeft)
{
    if (secondsLeft == 20 || secondsLeft == 15 || secondsLeft <= 10)
        emit soundRequested(QStringLiteral("time"));
    emit clockTicked(secondsLeft);
}

void ClientSession::clockExpired()
{
    // The host keeps its own, longer clock; nothing is sent.
    if (isOwnTurn()) {
        endOwnTurn();
        emit turnEnded(false);
    }
    m_state.currentSeat = 0;
    setPhase(SessionPhase::Pause);
}

// ---------------------------------------------------------------- letters and tray

void ClientSession::clearTiles()
{
    m_tray.clear();
    emit trayCleared();
}

void ClientSession::thedice(FieldCursor &args)
{
    const int seat = args.takeInt();
    const DealKind kind = dealKindFromWire(args.takeField());
    if (kind == DealKind::Thirteen && seat == m_state.ownSeat)
        emit soundRequested(QStringLiteral("zwonked"));
    else if (kind == DealKind::Ten && seat == m_state.ownSeat)
        emit soundRequested(m_newTurnSound ? QStringLiteral("turnnew") : QStringLiteral("turn"));

    // Letters past the thirteenth have no die and are left unread.
    QStringList letters;
    while (!args.atEnd() && letters.size() < LetterTray::DiceCount)
        letters.append(args.takeField());
    m_tray.deal(kind, letters);
    emit lettersDealt(seat, kind);

    if (kind != DealKind::New && kind != DealKind::Old) {
        m_clock.start(m_state.settings.timePerTurn);
        emit clockTicked(m_clock.secondsLeft());
    }
}

void ClientSession::setdice(FieldCursor &args)
{
    const int position = args.takeInt();
    const int die = args.takeRestInt();
    if (!m_tray.place(position, die))
        return;
    emit soundRequested(position != 0 ? QStringLiteral("puttile") : QStringLiteral("clear"));
    emit tileMoved(position, die);
}

void ClientSession::purchase(FieldCursor &args, bool newTiles)
{
    const int seat = args.takeInt();
    const int score = FieldCursor::toInt(args.takeRest());
    if (!isPlayingSeat(seat))
        return;
    m_players.setScore(seat, score);
    emit announcement(m_players.shownName(seat)
                      + (newTiles ? QStringLiteral(" bought new tiles for 300 points!")
                                  : QStringLiteral(" bought the old tiles for 300 points!")));
    if (m_state.settings.fast)
        m_players.setBoughtTiles(seat, true);
    if (seat == m_state.ownSeat)
        m_state.ownHoldsNewTiles = newTiles;
    emit playerChanged(seat);
    emit scoresChanged();
    emit tilesBought(seat, newTiles);
}

// ---------------------------------------------------------------- words and scores

void ClientSession::accepted(FieldCursor &args)
{
    const int length = args.takeInt();
    const QString word = args.takeRest();
    const int seat = m_state.settings.fast ? m_state.ownSeat : m_state.wordSeat;
    m_words.add(seat, length, word);
    // The others saw the word being built on the tray; it goes back now.
    if (m_state.currentSeat != m_state.ownSeat)
        clearTiles();
    emit soundRequested(QStringLiteral("goodword"));
    emit wordAccepted(seat, word);
}

void ClientSession::rejected(FieldCursor &args)
{
    const QString word = args.takeField();
    const QString reason = args.takeRest();
    if (m_state.currentSeat != m_state.ownSeat)
        clearTiles();
    emit soundRequested(QStringLiteral("badword"));
    emit wordRejected(word, reason);
}

void ClientSession::addaword(FieldCursor &args)
{
    const int seat = args.takeInt();
    args.takeField(); // the length; the word itself says it
    const QString word = args.takeRest();
    if (!isPlayingSeat(seat))
        return;
    // The own words of a fast game were filed by "CMD_accepted" already.
    if (!(m_state.settings.fast && seat == m_state.ownSeat))
        m_words.add(seat, int(word.size()), word);
    emit wordAdded(seat, word);
}

void ClientSession::scores(FieldCursor &args)
{
    m_clock.stop();
    const bool fast = m_state.settings.fast;
    if (!fast) {
        m_players.clearResults();
        emit scoresChanged();
    }
    const int seat = args.takeInt();
    TurnResult result;
    result.wordPoints = args.takeInt();
    result.bonus = args.takeInt();
    result.wordCount = args.takeInt();
    const int total = args.takeInt();
    const int partnerSeat = args.takeInt();
    const int partnerTotal = args.takeInt();

    // The partner's total first, then the seat's own.
    if (m_players.setScore(partnerSeat, partnerTotal))
        emit playerChanged(partnerSeat);
    if (!isPlayingSeat(seat))
        return;
    m_players.setScore(seat, total);
    m_players.setResult(seat, result);
    const QString name = m_players.shownName(seat);
    if (result.lostPoints()) {
        emit announcement(QStringLiteral("%1 Lost 500 points! %2 words made for %3 points but "
                                         "that wasn't enough!")
                              .arg(name)
                              .arg(result.wordCount)
                              .arg(result.wordPoints));
    } else if (!fast || seat == m_state.ownSeat) {
        emit announcement(QStringLiteral("%1 Scored: %2 points! %3 words made for %4 points "
                                         "plus %5 bonus points!")
                              .arg(name)
                              .arg(result.points())
                              .arg(result.wordCount)
                              .arg(result.wordPoints)
                              .arg(result.bonus));
    }
    emit playerChanged(seat);
    emit turnScored(seat, result);
    emit scoresChanged();
}

void ClientSession::stats(FieldCursor &args)
{
    int turnSeat = args.takeInt();
    if (turnSeat > LastPlayingSeat)
        turnSeat = 1;
    if (turnSeat < 0)
        turnSeat = 0;
    m_state.currentSeat = turnSeat;
    m_state.wordSeat = turnSeat;
    m_state.settings = GameSettings::fromWire(protocol::takeGameOptions(args));
    m_state.gameAnnounced = true;
    setPhase(turnSeat != 0 ? SessionPhase::TurnRunning : SessionPhase::Pause);
    emit caughtUp(turnSeat, m_state.settings);
}

void ClientSession::loadscores(FieldCursor &args)
{
    const int seat = args.takeInt();
    const int score = FieldCursor::toInt(args.takeRest());
    if (m_players.setScore(seat, score)) {
        emit playerChanged(seat);
        emit scoresChanged();
    }
}

void ClientSession::playasound(FieldCursor &args)
{
    const QString seatText = args.takeField();
    const QString sound = args.takeField();
    bool isNumber = false;
    const int seat = seatText.toInt(&isNumber);
    emit chatterSoundRequested(isNumber ? seat : 0, sound);
}

// ---------------------------------------------------------------- requests

void ClientSession::chat(const QString &text, const QString &colour)
{
    send(protocol::chat(m_state.ownSeat, text, colour));
}

void ClientSession::action(const QString &text, const QString &colour)
{
    send(protocol::action(m_state.ownSeat, text, colour));
}

bool ClientSession::putTile(int die)
{
    if (!isOwnTurn())
        return false;
    const int position = m_tray.putNext(die);
    if (position == 0)
        return false;
    send(protocol::setDiceRequest(m_state.ownSeat, position, die));
    emit soundRequested(QStringLiteral("puttile"));
    emit tileMoved(position, die);
    return true;
}

bool ClientSession::takeBackTile()
{
    if (!isOwnTurn())
        return false;
    const int die = m_tray.takeBackLast();
    if (die == 0)
        return false;
    send(protocol::setDiceRequest(m_state.ownSeat, 0, die));
    emit soundRequested(QStringLiteral("clear"));
    emit tileMoved(0, die);
    return true;
}

bool ClientSession::submitWord()
{
    if (!isOwnTurn() || m_tray.count() == 0)
        return false;
    send(protocol::done(m_state.ownSeat, m_tray.dice()));
    clearTiles();
    return true;
}

void ClientSession::clearTray()
{
    if (!isOwnTurn())
        return;
    clearTiles();
    send(protocol::clearThemRequest(m_state.ownSeat));
    emit soundRequested(QStringLiteral("clear"));
}

void ClientSession::buyNewTiles()
{
    // Whether new tiles are allowed is the host's decision.
    if (!isOwnTurn())
        return;
    clearTiles();
    send(protocol::newTilesRequest(m_state.ownSeat));
}

void ClientSession::buyOldTiles()
{
    if (!isOwnTurn())
        return;
    clearTiles();
    send(protocol::oldTilesRequest(m_state.ownSeat));
}

void ClientSession::finishTurn()
{
    if (isOwnTurn())
        send(protocol::finish(m_state.ownSeat));
}

void ClientSession::toggleWatching()
{
    const int own = m_state.ownSeat;
    if (!m_state.connected || own < 1 || own >= 5)
        return;
    send(protocol::justWatch(own, m_players.row(own).watching ? protocol::WatchStop
                                                              : protocol::WatchStart));
}

void ClientSession::setSeatWatching(int seat, bool watching)
{
    if (seat < 5)
        send(protocol::justWatch(seat, watching ? protocol::WatchStart : protocol::WatchStop));
}

void ClientSession::startGame(const protocol::GameOptionFields &options)
{
    send(protocol::startGameRequest(m_state.ownSeat, options));
}

void ClientSession::kick(int seat)
{
    if (m_state.hosting)
        send(protocol::kickHim(m_state.ownSeat, seat));
}

void ClientSession::playSound(int sound)
{
    send(protocol::playASoundRequest(m_state.ownSeat, sound));
}

} // namespace zwonky
