// libFuzzer target for the client session as a computer player receives the
// server's messages: the input is what the server sent, cut into messages by
// the Framer; each is handed to the player's session and handled, and every
// step the player then plans (laying tiles, submitting, buying) runs at once.
// The first byte picks the player's level and seed. An empty message is one
// second of the session's turn clock (a harness convention).

#include "fuzzapp.h"

#include "net/framer.h"
#include "players/computerplayer.h"
#include "players/wordfinder.h"

#include <cstdlib>

namespace {

// A small word list: the built-in one would make each search slower
// without reaching more of the session.
const zwonky::WordFinder &words()
{
    static const zwonky::WordFinder finder(
        {"CAT", "CATS", "ACT", "TEA", "EAT", "SEAT", "EATS", "STEAK", "TAKES", "RATE",
         "TEAR", "STARE", "QUEST", "ZONE", "ZONES", "DOOR", "ROAD", "TRADE", "TREAD",
         "ORANGES", "ONAGERS", "RETAINS", "STAINER", "NOTARIES", "ABCDEFGHIJ"});
    return finder;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    zwonky::fuzz::startQt(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    zwonky::ComputerPlayer player(data[0] % 5 + 1, data[0]);
    player.setStepsManual(true);
    player.setWordFinder(&words());
    zwonky::ClientSession &session = player.session();
    session.setPlayerName(QStringLiteral("Ann (bot)"));
    session.setDispatchManual(true);
    session.setClockManual(true);

    zwonky::Framer framer;
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    for (QByteArray message : framer.feed(bytes)) {
        if (message.isEmpty()) {
            session.tickClock();
        } else {
            message.append(zwonky::Framer::Terminator);
            session.receive(message);
            for (int ticks = 0; session.queued() > 0 && ticks < 100; ++ticks)
                session.tick();
        }
        // What the player does in answer, bounded: a plan is a few words.
        for (int steps = 0; player.hasPendingStep() && steps < 200; ++steps)
            player.runPendingStep();
    }
    return 0;
}
