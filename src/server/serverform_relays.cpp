// Relays, removal and watching: the messages the server only passes on or
// that change who plays.

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

    if (state == protocol::WatchStop) {
        at(target).watching = false;
        sendToAll(protocol::justWatching(target, protocol::WatchStop));
        return;
    }
    if (state != protocol::WatchStart)
        return;
    bool someoneElsePlays = false;
    for (int i = 1; i <= 4; ++i) {
        if (i != target && at(i).open && !at(i).watching)
            someoneElsePlays = true;
    }
    if (!someoneElsePlays)
        return;
    at(target).watching = true;
    sendToAll(protocol::justWatching(target, protocol::WatchStart));
    if (m_running && !m_fast && target == m_current && m_phase == TurnRunning)
        m_counter = 1; // his turn ends at the next second
}

} // namespace zwonky
