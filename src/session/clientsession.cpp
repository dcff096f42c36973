#include "session/clientsession.h"

#include "net/fieldcursor.h"
#include "session/sessiontexts.h"
#include "net/zwonkyerror.h"

#include <algorithm>
#include <map>

namespace zwonky {

ClientSession::ClientSession(QObject *parent) : QObject(parent)
{
    // A member, but in the object tree too, so that its socket can be found
    // by name; it leaves the tree again when it is destroyed, before the base.
    m_link.setParent(this);
    m_clock.setParent(this);
    connect(&m_link, &SessionConnection::errorOccurred, this, &ClientSession::errorOccurred);
    connect(&m_link, &SessionConnection::socketError, this, &ClientSession::connectionError);
    connect(&m_link, &SessionConnection::closed, this, [this] {
        m_clock.stop();
        emit connectionClosed();
    });
    connect(&m_clock, &TurnClock::ticked, this, &ClientSession::clockTicks);
    connect(&m_clock, &TurnClock::expired, this, &ClientSession::clockExpired);
    registerHandlers();
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
             emit notice(sessiontext::otherVersion(args.takeRest()), NoticeBlue);
         }},
        {cmd::WrongVersion,
         [this](FieldCursor &) { emit notice(sessiontext::ownVersionDiffers(), NoticeBlue); }},
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
            m_link.table().add(name, found->second);
    }
    m_commandNames = m_link.table().names();
}

void ClientSession::send(const QByteArray &message)
{
    if (m_state.connected)
        m_link.send(message);
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
    // Whatever seat the host gives is taken; a seat without a row shows nowhere.
    m_state.ownSeat = args.takeRestInt();
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
    const int seat = args.takeInt();
    const QString name = args.takeRest();
    const bool own = seat == m_state.ownSeat;
    emit notice(sessiontext::connected(own, name), NoticeBlue);
    if (own)
        emit ownLoginConfirmed();
    else
        emit soundRequested(SoundClip::Entered);
    // Every seat past the playing rows watches from the spy list.
    if (seat > LastPlayingSeat) {
        m_players.addSpectator(seat, name);
        emit spectatorsChanged();
        emit notice(sessiontext::spying(own, name), NoticeBlue);
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
            emit notice(sessiontext::disconnected(m_players.shownName(seat)), NoticeBlue);
        m_players.vacate(seat);
        emit playerChanged(seat);
        return;
    }
    if (name.isEmpty() || !m_players.removeSpectator(seat, name))
        return;
    emit notice(sessiontext::hasLeft(name), LeftNavy);
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
    emit notice(sessiontext::watching(m_players.shownName(seat), watching), WatchGrey);
    emit watchingChanged(seat, watching);
    emit playerChanged(seat);
}

// ---------------------------------------------------------------- game phases

void ClientSession::startthegame(FieldCursor &args)
{
    const QString starter = args.takeField();
    const GameSettings settings = protocol::takeGameOptions(args);
    m_state.settings = settings;
    m_state.gameAnnounced = true;
    m_state.winner.clear();
    m_players.resetForGame();
    setPhase(SessionPhase::Pause);
    emit gameStarted(starter, settings);
    for (int seat = FirstSeat; seat <= LastPlayingSeat; ++seat)
        emit playerChanged(seat);
    emit scoresChanged();
    emit notice(sessiontext::started(starter, settings), NoticeBlue);
}

void ClientSession::getnextplayer(FieldCursor &args)
{
    clearTiles();
    m_words.clear();
    m_players.clearBoughtTiles();
    m_state.ownHoldsNewTiles = false;
    emit turnHandedOver();

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
    emit soundRequested(SoundClip::GameOver);
    setPhase(SessionPhase::GameOver);
    emit gameOver(m_state.winner);
}

void ClientSession::endOwnTurn()
{
    m_state.currentSeat = 0;
    setPhase(SessionPhase::Pause);
    clearTiles();
    m_tray.blank();
    emit soundRequested(SoundClip::TimeUp);
}

void ClientSession::turnend(FieldCursor &)
{
    endOwnTurn();
    emit soundRequested(SoundClip::ShowList);
    emit turnEnded(true);
}

void ClientSession::clockTicks(int secondsLeft)
{
    if (secondsLeft == 20 || secondsLeft == 15 || secondsLeft <= 10)
        emit soundRequested(SoundClip::Time);
    emit clockTicked(secondsLeft);
}

void ClientSession::clockExpired()
{
    emit clockRanOut();
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
        emit soundRequested(SoundClip::Zwonked);
    else if (kind == DealKind::Ten && seat == m_state.ownSeat)
        emit soundRequested(m_newTurnSound ? SoundClip::TurnNew : SoundClip::Turn);

    // Letters past the thirteenth have no die and are left unread.
    QStringList letters;
    while (!args.atEnd() && letters.size() < LetterTray::DiceCount)
        letters.append(args.takeField());
    m_tray.deal(kind, letters);
    emit lettersDealt(seat, kind);

    if (kind != DealKind::New && kind != DealKind::Old) {
        // A time below 0 from a hostile host ends the turn at the first
        // tick, as 0 does.
        m_clock.start(std::max(m_state.settings.timePerTurn, 0));
        emit clockTicked(m_clock.secondsLeft());
    }
}

void ClientSession::setdice(FieldCursor &args)
{
    const int position = args.takeInt();
    const int die = args.takeRestInt();
    if (!m_tray.place(position, die))
        return;
    emit soundRequested(position != 0 ? SoundClip::PutTile : SoundClip::Clear);
    emit tileMoved(position, die);
}

void ClientSession::purchase(FieldCursor &args, bool newTiles)
{
    const int seat = args.takeInt();
    const QString score = args.takeRest();
    if (!isPlayingSeat(seat))
        return;
    m_players.setScoreText(seat, score);
    emit announcement(sessiontext::purchase(m_players.shownName(seat), newTiles));
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
    emit wordAccepted(seat, length, word);
    // The others saw the word being built on the tray; it goes back now.
    if (m_state.currentSeat != m_state.ownSeat)
        clearTiles();
    emit soundRequested(SoundClip::GoodWord);
}

void ClientSession::rejected(FieldCursor &args)
{
    const QString word = args.takeField();
    const QString reason = args.takeRest();
    if (m_state.currentSeat != m_state.ownSeat)
        clearTiles();
    emit soundRequested(SoundClip::BadWord);
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
    const QString text = sessiontext::turnResult(m_players.shownName(seat), result,
                                                 !fast || seat == m_state.ownSeat);
    if (!text.isEmpty())
        emit announcement(text);
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
    m_state.settings = protocol::takeGameOptions(args);
    m_state.gameAnnounced = true;
    setPhase(turnSeat != 0 ? SessionPhase::TurnRunning : SessionPhase::Pause);
    emit caughtUp(turnSeat, m_state.settings);
}

void ClientSession::loadscores(FieldCursor &args)
{
    const int seat = args.takeInt();
    const QString score = args.takeRest();
    if (m_players.setScoreText(seat, score)) {
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

} // namespace zwonky
