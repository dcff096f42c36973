#include "server/gamecommands.h"

#include "server/gameengine.h"

namespace zwonky {

std::vector<std::pair<const char *, CommandTable::Handler>> gameCommands(GameEngine &engine,
                                                                         SenderCheck check)
{
    // Every handler keeps its own copy of the check.
    const auto sender = check.takeSender;
    const auto fromHost = check.fromHost;
    GameEngine *game = &engine;
    return {
        {protocol::cmd::StartGame, [=](FieldCursor &args) {
             const int from = sender(args);
             // A guest's start request is not even read.
             if (from != 1 || !fromHost())
                 return;
             game->startgame(from, fromHost(), protocol::takeGameOptions(args));
         }},
        {protocol::cmd::SetDice, [=](FieldCursor &args) {
             const int from = sender(args);
             const int position = args.takeInt();
             const int die = args.takeInt();
             game->setdice(from, position, die);
         }},
        {protocol::cmd::Done, [=](FieldCursor &args) {
             const int from = sender(args);
             // A word longer than the largest hand is refused whatever
             // follows, so the rest of an over-long list is not read.
             QList<int> dice;
             while (!args.atEnd() && dice.size() <= DiceCount)
                 dice.append(args.takeInt());
             game->done(from, dice);
         }},
        {protocol::cmd::ClearThem, [=](FieldCursor &args) { game->clearthem(sender(args)); }},
        {protocol::cmd::NewTiles, [=](FieldCursor &args) { game->newtiles(sender(args)); }},
        {protocol::cmd::OldTiles, [=](FieldCursor &args) { game->oldtiles(sender(args)); }},
        {protocol::cmd::Finish, [=](FieldCursor &args) { game->finish(sender(args)); }},
    };
}

} // namespace zwonky
