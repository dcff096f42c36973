#pragma once

#include <QByteArray>
#include <QString>

namespace zwonky {

// Where the game engine's messages go. The server delivers them to the
// connections of the seats; a message for a seat that is not open is
// dropped, and a failing connection never stops the others' copies.
class GameOutbox
{
public:
    virtual ~GameOutbox() = default;
    virtual void sendTo(int seat, const QByteArray &message) = 0;
    // Every open seat in use, in seat order.
    virtual void sendToAll(const QByteArray &message) = 0;
    // Every open seat in use but one, in seat order.
    virtual void sendToOthers(int except, const QByteArray &message) = 0;
};

// What the game engine may know of the seat table: who sits where. The
// connections, login and removal stay with the server; the engine only looks.
class SeatDirectory
{
public:
    virtual ~SeatDirectory() = default;
    // A connection holds the seat (from its accept until its close).
    virtual bool isOpen(int seat) const = 0;
    virtual QString nameAt(int seat) const = 0;
    // The highest seat ever handed out: the seats a message to all reaches.
    virtual int seatsInUse() const = 0;
};

} // namespace zwonky
