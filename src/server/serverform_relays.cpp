// Relays, removal and watching, and the game's messages: the messages the
// server only passes on, to the seats or to the game engine.

#include "server/serverform.h"

namespace zwonky {

// ---- relays ----

void TServer::chat(FieldCursor &args)
{
    const int sender = takeSender(args);
    if (sender == 0)
        return;
    sendToAll(protocol::chatRelay(at(sender).name, args.takeRest()));
}

void TServer::action(FieldCursor &args)
{
    const int sender = takeSender(args);
    if (sender == 0)
        return;
    sendToAll(protocol::actionRelay(at(sender).name, args.takeRest()));
}

void TServer::playasound(FieldCursor &args)
{
    const int sender = takeSender(args);
    if (sender == 0)
        return;
    sendToAll(protocol::playASoundRelay(sender, args.takeRest()));
}

// ---- removal and watching ----

void TServer::kickhim(FieldCursor &args)
{
    const int sender = takeSender(args);
    if (sender != 1)
        return;
    disconnectsock(args.takeInt());
}

void TServer::justwatch(FieldCursor &args)
{
    const int target = args.takeInt();
    const int state = args.takeInt();
    if (target < 1 || target > PlayingSeats)
        return;
    // A player decides for himself; only the host decides for another seat.
    if (target != m_pump.currentOrigin() && !fromHost())
        return;
    if (state == protocol::WatchStop)
        m_engine.stopWatching(target);
    else if (state == protocol::WatchStart)
        m_engine.startWatching(target);
}

// ---- the game ----

void TServer::addGameCommands(
    std::vector<std::pair<const char *, CommandTable::Handler>> &handlers)
{
    // Each takes the sender's seat from the message and passes it on only
    // when the connection that carried the message holds that seat (else 0,
    // which the engine ignores); the fields are read in their wire order.
    handlers.insert(handlers.end(), {
        {protocol::cmd::StartGame, [this](FieldCursor &args) {
             const int sender = takeSender(args);
             // A guest's start request is not even read.
             if (sender != 1 || !fromHost())
                 return;
             m_engine.startgame(sender, fromHost(), protocol::takeGameOptions(args));
         }},
        {protocol::cmd::SetDice, [this](FieldCursor &args) {
             const int sender = takeSender(args);
             const int position = args.takeInt();
             const int die = args.takeInt();
             m_engine.setdice(sender, position, die);
         }},
        {protocol::cmd::Done, [this](FieldCursor &args) {
             const int sender = takeSender(args);
             // A word longer than the largest hand is refused whatever
             // follows, so the rest of an over-long list is not read.
             QList<int> dice;
             while (!args.atEnd() && dice.size() <= DiceCount)
                 dice.append(args.takeInt());
             m_engine.done(sender, dice);
         }},
        {protocol::cmd::ClearThem, [this](FieldCursor &args) { m_engine.clearthem(takeSender(args)); }},
        {protocol::cmd::NewTiles, [this](FieldCursor &args) { m_engine.newtiles(takeSender(args)); }},
        {protocol::cmd::OldTiles, [this](FieldCursor &args) { m_engine.oldtiles(takeSender(args)); }},
        {protocol::cmd::Finish, [this](FieldCursor &args) { m_engine.finish(takeSender(args)); }},
    });
}

} // namespace zwonky
