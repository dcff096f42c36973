#pragma once

// The game engine without a socket: a seat table whose outbox keeps, per
// seat, the bytes that seat's connection would have carried, and a started
// game on it with a seeded generator, a test word list and a clock the test
// steps itself.

#include "gamewire.h"

#include "net/protocol.h"
#include "server/gameengine.h"
#include "server/gameoutbox.h"

#include <QRandomGenerator>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <array>
#include <functional>

namespace zwonky::testing {

// Seats 1-9 as the server keeps them, and what each open seat was sent.
class RecordingOutbox : public GameOutbox, public SeatDirectory
{
public:
    static constexpr int Seats = 9;

    void sit(int seat, const QString &name)
    {
        if (!valid(seat))
            return;
        slot(seat) = Slot{true, name, {}};
        m_inUse = std::max(m_inUse, seat);
    }
    // The connection left: nothing more reaches the seat.
    void leave(int seat)
    {
        if (valid(seat))
            slot(seat) = Slot{};
    }
    QByteArray take(int seat)
    {
        QByteArray bytes;
        if (valid(seat))
            bytes.swap(slot(seat).received);
        return bytes;
    }
    void takeAll()
    {
        for (int i = 1; i <= Seats; ++i)
            take(i);
    }

    void sendTo(int seat, const QByteArray &message) override
    {
        if (valid(seat) && slot(seat).open)
            slot(seat).received += message;
    }
    void sendToAll(const QByteArray &message) override
    {
        for (int i = 1; i <= m_inUse; ++i)
            sendTo(i, message);
    }
    void sendToOthers(int except, const QByteArray &message) override
    {
        for (int i = 1; i <= m_inUse; ++i) {
            if (i != except)
                sendTo(i, message);
        }
    }
    bool isOpen(int seat) const override { return valid(seat) && slot(seat).open; }
    QString nameAt(int seat) const override { return valid(seat) ? slot(seat).name : QString(); }
    int seatsInUse() const override { return m_inUse; }

private:
    struct Slot
    {
        bool open = false;
        QString name;
        QByteArray received;
    };
    static bool valid(int seat) { return seat >= 1 && seat <= Seats; }
    Slot &slot(int seat) { return m_slots[static_cast<std::size_t>(seat)]; }
    const Slot &slot(int seat) const { return m_slots[static_cast<std::size_t>(seat)]; }

    std::array<Slot, Seats + 1> m_slots;
    int m_inUse = 0;
};

// The options as the server reads them from "CMD_startgame".
inline protocol::GameOptions engineOptions(int playTo, bool fast = false, int timePerTurn = 60,
                                           int zwonkedAt = 2000)
{
    protocol::GameOptions o;
    o.playTo = playTo;
    o.timePerTurn = timePerTurn;
    o.zwonkedAt = zwonkedAt;
    o.fast = fast;
    return o;
}

// The players sit in seats 1, 2, ... in the order given; seat 1 (the host)
// starts the game with the options. Nothing is taken from the seats' output.
class StartedGame
{
public:
    StartedGame(const QStringList &names, const protocol::GameOptions &options,
                quint32 seed = 7)
        : random(seed), engine(table, table)
    {
        engine.setClockManual(true);
        engine.setRandom(&random);
        engine.setWordChecker([this](const QString &word) {
            return acceptAll ? !word.isEmpty() : words.contains(word);
        });
        for (int i = 0; i < names.size(); ++i)
            table.sit(i + 1, names[i]);
        engine.startgame(1, true, options);
    }

    // Runs the clock until the running turn is over and the next has begun
    // (or the game has stopped); returns the seconds the pause took.
    int nextTurn()
    {
        int guard = 0;
        while (engine.phase() == GameEngine::TurnRunning && ++guard < 1000)
            engine.Timer1Timer();
        int pause = 0;
        while (engine.phase() == GameEngine::Pausing && ++guard < 1000) {
            engine.Timer1Timer();
            ++pause;
        }
        return pause;
    }

    // The word the given dice spell from the seat's hand.
    QString spell(int seat, const QList<int> &dice) const
    {
        const QStringList &set =
            engine.seat(seat).newTiles ? engine.alternativeSet() : engine.currentSet();
        QString word;
        for (int die : dice)
            word += set.value(die - 1);
        return word;
    }

    // The "CMD_thedice" a seat is dealt from the current (or alternative) set.
    QByteArray dealt(int seat, const char *flag, int count, bool alternative = false) const
    {
        const QStringList &set = alternative ? engine.alternativeSet() : engine.currentSet();
        return protocol::theDice(seat, QString::fromLatin1(flag), set.mid(0, count));
    }

    // Dice spelling `count` different words of `length` letters from the
    // seat's first `hand` letters, none the plural of another or of a word
    // already in `chosen` (the new words are added to it).
    QList<QList<int>> distinctWords(int seat, int length, int count, int hand,
                                    QStringList &chosen) const
    {
        QList<QList<int>> result;
        QList<int> dice;
        std::function<void(int)> pick = [&](int from) {
            if (result.size() == count)
                return;
            if (dice.size() == length) {
                const QString w = spell(seat, dice);
                for (const QString &c : chosen) {
                    if (c == w || c + "S" == w || w + "S" == c)
                        return;
                }
                chosen.append(w);
                result.append(dice);
                return;
            }
            for (int die = from; die <= hand; ++die) {
                dice.append(die);
                pick(die + 1);
                dice.removeLast();
            }
        };
        pick(1);
        return result;
    }

    RecordingOutbox table;
    QRandomGenerator random;
    QSet<QString> words;
    bool acceptAll = false;
    GameEngine engine;
};

} // namespace zwonky::testing
