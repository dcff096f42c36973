#include "net/protocol.h"

#include <array>

namespace zwonky::protocol {

namespace {

// Windows-1252 characters 0x80..0x9F; 0 marks the five unassigned bytes,
// which decode to the C1 control of the same value, as Latin-1 does.
constexpr std::array<char16_t, 32> kHighTable = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char encodeChar(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<char>(u);
    for (std::size_t i = 0; i < kHighTable.size(); ++i) {
        if (kHighTable[i] == u && u != 0)
            return static_cast<char>(0x80 + i);
    }
    if (u >= 0x80 && u < 0xA0)
        return static_cast<char>(u);
    return '?';
}

// One message: command + "+" + the argument text, then the terminator. The
// long texts (names, chat lines) come last, so a message past the length
// every receiver takes loses only the end of its text.
QByteArray message(const char *command, const QString &arguments)
{
    QByteArray bytes(command);
    bytes.append('+');
    bytes.append(encodeText(arguments));
    if (bytes.size() > MaxMessageLength)
        bytes.truncate(MaxMessageLength);
    bytes.append(Terminator);
    return bytes;
}

QString num(int value) { return QString::number(value); }

QString joinFields(const QStringList &fields)
{
    return fields.join(QLatin1Char('+'));
}

const QString FlagOn = QStringLiteral("t");
const QString FlagOff = QStringLiteral("f");

QString flagText(bool on) { return on ? FlagOn : FlagOff; }

} // namespace

GameOptions takeGameOptions(FieldCursor &args)
{
    GameOptions options;
    options.team = args.takeField() == FlagOn;
    options.playTo = args.takeInt();
    options.timePerTurn = args.takeInt();
    options.zwonkedAt = args.takeInt();
    options.newTiles = args.takeField() != FlagOff;
    options.typing = args.takeField() == FlagOn;
    options.fast = args.takeField() == FlagOn;
    return options;
}

QString gameOptionsText(const GameOptions &o)
{
    // Each option is followed by "+", the last one included.
    return joinFields({flagText(o.team), num(o.playTo), num(o.timePerTurn), num(o.zwonkedAt),
                       flagText(o.newTiles), flagText(o.typing), flagText(o.fast)})
           + QLatin1Char('+');
}

DealKind dealKindFromWire(const QString &flag)
{
    if (flag == QLatin1String("false"))
        return DealKind::Ten;
    if (flag == QLatin1String("true"))
        return DealKind::Thirteen;
    if (flag == QLatin1String("new"))
        return DealKind::New;
    if (flag == QLatin1String("old"))
        return DealKind::Old;
    return DealKind::Other;
}

QString dealKindText(DealKind kind)
{
    switch (kind) {
    case DealKind::Ten: return QStringLiteral("false");
    case DealKind::Thirteen: return QStringLiteral("true");
    case DealKind::New: return QStringLiteral("new");
    case DealKind::Old: return QStringLiteral("old");
    case DealKind::Other: break;
    }
    return QString();
}

namespace {
const QString TeamJoin = QStringLiteral(" and ");
}

QString teamWinnerText(const QString &name, const QString &partner)
{
    return name + TeamJoin + partner;
}

bool isTeamWinner(const QString &winnerText) { return winnerText.contains(TeamJoin); }

QStringList serverCommandOrder()
{
    return {cmd::LoginInfo, cmd::Chat,     cmd::Action,    cmd::KickHim,  cmd::StartGame,
            cmd::JustWatch, cmd::SetDice,  cmd::Done,      cmd::ClearThem, cmd::NewTiles,
            cmd::OldTiles,  cmd::Finish,   cmd::PlayASound};
}

QStringList clientCommandOrder()
{
    return {cmd::SendLoginInfo, cmd::Chat,          cmd::Action,     cmd::NewPlayerInfo,
            cmd::HaveWrongVersion, cmd::WrongVersion, cmd::ExistingPlayers,
            cmd::PlayerDisconnected, cmd::StartGame, cmd::NextPlayer, cmd::Winner, cmd::Full,
            cmd::JustWatching, cmd::TheDice,       cmd::SetDice,    cmd::Accepted,
            cmd::Rejected,     cmd::ClearThem,     cmd::TurnEnd,    cmd::Scores,
            cmd::Stats,        cmd::LoadScores,    cmd::NewTiles,   cmd::OldTiles,
            cmd::AddAWord,     cmd::PlayASound};
}

QByteArray encodeText(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar c : text)
        bytes.append(encodeChar(c));
    return bytes;
}

QString decodeText(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        if (u >= 0x80 && u < 0xA0 && kHighTable[u - 0x80] != 0)
            text.append(QChar(kHighTable[u - 0x80]));
        else
            text.append(QChar(u));
    }
    return text;
}

// ---- client to server ----

QByteArray loginInfo(int seat, const QString &version, const QString &playerName)
{
    QByteArray bytes = message(cmd::LoginInfo, joinFields({num(seat), version, playerName}));
    bytes.append(Terminator);
    return bytes;
}

QByteArray chat(int seat, const QString &text, const QString &colour)
{
    return message(cmd::Chat, num(seat) + QLatin1Char('+') + text + QLatin1Char('|') + colour);
}

QByteArray action(int seat, const QString &text, const QString &colour)
{
    return message(cmd::Action, num(seat) + QLatin1Char('+') + text + QLatin1Char('|') + colour);
}

