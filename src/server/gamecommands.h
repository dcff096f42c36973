#pragma once

#include "net/messagepump.h"

#include <functional>
#include <utility>
#include <vector>

namespace zwonky {

class GameEngine;

// Who may speak for a seat, as the server decides it for the message being
// handled: the sender named by a message's first field (0 when it is not to
// be believed), and whether the message came from the host's connection.
struct SenderCheck
{
    std::function<int(FieldCursor &)> takeSender;
    std::function<bool()> fromHost;
};

// The game's requests as they are read off the wire: each handler takes the
// sender's seat, reads the fields in their wire order and hands the request
// to the engine. The server puts them in its command table beside its own.
std::vector<std::pair<const char *, CommandTable::Handler>> gameCommands(GameEngine &engine,
                                                                         SenderCheck check);

} // namespace zwonky
