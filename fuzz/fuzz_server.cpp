// libFuzzer target for the server's side of a game: the input is the byte
// stream of a connection, cut by the Framer, and every message is dispatched
// through the game's command table into a GameEngine over a table of four
// seats. Conventions of the harness, not of the wire:
//   - the seat a message names is believed when that seat is taken (the
//     server believes it only from that seat's connection; here the fuzzer
//     plays every connection), and seat 1 is the host;
//   - an empty message is one second of the turn and pause clock;
//   - "FUZZ_leave+<seat>" closes a seat, "FUZZ_join+<seat>" takes it again
//     (a newcomer is caught up).
// What the engine sends must be whole, non-empty messages.

#include "fuzzapp.h"

#include "net/fieldcursor.h"
#include "net/framer.h"
#include "net/messagepump.h"
#include "net/zwonkyerror.h"
#include "server/gamecommands.h"
#include "server/gameengine.h"
#include "support/enginefixture.h"

#include <algorithm>
#include <cstdlib>

namespace {

using zwonky::FieldCursor;
using zwonky::GameEngine;

constexpr int TakenSeats = 4;

// The test kit's seat table, checking that what it is given is whole
// messages and keeping nothing of it.
class CheckingOutbox : public zwonky::testing::RecordingOutbox
{
public:
    void sendTo(int seat, const QByteArray &message) override
    {
        // Whole messages only, none empty, each one a client takes.
        zwonky::Framer client;
        const QList<QByteArray> messages = client.feed(message);
        if (messages.isEmpty() || !client.pending().isEmpty() || client.overflowed())
            std::abort();
        for (const QByteArray &each : messages) {
            if (each.isEmpty())
                std::abort();
        }
        zwonky::testing::RecordingOutbox::sendTo(seat, message);
        take(seat);
    }
};

int seatField(FieldCursor &args)
{
    const int seat = args.takeInt();
    return seat >= 1 && seat <= TakenSeats ? seat : 0;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    zwonky::fuzz::startQt(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    CheckingOutbox table;
    const QStringList names{"Ann", "Bo", "Cy", "Di"};
    for (int seat = 1; seat <= TakenSeats; ++seat)
        table.sit(seat, names[seat - 1]);
    QRandomGenerator random(7);
    GameEngine engine(table, table);
    engine.setClockManual(true);
    engine.setRandom(&random);
    // Words with a vowel are words: both verdicts are reachable.
    engine.setWordChecker([](const QString &word) {
        return std::any_of(word.begin(), word.end(),
                           [](QChar c) { return QStringLiteral("AEIOU").contains(c); });
    });

    int lastSender = 0;
    zwonky::SenderCheck check{[&](FieldCursor &args) {
                                  lastSender = seatField(args);
                                  return table.isOpen(lastSender) ? lastSender : 0;
                              },
                              [&] { return lastSender == 1; }};
    std::vector<std::pair<const char *, zwonky::CommandTable::Handler>> handlers =
        zwonky::gameCommands(engine, check);
    zwonky::CommandTable commands;
    for (const QString &name : zwonky::protocol::serverCommandOrder()) {
        for (const auto &[command, handler] : handlers) {
            if (name == QLatin1String(command))
                commands.add(name, handler);
        }
    }
    commands.add(QStringLiteral("FUZZ_leave"), [&](FieldCursor &args) {
        const int seat = seatField(args);
        if (table.isOpen(seat)) {
            table.leave(seat);
            engine.seatClosed(seat);
        }
    });
    commands.add(QStringLiteral("FUZZ_join"), [&](FieldCursor &args) {
        const int seat = seatField(args);
        if (seat != 0 && !table.isOpen(seat)) {
            table.sit(seat, names[seat - 1]);
            engine.catchUp(seat);
        }
    });

    zwonky::Framer framer;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const QByteArray &message : framer.feed(bytes)) {
        if (message.isEmpty()) {
            engine.Timer1Timer();
            continue;
        }
        try {
            commands.dispatch(zwonky::protocol::decodeText(message));
        } catch (const zwonky::ZwonkyError &) {
            // A message that does not parse ends that message only.
        }
    }
    if (framer.pending().size() > zwonky::Framer::MaxPending)
        std::abort();
    return 0;
}