QByteArray kickHim(int seat, int target)
{
    return message(cmd::KickHim, joinFields({num(seat), num(target)}) + QLatin1Char('+'));
}

QByteArray startGameRequest(int seat, const GameOptions &options)
{
    return message(cmd::StartGame, num(seat) + QLatin1Char('+') + gameOptionsText(options));
}

QByteArray justWatch(int seat, int state)
{
    return message(cmd::JustWatch, joinFields({num(seat), num(state)}));
}

QByteArray setDiceRequest(int seat, int position, int die)
{
    return message(cmd::SetDice, joinFields({num(seat), num(position), num(die)}));
}

QByteArray done(int seat, const QList<int> &dice)
{
    QString args = num(seat);
    for (int die : dice)
        args += QLatin1Char('+') + num(die);
    return message(cmd::Done, args);
}

QByteArray clearThemRequest(int seat) { return message(cmd::ClearThem, num(seat)); }
QByteArray newTilesRequest(int seat) { return message(cmd::NewTiles, num(seat)); }
QByteArray oldTilesRequest(int seat) { return message(cmd::OldTiles, num(seat)); }
QByteArray finish(int seat) { return message(cmd::Finish, num(seat)); }

QByteArray playASoundRequest(int seat, int sound)
{
    return message(cmd::PlayASound,
                   num(seat) + QStringLiteral("+wave") + num(sound) + QLatin1Char('+'));
}

// ---- server to clients ----

QByteArray sendLoginInfo(int seat) { return message(cmd::SendLoginInfo, num(seat)); }
QByteArray full() { return message(cmd::Full, QString()); }

QByteArray newPlayerInfo(int seat, const QString &name)
{
    return message(cmd::NewPlayerInfo, num(seat) + QLatin1Char('+') + name);
}

QByteArray existingPlayers(int seat, const QString &name)
{
    return message(cmd::ExistingPlayers, num(seat) + QLatin1Char('+') + name);
}

QByteArray haveWrongVersion(const QString &name) { return message(cmd::HaveWrongVersion, name); }
QByteArray wrongVersion() { return message(cmd::WrongVersion, QString()); }

QByteArray stats(int seat, const GameOptions &options)
{
    return message(cmd::Stats, num(seat) + QLatin1Char('+') + gameOptionsText(options));
}

QByteArray loadScores(int seat, int score)
{
    return message(cmd::LoadScores, joinFields({num(seat), num(score)}));
}

QByteArray theDice(int seat, DealKind kind, const QStringList &letters)
{
    return theDice(seat, dealKindText(kind), letters);
}

QByteArray theDice(int seat, const QString &flag, const QStringList &letters)
{
    QString args = num(seat) + QLatin1Char('+') + flag;
    for (const QString &letter : letters)
        args += QLatin1Char('+') + letter;
    return message(cmd::TheDice, args);
}

QByteArray playerDisconnected(int seat, const QString &name)
{
    return message(cmd::PlayerDisconnected, num(seat) + QLatin1Char('+') + name);
}

QByteArray chatRelay(const QString &senderName, const QString &rest)
{
    return message(cmd::Chat, senderName + QStringLiteral(" chats: ") + rest);
}

QByteArray actionRelay(const QString &senderName, const QString &rest)
{
    return message(cmd::Action, senderName + QLatin1Char(' ') + rest);
}

QByteArray playASoundRelay(int seat, const QString &rest)
{
    return message(cmd::PlayASound, num(seat) + QLatin1Char('+') + rest);
}

QByteArray justWatching(int seat, int state)
{
    return message(cmd::JustWatching, joinFields({num(seat), num(state)}));
}

QByteArray startGameAnnounce(const QString &starterName, const GameOptions &options)
{
    return message(cmd::StartGame, starterName + QLatin1Char('+') + gameOptionsText(options));
}

QByteArray nextPlayer(int seat) { return message(cmd::NextPlayer, num(seat)); }

QByteArray setDiceRelay(int position, int die)
{
    return message(cmd::SetDice, joinFields({num(position), num(die)}));
}

QByteArray clearThemRelay() { return message(cmd::ClearThem, QString()); }

QByteArray newTilesNotice(int seat, int score)
{
    return message(cmd::NewTiles, joinFields({num(seat), num(score)}));
}

QByteArray oldTilesNotice(int seat, int score)
{
    return message(cmd::OldTiles, joinFields({num(seat), num(score)}));
}

QByteArray accepted(int length, const QString &word)
{
    return message(cmd::Accepted, num(length) + QLatin1Char('+') + word);
}

QByteArray addAWord(int seat, int length, const QString &word)
{
    return message(cmd::AddAWord, joinFields({num(seat), num(length), word}));
}

QByteArray rejected(const QString &word, const QString &reason)
{
    return message(cmd::Rejected, word + reason);
}

QByteArray turnEnd() { return message(cmd::TurnEnd, QString()); }

QByteArray scores(int seat, int wordPoints, int bonus, int wordCount, int total, int partnerSeat,
                  int partnerTotal)
{
    return message(cmd::Scores, joinFields({num(seat), num(wordPoints), num(bonus), num(wordCount),
                                            num(total), num(partnerSeat), num(partnerTotal)})
                                    + QLatin1Char('+'));
}

QByteArray winner(const QString &text) { return message(cmd::Winner, text); }

} // namespace zwonky::protocol
