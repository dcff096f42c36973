// Relays, removal and watching, and the game's messages: the messages the
// server only passes on, to the seats or to the game engine.

#include "server/serverform.h"

#include "server/gamecommands.h"

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
    // A seat field is believed only from that seat's own connection (else 0,
    // which the engine ignores).
    const auto game = gameCommands(m_engine, {[this](FieldCursor &args) { return takeSender(args); },
                                              [this] { return fromHost(); }});
    handlers.insert(handlers.end(), game.begin(), game.end());
}

} // namespace zwonky
